#include "render/curves.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "document/line_reader.h"
#include "document/model.h"
#include "render/mapping.h"
#include "render/output/drawing.h"
#include "render/spline.h"
#include "util/numbers.h"

namespace varnex {

namespace {

constexpr double kSamplesPerLength = 64;  // per unit of normalised length
constexpr double kMinCurvature = 0.33;
constexpr double kMaxCurvature = 3;
// An interval reaching far outside the axis range could ask for any number of samples; beyond this
// many (an interval some 340 frames long at the highest curvature) the samples are spread thinner.
constexpr std::int32_t kMaxSamples = 1 << 16;
// 3-point Gauss-Legendre quadrature on [-1, 1].
constexpr std::array<double, 3> kGaussNodes{-0.77459666924148337704, 0.0, 0.77459666924148337704};
constexpr std::array<double, 3> kGaussWeights{5.0 / 9.0, 8.0 / 9.0, 5.0 / 9.0};
constexpr int kWorkArrays = 9;

// Curvature of a plane curve from its first and second derivatives.
double curvature(double x1, double y1, double x2, double y2) {
    return std::fabs(x1 * y2 - y1 * x2) / std::pow(x1 * x1 + y1 * y1, 1.5);
}

// Coefficients of one cubic per interval, arrays indexed 1..n − 1.
struct Cubic {
    std::span<double> b, c, d;

    double value(std::span<const double> base, int i, double t) const {
        return base[at(i)] + t * (b[at(i)] + t * (c[at(i)] + t * d[at(i)]));
    }
    double slope(int i, double t) const { return b[at(i)] + t * (2 * c[at(i)] + 3 * t * d[at(i)]); }
    double bend(int i, double t) const { return 2 * c[at(i)] + 6 * t * d[at(i)]; }
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }
};

// Draws one set's curve with the work arrays of curveWorkSize.
class CurveSampler {
public:
    CurveSampler(Drawing& drawing, const DocumentHead& doc, const DataSet& set, std::span<double> work)
        : m_drawing(drawing), m_doc(doc), m_n(set.count) {
        const std::size_t entries = work.size() / kWorkArrays;
        auto array = [&](int k) { return work.subspan(static_cast<std::size_t>(k) * entries, entries); };
        m_x = array(0);
        m_y = array(1);
        m_t = array(2);
        m_first = {array(3), array(4), array(5)};
        m_second = {array(6), array(7), array(8)};
        // Normalisation: each axis range becomes 1 long (for a square page).
        const double side = std::min(doc.page[1], doc.page[3]);
        m_sx = 1 / ((doc.txmax - doc.txmin) * doc.page[1] / side);
        m_sy = 1 / ((doc.tymax - doc.tymin) * doc.page[3] / side);
        for (int i = 1; i <= m_n; ++i) {
            m_x[at(i)] = scale(set.x(i), doc.xtype);
            m_y[at(i)] = scale(set.y(i), doc.ytype);
        }
    }

    // Spline y(x); false (nothing drawn) after a spline error.
    bool drawFunction(MessageBoxes& messages) {
        if (dascm(m_x, m_y, m_n, {}, {}, m_first.b, m_first.c, m_first.d, messages) != 0) return false;
        m_parametric = false;
        sampleIntervals();
        return true;
    }

    // Spline x(T), y(T) over the normalised chord length T; false (nothing drawn) after a spline error.
    bool drawParametric(MessageBoxes& messages) {
        m_t[1] = 0;
        for (int i = 2; i <= m_n; ++i) {
            const double dx = m_sx * (m_x[at(i)] - m_x[at(i - 1)]);
            const double dy = m_sy * (m_y[at(i)] - m_y[at(i - 1)]);
            m_t[at(i)] = m_t[at(i - 1)] + std::sqrt(dx * dx + dy * dy);
        }
        if (dascm(m_t, m_x, m_n, {}, {}, m_first.b, m_first.c, m_first.d, messages) != 0) return false;
        if (dascm(m_t, m_y, m_n, {}, {}, m_second.b, m_second.c, m_second.d, messages) != 0) return false;
        m_parametric = true;
        sampleIntervals();
        return true;
    }

private:
    struct PagePoint {
        double x, y;
    };

    static std::size_t at(int i) { return static_cast<std::size_t>(i); }

    void clip(PagePoint p) { m_drawing.clipPoint(p.x, p.y); }
    PagePoint point(int i) const { return {pageX(m_doc, m_x[at(i)]), pageY(m_doc, m_y[at(i)])}; }
    bool inRange(int i) const {
        const double x = m_x[at(i)];
        const double y = m_y[at(i)];
        return m_doc.txmin <= x && x <= m_doc.txmax && m_doc.tymin <= y && y <= m_doc.tymax;
    }

    double width(int i) const {
        const auto parameter = m_parametric ? m_t : m_x;
        return parameter[at(i + 1)] - parameter[at(i)];
    }

