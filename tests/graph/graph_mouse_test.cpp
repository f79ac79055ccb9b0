// The mouse on the graph window of a running desktop: the read-out in the status bar, the range pop-up
// with its items, and the range, position and copy commands it sends through the command path.
#include <QClipboard>
#include <QMouseEvent>
#include <QPointer>
#include <QtTest>

#include "app/desktop_fixture.h"
#include "app/graph_commands.h"
#include "graph/clipboard_text.h"
#include "graph/cursor_readout.h"
#include "graph/graph_mouse.h"
#include "graph/graph_window.h"
#include "panels/parameter_panels.h"
#include "util/numbers.h"

namespace varnex {

using testing::DesktopFixture;
using testing::kRunData;

namespace {

void send(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// The window pixel whose centre shows page point (px, py).
QPointF pixelAt(const GraphWindow& window, double px, double py) {
    const QRect client = window.clientArea();
    const int side = std::min(client.width(), client.height());
    return QPointF(client.x() + std::floor(px / 100 * side), client.y() + std::floor((100 - py) / 100 * side));
}

// (ids, labels) of a menu's actions; separators as 0 and "-".
QStringList itemsOf(const QMenu* menu) {
    QStringList items;
    for (const QAction* a : menu->actions()) {
        items << (a->isSeparator() ? QString("-") : QString("%1 %2").arg(a->data().toInt()).arg(a->text()));
    }
    return items;
}

QAction* itemOf(QMenu* popup, int sub, int id) {
    for (QAction* a : popup->actions()[sub]->menu()->actions()) {
        if (!a->isSeparator() && a->data().toInt() == id) return a;
    }
    return nullptr;
}

int visibleMenus() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += qobject_cast<QMenu*>(w) && w->isVisible() ? 1 : 0;
    return n;
}

}  // namespace

class GraphMouseTest : public QObject {
    Q_OBJECT
private slots:
    void readoutFollowsThePointer();
    void readoutWaitsForData();
    void popupHoldsThreeSubMenus();
    void onePopupAtATime();
    void positionCommandsFromThePopup();
    void reversedRangeIsDrawn();
    void rangeCommandsThroughTheCommandPath();
    void copyCommands();
    void helpTextsWhileHighlighted();
};

void GraphMouseTest::readoutFollowsThePointer() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    GraphWindow& graph = f.window().graphWindow();
    MainWindow& w = f.window();
    send(graph, QEvent::MouseMove, pixelAt(graph, 60, 60));
    QVERIFY(w.statusText(kCursorPart).startsWith("x="));
    QCOMPARE(w.statusText(kMessagePart), QString(kCursorHint));
    const CursorValue cursor = graphMouseOf(f.desktop())->cursor();
    QCOMPARE(w.statusText(kCursorPart), cursorText(cursor));
    // Part 1 holds the whole read-out, the y value included.
    const auto [left, right] = w.statusPartSpan(kCursorPart);
    QVERIFY(right - left > QFontMetrics(w.font()).horizontalAdvance(w.statusText(kCursorPart)));
    // The middle of the default frame lies half-way through the range.
    const Document& doc = f.document();
    QVERIFY(std::abs(cursor.x - (doc.xmin + doc.xmax) / 2) < (doc.xmax - doc.xmin) / 100);

    send(graph, QEvent::MouseMove, pixelAt(graph, 10, 60));  // left of the frame
    QCOMPARE(w.statusText(kCursorPart), QString());
    QCOMPARE(w.statusText(kMessagePart), QString());
    QCOMPARE(graphMouseOf(f.desktop())->cursor(), cursor);  // the pair is only written inside
}

void GraphMouseTest::readoutWaitsForData() {
    DesktopFixture f;
    f.start("");
    f.window().setStatusText(kMessagePart, "kept");
    GraphWindow& graph = f.window().graphWindow();
    send(graph, QEvent::MouseMove, pixelAt(graph, 60, 60));
    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 60, 60), Qt::RightButton);
    QCOMPARE(f.window().statusText(kMessagePart), QString("kept"));
    QCOMPARE(f.window().statusText(kCursorPart), QString());
    QVERIFY(!graphMouseOf(f.desktop())->popup().menu());
}

