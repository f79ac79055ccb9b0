#include "render/output/drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "render/mapping.h"
#include "util/message_boxes.h"
#include "util/numbers.h"

namespace varnex {

namespace {

constexpr double kLogicalPerPage = 50.0;
constexpr double kFontCellPerSize = 3.5;  // a font of size 1 has a character cell 3.5 page units high
constexpr double kDashCell = 0.7;         // page units per cell of a dash pattern

// One text of cells per line type: '1' drawn, '0' blank.
constexpr std::array<std::string_view, 5> kDashPatterns{"1", "10", "1110", "111010", "11101010"};

// A styled segment crossing more cell boundaries than this (longer than 700,000 page units, far off
// any page) has its dashes generated only near the page, so that no segment can stall the drawing.
constexpr double kMaxBoundaries = 1e6;
constexpr double kPageBoxMargin = 1000.0;  // page units around the page where far dashes are still drawn
// Beyond this path length the dash distance is reduced modulo the pattern length, which keeps the
// phase and keeps the cell numbers exact.
constexpr double kMaxDashDistance = 1e9;
// A segment reaching beyond this distance (or of no finite length) is passed over like a move.
constexpr double kMaxDashPath = 1e14;
// The box figures are cut to reaches beyond the page by the pen's width, so that the outline along
// the cut, which is not the figure's own, stays off the page: by at least the first value, and at
// most by the second (only a pen more than six pages wide could reach the page from there).
constexpr double kMinFigureMargin = 1;
constexpr double kMaxFigureMargin = 300;

int wrap(int value, int modulus) {
    const int r = value % modulus;
    return r < 0 ? r + modulus : r;
}

std::int32_t truncToInt32(double value) {
    return static_cast<std::int32_t>(truncSaturated(value, std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max()));
}

// The part [lo, hi] of the parameter range [0, length] of the segment from (x0, y0) along the unit
// direction (ux, uy) that lies in the box [a, b] × [a, b]; false (lo and hi left alone) when the
// segment misses the box.
bool segmentInBox(double x0, double y0, double ux, double uy, double length, double a, double b, double& lo,
                  double& hi) {
    double inLo = 0;
    double inHi = length;
    const double starts[2] = {x0, y0};
    const double steps[2] = {ux, uy};
    for (int axis = 0; axis < 2; ++axis) {
        if (steps[axis] == 0) {
            if (starts[axis] < a || starts[axis] > b) return false;
            continue;
        }
        double t1 = (a - starts[axis]) / steps[axis];
        double t2 = (b - starts[axis]) / steps[axis];
        if (t1 > t2) std::swap(t1, t2);
        inLo = std::max(inLo, t1);
        inHi = std::min(inHi, t2);
    }
    if (inLo > inHi) return false;
    lo = inLo;
    hi = inHi;
    return true;
}

}  // namespace

Drawing::Drawing(Picture& target, const TextMeasurer& measurer, MessageBoxes& messages)
    : m_picture(target), m_measurer(measurer), m_messages(messages) {}

// A pen, brush or font equal to the current one is not recorded again: it would change nothing, and
// error bars and markers select the same objects once per point.
void Drawing::setPen(int lineType, double width, int colour) {
    m_lineType = wrap(lineType, static_cast<int>(kDashPatterns.size()));
    // A negative width has no meaning to any output; it draws the thinnest line instead.
    const std::int32_t logicalWidth = std::max<std::int32_t>(0, truncToInt32(kLogicalPerPage * width));
    const std::array<std::int32_t, 3> pen{m_lineType, logicalWidth, wrap(colour, 7)};
    if (m_penRecorded && pen == m_pen) return;
    m_pen = pen;
    m_penRecorded = true;
    m_picture.pen(pen[0], pen[1], pen[2]);
}

void Drawing::setBrush(int colour) {
    const int brush = wrap(colour, static_cast<int>(kColourTable.size()));
    if (m_brush == brush) return;
    m_brush = brush;
    m_picture.brush(brush);
}

void Drawing::setFont(double size, int angle, std::string_view face) {
    const std::int32_t height = truncToInt32(size * kLogicalPerPage * kFontCellPerSize);
    if (m_fontRecorded && height == m_fontHeight && angle == m_fontAngle && face == m_fontFace) return;
    m_fontHeight = height;
    m_fontAngle = angle;
    m_fontFace = face;
    m_fontRecorded = true;
    m_picture.font(m_fontHeight, angle, face);
}

void Drawing::moveTo(double px, double py) {
    m_picture.move(toLogical(px, py));
    m_dashDistance = 0;
    m_px = px;
    m_py = py;
}

// The dash generator. The path since the last move is cut into cells of 0.7 page units; cell k (from
// (k − 1) × 0.7 to k × 0.7) is drawn when the pattern's character k mod N is '1'. Only the boundaries
// where the pattern changes produce an operation: the end of a dash (a line to the boundary) or the
// start of one (a move to it). The dash distance runs on over consecutive lines, so the pattern
// flows around the corners of a polyline.
void Drawing::dashTo(double px, double py) {
    const std::string_view pattern = kDashPatterns[static_cast<std::size_t>(m_lineType)];
    const auto cells = static_cast<std::int64_t>(pattern.size());
    const double dx = px - m_px;
    const double dy = py - m_py;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) return;
    if (!(m_dashDistance + length < kMaxDashPath)) {  // no dashes along a segment without a usable length
        moveTo(px, py);
        return;
    }
    if (m_dashDistance > kMaxDashDistance) m_dashDistance = std::fmod(m_dashDistance, kDashCell * cells);

