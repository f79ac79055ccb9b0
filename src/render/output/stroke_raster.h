// Wide lines with round caps and joins turned into pixel coverage, in time bounded by the lines and
// the pixels they cover.
//
// Polylines are added in device pixels (pixel (i, j) is the square [i, i + 1) × [j, j + 1)); render()
// then hands the coverage of every pixel they touch to a sink, one band of rows at a time, and
// forgets them. A pixel's coverage is that of the union of every segment's stroke, a capsule of the
// given width around the segment, so joins and caps are round and a polyline crossing itself
// thousands of times costs no more than the same segments apart: the work is the segments' count
// plus the pixels within their strokes, whatever the order of the points.
//
// Dense stretches are cheaper still: consecutive points within a quarter of a pixel across form one
// span, the rectangle around them widened by the stroke (with round corners), instead of a segment
// between each two of them. The path between those points lies within that rectangle, and where it
// goes up and down many times it fills it, so the span draws it to within a quarter of a pixel,
// spikes of one point included, with one figure per quarter column of a curve however many points
// it has.
//
// Antialiased coverage is the share of the pixel, measured across the stroke, that the stroke
// covers (0-255); without antialiasing a pixel is covered (255) when its centre lies within the
// stroke. A stroke narrower than one pixel is drawn one pixel wide, as a raster device draws its
// thinnest line.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace varnex {

struct DevicePoint {
    double x = 0;
    double y = 0;
};

class StrokeRaster {
public:
    // The pixels render() may produce: columns [left, right), rows [top, bottom). Empty by default,
    // so that nothing is produced before a clip is given. Strokes already added keep their pixels.
    void setClip(int left, int top, int right, int bottom);
    void setAntialiased(bool on) { m_antialiased = on; }

    // A polyline of width pixels through points (a single point draws nothing). Points that are not
    // finite end the polyline there and start a new one after them; figures wholly outside the clip
    // are dropped.
    void addPolyline(std::span<const DevicePoint> points, double width);
    bool empty() const { return m_segments.empty(); }
    // Figures (segments and spans) added since the last render.
    std::size_t figureCount() const { return m_segments.size(); }

    // A band of rows [top, top + rows), columns [left, left + width), coverage of pixel (left + c,
    // top + r) at coverage[r * stride + c]. Valid only during the call of the sink.
    struct Band {
        int left = 0, top = 0, width = 0, rows = 0;
        std::size_t stride = 0;
        const std::uint8_t* coverage = nullptr;
    };
    // Hands every band holding covered pixels to sink, top to bottom, each cut to the columns it
    // covers, and forgets the strokes. Each pixel comes in one band only.
    void render(const std::function<void(const Band&)>& sink);
    void clear() { m_segments.clear(); }

    // Rows per band: the band's coverage (a row of the clip each) stays small enough for the caches.
    static constexpr int kBandRows = 64;
    // Widest span, in pixels; also the largest step across a segment drawn as a span.
    static constexpr double kSpanWidth = 0.25;

private:
    // A segment from a to b, or a span: the rectangle [ax, bx] × [ay, by].
    struct Segment {
        double ax, ay, bx, by;
        double half;  // half the stroke's width
        bool span;
        int top, bottom;  // the rows the stroke can reach, inclusive
    };
    void addSegment(DevicePoint a, DevicePoint b, double half);
    void addSpan(double left, double top, double right, double bottom, double half);
    // Adds the coverage of s in rows [rowFrom, rowTo) to m_band, whose first row is bandTop; widens
    // [m_dirtyLeft, m_dirtyRight).
    void rasterize(const Segment& s, int bandTop, int rowFrom, int rowTo);
    void rasterizeSpan(const Segment& s, int bandTop, int rowFrom, int rowTo);
    std::uint8_t coverage(double distance, double half) const;

    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
    bool m_antialiased = true;
    std::vector<Segment> m_segments;
    std::vector<std::uint8_t> m_band;  // reused by render
    std::vector<std::size_t> m_order, m_active;
    int m_dirtyLeft = 0, m_dirtyRight = 0;
};

}  // namespace varnex
