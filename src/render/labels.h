// The texts written at the ticks: exact decimal labels of a linear axis, its power-of-ten factor, and
// the decade labels of a logarithmic axis.
//
// Labels are built digit by digit from the integer entries of the mesh (render/mesh.h), never through
// a floating-point format, so they show exactly the decimals of the step and no representation error.
// All texts are plain ASCII and independent of the C library locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "render/mesh.h"

namespace varnex {

// The base of the power-of-ten factor written once at the end of a linear axis; its raised exponent is
// integerText(mesh.shift).
inline constexpr std::string_view kFactorText = "*10";

// An integer as "%i" writes it: an optional "-" and the digits, no leading zeros or blanks.
std::string integerText(std::int64_t value);

// value × 10^exponent in decimals: exponent >= 0 appends that many zeros (none to 0); exponent < 0 gives exactly
// −exponent decimals ("0.0" for 0 with −1, "0.05" for 5 with −2, "-2.5" for −25 with −1). A mesh keeps
// |exponent| far below 400; larger exponents are taken as ±400.
std::string decimalLabel(std::int64_t value, int exponent);

// The label of major tick k of a mesh. REQUIRES: 1 <= k <= mesh.count
std::string tickLabel(const Mesh& mesh, int k);

// The label of decade q on a logarithmic axis of type 1 or -1: the base "10" ("-10" on type -1) and
// the raised exponent type × q. On type -1 decade q stands for −10^(−q), so "-10" with −q reads right.
struct DecadeLabel {
    std::string base;
    std::string exponent;
};
DecadeLabel decadeLabel(int q, int type);

}  // namespace varnex