    const double from = m_dashDistance;
    const double ux = dx / length;
    const double uy = dy / length;
    auto drawn = [&](std::int64_t k) { return pattern[static_cast<std::size_t>(k % cells)] == '1'; };
    auto boundary = [&](std::int64_t k) {
        const double s = static_cast<double>(k) * kDashCell - from;
        return toLogical(m_px + s * ux, m_py + s * uy);
    };

    double first = std::ceil(from / kDashCell);
    double last = std::floor((from + length) / kDashCell);
    const double lastOfSegment = last;
    if (last - first > kMaxBoundaries) {
        double lo = length, hi = length;  // a segment that misses the page box keeps only its end
        segmentInBox(m_px, m_py, ux, uy, length, -kPageBoxMargin, 100 + kPageBoxMargin, lo, hi);
        const double boxFirst = std::floor((from + lo) / kDashCell) - 1;
        last = std::min(last, std::ceil((from + hi) / kDashCell) + 1);
        if (boxFirst > first) {
            first = boxFirst;
            m_picture.move(boundary(static_cast<std::int64_t>(first)));
        }
    }

    const auto k0 = static_cast<std::int64_t>(first);
    const auto k1 = static_cast<std::int64_t>(last);
    for (std::int64_t k = k0; k <= k1; ++k) {
        if (drawn(k) == drawn(k + 1)) continue;
        if (drawn(k)) {
            m_picture.line(boundary(k));
        } else {
            m_picture.move(boundary(k));
        }
    }
    if (last < lastOfSegment) m_picture.move(boundary(static_cast<std::int64_t>(lastOfSegment)));

    const auto endCell = static_cast<std::int64_t>(std::ceil((from + length) / kDashCell));
    if (drawn(endCell)) {
        m_picture.line(toLogical(px, py));
    } else {
        m_picture.move(toLogical(px, py));
    }
    m_dashDistance = from + length;
    m_px = px;
    m_py = py;
}

void Drawing::drawText(std::string_view text, double x, double y, int code) {
    if (code % 10 == 1 && m_fontAngle != 0) {
        // Rotated text cannot be centred by the output: draw it from its start, moved back along the
        // page by half its width (w / 100 page units for w logical units).
        const double width = m_measurer.textWidth(text, m_fontHeight, m_fontFace);
        y -= static_cast<double>(truncSaturated(width / 100, -1'000'000'000, 1'000'000'000));
        code += 2;
    }
    m_picture.text(code, toLogical(x, y), text);
}

void Drawing::ellipse(double x1, double y1, double x2, double y2) {
    m_picture.ellipse(toLogical(x1, y1), toLogical(x2, y2));
}

Drawing::FigureBox Drawing::figureBox() const {
    const double margin = std::clamp(m_pen[1] / kLogicalPerPage, kMinFigureMargin, kMaxFigureMargin);
    return {-margin, 100 + margin};
}

void Drawing::rectangle(double x1, double y1, double x2, double y2) {
    const FigureBox box = figureBox();
    auto beyond = [&](double a, double b) { return std::max(a, b) < box.lo || std::min(a, b) > box.hi; };
    if (beyond(x1, x2) || beyond(y1, y2)) return;
    auto cut = [&](double v) { return std::clamp(v, box.lo, box.hi); };
    m_picture.rect(toLogical(cut(x1), cut(y1)), toLogical(cut(x2), cut(y2)));
}

