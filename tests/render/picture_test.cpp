#include "render/output/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace varnex {
namespace {

TEST(PictureTest, MovesAndLinesThatChangeNothingAreLeftOut) {
    Picture picture;
    picture.move({10, 10});
    picture.move({20, 20});  // only the last of consecutive moves
    picture.line({20, 20});  // ends where it starts
    picture.line({30, 40});
    picture.move({30, 40});  // to the current position
    picture.line({50, 40});
    EXPECT_EQ(picture.dump(), "move 20 20\nline 30 40\nline 50 40\n");
}

TEST(PictureTest, RunOnOneVerticalLineKeepsItsExtremesAndItsEnd) {
    Picture picture;
    picture.move({0, 0});
    picture.line({100, 50});  // the run's first point
    for (int i = 0; i < 200; ++i) picture.line({100, 50 + (i * 37) % 90 - 30});  // between 20 and 109
    picture.line({100, 70});
    picture.line({101, 70});
    // First point, the lowest and highest value in the order they came, the last point, then on.
    EXPECT_EQ(picture.dump(), "move 0 0\nline 100 50\nline 100 20\nline 100 109\nline 100 70\nline 101 70\n");
}

TEST(PictureTest, ShortVerticalRunsStayAsDrawn) {
    struct Case {
        std::vector<int> ys;  // points after the move to (5, 0), all at x = 5
        const char* dump;
    } cases[] = {
        {{-8}, "move 5 0\nline 5 -8\n"},
        {{9, 3}, "move 5 0\nline 5 9\nline 5 3\n"},
        {{-4, 9, 3}, "move 5 0\nline 5 -4\nline 5 9\nline 5 3\n"},
        {{9, -4, 0}, "move 5 0\nline 5 9\nline 5 -4\nline 5 0\n"},
    };
    for (const Case& c : cases) {
        Picture picture;
        picture.move({5, 0});
        for (int y : c.ys) picture.line({5, y});
        EXPECT_EQ(picture.dump(), c.dump);
    }
}

// What a run on x = 5 after a move to (5, 0) must record: lines to the same point left out, then the
// first lowest and the first highest point in the order they came and the last point, each left out
// when it repeats the one before.
std::string expectedRun(const std::vector<int>& ys) {
    std::vector<int> points;
    int at = 0;
    for (int y : ys) {
        if (y == at) continue;
        points.push_back(y);
        at = y;
    }
    std::string dump = "move 5 0\n";
    if (points.empty()) return dump;
    const auto lo = std::min_element(points.begin(), points.end());
    const auto hi = std::max_element(points.begin(), points.end());
    at = 0;
    for (int y : {lo <= hi ? *lo : *hi, lo <= hi ? *hi : *lo, points.back()}) {
        if (y == at) continue;
        dump += "line 5 " + std::to_string(y) + "\n";
        at = y;
    }
    return dump;
}

TEST(PictureTest, RunsWithRepeatedValuesKeepTheirExtremesAndEnd) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::uniform_int_distribution<int> value(-(round % 4), round % 4 + 1);  // few values, many repeats
        std::vector<int> ys(static_cast<std::size_t>(1 + round % 13));
        for (int& y : ys) y = value(random);
        Picture picture;
        picture.move({5, 0});
        for (int y : ys) picture.line({5, y});
        ASSERT_EQ(picture.dump(), expectedRun(ys)) << "round " << round;
    }
}

TEST(PictureTest, LinesRecordWhatLineRecordsPointByPoint) {
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::vector<LogicalPoint> points(static_cast<std::size_t>(1 + round));
        LogicalPoint p{0, 0};
        for (LogicalPoint& point : points) {
            p.x += random() % 6 == 0 ? 1 : 0;          // columns of a few points
            p.y += static_cast<int>(random() % 5) - 2;  // repeats, extremes and ties
            point = p;
        }
        Picture one, many;
        one.move({0, 0});
        many.move({0, 0});
        for (const LogicalPoint& point : points) one.line(point);
        for (std::size_t at = 0; at < points.size();) {
            const std::size_t n = std::min(points.size() - at, static_cast<std::size_t>(1 + random() % 40));
            many.lines(std::span<const LogicalPoint>(points).subspan(at, n));
            at += n;
        }
        ASSERT_EQ(many.dump(), one.dump()) << "round " << round;
    }
}

TEST(PictureTest, OtherOperationsEndTheRun) {
    Picture picture;
    picture.move({5, 0});
    picture.line({5, 10});
    picture.pen(0, 15, 0);
    picture.line({5, 2});
    picture.line({5, 8});
    picture.line({5, 1});
    picture.line({5, 20});
    // 8 lies between 2 and 1 → 20, which covers it.
    EXPECT_EQ(picture.dump(), "move 5 0\nline 5 10\npen 0 15 0\nline 5 2\nline 5 1\nline 5 20\n");
}

TEST(PictureTest, DumpWritesEveryOperation) {
    Picture picture;
    picture.pen(2, 15, 0);
    picture.brush(7);
    picture.font(245, 90, "Times New Roman");
    picture.text(13, {1, 2}, "a \"b\"\n");
    picture.ellipse({1, 2}, {3, 4});
    picture.rect({5, 6}, {7, 8});
    picture.polygon({{1, 1}, {2, 3}, {4, 1}});
    EXPECT_EQ(picture.dump(),
              "pen 2 15 0\nbrush 7\nfont 245 90 \"Times New Roman\"\ntext 13 1 2 \"a \\\"b\\\"\\n\"\n"
              "ellipse 1 2 3 4\nrect 5 6 7 8\npolygon 3 1 1 2 3 4 1\n");
}

}  // namespace
}  // namespace varnex
