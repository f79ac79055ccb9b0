#include "render/page_renderer.h"

#include <algorithm>
#include <vector>

#include "document/model.h"
#include "render/axes.h"
#include "render/curves.h"
#include "render/mapping.h"
#include "render/output/drawing.h"

namespace varnex {

namespace {

bool drawsErrorBars(const DataSet& set) {
    return (set.params.marker == 2 || set.params.marker == 3) && set.errorbar;
}

// Doubles of curve work space the splines of these sets need.
std::size_t splineWorkSize(std::span<const DataSet> sets) {
    std::size_t size = 0;
    for (const DataSet& set : sets) {
        if (set.params.interp >= 2) size = std::max(size, curveWorkSize(set.count));
    }
    return size;
}

}  // namespace

PageLayout layoutPage(DocumentHead& doc) {
    const auto& base = doc.basearea;
    doc.area[0] = base[1] - doc.xsize * (base[1] - base[0]) / 100;
    doc.area[2] = base[3] - doc.ysize * (base[3] - base[2]) / 100;
    const double width = doc.area[1] - doc.area[0];
    const double height = doc.area[3] - doc.area[2];
    const double side = height <= width ? height : width;

    doc.txmin = scale(doc.xmin, doc.xtype);
    doc.tymin = scale(doc.ymin, doc.ytype);
    doc.txmax = scale(doc.xmax, doc.xtype);
    doc.tymax = scale(doc.ymax, doc.ytype);

    PageLayout layout;
    layout.labelUnit = 0.02 * side;
    layout.tickLength = 0.03 * side;
    layout.capHalfLength = width != 0 ? 0.6 * side / width : 0;  // a frame of no width has no room for caps
    return layout;
}

void render(Document& doc, Drawing& drawing, MessageBoxes& messages, CurveWorkSpace* work) {
    const PageLayout layout = layoutPage(doc);
    drawing.setFrame(doc.area);
    const auto sets = doc.setRange(1, std::clamp(doc.data, 0, kMaxSets));

    CurveWorkSpace ownWork;
    CurveWorkSpace& splines = work != nullptr ? *work : ownWork;
    splines.fit(splineWorkSize(sets));

    for (const DataSet& set : sets) {
        if (set.params.interp != 0) {
            drawing.setPen(set.params.linetype, doc.graphwidth, 0);
            drawing.clipReset();
            const std::span<double> space = set.params.interp >= 2 ? splines.forSet(set.count) : std::span<double>();
            drawCurve(drawing, doc, set, space, messages);
        }
        if (drawsErrorBars(set)) drawErrorBars(drawing, doc, set, layout.capHalfLength);
    }
    for (const DataSet& set : sets) drawMarkers(drawing, doc, set);

    drawXAxis(drawing, doc, layout.labelUnit, layout.tickLength, messages);
    drawYAxis(drawing, doc, layout.labelUnit, layout.tickLength, messages);
    drawFrame(drawing, doc);
}

Picture recordPicture(Document& doc, const TextMeasurer& measurer, MessageBoxes& messages, CurveWorkSpace* work) {
    Picture picture;
    Drawing drawing(picture, measurer, messages);
    render(doc, drawing, messages, work);
    return picture;
}

}  // namespace varnex
