#include "render/spline.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

// Points 1..n (element 0 unused) and room for the coefficients.
struct Fit {
    std::vector<double> x, y, b, c, d;
    int n;

    Fit(std::vector<double> xs, std::vector<double> ys) : n(static_cast<int>(xs.size())) {
        x = {0};
        y = {0};
        x.insert(x.end(), xs.begin(), xs.end());
        y.insert(y.end(), ys.begin(), ys.end());
        b.assign(x.size(), 0);
        c.assign(x.size(), 0);
        d.assign(x.size(), 0);
    }
    int run(testing::RecordingMessageBoxes& messages, SplineEnd first = {}, SplineEnd last = {}) {
        return dascm(x, y, n, first, last, b, c, d, messages);
    }
    double value(int i, double t) const { return y[i] + t * (b[i] + t * (c[i] + t * d[i])); }
};

double cubic(double v) {
    return 0.5 * v * v * v - 2 * v * v + v - 3;
}

TEST(SplineTest, TwoPointsGiveTheStraightSegment) {
    testing::RecordingMessageBoxes messages;
    Fit fit({1, 3}, {2, 8});
    EXPECT_EQ(fit.run(messages), 0);
    EXPECT_DOUBLE_EQ(fit.b[1], 3);
    EXPECT_DOUBLE_EQ(fit.c[1], 0);
    EXPECT_DOUBLE_EQ(fit.d[1], 0);
    EXPECT_TRUE(messages.messages().empty());
}

TEST(SplineTest, EstimatedSlopesReproduceACubic) {
    testing::RecordingMessageBoxes messages;
    const std::vector<double> xs{-2, -0.5, 0, 1.5, 2, 3.25, 5};
    std::vector<double> ys;
    for (double v : xs) ys.push_back(cubic(v));
    Fit fit(xs, ys);
    ASSERT_EQ(fit.run(messages), 0);
    for (int i = 1; i < fit.n; ++i) {
        const double h = fit.x[i + 1] - fit.x[i];
        for (double f : {0.0, 0.3, 0.5, 0.9, 1.0}) {
            EXPECT_NEAR(fit.value(i, f * h), cubic(fit.x[i] + f * h), 1e-10)
                << "interval " << i << " at " << f;
        }
    }
    // The interval's own coefficients are the Taylor coefficients of the cubic at x[i].
    EXPECT_NEAR(fit.b[2], 1.5 * 0.25 + 2 * 1 + 1, 1e-10);  // p'(−0.5)
    EXPECT_NEAR(fit.d[2], 0.5, 1e-10);
}

TEST(SplineTest, EndConditions) {
    testing::RecordingMessageBoxes messages;
    const std::vector<double> xs{0, 1, 2.5, 3, 4};
    const std::vector<double> ys{1, -1, 2, 0.5, 1};
    const int last = 4;
    auto secondDerivative = [](const Fit& f, int i) { return 2 * f.c[i]; };  // M_i, i < n
    auto endSecondDerivative = [&](const Fit& f) {
        return 2 * f.c[last] + 6 * f.d[last] * (f.x[5] - f.x[4]);
    };
    auto slope = [](const Fit& f, int i, double t) { return f.b[i] + t * (2 * f.c[i] + 3 * t * f.d[i]); };

    Fit natural(xs, ys);
    ASSERT_EQ(natural.run(messages, {1, 0}, {1, 0}), 0);
    EXPECT_NEAR(secondDerivative(natural, 1), 0, 1e-12);
    EXPECT_NEAR(endSecondDerivative(natural), 0, 1e-12);

    Fit given(xs, ys);
    ASSERT_EQ(given.run(messages, {1, 2.5}, {1, -4}), 0);
    EXPECT_NEAR(secondDerivative(given, 1), 2.5, 1e-12);
    EXPECT_NEAR(endSecondDerivative(given), -4, 1e-12);

    Fit clamped(xs, ys);
    ASSERT_EQ(clamped.run(messages, {2, 3}, {2, -1}), 0);
    EXPECT_NEAR(slope(clamped, 1, 0), 3, 1e-12);
    EXPECT_NEAR(slope(clamped, last, 1), -1, 1e-12);

    Fit ratio(xs, ys);
    ASSERT_EQ(ratio.run(messages, {3, 0.5}, {3, 1}), 0);
    EXPECT_NEAR(secondDerivative(ratio, 1), 0.5 * secondDerivative(ratio, 2), 1e-12);
    EXPECT_NEAR(endSecondDerivative(ratio), secondDerivative(ratio, last), 1e-12);

    // Every interval joins the next with the same value, slope and curvature.
    for (const Fit* f : {&natural, &given, &clamped, &ratio}) {
        for (int i = 1; i < last; ++i) {
            const double h = f->x[i + 1] - f->x[i];
            EXPECT_NEAR(f->value(i, h), f->y[i + 1], 1e-12);
            EXPECT_NEAR(slope(*f, i, h), f->b[i + 1], 1e-12);
            EXPECT_NEAR(2 * f->c[i] + 6 * f->d[i] * h, 2 * f->c[i + 1], 1e-12);
        }
    }
    EXPECT_TRUE(messages.messages().empty());
}

