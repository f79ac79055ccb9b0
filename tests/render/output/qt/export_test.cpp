#include "render/output/qt/export.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

#include "image_ink.h"

namespace varnex {
namespace {

Picture smallGraph() {
    Picture picture;
    picture.pen(0, 10, 0);
    picture.move({1250, 3750});
    picture.line({4750, 3750});
    picture.line({4750, 250});
    picture.font(245, 0, "Times New Roman");
    picture.text(13, {1250, 4000}, "温度 [K]");
    picture.font(245, 90, "Times New Roman");
    picture.text(13, {500, 3000}, "Signal");
    return picture;
}

// The first two numbers of `name="…"`-style or `/Name [..]`-style text found by a pattern.
double firstNumber(const QByteArray& bytes, const QString& pattern) {
    const QRegularExpressionMatch match = QRegularExpression(pattern).match(QString::fromLatin1(bytes));
    return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    std::string pathOf(const QString& name) const { return QDir(m_dir->path()).filePath(name).toStdString(); }

private slots:
    // Each test writes into a folder of its own.
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    // Any width an output accepts, from the narrowest to the widest, beyond the panel's 20 cm too.
    static void widths() {
        QTest::addColumn<double>("printw");
        QTest::newRow("15 cm") << 15.0;
        QTest::newRow("1.23 cm") << 1.23;
        QTest::newRow("12.3456 cm") << 12.3456;
        QTest::newRow("25 cm") << 25.0;
        QTest::newRow("3.52 cm, 99.78 points") << 3.52;
        QTest::newRow("0.001 cm") << 0.001;
        QTest::newRow("500 cm") << 500.0;
    }

    void svgIsPrintwCentimetresSquare_data() { widths(); }
    void svgIsPrintwCentimetresSquare() {
        QFETCH(double, printw);
        std::string error;
        QVERIFY2(exportPicture(smallGraph(), pathOf("graph.SVG"), printw, 0, &error), error.c_str());
        const QByteArray svg = fileBytes(QString::fromStdString(pathOf("graph.SVG")));
        QVERIFY(std::abs(firstNumber(svg, R"(width="([0-9.]+)mm")") - printw * 10) <= 0.01);
        QVERIFY(std::abs(firstNumber(svg, R"(height="([0-9.]+)mm")") - printw * 10) <= 0.01);
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 5000, 5000));
        QVERIFY(svg.contains("<text"));  // text stays text, not pixels
    }

    void pdfPageIsPrintwCentimetresSquare_data() { widths(); }
    void pdfPageIsPrintwCentimetresSquare() {
        QFETCH(double, printw);
        std::string error;
        QVERIFY2(exportPicture(smallGraph(), pathOf("graph.Pdf"), printw, 0, &error), error.c_str());
        const QByteArray pdf = fileBytes(QString::fromStdString(pathOf("graph.Pdf")));
        QVERIFY(pdf.startsWith("%PDF"));
        const QRegularExpressionMatch box =
            QRegularExpression(R"(/MediaBox \[0 0 +([0-9.]+) +([0-9.]+)\])").match(QString::fromLatin1(pdf));
        QVERIFY(box.hasMatch());
        const double pointsPerMm = 72 / 25.4;
        QVERIFY2(std::abs(box.captured(1).toDouble() / pointsPerMm - printw * 10) <= 0.01, qPrintable(box.captured(0)));
        QVERIFY(std::abs(box.captured(2).toDouble() / pointsPerMm - printw * 10) <= 0.01);
        QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
        // The file is still whole: the cross-reference table is where the trailer says.
        const QRegularExpressionMatch start = QRegularExpression(R"(startxref\s+([0-9]+))").match(QString::fromLatin1(pdf));
        QVERIFY(start.hasMatch());
        QVERIFY(pdf.mid(start.captured(1).toLongLong(), 4) == "xref");
    }

    void pngHasTheRequestedSizeAndResolution() {
        std::string error;
        QVERIFY(exportPicture(smallGraph(), pathOf("graph.png"), 10, 640, &error));
        QImage image;
        QVERIFY(image.load(QString::fromStdString(pathOf("graph.png"))));
        QCOMPARE(image.size(), QSize(640, 640));
        QCOMPARE(image.dotsPerMeterX(), 6400);  // 640 pixels over 10 cm
        QCOMPARE(image.pixel(639, 639), qRgb(255, 255, 255));
        // 0.128 pixel per unit: the lines at y = 3750 and x = 4750.
        QVERIFY(test::isInk(image, 400, 480));
        QVERIFY(test::isInk(image, 608, 240));
        QVERIFY(!test::isInk(image, 400, 240));
    }

