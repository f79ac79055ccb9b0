// Lines replayed onto pixels go through the program's own stroke rasteriser: they must ink the pixels
// the platform's stroker inks, and cost bounded time whatever the order of the points.
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <random>

#include "image_ink.h"
#include "render/output/qt/export.h"

using varnex::LogicalPoint;
using varnex::Picture;

namespace {

enum class Shape { Wave, RandomOrder, ZigZag };

// A polyline of `count` points within the frame of a default graph (1250..4750 logical units).
std::vector<LogicalPoint> shapePoints(Shape shape, int count) {
    std::vector<LogicalPoint> points;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> frame(1250, 4750);
    for (int i = 0; i < count; ++i) {
        const double share = i / static_cast<double>(count);
        switch (shape) {
            case Shape::Wave: {
                const double y = 3000 + 1500 * std::sin(i / 900.0) + ((i * 7919) % 61) - 30;
                points.push_back(
                    {static_cast<std::int32_t>(1250 + 3500 * share), static_cast<std::int32_t>(y)});
                break;
            }
            case Shape::RandomOrder:
                points.push_back({frame(random), frame(random)});
                break;
            case Shape::ZigZag:
                points.push_back({static_cast<std::int32_t>(1250 + 3500 * share), i % 2 == 0 ? 1250 : 4750});
                break;
        }
    }
    return points;
}

Picture polylinePicture(const std::vector<LogicalPoint>& points, int width) {
    Picture picture;
    picture.pen(0, width, 0);
    for (std::size_t i = 0; i < points.size(); ++i)
        i == 0 ? picture.move(points[i]) : picture.line(points[i]);
    return picture;
}

}  // namespace

Q_DECLARE_METATYPE(Shape)

