#include "render/axes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "document/model.h"
#include "render/mapping.h"
#include "render/output/drawing.h"
#include "render/output/picture.h"
#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

// Half a cell wide per byte.
class HalfCellMeasurer : public TextMeasurer {
public:
    double textWidth(std::string_view text, std::int32_t height, std::string_view) const override {
        return 0.5 * height * static_cast<double>(text.size());
    }
};

struct TextOp {
    int code, x, y, height, angle;
    std::string face, text;
};

// A stroke: a move followed by a line, with the width of the pen it was drawn with.
struct Stroke {
    int x0, y0, x1, y1, width;
};

// Default frame 25..95 in both directions: a = 1.4, d = 2.1 as the renderer derives them.
constexpr double kA = 1.4;
constexpr double kD = 2.1;
constexpr int kTickPen = 5;     // trunc(50 × 0.1)
constexpr int kSubtickPen = 3;  // trunc(50 × 0.0667)

class AxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.tickwidth = 0.1;
        doc.subtickwidth = 0.1 * 2 / 3;
        doc.framewidth = 0.04;
    }

    void setX(int type, double lo, double hi) {
        doc.xtype = static_cast<std::int8_t>(type);
        doc.xmin = lo;
        doc.xmax = hi;
        doc.txmin = scale(lo, type);
        doc.txmax = scale(hi, type);
    }
    void setY(int type, double lo, double hi) {
        doc.ytype = static_cast<std::int8_t>(type);
        doc.ymin = lo;
        doc.ymax = hi;
        doc.tymin = scale(lo, type);
        doc.tymax = scale(hi, type);
    }
    void drawX() { drawXAxis(drawing, doc, kA, kD, messages); }
    void drawY() { drawYAxis(drawing, doc, kA, kD, messages); }

    std::vector<TextOp> texts() const {
        std::vector<TextOp> out;
        int height = 0, angle = 0;
        std::string face;
        for (const auto& op : picture.ops()) {
            if (op.kind == Picture::Kind::Font) {
                height = op.a;
                angle = op.b;
                face = picture.string(op.c);
            } else if (op.kind == Picture::Kind::Text) {
                out.push_back({op.a, op.b, op.c, height, angle, face, picture.string(op.d)});
            }
        }
        return out;
    }
    std::vector<std::string> textStrings() const {
        std::vector<std::string> out;
        for (const auto& t : texts()) out.push_back(t.text);
        return out;
    }
    std::vector<Stroke> strokes() const {
        std::vector<Stroke> out;
        int width = 0, x = 0, y = 0;
        for (const auto& op : picture.ops()) {
            if (op.kind == Picture::Kind::Pen) width = op.b;
            if (op.kind == Picture::Kind::Move) x = op.a, y = op.b;
            if (op.kind == Picture::Kind::Line) {
                out.push_back({x, y, op.a, op.b, width});
                x = op.a;
                y = op.b;
            }
        }
        return out;
    }
    // The strokes drawn with the major or the minor tick pen.
    std::vector<Stroke> strokesOfWidth(int width) const {
        std::vector<Stroke> out;
        for (const auto& s : strokes()) {
            if (s.width == width) out.push_back(s);
        }
        return out;
    }

    Document doc;
    Picture picture;
    HalfCellMeasurer measurer;
    testing::RecordingMessageBoxes messages;
    Drawing drawing{picture, measurer, messages};
};

// Logical x of a page x, and logical y of a page y.
int lx(double px) {
    return static_cast<int>(50 * px);
}
int ly(double py) {
    return static_cast<int>((py - 100) * -50);
}

void expectNear(int actual, int expected, const std::string& what) {
    EXPECT_LE(std::abs(actual - expected), 1) << what << ": " << actual << " vs " << expected;
}

TEST_F(AxesTest, FrameIsTheClosedRectangleOfTheArea) {
    doc.area = {30, 90, 20, 80};
    drawFrame(drawing, doc);
    EXPECT_EQ(picture.dump(),
              "pen 0 2 0\n"
              "move 1500 4000\n"
              "line 4500 4000\n"
              "line 4500 1000\n"
              "line 1500 1000\n"
              "line 1500 4000\n");
}