void GraphMouseTest::popupHoldsThreeSubMenus() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    GraphWindow& graph = f.window().graphWindow();
    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 5, 60), Qt::RightButton);  // outside the frame
    QVERIFY(!graphMouseOf(f.desktop())->popup().menu());

    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 40, 70), Qt::RightButton);
    QMenu* popup = graphMouseOf(f.desktop())->popup().menu();
    QVERIFY(popup && popup->isVisible());
    const CursorValue cursor = graphMouseOf(f.desktop())->cursor();
    const QList<QAction*> subs = popup->actions();
    QCOMPARE(subs.size(), 3);
    QCOMPARE(subs[0]->text(), "&x=" + QString::fromStdString(formatG(cursor.x)));
    QCOMPARE(subs[1]->text(), "&y=" + QString::fromStdString(formatG(cursor.y)));
    QCOMPARE(subs[2]->text(), QString("x &and y"));
    QCOMPARE(itemsOf(subs[0]->menu()), QStringList({"1501 &From here ->", "1502 &To here <-", "-",
                                                    "108 &Min and Max", "1054 &Auto", "-", "2501 &Copy"}));
    QCOMPARE(itemsOf(subs[1]->menu()), QStringList({"1503 &From here", "1504 &To here", "-", "109 &Min and Max",
                                                    "1053 &Auto", "-", "2502 &Copy"}));
    QCOMPARE(itemsOf(subs[2]->menu()), QStringList({"1505 &From here", "1506 &To here", "-", "117 &Min and Max",
                                                    "1055 &Auto", "-", "2500 &Copy"}));
    // The pop-up opens at the pointer.
    QCOMPARE(popup->pos(), graph.mapToGlobal(pixelAt(graph, 40, 70)).toPoint());
    popup->close();
}

void GraphMouseTest::onePopupAtATime() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    GraphWindow& graph = f.window().graphWindow();
    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 40, 70), Qt::RightButton);
    const QPointer<QMenu> first = graphMouseOf(f.desktop())->popup().menu();
    const QPointer<QMenu> firstSub = first->actions()[0]->menu();
    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 80, 30), Qt::RightButton);
    QVERIFY(first.isNull());
    QVERIFY(firstSub.isNull());  // the sub-menus go with their pop-up
    QVERIFY(graphMouseOf(f.desktop())->popup().menu());
    QCOMPARE(visibleMenus(), 1);
    graphMouseOf(f.desktop())->popup().menu()->close();
}

void GraphMouseTest::positionCommandsFromThePopup() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    GraphWindow& graph = f.window().graphWindow();
    GraphMouse& mouse = *graphMouseOf(f.desktop());
    const double xmin = f.document().xmin, xmax = f.document().xmax, ymax = f.document().ymax;

    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 40, 70), Qt::RightButton);
    const CursorValue low = mouse.cursor();
    const Picture* before = f.desktop().graph().picture();
    itemOf(mouse.popup().menu(), 1, 1503)->trigger();  // y: "From here"
    QCOMPARE(f.document().ymin, low.y);
    QCOMPARE(f.document().ymax, ymax);
    QCOMPARE(f.document().xmin, xmin);
    QVERIFY(f.desktop().graph().picture() != before);  // drawn again
    QCOMPARE(f.window().statusText(kMessagePart), QString());

    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 80, 90), Qt::RightButton);
    const CursorValue high = mouse.cursor();
    itemOf(mouse.popup().menu(), 2, 1506)->trigger();  // x and y: "To here", the upper right corner
    QCOMPARE(f.document().xmax, high.x);
    QCOMPARE(f.document().ymax, high.y);
    QCOMPARE(f.document().xmin, xmin);
    // This command's apply took in the panel, which shows the earlier end with "%g".
    QCOMPARE(f.document().ymin, parseLeadingNumber(formatG(low.y)));
    QVERIFY(high.x < xmax);
    QVERIFY(f.boxes.messages().empty());
}

void GraphMouseTest::reversedRangeIsDrawn() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    GraphWindow& graph = f.window().graphWindow();
    GraphMouse& mouse = *graphMouseOf(f.desktop());
    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 80, 60), Qt::RightButton);
    Document& doc = f.desktop().document();
    doc.xmax = mouse.cursor().x - 1;  // a smaller maximum, shown in the panel as after every change
    f.desktop().panels().refresh(doc);
    itemOf(mouse.popup().menu(), 0, 1501)->trigger();     // x: "From here" beyond the maximum
    QVERIFY(f.document().xmin > f.document().xmax);
    QVERIFY(graph.showsPicture());
    // The reversed axis cannot take a mesh: said once, and the graph is drawn mirrored all the same.
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(f.boxes.messages()[0].text), QString("Can not make axis mesh."));
    graph.repaint();  // painting replays the picture and says nothing more
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
}

