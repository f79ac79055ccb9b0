// The texts the program puts on the clipboard as numbers: the value under the cursor (the "&Copy" items
// of the range pop-up) and all points of one data set (Graph "copy data"). Plain 8-bit text, numbers
// written as printf writes them in the C locale, whatever the locale is.
#pragma once

#include <string>

#include "render/mapping.h"

namespace varnex {

struct DataSet;

// What a "&Copy" item of the range pop-up copies: command 2500 + what.
enum class CopiedValue { Both = 0, X = 1, Y = 2 };

// "%g\t%g" with x and y, or "%g" with x or with y; nothing follows. Empty for an unknown choice.
std::string cursorValueText(const CursorValue& value, CopiedValue what);

// One line "%24.16e\t%24.16e\r\n" with x[i] and y[i] for each point i = 1 .. count: 51 characters a
// line. Error values of an error-bar set are not copied. Empty for a set without points.
std::string setDataText(const DataSet& set);

}  // namespace varnex
