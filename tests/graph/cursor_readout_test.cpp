// The cursor read-out through the mapping that paints the picture: the value read where a marker is
// drawn, the frame's edges, logarithmic axes and the status texts.
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>

#include "document/model.h"
#include "graph/cursor_readout.h"
#include "graph/picture_bridge.h"
#include "render/output/qt/qt_text_measurer.h"
#include "render/page_renderer.h"
#include "support/data_sets.h"
#include "support/recording_message_boxes.h"

namespace varnex {
namespace {

// The graph window's client area inside a 1-pixel border.
QRect clientOf(QSize window) { return QRect(1, 1, window.width() - 2, window.height() - 2); }

Document markerDocument(int xtype, double xmin, double xmax, int ytype, double ymin, double ymax) {
    Document doc;
    doc.xtype = static_cast<std::int8_t>(xtype);
    doc.ytype = static_cast<std::int8_t>(ytype);
    doc.xmin = xmin;
    doc.xmax = xmax;
    doc.ymin = ymin;
    doc.ymax = ymax;
    doc.framewidth = doc.graphwidth = 0.3;
    doc.markersize = 1.3;
    return doc;
}

// A document whose transformed limits and frame are those of a drawing, without drawing it.
Document drawnLimits(int xtype, double xmin, double xmax, int ytype, double ymin, double ymax) {
    Document doc = markerDocument(xtype, xmin, xmax, ytype, ymin, ymax);
    doc.data = 1;
    layoutPage(doc);
    return doc;
}

// The centre of the ink in a box around `near` (window pixels), as a pointer position: the pixel
// whose centre lies nearest to it.
QPointF inkCentre(const QImage& image, QPoint near, int half) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = near.y() - half; y <= near.y() + half; ++y) {
        for (int x = near.x() - half; x <= near.x() + half; ++x) {
            if (!image.rect().contains(x, y) || qGray(image.pixel(x, y)) > 128) continue;
            sx += x + 0.5;
            sy += y + 0.5;
            ++n;
        }
    }
    if (n == 0) return QPointF(-1, -1);
    return QPointF(std::floor(sx / n), std::floor(sy / n));
}

}  // namespace

class CursorReadoutTest : public QObject {
    Q_OBJECT
private slots:
    void valueReadAtADrawnMarkerIsItsValue_data();
    void valueReadAtADrawnMarkerIsItsValue();
    void frameEdgesAreInside_data();
    void frameEdgesAreInside();
    void equalPixelStepsOnALogAxisGiveEqualRatios();
    void statusTexts();
};

void CursorReadoutTest::valueReadAtADrawnMarkerIsItsValue_data() {
    QTest::addColumn<QSize>("window");
    QTest::addColumn<int>("xtype");
    QTest::addColumn<int>("ytype");
    QTest::newRow("linear, square") << QSize(402, 402) << 0 << 0;
    QTest::newRow("linear, wide") << QSize(733, 517) << 0 << 0;
    QTest::newRow("log x, tall") << QSize(389, 640) << 1 << 0;
    QTest::newRow("log y of negative values") << QSize(611, 611) << 0 << -1;
}

void CursorReadoutTest::valueReadAtADrawnMarkerIsItsValue() {
    QFETCH(QSize, window);
    QFETCH(int, xtype);
    QFETCH(int, ytype);
    Document doc = ytype == -1 ? markerDocument(xtype, -4, 13, -1, -1000, -0.01)
                               : markerDocument(xtype, xtype == 1 ? 0.5 : -4, xtype == 1 ? 5000 : 13, 0, -20, 80);
    const std::vector<double> xs = xtype == 1 ? std::vector<double>{1, 7.5, 300} : std::vector<double>{-1, 2.5, 9};
    const std::vector<double> ys = ytype == -1 ? std::vector<double>{-300, -2, -0.07} : std::vector<double>{0, 31, 66};
    doc.sets[1] = testing::dataSetOf(xs, ys);
    doc.sets[1].params = {0, 0, 1, 1};  // squares, no line
    doc.data = 1;
    testing::RecordingMessageBoxes messages;
    const QtTextMeasurer measurer;
    const Picture picture = recordPicture(doc, measurer, messages);

    QImage image(window, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QRect client = clientOf(window);
    paintPicture(picture, painter, client);
    painter.end();

    const int side = std::min(client.width(), client.height());
    const double frameWidth = side * (doc.area[1] - doc.area[0]) / 100;
    const double frameHeight = side * (doc.area[3] - doc.area[2]) / 100;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const double tx = scale(xs[i], xtype), ty = scale(ys[i], ytype);
        const QPoint predicted(client.x() + int(side * pageX(doc, tx) / 100),
                               client.y() + int(side * (100 - pageY(doc, ty)) / 100));
        const QPointF pointer = inkCentre(image, predicted, 8);
        const std::optional<CursorValue> read = cursorValueAt(doc, pointer, client);
        QVERIFY(read.has_value());
        // One pixel's worth of each axis, in transformed units.
        const double pixelX = (doc.txmax - doc.txmin) / frameWidth;
        const double pixelY = (doc.tymax - doc.tymin) / frameHeight;
        QVERIFY2(std::abs(scale(read->x, xtype) - tx) <= pixelX,
                 qPrintable(QString("x %1 read as %2").arg(xs[i]).arg(read->x)));
        QVERIFY2(std::abs(scale(read->y, ytype) - ty) <= pixelY,
                 qPrintable(QString("y %1 read as %2").arg(ys[i]).arg(read->y)));
    }
}

