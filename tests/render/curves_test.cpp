#include "render/curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "document/model.h"
#include "render/mapping.h"
#include "render/output/drawing.h"
#include "support/data_sets.h"
#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

class NoMeasurer : public TextMeasurer {
public:
    double textWidth(std::string_view, std::int32_t, std::string_view) const override { return 0; }
};

DataSet makeSet(const std::vector<double>& xs, const std::vector<double>& ys, int interp = 1) {
    DataSet set = testing::dataSetOf(xs, ys);
    set.params.interp = static_cast<std::int8_t>(interp);
    return set;
}

class CurvesTest : public ::testing::Test {
protected:
    DocumentHead doc;
    Picture picture;
    NoMeasurer measurer;
    testing::RecordingMessageBoxes messages;
    Drawing drawing{picture, measurer, messages};
    std::vector<double> work;

    void setAxes(int xtype, double xmin, double xmax, int ytype, double ymin, double ymax) {
        doc.xtype = static_cast<std::int8_t>(xtype);
        doc.ytype = static_cast<std::int8_t>(ytype);
        doc.xmin = xmin;
        doc.xmax = xmax;
        doc.ymin = ymin;
        doc.ymax = ymax;
        doc.txmin = scale(xmin, xtype);
        doc.txmax = scale(xmax, xtype);
        doc.tymin = scale(ymin, ytype);
        doc.tymax = scale(ymax, ytype);
    }
    void SetUp() override {
        setAxes(0, 0, 1, 0, 0, 1);
        doc.tickwidth = 0.1;
        doc.subtickwidth = 0.06;
        doc.markersize = 1;
    }
    void curve(const DataSet& set) {
        work.assign(curveWorkSize(set.count), 0);
        drawing.clipReset();
        drawCurve(drawing, doc, set, work, messages);
    }
    int countOps(Picture::Kind kind) const {
        int n = 0;
        for (const auto& op : picture.ops()) n += op.kind == kind;
        return n;
    }
};

// The x positions of the sample points of a spline drawn with a solid pen (one move, then lines).
std::vector<std::int32_t> pointsX(const Picture& picture) {
    std::vector<std::int32_t> xs;
    for (const auto& op : picture.ops()) {
        if (op.kind == Picture::Kind::Move || op.kind == Picture::Kind::Line) xs.push_back(op.a);
    }
    return xs;
}

TEST_F(CurvesTest, TwoPointSplineSamplesByLength) {
    // The diagonal is √2 long in the normalised frame: trunc(64 × 0.33 × √2) = 29 samples (the first on
    // the start point), then the end point.
    curve(makeSet({0, 1}, {0, 1}, 2));
    const auto diagonal = pointsX(picture);
    ASSERT_EQ(diagonal.size(), 30u);
    EXPECT_EQ(picture.ops().front().kind, Picture::Kind::Move);
    EXPECT_EQ(diagonal[1], 1250 + 3500 / 29);
    EXPECT_EQ(diagonal.back(), 4750);

    picture = Picture();
    curve(makeSet({0, 1}, {0.5, 0.5}, 2));
    EXPECT_EQ(pointsX(picture).size(), 22u);  // 21 samples and the end
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(CurvesTest, DenseSplineSkipsShortIntervals) {
    std::vector<double> xs, ys;
    for (int i = 0; i < 1000; ++i) {
        xs.push_back(i * 0.001);
        ys.push_back(i * 0.001);
    }
    curve(makeSet(xs, ys, 2));
    // One sample per run of intervals about 1 / (64 × 0.33) long, and the end point.
    const auto points = pointsX(picture);
    EXPECT_GT(points.size(), 25u);
    EXPECT_LT(points.size(), 35u);
    EXPECT_EQ(points.back(), 4746);  // trunc(50 × (25 + 70 × 0.999))
}

TEST_F(CurvesTest, SplineLeavingTheRangeRestartsOnTheFrame) {
    curve(makeSet({0, 0.25, 0.5, 0.75, 1}, {0.5, 0.8, 1.6, 0.8, 0.5}, 2));
    // The curve goes up through the top of the frame (logical y 250) and comes back down through it.
    const auto& ops = picture.ops();
    int exits = 0, entries = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        exits += ops[i].kind == Picture::Kind::Line && ops[i].b == 250;
        entries += ops[i].kind == Picture::Kind::Move && ops[i].b == 250;
        EXPECT_GE(ops[i].b, 250) << i;
    }
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(ops.back().a, 4750);
}