void GraphMouseTest::rangeCommandsThroughTheCommandPath() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    Document& doc = f.desktop().document();
    doc.xmin = 1;
    doc.xmax = 2;
    f.desktop().panels().refresh(doc);  // as after every change: the commands apply the panels first
    f.desktop().actions().runCommand(108);
    QCOMPARE(doc.xmin, 0.0);
    QCOMPARE(doc.xmax, 3.0);
    f.desktop().actions().runCommand(109);
    QCOMPARE(doc.ymin, 15.8);
    QCOMPARE(doc.ymax, 21.5);
    // Auto on both axes: x over the points inside the y range, then y within the new x range.
    doc.ymin = 18.5;  // leaves out x = 3 (17.9 and 15.8)
    doc.ymax = 22;
    f.desktop().panels().refresh(doc);
    f.desktop().actions().runCommand(1055);
    QCOMPARE(doc.xmin, 0 - 0.05 * 2);
    QCOMPARE(doc.xmax, 2 + 0.05 * 2);
    QVERIFY(std::abs(doc.ymin - (16.9 - 0.05 * 4.6)) < 1e-12);
    QVERIFY(std::abs(doc.ymax - (21.5 + 0.05 * 4.6)) < 1e-12);
    f.desktop().actions().runCommand(117);
    QCOMPARE(doc.xmax, 3.0);
    QCOMPARE(doc.ymin, 15.8);
}

void GraphMouseTest::copyCommands() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    GraphWindow& graph = f.window().graphWindow();
    GraphMouse& mouse = *graphMouseOf(f.desktop());
    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 40, 70), Qt::RightButton);
    itemOf(mouse.popup().menu(), 2, 2500)->trigger();
    QClipboard& clipboard = *QGuiApplication::clipboard();
    QCOMPARE(clipboard.text(), QString::fromStdString(cursorValueText(mouse.cursor(), CopiedValue::Both)));
    QVERIFY(clipboard.text().contains('\t'));
    f.desktop().actions().runCommand(2502);
    QCOMPARE(clipboard.text(), QString::fromStdString(formatG(mouse.cursor().y)));

    QVERIFY(mouse.copySetData(2));
    QCOMPARE(clipboard.text().size(), 4 * 51);
    QVERIFY(clipboard.text().startsWith("  0.0000000000000000e+00\t  2.1500000000000000e+01\r\n"));
    clipboard.setText("unchanged");
    QVERIFY(!mouse.copySetData(3));
    QVERIFY(!mouse.copySetData(0));
    QCOMPARE(clipboard.text(), QString("unchanged"));
}

void GraphMouseTest::helpTextsWhileHighlighted() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    GraphWindow& graph = f.window().graphWindow();
    GraphMouse& mouse = *graphMouseOf(f.desktop());
    send(graph, QEvent::MouseButtonPress, pixelAt(graph, 40, 70), Qt::RightButton);
    QMenu* popup = mouse.popup().menu();
    const struct {
        int sub, id;
        const char* text;
    } cases[] = {
        {1, 1503, "set bottom end of y-axis here"},
        {2, 1506, "set right end of x-axis and top end of y-axis here"},
        {2, 2500, "ﾏｳｽｶｰｿﾙ位置の座標値をｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"},
    };
    for (const auto& c : cases) {
        itemOf(popup, c.sub, c.id)->hover();
        QCOMPARE(f.window().statusText(kMessagePart), QString::fromUtf8(c.text));
    }
    popup->actions()[1]->hover();  // a sub-menu's title
    QCOMPARE(f.window().statusText(kMessagePart), QString());
    itemOf(popup, 0, 108)->hover();
    popup->close();
    QCOMPARE(f.window().statusText(kMessagePart), QString());
}

}  // namespace varnex

QTEST_MAIN(varnex::GraphMouseTest)
#include "graph_mouse_test.moc"
