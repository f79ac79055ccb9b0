#include "render/output/stroke_raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace varnex {
namespace {

// The coverage render() hands out, gathered into a width × height image (clip at the origin); fails
// the test when a pixel comes twice, lies outside the clip or bands come out of order.
struct Canvas {
    int width, height;
    std::vector<int> pixels;

    Canvas(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), -1) {}

    void take(StrokeRaster& raster) {
        int lastTop = -1;
        raster.render([&](const StrokeRaster::Band& band) {
            EXPECT_GT(band.top, lastTop);
            lastTop = band.top;
            ASSERT_GE(band.left, 0);
            ASSERT_LE(band.left + band.width, width);
            ASSERT_GE(band.top, 0);
            ASSERT_LE(band.top + band.rows, height);
            EXPECT_LE(band.rows, StrokeRaster::kBandRows);
            for (int r = 0; r < band.rows; ++r)
                for (int c = 0; c < band.width; ++c) {
                    int& pixel = at(band.left + c, band.top + r);
                    EXPECT_EQ(pixel, -1) << "pixel " << band.left + c << ", " << band.top + r << " twice";
                    pixel = band.coverage[static_cast<std::size_t>(r) * band.stride +
                                          static_cast<std::size_t>(c)];
                }
        });
    }
    int& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    int value(int x, int y) const { return std::max(0, pixels[static_cast<std::size_t>(y * width + x)]); }
    // Covered area in pixels.
    double ink() const {
        double sum = 0;
        for (int v : pixels) sum += std::max(0, v) / 255.0;
        return sum;
    }
};

Canvas draw(const std::vector<std::vector<DevicePoint>>& polylines, double width, int side = 200,
            bool antialiased = true) {
    StrokeRaster raster;
    raster.setClip(0, 0, side, side);
    raster.setAntialiased(antialiased);
    for (const auto& points : polylines) raster.addPolyline(points, width);
    Canvas canvas(side, side);
    canvas.take(raster);
    EXPECT_TRUE(raster.empty());
    return canvas;
}

TEST(StrokeRasterTest, ASegmentCoversItsRoundEndedStroke) {
    struct Case {
        DevicePoint a, b;
        double width;
    } cases[] = {
        {{20, 50.5}, {180, 50.5}, 4},                                         // along a row
        {{50.5, 20}, {50.5, 180}, 4},                                         // along a column
        {{30, 40}, {170, 160}, 6},                                            // diagonal
        {{30.3, 170.7}, {160.1, 20.2}, 2.5}, {{100, 100}, {100.2, 100}, 10},  // almost a dot
        {{40, 60}, {160, 61}, 0.3},  // thinner than a pixel: one pixel wide
    };
    for (const Case& c : cases) {
        const Canvas canvas = draw({{c.a, c.b}}, c.width);
        const double w = std::max(c.width, 1.0);
        const double length = std::hypot(c.b.x - c.a.x, c.b.y - c.a.y);
        const double area = length * w + std::numbers::pi * w * w / 4;
        EXPECT_NEAR(canvas.ink(), area, 0.03 * area + 2) << c.width;
        // The middle of the segment is covered; a pixel beyond the stroke's reach is not.
        const DevicePoint mid{(c.a.x + c.b.x) / 2, (c.a.y + c.b.y) / 2};
        if (w >= 2) {
            EXPECT_EQ(canvas.value(static_cast<int>(mid.x), static_cast<int>(mid.y)), 255);
        }
        const double nx = -(c.b.y - c.a.y) / length, ny = (c.b.x - c.a.x) / length;
        const double away = w / 2 + 1.5;
        EXPECT_EQ(canvas.value(static_cast<int>(mid.x + nx * away), static_cast<int>(mid.y + ny * away)), 0);
    }
}