TEST_F(AxesTest, LinearXAxisLabelsTicksAndTitle) {
    setX(0, 0, 10);
    drawX();
    const auto t = texts();
    ASSERT_EQ(t.size(), 7U);
    EXPECT_EQ(t[0].text, "X");
    EXPECT_EQ(t[0].code, 11);
    expectNear(t[0].x, lx(60), "title x");
    expectNear(t[0].y, ly(25 - 6 * kA), "title y");
    const char* labels[] = {"0", "2", "4", "6", "8", "10"};
    for (int i = 0; i < 6; ++i) {
        const TextOp& label = t[static_cast<std::size_t>(i) + 1];
        EXPECT_EQ(label.text, labels[i]);
        EXPECT_EQ(label.code, 11);
        EXPECT_EQ(label.height, 245);
        EXPECT_EQ(label.face, "Times New Roman");
        expectNear(label.x, lx(25 + 14 * i), label.text);
        expectNear(label.y, ly(25 - 0.5 * kA), label.text);
    }

    // Each tick is a stroke up from the bottom and one down from the top, at the label's x.
    const auto major = strokesOfWidth(kTickPen);
    ASSERT_EQ(major.size(), 12U);
    for (int i = 0; i < 6; ++i) {
        const Stroke& up = major[2 * static_cast<std::size_t>(i)];
        const Stroke& down = major[2 * static_cast<std::size_t>(i) + 1];
        expectNear(up.x0, lx(25 + 14 * i), "tick x");
        EXPECT_EQ(up.x1, up.x0);
        EXPECT_EQ(up.y0, ly(25));
        expectNear(up.y1, ly(25 + kD), "tick top");
        EXPECT_EQ(down.y0, ly(95));
        expectNear(down.y1, ly(95 - kD), "tick bottom");
    }
    // Step 2 has 4 minor intervals: 3 minor ticks in each of the 5 steps inside the range.
    const auto minor = strokesOfWidth(kSubtickPen);
    ASSERT_EQ(minor.size(), 30U);
    expectNear(minor[0].x0, lx(25 + 0.5 * 7), "first minor tick");
    expectNear(minor[0].y1, ly(25 + 0.65 * kD), "minor tick length");
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AxesTest, LinearXAxisFactorAtTheRightEnd) {
    setX(0, 0, 5000);
    drawX();
    const auto t = texts();
    ASSERT_GE(t.size(), 3U);
    EXPECT_EQ(t[1].text, "*10");
    EXPECT_EQ(t[1].code, 12);
    EXPECT_EQ(t[1].height, 245);
    EXPECT_EQ(t[2].text, "3");
    EXPECT_EQ(t[2].code, 13);
    EXPECT_EQ(t[2].height, 183);  // 0.75 × a
    for (const auto* factorText : {&t[1], &t[2]}) {
        expectNear(factorText->x, lx(95), factorText->text);
        expectNear(factorText->y, ly(25 - 6 * kA), factorText->text);
    }
    EXPECT_EQ(textStrings(), (std::vector<std::string>{"X", "*10", "3", "0", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(strokesOfWidth(kSubtickPen).size(), 2 * 20U);  // every 200
}

TEST_F(AxesTest, TickLabelsKeepTheirFaceWhateverTheTitleFonts) {
    doc.xfont = "Arial";
    doc.yfont = "Courier";
    setX(0, 0, 1);
    setY(1, 1, 100);
    drawX();
    drawY();
    const auto t = texts();
    EXPECT_EQ(t.front().face, "Arial");
    EXPECT_EQ(t.back().face, "Courier");
    for (std::size_t i = 1; i + 1 < t.size(); ++i) EXPECT_EQ(t[i].face, "Times New Roman") << t[i].text;
}

TEST_F(AxesTest, LogarithmicXAxisDecadesAndSubDecades) {
    setX(1, 1, 1000);
    drawX();
    const auto t = texts();
    // The title, then "10" and its exponent at each of the decades 0..3; -1 and 4 are outside.
    EXPECT_EQ(textStrings(), (std::vector<std::string>{"X", "10", "0", "10", "1", "10", "2", "10", "3"}));
    for (int q = 0; q <= 3; ++q) {
        const TextOp& base = t[1 + 2 * static_cast<std::size_t>(q)];
        const TextOp& exponent = t[2 + 2 * static_cast<std::size_t>(q)];
        const double px = 25 + q * 70.0 / 3;
        EXPECT_EQ(base.code, 12);
        EXPECT_EQ(base.height, 245);
        expectNear(base.x, lx(px + 0.5 * kA), "base x");
        expectNear(base.y, ly(25 - 2.5 * kA), "base y");
        EXPECT_EQ(exponent.code, 13);
        EXPECT_EQ(exponent.height, 183);
        expectNear(exponent.x, lx(px + 1.25 * kA), "exponent x");
        expectNear(exponent.y, ly(25 - 1.8 * kA), "exponent y");
    }
    EXPECT_EQ(strokesOfWidth(kTickPen).size(), 2 * 4U);
    // 2..9 in each of the three decades inside the range.
    const auto minor = strokesOfWidth(kSubtickPen);
    ASSERT_EQ(minor.size(), 2 * 24U);
    expectNear(minor[0].x0, lx(25 + std::log10(2.0) * 70 / 3), "tick at 2");
}

TEST_F(AxesTest, LogarithmicAxisPartOfADecade) {
    setX(1, 2, 50);
    drawX();
    EXPECT_EQ(textStrings(), (std::vector<std::string>{"X", "10", "1"}));
    EXPECT_EQ(strokesOfWidth(kSubtickPen).size(), 2 * 12U);  // 2..9 and 20..50
}

TEST_F(AxesTest, NegativeLogarithmicAxisReadsFromMostNegative) {
    setX(-1, -1000, -1);
    drawX();
    const auto t = texts();
    EXPECT_EQ(textStrings(), (std::vector<std::string>{"X", "-10", "3", "-10", "2", "-10", "1", "-10", "0"}));
    expectNear(t[1].x, lx(25 + 0.5 * kA), "-1000 at the left end");
    EXPECT_EQ(strokesOfWidth(kSubtickPen).size(), 2 * 24U);
}

TEST_F(AxesTest, ManyDecadesKeepOnlyTheMiddleSubDecadeTick) {
    // Decades -3..5 with lo = -4 and hi = 6: a span of 10, too many for x, still all for y.
    setX(1, 1e-3, 1e5);
    drawX();
    EXPECT_EQ(strokesOfWidth(kSubtickPen).size(), 2 * 8U);
    picture = Picture();
    setY(1, 1e-3, 1e5);
    drawY();
    EXPECT_EQ(strokesOfWidth(kSubtickPen).size(), 2 * 64U);
    picture = Picture();
    setY(1, 1e-4, 1e5);  // a span of 11
    drawY();
    EXPECT_EQ(strokesOfWidth(kSubtickPen).size(), 2 * 9U);
}

TEST_F(AxesTest, LinearYAxisLabelsFactorAndRotatedTitle) {
    setY(0, -5000, -1000);
    drawY();
    const auto t = texts();
    EXPECT_EQ(textStrings(),
              (std::vector<std::string>{"*10", "3", "-5.0", "-4.0", "-3.0", "-2.0", "-1.0", "Y"}));
    expectNear(t[0].x, lx(25 - 10 * kA), "factor x");
    expectNear(t[0].y, ly(95), "factor y");
    EXPECT_EQ(t[0].code, 12);
    EXPECT_EQ(t[1].code, 13);
    for (int i = 0; i < 5; ++i) {
        const TextOp& label = t[2 + static_cast<std::size_t>(i)];
        EXPECT_EQ(label.code, 12);
        expectNear(label.x, lx(25 - kA), label.text);
        expectNear(label.y, ly(25 + 17.5 * i + 1.5 * kA), label.text);
    }
    // Ticks right from the left edge and left from the right edge.
    const auto major = strokesOfWidth(kTickPen);
    ASSERT_EQ(major.size(), 10U);
    EXPECT_EQ(major[0].x0, lx(25));
    expectNear(major[0].x1, lx(25 + kD), "left tick");
    EXPECT_EQ(major[1].x0, lx(95));
    expectNear(major[1].x1, lx(95 - kD), "right tick");
    EXPECT_EQ(major[0].y0, ly(25));

    // The title at 90 degrees, drawn from its start half its width (0.5 × 245 / 100 → 1) lower.
    const TextOp& title = t.back();
    EXPECT_EQ(title.angle, 90);
    EXPECT_EQ(title.height, 245);
    EXPECT_EQ(title.code, 13);
    expectNear(title.x, lx(25 - 12 * kA), "title x");
    expectNear(title.y, ly(60 - 1), "title y");
}

TEST_F(AxesTest, LogarithmicYAxisDecadeLabels) {
    setY(1, 0.01, 10);
    drawY();
    const auto t = texts();
    EXPECT_EQ(textStrings(), (std::vector<std::string>{"10", "-2", "10", "-1", "10", "0", "10", "1", "Y"}));
    expectNear(t[0].x, lx(25 - 3.5 * kA), "base x");
    expectNear(t[0].y, ly(25 + 1.5 * kA), "base y");
    expectNear(t[1].x, lx(25 - 3.5 * kA), "exponent x");
    expectNear(t[1].y, ly(25 + 2.25 * kA), "exponent y");
    EXPECT_EQ(strokesOfWidth(kTickPen).size(), 2 * 4U);
}

TEST_F(AxesTest, FailedMeshLeavesTitleOtherAxisAndFrame) {
    setX(0, 1, 1 + 1e-9);
    setY(0, 0, 1);
    drawX();
    drawY();
    drawFrame(drawing, doc);
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(messages.messages()[0].kind, "inform");
    EXPECT_EQ(messages.messages()[0].caption, "VarnexWin32 3.26c Error");
    EXPECT_EQ(messages.messages()[0].text, "Can not make axis mesh.");
    const auto strings = textStrings();
    EXPECT_EQ(strings.front(), "X");
    EXPECT_EQ(strings[1], "0.0");             // the y axis follows directly
    EXPECT_EQ(strokesOfWidth(2).size(), 4U);  // the frame

    // Both axes failing: one message for each.
    messages.clear();
    setY(0, 0, 0);
    drawX();
    drawY();
    EXPECT_EQ(messages.messages().size(), 2U);
}

TEST_F(AxesTest, EmptyTitleWritesNothingVisible) {
    doc.xtitle = "";
    setX(0, 0, 10);
    drawX();
    const auto t = texts();
    EXPECT_EQ(t[0].text, "");
    EXPECT_EQ(t.size(), 7U);
}

TEST_F(AxesTest, ExtremeRangesFinish) {
    // 601 decades: every decade labelled, one sub-decade tick each.
    setX(1, 1e-300, 1e300);
    drawX();
    EXPECT_EQ(texts().size(), 1 + 2 * 601U);
    EXPECT_EQ(strokesOfWidth(kSubtickPen).size(), 2 * 600U);

    // Wrong-sign limit on a negative logarithmic axis: its transform is +100.
    picture = Picture();
    setY(-1, -1e300, 5);
    drawY();
    EXPECT_FALSE(picture.empty());

    // A linear range wider than the largest double: labelled in steps of 5e307 with the factor.
    picture = Picture();
    const double big = std::numeric_limits<double>::max();
    setX(0, -big, big);
    drawX();
    EXPECT_EQ(textStrings(), (std::vector<std::string>{"X", "*10", "309", "-0.15", "-0.10", "-0.05", "0.00", "0.05",
                                                       "0.10", "0.15"}));
    EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
}  // namespace varnex
