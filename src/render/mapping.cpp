#include "render/mapping.h"

#include <cmath>

namespace varnex {

namespace {

// The inverse of the position on a frame, for the cursor read-out; a frame of zero width reads as its
// left or bottom edge.
double fraction(double p, double from, double to) {
    return to != from ? (p - from) / (to - from) : 0.0;
}

// The value at fraction f of the way from lo to hi; limits further apart than the largest double are
// weighted instead, which stays finite.
double between(double lo, double hi, double f) {
    const double span = hi - lo;
    if (std::isfinite(span)) return lo + f * span;
    return (1 - f) * lo + f * hi;
}

}  // namespace

double unscale(double t, int type) {
    if (type == 1) return std::pow(10.0, t);
    if (type == -1) return -std::pow(10.0, -t);
    return t;
}

double dataX(const DocumentHead& doc, double px) {
    return unscale(between(doc.txmin, doc.txmax, fraction(px, doc.area[0], doc.area[1])), doc.xtype);
}

double dataY(const DocumentHead& doc, double py) {
    return unscale(between(doc.tymin, doc.tymax, fraction(py, doc.area[2], doc.area[3])), doc.ytype);
}

PagePosition pageOfLogical(double x, double y) {
    using mapping_detail::kLogicalPerPage;
    return {x / kLogicalPerPage, 100.0 - y / kLogicalPerPage};
}

std::optional<CursorValue> readCursor(const DocumentHead& doc, PagePosition at) {
    if (doc.data == 0) return std::nullopt;
    const bool inside = doc.area[0] <= at.x && at.x <= doc.area[1] && doc.area[2] <= at.y && at.y <= doc.area[3];
    if (!inside) return std::nullopt;
    return CursorValue{dataX(doc, at.x), dataY(doc, at.y)};
}

}  // namespace varnex