    PagePoint sample(int i, double t) const {
        if (m_parametric) {
            return {pageX(m_doc, m_first.value(m_x, i, t)), pageY(m_doc, m_second.value(m_y, i, t))};
        }
        return {pageX(m_doc, m_x[at(i)] + t), pageY(m_doc, m_first.value(m_y, i, t))};
    }

    // Length (normalised) and mean curvature of interval i of width h.
    void measure(int i, double h, double& length, double& meanCurvature) const {
        length = 0;
        meanCurvature = 0;
        for (std::size_t k = 0; k < kGaussNodes.size(); ++k) {
            const double t = h / 2 * (1 + kGaussNodes[k]);
            double x1 = m_sx, x2 = 0;
            if (m_parametric) {
                x1 = m_sx * m_first.slope(i, t);
                x2 = m_sx * m_first.bend(i, t);
            }
            const Cubic& ys = m_parametric ? m_second : m_first;
            const double y1 = m_sy * ys.slope(i, t);
            const double y2 = m_sy * ys.bend(i, t);
            length += kGaussWeights[k] * std::sqrt(x1 * x1 + y1 * y1);
            meanCurvature += kGaussWeights[k] * curvature(x1, y1, x2, y2);
        }
        length = m_parametric ? h : h / 2 * length;  // a parametric interval is as long as its chord
        meanCurvature /= 2;
    }

    static std::int32_t sampleCount(double value) {
        return static_cast<std::int32_t>(truncSaturated(value, 0, kMaxSamples));
    }

    // The sampling loop shared by both kinds of spline.
    void sampleIntervals() {
        double skipped = 0;  // length of the intervals skipped since the last sample
        std::int32_t q = 0;
        if (inRange(1)) clip(point(1));
        for (int i = 1; i < m_n; ++i) {
            if (!inRange(i) && !inRange(i + 1)) {
                if (q != 0) clip(point(i));  // close the piece drawn for the previous interval
                q = 0;
                continue;
            }
            const double h = width(i);
            double length = 0, meanCurvature = 0;
            measure(i, h, length, meanCurvature);
            const double density =
                kSamplesPerLength * std::clamp(meanCurvature, kMinCurvature, kMaxCurvature);
            q = sampleCount(density * (skipped + length));
            if (skipped != 0 && q != 0) q = std::max(sampleCount(density * length), 1);
            skipped += length;
            if (q != 0) {
                sampleInterval(i, h, q);
                skipped = 0;
            }
        }
        clip(point(m_n));
    }

    // Samples t = (l − 1) × h / q for l = 1..q. For y(x) the samples left or right of the frame
    // draw nothing, except the first and last of each run that fix where the clipped pen enters and
    // leaves, so the others are passed over: zooming into part of a long interval stays quick.
    void sampleInterval(int i, double h, std::int32_t q) {
        std::int32_t lo = 1, hi = q;
        if (!m_parametric) visibleSamples(i, h, q, lo, hi);
        for (std::int32_t l = 1; l <= q; ++l) {
            clip(sample(i, parameterAt(l, h, q)));
            if (l == 1 && lo - 1 > 2) {
                l = lo - 2;
            } else if (l > hi && l < q - 1) {
                l = q - 1;
            }
        }
    }

    static double parameterAt(std::int32_t l, double h, std::int32_t q) { return (l - 1) * h / q; }

    // The samples lo..hi whose page x lies within the frame's left and right; all samples when the
    // page x is not certain to grow with l.
    void visibleSamples(int i, double h, std::int32_t q, std::int32_t& lo, std::int32_t& hi) const {
        const double left = m_doc.area[0];
        const double right = m_doc.area[1];
        if (!(m_doc.txmax > m_doc.txmin && right >= left && h > 0) || q < 16) return;
        auto px = [&](std::int32_t l) { return pageX(m_doc, m_x[at(i)] + parameterAt(l, h, q)); };
        // First l with px(l) >= left, and first l with px(l) > right.
        auto firstWhere = [&](auto predicate) {
            std::int32_t a = 1, b = q + 1;
            while (a < b) {
                const std::int32_t mid = a + (b - a) / 2;
                if (predicate(px(mid))) {
                    b = mid;
                } else {
                    a = mid + 1;
                }
            }
            return a;
        };
        lo = firstWhere([&](double x) { return x >= left; });
        hi = firstWhere([&](double x) { return x > right; }) - 1;
    }

