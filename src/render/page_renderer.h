// The page renderer: the whole graph of one Document, drawn in page units onto a Drawing.
//
// The frame and the drawing sizes follow from the axis settings; every data set's curve and error
// bars are drawn in slot order, then all markers (so they lie on top of every line), then the two axes
// and the frame. Neither the graph title nor the set titles are drawn.
#pragma once

#include <span>

#include "render/output/picture.h"

namespace varnex {

class CurveWorkSpace;
class Drawing;
class MessageBoxes;
class TextMeasurer;
struct Document;
struct DocumentHead;

// Sizes derived from the frame, in page units. With s the smaller side of the frame:
struct PageLayout {
    double labelUnit = 0;      // 0.02 × s, the base text size of the axes
    double tickLength = 0;     // 0.03 × s, major ticks
    double capHalfLength = 0;  // 0.6 × s / frame width, half the length of an error bar's end cap
};

// Recomputes the frame's left and bottom (`area`) from `basearea` and the axis sizes `xsize` and
// `ysize` (percent; right and top stay as they are) and the transformed limits txmin..tymax, which
// stay in the Document for the cursor read-out until the next drawing. Returns the derived sizes.
PageLayout layoutPage(DocumentHead& doc);

// Draws everything (layoutPage first). Spline errors and axis-mesh failures show their own messages
// through `messages`. Splines take their work space from `work`, which keeps it for the next drawing
// (and gives it back when this drawing needs none); without one, from a space of this drawing alone.
void render(Document& doc, Drawing& drawing, MessageBoxes& messages, CurveWorkSpace* work = nullptr);

// Records the graph of doc into a new Picture: the one drawing that the screen, the clipboard, the
// printer and every exported file replay. `work` as for render. REQUIRES: doc.data > 0
Picture recordPicture(Document& doc, const TextMeasurer& measurer, MessageBoxes& messages,
                      CurveWorkSpace* work = nullptr);

}  // namespace varnex
