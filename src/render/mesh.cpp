#include "render/mesh.h"

#include <algorithm>
#include <cmath>

#include "util/message_boxes.h"
#include "util/numbers.h"

namespace varnex {
namespace {

// Ranges narrower than this, relative to the larger limit, cannot be labelled.
constexpr double kMinRelativeWidth = 1e-8;
// Bounds that a valid range never reaches (a 5-interval mesh scans about 12 steps, and its indexes
// stay below 5e9); they only stop rounding accidents near the limits of double from running away.
constexpr std::int64_t kMaxScan = 100;
constexpr std::int64_t kMaxIndex = 1'000'000'000'000;

// The mesh's floor: the integer part cut toward zero, minus 1 for negative x, so fl(-2.0) = -3.
std::int64_t meshFloor(double x) {
    constexpr std::int64_t kLimit = std::int64_t{1} << 62;
    const std::int64_t whole = truncSaturated(x, -kLimit, kLimit);
    return x < 0 ? whole - 1 : whole;
}

// The nice multiplier of the step for trunc(h / p) in 1..10.
std::int64_t niceFactor(std::int64_t r) {
    if (r <= 2) return r;
    if (r == 3) return 2;
    if (r <= 7) return 5;
    return 10;
}

}  // namespace

double Mesh::value(int k) const {
    return static_cast<double>(entry[static_cast<std::size_t>(k)]) * integerPower(10, exponent + shift);
}

double integerPower(double base, int k) {
    unsigned long long bits =
        k < 0 ? 0ULL - static_cast<unsigned long long>(k) : static_cast<unsigned long long>(k);
    double result = 1;
    double square = base;
    while (bits != 0) {
        if (bits & 1U) result *= square;
        bits >>= 1U;
        if (bits != 0) square *= square;
    }
    return k < 0 ? 1 / result : result;
}

Mesh makeMesh(int intervals, double lo, double hi) {
    const Mesh refused;
    if (intervals < 1 || !std::isfinite(lo) || !std::isfinite(hi)) return refused;
    const double amax = std::max(std::fabs(lo), std::fabs(hi));
    // Limits further apart than the largest double (-1e308 to 1e308) are measured in halves.
    const double halfWidth = 0.5 * hi - 0.5 * lo;
    // Written so that NaN (lo = hi = 0) is refused as well.
    if (!(halfWidth / amax >= 0.5 * kMinRelativeWidth)) return refused;

    const double width = hi - lo;
    const double h = std::isfinite(width) ? width / intervals : halfWidth / intervals * 2;
    const std::int64_t m = meshFloor(std::log10(h));
    const double p = std::pow(10.0, static_cast<double>(m));
    // Below the normal doubles the powers of ten lose their digits (and integerPower reaches 0).
    if (m < -307 || !std::isnormal(p)) return refused;

    // h / p lies in 1..10; where log10 rounds up to a whole number it can come out just below 1.
    const std::int64_t r = niceFactor(std::max<std::int64_t>(1, truncSaturated(h / p, 0, 10)));
    const double step = static_cast<double>(r) * p;

    Mesh mesh;
    mesh.minor = r == 2 ? 4 : 5;
    mesh.shift = (amax >= 0.01 && amax < 1000)
                     ? 0
                     : static_cast<std::int32_t>(3 * meshFloor(std::log10(amax) / 3 + 0.5));

    const std::int64_t i0 = meshFloor(lo / step + 0.5);
    const std::int64_t i1 = meshFloor(hi / step + 0.5) + 1;
    if (i1 - i0 > kMaxScan || std::max(std::abs(i0), std::abs(i1)) > kMaxIndex) return refused;

    int j = 1;
    for (std::int64_t i = i0; i <= i1; ++i) {
        const double t = static_cast<double>(i) * step;
        if (lo <= t && t <= hi) {
            if (j + 1 >= kMeshEntries) return refused;  // room for this tick and the one above
            ++j;
            mesh.entry[static_cast<std::size_t>(j)] = r * i;
        }
    }
    if (j < 2) return refused;

    mesh.exponent = static_cast<std::int32_t>(m) - mesh.shift;
    mesh.entry[1] = mesh.entry[2] - r;
    mesh.entry[static_cast<std::size_t>(j) + 1] = mesh.entry[static_cast<std::size_t>(j)] + r;
    mesh.count = j + 1;
    return mesh;
}

void reportMeshFailure(MessageBoxes& messages) {
    messages.inform(kErrorCaption, kMeshFailureText);
}

}  // namespace varnex
