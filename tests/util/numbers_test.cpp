#include "util/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace varnex {
namespace {

struct ParseCase {
    const char* text;
    double value;
};

TEST(ParseLeadingNumberTest, ReadsTheLongestNumericPrefixLikeAtof) {
    const ParseCase cases[] = {
        {"1.5", 1.5},        {"+1.5", 1.5},     {"-1.5", -1.5},    {".5", 0.5},        {"-.5", -0.5},
        {"5.", 5.0},         {"1e3", 1000.0},   {"1e3x", 1000.0},  {"1E+3", 1000.0},   {"2.5e-3", 0.0025},
        {"1e", 1.0},         {"1e+", 1.0},      {"  \t\n12", 12.0}, {"12 34", 12.0},   {"3,5", 3.0},
        {"0x1A", 26.0},      {"0X1a", 26.0},    {"-0x10", -16.0},  {"0x", 0.0},        {"0xg", 0.0},
        {"0x1p3", 8.0},      {"", 0.0},         {"abc", 0.0},      {"-", 0.0},         {".", 0.0},
        {"e5", 0.0},         {"- 1", 0.0},      {"+-1", 0.0},      {"-+1", 0.0},       {"--1", 0.0},
        {"0x-1", 0.0},       {"0x+1", 0.0},     {"007", 7.0},      {"1.5\r\n", 1.5},
    };
    for (const ParseCase& c : cases) {
        EXPECT_DOUBLE_EQ(parseLeadingNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ParseLeadingNumberTest, ValuesThatAreNotFiniteReadAsZero) {
    for (const char* text : {"inf", "-inf", "INF", "infinity", "nan", "NaN", "-nan", "nan(1)", "1e999",
                             "-1e999", "0x1p99999"}) {
        EXPECT_EQ(parseLeadingNumber(text), 0.0) << text;
    }
}

TEST(ParseLeadingNumberTest, KeepsExtremeFiniteValues) {
    EXPECT_EQ(parseLeadingNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(parseLeadingNumber("-1e-300"), -1e-300);
}

TEST(ParseLeadingIntTest, ReadsDigitsLikeAtoiAndSaturates) {
    EXPECT_EQ(parseLeadingInt("42"), 42);
    EXPECT_EQ(parseLeadingInt("  -17x"), -17);
    EXPECT_EQ(parseLeadingInt("+8"), 8);
    EXPECT_EQ(parseLeadingInt("3.9"), 3);
    EXPECT_EQ(parseLeadingInt("x3"), 0);
    EXPECT_EQ(parseLeadingInt("+-3"), 0);
    EXPECT_EQ(parseLeadingInt(""), 0);
    EXPECT_EQ(parseLeadingInt("99999999999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(parseLeadingInt("-99999999999999999999"), std::numeric_limits<int>::min());
}

struct FormatCase {
    double value;
    int precision;
    const char* expected;  // printf "%.{precision}g" in the C locale
};

TEST(FormatGTest, MatchesPrintfG) {
    const FormatCase cases[] = {
        {0.0, 6, "0"},
        {-0.0, 6, "-0"},
        {1.0, 6, "1"},
        {-1.0, 6, "-1"},
        {1.5, 6, "1.5"},
        {0.1 + 0.2, 6, "0.3"},
        {100000.0, 6, "100000"},
        {999999.0, 6, "999999"},
        {999999.5, 6, "1e+06"},
        {1e6, 6, "1e+06"},
        {123456789.0, 6, "1.23457e+08"},
        {12345.678, 6, "12345.7"},
        {0.0001, 6, "0.0001"},
        {0.00001, 6, "1e-05"},
        {0.000123456789, 6, "0.000123457"},
        {-2.5e-5, 6, "-2.5e-05"},
        {1e-300, 6, "1e-300"},
        {1e100, 6, "1e+100"},
        {1.0 / 3, 6, "0.333333"},
        {6.02214076e23, 6, "6.02214e+23"},
        {4.9406564584124654e-324, 6, "4.94066e-324"},
        {1.7976931348623157e308, 6, "1.79769e+308"},
        {9.9999995, 6, "10"},
        {1.5, 1, "2"},
        {2.5, 1, "2"},
        {3.5, 1, "4"},
        {100000.0, 1, "1e+05"},
        {12345.678, 1, "1e+04"},
        {1.5, 0, "2"},
        {1.0 / 3, 10, "0.3333333333"},
        {999999.5, 10, "999999.5"},
        {0.1 + 0.2, 17, "0.30000000000000004"},
        {1e-5, 17, "1.0000000000000001e-05"},
        {-1.2345678901234567e-300, 60, "-1.23456789012345675670158163370173162777343645221233195581753e-300"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(formatG(c.value, c.precision), c.expected) << c.value << " precision " << c.precision;
    }
}

TEST(FormatFixedAndExponentTest, MatchPrintf) {
    EXPECT_EQ(formatFixed(2.0005, 3), "2.001");
    EXPECT_EQ(formatFixed(-1.5, 2, 8), "   -1.50");
    EXPECT_EQ(formatFixed(0.5, 0), "0");
    EXPECT_EQ(formatExponent(1.0 / 3, 16), "3.3333333333333331e-01");
    EXPECT_EQ(formatExponent(-123.456, 16, 24), " -1.2345600000000000e+02");
    EXPECT_EQ(formatExponent(15.0, 0), "2e+01");
    EXPECT_EQ(formatExponent(0.0, 6), "0.000000e+00");
}

TEST(FormatWidthTest, PadsLikePrintfFieldWidths) {
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {formatG(1.5, 6, -12), "1.5         "},               // "%-12g"
        {formatG(-2.5e-5, 6, -12), "-2.5e-05    "},
        {formatG(123456789.0, 6, -12), "1.23457e+08 "},
        {formatG(-1.23456e-300, 6, -12), "-1.23456e-300"},    // longer than the field: whole
        {formatG(200, 6, 6), "   200"},                       // "%6g"
        {formatExponent(-0.5, 16, 24), " -5.0000000000000000e-01"},  // "%24.16e"
        {formatExponent(2, 16, -24), "2.0000000000000000e+00  "},
        {formatFixed(1, 1, -5), "1.0  "},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
}

TEST(FormatFixedAndExponentTest, LongResultsAreComplete) {
    EXPECT_EQ(formatExponent(1e308, 100),
              "1.0000000000000000109790636294404554174049230967731184633681068290315758540491149153716332897849468890e+308");
    const std::string fixed = formatFixed(1e308, 100);
    EXPECT_EQ(fixed.size(), 309u + 1 + 100);
    EXPECT_EQ(fixed.substr(0, 18), "100000000000000001");
}

TEST(FormatShortestTest, ReadsBackExactly) {
    for (double value : {0.1, 1.0 / 3, 1e-300, 123456789.125, -2.5e17}) {
        EXPECT_EQ(parseLeadingNumber(formatShortest(value)), value);
    }
    EXPECT_EQ(formatShortest(0.1), "0.1");
}

TEST(TruncSaturatedTest, TruncatesTowardZeroAndSaturates) {
    constexpr std::int64_t kLo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHi = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(truncSaturated(2.9, kLo, kHi), 2);
    EXPECT_EQ(truncSaturated(-2.9, kLo, kHi), -2);
    EXPECT_EQ(truncSaturated(1e10, kLo, kHi), kHi);
    EXPECT_EQ(truncSaturated(-1e10, kLo, kHi), kLo);
    EXPECT_EQ(truncSaturated(std::nan(""), kLo, kHi), 0);
    EXPECT_EQ(truncSaturated(std::numeric_limits<double>::infinity(), kLo, kHi), kHi);
    EXPECT_EQ(truncSaturated(-std::numeric_limits<double>::infinity(), kLo, kHi), kLo);
    constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(truncSaturated(1e19, kMin64, kMax64), kMax64);
    EXPECT_EQ(truncSaturated(-1e19, kMin64, kMax64), kMin64);
    EXPECT_EQ(truncSaturated(9007199254740993.0, kMin64, kMax64), 9007199254740992);
}

}  // namespace
}  // namespace varnex
