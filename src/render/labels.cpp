#include "render/labels.h"

#include <algorithm>
#include <charconv>

namespace varnex {
namespace {

// Longer than any exponent a mesh produces; keeps a wild argument from building a huge text.
constexpr int kMaxLabelExponent = 400;

// The decimal digits of a magnitude, without sign.
std::string digitsOf(std::uint64_t magnitude) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
    return std::string(buffer, result.ptr);
}

std::uint64_t magnitudeOf(std::int64_t value) {
    return value < 0 ? 0ULL - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

}  // namespace

std::string integerText(std::int64_t value) {
    std::string digits = digitsOf(magnitudeOf(value));
    return value < 0 ? "-" + digits : digits;
}

std::string decimalLabel(std::int64_t value, int exponent) {
    exponent = std::clamp(exponent, -kMaxLabelExponent, kMaxLabelExponent);
    std::string digits = digitsOf(magnitudeOf(value));
    std::string text;
    if (exponent >= 0) {
        // Zero takes no trailing zeros: a tick at 0 on an axis stepping by hundreds reads "0", not "000".
        text = value == 0 ? digits : digits + std::string(static_cast<std::size_t>(exponent), '0');
    } else {
        const auto decimals = static_cast<std::size_t>(-exponent);
        if (digits.size() > decimals) {
            const std::size_t whole = digits.size() - decimals;
            text = digits.substr(0, whole) + "." + digits.substr(whole);
        } else {
            text = "0." + std::string(decimals - digits.size(), '0') + digits;
        }
    }
    return value < 0 ? "-" + text : text;
}

std::string tickLabel(const Mesh& mesh, int k) {
    return decimalLabel(mesh.entry[static_cast<std::size_t>(k)], mesh.exponent);
}

DecadeLabel decadeLabel(int q, int type) {
    return {integerText(10 * static_cast<std::int64_t>(type)),
            integerText(static_cast<std::int64_t>(type) * q)};
}

}  // namespace varnex
