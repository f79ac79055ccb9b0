// The cursor read-out of the graph window: the data values under the mouse pointer, shown in status
// part 1 with a hint in part 0 while the pointer is inside the frame.
//
// The pointer is mapped back through exactly the mapping that paints the picture: the client area of
// the graph window (inside its border) holds the 5000 × 5000 logical square scaled to a square of side
// min(width, height) at its top left corner, and the page's frame and transformed limits of the last
// drawing (stored in the Document) take the page point to data values. So the value read where a point
// is drawn is that point's value, within one pixel.
#pragma once

#include <QPointF>
#include <QRect>
#include <QString>
#include <optional>

#include "render/mapping.h"

namespace varnex {

// Status part 0 while the pointer is inside the frame.
inline constexpr const char* kCursorHint =
    "popup menu forsetting range and getting value at cursor by mouse right button";

// The data values under the pointer. position: the pointer in the graph window's coordinates, a pixel
// taken at its centre (pixel (i, j) covers i..i+1, j..j+1); client: the rectangle the picture is painted
// into, in the same coordinates. Nothing outside the frame (its edges are inside) or without data.
std::optional<CursorValue> cursorValueAt(const DocumentHead& doc, QPointF position, const QRect& client);

// Status part 1 for a value: "x=%-12g y=%-12g".
QString cursorText(const CursorValue& value);

// What a mouse move shows: nothing changes without data; inside the frame the value and the hint;
// outside both parts are cleared.
struct Readout {
    bool changes = false;
    std::optional<CursorValue> value;  // set inside the frame
    QString cursor;                    // status part 1
    QString hint;                      // status part 0
};
Readout readoutAt(const DocumentHead& doc, QPointF position, const QRect& client);

}  // namespace varnex