TEST_F(CurvesTest, ZoomedIntoALongInterval) {
    // An interval 100 frames wide gets thousands of samples; only the 30 within the frame draw.
    curve(makeSet({0, 100}, {0, 100}, 2));
    EXPECT_EQ(picture.ops().size(), 31u);
    EXPECT_EQ(picture.dump().substr(0, 30), "move 1250 3750\nline 1367 3632\n");
    EXPECT_EQ(picture.ops().back().a, 4750);  // where the curve leaves the frame
    EXPECT_EQ(picture.ops().back().b, 250);

    picture = Picture();
    curve(makeSet({-100, 1}, {-100, 1}, 2));
    EXPECT_EQ(picture.ops().size(), 31u);
    EXPECT_EQ(picture.dump().substr(0, 15), "move 1250 3750\n");  // entering at the corner
    EXPECT_EQ(picture.ops().back().a, 4750);

    picture = Picture();
    curve(makeSet({-100, 100}, {-100, 100}, 2));  // neither end in range: the interval is not sampled
    EXPECT_TRUE(picture.empty());
}

TEST_F(CurvesTest, SplineFarOutsideTheFrameFeedsOnlyWhatCanShow) {
    // 2,000 points alternating between 0.5 and 1e6 on 0..1 axes: every interval is a million frames
    // long and gets the most samples (65,536), of which only those near its end at 0.5 can show. The
    // pen sees a few points per interval, and every piece lies in the frame, going up out of its top.
    constexpr int kPoints = 2000;
    std::vector<double> xs, ys;
    for (int i = 0; i < kPoints; ++i) {
        xs.push_back(static_cast<double>(i) / kPoints);
        ys.push_back(i % 2 == 0 ? 0.5 : 1e6);
    }
    for (const int interp : {2, 3}) {  // y(x), and the parametric spline
        picture = Picture();
        curve(makeSet(xs, ys, interp));
        const int fed = drawing.clipPoint(50, 50) - 1;
        EXPECT_LT(fed, 50 * kPoints) << interp;  // all samples: 65,536 × kPoints
        EXPECT_GT(fed, kPoints) << interp;
        int top = 0;
        for (const auto& op : picture.ops()) {
            if (op.kind != Picture::Kind::Move && op.kind != Picture::Kind::Line) continue;
            EXPECT_TRUE(op.a >= 1250 && op.a <= 4750 && op.b >= 250 && op.b <= 3750) << interp;
            top += op.b == 250;
        }
        EXPECT_GT(top, kPoints / 100) << interp;  // columns share their ops, so fewer than the intervals
        EXPECT_TRUE(messages.messages().empty());
    }
}

