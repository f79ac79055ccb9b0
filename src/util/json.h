// Minimal JSON text helpers for the batch outputs.
#pragma once

#include <string>
#include <string_view>

namespace varnex {

// text (UTF-8) as a JSON string literal with its quotes; control characters escaped as \uXXXX.
std::string jsonString(std::string_view text);

// A number in the shortest form that reads back exactly; null for a value that is not finite.
std::string jsonNumber(double value);

}  // namespace varnex
