// Keys never act on what the user cannot see: a page shown by any means gets its remembered control,
// a focused row scrolled out of view comes back before a key reaches it, a list given the focus by a
// command shows the focus mark, and every row number shows all its digits.
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTabBar>

#include "panel_fixture.h"

namespace varnex {

using testing::PanelFixture;

namespace {

// Clicks tab index with the mouse, as the user does.
void clickTab(PanelFixture& f, int index) {
    QTabBar* bar = f.window().tabs().tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

// The focused control draws the keyboard-focus mark: it has the focus and its window shows focus marks.
bool showsFocusMark(QWidget* w) {
    if (!w) return false;
    QStyleOption option;
    option.initFrom(w);
    return (option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_KeyboardFocusChange);
}

}  // namespace

class PanelKeysTest : public QObject {
    Q_OBJECT
private slots:
    void aClickedTabRestoresThePageFocus();
    void aKeyBringsAHiddenFocusedRowIntoView_data();
    void aKeyBringsAHiddenFocusedRowIntoView();
    void aRebuildKeepsTheFocusedRowInView();
    void aLoadShowsTheOnlyRowScrolledAway_data();
    void aLoadShowsTheOnlyRowScrolledAway();
    void commandsShowTheFocusMark_data();
    void commandsShowTheFocusMark();
    void rowNumbersShowEveryDigit();
};

void PanelKeysTest::aClickedTabRestoresThePageFocus() {
    PanelFixture f;
    f.startWithSets(3);
    f.edit(207)->setFocus();
    clickTab(f, kGraphPage);
    QCOMPARE(f.window().currentPage(), int(kGraphPage));
    QCOMPARE(f.focused(), f.rowList(1, 0));  // the graph page's home, not a row title
    f.rowList(2, 3)->setFocus();
    clickTab(f, kAxisPage);
    QCOMPARE(f.window().currentPage(), int(kAxisPage));
    QCOMPARE(f.focused(), f.axis().control(207));
    clickTab(f, kDataPage);
    QCOMPARE(f.window().currentPage(), int(kDataPage));
    clickTab(f, kGraphPage);
    QCOMPARE(f.focused(), f.rowList(2, 3));
    clickTab(f, kGraphPage);  // the page shown: nothing changes
    QCOMPARE(f.focused(), f.rowList(2, 3));
    // The command keys and the clicks share one memory.
    f.press(Qt::Key_Tab, Qt::ControlModifier);
    f.press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.window().currentPage(), int(kAxisPage));
    QCOMPARE(f.focused(), f.axis().control(207));
    clickTab(f, kGraphPage);
    QCOMPARE(f.focused(), f.rowList(2, 3));
}

void PanelKeysTest::aKeyBringsAHiddenFocusedRowIntoView_data() {
    QTest::addColumn<int>("sets");
    QTest::addColumn<int>("focusRow");
    QTest::addColumn<int>("key");
    QTest::newRow("the only row, Down") << 1 << 1 << int(Qt::Key_Down);
    QTest::newRow("the only row, a letter") << 1 << 1 << int(Qt::Key_S);
    QTest::newRow("row 1 of 6, Up") << 6 << 1 << int(Qt::Key_Up);
    QTest::newRow("row 8 of 8 below the view, Down") << 8 << 8 << int(Qt::Key_Down);
}

void PanelKeysTest::aKeyBringsAHiddenFocusedRowIntoView() {
    QFETCH(int, sets);
    QFETCH(int, focusRow);
    QFETCH(int, key);
    PanelFixture f;
    f.startWithSets(sets);
    f.window().resize(900, 500);
    QTRY_COMPARE(f.window().size(), QSize(900, 500));
    f.desktop().showPage(kGraphPage);
    GraphPanel& graph = f.graph();
    const int p = graph.metrics().rowPitch();
    // Scroll the focused row out of view by moving the content the way the bar's arrows do, without
    // the focus move the arrows make.
    QComboBox* list = f.rowList(focusRow, 0);
    list->setFocus();
    const int position = focusRow == 1 ? p : 0;
    graph.scrollBar()->setValue(position);
    graph.scrollState();
    graph.scrollContentBy(-graph.content()->y() - position);
    QVERIFY(!graph.fullyVisible(list));
    f.press(Qt::Key(key));
    QCOMPARE(f.focused(), static_cast<QWidget*>(list));
    QVERIFY(graph.fullyVisible(list));
    QCOMPARE(graph.content()->y() % p, 0);  // by whole rows
    QCOMPARE(graph.scrollBar()->value(), -graph.content()->y());
}

void PanelKeysTest::aRebuildKeepsTheFocusedRowInView() {
    PanelFixture f;
    f.startWithSets(12);
    f.window().resize(900, 500);
    QTRY_COMPARE(f.window().size(), QSize(900, 500));
    f.desktop().showPage(kGraphPage);
    GraphPanel& graph = f.graph();
    // Down the rows to row 10's marker list: the view follows.
    f.rowList(1, 0)->setFocus();
    while (graph.focusedRow(f.focused()).row < 10) f.run(command::kCursorDown);
    QVERIFY(graph.fullyVisible(f.focused()));
    // Back up to row 4: the view follows up.
    f.run(command::kCursorUp);
    while (graph.focusedRow(f.focused()).row > 4) f.run(command::kCursorUp);
    QComboBox* focused = qobject_cast<QComboBox*>(f.focused());
    QVERIFY(focused && graph.fullyVisible(focused));
    // A file with fewer sets keeps row 4 and must show it.
    for (int sets : {11, 9, 5, 4}) {
        f.openSets(sets, "fewer" + std::to_string(sets) + ".dat");
        f.desktop().showPage(kGraphPage);
        QCOMPARE(f.focused(), static_cast<QWidget*>(focused));
        QVERIFY2(graph.fullyVisible(focused), qPrintable(QString::number(sets)));
        QCOMPARE(graph.scrollBar()->value(), -graph.content()->y());
    }
    // The same while another page is shown and the window grew smaller meanwhile.
    f.desktop().showPage(kAxisPage);
    f.window().resize(900, 330);
    QTRY_COMPARE(f.window().size(), QSize(900, 330));
    f.openSets(5, "five.dat");
    f.desktop().showPage(kGraphPage);
    QCOMPARE(f.focused(), static_cast<QWidget*>(focused));
    QVERIFY(graph.fullyVisible(focused));
}

void PanelKeysTest::aLoadShowsTheOnlyRowScrolledAway_data() {
    QTest::addColumn<int>("sets");
    QTest::newRow("one set again") << 1;
    QTest::newRow("two sets") << 2;
}

void PanelKeysTest::aLoadShowsTheOnlyRowScrolledAway() {
    QFETCH(int, sets);
    PanelFixture f;
    f.startWithSets(1);
    f.desktop().showPage(kGraphPage);
    GraphPanel& graph = f.graph();
    f.rowList(1, 2)->setFocus();
    graph.verticalScroll(kLineDown);  // the bar's down arrow: the range of one row is one pitch
    QVERIFY(!graph.fullyVisible(f.rowList(1, 2)));
    f.openSets(sets, "again.dat");
    f.desktop().showPage(kGraphPage);
    QCOMPARE(f.focused(), static_cast<QWidget*>(f.rowList(1, 2)));
    QVERIFY(graph.fullyVisible(f.focused()));
    QCOMPARE(graph.scrollBar()->value(), -graph.content()->y());
}

void PanelKeysTest::commandsShowTheFocusMark_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Ctrl+Down on the graph page")
        << int(kGraphPage) << int(Qt::Key_Down) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+Right on the graph page")
        << int(kGraphPage) << int(Qt::Key_Right) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+H on the graph page")
        << int(kGraphPage) << int(Qt::Key_H) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+Down on the axis page")
        << int(kAxisPage) << int(Qt::Key_Down) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+H on the axis page") << int(kAxisPage) << int(Qt::Key_H) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+X") << int(kGraphPage) << int(Qt::Key_X) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+Tab to the graph page")
        << int(kAxisPage) << int(Qt::Key_Tab) << int(Qt::ControlModifier);
    QTest::newRow("a click on the graph tab") << int(kAxisPage) << 0 << 0;
}