// However the segments of a polyline cross and overlap, each pixel gets the coverage of the
// strongest stroke over it: drawing the segments in any order, or twice, changes nothing.
TEST(StrokeRasterTest, CoverageIsTheUnionWhateverTheOrder) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> coordinate(-20, 220);  // some beyond the clip
    std::vector<DevicePoint> points(300);
    for (auto& p : points) p = {coordinate(random), coordinate(random)};
    std::vector<std::vector<DevicePoint>> apart;
    for (std::size_t k = 1; k < points.size(); ++k) apart.push_back({points[k - 1], points[k]});
    const Canvas whole = draw({points}, 3);
    std::shuffle(apart.begin(), apart.end(), random);
    const Canvas shuffled = draw(apart, 3);
    apart.insert(apart.end(), apart.begin(), apart.begin() + 50);
    const Canvas twice = draw(apart, 3);
    EXPECT_EQ(whole.pixels, shuffled.pixels);
    EXPECT_EQ(whole.pixels, twice.pixels);
}

// Thousands of points within one pixel column going up and down fill the column between their
// extremes (no gaps), and a single point far above the rest (a spike) still reaches its height.
TEST(StrokeRasterTest, DenseStretchFillsItsSpanAndKeepsSpikes) {
    std::vector<DevicePoint> points;
    for (int i = 0; i < 4000; ++i) {
        const double x = 20 + i * 0.04;  // 25 points per pixel column
        double y = 100 + ((i * 7919) % 41) - 20;
        if (i == 2000) y = 10;  // the spike
        points.push_back({x, y});
    }
    StrokeRaster raster;
    raster.setClip(0, 0, 200, 200);
    raster.addPolyline(points, 1);
    EXPECT_LT(raster.figureCount(), 4000u / 3);  // two per quarter column, not one per point
    Canvas canvas(200, 200);
    canvas.take(raster);
    // Within the band every column reaches (80 to 120, less the odd extreme): dark throughout.
    for (int x = 21; x < 179; ++x)
        for (int y = 86; y < 114; ++y) EXPECT_GE(canvas.value(x, y), 245) << x << ", " << y;
    EXPECT_GT(canvas.value(100, 11), 128);  // the top of the spike
    EXPECT_GT(canvas.value(100, 50), 128);  // and its way up
    EXPECT_EQ(canvas.value(100, 8), 0);
}

TEST(StrokeRasterTest, OnlyPixelsOfTheClipComeOut) {
    StrokeRaster raster;
    raster.setClip(50, 60, 120, 90);
    raster.addPolyline(std::vector<DevicePoint>{{0, 0}, {200, 200}, {0, 200}, {200, 0}}, 8);
    raster.addPolyline(std::vector<DevicePoint>{{1e12, -1e12}, {-1e12, 1e12}}, 3);  // far beyond, through it
    int pixels = 0;
    raster.render([&](const StrokeRaster::Band& band) {
        EXPECT_GE(band.left, 50);
        EXPECT_LE(band.left + band.width, 120);
        EXPECT_GE(band.top, 60);
        EXPECT_LE(band.top + band.rows, 90);
        pixels += band.width * band.rows;
    });
    EXPECT_GT(pixels, 0);

    StrokeRaster none;  // no clip given: nothing at all
    none.addPolyline(std::vector<DevicePoint>{{0, 0}, {10, 10}}, 3);
    EXPECT_TRUE(none.empty());
}

TEST(StrokeRasterTest, PointsThatAreNotFiniteBreakThePolyline) {
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    const Canvas broken = draw({{{20, 20}, {180, 20}, {nan, 50}, {20, 180}, {inf, 0}, {180, 180}}}, 3);
    const Canvas apart = draw({{{20, 20}, {180, 20}}}, 3);
    const Canvas single = draw({{{20, 180}}}, 3);  // a single point draws nothing
    EXPECT_EQ(broken.pixels, apart.pixels);
    EXPECT_EQ(single.ink(), 0);
}

TEST(StrokeRasterTest, WithoutAntialiasingPixelsAreWholeOrEmpty) {
    const Canvas canvas = draw({{{20, 30}, {170, 150}, {40, 160}}}, 5, 200, false);
    double covered = 0;
    for (int v : canvas.pixels) {
        EXPECT_TRUE(v <= 0 || v == 255) << v;
        covered += v == 255;
    }
    const double length = std::hypot(150, 120) + std::hypot(130, 10);
    EXPECT_NEAR(covered, length * 5, 0.05 * length * 5);
}

}  // namespace
}  // namespace varnex
