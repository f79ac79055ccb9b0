#include "render/page_renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "document/model.h"
#include "render/curves.h"
#include "render/output/drawing.h"
#include "support/data_sets.h"
#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

class FixedMeasurer : public TextMeasurer {
public:
    double textWidth(std::string_view text, std::int32_t height, std::string_view) const override {
        return static_cast<double>(text.size()) * height / 2.0;
    }
};

TEST(PageLayoutTest, FrameAndSizesFollowTheAxisSizes) {
    struct Case {
        int xsize, ysize;
        double left, bottom, label, tick, cap;
    };
    const Case cases[] = {
        {100, 100, 25, 25, 1.4, 2.1, 0.6},
        {50, 100, 60, 25, 0.7, 1.05, 0.6},
        {100, 50, 25, 60, 0.7, 1.05, 0.3},
        {10, 30, 88, 74, 0.14, 0.21, 0.6},
    };
    for (const Case& c : cases) {
        DocumentHead doc;
        doc.xsize = static_cast<std::int8_t>(c.xsize);
        doc.ysize = static_cast<std::int8_t>(c.ysize);
        doc.area = {0, 95, 0, 95};  // left and bottom are recomputed, right and top kept
        const PageLayout layout = layoutPage(doc);
        EXPECT_DOUBLE_EQ(doc.area[0], c.left) << c.xsize << " " << c.ysize;
        EXPECT_DOUBLE_EQ(doc.area[2], c.bottom);
        EXPECT_EQ(doc.area[1], 95);
        EXPECT_EQ(doc.area[3], 95);
        EXPECT_NEAR(layout.labelUnit, c.label, 1e-12);
        EXPECT_NEAR(layout.tickLength, c.tick, 1e-12);
        EXPECT_NEAR(layout.capHalfLength, c.cap, 1e-12);
    }
}

TEST(PageLayoutTest, TransformedLimitsFollowEveryLayout) {
    DocumentHead doc;
    doc.xtype = 1;
    doc.xmin = 0.1;
    doc.xmax = 1000;
    doc.ytype = -1;
    doc.ymin = -100;
    doc.ymax = -0.01;
    layoutPage(doc);
    EXPECT_DOUBLE_EQ(doc.txmin, -1);
    EXPECT_DOUBLE_EQ(doc.txmax, 3);
    EXPECT_DOUBLE_EQ(doc.tymin, -2);
    EXPECT_DOUBLE_EQ(doc.tymax, 2);
    doc.xmin = 10;  // read only at the next drawing
    EXPECT_DOUBLE_EQ(doc.txmin, -1);
    layoutPage(doc);
    EXPECT_DOUBLE_EQ(doc.txmin, 1);
}

class PageRendererTest : public ::testing::Test {
protected:
    Document doc;
    Picture picture;
    FixedMeasurer measurer;
    testing::RecordingMessageBoxes messages;
    Drawing drawing{picture, measurer, messages};
    std::string path = ::testing::TempDir() + "/varnex_render.dat";

    void SetUp() override {
        doc.xmin = 0;
        doc.xmax = 10;
        doc.ymin = 0;
        doc.ymax = 10;
        doc.graphwidth = 0.2;
        doc.framewidth = 0.3;
        doc.markersize = 1;
        doc.tickwidth = 0.12;
        doc.subtickwidth = 0.08;
    }
    void TearDown() override { std::remove(path.c_str()); }

    DataSet& addSet(std::vector<double> xs, std::vector<double> ys, GraphParams params) {
        DataSet& set = doc.sets[static_cast<std::size_t>(++doc.data)];
        set = testing::dataSetOf(xs, ys);
        set.params = params;
        return set;
    }
    // Index of the first op of a kind from `from` on, or ops().size().
    std::size_t find(Picture::Kind kind, std::size_t from = 0) const {
        const auto& ops = picture.ops();
        for (std::size_t i = from; i < ops.size(); ++i) {
            if (ops[i].kind == kind) return i;
        }
        return ops.size();
    }
};