    Drawing& m_drawing;
    const DocumentHead& m_doc;
    int m_n;
    std::span<double> m_x, m_y, m_t;
    Cubic m_first, m_second;  // y(x), or x(T) and y(T)
    double m_sx = 1, m_sy = 1;
    bool m_parametric = false;
};

// The set's arrays hold all its points (element 0 unused).
bool hasPoints(const DataSet& set) {
    const auto needed = static_cast<std::size_t>(set.count);
    return set.count > 0 && set.xs().size() > needed && set.ys().size() > needed;
}

// Straight lines through the points.
void drawLines(Drawing& drawing, const DocumentHead& doc, const DataSet& set) {
    for (int i = 1; i <= set.count; ++i) {
        drawing.clipPoint(pageX(doc, scale(set.x(i), doc.xtype)), pageY(doc, scale(set.y(i), doc.ytype)));
    }
}

void drawStroke(Drawing& drawing, double x0, double y0, double x1, double y1) {
    drawing.clipReset();
    drawing.clipPoint(x0, y0);
    drawing.clipPoint(x1, y1);
}

}  // namespace

std::size_t curveWorkSize(std::int32_t count) {
    return static_cast<std::size_t>(kWorkArrays) * static_cast<std::size_t>(std::max(count, 0) + 1);
}

void drawCurve(Drawing& drawing, const DocumentHead& doc, const DataSet& set, std::span<double> work,
               MessageBoxes& messages) {
    const int interp = set.params.interp;
    if (interp <= 0 || !hasPoints(set)) return;
    if (interp == 1 || work.size() < curveWorkSize(set.count)) {
        drawLines(drawing, doc, set);
        return;
    }
    CurveSampler curve(drawing, doc, set, work);
    const bool drawn =
        interp == 2 && set.ascending ? curve.drawFunction(messages) : curve.drawParametric(messages);
    if (!drawn) drawLines(drawing, doc, set);  // after a spline error
}

void drawErrorBars(Drawing& drawing, const DocumentHead& doc, const DataSet& set, double capHalfLength) {
    if (!hasPoints(set)) return;
    // The error values are not kept in memory: they are read again from the set's block in its file.
    FileSource file(set.name().str());
    if (!file.isOpen() || !file.seek(set.datapos)) return;
    LineReader reader(file);
    const double cap = capHalfLength;
    for (int j = 1; j <= set.count; ++j) {
        if (!reader.readLine()) return;  // the file became shorter: no more bars for this set
        const Numbers& numbers = reader.numbers();
        const double x = set.x(j);
        const double y = set.y(j);
        if (numbers.count >= 3 && numbers.at(3) > 0) {
            const double e = numbers.at(3);
            const double px = pageX(doc, scale(x, doc.xtype));
            const double lo = pageY(doc, scale(y - 0.5 * e, doc.ytype));
            const double hi = pageY(doc, scale(y + 0.5 * e, doc.ytype));
            drawing.setPen(0, doc.tickwidth, 0);
            drawStroke(drawing, px, lo, px, hi);
            drawing.setPen(0, doc.subtickwidth, 0);
            drawStroke(drawing, px - cap, lo, px + cap, lo);
            drawStroke(drawing, px - cap, hi, px + cap, hi);
        }
        if (numbers.count >= 4 && numbers.at(4) > 0) {
            const double f = numbers.at(4);
            const double py = pageY(doc, scale(y, doc.ytype));
            const double lo = pageX(doc, scale(x - 0.5 * f, doc.xtype));
            const double hi = pageX(doc, scale(x + 0.5 * f, doc.xtype));
            drawing.setPen(0, doc.tickwidth, 0);
            drawStroke(drawing, lo, py, hi, py);
            drawing.setPen(0, doc.subtickwidth, 0);
            drawStroke(drawing, lo, py - cap, lo, py + cap);
            drawStroke(drawing, hi, py - cap, hi, py + cap);
        }
    }
}

void drawMarker(Drawing& drawing, int shape, double size, double px, double py) {
    if (shape < 0) return;
    const double f = size / 2;
    drawing.setBrush(0);
    switch (shape % 4) {
        case 0:
            drawing.ellipse(px - f, py - f, px + f, py + f);
            break;
        case 1:
            drawing.rectangle(px - f, py - f, px + f, py + f);
            break;
        case 2: {
            const double s = size / 2 / 0.65;  // side; the triangle is centred on its centroid
            const double corners[] = {px - s / 2,         py - s * 1.732 / 6, px,
                                      py + s * 3.464 / 6, px + s / 2,         py - s * 1.732 / 6};
            drawing.polygon(corners, 3);
            break;
        }
        default: {
            const double corners[] = {px - f, py, px, py + f, px + f, py, px, py - f};
            drawing.polygon(corners, 4);
            break;
        }
    }
}

void drawMarkers(Drawing& drawing, const DocumentHead& doc, const DataSet& set) {
    if ((set.params.marker != 1 && set.params.marker != 3) || !hasPoints(set)) return;
    for (int j = 1; j <= set.count; ++j) {
        const double x = set.x(j);
        const double y = set.y(j);
        if (doc.xmin <= x && x <= doc.xmax && doc.ymin <= y && y <= doc.ymax) {
            drawMarker(drawing, set.params.shape, doc.markersize, pageX(doc, scale(x, doc.xtype)),
                       pageY(doc, scale(y, doc.ytype)));
        }
    }
}

}  // namespace varnex
