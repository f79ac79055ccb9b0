// The axis mesh: the major tick values of a linear axis as integers times a power of ten.
//
// The step is 1, 2, 5 or 10 times a power of ten chosen from the wanted number of intervals; the
// entries are the ticks inside [lo, hi] in ascending order with one extra entry a step beyond each end
// (for the minor ticks). A common power of ten (a multiple of 3) is taken out of the labels of very
// small or very large numbers. Holding ticks as integers keeps the labels (render/labels.h) exact.
// Logarithmic axes do not use the mesh.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace varnex {

class MessageBoxes;

// The message of a failed mesh, shown with kErrorCaption by reportMeshFailure.
inline constexpr std::string_view kMeshFailureText = "Can not make axis mesh.";

// Entries 1..kMeshEntries may be used; a mesh of 5 intervals never uses more than 13.
inline constexpr int kMeshEntries = 20;

struct Mesh {
    std::int32_t count = 0;     // index of the last entry in use; 0: no mesh (the range was refused)
    std::int32_t exponent = 0;  // power of ten of the entry values in the labels
    std::int32_t shift = 0;     // power of ten taken out of the labels, a multiple of 3; 0 for none
    std::int32_t minor = 5;     // minor intervals in one major step, 4 or 5
    // Entry k (1..count) stands for entry[k] × 10^(exponent + shift). Element 0 is not used.
    // 64-bit: a range just above the smallest accepted relative width needs up to ten digits.
    std::array<std::int64_t, kMeshEntries + 1> entry{};

    bool empty() const { return count == 0; }
    // entry[k] × 10^(exponent + shift), with the power from integerPower. REQUIRES: 1 <= k <= count
    double value(int k) const;
};

// Fills a mesh of about `intervals` steps over [lo, hi] (the axis drawing asks for 5). The range is
// refused (an empty mesh: count 0, shift 0) when (hi − lo) / max(|lo|, |hi|) is below 1e−8 (also when
// hi <= lo or both are 0), when a limit is not finite, when the step would be below the smallest
// normal double, or when the ticks would not fit the entries. Limits further apart than the largest
// double are accepted; the entry a step beyond such a limit may then be infinite. Pure: shows
// nothing; the caller reports a refusal with reportMeshFailure, once per axis and drawing.
Mesh makeMesh(int intervals, double lo, double hi);

// The information box "Can not make axis mesh." with the error caption.
void reportMeshFailure(MessageBoxes& messages);

// base^k by square-and-multiply over the bits of |k| (the reciprocal for k < 0), so that a power of
// ten is the same double wherever it is used.
double integerPower(double base, int k);

}  // namespace varnex
