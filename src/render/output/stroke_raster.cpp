#include "render/output/stroke_raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace varnex {
namespace {

// The part [t0, t1] of the segment a + t (b − a), t in [0, 1], inside the box; false when none is.
bool clipToBox(DevicePoint a, DevicePoint b, double left, double top, double right, double bottom, double& t0,
               double& t1) {
    t0 = 0;
    t1 = 1;
    const double d[2] = {b.x - a.x, b.y - a.y};
    const double start[2] = {a.x, a.y};
    const double lows[2] = {left, top};
    const double highs[2] = {right, bottom};
    for (int axis = 0; axis < 2; ++axis) {
        if (d[axis] == 0) {
            if (start[axis] < lows[axis] || start[axis] > highs[axis]) return false;
            continue;
        }
        double u1 = (lows[axis] - start[axis]) / d[axis];
        double u2 = (highs[axis] - start[axis]) / d[axis];
        if (u1 > u2) std::swap(u1, u2);
        t0 = std::max(t0, u1);
        t1 = std::min(t1, u2);
        if (t0 > t1) return false;
    }
    return true;
}

int floorToInt(double value) {
    return static_cast<int>(std::clamp(std::floor(value), -2e9, 2e9));
}

}  // namespace

void StrokeRaster::setClip(int left, int top, int right, int bottom) {
    m_left = left;
    m_top = top;
    m_right = std::max(left, right);
    m_bottom = std::max(top, bottom);
}

void StrokeRaster::addPolyline(std::span<const DevicePoint> points, double width) {
    const double half = std::isfinite(width) ? std::max(width, 1.0) / 2 : 0.5;
    // The span being gathered: the points since `first`, ending at `last`, within [left, right] ×
    // [low, high].
    bool open = false;
    int count = 0;
    double left = 0, right = 0, low = 0, high = 0;
    DevicePoint last{};
    auto close = [&] {
        if (open && count > 1) addSpan(left, low, right, high, half);
        open = false;
    };
    for (const DevicePoint& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            close();
            continue;
        }
        if (open && std::max(right, p.x) - std::min(left, p.x) <= kSpanWidth) {
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            low = std::min(low, p.y);
            high = std::max(high, p.y);
            ++count;
        } else {
            const bool joined = open;
            close();
            if (joined) addSegment(last, p, half);
            open = true;
            count = 1;
            left = right = p.x;
            low = high = p.y;
        }
        last = p;
    }
    close();
}

void StrokeRaster::addSegment(DevicePoint a, DevicePoint b, double half) {
    if (m_left >= m_right || m_top >= m_bottom) return;
    // Along a row or a column to within a 64th of a pixel: the rectangle is the same stroke, quicker.
    constexpr double kStraight = 1.0 / 64;
    if (std::abs(b.x - a.x) <= kStraight || std::abs(b.y - a.y) <= kStraight) {
        addSpan(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y), half);
        return;
    }
    // Cut to the clip widened beyond the reach of the stroke: what is cut off cannot touch the clip,
    // and the rows and columns left stay within reach of it.
    const double reach = half + 2;
    double t0 = 0, t1 = 1;
    if (!clipToBox(a, b, m_left - reach, m_top - reach, m_right + reach, m_bottom + reach, t0, t1)) return;
    const DevicePoint d{b.x - a.x, b.y - a.y};
    const DevicePoint from = t0 > 0 ? DevicePoint{a.x + t0 * d.x, a.y + t0 * d.y} : a;
    const DevicePoint to = t1 < 1 ? DevicePoint{a.x + t1 * d.x, a.y + t1 * d.y} : b;
    Segment s{from.x, from.y, to.x, to.y, half, false, 0, 0};
    s.top = std::max(m_top, floorToInt(std::min(from.y, to.y) - half - 1));
    s.bottom = std::min(m_bottom - 1, floorToInt(std::max(from.y, to.y) + half + 1));
    if (s.top > s.bottom) return;
    m_segments.push_back(s);
}

void StrokeRaster::addSpan(double left, double top, double right, double bottom, double half) {
    if (m_left >= m_right || m_top >= m_bottom) return;
    const double reach = half + 2;
    const double boxLeft = m_left - reach, boxRight = m_right + reach;
    const double boxTop = m_top - reach, boxBottom = m_bottom + reach;
    if (right < boxLeft || left > boxRight || bottom < boxTop || top > boxBottom) return;
    Segment s{std::max(left, boxLeft),
              std::max(top, boxTop),
              std::min(right, boxRight),
              std::min(bottom, boxBottom),
              half,
              true,
              0,
              0};
    s.top = std::max(m_top, floorToInt(s.ay - half - 1));
    s.bottom = std::min(m_bottom - 1, floorToInt(s.by + half + 1));
    if (s.top > s.bottom) return;
    m_segments.push_back(s);
}

