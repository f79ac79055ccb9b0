#include "render/labels.h"

#include <gtest/gtest.h>

#include <limits>

namespace varnex {
namespace {

TEST(LabelsTest, DecimalLabelsAreExact) {
    const struct {
        std::int64_t value;
        int exponent;
        const char* text;
    } cases[] = {
        {0, 0, "0"},         {0, -1, "0.0"},    {0, -2, "0.00"},   {15, -1, "1.5"},
        {5, -2, "0.05"},     {10, -1, "1.0"},   {-25, -1, "-2.5"}, {-5, -3, "-0.005"},
        {2, 2, "200"},       {12, 0, "12"},     {-12, 0, "-12"},   {123, -3, "0.123"},
        {1234, -3, "1.234"}, {-10, -1, "-1.0"}, {50, -2, "0.50"},  {4900000010, -9, "4.900000010"},
        {0, 2, "0"},  // the zero tick of an axis stepping by hundreds, never "000"
    };
    for (const auto& c : cases)
        EXPECT_EQ(decimalLabel(c.value, c.exponent), c.text) << c.value << "e" << c.exponent;
}

TEST(LabelsTest, ExtremeArgumentsStayBounded) {
    EXPECT_EQ(decimalLabel(std::numeric_limits<std::int64_t>::min(), 0), "-9223372036854775808");
    EXPECT_EQ(decimalLabel(1, 1'000'000).size(), 401U);
    EXPECT_EQ(decimalLabel(1, -1'000'000).size(), 402U);
}

TEST(LabelsTest, IntegerTexts) {
    EXPECT_EQ(integerText(0), "0");
    EXPECT_EQ(integerText(-3), "-3");
    EXPECT_EQ(integerText(309), "309");
}

TEST(LabelsTest, DecadeLabels) {
    const struct {
        int q, type;
        const char* base;
        const char* exponent;
    } cases[] = {
        {-2, 1, "10", "-2"}, {0, 1, "10", "0"}, {3, 1, "10", "3"}, {-2, -1, "-10", "2"}, {1, -1, "-10", "-1"},
    };
    for (const auto& c : cases) {
        const DecadeLabel label = decadeLabel(c.q, c.type);
        EXPECT_EQ(label.base, c.base);
        EXPECT_EQ(label.exponent, c.exponent);
    }
}

}  // namespace
}  // namespace varnex
