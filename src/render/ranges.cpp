#include "render/ranges.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <tuple>
#include <utility>

#include "document/model.h"
#include "render/mapping.h"

namespace varnex {
namespace {

// Starting values of the running extent: beyond every transformed value.
constexpr double kNoMinimum = 1e100;
constexpr double kNoMaximum = -1e100;
constexpr double kMarginShare = 0.05;

struct Limits {
    double* lo;
    double* hi;
};

Limits limitsOf(DocumentHead& doc, Axis axis) {
    return axis == Axis::X ? Limits{&doc.xmin, &doc.xmax} : Limits{&doc.ymin, &doc.ymax};
}

// A value the transform of `type` maps onto the axis (not to its far-away wrong-sign value).
bool transformable(double value, int type) {
    if (type == 1) return value > 0;
    if (type == -1) return value < 0;
    return true;
}

// value held within the doubles an axis of `type` can show: the finite ones, and on a logarithmic
// axis those of its sign (a margin beyond them would be infinite, or 0 on a log axis).
double clampToAxis(double value, int type) {
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kTiny = std::numeric_limits<double>::denorm_min();
    if (type == 1) return std::clamp(value, kTiny, kMax);
    if (type == -1) return std::clamp(value, -kMax, -kTiny);
    return std::clamp(value, -kMax, kMax);
}

// The smallest and largest value of an axis over every point of every loaded set that the axis of
// `type` can show; an empty range (lo > hi) when there is none.
std::pair<double, double> showableExtent(const Document& doc, Axis axis, int type) {
    double lo = HUGE_VAL;
    double hi = -HUGE_VAL;
    for (const DataSet& set : doc.loadedSets()) {
        if (!set.storage) continue;
        const std::span<const double> values = axis == Axis::X ? set.xs() : set.ys();
        for (int j = 1; j <= set.count; ++j) {
            const double v = values[static_cast<std::size_t>(j)];
            if (!transformable(v, type) || !std::isfinite(v)) continue;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    return {lo, hi};
}

}  // namespace

bool rangeToDataExtent(Document& doc, Axis axis) {
    const int type = axis == Axis::X ? doc.xtype : doc.ytype;
    double lo = axis == Axis::X ? doc.dataxmin : doc.dataymin;
    double hi = axis == Axis::X ? doc.dataxmax : doc.dataymax;
    if (type != 0) std::tie(lo, hi) = showableExtent(doc, axis, type);
    if (!(lo < hi)) return false;
    const Limits limits = limitsOf(doc, axis);
    const bool changed = *limits.lo != lo || *limits.hi != hi;
    *limits.lo = lo;
    *limits.hi = hi;
    return changed;
}

bool automaticRange(Document& doc, Axis axis) {
    const bool forX = axis == Axis::X;
    // The other axis's range selects the points; this axis's values are measured.
    const double otherLo = forX ? doc.ymin : doc.xmin;
    const double otherHi = forX ? doc.ymax : doc.xmax;
    const int type = forX ? doc.xtype : doc.ytype;

    double lowest = kNoMinimum;
    double highest = kNoMaximum;
    for (const DataSet& set : doc.loadedSets()) {
        if (set.isHidden() || !set.storage) continue;
        const std::span<const double> selectors = forX ? set.ys() : set.xs();
        const std::span<const double> values = forX ? set.xs() : set.ys();
        for (int j = 1; j <= set.count; ++j) {
            const auto i = static_cast<std::size_t>(j);
            if (!(otherLo <= selectors[i] && selectors[i] <= otherHi)) continue;
            if (!transformable(values[i], type)) continue;
            const double t = scale(values[i], type);
            if (t < lowest) lowest = t;
            if (t > highest) highest = t;
        }
    }
    if (!(highest > lowest)) return false;

    // Written as a difference of shares so that the distance of two extreme values cannot overflow.
    const double margin = kMarginShare * highest - kMarginShare * lowest;
    const double lo = clampToAxis(unscale(lowest - margin, type), type);
    const double hi = clampToAxis(unscale(highest + margin, type), type);
    if (!(hi > lo)) return false;
    const Limits limits = limitsOf(doc, axis);
    *limits.lo = lo;
    *limits.hi = hi;
    return true;
}

bool placeRangeEnds(DocumentHead& doc, int offset, double x, double y) {
    switch (offset) {
        case 1: doc.xmin = x; return true;
        case 2: doc.xmax = x; return true;
        case 3: doc.ymin = y; return true;
        case 4: doc.ymax = y; return true;
        case 5: doc.xmin = x; doc.ymin = y; return true;
        case 6: doc.xmax = x; doc.ymax = y; return true;
        default: return false;
    }
}

}  // namespace varnex
