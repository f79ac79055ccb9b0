// Page geometry and the mapping between data values, page units and logical units.
//
// The page is the square 0..100 in x (rightwards) and y (upwards). The frame `area` of the Document
// (left, right, bottom, top) holds the axes; txmin..tymax are the axis limits after the axis
// transform, set by the renderer at the start of every drawing.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "document/model.h"
#include "render/output/picture.h"

namespace varnex {

// Axis transform: type 1 log10 (values <= 0 give -100), type -1 -log10(-v) (values >= 0 give +100),
// any other type the value itself.
inline double scale(double value, int type);
// The inverse of scale on its valid values.
double unscale(double t, int type);

// Page coordinates of a transformed value (no clamping: values outside the range map outside the frame).
inline double pageX(const DocumentHead& doc, double t);
inline double pageY(const DocumentHead& doc, double t);
// Data values at a page coordinate (the cursor read-out); the caller checks the point is in the frame.
double dataX(const DocumentHead& doc, double px);
double dataY(const DocumentHead& doc, double py);

// Logical units: X = trunc(50 × px), Y = trunc((py − 100) × −50), saturated to 32 bits; NaN (the
// position on an axis whose two transformed limits are equal) gives the most negative value, off the page.
inline LogicalPoint toLogical(double px, double py);

// The definitions above are inline: a dense curve maps every one of its points.
namespace mapping_detail {

inline constexpr double kLogicalPerPage = 50.0;
inline constexpr double kWrongSignValue = 100.0;  // where a value of the wrong sign lands on a log axis

// Position of t between lo and hi mapped onto from..to. A degenerate range (equal limits, which only
// a log axis of type -1 with two limits of the wrong sign produces) has no position: NaN, which the
// logical conversion sends far off the page.
// Limits further apart than the largest double (-1e308 to 1e308) are measured in halves, which
// cannot overflow.
inline double interpolate(double t, double lo, double hi, double from, double to) {
    const double span = hi - lo;
    if (std::isfinite(span) || !std::isfinite(lo) || !std::isfinite(hi)) return from + (t - lo) / span * (to - from);
    return from + (0.5 * t - 0.5 * lo) / (0.5 * hi - 0.5 * lo) * (to - from);
}

inline std::int32_t toLogicalUnit(double value) {
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (value > lo && value < hi) return static_cast<std::int32_t>(value);
    // NaN goes where the platform's conversion puts it: the most negative integer, off the page.
    if (std::isnan(value) || value <= lo) return std::numeric_limits<std::int32_t>::min();
    return std::numeric_limits<std::int32_t>::max();
}

}  // namespace mapping_detail

inline double scale(double value, int type) {
    using mapping_detail::kWrongSignValue;
    if (type == 1) return value > 0 ? std::log10(value) : -kWrongSignValue;
    if (type == -1) return value < 0 ? -std::log10(-value) : kWrongSignValue;
    return value;
}

inline double pageX(const DocumentHead& doc, double t) {
    return mapping_detail::interpolate(t, doc.txmin, doc.txmax, doc.area[0], doc.area[1]);
}

inline double pageY(const DocumentHead& doc, double t) {
    return mapping_detail::interpolate(t, doc.tymin, doc.tymax, doc.area[2], doc.area[3]);
}

inline LogicalPoint toLogical(double px, double py) {
    using mapping_detail::kLogicalPerPage;
    return {mapping_detail::toLogicalUnit(kLogicalPerPage * px),
            mapping_detail::toLogicalUnit((py - 100.0) * -kLogicalPerPage)};
}

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