void PanelKeysTest::commandsShowTheFocusMark() {
    QFETCH(int, page);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    PanelFixture f;
    f.startWithSets(3);
    f.desktop().showPage(page);
    if (page == kAxisPage) f.list(104)->setFocus(Qt::MouseFocusReason);
    if (page == kGraphPage) f.rowList(1, 0)->setFocus(Qt::MouseFocusReason);
    f.window().setAttribute(Qt::WA_KeyboardFocusChange, false);  // as after a click with the mouse
    QVERIFY(!showsFocusMark(f.focused()));
    QWidget* before = f.focused();
    if (key == 0) {
        clickTab(f, kGraphPage);
    } else {
        f.press(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    }
    QVERIFY(f.focused() != before);
    QVERIFY(showsFocusMark(f.focused()));
}

void PanelKeysTest::rowNumbersShowEveryDigit() {
    PanelFixture f;
    f.startWithSets(GraphPanel::kMaxRows, 1);
    GraphPanel& graph = f.graph();
    QCOMPARE(graph.rowCount(), GraphPanel::kMaxRows);
    for (int j = 1; j <= graph.rowCount(); ++j) {
        const QLabel* number = graph.row(j).number;
        QCOMPARE(number->text(), QString::number(j));
        const int needed = number->fontMetrics().horizontalAdvance(number->text());
        QVERIFY2(number->contentsRect().width() >= needed, qPrintable(number->text()));
        QVERIFY2(number->geometry().right() < graph.row(j).title->x(), qPrintable(number->text()));
    }
}

}  // namespace varnex

QTEST_MAIN(varnex::PanelKeysTest)
#include "panel_keys_test.moc"