    void failuresLeaveNoFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("printw");
        QTest::addColumn<int>("pngSize");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown extension") << "graph.bmp" << 15.0 << 500 << ".svg, .pdf or .png";
        QTest::newRow("no extension") << "graph" << 15.0 << 500 << ".svg, .pdf or .png";
        QTest::newRow("missing folder") << "no/such/folder/graph.png" << 15.0 << 500 << "Cannot write";
        QTest::newRow("folder is a file") << "plain.txt/graph.svg" << 15.0 << 500 << "Cannot write";
        QTest::newRow("zero width") << "graph.svg" << 0.0 << 500 << "must be from 0.001 to 500 cm";
        QTest::newRow("negative width") << "graph.png" << -15.0 << 500 << "-15 cm wide";
        QTest::newRow("narrower than 0.01 mm") << "graph.svg" << 0.0009 << 500 << "width";
        QTest::newRow("wider than 5 m") << "graph.pdf" << 500.5 << 500 << "width";
        QTest::newRow("not a number") << "graph.pdf" << std::nan("") << 500 << "width";
        QTest::newRow("empty image") << "graph.png" << 15.0 << 0 << "image size";
        QTest::newRow("huge image") << "graph.png" << 15.0 << 100000 << "image size";
    }
    void failuresLeaveNoFile() {
        QFETCH(QString, name);
        QFETCH(double, printw);
        QFETCH(int, pngSize);
        QFETCH(QString, message);
        QFile plain(QDir(m_dir->path()).filePath("plain.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        std::string error;
        QVERIFY(!exportPicture(smallGraph(), pathOf(name), printw, pngSize, &error));
        QVERIFY2(QString::fromStdString(error).contains(message), error.c_str());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"plain.txt"});
        QVERIFY(!exportPicture(smallGraph(), pathOf(name), printw, pngSize, nullptr));
    }

    void exportReplacesAnEarlierFile() {
        const QString path = QString::fromStdString(pathOf("graph.png"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QVERIFY(exportPicture(smallGraph(), path.toStdString(), 15, 100, nullptr));
        QVERIFY(fileBytes(path).startsWith("\x89PNG"));
    }

    // The PNG is drawn when asked for, after the picture it was copied from is gone.
    void clipboardHoldsSvgAndPngAt300Dpi() {
        auto picture = std::make_unique<Picture>(smallGraph());
        const std::unique_ptr<QMimeData> data = clipboardMimeData(*picture, 15);
        picture.reset();
        QVERIFY(data);
        QVERIFY(data->hasFormat("image/svg+xml"));
        QVERIFY(data->hasFormat("image/png"));
        QVERIFY(data->formats().contains("image/png"));
        QCOMPARE(firstNumber(data->data("image/svg+xml"), R"(width="([0-9.]+)mm")"), 150.0);
        const QImage png = QImage::fromData(data->data("image/png"), "PNG");
        QCOMPARE(png.size(), QSize(1772, 1772));  // round(15 / 2.54 × 300)
        QVERIFY(std::abs(png.dotsPerMeterX() * 0.0254 - 300) < 0.5);
        QVERIFY(test::inkCount(png) > 0);

        std::string error;
        QVERIFY(!clipboardMimeData(smallGraph(), 0, &error));
        QVERIFY(QString::fromStdString(error).contains("0 cm wide"));
        QVERIFY(!clipboardMimeData(smallGraph(), 600));
        QVERIFY(clipboardMimeData(smallGraph(), 25));
    }

    // The clipboard's PNG: about 300 dpi, its size in pixels and dots per metre chosen so that it is
    // printw wide to 0.005 mm; beyond 4096 pixels the resolution drops instead.
    void clipboardPngGeometry_data() {
        QTest::addColumn<double>("printw");
        QTest::addColumn<int>("side");
        QTest::newRow("15 cm") << 15.0 << 1772;
        QTest::newRow("1.23 cm, one pixel off 300 dpi") << 1.23 << 145;
        QTest::newRow("34.6 cm") << 34.6 << 4087;
        QTest::newRow("0.001 cm") << 0.001 << 1;
        QTest::newRow("100 cm, 104 dpi") << 100.0 << 4096;
    }
    void clipboardPngGeometry() {
        QFETCH(double, printw);
        QFETCH(int, side);
        const PngGeometry g = pngGeometry(printw, kClipboardPngDpi, kMaxClipboardPngSize);
        QCOMPARE(g.side, side);
        QVERIFY(std::abs(1000.0 * g.side / g.dotsPerMetre - printw * 10) <= 0.005);
    }
};

}  // namespace varnex

QTEST_MAIN(varnex::ExportTest)
#include "export_test.moc"
