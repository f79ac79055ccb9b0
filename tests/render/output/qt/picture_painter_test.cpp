#include "render/output/qt/picture_painter.h"

#include <QTest>

#include "image_ink.h"
#include "render/output/qt/picture_font.h"
#include "render/output/qt/qt_text_measurer.h"

namespace varnex {
namespace {

using test::inkBounds;
using test::inkCount;
using test::isInk;
using test::replayed;

Picture blackSquare() {
    Picture picture;
    picture.pen(0, 0, 0);
    picture.brush(0);
    picture.rect({0, 0}, {5000, 5000});
    return picture;
}

// One text of the given code at the centre (2500, 2500) in a cell of 600 logical units.
Picture centreText(int code, int angle, std::string_view text) {
    Picture picture;
    picture.font(600, angle, "Times New Roman");
    picture.text(code, {2500, 2500}, text);
    return picture;
}

}  // namespace

class PicturePainterTest : public QObject {
    Q_OBJECT

private slots:
    void squareIsAnchoredTopLeft_data() {
        QTest::addColumn<QSize>("device");
        QTest::newRow("wide 800x600") << QSize(800, 600);
        QTest::newRow("tall 600x800") << QSize(600, 800);
        QTest::newRow("square 300x300") << QSize(300, 300);
    }
    void squareIsAnchoredTopLeft() {
        QFETCH(QSize, device);
        const QImage image = replayed(blackSquare(), device.width(), device.height());
        const int side = std::min(device.width(), device.height());
        const QRect ink = inkBounds(image);
        QCOMPARE(ink.topLeft(), QPoint(0, 0));
        // The outline of the last logical unit may touch one more pixel.
        QVERIFY2(ink.right() >= side - 1 && ink.right() <= side, qPrintable(QString::number(ink.right())));
        QVERIFY2(ink.bottom() >= side - 1 && ink.bottom() <= side, qPrintable(QString::number(ink.bottom())));
        QVERIFY(isInk(image, side / 2, side - 2));
        QVERIFY(isInk(image, side - 2, side / 2));
    }

    // A horizontal line at y = 2500 on a 500-pixel square (0.1 pixel per unit): its thickness in pixels
    // is a tenth of the pen width, and its round caps reach half the width beyond the ends.
    void penWidthIsInLogicalUnitsWithRoundCaps_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("pixels");
        QTest::newRow("cosmetic 0") << 0 << 1;
        QTest::newRow("50 units") << 50 << 5;
        QTest::newRow("100 units") << 100 << 10;
        QTest::newRow("400 units") << 400 << 40;
    }
    void penWidthIsInLogicalUnitsWithRoundCaps() {
        QFETCH(int, width);
        QFETCH(int, pixels);
        Picture picture;
        picture.pen(0, width, 0);
        picture.move({1000, 2500});
        picture.line({4000, 2500});
        const QImage image = replayed(picture, 500, 500);
        const QRect ink = inkBounds(image);
        QVERIFY2(std::abs(ink.height() - pixels) <= 1, qPrintable(QString::number(ink.height())));
        const int cap = pixels / 2;
        QVERIFY2(std::abs(ink.left() - (100 - cap)) <= 1, qPrintable(QString::number(ink.left())));
        QVERIFY2(std::abs(ink.right() - (400 + cap)) <= 1, qPrintable(QString::number(ink.right())));
    }

    void linesFollowTheCurrentPosition() {
        Picture picture;
        picture.pen(0, 0, 0);
        picture.move({1000, 1000});
        picture.line({4000, 1000});
        picture.line({4000, 4000});
        const QImage image = replayed(picture, 500, 500);
        QVERIFY(isInk(image, 250, 100));
        QVERIFY(isInk(image, 400, 250));
        QVERIFY(!isInk(image, 250, 250));
    }

    void coloursComeFromTheTable() {
        Picture picture;
        picture.pen(0, 200, 1);   // red outline
        picture.brush(4);         // blue fill
        picture.rect({1000, 1000}, {4000, 4000});
        picture.brush(6);         // cyan
        picture.pen(0, 0, 2);     // green
        picture.ellipse({100, 100}, {700, 700});
        picture.polygon({{4300, 4300}, {4900, 4300}, {4900, 4900}});
        const QImage image = replayed(picture, 500, 500);
        QCOMPARE(image.pixel(250, 250), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(100, 250), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(40, 40), qRgb(0, 255, 255));
        QCOMPARE(image.pixel(480, 440), qRgb(0, 255, 255));
        QCOMPARE(image.pixel(440, 480), qRgb(255, 255, 255));  // outside the triangle
    }

    // The reference point (250, 250 in pixels) against the text's ink.
    void textIsAlignedByItsCode() {
        const QRect left = inkBounds(replayed(centreText(13, 0, "Hxx"), 500, 500));
        QVERIFY(left.left() >= 250 && left.left() <= 256);
        QVERIFY(left.top() > 250);  // top-aligned: the text hangs below its point

        const QRect right = inkBounds(replayed(centreText(12, 0, "Hxx"), 500, 500));
        QVERIFY(right.right() < 250 && right.right() >= 244);

        const QRect centred = inkBounds(replayed(centreText(11, 0, "Hxx"), 500, 500));
        QVERIFY(std::abs(centred.center().x() - 250) <= 3);

        const QRect bottom = inkBounds(replayed(centreText(23, 0, "Hxx"), 500, 500));
        QVERIFY(bottom.bottom() < 250);
        QCOMPARE(bottom.left(), left.left());
    }

    // At 90 degrees the text runs upwards from its point and its top faces left.
    void rotatedTextTurnsAboutItsPoint() {
        const QRect upwards = inkBounds(replayed(centreText(13, 90, "Hxx"), 500, 500));
        QVERIFY(upwards.bottom() <= 256 && upwards.bottom() >= 244);
        QVERIFY(upwards.left() > 250);
        QVERIFY(upwards.height() > upwards.width());
    }