void Drawing::polygon(const double* xy, int points) {
    m_figure.clear();
    bool inBox = true;
    const FigureBox box = figureBox();
    for (int i = 0; i < points; ++i) {
        const PagePoint p{xy[2 * i], xy[2 * i + 1]};
        inBox = inBox && box.lo <= p.x && p.x <= box.hi && box.lo <= p.y && p.y <= box.hi;
        m_figure.push_back(p);
    }
    if (!inBox) {
        cutFigure(box);
        if (m_figure.size() < 3) return;
    }
    m_polygon.clear();
    for (const PagePoint& p : m_figure) m_polygon.push_back(toLogical(p.x, p.y));
    m_picture.polygon(m_polygon);
}

void Drawing::cutFigure(const FigureBox& box) {
    // One side of the box at a time: axis 0 is x, 1 is y; keep the points on the box's side of the
    // line coordinate = limit.
    auto coordinate = [](const PagePoint& p, int axis) { return axis == 0 ? p.x : p.y; };
    for (int side = 0; side < 4 && !m_figure.empty(); ++side) {
        const int axis = side / 2;
        const double limit = side % 2 == 0 ? box.lo : box.hi;
        auto kept = [&](const PagePoint& p) {
            return side % 2 == 0 ? coordinate(p, axis) >= limit : coordinate(p, axis) <= limit;
        };
        m_cut.clear();
        PagePoint previous = m_figure.back();
        for (const PagePoint& p : m_figure) {
            if (kept(p) != kept(previous)) {
                const double s = (limit - coordinate(previous, axis)) / (coordinate(p, axis) - coordinate(previous, axis));
                PagePoint crossing{previous.x + s * (p.x - previous.x), previous.y + s * (p.y - previous.y)};
                (axis == 0 ? crossing.x : crossing.y) = limit;
                m_cut.push_back(crossing);
            }
            if (kept(p)) m_cut.push_back(p);
            previous = p;
        }
        std::swap(m_figure, m_cut);
    }
}

void Drawing::clipReset() {
    m_clipCount = 0;
}

int Drawing::clipPoint(double px, double py) {
    const bool inside = insideFrame(px, py);
    if (m_clipCount == 0) {
        if (inside) moveTo(px, py);
    } else if (inside) {
        if (!m_clipInside) {
            const PagePoint entry = frameCrossing(m_clipPx, m_clipPy, px, py, Crossing::Entry);
            moveTo(entry.x, entry.y);
        }
        lineTo(px, py);
    } else if (m_clipInside) {
        const PagePoint exit = frameCrossing(m_clipPx, m_clipPy, px, py, Crossing::Exit);
        lineTo(exit.x, exit.y);
    } else {
        drawPassingSegment(m_clipPx, m_clipPy, px, py);
    }
    advanceClip(px, py, inside);
    return m_clipCount;
}

// Inside the frame after a point inside, a solid line needs nothing but the line: the common case of a
// dense curve. A first pass, which the compiler vectorises, tests every point against the frame and
// takes its logical point (for points far within the range of 32-bit logical units, where toLogical
// is the plain conversion); runs of such points then go to the picture together, and any other point
// through clipPoint.
void Drawing::clipPoints(std::span<const double> xs, std::span<const double> ys) {
    constexpr double kPlainRange = 1e6;  // page units; 50 times this is well within 32 bits
    const double l = m_frame[0], r = m_frame[1], b = m_frame[2], t = m_frame[3];
    const std::size_t n = std::min(xs.size(), ys.size());
    m_run.resize(n);
    m_plain.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const double x = xs[k];
        const double y = ys[k];
        const bool plain = (l <= x) & (x <= r) & (b <= y) & (y <= t) & (std::fabs(x) < kPlainRange) &
                           (std::fabs(y) < kPlainRange);
        m_plain[k] = plain;
        const double px = plain ? x : 0.0;
        const double py = plain ? y : 0.0;
        m_run[k] = {static_cast<std::int32_t>(kLogicalPerPage * px),
                    static_cast<std::int32_t>((py - 100.0) * -kLogicalPerPage)};
    }
    std::size_t k = 0;
    while (k < n) {
        if (m_lineType == 0 && m_clipInside && m_clipCount > 0 && m_plain[k]) {
            std::size_t j = k + 1;
            while (j < n && m_plain[j]) ++j;
            m_picture.lines(std::span<const LogicalPoint>(m_run).subspan(k, j - k));
            m_clipPx = xs[j - 1];
            m_clipPy = ys[j - 1];
            const auto fed = static_cast<std::int64_t>(j - k);
            m_clipCount = static_cast<int>(std::min<std::int64_t>(m_clipCount + fed, std::numeric_limits<int>::max()));
            k = j;
            continue;
        }
        clipPoint(xs[k], ys[k]);
        ++k;
    }
}

