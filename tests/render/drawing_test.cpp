#include "render/output/drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

// Every character is half the cell height wide.
class HalfCellMeasurer : public TextMeasurer {
public:
    double textWidth(std::string_view text, std::int32_t height, std::string_view) const override {
        return static_cast<double>(text.size()) * height / 2.0;
    }
};

class DrawingTest : public ::testing::Test {
protected:
    Picture picture;
    HalfCellMeasurer measurer;
    testing::RecordingMessageBoxes messages;
    Drawing drawing{picture, measurer, messages};

    void polyline(std::initializer_list<std::pair<double, double>> points) {
        drawing.clipReset();
        for (const auto& [x, y] : points) drawing.clipPoint(x, y);
    }
};

TEST_F(DrawingTest, PenBrushAndFontUnits) {
    drawing.setPen(0, 0.1, 0);
    drawing.setPen(7, 1.0, 9);   // line type 2, colour 2
    drawing.setPen(-1, -1, -1);  // wrap around; no negative width
    drawing.setPen(4, -1, 6);    // the same pen again: nothing recorded
    drawing.setBrush(7);
    drawing.setBrush(9);
    drawing.setBrush(1);
    drawing.setFont(1.4, 0, "Times New Roman");
    drawing.setFont(0.7, 90, "Arial");
    drawing.setFont(0.7, 90, "Arial");
    EXPECT_EQ(picture.dump(),
              "pen 0 5 0\n"
              "pen 2 50 2\n"
              "pen 4 0 6\n"
              "brush 7\n"
              "brush 1\n"
              "font 245 0 \"Times New Roman\"\n"
              "font 122 90 \"Arial\"\n");
    EXPECT_EQ(drawing.lineType(), 4);
}

TEST_F(DrawingTest, DashedLinesFollowTheirCells) {
    struct Case {
        const char* name;
        int lineType;
        std::vector<std::pair<double, double>> path;  // first point is a move
        const char* expected;
    };
    const Case cases[] = {
        // Cells 1 and 2 drawn, cell 3 blank.
        {"dashes", 2, {{10, 50}, {12.1, 50}}, "move 500 2500\nline 570 2500\nmove 605 2500\n"},
        // The first cell is blank; the dot runs on from one segment into the next.
        {"dots over two segments",
         1,
         {{0, 50}, {1, 50}, {2, 50}},
         "move 35 2500\nline 50 2500\nline 70 2500\nmove 100 2500\n"},
        {"zero-length segment",
         1,
         {{0, 50}, {1, 50}, {1, 50}, {2, 50}},
         "move 35 2500\nline 50 2500\nline 70 2500\nmove 100 2500\n"},
        // The pattern flows round the corner: the dash ends 1.4 along the path, 0.9 below the corner.
        {"corner",
         2,
         {{0, 50}, {0.5, 50}, {0.5, 49}},
         "move 0 2500\nline 25 2500\nline 25 2545\nmove 25 2550\n"},
        {"dash dot",
         3,
         {{0, 0}, {0, 4.2}},
         "move 0 5000\nline 0 4930\nmove 0 4895\nline 0 4860\nmove 0 4825\nline 0 4790\n"},
        {"solid", 0, {{0, 50}, {1, 50}, {1, 51}}, "move 0 2500\nline 50 2500\nline 50 2450\n"},
    };
    for (const Case& c : cases) {
        Picture fresh;
        Drawing d(fresh, measurer, messages);
        d.setPen(c.lineType, 0, 0);
        d.moveTo(c.path[0].first, c.path[0].second);
        for (std::size_t i = 1; i < c.path.size(); ++i) d.lineTo(c.path[i].first, c.path[i].second);
        std::string dump = fresh.dump();
        dump.erase(0, dump.find('\n') + 1);  // the pen
        EXPECT_EQ(dump, c.expected) << c.name;
    }
}

