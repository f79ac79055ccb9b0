#include "render/mapping.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "util/numbers.h"

namespace varnex {

namespace {

constexpr double kLogicalPerPage = 50.0;
constexpr double kWrongSignValue = 100.0;  // where a value of the wrong sign lands on a log axis

// Position of t between lo and hi mapped onto from..to. A degenerate range (equal limits, which only
// a log axis of type -1 with two limits of the wrong sign produces) has no position: NaN, which the
// logical conversion sends far off the page.
double interpolate(double t, double lo, double hi, double from, double to) {
    return from + (t - lo) / (hi - lo) * (to - from);
}

// The inverse, for the cursor read-out; a frame of zero width reads as its left or bottom edge.
double fraction(double p, double from, double to) {
    return to != from ? (p - from) / (to - from) : 0.0;
}

std::int32_t toLogicalUnit(double value) {
    // NaN goes where the platform's conversion puts it: the most negative integer, off the page.
    if (std::isnan(value)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(truncSaturated(value, std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

double scale(double value, int type) {
    if (type == 1) return value > 0 ? std::log10(value) : -kWrongSignValue;
    if (type == -1) return value < 0 ? -std::log10(-value) : kWrongSignValue;
    return value;
}

double unscale(double t, int type) {
    if (type == 1) return std::pow(10.0, t);
    if (type == -1) return -std::pow(10.0, -t);
    return t;
}

double pageX(const DocumentHead& doc, double t) {
    return interpolate(t, doc.txmin, doc.txmax, doc.area[0], doc.area[1]);
}

double pageY(const DocumentHead& doc, double t) {
    return interpolate(t, doc.tymin, doc.tymax, doc.area[2], doc.area[3]);
}

double dataX(const DocumentHead& doc, double px) {
    return unscale(doc.txmin + fraction(px, doc.area[0], doc.area[1]) * (doc.txmax - doc.txmin), doc.xtype);
}

double dataY(const DocumentHead& doc, double py) {
    return unscale(doc.tymin + fraction(py, doc.area[2], doc.area[3]) * (doc.tymax - doc.tymin), doc.ytype);
}

LogicalPoint toLogical(double px, double py) {
    return {toLogicalUnit(kLogicalPerPage * px), toLogicalUnit((py - 100.0) * -kLogicalPerPage)};
}

PagePosition pageOfLogical(double x, double y) { return {x / kLogicalPerPage, 100.0 - y / kLogicalPerPage}; }

std::optional<CursorValue> readCursor(const DocumentHead& doc, PagePosition at) {
    if (doc.data == 0) return std::nullopt;
    const bool inside = doc.area[0] <= at.x && at.x <= doc.area[1] && doc.area[2] <= at.y && at.y <= doc.area[3];
    if (!inside) return std::nullopt;
    return CursorValue{dataX(doc, at.x), dataY(doc, at.y)};
}

}  // namespace varnex
