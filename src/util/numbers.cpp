#include "util/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace varnex {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    return text.substr(i);
}

// Blanks to the field width: on the left for a positive width, on the right for a negative one.
std::string pad(std::string text, int width) {
    const std::size_t field = width < 0 ? 0u - static_cast<std::size_t>(width) : static_cast<std::size_t>(width);
    if (text.size() >= field) return text;
    if (width > 0) {
        text.insert(0, field - text.size(), ' ');
    } else {
        text.append(field - text.size(), ' ');
    }
    return text;
}

// to_chars with room for any result: at most 309 digits before the point (fixed form), the point, a
// sign, the exponent and precision digits after the point.
std::string toText(double value, std::chars_format format, int precision) {
    std::string buffer(static_cast<std::size_t>(precision > 0 ? precision : 0) + 400, '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    buffer.resize(result.ec == std::errc{} ? static_cast<std::size_t>(result.ptr - buffer.data()) : 0);
    return buffer;
}

}  // namespace

double parseLeadingNumber(std::string_view text) {
    text = skipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // One sign only: from_chars would take a second '-' ("+-1", "--1"), atof reads 0.
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) return 0;
    double value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    std::from_chars_result result{};
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        result = std::from_chars(first + 2, last, value, std::chars_format::hex);
        if (result.ec != std::errc{} || text[2] == '-') {
            value = 0;  // "0x" without hex digits, or with a sign after it, reads as the 0 before the x
            result.ec = std::errc{};
        }
    } else {
        result = std::from_chars(first, last, value, std::chars_format::general);
    }
    // from_chars would accept "inf" and "nan"; they, and values out of range, read as 0.
    if (result.ec != std::errc{} || !std::isfinite(value)) return 0;
    return negative ? -value : value;
}

int parseLeadingInt(std::string_view text) {
    text = skipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max()) {
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
        }
    }
    return static_cast<int>(negative ? -value : value);
}

std::string formatG(double value, int precision, int width) {
    return pad(toText(value, std::chars_format::general, precision < 1 ? 1 : precision), width);
}

std::string formatShortest(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string formatFixed(double value, int precision, int width) {
    return pad(toText(value, std::chars_format::fixed, precision), width);
}

std::string formatExponent(double value, int precision, int width) {
    return pad(toText(value, std::chars_format::scientific, precision), width);
}

std::int64_t truncSaturated(double value, std::int64_t lo, std::int64_t hi) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(lo)) return lo;
    if (value >= static_cast<double>(hi)) return hi;
    return static_cast<std::int64_t>(value);
}

}  // namespace varnex