TEST_F(DrawingTest, MoveRestartsThePattern) {
    drawing.setPen(1, 0, 0);
    drawing.moveTo(0, 50);
    drawing.lineTo(1, 50);
    drawing.moveTo(0, 40);
    drawing.lineTo(1, 40);
    EXPECT_EQ(picture.dump(), "pen 1 0 0\nmove 35 2500\nline 50 2500\nmove 35 3000\nline 50 3000\n");
}

TEST_F(DrawingTest, FarSegmentsDashOnlyNearThePage) {
    // A segment millions of page units long finishes at once and draws the same dashes on the page
    // as a short one.
    Picture near;
    Drawing shortLine(near, measurer, messages);
    shortLine.setPen(2, 0, 0);
    shortLine.moveTo(50, 50);
    shortLine.lineTo(1200, 50);
    drawing.setPen(2, 0, 0);
    drawing.moveTo(50, 50);
    drawing.lineTo(5e7, 50);
    drawing.lineTo(1e300, 50);
    auto onPage = [](const Picture& p) {
        std::vector<Picture::Op> ops;
        for (const auto& op : p.ops()) {
            if (op.kind != Picture::Kind::Pen && op.a <= 50 * 1050) ops.push_back(op);
        }
        return ops;
    };
    const auto expected = onPage(near);
    const auto got = onPage(picture);
    ASSERT_EQ(got.size(), expected.size());
    ASSERT_GT(got.size(), 500u);
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_TRUE(got[i].kind == expected[i].kind && got[i].a == expected[i].a) << i;
    }
    EXPECT_LT(picture.ops().size(), got.size() + 100);  // the rest of the page box and the end
}

TEST_F(DrawingTest, TextAlignment) {
    drawing.setFont(1, 0, "F");
    drawing.drawText("abc", 50, 20, 11);
    drawing.drawText("abc", 50, 20, 12);
    drawing.setFont(1, 90, "F");  // cell 175: "abcdefgh" is 700 wide, lowered by trunc(7)
    drawing.drawText("abcdefgh", 10, 50, 11);
    drawing.drawText("abcdefgh", 10, 50, 21);
    drawing.drawText("abcdefgh", 10, 50, 13);
    drawing.drawText("abcdefghijk", 10, 50, 11);  // 962.5 wide: lowered by 9
    EXPECT_EQ(picture.dump(),
              "font 175 0 \"F\"\n"
              "text 11 2500 4000 \"abc\"\n"
              "text 12 2500 4000 \"abc\"\n"
              "font 175 90 \"F\"\n"
              "text 13 500 2850 \"abcdefgh\"\n"
              "text 23 500 2850 \"abcdefgh\"\n"
              "text 13 500 2500 \"abcdefgh\"\n"
              "text 13 500 2950 \"abcdefghijk\"\n");
}

TEST_F(DrawingTest, Figures) {
    drawing.ellipse(49.5, 50.5, 50.5, 49.5);
    drawing.rectangle(0, 0, 100, 100);
    const double triangle[] = {10, 10, 20, 30, 30, 10};
    drawing.polygon(triangle, 3);
    EXPECT_EQ(picture.dump(),
              "ellipse 2475 2475 2525 2525\n"
              "rect 0 5000 5000 0\n"
              "polygon 3 500 4500 1000 3500 1500 4500\n");
}