TEST_F(PageRendererTest, CurvesThenMarkersThenAxes) {
    addSet({1, 5, 9}, {1, 9, 1}, {1, 2, 1, 2});  // dashed lines with triangles
    addSet({2, 8}, {5, 5}, {0, 0, 1, 3});        // markers only
    render(doc, drawing, messages);
    EXPECT_TRUE(messages.messages().empty());

    const auto& ops = picture.ops();
    ASSERT_FALSE(ops.empty());
    // The first set's pen: line type 2, 10 units wide.
    EXPECT_EQ(ops[0].kind, Picture::Kind::Pen);
    EXPECT_EQ(ops[0].a, 2);
    EXPECT_EQ(ops[0].b, 10);
    // The markers come after every line of the curve and before the first text of the axes.
    const std::size_t firstMarker = find(Picture::Kind::Polygon);
    const std::size_t firstText = find(Picture::Kind::Text);
    ASSERT_LT(firstMarker, ops.size());
    for (std::size_t i = 0; i < firstMarker; ++i) EXPECT_NE(ops[i].kind, Picture::Kind::Text) << i;
    EXPECT_LT(firstMarker, firstText);
    EXPECT_EQ(find(Picture::Kind::Polygon, firstMarker + 1) - firstMarker, 1u);  // second triangle
    int diamonds = 0;
    for (std::size_t i = firstMarker; i < firstText; ++i) {
        diamonds += ops[i].kind == Picture::Kind::Polygon && ops[i].b == 4;
    }
    EXPECT_EQ(diamonds, 2);
    // Tick labels in fonts 245 units high; the frame's pen (15 units) ends the picture.
    EXPECT_LT(find(Picture::Kind::Font), ops.size());
    EXPECT_EQ(ops[find(Picture::Kind::Font)].a, 245);
    EXPECT_EQ(picture.dump().substr(picture.dump().rfind("pen")),
              "pen 0 15 0\nmove 1250 3750\nline 4750 3750\nline 4750 250\nline 1250 250\nline 1250 3750\n");
    EXPECT_DOUBLE_EQ(doc.txmax, 10);
}

TEST_F(PageRendererTest, ErrorBarsOnlyForErrorData) {
    const std::string head = "x y e\n";
    std::ofstream(path, std::ios::binary) << head << "5 5 2\n";
    DataSet& set = addSet({5}, {5}, {0, 0, 2, 0});
    set.storage->name = path;
    set.datapos = static_cast<std::int64_t>(head.size());

    // The bar from 4 to 6 at x = 5 with its lower cap, 0.6 page units to either side.
    const std::string bar =
        "pen 0 6 0\nmove 3000 2350\nline 3000 1650\npen 0 4 0\nmove 2970 2350\nline 3030 2350\n";
    render(doc, drawing, messages);
    EXPECT_EQ(picture.dump().find(bar), std::string::npos);

    picture = Picture();
    Drawing fresh(picture, measurer, messages);
    set.errorbar = true;
    render(doc, fresh, messages);
    EXPECT_EQ(picture.dump().find(bar), 0u);
}

TEST_F(PageRendererTest, HiddenAndNegativeSetsDrawNoData) {
    addSet({1, 9}, {1, 9}, {0, 0, 0, 0});
    addSet({1, 9}, {9, 1}, {-1, 0, 0, 0});
    render(doc, drawing, messages);
    // Only the axes: no line ends inside the frame away from its edges and ticks.
    for (const auto& op : picture.ops()) {
        if (op.kind != Picture::Kind::Line) continue;
        const bool nearEdge =
            op.a <= 1250 + 105 || op.a >= 4750 - 105 || op.b <= 250 + 105 || op.b >= 3750 - 105;
        EXPECT_TRUE(nearEdge) << op.a << " " << op.b;
    }
}

TEST_F(PageRendererTest, SplineSetsGetWorkSpaceWhenNoneIsGiven) {
    addSet({1, 3, 5, 7, 9}, {1, 4, 2, 8, 5}, {2, 0, 0, 0});
    render(doc, drawing, messages);
    EXPECT_TRUE(messages.messages().empty());
    int lines = 0;
    for (const auto& op : picture.ops())
        lines += op.kind == Picture::Kind::Line && op.a > 1300 && op.a < 4700;
    EXPECT_GT(lines, 50);  // sampled, not five straight segments
}

TEST_F(PageRendererTest, WorkSpaceOnlyForSplinesSizedToTheirSet) {
    std::vector<double> xs, ys;
    for (int i = 0; i < 5000; ++i) {
        xs.push_back(i * 0.002);
        ys.push_back(5 + std::sin(i * 0.01));
    }
    addSet(xs, ys, {1, 0, 0, 0});                        // straight lines through many points
    DataSet& spline = addSet({1, 3, 5, 7}, {1, 4, 2, 8}, {1, 0, 0, 0});
    CurveWorkSpace work;
    render(doc, drawing, messages, &work);
    EXPECT_EQ(work.size(), 0u);
    spline.params.interp = 2;
    render(doc, drawing, messages, &work);
    EXPECT_EQ(work.size(), curveWorkSize(4));
    spline.params.interp = 1;
    render(doc, drawing, messages, &work);
    EXPECT_EQ(work.size(), 0u);
}

}  // namespace
}  // namespace varnex
