// Locale-independent conversions between numbers and text.
//
// Files and the status bar never depend on the C library locale (Qt sets it from the environment),
// so every conversion here goes through std::from_chars / std::to_chars.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varnex {

// The value of the longest numeric prefix of text, as the C function atof reads it: leading
// white space, an optional sign, decimal digits with an optional point and exponent, or a
// hexadecimal number after "0x". Text without such a prefix reads as 0. A value that would not be a
// finite number (overflow, "inf", "nan") also reads as 0, so that no infinite or undefined value ever
// reaches an axis range.
double parseLeadingNumber(std::string_view text);

// The integer value of the leading digits of text, as atoi reads it (white space, sign, digits);
// 0 without digits. Values beyond the range of int saturate.
int parseLeadingInt(std::string_view text);

// The formatters below write what printf writes in the C locale for the conversion named, whatever the
// locale is; every number text the user sees comes from them. A field width pads with blanks on the
// left; a negative width pads on the right, as printf's '-' flag does ("%-12g" is formatG(v, 6, -12)).
// Texts longer than the width are kept whole.

// printf "%{width}.{precision}g": the shorter of fixed and exponent form.
std::string formatG(double value, int precision = 6, int width = 0);

// The shortest decimal text that reads back as exactly value (JSON, clipboard of exact values).
std::string formatShortest(double value);

// printf "%{width}.{precision}f".
std::string formatFixed(double value, int precision, int width = 0);

// printf "%{width}.{precision}e" (exponent with a sign and at least two digits).
std::string formatExponent(double value, int precision, int width = 0);

// Converts a double to an integer type by truncation toward zero, saturating at the type's limits
// (NaN gives 0). Casting an out-of-range double directly is undefined behaviour.
std::int64_t truncSaturated(double value, std::int64_t lo, std::int64_t hi);

}  // namespace varnex
