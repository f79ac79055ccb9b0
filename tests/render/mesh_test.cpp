#include "render/mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "render/labels.h"
#include "support/recording_message_boxes.h"
#include "util/message_boxes.h"
#include "util/numbers.h"

namespace varnex {
namespace {

std::vector<std::int64_t> entriesOf(const Mesh& mesh) {
    std::vector<std::int64_t> entries;
    for (int k = 1; k <= mesh.count; ++k) entries.push_back(mesh.entry[static_cast<std::size_t>(k)]);
    return entries;
}

std::vector<std::string> labelsOf(const Mesh& mesh) {
    std::vector<std::string> labels;
    for (int k = 2; k < mesh.count; ++k) labels.push_back(tickLabel(mesh, k));
    return labels;
}

struct MeshCase {
    const char* name;
    double lo, hi;
    std::vector<std::int64_t> entries;  // 1..count, the outer two included
    int exponent, shift, minor;
    std::vector<std::string> labels;  // entries 2..count-1
};

void PrintTo(const MeshCase& c, std::ostream* out) {
    *out << c.name;
}

class MeshExamples : public ::testing::TestWithParam<MeshCase> {};

TEST_P(MeshExamples, EntriesExponentShiftAndLabels) {
    const MeshCase& c = GetParam();
    const Mesh mesh = makeMesh(5, c.lo, c.hi);
    EXPECT_EQ(entriesOf(mesh), c.entries);
    EXPECT_EQ(mesh.exponent, c.exponent);
    EXPECT_EQ(mesh.shift, c.shift);
    EXPECT_EQ(mesh.minor, c.minor);
    EXPECT_EQ(labelsOf(mesh), c.labels);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Linear, MeshExamples,
    ::testing::Values(
        MeshCase{"ZeroToTen", 0, 10, {-2, 0, 2, 4, 6, 8, 10, 12}, 0, 0, 4, {"0", "2", "4", "6", "8", "10"}},
        MeshCase{"ZeroToOne", 0, 1, {-2, 0, 2, 4, 6, 8, 10, 12}, -1, 0, 4,
                 {"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}},
        MeshCase{"NineTenthsRoundsUpToTen", 0, 4.5, {-10, 0, 10, 20, 30, 40, 50}, -1, 0, 5,
                 {"0.0", "1.0", "2.0", "3.0", "4.0"}},
        MeshCase{"ExactPowerStepOneDecadeLower", 0, 0.5, {-10, 0, 10, 20, 30, 40, 50, 60}, -2, 0, 5,
                 {"0.00", "0.10", "0.20", "0.30", "0.40", "0.50"}},
        MeshCase{"ThousandsTakeOutFactor", 0, 5000, {-1, 0, 1, 2, 3, 4, 5, 6}, 0, 3, 5,
                 {"0", "1", "2", "3", "4", "5"}},
        MeshCase{"ThousandthsTakeOutFactor", 0, 0.005, {-10, 0, 10, 20, 30, 40, 50, 60}, -1, -3, 5,
                 {"0.0", "1.0", "2.0", "3.0", "4.0", "5.0"}},
        MeshCase{"AroundZero", -1, 1, {-15, -10, -5, 0, 5, 10, 15}, -1, 0, 5,
                 {"-1.0", "-0.5", "0.0", "0.5", "1.0"}},
        MeshCase{"NegativeThousands", -5000, -1000, {-60, -50, -40, -30, -20, -10, 0}, -1, 3, 5,
                 {"-5.0", "-4.0", "-3.0", "-2.0", "-1.0"}},
        MeshCase{"UnalignedLimits", 0.13, 0.87, {1, 2, 3, 4, 5, 6, 7, 8, 9}, -1, 0, 5,
                 {"0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8"}},
        MeshCase{"StepOfTwoHundredths", -0.05, 0.07, {-6, -4, -2, 0, 2, 4, 6, 8}, -2, 0, 4,
                 {"-0.04", "-0.02", "0.00", "0.02", "0.04", "0.06"}},
        MeshCase{"Millions", 1e6, 3e6, {5, 10, 15, 20, 25, 30, 35}, -1, 6, 5,
                 {"1.0", "1.5", "2.0", "2.5", "3.0"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(MeshTest, ValuesAreEntriesTimesPowerOfTen) {
    const Mesh mesh = makeMesh(5, 0, 0.005);
    EXPECT_DOUBLE_EQ(mesh.value(2), 0);
    EXPECT_DOUBLE_EQ(mesh.value(3), 0.001);
    EXPECT_DOUBLE_EQ(mesh.value(mesh.count), 0.006);
    EXPECT_EQ(mesh.value(3), 10 * integerPower(10, -4));
}

TEST(MeshTest, IntegerPowerBySquaring) {
    EXPECT_EQ(integerPower(10, 0), 1);
    EXPECT_EQ(integerPower(10, 3), 1000);
    EXPECT_EQ(integerPower(10, -2), 1 / 100.0);
    EXPECT_EQ(integerPower(2, -3), 0.125);
    EXPECT_EQ(integerPower(10, 308), integerPower(10, 256) * integerPower(10, 52));
    EXPECT_TRUE(std::isinf(integerPower(10, 309)));
    EXPECT_EQ(integerPower(10, std::numeric_limits<int>::min()), 0);  // no overflow of -k
}

TEST(MeshTest, RefusedRangesGiveAnEmptyMesh) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double lo, hi;
    } cases[] = {
        {1, 1 + 1e-9},  // relative width 1e-9
        {0, 0},         // 0 / 0
        {5, 5},
        {2, 1},  // reversed
        {1e15, 1e15 + 1},
        {0, inf},
        {nan, 1},
        {0, nan},
        {0, 1e-310},  // the step would be subnormal
        {0, std::numeric_limits<double>::denorm_min()},
        {-1e-320, 1e-320},
    };
    for (const auto& c : cases) {
        const Mesh mesh = makeMesh(5, c.lo, c.hi);
        EXPECT_TRUE(mesh.empty()) << c.lo << " " << c.hi;
        EXPECT_EQ(mesh.shift, 0) << c.lo << " " << c.hi;
    }
    EXPECT_TRUE(makeMesh(0, 0, 1).empty());
}

TEST(MeshTest, FailureIsReportedAsErrorInformation) {
    testing::RecordingMessageBoxes messages;
    reportMeshFailure(messages);
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(messages.messages()[0].kind, "inform");
    EXPECT_EQ(messages.messages()[0].caption, "VarnexWin32 3.26c Error");
    EXPECT_EQ(messages.messages()[0].text, "Can not make axis mesh.");
}

// Every accepted mesh: at most 13 entries, evenly spaced, ticks 2..count-1 inside the range and the
// outer two outside, and labels that read back as the tick values.
void expectSoundMesh(const Mesh& mesh, double lo, double hi) {
    ASSERT_GE(mesh.count, 3) << lo << " " << hi;
    ASSERT_LE(mesh.count, 13) << lo << " " << hi;
    const std::int64_t r = mesh.entry[2] - mesh.entry[1];
    EXPECT_TRUE(r == 1 || r == 2 || r == 5 || r == 10) << lo << " " << hi;
    EXPECT_EQ(mesh.minor, r == 2 ? 4 : 5);
    EXPECT_EQ(mesh.shift % 3, 0);
    for (int k = 2; k <= mesh.count; ++k) EXPECT_EQ(mesh.entry[k] - mesh.entry[k - 1], r) << lo << " " << hi;
    const double tolerance = (hi - lo) * 1e-9;
    for (int k = 2; k < mesh.count; ++k) {
        EXPECT_GE(mesh.value(k), lo - tolerance) << lo << " " << hi;
        EXPECT_LE(mesh.value(k), hi + tolerance) << lo << " " << hi;
        const double read = parseLeadingNumber(tickLabel(mesh, k)) * std::pow(10.0, mesh.shift);
        EXPECT_NEAR(read, mesh.value(k), std::fabs(mesh.value(k)) * 1e-12 + tolerance) << tickLabel(mesh, k);
    }
    EXPECT_LT(mesh.value(1), lo);
    if (std::isfinite(mesh.value(mesh.count))) {
        EXPECT_GT(mesh.value(mesh.count), hi);
    }
}

TEST(MeshTest, SweepOfRangesGivesSoundMeshes) {
    const double widths[] = {1, 1.5, 2, 2.5, 3, 3.7, 4, 4.5, 5, 6, 7.5, 9, 9.99};
    for (int decade = -12; decade <= 12; decade += 3) {
        for (double w : widths) {
            const double width = w * std::pow(10.0, decade);
            for (double start : {0.0, -width, -width / 2, 0.37 * width, 3 * width, -7.2 * width}) {
                expectSoundMesh(makeMesh(5, start, start + width), start, start + width);
            }
        }
    }
}

TEST(MeshTest, ExtremeRangesTerminateWithinTheEntries) {
    const double big = std::numeric_limits<double>::max();
    const struct {
        double lo, hi;
    } cases[] = {
        {0, big},    {-big, 0},         {1e300, 1e301}, {-1e307, 1e307}, {1e-300, 2e-300},
        {0, 5e-305}, {-3e-306, 4e-306}, {1e-3, 1e3},    {-1e-8, 1e-8},   {123456789, 123456792},
        {-big, big}, {-1e308, 1e308},  // wider than the largest double
    };
    for (const auto& c : cases) {
        const Mesh mesh = makeMesh(5, c.lo, c.hi);
        ASSERT_FALSE(mesh.empty()) << c.lo << " " << c.hi;
        EXPECT_LE(mesh.count, 13) << c.lo << " " << c.hi;
        for (int k = 2; k < mesh.count; ++k) EXPECT_TRUE(std::isfinite(mesh.value(k)));
    }
}

TEST(MeshTest, NarrowRangeFarFromZeroNeedsMoreThan32Bits) {
    // Relative width 1.01e-8: accepted, step 1e-8, entries near 4.9e9.
    const double lo = 4.9, hi = 4.9 + 4.95e-8;
    const Mesh mesh = makeMesh(5, lo, hi);
    ASSERT_FALSE(mesh.empty());
    EXPECT_GT(mesh.entry[2], std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(mesh.exponent, -9);
    EXPECT_EQ(tickLabel(mesh, 2), "4.900000000");
    EXPECT_EQ(tickLabel(mesh, 3), "4.900000010");
    expectSoundMesh(mesh, lo, hi);
}

TEST(MeshTest, StepJustBelowAPowerOfTenIsNotZero) {
    // h = 999.9999999999999: log10 rounds to 3, so h / 10^3 is just below 1.
    const double hi = 5 * 999.9999999999999;
    const Mesh mesh = makeMesh(5, 0, hi);
    expectSoundMesh(mesh, 0, hi);
    EXPECT_EQ(mesh.shift, 3);
}

}  // namespace
}  // namespace varnex