TEST_F(CurvesTest, ZoomedAscendingSetsDrawWhatEveryPointDraws) {
    // Lines and markers of a set with increasing x are drawn from the points near the x range only;
    // the picture is the one every point gives (the set taken as not ascending).
    std::vector<double> xs, ys;
    for (int i = 0; i < 3000; ++i) {
        xs.push_back(0.001 * i + 0.0001 * (i % 7));
        ys.push_back(0.5 + 0.6 * std::sin(i / 40.0));
    }
    struct Zoom {
        int xtype;
        double xmin, xmax;
    };
    const Zoom zooms[] = {{0, 0, 3}, {0, 0.7, 1.9}, {0, -5, 0.2}, {0, 2.9, 10}, {0, 4, 5}, {0, -2, -1},
                          {1, 0.01, 1}, {1, 1.5, 2.5}};
    for (const Zoom& zoom : zooms) {
        setAxes(zoom.xtype, zoom.xmin, zoom.xmax, 0, 0, 1);
        DataSet set = makeSet(xs, ys, 1);
        set.params.marker = 1;
        set.params.shape = 3;
        ASSERT_TRUE(set.ascending);
        auto draw = [&] {
            Picture fresh;
            Drawing d(fresh, measurer, messages);
            d.clipReset();
            drawCurve(d, doc, set, {}, messages);
            drawMarkers(d, doc, set);
            return fresh.dump();
        };
        const std::string fast = draw();
        set.ascending = false;
        EXPECT_EQ(fast, draw()) << zoom.xmin << ".." << zoom.xmax;
    }
}

TEST(CurveWorkSpaceTest, TakenForSplinesKeptAndGivenBack) {
    CurveWorkSpace work;
    EXPECT_EQ(work.size(), 0u);
    EXPECT_EQ(work.forSet(10).size(), curveWorkSize(10));
    work.fit(curveWorkSize(100));
    EXPECT_EQ(work.size(), curveWorkSize(100));
    EXPECT_EQ(work.forSet(10).size(), curveWorkSize(10));  // a smaller set uses part of it
    work.fit(curveWorkSize(60));
    EXPECT_EQ(work.size(), curveWorkSize(100));  // kept for the next drawing
    work.fit(curveWorkSize(20));
    EXPECT_EQ(work.size(), curveWorkSize(20));  // far more than needed: given back
    work.fit(0);
    EXPECT_EQ(work.size(), 0u);
}

TEST_F(CurvesTest, ParametricSplinePassesThroughThePoints) {
    // Points round a square, not ascending in x.
    const std::vector<double> xs{0.2, 0.8, 0.8, 0.2, 0.2};
    const std::vector<double> ys{0.2, 0.2, 0.8, 0.8, 0.25};
    curve(makeSet(xs, ys, 2));
    EXPECT_TRUE(messages.messages().empty());
    const auto& ops = picture.ops();
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const LogicalPoint p = toLogical(pageX(doc, xs[i]), pageY(doc, ys[i]));
        bool found = false;
        for (const auto& op : ops) found = found || (op.a == p.x && op.b == p.y);
        EXPECT_TRUE(found) << "point " << i + 1;
    }
    EXPECT_GT(ops.size(), 4 * 21u);  // every side at least 0.6 long, bent at the corners
}

TEST_F(CurvesTest, SplineErrorFallsBackToStraightLines) {
    struct Case {
        const char* name;
        int xtype;
        std::vector<double> xs, ys;
        int interp;
    };
    const Case cases[] = {
        {"repeated point, parametric", 0, {0.5, 0.2, 0.2, 0.8}, {0.5, 0.3, 0.3, 0.9}, 2},
        {"repeated point, interp 3", 0, {0.1, 0.2, 0.2, 0.8}, {0.5, 0.3, 0.3, 0.9}, 3},
        {"two values below zero on a log axis", 1, {-1, 0, 0.5, 1}, {0.1, 0.2, 0.3, 0.4}, 2},
    };
    for (const Case& c : cases) {
        picture = Picture();
        messages.clear();
        setAxes(c.xtype, 0.1, 1, 0, 0, 1);
        DataSet set = makeSet(c.xs, c.ys, c.interp);
        curve(set);
        ASSERT_EQ(messages.messages().size(), 1u) << c.name;
        EXPECT_EQ(messages.messages()[0].text, "*** IER=2100, DASCM ***");

        Picture lines;
        Drawing straight(lines, measurer, messages);
        set.params.interp = 1;
        straight.clipReset();
        drawCurve(straight, doc, set, {}, messages);
        EXPECT_EQ(picture.dump(), lines.dump()) << c.name;
    }
}

