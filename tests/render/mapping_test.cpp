#include "render/mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace varnex {
namespace {

DocumentHead axes(int xtype, double xmin, double xmax, int ytype, double ymin, double ymax) {
    DocumentHead doc;
    doc.xtype = static_cast<std::int8_t>(xtype);
    doc.ytype = static_cast<std::int8_t>(ytype);
    doc.txmin = scale(xmin, xtype);
    doc.txmax = scale(xmax, xtype);
    doc.tymin = scale(ymin, ytype);
    doc.tymax = scale(ymax, ytype);
    return doc;
}

TEST(ScaleTest, TransformsAndInverts) {
    struct Case {
        double value;
        int type;
        double scaled;
    };
    const Case cases[] = {
        {3.5, 0, 3.5},   {-2, 0, -2}, {1000, 1, 3},  {0.01, 1, -2}, {0, 1, -100}, {-5, 1, -100},
        {-1000, -1, -3}, {-1, -1, 0}, {-0.1, -1, 1}, {0, -1, 100},  {7, -1, 100}, {42, 5, 42},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(scale(c.value, c.type), c.scaled) << c.value << " type " << c.type;
    }
    EXPECT_EQ(unscale(0, 0), 0);
    EXPECT_EQ(unscale(0, 1), 1);
    EXPECT_EQ(unscale(0, -1), -1);
    EXPECT_DOUBLE_EQ(unscale(-2, -1), -100);
    EXPECT_DOUBLE_EQ(unscale(2, 1), 100);
    for (double v : {0.003, 1.0, 250.0}) EXPECT_NEAR(unscale(scale(v, 1), 1), v, 1e-12 * v);
    for (double v : {-0.003, -1.0, -250.0}) EXPECT_NEAR(unscale(scale(v, -1), -1), v, 1e-12 * -v);
}

TEST(PageMappingTest, LinearAndLogarithmicAxes) {
    const DocumentHead linear = axes(0, -1, 1, 0, 10, 20);
    EXPECT_DOUBLE_EQ(pageX(linear, -1), 25);
    EXPECT_DOUBLE_EQ(pageX(linear, 0), 60);
    EXPECT_DOUBLE_EQ(pageY(linear, 20), 95);
    EXPECT_DOUBLE_EQ(pageX(linear, 3), 165);  // no clamping
    EXPECT_DOUBLE_EQ(pageY(linear, 0), -45);

    const DocumentHead log = axes(1, 1, 1000, -1, -1000, -1);
    EXPECT_NEAR(pageX(log, scale(10, 1)), 25 + 70.0 / 3, 1e-12);
    EXPECT_NEAR(pageY(log, scale(-10, -1)), 25 + 70.0 * 2 / 3, 1e-12);
    EXPECT_LT(pageX(log, scale(-3, 1)), 25);  // the wrong sign lands outside the frame
    EXPECT_GT(pageY(log, scale(3, -1)), 95);
}

TEST(PageMappingTest, InverseReadsTheDataBack) {
    DocumentHead doc = axes(1, 1, 1000, 0, -5, 5);
    doc.area = {60, 95, 25, 95};
    EXPECT_NEAR(dataX(doc, pageX(doc, scale(42, 1))), 42, 1e-12);
    EXPECT_NEAR(dataY(doc, pageY(doc, 2.5)), 2.5, 1e-12);
    EXPECT_DOUBLE_EQ(dataX(doc, 60), 1);
    EXPECT_DOUBLE_EQ(dataY(doc, 95), 5);
    doc.area = {95, 95, 25, 95};  // a frame of no width reads as its left edge
    EXPECT_DOUBLE_EQ(dataX(doc, 95), 1);
}

// Limits further apart than the largest double map and read back like any others.
TEST(PageMappingTest, LimitsWiderThanTheDoublesStayFinite) {
    constexpr double kMax = std::numeric_limits<double>::max();
    for (const double limit : {kMax, 1e308, 9e307}) {
        const DocumentHead doc = axes(0, -limit, limit, 0, -limit, limit);
        EXPECT_DOUBLE_EQ(pageX(doc, -limit), 25) << limit;
        EXPECT_DOUBLE_EQ(pageX(doc, 0), 60) << limit;
        EXPECT_DOUBLE_EQ(pageY(doc, limit), 95) << limit;
        EXPECT_DOUBLE_EQ(pageY(doc, limit / 2), 77.5) << limit;
        EXPECT_EQ(dataX(doc, 60), 0) << limit;
        EXPECT_DOUBLE_EQ(dataX(doc, 95), limit) << limit;
        EXPECT_DOUBLE_EQ(dataY(doc, 25), -limit) << limit;
        EXPECT_NEAR(dataY(doc, 77.5), limit / 2, limit * 1e-15) << limit;
    }
}

TEST(LogicalTest, ConvertsByTruncation) {
    EXPECT_EQ(toLogical(25, 95), (LogicalPoint{1250, 250}));
    EXPECT_EQ(toLogical(0, 0), (LogicalPoint{0, 5000}));
    EXPECT_EQ(toLogical(100, 100), (LogicalPoint{5000, 0}));
    EXPECT_EQ(toLogical(0.039, 99.99), (LogicalPoint{1, 0}));      // 1.95 and 0.5 cut down
    EXPECT_EQ(toLogical(-0.039, 100.03), (LogicalPoint{-1, -1}));  // toward zero
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(toLogical(1e300, 1e300), (LogicalPoint{kMax, kMin}));
    EXPECT_EQ(toLogical(-INFINITY, -1e20), (LogicalPoint{kMin, kMax}));
}

TEST(LogicalTest, DegenerateAxisLandsOffThePage) {
    // Type -1 with two positive limits: both transform to +100, so no value has a place on the axis.
    const DocumentHead doc = axes(-1, 1, 2, 0, 0, 1);
    const LogicalPoint p = toLogical(pageX(doc, scale(1.5, -1)), pageY(doc, 0.5));
    EXPECT_EQ(p.x, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(p.y, 2000);
}

TEST(CursorReadoutTest, InsideTheFrameIncludingItsEdges) {
    DocumentHead doc = axes(0, 0, 10, 0, -1, 1);
    doc.data = 1;
    doc.area = {60, 95, 25, 95};
    struct Case {
        double px, py;
        bool inside;
        double x, y;
    };
    const Case cases[] = {
        {60, 25, true, 0, -1},       {95, 95, true, 10, 1},        {77.5, 60, true, 5, 0},
        {59.999, 60, false, 0, 0},   {95.001, 60, false, 0, 0},    {70, 24.999, false, 0, 0},
        {70, 95.001, false, 0, 0},
    };
    for (const Case& c : cases) {
        const std::optional<CursorValue> v = readCursor(doc, {c.px, c.py});
        ASSERT_EQ(v.has_value(), c.inside) << c.px << " " << c.py;
        if (!c.inside) continue;
        EXPECT_NEAR(v->x, c.x, 1e-12);
        EXPECT_NEAR(v->y, c.y, 1e-12);
    }
    doc.data = 0;  // an empty Document reads nothing anywhere
    EXPECT_FALSE(readCursor(doc, {77.5, 60}).has_value());
}

TEST(CursorReadoutTest, LogicalPointsReadBackTheValuesDrawnThere) {
    DocumentHead doc = axes(0, -3, 7, 1, 0.01, 100);
    doc.data = 1;
    for (const auto& [x, y] : {std::pair{-3.0, 0.01}, {2.5, 1.0}, {6.99, 42.0}}) {
        const LogicalPoint drawn = toLogical(pageX(doc, scale(x, 0)), pageY(doc, scale(y, 1)));
        const std::optional<CursorValue> v = readCursor(doc, pageOfLogical(drawn.x, drawn.y));
        ASSERT_TRUE(v.has_value()) << x << " " << y;
        // Truncation to whole logical units moves a point by less than one unit: 10 / 3500 in x and
        // four decades / 3500 in y.
        EXPECT_NEAR(v->x, x, 10.0 / 3500);
        EXPECT_NEAR(std::log10(v->y), std::log10(y), 4.0 / 3500);
    }
    const PagePosition corner = pageOfLogical(1250, 250);
    EXPECT_DOUBLE_EQ(corner.x, 25);
    EXPECT_DOUBLE_EQ(corner.y, 95);
}

}  // namespace
}  // namespace varnex
