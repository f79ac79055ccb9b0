// Axis drawing: the two axes and the frame, drawn over the data at the end of every drawing.
//
// Each axis gets its title, its tick labels, major and minor ticks on both opposite sides of the frame
// (bottom and top for x, left and right for y) and, when linear, the power-of-ten factor of its mesh
// (render/mesh.h); a logarithmic axis gets a label "10" with a raised exponent at each decade inside the
// frame and sub-decade ticks. Positions are page units derived from the Document's frame `area` and
// transformed limits txmin..tymax (set by the renderer before the call), the label size unit and the
// tick length. Every pen is solid black; tick labels, decade labels and factors are always
// "Times New Roman", only the titles use `xfont` and `yfont`.
#pragma once

namespace varnex {

class Drawing;
class MessageBoxes;
struct DocumentHead;

// The x axis. labelUnit: the label size unit a (page units, 0.02 × the smaller frame side); tickLength:
// the major tick length d (0.03 × that side), minor ticks are 0.65 × d. On a linear axis whose limits
// cannot take a mesh, shows "Can not make axis mesh." once through `messages` and draws only the title.
void drawXAxis(Drawing& drawing, const DocumentHead& doc, double labelUnit, double tickLength,
               MessageBoxes& messages);

// The y axis, as drawXAxis; its title is written at 90 degrees, centred on the frame's middle height.
void drawYAxis(Drawing& drawing, const DocumentHead& doc, double labelUnit, double tickLength,
               MessageBoxes& messages);

// The frame rectangle with a pen `framewidth` page units wide.
void drawFrame(Drawing& drawing, const DocumentHead& doc);

}  // namespace varnex
