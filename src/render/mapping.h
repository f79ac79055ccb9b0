// Page geometry and the mapping between data values, page units and logical units.
//
// The page is the square 0..100 in x (rightwards) and y (upwards). The frame `area` of the Document
// (left, right, bottom, top) holds the axes; txmin..tymax are the axis limits after the axis
// transform, set by the renderer at the start of every drawing.
#pragma once

#include <optional>

#include "document/model.h"
#include "render/output/picture.h"

namespace varnex {

// Axis transform: type 1 log10 (values <= 0 give -100), type -1 -log10(-v) (values >= 0 give +100),
// any other type the value itself.
double scale(double value, int type);
// The inverse of scale on its valid values.
double unscale(double t, int type);

// Page coordinates of a transformed value (no clamping: values outside the range map outside the frame).
double pageX(const DocumentHead& doc, double t);
double pageY(const DocumentHead& doc, double t);
// Data values at a page coordinate (the cursor read-out); the caller checks the point is in the frame.
double dataX(const DocumentHead& doc, double px);
double dataY(const DocumentHead& doc, double py);

// Logical units: X = trunc(50 × px), Y = trunc((py − 100) × −50), saturated to 32 bits; NaN (the
// position on an axis whose two transformed limits are equal) gives the most negative value, off the page.
LogicalPoint toLogical(double px, double py);

// A point in page units (x rightwards, y upwards).
struct PagePosition {
    double x = 0;
    double y = 0;
};

// The page point of a logical point: px = X / 50, py = 100 − Y / 50, the inverse of toLogical without
// its truncation (so it takes fractions of a logical unit, as a pointer position scaled down gives).
PagePosition pageOfLogical(double x, double y);

// Data values under a cursor.
struct CursorValue {
    double x = 0;
    double y = 0;
    friend bool operator==(const CursorValue&, const CursorValue&) = default;
};

// The cursor read-out: the data values at the page point, through the frame and the transformed limits
// of the last drawing (dataX, dataY); nothing when the Document has no data set or the point lies
// outside the frame. The frame's edges count as inside.
std::optional<CursorValue> readCursor(const DocumentHead& doc, PagePosition at);

}  // namespace varnex