TEST(SplineTest, ThreePointsUseAllThreeForTheEndSlopes) {
    // The end slopes are those of the parabola through the three points, so a parabola is reproduced.
    testing::RecordingMessageBoxes messages;
    Fit fit({0, 1, 3}, {0, 1, 9});
    ASSERT_EQ(fit.run(messages), 0);
    EXPECT_NEAR(fit.b[1], 0, 1e-12);
    EXPECT_NEAR(fit.c[1], 1, 1e-12);
    EXPECT_NEAR(fit.d[1], 0, 1e-12);
    EXPECT_NEAR(fit.b[2], 2, 1e-12);
    EXPECT_NEAR(fit.value(2, 1), 4, 1e-12);
}

TEST(SplineTest, ErrorsAreReportedOnce) {
    struct Case {
        const char* name;
        std::vector<double> x;
        SplineEnd first, last;
        int code;
    };
    const Case cases[] = {
        {"one point", {1}, {}, {}, 2000},
        {"type 0", {1, 2, 3}, {0, 0}, {}, 2000},
        {"type 5", {1, 2, 3}, {}, {5, 0}, 2000},
        {"equal abscissae inside", {1, 2, 2, 3}, {}, {}, 2100},
        {"decreasing inside, natural ends", {1, 2, 4, 3, 5, 6, 7, 8}, {1, 0}, {1, 0}, 2100},
        {"equal abscissae in the end window", {1, 2, 3, 3.5, 3.5}, {1, 0}, {}, 2100},
        {"two equal points, natural ends", {4, 4}, {1, 0}, {1, 0}, 2100},
        {"two decreasing points", {4, 3}, {}, {}, 2100},
    };
    for (const Case& c : cases) {
        testing::RecordingMessageBoxes messages;
        Fit fit(c.x, std::vector<double>(c.x.size(), 1.0));
        EXPECT_EQ(fit.run(messages, c.first, c.last), c.code) << c.name;
        ASSERT_EQ(messages.messages().size(), 1u) << c.name;
        EXPECT_EQ(messages.messages()[0].kind, "inform");
        EXPECT_EQ(messages.messages()[0].caption, "VarnexWin32 3.26c Error");
        EXPECT_EQ(messages.messages()[0].text,
                  c.code == 2000 ? "*** IER=2000, DASCM ***" : "*** IER=2100, DASCM ***")
            << c.name;
    }
}

TEST(SplineTest, ShortArraysAreRefused) {
    testing::RecordingMessageBoxes messages;
    Fit fit({1, 2, 3, 4}, {1, 2, 3, 4});
    fit.b.resize(3);  // needs 4
    EXPECT_EQ(fit.run(messages), 2000);
    EXPECT_EQ(dascm(std::span<const double>(fit.x).first(4), fit.y, 4, {}, {}, fit.c, fit.c, fit.d, messages),
              2000);
}

}  // namespace
}  // namespace varnex
