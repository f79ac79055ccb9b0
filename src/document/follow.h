// Follow mode: a strip chart of a growing file. While a view follows its data, every reload that
// brings points beyond the right end of the x range moves the range to the right, keeping its width
// (in data units on a linear axis, in decades on a logarithmic one), so that the newest point lies at
// the right edge. The y range is never touched.
//
// Only a range drawn the usual way round (xmin < xmax) follows; a mirrored range stays where the user
// put it. A shift that would give a range the axis cannot draw (not finite, a logarithmic end of the
// wrong sign) is not made.
#pragma once

#include <optional>

#include "document/model.h"

namespace varnex {

struct XRange {
    double xmin = 0;
    double xmax = 0;
    friend bool operator==(const XRange&, const XRange&) = default;
};

// The range after a reload whose data reach newestX (the largest x of all points) on an axis of type
// xtype (0 linear, 1 log of positive values, -1 log of negative values), the range being `range`
// before it and the data having reached previousX. nullopt when the range stays: the reload brought no
// point beyond both previousX and range.xmax, or the range is mirrored or cannot be shifted.
std::optional<XRange> followedRange(XRange range, int xtype, double previousX, double newestX);

// Applies followedRange to doc after a reload (doc.dataxmax is the new extent, previousX the one
// before it) when doc.follow is set; true when the range moved.
bool followNewest(DocumentHead& doc, double previousX);

}  // namespace varnex
