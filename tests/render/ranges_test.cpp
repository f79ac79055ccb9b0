#include "render/ranges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "document/model.h"
#include "render/output/drawing.h"
#include "render/page_renderer.h"
#include "support/data_sets.h"
#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

constexpr GraphParams kLines{1, 0, 0, 0};
constexpr GraphParams kMarkers{0, 0, 1, 0};
constexpr GraphParams kHidden{0, 0, 0, 0};

class RangesTest : public ::testing::Test {
protected:
    Document doc;

    void SetUp() override {
        doc.xmin = 0;
        doc.xmax = 10;
        doc.ymin = 0;
        doc.ymax = 10;
    }
    void addSet(const std::vector<double>& xs, const std::vector<double>& ys, GraphParams params = kLines) {
        DataSet& set = doc.sets[static_cast<std::size_t>(++doc.data)];
        set = testing::dataSetOf(xs, ys);
        set.params = params;
    }
    std::vector<double> limits() const { return {doc.xmin, doc.xmax, doc.ymin, doc.ymax}; }
};

TEST_F(RangesTest, MinAndMaxCopyTheDataExtentOfOneAxis) {
    doc.dataxmin = -2;
    doc.dataxmax = 8;
    doc.dataymin = 3;
    doc.dataymax = 3;  // one value: nothing could be drawn in a range of no width
    EXPECT_TRUE(rangeToDataExtent(doc, Axis::X));
    EXPECT_EQ(limits(), (std::vector<double>{-2, 8, 0, 10}));
    EXPECT_FALSE(rangeToDataExtent(doc, Axis::X));  // already there
    EXPECT_FALSE(rangeToDataExtent(doc, Axis::Y));
    EXPECT_EQ(limits(), (std::vector<double>{-2, 8, 0, 10}));
    doc.dataymax = 7;
    EXPECT_TRUE(rangeToDataExtent(doc, Axis::Y));
    EXPECT_EQ(limits(), (std::vector<double>{-2, 8, 3, 7}));
}

// On a logarithmic axis only the values the axis can show count, over every set (hidden ones too);
// without two distinct such values the range stays.
TEST_F(RangesTest, MinAndMaxOnALogarithmicAxisTakeTheValuesItCanShow) {
    struct Case {
        const char* what;
        int type;
        std::vector<double> first, second;  // the x values of two sets
        double lo, hi;                      // the x range afterwards
        bool changed;
    };
    const Case cases[] = {
        {"linear: the stored extent", 0, {-5, 0, 0.1}, {1000}, -5, 1000, true},
        {"log: zero and negatives left out", 1, {-5, 0, 0.1}, {1000}, 0.1, 1000, true},
        {"negative log: the negative ones", -1, {-5, -0.01, 0}, {3}, -5, -0.01, true},
        {"log without a positive value", 1, {-5, 0}, {-1}, 1, 10, false},
        {"log with one positive value", 1, {-5, 2}, {2}, 1, 10, false},
    };
    for (const Case& c : cases) {
        doc = Document();
        doc.xtype = static_cast<std::int8_t>(c.type);
        doc.xmin = 1;
        doc.xmax = 10;
        addSet(c.first, std::vector<double>(c.first.size(), 1));
        addSet(c.second, std::vector<double>(c.second.size(), 1), kHidden);
        const Extents e = extents(doc.loadedSets());
        doc.dataxmin = e.xmin;
        doc.dataxmax = e.xmax;
        EXPECT_EQ(rangeToDataExtent(doc, Axis::X), c.changed) << c.what;
        EXPECT_EQ(doc.xmin, c.lo) << c.what;
        EXPECT_EQ(doc.xmax, c.hi) << c.what;
    }
    // The y axis alike.
    doc = Document();
    doc.ytype = 1;
    addSet({1, 2, 3}, {-5, 0.5, 50});
    EXPECT_TRUE(rangeToDataExtent(doc, Axis::Y));
    EXPECT_EQ(limits(), (std::vector<double>{0, 1, 0.5, 50}));
}

TEST_F(RangesTest, AutomaticRangeCountsTheShownPointsInsideTheOtherRange) {
    addSet({1, 2, 3, 20}, {10, 30, 20, 1000});  // x = 20 lies outside the x range
    addSet({5}, {50}, kMarkers);
    addSet({4}, {-500}, kHidden);  // draws nothing
    ASSERT_TRUE(automaticRange(doc, Axis::Y));
    EXPECT_DOUBLE_EQ(doc.ymin, 10 - 2);  // 5 % of 40 on each side
    EXPECT_DOUBLE_EQ(doc.ymax, 50 + 2);
    EXPECT_EQ(doc.xmin, 0);
    EXPECT_EQ(doc.xmax, 10);

    // The x routine selects by the (new) y range: x = 20 has y = 1000 > 52 and stays out.
    ASSERT_TRUE(automaticRange(doc, Axis::X));
    EXPECT_DOUBLE_EQ(doc.xmin, 1 - 0.2);
    EXPECT_DOUBLE_EQ(doc.xmax, 5 + 0.2);
}

