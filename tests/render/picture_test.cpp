#include "render/output/picture.h"

#include <gtest/gtest.h>

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
