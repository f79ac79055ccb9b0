#include "render/curves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>

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
// Stretches of at most this many samples are drawn without testing where the curve lies.
constexpr std::int32_t kDirectSamples = 8;

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

    // Samples t = (l − 1) × h / q for l = 1..q. Where the curve lies wholly outside the frame its
    // samples draw nothing: of such a run only the first (where the piece drawn before ends) and the
    // last (where the next piece may start) are computed, and the pen jumps from the one to the other.
    // So an interval that reaches far beyond the frame, and gets thousands of samples for its length,
    // costs about log2(q) box tests and the samples that can show.
    void sampleInterval(int i, double h, std::int32_t q) {
        m_run = {};
        sampleStretch(i, h, q, 1, q + 1);
        endRun(i, h, q);
    }

    static double parameterAt(std::int32_t l, double h, std::int32_t q) { return (l - 1) * h / q; }

    // Samples first..end − 1; the curve between samples first and end (t = h for q + 1) decides. A
    // stretch wholly within the frame, or short, is sampled; one wholly outside joins the run of
    // skipped samples; any other is halved.
    void sampleStretch(int i, double h, std::int32_t q, std::int32_t first, std::int32_t end) {
        if (end - first > kDirectSamples) {
            const Box box = bounds(i, parameterAt(first, h, q), parameterAt(end, h, q));
            if (box.outside(m_doc.area)) {
                if (!m_run.open) {
                    clip(sample(i, parameterAt(first, h, q)));
                    m_run = {true, first, first};
                }
                m_run.last = end - 1;
                return;
            }
            if (!box.within(m_doc.area)) {
                const std::int32_t middle = first + (end - first) / 2;
                sampleStretch(i, h, q, first, middle);
                sampleStretch(i, h, q, middle, end);
                return;
            }
        }
        for (std::int32_t l = first; l < end; ++l) {
            endRun(i, h, q);
            clip(sample(i, parameterAt(l, h, q)));
        }
    }

    // Closes a run of samples outside the frame: the pen goes on from its last sample.
    void endRun(int i, double h, std::int32_t q) {
        if (m_run.open && m_run.last != m_run.first) {
            const PagePoint p = sample(i, parameterAt(m_run.last, h, q));
            m_drawing.clipSkip(p.x, p.y);
        }
        m_run.open = false;
    }

    // A box in page units around the curve of interval i for t in [t0, t1]: the box of the Bézier
    // control points of each cubic on that stretch, which holds the curve.
    struct Box {
        double left = 0, right = 0, bottom = 0, top = 0;
        bool outside(const std::array<double, 4>& frame) const {
            return right < frame[0] || left > frame[1] || top < frame[2] || bottom > frame[3];
        }
        bool within(const std::array<double, 4>& frame) const {
            return frame[0] <= left && right <= frame[1] && frame[2] <= bottom && top <= frame[3];
        }
    };

    Box bounds(int i, double t0, double t1) const {
        auto range = [&](const Cubic& cubic, std::span<const double> base, double& lo, double& hi) {
            const double f0 = cubic.value(base, i, t0);
            const double f3 = cubic.value(base, i, t1);
            const double f1 = f0 + cubic.slope(i, t0) * (t1 - t0) / 3;
            const double f2 = f3 - cubic.slope(i, t1) * (t1 - t0) / 3;
            lo = std::min({f0, f1, f2, f3});
            hi = std::max({f0, f1, f2, f3});
        };
        double xlo = 0, xhi = 0, ylo = 0, yhi = 0;
        if (m_parametric) {
            range(m_first, m_x, xlo, xhi);
            range(m_second, m_y, ylo, yhi);
        } else {
            xlo = m_x[at(i)] + t0;
            xhi = m_x[at(i)] + t1;
            range(m_first, m_y, ylo, yhi);
        }
        const double x0 = pageX(m_doc, xlo), x1 = pageX(m_doc, xhi);
        const double y0 = pageY(m_doc, ylo), y1 = pageY(m_doc, yhi);
        return {std::min(x0, x1), std::max(x0, x1), std::min(y0, y1), std::max(y0, y1)};
    }

    // A run of samples skipped because the curve lies outside the frame there.
    struct Run {
        bool open = false;
        std::int32_t first = 0, last = 0;
    };

    Drawing& m_drawing;
    const DocumentHead& m_doc;
    int m_n;
    std::span<double> m_x, m_y, m_t;
    Cubic m_first, m_second;  // y(x), or x(T) and y(T)
    double m_sx = 1, m_sy = 1;
    bool m_parametric = false;
    Run m_run;
};