// Antialiased: the share of the pixel across the stroke that it covers, for a pixel centre at
// `distance` from the middle of the stroke; otherwise whether the centre lies within it.
std::uint8_t StrokeRaster::coverage(double distance, double half) const {
    if (!m_antialiased) return distance <= half ? 255 : 0;
    const double share = half + 0.5 - distance;
    if (share >= 1) return 255;
    if (share <= 0) return 0;
    return static_cast<std::uint8_t>(share * 255 + 0.5);
}

// The columns of row j whose centres lie strictly between two lines crossing the row: each bound is
// linear in the row's height, so a row costs a few multiplications. The bounds are cut to the clip
// (widened by a pixel) before they become whole numbers.
struct RowWindow {
    double lo0, loStep, hi0, hiStep;  // x of the bounds at ry = 0 and their change per unit of ry

    // The window between the lines where (x − x0) × k + ry × m equals a and b (k ≠ 0).
    static RowWindow between(double x0, double k, double m, double a, double b) {
        double lo0 = x0 + a / k, hi0 = x0 + b / k;
        if (lo0 > hi0) std::swap(lo0, hi0);
        const double step = -m / k;
        return {lo0, step, hi0, step};
    }
    // The part of this window within other.
    void within(const RowWindow& other, double ry, double& lo, double& hi) const {
        lo = std::max(lo0 + loStep * ry, other.lo0 + other.loStep * ry);
        hi = std::min(hi0 + hiStep * ry, other.hi0 + other.hiStep * ry);
    }
};

// Pixel centres are at (i + 0.5, j + 0.5). For each row the columns that can be reached come from two
// slabs: within `reach` of the segment's line, and within `reach` of its stretch along the line; in
// them the distance to the segment (to its nearer end beyond the stretch) gives the coverage. Within
// the narrower slabs where the distance is at most `solid`, the pixels are covered whole.
void StrokeRaster::rasterize(const Segment& s, int bandTop, int rowFrom, int rowTo) {
    if (s.span) {
        rasterizeSpan(s, bandTop, rowFrom, rowTo);
        return;
    }
    const double reach = s.half + 0.5;                      // beyond this no pixel is touched
    const double solid = m_antialiased ? s.half - 0.5 : 0;  // nearer than this a pixel is covered whole
    double ux = s.bx - s.ax, uy = s.by - s.ay;
    const double length = std::hypot(ux, uy);
    // A segment moves by more than a 64th of a pixel along both axes (addSegment), so neither
    // direction component is 0.
    ux /= length;
    uy /= length;
    const double nx = -uy, ny = ux;
    const RowWindow across = RowWindow::between(s.ax, nx, ny, -reach, reach);
    const RowWindow along = RowWindow::between(s.ax, ux, uy, -reach, length + reach);
    const bool hasSolid = solid > 0;
    const RowWindow solidAcross = RowWindow::between(s.ax, nx, ny, -solid, solid);
    const RowWindow solidAlong = RowWindow::between(s.ax, ux, uy, 0, length);
    const double leftEdge = m_left - 1.0, rightEdge = m_right + 1.0;
    const std::size_t stride = static_cast<std::size_t>(m_right - m_left);
    const int first = std::max(rowFrom, s.top);
    const int last = std::min(rowTo, s.bottom + 1);
    for (int j = first; j < last; ++j) {
        const double ry = j + 0.5 - s.ay;
        double lo, hi;
        across.within(along, ry, lo, hi);
        lo = std::max(lo, leftEdge);
        hi = std::min(hi, rightEdge);
        if (!(lo < hi)) continue;
        const int i0 = std::max(m_left, static_cast<int>(std::floor(lo - 0.5)) + 1);
        const int i1 = std::min(m_right - 1, static_cast<int>(std::floor(hi - 0.5)));
        if (i0 > i1) continue;
        int solidFrom = i1 + 1, solidTo = i1;  // none
        if (hasSolid) {
            double inLo, inHi;
            solidAcross.within(solidAlong, ry, inLo, inHi);
            inLo = std::max(inLo, leftEdge);
            inHi = std::min(inHi, rightEdge);
            if (inLo < inHi) {
                solidFrom = std::max(i0, static_cast<int>(std::floor(inLo - 0.5)) + 1);
                solidTo = std::min(i1, static_cast<int>(std::floor(inHi - 0.5)));
            }
        }
        std::uint8_t* row = m_band.data() + static_cast<std::size_t>(j - bandTop) * stride - m_left;
        const double px = i0 + 0.5 - s.ax;
        double t = px * ux + ry * uy;  // along the segment from its start
        double n = px * nx + ry * ny;  // across it
        for (int i = i0; i <= i1; ++i, t += ux, n += nx) {
            if (i == solidFrom && solidFrom <= solidTo) {
                std::fill(row + i, row + solidTo + 1, std::uint8_t{255});
                const int skipped = solidTo - i;
                i = solidTo;
                t += skipped * ux;
                n += skipped * nx;
                continue;
            }
            double d;
            if (t < 0) {
                d = std::sqrt(t * t + n * n);
            } else if (t > length) {
                d = std::sqrt((t - length) * (t - length) + n * n);
            } else {
                d = std::abs(n);
            }
            const std::uint8_t value = coverage(d, s.half);
            if (value > row[i]) row[i] = value;
        }
        m_dirtyLeft = std::min(m_dirtyLeft, i0);
        m_dirtyRight = std::max(m_dirtyRight, i1 + 1);
    }
}