int Drawing::clipSkip(double px, double py) {
    const bool inside = insideFrame(px, py);
    if (inside) moveTo(px, py);
    advanceClip(px, py, inside);
    return m_clipCount;
}

void Drawing::advanceClip(double px, double py, bool inside) {
    m_clipInside = inside;
    m_clipPx = px;
    m_clipPy = py;
    if (m_clipCount < std::numeric_limits<int>::max()) ++m_clipCount;
}

bool Drawing::insideFrame(double px, double py) const {
    return m_frame[0] <= px && px <= m_frame[1] && m_frame[2] <= py && py <= m_frame[3];
}

// The first and the last point (along the segment from (x0, y0) to (x1, y1)) where it meets an edge of
// the frame, edges tried in the order bottom, right, top, left, each directed counter-clockwise, ends
// included. False when it meets none.
bool Drawing::edgeMeetings(double x0, double y0, double x1, double y1, PagePoint& first, PagePoint& last) const {
    const double l = m_frame[0], r = m_frame[1], b = m_frame[2], t = m_frame[3];
    const PagePoint corners[5] = {{l, b}, {r, b}, {r, t}, {l, t}, {l, b}};
    const double a = x1 - x0;
    const double bb = y1 - y0;
    double firstS = 2;
    double lastS = -1;
    for (int edge = 0; edge < 4; ++edge) {
        const PagePoint& e0 = corners[edge];
        const PagePoint& e1 = corners[edge + 1];
        const double e = -(e1.x - e0.x);
        const double f = -(e1.y - e0.y);
        const double det = a * f - e * bb;
        if (det == 0) continue;
        const double u = e0.x - x0;
        const double w = e0.y - y0;
        const double s = (f * u - e * w) / det;
        const double along = (-bb * u + a * w) / det;
        if (!(0 <= s && s <= 1 && 0 <= along && along <= 1)) continue;
        const PagePoint p{e0.x + along * (e1.x - e0.x), e0.y + along * (e1.y - e0.y)};
        if (s < firstS) {
            firstS = s;
            first = p;
        }
        if (s > lastS) {
            lastS = s;
            last = p;
        }
    }
    return lastS >= 0;
}

// Where a segment with one end inside the frame crosses it: entering, the first meeting with an edge;
// leaving, the last. (A segment that leaves from a point on an edge meets that edge at its start; the
// crossing that matters is where it leaves the frame, further on.)
Drawing::PagePoint Drawing::frameCrossing(double x0, double y0, double x1, double y1, Crossing which) {
    PagePoint first{};
    PagePoint last{};
    if (!edgeMeetings(x0, y0, x1, y1, first, last)) {
        m_messages.inform(kErrorCaption, "*** error in PageCS");
        return {x0, y0};
    }
    return which == Crossing::Entry ? first : last;
}

// A segment with both ends outside the frame that passes through it is drawn from where it enters to
// where it leaves, so that zooming in between two data points still shows the line joining them.
void Drawing::drawPassingSegment(double x0, double y0, double x1, double y1) {
    // Both ends beyond the same edge: the segment cannot meet the frame.
    const double l = m_frame[0], r = m_frame[1], b = m_frame[2], t = m_frame[3];
    if ((x0 < l && x1 < l) || (x0 > r && x1 > r) || (y0 < b && y1 < b) || (y0 > t && y1 > t)) return;
    PagePoint entry{};
    PagePoint exit{};
    if (!edgeMeetings(x0, y0, x1, y1, entry, exit)) return;
    if (entry.x == exit.x && entry.y == exit.y) return;  // touches a corner only
    moveTo(entry.x, entry.y);
    lineTo(exit.x, exit.y);
}

}  // namespace varnex