TEST_F(RangesTest, AutomaticRangeOnLogarithmicAxesTakesTheMarginInDecades) {
    addSet({1, 2, 3}, {1, 10, 1000});
    addSet({4, 5}, {0, -3});  // no place on a log axis of positive values
    doc.ytype = 1;
    ASSERT_TRUE(automaticRange(doc, Axis::Y));
    EXPECT_NEAR(doc.ymin, std::pow(10.0, -0.15), 1e-12);
    EXPECT_NEAR(doc.ymax, std::pow(10.0, 3.15), 1e-9);

    Document negative;
    negative.xmin = 0;
    negative.xmax = 10;
    negative.ytype = -1;
    negative.sets[1] = testing::dataSetOf({1, 2}, {-1000, -0.1});
    negative.data = 1;
    ASSERT_TRUE(automaticRange(negative, Axis::Y));
    EXPECT_NEAR(negative.ymin, -std::pow(10.0, 3.2), 1e-9);
    EXPECT_NEAR(negative.ymax, -std::pow(10.0, -1.2), 1e-12);
}

TEST_F(RangesTest, AutomaticRangeLeavesTheRangeWithoutTwoDistinctValues) {
    struct Case {
        const char* name;
        std::vector<double> xs, ys;
        GraphParams params;
    };
    const std::vector<Case> cases = {
        {"every set hidden", {1, 2}, {3, 4}, kHidden},
        {"one point", {1}, {3}, kLines},
        {"equal values", {1, 2, 3}, {3, 3, 3}, kLines},
        {"no point in the x range", {-1, 11}, {3, 4}, kLines},
    };
    for (const Case& c : cases) {
        Document d;
        d.xmin = 0;
        d.xmax = 10;
        d.ymin = -7;
        d.ymax = 7;
        d.sets[1] = testing::dataSetOf(c.xs, c.ys);
        d.sets[1].params = c.params;
        d.data = 1;
        EXPECT_FALSE(automaticRange(d, Axis::Y)) << c.name;
        EXPECT_EQ(d.ymin, -7) << c.name;
        EXPECT_EQ(d.ymax, 7) << c.name;
    }
    Document empty;
    EXPECT_FALSE(automaticRange(empty, Axis::X));
    EXPECT_EQ(empty.xmin, 0);
    EXPECT_EQ(empty.xmax, 1);
}

TEST_F(RangesTest, AutomaticRangeOfExtremeValuesStaysFinite) {
    addSet({1, 2}, {-1.7e308, 1.7e308});
    EXPECT_TRUE(automaticRange(doc, Axis::Y));  // the margin would pass the largest double: held there
    EXPECT_EQ(doc.ymin, -std::numeric_limits<double>::max());
    EXPECT_EQ(doc.ymax, std::numeric_limits<double>::max());
    Document wide;
    wide.xmin = 0;
    wide.xmax = 10;
    wide.sets[1] = testing::dataSetOf({1, 2}, {-1e307, 1e307});
    wide.data = 1;
    ASSERT_TRUE(automaticRange(wide, Axis::Y));
    EXPECT_DOUBLE_EQ(wide.ymax, 1.1e307);
}

TEST_F(RangesTest, PositionCommandsPlaceTheEndsWithoutCheckingTheirOrder) {
    struct Case {
        int offset;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {0, {0, 10, 0, 10}},  {1, {12, 10, 0, 10}}, {2, {0, 12, 0, 10}}, {3, {0, 10, -4, 10}},
        {4, {0, 10, 0, -4}}, {5, {12, 10, -4, 10}}, {6, {0, 12, 0, -4}}, {7, {0, 10, 0, 10}},
    };
    for (const Case& c : cases) {
        SetUp();
        EXPECT_EQ(placeRangeEnds(doc, c.offset, 12, -4), c.offset >= 1 && c.offset <= 6) << c.offset;
        EXPECT_EQ(limits(), c.expected) << c.offset;
    }
}

class ConstantWidthMeasurer : public TextMeasurer {
public:
    double textWidth(std::string_view text, std::int32_t height, std::string_view) const override {
        return static_cast<double>(text.size()) * height / 2.0;
    }
};

