// The layout arithmetic of the main window and the choice of the shell font.
#include <QtTest>

#include "shell/layout.h"
#include "shell/shell_fonts.h"

namespace varnex {

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void statusPartsFollowTheWidth_data();
    void statusPartsFollowTheWidth();
    void graphWindowStaysSquareBesideTheTabs_data();
    void graphWindowStaysSquareBesideTheTabs();
    void initialSizeComesFromTheWorkArea_data();
    void initialSizeComesFromTheWorkArea();
    void shellFontPrefersTerminalThenSystem();
};

void LayoutTest::statusPartsFollowTheWidth_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("cursor");  // the width the read-out needs in part 1
    QTest::addColumn<int>("edge0");
    QTest::addColumn<int>("edge1");
    QTest::addColumn<int>("edge2");
    QTest::newRow("wide") << 1000 << 180 << 740 << 920 << 1000;
    QTest::newRow("exactly 300") << 300 << 180 << 40 << 220 << 300;
    QTest::newRow("narrower than 300") << 120 << 180 << 40 << 220 << 300;
    QTest::newRow("no width") << 0 << 180 << 40 << 220 << 300;
    QTest::newRow("read-out narrower than the part") << 1000 << 120 << 740 << 920 << 1000;
    QTest::newRow("wider read-out takes room from part 0") << 1000 << 240 << 680 << 920 << 1000;
    QTest::newRow("wider read-out, narrow window") << 300 << 240 << 40 << 280 << 360;
}

void LayoutTest::statusPartsFollowTheWidth() {
    QFETCH(int, width);
    QFETCH(int, cursor);
    QFETCH(int, edge0);
    QFETCH(int, edge1);
    QFETCH(int, edge2);
    const auto edges = statusPartEdges(width, cursor);
    QCOMPARE(edges[0], edge0);
    QCOMPARE(edges[1], edge1);
    QCOMPARE(edges[2], edge2);
}

void LayoutTest::graphWindowStaysSquareBesideTheTabs_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");  // above the status bar
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("tabHeight");
    QTest::newRow("initial 1024x738 work area") << 697 << 442 << 432 << 432;
    QTest::newRow("wide: height decides") << 1200 << 500 << 490 << 490;
    QTest::newRow("tall: width decides") << 600 << 900 << 335 << 890;
    QTest::newRow("narrower than 266") << 265 << 400 << 0 << 390;
    QTest::newRow("not taller than 10") << 800 << 10 << 0 << 0;
    QTest::newRow("negative height") << 800 << -20 << 0 << 0;
}

void LayoutTest::graphWindowStaysSquareBesideTheTabs() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, side);
    QFETCH(int, tabHeight);
    QCOMPARE(graphWindowRect(width, height), (Rect{260, 5, side, side}));
    QCOMPARE(tabControlRect(height), (Rect{5, 5, 250, tabHeight}));
}

void LayoutTest::initialSizeComesFromTheWorkArea_data() {
    QTest::addColumn<int>("waX");
    QTest::addColumn<int>("waY");
    QTest::addColumn<int>("waWidth");
    QTest::addColumn<int>("waHeight");
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<int>("graphSide");
    QTest::addColumn<int>("frameX");
    QTest::addColumn<int>("frameY");
    // Metrics: frame 4 × 4, caption 20, menu bar 22, status bar 24.
    QTest::newRow("1024x738: factor 0.6") << 0 << 0 << 1024 << 738 << 697 << 432 << 159 << 111;
    QTest::newRow("800x570: factor 0.74") << 0 << 0 << 800 << 570 << 676 << 411 << 58 << 37;
    QTest::newRow("offset work area") << 100 << 30 << 1920 << 1040 << 879 << 614 << 616 << 201;
}

void LayoutTest::initialSizeComesFromTheWorkArea() {
    QFETCH(int, waX);
    QFETCH(int, waY);
    QFETCH(int, waWidth);
    QFETCH(int, waHeight);
    QFETCH(int, clientWidth);
    QFETCH(int, graphSide);
    QFETCH(int, frameX);
    QFETCH(int, frameY);
    const FrameMetrics metrics{4, 4, 20, 22, 24};
    const InitialGeometry g = initialGeometry({waX, waY, waWidth, waHeight}, metrics);
    QCOMPARE(g.client.width, clientWidth);
    QCOMPARE(g.graphSide, graphSide);
    QCOMPARE(g.frame.width, clientWidth + 8);
    QCOMPARE(g.frame.x, frameX);
    QCOMPARE(g.frame.y, frameY);
    QCOMPARE(g.client.x, g.frame.x + 4);
    QCOMPARE(g.client.y, g.frame.y + 24);
    // The layout of that client area gives the graph window its initial side.
    const int above = g.client.height - metrics.menuBarHeight - metrics.statusBarHeight;
    QCOMPARE(graphWindowRect(g.client.width, above).width, graphSide);
}

void LayoutTest::shellFontPrefersTerminalThenSystem() {
    QCOMPARE(shellFontFamily({"DejaVu Sans", "System", "terminal"}), QString("Terminal"));
    QCOMPARE(shellFontFamily({"DejaVu Sans", "System"}), QString("System"));
    QCOMPARE(shellFontFamily({"DejaVu Sans"}), QString());
    QCOMPARE(shellFont().pixelSize(), 13);
}

}  // namespace varnex

QTEST_MAIN(varnex::LayoutTest)
#include "layout_test.moc"
