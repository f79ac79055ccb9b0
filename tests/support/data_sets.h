// Data sets made from points in tests, without a data file or a pool.
#pragma once

#include <memory>
#include <vector>

#include "document/model.h"

namespace varnex::testing {

// A loaded set of the points (xs[i], ys[i]), arrays indexed from 1, its `ascending` flag set.
// REQUIRES: xs.size() == ys.size()
inline DataSet dataSetOf(const std::vector<double>& xs, const std::vector<double>& ys) {
    DataSet set;
    set.storage = std::make_shared<SetStorage>();
    set.storage->x = {0};
    set.storage->y = {0};
    set.storage->x.insert(set.storage->x.end(), xs.begin(), xs.end());
    set.storage->y.insert(set.storage->y.end(), ys.begin(), ys.end());
    set.count = static_cast<std::int32_t>(xs.size());
    markAscending(std::span<DataSet>(&set, 1));
    return set;
}

}  // namespace varnex::testing