// The set's arrays hold all its points (element 0 unused).
bool hasPoints(const DataSet& set) {
    const auto needed = static_cast<std::size_t>(set.count);
    return set.count > 0 && set.xs().size() > needed && set.ys().size() > needed;
}

// The points whose page x lies left or right of the frame draw nothing as long as the next point does
// too. For a set whose x values increase, page x grows with the index, so those stretches at either
// end are found by bisection and only their last (or first) point is fed: a graph zoomed into part
// of a long set costs what is shown. Gives the first and last index to feed.
void pointsToFeed(const DocumentHead& doc, const DataSet& set, int& first, int& last) {
    first = 1;
    last = set.count;
    if (!set.ascending || !(doc.txmax > doc.txmin) || !(doc.area[1] >= doc.area[0])) return;
    auto px = [&](int i) { return pageX(doc, scale(set.x(i), doc.xtype)); };
    // First index with px >= left, and first with px > right (count + 1 when none).
    auto firstWhere = [&](auto predicate) {
        int a = 1, b = set.count + 1;
        while (a < b) {
            const int mid = a + (b - a) / 2;
            if (predicate(px(mid))) {
                b = mid;
            } else {
                a = mid + 1;
            }
        }
        return a;
    };
    first = std::max(1, firstWhere([&](double x) { return x >= doc.area[0]; }) - 1);
    last = std::min(set.count, firstWhere([&](double x) { return x > doc.area[1]; }));
}

// Page coordinates of values[0..n) on an axis of the given type whose transformed limits lo..hi lie
// at from..to: pageX and pageY for many values. On a linear axis the loop vectorises.
void mapToPage(const double* values, int n, int type, double lo, double hi, double from, double to, double* out) {
    if (type == 1 || type == -1) {
        for (int k = 0; k < n; ++k) out[k] = mapping_detail::interpolate(scale(values[k], type), lo, hi, from, to);
        return;
    }
    for (int k = 0; k < n; ++k) out[k] = mapping_detail::interpolate(values[k], lo, hi, from, to);
}

// Straight lines through the points, mapped to the page a block at a time.
void drawLines(Drawing& drawing, const DocumentHead& doc, const DataSet& set) {
    int first = 1, last = set.count;
    pointsToFeed(doc, set, first, last);
    constexpr int kBlock = 1024;
    std::array<double, kBlock> px, py;
    const double* xs = set.xs().data();
    const double* ys = set.ys().data();
    for (int start = first; start <= last; start += kBlock) {
        const int n = std::min(kBlock, last - start + 1);
        mapToPage(xs + start, n, doc.xtype, doc.txmin, doc.txmax, doc.area[0], doc.area[1], px.data());
        mapToPage(ys + start, n, doc.ytype, doc.tymin, doc.tymax, doc.area[2], doc.area[3], py.data());
        const auto size = static_cast<std::size_t>(n);
        drawing.clipPoints(std::span<const double>(px).first(size), std::span<const double>(py).first(size));
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

void CurveWorkSpace::fit(std::size_t doubles) {
    if (doubles <= m_size && m_size / 2 <= doubles) return;
    m_data.reset();
    m_size = 0;
    if (doubles == 0) return;
    // Not zero-filled: every array is written before it is read, and zeroing hundreds of megabytes
    // would cost as much as the drawing itself.
    m_data.reset(new (std::nothrow) double[doubles]);
    if (m_data) m_size = doubles;
}

std::span<double> CurveWorkSpace::forSet(std::int32_t count) {
    const std::size_t wanted = curveWorkSize(count);
    if (m_size < wanted) fit(wanted);
    if (m_size < wanted) return {};
    return {m_data.get(), wanted};
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
    LineReader reader(file, LineLength::Whole);
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
    int first = 1, last = set.count;
    if (set.ascending) {  // the points within xmin..xmax are one stretch
        const auto xs = set.xs().subspan(1, static_cast<std::size_t>(set.count));
        first = 1 + static_cast<int>(std::lower_bound(xs.begin(), xs.end(), doc.xmin) - xs.begin());
        last = static_cast<int>(std::upper_bound(xs.begin(), xs.end(), doc.xmax) - xs.begin());
    }
    for (int j = first; j <= last; ++j) {
        const double x = set.x(j);
        const double y = set.y(j);
        if (doc.xmin <= x && x <= doc.xmax && doc.ymin <= y && y <= doc.ymax) {
            drawMarker(drawing, set.params.shape, doc.markersize, pageX(doc, scale(x, doc.xtype)),
                       pageY(doc, scale(y, doc.ytype)));
        }
    }
}

}  // namespace varnex
