// The graph on the screen, on the clipboard and on the printer: one recorded picture replayed scaled
// into the graph window, as SVG and PNG of printw cm, and printw cm square at the print offsets.
#include <QImage>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

#include "app/desktop_fixture.h"
#include "graph/graph_view.h"
#include "graph/graph_window.h"
#include "graph/picture_bridge.h"
#include "panels/parameter_panels.h"
#include "shell/commands.h"

namespace varnex {
namespace {

using testing::DesktopFixture;
using testing::kRunData;

// A picture that fills the whole 5000 × 5000 square with black.
std::shared_ptr<const Picture> filledSquare() {
    auto picture = std::make_shared<Picture>();
    picture->pen(0, 0, 0);
    picture->brush(0);
    picture->rect({0, 0}, {5000, 5000});
    return picture;
}

bool isBlack(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 64; }
bool isWhite(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) > 192; }

}  // namespace

class GraphOutputTest : public QObject {
    Q_OBJECT
private slots:
    void pictureIsScaledIntoTheGraphWindow_data();
    void pictureIsScaledIntoTheGraphWindow();
    void clearedWindowIsWhite();
    void repaintShowsTheNewPictureAndSize();
    void copyPutsSvgAndPngOfPrintWidth();
    void printPlacesThePictureAtTheOffsets();
    void printWritesAPdfPage();
    void nothingIsOutputWithoutData();
    void storedWidthAbove20IsOutput();
    void absurdWidthIsRefusedWithAMessage_data();
    void absurdWidthIsRefusedWithAMessage();
};

void GraphOutputTest::pictureIsScaledIntoTheGraphWindow_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QPoint>("inside");
    QTest::addColumn<QPoint>("outside");
    // The picture is min(width, height) square at the top left of the client area.
    QTest::newRow("wide 800x600") << QSize(800, 600) << QPoint(595, 595) << QPoint(605, 300);
    QTest::newRow("tall 600x800") << QSize(600, 800) << QPoint(595, 595) << QPoint(300, 605);
    QTest::newRow("square 300x300") << QSize(300, 300) << QPoint(295, 295) << QPoint(299, 299);
}

void GraphOutputTest::pictureIsScaledIntoTheGraphWindow() {
    QFETCH(QSize, client);
    QFETCH(QPoint, inside);
    QFETCH(QPoint, outside);
    GraphWindow window;
    window.resize(client + QSize(2, 2));  // the 1-pixel border
    window.showPicture(filledSquare());
    const QImage image = window.grab().toImage();
    const QPoint border(1, 1);
    QVERIFY(isBlack(image, 1 + 2, 1 + 2));
    QVERIFY(isBlack(image, (inside + border).x(), (inside + border).y()));
    if (client.width() != client.height()) QVERIFY(isWhite(image, (outside + border).x(), (outside + border).y()));
}

void GraphOutputTest::clearedWindowIsWhite() {
    GraphWindow window;
    window.resize(202, 202);
    window.showPicture(filledSquare());
    window.clear();
    const QImage image = window.grab().toImage();
    QVERIFY(isWhite(image, 100, 100));
}

// The window keeps the picture replayed for its size: a new picture or a new size must not show the
// image kept from before.
void GraphOutputTest::repaintShowsTheNewPictureAndSize() {
    GraphWindow window;
    window.resize(202, 202);
    window.showPicture(filledSquare());
    QVERIFY(isBlack(window.grab().toImage(), 150, 150));
    QVERIFY(isBlack(window.grab().toImage(), 150, 150));  // painted again from the kept image

    auto line = std::make_shared<Picture>();  // a wide line across the top only
    line->pen(0, 200, 0);
    line->move({0, 500});
    line->line({5000, 500});
    window.showPicture(line);
    QImage image = window.grab().toImage();
    QVERIFY(isWhite(image, 150, 150));
    QVERIFY(isBlack(image, 100, 1 + 20));

    window.resize(402, 402);  // twice as large: the line moves down with the scale
    image = window.grab().toImage();
    QVERIFY(isBlack(image, 300, 1 + 40));
    QVERIFY(isWhite(image, 300, 1 + 20));
}

