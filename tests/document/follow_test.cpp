#include "document/follow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "document/line_reader.h"
#include "document/parameter_reader.h"
#include "document/parameter_writer.h"
#include "document/view_list.h"
#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(FollowTest, ShiftsOrKeepsTheRange) {
    struct Case {
        const char* what;
        XRange range;
        int xtype;
        double previousX, newestX;
        std::optional<XRange> expected;
    };
    const Case cases[] = {
        {"linear: width kept, newest at the right", {0, 10}, 0, 10, 12.5, XRange{2.5, 12.5}},
        {"linear: negative range", {-20, -10}, 0, -10, -5, XRange{-15, -5}},
        {"no point beyond the range", {0, 10}, 0, 5, 9, std::nullopt},
        {"newest on the right edge", {0, 10}, 0, 9, 10, std::nullopt},
        {"nothing new beyond what was there", {0, 10}, 0, 20, 20, std::nullopt},
        {"data shrank", {0, 10}, 0, 20, 15, std::nullopt},
        {"log: decades kept", {1, 100}, 1, 100, 1000, XRange{10, 1000}},
        {"log of negative values", {-100, -1}, -1, -1, -0.5, XRange{-50, -0.5}},
        {"log: newest of the wrong sign", {-100, -1}, -1, -2, 3, std::nullopt},
        {"log: a non-positive end", {0, 100}, 1, 100, 1000, std::nullopt},
        {"mirrored range stays", {10, 0}, 0, 10, 30, std::nullopt},
        {"empty range stays", {5, 5}, 0, 5, 30, std::nullopt},
        {"newest not finite", {0, 10}, 0, 10, kInf, std::nullopt},
        {"newest not a number", {0, 10}, 0, 10, kNaN, std::nullopt},
        {"width lost to rounding", {1e300, 1.0000000000000002e300}, 0, 1e300, 1e308, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<XRange> got = followedRange(c.range, c.xtype, c.previousX, c.newestX);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.what;
        if (got) {
            EXPECT_DOUBLE_EQ(got->xmin, c.expected->xmin) << c.what;
            EXPECT_DOUBLE_EQ(got->xmax, c.expected->xmax) << c.what;
        }
    }
}

// Whatever the range and the new point, a shift puts the newest point at the right edge, keeps the
// width (linear) or the ratio (log), and never mirrors the range.
TEST(FollowTest, ShiftKeepsWidthAndEndsAtTheNewestPoint) {
    std::mt19937_64 random(18);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    std::uniform_real_distribution<double> positive(1e-3, 1e6);
    for (int i = 0; i < 2000; ++i) {
        const bool log = i % 2 == 1;
        double a = log ? positive(random) : value(random);
        double b = log ? positive(random) : value(random);
        if (a > b) std::swap(a, b);
        const double newest = log ? positive(random) * 10 : value(random) * 2;
        const auto got = followedRange({a, b}, log ? 1 : 0, b, newest);
        if (!(newest > b) || a == b) {
            EXPECT_FALSE(got) << a << " " << b << " " << newest;
            continue;
        }
        ASSERT_TRUE(got) << a << " " << b << " " << newest;
        EXPECT_EQ(got->xmax, newest);
        EXPECT_LT(got->xmin, got->xmax);
        if (log)
            EXPECT_NEAR(std::log10(got->xmax / got->xmin), std::log10(b / a), 1e-9);
        else
            EXPECT_NEAR(got->xmax - got->xmin, b - a, 1e-9 * std::max(1.0, std::abs(newest)));
    }
}

TEST(FollowTest, OnlyAFollowingViewWithDataMoves) {
    DocumentHead doc;
    doc.data = 1;
    doc.xmin = 0;
    doc.xmax = 10;
    doc.ymin = -1;
    doc.ymax = 1;
    doc.dataxmax = 14;
    EXPECT_FALSE(followNewest(doc, 10));  // off by default
    EXPECT_EQ(doc.xmax, 10);
    doc.follow = true;
    EXPECT_TRUE(followNewest(doc, 10));
    EXPECT_EQ(doc.xmin, 4);
    EXPECT_EQ(doc.xmax, 14);
    EXPECT_EQ(doc.ymin, -1);  // y stays
    EXPECT_EQ(doc.ymax, 1);
    doc.data = 0;
    doc.dataxmax = 20;
    EXPECT_FALSE(followNewest(doc, 14));
}

// "follow=1" is written for a following view only, and each section reads back its own state; a file
// without the key reads as not following.
TEST(FollowTest, StoredPerViewInTheParameterFile) {
    ViewList views;
    views.current().files.setMain("/data/run.dat");
    views.current().data = 1;
    views.addView();
    views.current().follow = true;
    views.addView();
    views.current().follow = false;
    views.setCurrent(2);
    const std::string text = formatParameters(views);
    EXPECT_EQ(text.find("follow=1\r\n"), text.rfind("follow=1\r\n"));  // once
    ASSERT_NE(text.find("follow=1\r\n"), std::string::npos);

    testing::RecordingMessageBoxes boxes;
    ViewList back;
    DocumentHead doc;
    doc.files.setMain("/data/run.dat");
    doc.follow = true;  // a stale state must not leak into a section without the key
    std::array<DataSet, 2> sets{};
    MemorySource source(text);
    ASSERT_TRUE(readParameters(source, doc, sets, &back, boxes));
    ASSERT_EQ(back.viewCount(), 3);
    EXPECT_FALSE(back.viewAt(1).follow);
    EXPECT_TRUE(back.viewAt(2).follow);
    EXPECT_FALSE(back.viewAt(3).follow);

    views.viewAt(2).follow = false;
    EXPECT_EQ(formatParameters(views).find("follow="), std::string::npos);
}

}  // namespace
}  // namespace varnex