TEST_F(DrawingTest, FiguresBeyondThePageAreCutToABoxAroundIt) {
    struct Case {
        const char* name;
        double penWidth;  // page units
        std::vector<double> xy;
        const char* expected;
    };
    const Case cases[] = {
        {"on the page", 0.3, {10, 10, 20, 30, 30, 10}, "polygon 3 500 4500 1000 3500 1500 4500\n"},
        {"a corner 1e6 to the right", 0.3, {50, 50, 1e6, 50, 50, 60},
         "polygon 4 2500 2500 5050 2500 5050 2000 2500 2000\n"},
        {"round the whole page", 0, {-1e7, -1e7, 1e7, -1e7, 0, 1e7},
         "polygon 4 -50 -50 -50 5050 5050 5050 5050 -50\n"},
        {"a wide pen widens the box", 10, {50, 50, 1e6, 50, 50, 60},
         "polygon 4 2500 2500 5500 2500 5500 2000 2500 2000\n"},
        {"wholly beyond the box", 0.3, {200, 200, 300, 200, 250, 300}, ""},
        {"rectangle", 0.3, {-1e9, 40, 1e9}, "rect -50 3000 5050 -50\n"},
        {"rectangle beyond the box", 0.3, {120, 40, 1e9}, ""},
    };
    for (const Case& c : cases) {
        Picture fresh;
        Drawing d(fresh, measurer, messages);
        d.setPen(0, c.penWidth, 0);
        if (c.xy.size() == 3) {
            d.rectangle(c.xy[0], c.xy[1], c.xy[2], c.xy[2]);
        } else {
            d.polygon(c.xy.data(), static_cast<int>(c.xy.size() / 2));
        }
        std::string dump = fresh.dump();
        dump.erase(0, dump.find('\n') + 1);  // the pen
        EXPECT_EQ(dump, c.expected) << c.name;
    }
}

TEST_F(DrawingTest, ClippedPenCutsAtTheFrame) {
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> points;
        const char* expected;
    };
    const Case cases[] = {
        {"along the left edge",
         {{25, 30}, {25, 60}, {25, 95}},
         "move 1250 3500\nline 1250 2000\nline 1250 250\n"},
        {"in, out and in again",
         {{50, 50}, {150, 50}, {60, 60}},
         "move 2500 2500\nline 4750 2500\nmove 4750 2194\nline 3000 2000\n"},
        // Both ends outside: the part inside the frame is drawn; passing outside a corner, nothing.
        {"across a corner from outside", {{85, 100}, {100, 85}}, "move 4500 250\nline 4750 500\n"},
        {"outside the corner", {{90, 105}, {105, 90}}, ""},
        {"touching the corner only", {{90, 100}, {100, 90}}, ""},
        {"beyond the left edge", {{10, 30}, {20, 90}, {5, 200}}, ""},
        {"on the left edge's line below the frame", {{25, 10}, {25, 20}}, ""},
        {"below, then up to a corner", {{10, 10}, {25, 25}}, "move 1250 3750\n"},
        {"through the frame from outside", {{0, 50}, {200, 50}}, "move 1250 2500\nline 4750 2500\n"},
        // Leaving from a point on the edge: drawn to where the segment leaves the frame.
        {"from the bottom edge out through the top", {{50, 25}, {50, 200}}, "move 2500 3750\nline 2500 250\n"},
        {"from outside to a point on the edge", {{50, 0}, {50, 25}, {50, 60}}, "move 2500 3750\nline 2500 2000\n"},
        {"outside then in", {{50, 0}, {50, 50}}, "move 2500 3750\nline 2500 2500\n"},
        {"leaving through the top", {{50, 50}, {50, 200}, {60, 300}}, "move 2500 2500\nline 2500 250\n"},
    };
    for (const Case& c : cases) {
        Picture fresh;
        Drawing d(fresh, measurer, messages);
        d.clipReset();
        int fed = 0;
        for (const auto& [x, y] : c.points) fed = d.clipPoint(x, y);
        EXPECT_EQ(fed, static_cast<int>(c.points.size())) << c.name;
        EXPECT_EQ(fresh.dump(), c.expected) << c.name;
    }
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(DrawingTest, SkippedStretchDrawsNothing) {
    // From above the frame the pen skips to its right and comes back in: no line across the corner,
    // the way in starts at the right edge. Skipping to a point inside starts a piece there.
    drawing.clipReset();
    drawing.clipPoint(50, 50);
    drawing.clipPoint(50, 150);
    drawing.clipSkip(150, 50);
    EXPECT_EQ(drawing.clipPoint(90, 50), 4);
    drawing.clipSkip(60, 60);
    drawing.clipPoint(60, 70);
    EXPECT_EQ(picture.dump(), "move 2500 2500\nline 2500 250\nmove 4750 2500\nline 4500 2500\n"
                              "move 3000 2000\nline 3000 1500\n");
}

