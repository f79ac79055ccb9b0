#include "document/follow.h"

#include <cmath>

namespace varnex {

std::optional<XRange> followedRange(XRange range, int xtype, double previousX, double newestX) {
    if (!std::isfinite(newestX) || !std::isfinite(range.xmin) || !std::isfinite(range.xmax)) return std::nullopt;
    if (!(range.xmin < range.xmax)) return std::nullopt;  // mirrored or empty: left as the user set it
    if (!(newestX > range.xmax) || !(newestX > previousX)) return std::nullopt;
    XRange moved;
    moved.xmax = newestX;
    if (xtype == 0) {
        moved.xmin = newestX - (range.xmax - range.xmin);
    } else {
        // The same number of decades: the ratio of the ends is kept. Both ends must have the sign of
        // the axis' values.
        const double sign = xtype > 0 ? 1.0 : -1.0;
        if (!(range.xmin * sign > 0) || !(range.xmax * sign > 0) || !(newestX * sign > 0)) return std::nullopt;
        moved.xmin = newestX * (range.xmin / range.xmax);
    }
    if (!std::isfinite(moved.xmin) || !(moved.xmin < moved.xmax)) return std::nullopt;
    return moved;
}

bool followNewest(DocumentHead& doc, double previousX) {
    if (!doc.follow || doc.data <= 0) return false;
    const std::optional<XRange> moved = followedRange({doc.xmin, doc.xmax}, doc.xtype, previousX, doc.dataxmax);
    if (!moved) return false;
    doc.xmin = moved->xmin;
    doc.xmax = moved->xmax;
    return true;
}

}  // namespace varnex