    // The cell height is the whole line: ascent + descent of the font as drawn.
    void fontCellIsTheLineHeight_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("cell");
        QTest::newRow("Times 245") << "Times New Roman" << 245;
        QTest::newRow("Arial 700") << "Arial" << 700;
        QTest::newRow("default face") << "" << 175;
    }
    void fontCellIsTheLineHeight() {
        QFETCH(QString, face);
        QFETCH(int, cell);
        const QFont font = pictureFont(face.toStdString(), cell);
        QVERIFY2(std::abs(QFontMetricsF(font).height() - cell) <= cell * 0.02 + 1,
                 qPrintable(QString::number(QFontMetricsF(font).height())));
    }

    void timesNewRomanResolvesToATimesLikeFace() {
        const QString family = QFontInfo(pictureFont("Times New Roman", 245)).family();
        QVERIFY2(family.contains("Liberation Serif") || family.contains("Times"), qPrintable(family));
    }

    void absurdCellHeightsStayDrawable() {
        QCOMPARE(pictureFont("Arial", 0).pixelSize(), 1);
        QCOMPARE(pictureFont("Arial", -40).pixelSize(), 1);
        QVERIFY(pictureFont("Arial", 2'000'000'000).pixelSize() <= kMaxCellHeight);
    }

    // Japanese text falls back to a face that has its glyphs: two different characters give
    // different ink, which placeholder boxes would not.
    void japaneseTextRendersItsGlyphs() {
        const QImage on = replayed(centreText(13, 0, "温"), 500, 500);
        const QImage degree = replayed(centreText(13, 0, "度"), 500, 500);
        QVERIFY(inkCount(on) > 100);
        QVERIFY(inkCount(degree) > 100);
        QVERIFY(on != degree);
    }

    void measurerAgreesWithTheReplayFont() {
        const QtTextMeasurer measurer;
        const QFont font = pictureFont("Times New Roman", 245);
        QCOMPARE(measurer.textWidth("Temperature", 245, "Times New Roman"),
                 QFontMetricsF(font).horizontalAdvance("Temperature"));
        QCOMPARE(measurer.textWidth("", 245, "Times New Roman"), 0.0);
        const double small = measurer.textWidth("Temperature", 245, "Times New Roman");
        const double large = measurer.textWidth("Temperature", 490, "Times New Roman");
        QVERIFY(std::abs(large / small - 2) < 0.05);
        // The centred text's ink is about as wide as the measured width, in logical units.
        const QRect ink = inkBounds(replayed(centreText(11, 0, "Temperature"), 500, 500));
        const double measured = measurer.textWidth("Temperature", 600, "Times New Roman") / 10;
        QVERIFY2(std::abs(ink.width() - measured) < measured * 0.1, qPrintable(QString::number(ink.width())));
    }

    void textBeforeAnyFontUsesTheDefaultFont() {
        Picture picture;
        picture.text(13, {1000, 1000}, "abc");
        QVERIFY(inkCount(replayed(picture, 500, 500)) > 0);
    }

    void replayLeavesThePainterAsItWas() {
        QImage image(100, 100, QImage::Format_RGB32);
        QPainter painter(&image);
        const QPen pen(Qt::green, 3);
        painter.setPen(pen);
        replayPicture(centreText(13, 90, "x"), painter);
        QCOMPARE(painter.pen(), pen);
        QVERIFY(painter.transform().isIdentity());
    }

    // Printing at 600 dpi, 15 cm wide: 3543 dots square; an offset of 2 cm at a width of 10 cm moves the
    // window origin to -1000 logical units.
    void printPageMapsCentimetres() {
        QImage image(10, 10, QImage::Format_RGB32);
        QPainter painter(&image);
        setupPrintPage(painter, 600, 600, 15, 0, 0);
        QCOMPARE(painter.viewport(), QRect(0, 0, 3543, 3543));
        QCOMPARE(painter.window(), QRect(0, 0, 5000, 5000));
        setupPrintPage(painter, 600, 300, 10, 2, 0.5);
        QCOMPARE(painter.window(), QRect(-1000, -250, 5000, 5000));
        QCOMPARE(painter.viewport(), QRect(0, 0, 2362, 1181));
    }

    // Reading a device point back to logical units undoes the isotropic mapping of the replay.
    void deviceMapsBackToLogicalUnits_data() {
        QTest::addColumn<QSize>("device");
        QTest::newRow("wide 800x600") << QSize(800, 600);
        QTest::newRow("tall 333x917") << QSize(333, 917);
        QTest::newRow("one pixel") << QSize(1, 1);
    }
    void deviceMapsBackToLogicalUnits() {
        QFETCH(QSize, device);
        QImage image(device, QImage::Format_RGB32);
        QPainter painter(&image);
        setupIsotropic(painter, device);
        for (const QPointF logical : {QPointF(0, 0), QPointF(1250, 250), QPointF(4321.5, 17), QPointF(5000, 5000)}) {
            const std::optional<QPointF> back = logicalOfDevice(painter.combinedTransform().map(logical), device);
            QVERIFY(back.has_value());
            QVERIFY2(std::abs(back->x() - logical.x()) < 1e-9 && std::abs(back->y() - logical.y()) < 1e-9,
                     qPrintable(QString("%1 %2").arg(back->x()).arg(back->y())));
        }
        QVERIFY(!logicalOfDevice(QPointF(1, 1), QSize(0, 40)).has_value());
    }
};

}  // namespace varnex

QTEST_MAIN(varnex::PicturePainterTest)
#include "picture_painter_test.moc"