// A range that a position command reversed is drawn: mirrored curves and frame, one mesh message per
// linear axis and drawing, and nothing else.
TEST_F(RangesTest, ReversedRangesAreDrawn) {
    struct Case {
        const char* name;
        int xtype, ytype;
        double xmin, xmax, ymin, ymax;
        std::size_t messages;
    };
    const Case cases[] = {
        {"linear", 0, 0, 10, 0, 10, 0, 2},
        {"equal limits", 0, 0, 5, 5, 5, 5, 2},
        {"logarithmic", 1, 1, 100, 1, 1000, 0.1, 0},
        {"negative logarithmic", -1, 0, -0.1, -100, 5, -5, 1},
    };
    for (const Case& c : cases) {
        Document d;
        // Abscissae of the axis's sign, increasing, so that the spline has something to draw.
        const bool negative = c.xtype == -1;
        d.sets[1] = negative ? testing::dataSetOf({-50, -7, -2, -0.5}, {-2, 2, 3, 400})
                             : testing::dataSetOf({0.5, 2, 7, 50}, {-2, 2, 3, 400});
        d.sets[1].params = {2, 1, 1, 2};  // spline, dotted, triangles
        d.sets[2] = negative ? testing::dataSetOf({-4, -3}, {5, 6}) : testing::dataSetOf({3, 4}, {5, 6});
        d.data = 2;
        d.xtype = static_cast<std::int8_t>(c.xtype);
        d.ytype = static_cast<std::int8_t>(c.ytype);
        d.xmin = c.xmin;
        d.xmax = c.xmax;
        d.ymin = c.ymin;
        d.ymax = c.ymax;
        d.graphwidth = d.framewidth = 0.3;
        d.markersize = 1;
        testing::RecordingMessageBoxes messages;
        const ConstantWidthMeasurer measurer;
        const Picture picture = recordPicture(d, measurer, messages);
        EXPECT_FALSE(picture.empty()) << c.name;
        EXPECT_EQ(messages.messages().size(), c.messages) << c.name;
        for (const auto& m : messages.messages()) EXPECT_EQ(m.text, "Can not make axis mesh.") << c.name;
        // The frame is the last thing drawn, at its usual place whatever the range.
        EXPECT_NE(picture.dump().find("line 4750 3750\nline 4750 250\nline 1250 250\nline 1250 3750\n"),
                  std::string::npos)
            << c.name;
    }
}

// Data reaching the largest doubles: the automatic limits of a load and of the Auto commands stay
// finite and hold the data, and the graph is drawn with both meshes, every point on the page.
TEST(HugeValuesTest, RangesStayFiniteAndTheGraphIsDrawn) {
    constexpr double kMax = std::numeric_limits<double>::max();
    struct Case {
        const char* name;
        std::vector<double> xs, ys;
    };
    const Case cases[] = {
        {"+-1e308", {-1e308, 0, 1e308}, {-1e308, 0, 1e308}},
        {"+-max", {-kMax, kMax}, {-kMax, kMax}},
        {"0 to max", {0, kMax}, {kMax, 0}},
        {"-max to 0", {-kMax, -1}, {-2, 0}},
        {"near max", {1e307, kMax}, {1, 2}},
        {"x only", {-1e308, 1e308}, {1, 2}},
    };
    for (const Case& c : cases) {
        Document d;
        d.sets[1] = testing::dataSetOf(c.xs, c.ys);
        d.sets[1].params = {1, 0, 1, 0};  // lines and squares
        d.data = 1;
        d.graphwidth = d.framewidth = 0.3;
        d.markersize = 1;
        const Extents e = extents(d.loadedSets());
        d.autoRange(e);
        d.normalise();
        const auto expectHolds = [&](const char* when) {
            for (double limit : {d.xmin, d.xmax, d.ymin, d.ymax}) EXPECT_TRUE(std::isfinite(limit)) << c.name << when;
            EXPECT_LE(d.xmin, e.xmin) << c.name << when;
            EXPECT_GE(d.xmax, e.xmax) << c.name << when;
            EXPECT_LE(d.ymin, e.ymin) << c.name << when;
            EXPECT_GE(d.ymax, e.ymax) << c.name << when;
            EXPECT_GT(d.xmax, d.xmin) << c.name << when;
            EXPECT_GT(d.ymax, d.ymin) << c.name << when;
        };
        expectHolds(" (load)");
        automaticRange(d, Axis::X);
        automaticRange(d, Axis::Y);
        expectHolds(" (Auto)");

        testing::RecordingMessageBoxes messages;
        const ConstantWidthMeasurer measurer;
        const Picture picture = recordPicture(d, measurer, messages);
        EXPECT_TRUE(messages.messages().empty()) << c.name << ": " << messages.messages().front().text;
        int texts = 0;
        for (const Picture::Op& op : picture.ops()) {
            if (op.kind == Picture::Kind::Text) ++texts;
            if (op.kind != Picture::Kind::Move && op.kind != Picture::Kind::Line && op.kind != Picture::Kind::Ellipse &&
                op.kind != Picture::Kind::Rect) {
                continue;
            }
            for (std::int32_t v : {op.a, op.b}) {
                EXPECT_GE(v, -2500) << c.name;
                EXPECT_LE(v, 7500) << c.name;
            }
        }
        EXPECT_GE(texts, 2 + 2 * 3) << c.name;  // the two titles and at least three labels an axis
    }
}

}  // namespace
}  // namespace varnex