// The distance of a pixel centre to the rectangle is that to its nearest point.
void StrokeRaster::rasterizeSpan(const Segment& s, int bandTop, int rowFrom, int rowTo) {
    const double reach = s.half + 0.5;
    const std::size_t stride = static_cast<std::size_t>(m_right - m_left);
    const int first = std::max(rowFrom, s.top);
    const int last = std::min(rowTo, s.bottom + 1);
    const int i0 = std::max(m_left, floorToInt(s.ax - reach - 0.5) + 1);
    const int i1 = std::min(m_right - 1, floorToInt(s.bx + reach - 0.5));
    if (i0 > i1) return;
    for (int j = first; j < last; ++j) {
        const double y = j + 0.5;
        const double dy = std::max({s.ay - y, y - s.by, 0.0});
        if (dy >= reach) continue;
        std::uint8_t* row = m_band.data() + static_cast<std::size_t>(j - bandTop) * stride - m_left;
        for (int i = i0; i <= i1; ++i) {
            const double x = i + 0.5;
            const double dx = std::max({s.ax - x, x - s.bx, 0.0});
            const std::uint8_t value = coverage(dy == 0 ? dx : std::sqrt(dx * dx + dy * dy), s.half);
            if (value > row[i]) row[i] = value;
        }
        m_dirtyLeft = std::min(m_dirtyLeft, i0);
        m_dirtyRight = std::max(m_dirtyRight, i1 + 1);
    }
}

void StrokeRaster::render(const std::function<void(const Band&)>& sink) {
    if (m_segments.empty()) return;
    const std::size_t stride = static_cast<std::size_t>(m_right - m_left);
    m_band.assign(stride * kBandRows, 0);
    m_order.resize(m_segments.size());
    for (std::size_t k = 0; k < m_order.size(); ++k) m_order[k] = k;
    std::sort(m_order.begin(), m_order.end(),
              [&](std::size_t a, std::size_t b) { return m_segments[a].top < m_segments[b].top; });
    int lastRow = m_top;
    for (const Segment& s : m_segments) lastRow = std::max(lastRow, s.bottom);

    m_active.clear();
    std::size_t next = 0;
    for (int bandTop = m_segments[m_order[0]].top; bandTop <= lastRow;) {
        const int bandEnd = std::min(bandTop + kBandRows, lastRow + 1);
        while (next < m_order.size() && m_segments[m_order[next]].top < bandEnd)
            m_active.push_back(m_order[next++]);
        std::erase_if(m_active, [&](std::size_t k) { return m_segments[k].bottom < bandTop; });
        if (m_active.empty()) {
            if (next == m_order.size()) break;
            bandTop = m_segments[m_order[next]].top;  // over the rows no stroke reaches
            continue;
        }
        m_dirtyLeft = m_right;
        m_dirtyRight = m_left;
        for (const std::size_t k : m_active) rasterize(m_segments[k], bandTop, bandTop, bandEnd);
        if (m_dirtyLeft < m_dirtyRight) {
            const std::size_t offset = static_cast<std::size_t>(m_dirtyLeft - m_left);
            sink(Band{m_dirtyLeft, bandTop, m_dirtyRight - m_dirtyLeft, bandEnd - bandTop, stride,
                      m_band.data() + offset});
            const std::size_t count = static_cast<std::size_t>(m_dirtyRight - m_dirtyLeft);
            for (int r = 0; r < bandEnd - bandTop; ++r) {
                std::memset(m_band.data() + static_cast<std::size_t>(r) * stride + offset, 0, count);
            }
        }
        bandTop = bandEnd;
    }
    m_segments.clear();
}

}  // namespace varnex
