// The Document as one JSON object, as `--info` prints it.
#pragma once

#include <string>

#include "document/view_list.h"

namespace varnex {

// Keys in a fixed order (files, filesets, titles, fonts, types, sizes, limits, data extents, widths,
// view, views, sets). With `points`, every set also carries its x and y values. Texts are converted
// from the code page to UTF-8; numbers are written in the shortest form that reads back exactly.
std::string documentJson(const ViewList& views, bool points);

}  // namespace varnex