TEST_F(DrawingTest, ClipPointsDrawsWhatClipPointDraws) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> near(10, 110);  // in and out of the frame 25..95
    for (int round = 0; round < 200; ++round) {
        std::vector<double> xs(static_cast<std::size_t>(1 + round)), ys(xs.size());
        double x = near(random), y = near(random);
        for (std::size_t k = 0; k < xs.size(); ++k) {
            // Long stretches inside the frame, now and then a jump anywhere.
            x = random() % 20 == 0 ? near(random) : std::clamp(x + near(random) / 200 - 0.3, 0.0, 120.0);
            y = random() % 20 == 0 ? near(random) : std::clamp(y + near(random) / 200 - 0.3, 0.0, 120.0);
            xs[k] = x;
            ys[k] = y;
        }
        Picture one, many;
        Drawing a(one, measurer, messages), b(many, measurer, messages);
        a.setPen(round % 3 == 0 ? 2 : 0, 0, 0);
        b.setPen(round % 3 == 0 ? 2 : 0, 0, 0);
        if (round % 4 == 1) {  // a frame far beyond the range of 32-bit logical units
            for (double& v : xs) v = (v - 60) * 1e7;
            for (double& v : ys) v = (v - 60) * 1e7;
            a.setFrame({-3.5e8, 3.5e8, -3.5e8, 3.5e8});
            b.setFrame({-3.5e8, 3.5e8, -3.5e8, 3.5e8});
        }
        a.clipReset();
        b.clipReset();
        int fed = 0;
        for (std::size_t k = 0; k < xs.size(); ++k) fed = a.clipPoint(xs[k], ys[k]);
        for (std::size_t at = 0; at < xs.size();) {
            const std::size_t n = std::min(xs.size() - at, static_cast<std::size_t>(1 + random() % 50));
            b.clipPoints(std::span<const double>(xs).subspan(at, n), std::span<const double>(ys).subspan(at, n));
            at += n;
        }
        ASSERT_EQ(many.dump(), one.dump()) << "round " << round;
        EXPECT_EQ(b.clipPoint(50, 50), fed + 1);
    }
}

TEST_F(DrawingTest, ResetStartsANewPolyline) {
    polyline({{30, 30}, {40, 40}});
    polyline({{50, 50}, {60, 60}});
    EXPECT_EQ(picture.dump(), "move 1500 3500\nline 2000 3000\nmove 2500 2500\nline 3000 2000\n");
}

TEST_F(DrawingTest, DashesRunOnAcrossTheClippedPolyline) {
    drawing.setPen(1, 0, 0);
    polyline({{50, 50}, {51, 50}, {52, 50}});
    EXPECT_EQ(picture.dump(), "pen 1 0 0\nmove 2535 2500\nline 2550 2500\nline 2570 2500\nmove 2600 2500\n");
}

TEST_F(DrawingTest, MissingCrossingIsReported) {
    // The frame changes under the pen, so the segment from the outside point meets no edge.
    drawing.clipReset();
    drawing.clipPoint(10, 10);
    drawing.setFrame({0, 100, 0, 100});
    drawing.clipPoint(50, 50);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].caption, "VarnexWin32 3.26c Error");
    EXPECT_EQ(messages.messages()[0].text, "*** error in PageCS");
    EXPECT_EQ(picture.dump(), "move 500 4500\nline 2500 2500\n");
}

TEST_F(DrawingTest, DensePolylineRecordsOneOpPerLogicalPoint) {
    // 1,000,000 points along a circle of radius 30: consecutive points mostly share a logical point.
    constexpr int kPoints = 1'000'000;
    drawing.clipReset();
    for (int i = 0; i <= kPoints; ++i) {
        const double a = 2 * M_PI * i / kPoints;
        drawing.clipPoint(60 + 30 * std::cos(a), 60 + 30 * std::sin(a));
    }
    // The circumference is about 2 × π × 1500 ≈ 9425 logical units.
    EXPECT_LT(picture.ops().size(), 12'000u);
    EXPECT_GT(picture.ops().size(), 5'000u);
}

}  // namespace
}  // namespace varnex