class RasterReplayTest : public QObject {
    Q_OBJECT

private slots:
    // Without antialiasing a pixel is ink or paper. The replay must ink the pixels that stroking every
    // segment with the painter inks, but for the edge of the stroke.
    void inksThePixelsOfThePaintersStrokes_data() {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("width");
        QTest::newRow("noisy wave, 67 points a pixel column") << Shape::Wave << 20000 << 15;
        QTest::newRow("random order") << Shape::RandomOrder << 300 << 15;
        QTest::newRow("random order, wide pen") << Shape::RandomOrder << 60 << 120;
        QTest::newRow("zig-zag") << Shape::ZigZag << 400 << 15;
        QTest::newRow("wave, thinnest pen") << Shape::Wave << 2000 << 0;
    }
    void inksThePixelsOfThePaintersStrokes() {
        QFETCH(Shape, shape);
        QFETCH(int, count);
        QFETCH(int, width);
        constexpr int kSide = 300;
        const std::vector<LogicalPoint> points = shapePoints(shape, count);
        const QImage ours = varnex::test::replayed(polylinePicture(points, width), kSide, kSide);

        QImage painters(kSide, kSide, QImage::Format_RGB32);
        painters.fill(Qt::white);
        QPainter painter(&painters);
        varnex::setupIsotropic(painter, painters.size());
        QPen pen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pen.setCosmetic(width == 0);
        painter.setPen(pen);
        for (std::size_t i = 1; i < points.size(); ++i) {
            painter.drawLine(QPointF(points[i - 1].x, points[i - 1].y), QPointF(points[i].x, points[i].y));
        }
        painter.end();

        if (qEnvironmentVariableIsSet("VARNEX_SAVE_IMAGES")) {
            ours.save(QString("/tmp/raster-%1-ours.png").arg(QTest::currentDataTag()));
            painters.save(QString("/tmp/raster-%1-painter.png").arg(QTest::currentDataTag()));
        }
        // Pixels may differ only at the edge of the stroke: each one has ink next to it in both images.
        const auto inkNear = [](const QImage& image, int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < kSide && ny < kSide &&
                        varnex::test::isInk(image, nx, ny)) {
                        return true;
                    }
                }
            return false;
        };
        int differing = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                if (varnex::test::isInk(ours, x, y) == varnex::test::isInk(painters, x, y)) continue;
                ++differing;
                QVERIFY2(inkNear(ours, x, y) && inkNear(painters, x, y),
                         qPrintable(QString("pixel %1, %2").arg(x).arg(y)));
            }
        const int ink = varnex::test::inkCount(painters);
        QVERIFY(ink > 500);
        QVERIFY2(differing * 5 < ink, qPrintable(QString("%1 of %2 pixels differ").arg(differing).arg(ink)));
    }

    // Antialiased, the darkness of the whole stroke is that of the painter's own polyline.
    void antialiasedInkMatchesThePaintersPolyline() {
        constexpr int kSide = 400;
        const std::vector<LogicalPoint> points = shapePoints(Shape::RandomOrder, 40);
        auto darkness = [](const QImage& image) {
            double sum = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) sum += 255 - qGray(image.pixel(x, y));
            return sum;
        };
        QImage ours(kSide, kSide, QImage::Format_RGB32);
        ours.fill(Qt::white);
        QPainter painter(&ours);
        painter.setRenderHint(QPainter::Antialiasing);
        varnex::setupIsotropic(painter, ours.size());
        varnex::replayPicture(polylinePicture(points, 30), painter);
        painter.end();

        QImage painters(kSide, kSide, QImage::Format_RGB32);
        painters.fill(Qt::white);
        painter.begin(&painters);
        painter.setRenderHint(QPainter::Antialiasing);
        varnex::setupIsotropic(painter, painters.size());
        painter.setPen(QPen(Qt::black, 30, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF polyline;
        for (const LogicalPoint& p : points) polyline << QPointF(p.x, p.y);
        painter.drawPolyline(polyline);
        painter.end();
        const double ratio = darkness(ours) / darkness(painters);
        QVERIFY2(ratio > 0.97 && ratio < 1.03, qPrintable(QString::number(ratio)));
    }

    // A run of lines far longer than the pieces it is rasterised in: the one long diagonal, at any
    // place in the run, is drawn whole.
    void longRunIsDrawnAcrossItsPieces_data() {
        QTest::addColumn<int>("at");
        for (const int at : {1, 65534, 65535, 65536, 131071, 199999})
            QTest::newRow(qPrintable(QString::number(at))) << at;
    }
    void longRunIsDrawnAcrossItsPieces() {
        QFETCH(int, at);
        Picture picture;
        picture.pen(0, 30, 0);
        picture.move({100, 100});
        // Back and forth at the top left, the diagonal as line number `at`, then back and forth at the
        // bottom right, all on the line x = y.
        for (int k = 0; k < 200000; ++k) {
            const std::int32_t near = k % 2 == 0 ? 300 : 100, far = k % 2 == 0 ? 4900 : 4700;
            picture.line(k < at ? LogicalPoint{near, near} : LogicalPoint{far, far});
        }
        QCOMPARE(picture.ops().size(), std::size_t{200002});
        const QImage image = varnex::test::replayed(picture, 200, 200);
        for (const int p : {40, 80, 100, 120, 160})
            QVERIFY2(varnex::test::isInk(image, p, p), qPrintable(QString::number(p)));
    }

    // On a device of two pixels per logical pixel the lines land on the device's own pixels.
    void linesFollowTheDevicePixelRatio() {
        QImage image(400, 400, QImage::Format_RGB32);
        image.setDevicePixelRatio(2);
        image.fill(Qt::white);
        Picture picture;
        picture.pen(0, 100, 0);
        picture.move({1000, 2500});
        picture.line({4000, 2500});
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        varnex::setupIsotropic(painter, QSize(200, 200));  // logical pixels
        varnex::replayPicture(picture, painter);
        painter.end();
        image.setDevicePixelRatio(1);
        const QRect ink = varnex::test::inkBounds(image);
        // 1000..4000 units of 5000 on 400 pixels, 100 units wide with round caps: 4 pixels each way.
        QVERIFY2(std::abs(ink.left() - 76) <= 1 && std::abs(ink.right() - 323) <= 1,
                 qPrintable(QString("%1..%2").arg(ink.left()).arg(ink.right())));
        QVERIFY2(std::abs(ink.top() - 196) <= 1 && std::abs(ink.bottom() - 203) <= 1,
                 qPrintable(QString("%1..%2").arg(ink.top()).arg(ink.bottom())));
    }

    // Once minutes: the painter's stroker with one wide antialiased polyline crossing itself. Now
    // bounded by the segments and the pixels (well under a second here; 10 s leaves room for a busy
    // machine).
    void selfCrossingPicturesExportInBoundedTime_data() {
        QTest::addColumn<QString>("shape");
        QTest::newRow("10,000 points in random order") << "random";
        QTest::newRow("100,000-point zig-zag") << "zigzag";
        QTest::newRow("36 sets of 200 points in random order") << "sets";
    }
    void selfCrossingPicturesExportInBoundedTime() {
        QFETCH(QString, shape);
        Picture picture;
        if (shape == "random") picture = polylinePicture(shapePoints(Shape::RandomOrder, 10000), 15);
        if (shape == "zigzag") picture = polylinePicture(shapePoints(Shape::ZigZag, 100000), 15);
        if (shape == "sets") {
            std::vector<LogicalPoint> all = shapePoints(Shape::RandomOrder, 36 * 200);
            picture.pen(0, 15, 0);
            for (std::size_t i = 0; i < all.size(); ++i)
                i % 200 == 0 ? picture.move(all[i]) : picture.line(all[i]);
        }
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::string path = dir.filePath("out.png").toStdString();
        QElapsedTimer timer;
        timer.start();
        std::string error;
        QVERIFY2(varnex::exportPicture(picture, path, 15, 1772, &error), error.c_str());
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString("%1 ms").arg(timer.elapsed())));
        const QImage image(QString::fromStdString(path));
        QCOMPARE(image.size(), QSize(1772, 1772));
        QVERIFY(varnex::test::isInk(image, 886, 886));  // the middle of the frame is covered
    }
};

QTEST_MAIN(RasterReplayTest)
#include "raster_replay_test.moc"
