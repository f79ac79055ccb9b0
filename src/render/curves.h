// The data of a graph: the curve of a data set (straight lines, a spline y(x), or a parametric spline
// for points whose x values do not increase), its error bars and its markers.
//
// Positions come from the Document's frame `area` and transformed limits txmin..tymax, which the
// renderer sets before drawing (render/page_renderer.h). Curves and error bars pass through the
// clipped pen of the Drawing, so they end exactly at the frame; markers are drawn whole.
//
// Spline curves are sampled adaptively in a frame where each axis range has length 1: 64 points per
// unit of length, times the interval's mean curvature clamped to [0.33, 3]. Intervals too short to
// need a point are skipped and their length carried on, which thins very dense data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace varnex {

class Drawing;
class MessageBoxes;
struct DataSet;
struct DocumentHead;

// Doubles of work space a spline of `count` points needs: nine arrays of count + 1 doubles (the
// transformed points, the curve parameter and two sets of spline coefficients). Straight lines need
// none.
std::size_t curveWorkSize(std::int32_t count);

// The work space of the splines, kept from one drawing to the next: taken only when a spline is
// drawn, as large as the largest spline set of the drawing, and given back by a drawing that needs
// much less (a straight-line graph needs none). Its contents are not kept.
class CurveWorkSpace {
public:
    // Makes the space fit a drawing whose largest spline needs `doubles` (curveWorkSize): taken
    // when it is too small, released down to that when it is more than twice as large.
    void fit(std::size_t doubles);
    // The space for a spline of `count` points, curveWorkSize(count) doubles with unspecified
    // values; empty (so the set is drawn with straight lines) when the memory cannot be had.
    std::span<double> forSet(std::int32_t count);
    std::size_t size() const { return m_size; }

private:
    std::unique_ptr<double[]> m_data;
    std::size_t m_size = 0;
};

// Draws the curve of a set by its `interp`: 1 straight lines through the points, 2 a spline y(x) when
// the set is ascending, else (and for any value above 2) a parametric spline; nothing for interp <= 0.
// The caller has already selected the pen and reset the clipped pen. `work` is overwritten; a spline
// needs at least curveWorkSize(set.count) doubles in it and is drawn as straight lines without them.
// A spline error (render/spline.h) shows its message once through `messages`, and the set is then
// drawn with straight lines.
void drawCurve(Drawing& drawing, const DocumentHead& doc, const DataSet& set, std::span<double> work,
               MessageBoxes& messages);

// The error bars of a set, whose error columns are read again from its data file (`name`, from
// `datapos`): the third number of a point's line is the full length of its vertical bar, the fourth
// that of its horizontal bar, each centred on the point; a value <= 0 draws no bar. Bars are drawn
// with a pen `tickwidth` wide and their end caps, `capHalfLength` page units to either side, with
// `subtickwidth`. A file that cannot be opened draws nothing; a file shorter than the set ends the
// bars at its end.
void drawErrorBars(Drawing& drawing, const DocumentHead& doc, const DataSet& set, double capHalfLength);

// One marker centred on the page point (px, py), filled black and outlined with the current pen:
// shape 0 a circle of diameter `size`, 1 a square of side `size`, 2 an equilateral triangle pointing
// up, 3 a diamond; the shape is taken modulo 4 and a negative shape draws nothing.
void drawMarker(Drawing& drawing, int shape, double size, double px, double py);

// The markers of a set whose `marker` is 1 or 3 (nothing for other sets): one of size `markersize` at
// every point whose values lie within xmin..xmax and ymin..ymax, edges included.
void drawMarkers(Drawing& drawing, const DocumentHead& doc, const DataSet& set);

}  // namespace varnex