void CursorReadoutTest::frameEdgesAreInside_data() {
    // A client square of 410 pixels puts every edge of the default frame (25..95) on a pixel centre:
    // left and right at 102.5 and 389.5, top and bottom at 20.5 and 307.5.
    QTest::addColumn<QSize>("window");
    QTest::newRow("square") << QSize(412, 412);
    QTest::newRow("wide: the square at the left") << QSize(900, 412);
    QTest::newRow("tall: the square at the top") << QSize(412, 900);
}

void CursorReadoutTest::frameEdgesAreInside() {
    QFETCH(QSize, window);
    const Document doc = drawnLimits(0, -10, 10, 0, 100, 200);
    const QRect client = clientOf(window);
    const auto at = [&](int x, int y) { return cursorValueAt(doc, QPointF(client.x() + x, client.y() + y), client); };
    const struct {
        int x, y;
        bool inside;
        double valueX, valueY;
    } cases[] = {
        {102, 150, true, -10, 0},  {101, 150, false, 0, 0}, {389, 150, true, 10, 0},  {390, 150, false, 0, 0},
        {200, 20, true, 0, 200},   {200, 19, false, 0, 0},  {200, 307, true, 0, 100}, {200, 308, false, 0, 0},
        {102, 307, true, -10, 100}, {389, 20, true, 10, 200},
    };
    for (const auto& c : cases) {
        const std::optional<CursorValue> v = at(c.x, c.y);
        QVERIFY2(v.has_value() == c.inside, qPrintable(QString("%1 %2").arg(c.x).arg(c.y)));
        if (!v) continue;
        if (c.valueX != 0) QCOMPARE(v->x, c.valueX);
        if (c.valueY != 0) QCOMPARE(v->y, c.valueY);
    }
}

void CursorReadoutTest::equalPixelStepsOnALogAxisGiveEqualRatios() {
    const Document doc = drawnLimits(1, 0.001, 1000, 0, 0, 1);
    const QRect client = clientOf(QSize(502, 502));
    double previous = 0;
    double ratio = 0;
    for (int x = 140; x <= 460; x += 40) {
        const std::optional<CursorValue> v = cursorValueAt(doc, QPointF(client.x() + x, 250), client);
        QVERIFY(v.has_value());
        if (previous > 0 && ratio > 0) QVERIFY(std::abs(v->x / previous / ratio - 1) < 1e-9);
        if (previous > 0) ratio = v->x / previous;
        previous = v->x;
    }
    // Six decades over 350 pixels: 40 pixels make 10^(6 × 40 / 350).
    QVERIFY(std::abs(ratio / std::pow(10.0, 6.0 * 40 / 350) - 1) < 1e-9);
}

void CursorReadoutTest::statusTexts() {
    QCOMPARE(cursorText({1.5, 200}), QString("x=1.5          y=200         "));
    QCOMPARE(cursorText({-1.23456789e-7, 1e21}), QString("x=-1.23457e-07 y=1e+21       "));

    Document doc = drawnLimits(0, 0, 10, 0, 0, 10);
    const QRect client = clientOf(QSize(412, 412));
    Readout inside = readoutAt(doc, QPointF(200, 200), client);
    QVERIFY(inside.changes && inside.value);
    QCOMPARE(inside.cursor, cursorText(*inside.value));
    QCOMPARE(inside.hint, QString("popup menu forsetting range and getting value at cursor by mouse right button"));
    const Readout outside = readoutAt(doc, QPointF(5, 5), client);
    QVERIFY(outside.changes && !outside.value);
    QVERIFY(outside.cursor.isEmpty() && outside.hint.isEmpty());
    doc.data = 0;  // an empty Document leaves the status bar alone
    QVERIFY(!readoutAt(doc, QPointF(200, 200), client).changes);
}

}  // namespace varnex

QTEST_MAIN(varnex::CursorReadoutTest)
#include "cursor_readout_test.moc"