TEST_F(CurvesTest, LinesOnLogarithmicAxesOfBothSigns) {
    setAxes(1, 1, 1000, -1, -1000, -1);
    curve(makeSet({1, 10, 100, -5}, {-1000, -10, -2, -3}, 1));
    // x 1, 10, 100 at 0, 1/3, 2/3 of the frame; y -1000, -10 at 0, 2/3. The last point has an x of
    // the wrong sign: it lies far to the left, so the line leaves through the left edge.
    const std::string dump = picture.dump();
    EXPECT_EQ(dump.substr(0, dump.rfind("line")),
              "move 1250 3750\n"
              "line 2416 1416\n"
              "line 3583 601\n");
    EXPECT_EQ(picture.ops().back().kind, Picture::Kind::Line);
    EXPECT_EQ(picture.ops().back().a, 1250);
}

TEST_F(CurvesTest, DenseLinesRecordAboutOneOpPerLogicalPoint) {
    constexpr int kPoints = 1'000'000;
    std::vector<double> xs(kPoints), ys(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        xs[i] = static_cast<double>(i) / kPoints;
        ys[i] = 0.5 + 0.4 * std::sin(20 * xs[i]);
    }
    const DataSet set = makeSet(xs, ys, 1);
    drawing.clipReset();
    drawCurve(drawing, doc, set, {}, messages);
    std::size_t changes = 1;
    for (int i = 1; i < kPoints; ++i) {
        changes += !(toLogical(pageX(doc, xs[i]), pageY(doc, ys[i])) ==
                     toLogical(pageX(doc, xs[i - 1]), pageY(doc, ys[i - 1])));
    }
    EXPECT_LE(picture.ops().size(), changes);
    EXPECT_LT(changes, 25'000u);
}

// --- error bars ---

class ErrorBarsTest : public CurvesTest {
protected:
    std::string path = ::testing::TempDir() + "/varnex_error_bars.dat";

    // Writes the file; the set starts after the first line.
    DataSet writeSet(const std::string& numbers, std::vector<double> xs, std::vector<double> ys) {
        const std::string head = "title line\n";
        std::ofstream(path, std::ios::binary) << head << numbers;
        DataSet set = makeSet(xs, ys, 0);
        set.storage->name = path;
        set.datapos = static_cast<std::int64_t>(head.size());
        set.errorbar = true;
        set.params.marker = 2;
        return set;
    }
    void TearDown() override { std::remove(path.c_str()); }
};

TEST_F(ErrorBarsTest, BarsAndCapsCutAtTheFrame) {
    setAxes(0, 0, 10, 0, 0, 10);
    const DataSet set = writeSet(
        "# a comment inside the block\n"
        "2\t4 2 4\r\n"
        "5 5 0 -1\n"
        "#errorbar\n"
        "8 9 4\n",
        {2, 5, 8}, {4, 5, 9});
    drawErrorBars(drawing, doc, set, 0.6);
    EXPECT_EQ(picture.dump(),
              // point 1 at (39, 53): vertical bar 3..5 with caps, horizontal bar 0..4 with caps
              "pen 0 5 0\n"
              "move 1950 2700\nline 1950 2000\n"
              "pen 0 3 0\n"
              "move 1920 2700\nline 1980 2700\n"
              "move 1920 2000\nline 1980 2000\n"
              "pen 0 5 0\n"
              "move 1250 2350\nline 2650 2350\n"
              "pen 0 3 0\n"
              "move 1250 2380\nline 1250 2320\n"
              "move 2650 2380\nline 2650 2320\n"
              // point 2: zero and negative error values draw nothing
              // point 3 at x = 81: the bar 7..11 is cut at the top; the cap at 11 lies outside
              "pen 0 5 0\n"
              "move 4050 1300\nline 4050 250\n"
              "pen 0 3 0\n"
              "move 4020 1300\nline 4079 1300\n");
}

TEST_F(ErrorBarsTest, LogarithmicAxisBarBelowZero) {
    setAxes(0, 0, 10, 1, 1, 100);
    const DataSet set = writeSet("5 10 30\n", {5}, {10});
    drawErrorBars(drawing, doc, set, 0.6);
    // 10 − 15 < 0 transforms to −100: the bar runs from the bottom of the frame up to 25.
    const auto& ops = picture.ops();
    ASSERT_GE(ops.size(), 3u);
    EXPECT_EQ(ops[1].kind, Picture::Kind::Move);
    EXPECT_EQ(ops[1].b, 3750);
    EXPECT_EQ(ops[2].b, toLogical(0, pageY(doc, std::log10(25.0))).y);
}

TEST_F(ErrorBarsTest, ShortOrMissingFile) {
    setAxes(0, 0, 10, 0, 0, 10);
    DataSet set = writeSet("5 5 2\n", {5, 6, 7}, {5, 6, 7});
    drawErrorBars(drawing, doc, set, 0.6);
    EXPECT_EQ(countOps(Picture::Kind::Move), 3);  // only the first point's line is in the file

    picture = Picture();
    set.storage->name = path + ".missing";
    drawErrorBars(drawing, doc, set, 0.6);
    EXPECT_TRUE(picture.empty());
}

// --- markers ---

TEST_F(CurvesTest, MarkerShapes) {
    for (int shape : {0, 1, 2, 3, 5, -1}) drawMarker(drawing, shape, 2, 50, 50);
    EXPECT_EQ(picture.dump(),
              "brush 0\n"
              "ellipse 2450 2550 2550 2450\n"
              "rect 2450 2550 2550 2450\n"
              // side 1 / 0.65 = 1.538: corners 0.444 below and 0.888 above the centre
              "polygon 3 2461 2522 2500 2455 2538 2522\n"
              "polygon 4 2450 2500 2500 2450 2550 2500 2500 2550\n"
              "rect 2450 2550 2550 2450\n");
}

TEST_F(CurvesTest, HugeMarkersAreCutToThePage) {
    // Markers a million page units large become figures of about the page's size.
    drawing.setPen(0, 0.3, 0);
    for (int shape : {1, 2, 3}) drawMarker(drawing, shape, 1e6, 50, 50);
    for (const auto& op : picture.ops()) {
        std::vector<LogicalPoint> points;
        if (op.kind == Picture::Kind::Rect) points = {{op.a, op.b}, {op.c, op.d}};
        if (op.kind == Picture::Kind::Polygon) {
            for (std::int32_t k = 0; k < op.b; ++k) points.push_back(picture.point(op.a + k));
        }
        for (const LogicalPoint& p : points) {
            EXPECT_TRUE(p.x >= -50 && p.x <= 5050 && p.y >= -50 && p.y <= 5050) << p.x << ' ' << p.y;
        }
    }
    EXPECT_EQ(countOps(Picture::Kind::Rect), 1);
    EXPECT_EQ(countOps(Picture::Kind::Polygon), 2);
}

TEST_F(CurvesTest, MarkersOnPointsWithinTheLimits) {
    DataSet set = makeSet({0, 0.5, 1, 1.5, 0.5}, {0, 0.5, 1, 0.5, -0.1}, 0);
    set.params.marker = 1;
    set.params.shape = 1;
    drawMarkers(drawing, doc, set);
    // Points 1 to 3 (edges included); 4 and 5 lie outside the limits.
    EXPECT_EQ(countOps(Picture::Kind::Rect), 3);
    EXPECT_EQ(picture.ops().back().a, 4750 - 25);

    set.params.marker = 2;
    picture = Picture();
    drawMarkers(drawing, doc, set);
    EXPECT_TRUE(picture.empty());
}

}  // namespace
}  // namespace varnex