void GraphOutputTest::copyPutsSvgAndPngOfPrintWidth() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    f.desktop().actions().runCommand(command::kCopyGraph);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY(data->hasFormat("image/svg+xml"));
    QVERIFY(data->hasFormat("image/png"));
    const QImage png = QImage::fromData(data->data("image/png"), "PNG");
    // print width=15: 15 / 2.54 × 300 = 1771.65 pixels.
    QCOMPARE(png.size(), QSize(1772, 1772));
    const QByteArray svg = data->data("image/svg+xml");
    QVERIFY(svg.contains("width=\"150mm\"") || svg.contains("width=\"15cm\"") || svg.contains("viewBox=\"0 0 5000 5000\""));
}

void GraphOutputTest::printPlacesThePictureAtTheOffsets() {
    // 254 dpi: 100 pixels a centimetre. printw 10 cm, offsets 2 cm and 1 cm.
    QImage page(1500, 1500, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        paintPrintPage(*filledSquare(), painter, 254, 254, 10, 2, 1);
    }
    QVERIFY(isWhite(page, 195, 500));
    QVERIFY(isBlack(page, 205, 500));
    QVERIFY(isWhite(page, 500, 95));
    QVERIFY(isBlack(page, 500, 105));
    QVERIFY(isBlack(page, 1195, 1095));
    QVERIFY(isWhite(page, 1205, 500));
    QVERIFY(isWhite(page, 500, 1105));
}

void GraphOutputTest::printWritesAPdfPage() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    QTemporaryDir dir;
    const QString file = dir.filePath("graph.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    QVERIFY(f.desktop().graph().printTo(f.document(), printer));
    QCOMPARE(printer.docName(), QString("Varnex for Windows"));
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.contains("/Type /Page"));
}

void GraphOutputTest::nothingIsOutputWithoutData() {
    DesktopFixture f;
    f.start("");
    QGuiApplication::clipboard()->setText("unchanged");
    QVERIFY(!f.desktop().graph().copyPicture(f.document(), *QGuiApplication::clipboard()));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("unchanged"));
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("none.pdf"));
    QVERIFY(!f.desktop().graph().printTo(f.document(), printer));
    QVERIFY(!QFile::exists(dir.filePath("none.pdf")));
    QVERIFY(!f.window().graphWindow().showsPicture());
}

// A parameter file may hold any width; only the panel's input is limited to 20 cm.
void GraphOutputTest::storedWidthAbove20IsOutput() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.write("run.P",
            "view=1\n\nvtitle=run\nxtype=0\nxsize=100%\nxtitle=x\nxfont=Times New Roman\nytype=0\n"
            "ysize=100%\nytitle=y\nyfont=Times New Roman\nxmin=0\nymin=10\nxmax=4\nymax=25\nprintw=25\n"
            "framewidth=0.3\ngraphwidth=0.3\nmarkersize=1.3\ndata=2\n1 1 0 0 0\n2 1 0 0 0\n");
    f.start(f.path("run.dat"));
    QCOMPARE(f.document().printw, 25.0);
    QGuiApplication::clipboard()->clear();
    f.desktop().actions().runCommand(command::kCopyGraph);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasFormat("image/svg+xml"));
    QVERIFY(data->data("image/svg+xml").contains("width=\"250mm\""));

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("graph.pdf"));
    QVERIFY(f.desktop().graph().printTo(f.document(), printer));
    QVERIFY(f.boxes.messages().empty());
}

void GraphOutputTest::absurdWidthIsRefusedWithAMessage_data() {
    QTest::addColumn<double>("printw");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative") << -4.0;
    QTest::newRow("wider than 5 m") << 1e6;
}

void GraphOutputTest::absurdWidthIsRefusedWithAMessage() {
    QFETCH(double, printw);
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    f.desktop().document().printw = printw;
    f.desktop().panels().refresh(f.document());  // as after every change: Copy applies the panels first
    QGuiApplication::clipboard()->setText("unchanged");
    f.desktop().actions().runCommand(command::kCopyGraph);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("unchanged"));
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("graph.pdf"));
    QVERIFY(!f.desktop().graph().printTo(f.document(), printer));
    QVERIFY(!QFile::exists(dir.filePath("graph.pdf")));
    QCOMPARE(f.boxes.messages().size(), std::size_t{2});
    for (const auto& message : f.boxes.messages()) {
        QCOMPARE(message.caption, std::string("VarnexWin32 3.26c Error"));
        QVERIFY2(message.text.find("must be from 0.001 to 500 cm") != std::string::npos, message.text.c_str());
    }
}

}  // namespace varnex

QTEST_MAIN(varnex::GraphOutputTest)
#include "graph_output_test.moc"
