// Dense polylines replayed onto pixels are thinned by pixel column; the pixels must not change.
#include <QSvgGenerator>
#include <QtTest>
#include <cmath>

#include "image_ink.h"

using varnex::LogicalPoint;
using varnex::Picture;

class ThinnedReplayTest : public QObject {
    Q_OBJECT

private slots:
    // A noisy wave of 20,000 points across the page: on a 300-pixel image about 67 points share each
    // pixel column. The thinned replay must ink the same pixels as drawing every segment.
    void densePolylineInksTheSamePixels() {
        Picture picture;
        picture.pen(0, 15, 0);
        QPolygonF all;
        for (int i = 0; i <= 20000; ++i) {
            const double x = 200 + i * 0.23;
            const double y = 2500 + 1500 * std::sin(i / 900.0) + ((i * 7919) % 61) - 30;
            const LogicalPoint p{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
            i == 0 ? picture.move(p) : picture.line(p);
            all << QPointF(p.x, p.y);
        }
        const QImage thinned = varnex::test::replayed(picture, 300, 300);

        QImage full(300, 300, QImage::Format_RGB32);
        full.fill(Qt::white);
        QPainter painter(&full);
        varnex::setupIsotropic(painter, full.size());
        QPen pen(Qt::black, 15, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        for (qsizetype i = 1; i < all.size(); ++i) painter.drawLine(all[i - 1], all[i]);
        painter.end();

        if (qEnvironmentVariableIsSet("VARNEX_SAVE_IMAGES")) {
            thinned.save("/tmp/thinned.png");
            full.save("/tmp/full.png");
        }
        // Pixels may differ only at the edge of the stroke: each one has ink next to it in both images.
        const auto inkNear = [](const QImage& image, int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < 300 && ny < 300 && varnex::test::isInk(image, nx, ny)) return true;
                }
            return false;
        };
        int differing = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x) {
                if (varnex::test::isInk(thinned, x, y) == varnex::test::isInk(full, x, y)) continue;
                ++differing;
                QVERIFY2(inkNear(thinned, x, y) && inkNear(full, x, y), qPrintable(QString("pixel %1, %2").arg(x).arg(y)));
            }
        const int ink = varnex::test::inkCount(full);
        QVERIFY(ink > 1000);
        QVERIFY2(differing * 5 < ink, qPrintable(QString("%1 of %2 pixels differ").arg(differing).arg(ink)));
    }
};

QTEST_MAIN(ThinnedReplayTest)
#include "thinned_replay_test.moc"
