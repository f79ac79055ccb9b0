// Moving the focus through the panels: the axis panel's tables, the graph panel's rows and columns
// with the scrolling they cause, the scroll bar, the wheel, Tab, the range-box inputs and the focus
// each page keeps.
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>

#include "panel_fixture.h"
#include "panels/panel_navigation.h"
#include "util/numbers.h"

namespace varnex {

using testing::PanelFixture;

namespace {

constexpr int kHome = command::kCursorHome, kDown = command::kCursorDown, kUp = command::kCursorUp,
              kRight = command::kCursorRight, kLeft = command::kCursorLeft;

// The key of a cursor command.
Qt::Key keyOf(int command) {
    switch (command) {
        case kHome:
            return Qt::Key_H;
        case kDown:
            return Qt::Key_Down;
        case kUp:
            return Qt::Key_Up;
        case kRight:
            return Qt::Key_Right;
        default:
            return Qt::Key_Left;
    }
}

// A desktop on the graph page with n sets, tall enough for a few rows.
void startOnGraphPage(PanelFixture& f, int n) {
    f.startWithSets(n);
    f.window().resize(900, 700);
    QTRY_COMPARE(f.window().size(), QSize(900, 700));
    f.desktop().showPage(kGraphPage);
    QCOMPARE(f.window().currentPage(), int(kGraphPage));
}

// The last row whose lists are all fully visible.
int lastWholeRow(PanelFixture& f) {
    int last = 0;
    for (int j = 1; j <= f.graph().rowCount(); ++j) {
        if (f.graph().fullyVisible(f.rowList(j, 3)) && f.graph().fullyVisible(f.rowList(j, 0))) last = j;
    }
    return last;
}

bool scrolledTo(PanelFixture& f, int rowsDown) {
    const int position = rowsDown * f.graph().metrics().rowPitch();
    return f.graph().scrollBar()->value() == position && f.graph().content()->y() == -position;
}

}  // namespace

class PanelNavigationTest : public QObject {
    Q_OBJECT
private slots:
    void axisMovesFollowTheTables_data();
    void axisMovesFollowTheTables();
    void ctrlHVisitsTheTitleAndRangeBoxes();
    void ctrlRightOnTheMarkerSizeWrapsToTheFrameWidth();
    void graphMovesGoByRowsAndColumns_data();
    void graphMovesGoByRowsAndColumns();
    void ctrlDownScrollsOneRowToAHiddenRow();
    void ctrlUpScrollsBackToAHiddenRow();
    void aHalfHiddenFocusGoesToTheTopRow_data();
    void aHalfHiddenFocusGoesToTheTopRow();
    void scrollBarClicksMoveOneRowAndTheFocus();
    void thumbAndWheelScrollInWholeRows();
    void wheelMovesOnlyAFocusedAxisList_data();
    void wheelMovesOnlyAFocusedAxisList();
    void tabCyclesThroughTheRows();
    void tabScrollsAHiddenRowIntoView();
    void pagesKeepTheirFocus();
    void ctrlXAndCtrlYGoToTheRangeBoxes();
    void cursorKeysOnTheDataPageMoveNothing();
};

void PanelNavigationTest::axisMovesFollowTheTables_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QList<int>>("path");  // each id moves to the next; the last to nothing more listed
    QTest::newRow("down, left-hand cycle") << kDown << QList<int>{101, 103, 105, 202, 204, 302, 101};
    QTest::newRow("down, right-hand cycle")
        << kDown << QList<int>{104, 106, 108, 110, 203, 205, 207, 209, 301, 304, 104};
    QTest::newRow("up, left-hand cycle") << kUp << QList<int>{101, 302, 204, 202, 105, 103, 101};
    QTest::newRow("up, right-hand cycle")
        << kUp << QList<int>{104, 304, 301, 209, 207, 205, 203, 110, 108, 106, 104};
    QTest::newRow("right, widths wrap") << kRight << QList<int>{302, 303, 304, 302};
    QTest::newRow("left, widths wrap") << kLeft << QList<int>{302, 304, 303, 302};
    QTest::newRow("home cycle") << kHome << QList<int>{105, 108, 110, 204, 207, 209, 105};
    for (const auto& [from, to] : {std::pair{103, 104}, {105, 106}, {202, 203}, {204, 205}}) {
        QTest::addRow("right %d", from) << kRight << QList<int>{from, to};
        QTest::addRow("left %d", to) << kLeft << QList<int>{to, from};
    }
}

void PanelNavigationTest::axisMovesFollowTheTables() {
    QFETCH(int, command);
    QFETCH(QList<int>, path);
    for (qsizetype i = 0; i + 1 < path.size(); ++i) QCOMPARE(axisMove(command, path[i]), path[i + 1]);
    // Controls outside the tables go nowhere, except that Home goes to the x title from anywhere.
    const int unlisted[] = {0, 102, 107, 210, 213};
    for (int from : unlisted) QCOMPARE(axisMove(command, from), command == kHome ? 105 : 0);
    QCOMPARE(axisMove(kDown, 303), 0);  // the graph width is reached only sideways
    QCOMPARE(axisMove(kUp, 303), 0);
    QCOMPARE(axisMove(kRight, 101), 0);
    QCOMPARE(axisMove(kLeft, 110), 0);
}

void PanelNavigationTest::ctrlHVisitsTheTitleAndRangeBoxes() {
    PanelFixture f;
    f.startWithSets(2);
    f.edit(101)->setFocus();
    for (int id : {105, 108, 110, 204, 207, 209, 105}) {
        f.press(Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(f.focused(), f.axis().control(id));
    }
    QCOMPARE(f.edit(105)->text(), QString("X"));  // the key did not reach the box
}

void PanelNavigationTest::ctrlRightOnTheMarkerSizeWrapsToTheFrameWidth() {
    PanelFixture f;
    f.startWithSets(2);
    f.edit(304)->setFocus();
    f.press(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(f.focused(), f.axis().control(302));
    f.press(Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(f.focused(), f.axis().control(101));
}

void PanelNavigationTest::graphMovesGoByRowsAndColumns_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("fromRow");
    QTest::addColumn<int>("fromColumn");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<int>("toColumn");
    // Columns: 0 interpolation, 1 line type (second line of a row), 2 marker, 3 shape (third line).
    QTest::newRow("home: interpolation to line type") << kHome << 2 << 0 << 2 << 1;
    QTest::newRow("home: line type to interpolation") << kHome << 2 << 1 << 2 << 0;
    QTest::newRow("home: shape to marker") << kHome << 2 << 3 << 2 << 2;
    QTest::newRow("right: marker to shape") << kRight << 1 << 2 << 1 << 3;
    QTest::newRow("right: at the right end") << kRight << 1 << 1 << 1 << 1;
    QTest::newRow("left: line type to interpolation") << kLeft << 3 << 1 << 3 << 0;
    QTest::newRow("left: at the left end") << kLeft << 3 << 2 << 3 << 2;
    QTest::newRow("down: interpolation to marker") << kDown << 1 << 0 << 1 << 2;
    QTest::newRow("down: shape to the next line type") << kDown << 1 << 3 << 2 << 1;
    QTest::newRow("down: marker to the next interpolation") << kDown << 2 << 2 << 3 << 0;
    QTest::newRow("down: last row's marker stays") << kDown << 3 << 2 << 3 << 2;
    QTest::newRow("down: last row's shape stays") << kDown << 3 << 3 << 3 << 3;
    QTest::newRow("up: shape to line type") << kUp << 2 << 3 << 2 << 1;
    QTest::newRow("up: interpolation to the previous marker") << kUp << 3 << 0 << 2 << 2;
    QTest::newRow("up: line type to the previous shape") << kUp << 2 << 1 << 1 << 3;
    QTest::newRow("up: first row's interpolation stays") << kUp << 1 << 0 << 1 << 0;
}

void PanelNavigationTest::graphMovesGoByRowsAndColumns() {
    QFETCH(int, command);
    QFETCH(int, fromRow);
    QFETCH(int, fromColumn);
    QFETCH(int, toRow);
    QFETCH(int, toColumn);
    PanelFixture f;
    startOnGraphPage(f, 3);
    QVERIFY(lastWholeRow(f) == 3);
    f.rowList(fromRow, fromColumn)->setFocus();
    f.press(keyOf(command), Qt::ControlModifier);
    QCOMPARE(f.focused(), f.rowList(toRow, toColumn));
    QVERIFY(scrolledTo(f, 0));
}

void PanelNavigationTest::ctrlDownScrollsOneRowToAHiddenRow() {
    PanelFixture f;
    startOnGraphPage(f, 10);
    const int last = lastWholeRow(f);
    QVERIFY(last >= 2 && last < 10);
    f.rowList(last, 3)->setFocus();
    f.press(Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(f.focused(), f.rowList(last + 1, 1));
    QVERIFY(scrolledTo(f, 1));
    QVERIFY(f.graph().fullyVisible(f.rowList(last + 1, 1)));
    // A move within the view does not scroll.
    f.press(Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(f.focused(), f.rowList(last, 3));
    QVERIFY(scrolledTo(f, 1));
}

void PanelNavigationTest::ctrlUpScrollsBackToAHiddenRow() {
    PanelFixture f;
    startOnGraphPage(f, 10);
    f.rowList(1, 2)->setFocus();
    f.graph().scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QVERIFY(scrolledTo(f, 1));
    QCOMPARE(f.focused(), f.rowList(2, 2));  // the row now at the top, same column
    f.press(Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(f.focused(), f.rowList(2, 0));
    f.press(Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(f.focused(), f.rowList(1, 2));
    QVERIFY(scrolledTo(f, 0));
}

void PanelNavigationTest::aHalfHiddenFocusGoesToTheTopRow_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("scrolledRows");
    for (int command : {kHome, kDown, kUp, kRight, kLeft}) {
        QTest::addRow("command %d at the top", command) << command << 0;
        QTest::addRow("command %d scrolled two rows", command) << command << 2;
    }
}

void PanelNavigationTest::aHalfHiddenFocusGoesToTheTopRow() {
    QFETCH(int, command);
    QFETCH(int, scrolledRows);
    PanelFixture f;
    startOnGraphPage(f, 10);
    for (int i = 0; i < scrolledRows; ++i) {
        f.graph().scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    QVERIFY(scrolledTo(f, scrolledRows));
    // The first list below the view's bottom edge that is still partly in view.
    QComboBox* halfHidden = nullptr;
    const int height = f.graph().viewport()->height();
    for (int j = 1; j <= 10 && !halfHidden; ++j) {
        for (int c : {0, 2}) {
            QComboBox* list = f.rowList(j, c);
            const int top = list->mapTo(f.graph().viewport(), QPoint()).y();
            if (top < height && !f.graph().fullyVisible(list)) {
                halfHidden = list;
                break;
            }
        }
    }
    if (!halfHidden) QSKIP("no list stands across the view's bottom edge at this size");
    halfHidden->setFocus();
    f.press(keyOf(command), Qt::ControlModifier);
    QCOMPARE(f.focused(), f.rowList(scrolledRows + 1, 0));
    QVERIFY(scrolledTo(f, scrolledRows));
}

void PanelNavigationTest::scrollBarClicksMoveOneRowAndTheFocus() {
    PanelFixture f;
    startOnGraphPage(f, 5);
    QScrollBar* bar = f.graph().scrollBar();
    f.rowList(1, 1)->setFocus();
    const QPoint downArrow(bar->width() / 2, bar->height() - 3);
    const QPoint upArrow(bar->width() / 2, 3);
    const QPoint belowThumb(bar->width() / 2, bar->height() - bar->width() - 4);
    QTest::mouseClick(bar, Qt::LeftButton, {}, downArrow);
    QVERIFY(scrolledTo(f, 1));
    QCOMPARE(f.focused(), f.rowList(2, 1));
    QTest::mouseClick(bar, Qt::LeftButton, {}, belowThumb);  // a page is one row too
    QVERIFY(scrolledTo(f, 2));
    QCOMPARE(f.focused(), f.rowList(3, 1));
    for (int i = 0; i < 4; ++i) QTest::mouseClick(bar, Qt::LeftButton, {}, downArrow);
    QVERIFY(scrolledTo(f, 4));  // the last row at the top is the end of the range
    QCOMPARE(f.focused(), f.rowList(5, 1));
    QTest::mouseClick(bar, Qt::LeftButton, {}, upArrow);
    QVERIFY(scrolledTo(f, 3));
    QCOMPARE(f.focused(), f.rowList(4, 1));
}

void PanelNavigationTest::thumbAndWheelScrollInWholeRows() {
    PanelFixture f;
    startOnGraphPage(f, 12);
    QScrollBar* bar = f.graph().scrollBar();
    const int p = f.graph().metrics().rowPitch();
    f.rowList(1, 2)->setFocus();
    // Dragging the thumb moves the slider position pixel by pixel; the view follows in whole rows.
    bar->setSliderDown(true);
    bar->setSliderPosition(p + p / 3);
    QVERIFY(scrolledTo(f, 1));
    bar->setSliderPosition(3 * p - p / 3);
    QVERIFY(scrolledTo(f, 3));
    bar->setSliderDown(false);
    QCOMPARE(bar->sliderPosition(), 3 * p);
    QCOMPARE(f.focused(), f.rowList(4, 2));

    // The wheel over the rows scrolls them a row a notch (the bar moves at most a page, one row, at a
    // time) and leaves the lists' values alone.
    QComboBox* list = f.rowList(4, 2);
    const int shown = list->currentIndex();
    const QPoint at(5, 5);
    QWheelEvent down(at, list->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &down);
    QVERIFY(scrolledTo(f, 4));
    QCOMPARE(list->currentIndex(), shown);
    QCOMPARE(f.focused(), f.rowList(5, 2));
    QLineEdit* title = f.graph().row(6).title;
    QWheelEvent up(at, title->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(title, &up);
    QVERIFY(scrolledTo(f, 3));
}

void PanelNavigationTest::wheelMovesOnlyAFocusedAxisList_data() {
    QTest::addColumn<bool>("focused");
    QTest::addColumn<int>("shown");  // the x size list's position after one notch down
    QTest::newRow("over a list without the focus: it keeps its value") << false << 0;
    QTest::newRow("over the focused list: the next item") << true << 1;
}

void PanelNavigationTest::wheelMovesOnlyAFocusedAxisList() {
    QFETCH(bool, focused);
    QFETCH(int, shown);
    PanelFixture f;
    f.startWithSets(2);
    QComboBox* size = f.list(103);
    QCOMPARE(size->currentIndex(), 0);  // "100%"
    QWidget* start = focused ? static_cast<QWidget*>(size) : f.edit(108);
    start->setFocus();
    QTRY_COMPARE(f.focused(), start);
    // A notch as the window system delivers it, so that the focus rules of a real wheel apply.
    const QPoint at(5, 5);
    QWheelEvent notch(at, size->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&notch);
    QApplication::sendEvent(size, &notch);
    QCOMPARE(size->currentIndex(), shown);
    QCOMPARE(f.focused(), start);
}

void PanelNavigationTest::tabCyclesThroughTheRows() {
    PanelFixture f;
    startOnGraphPage(f, 2);
    f.graph().row(1).title->setFocus();
    const QList<QWidget*> order{
        f.rowList(1, 0), f.rowList(1, 1), f.rowList(1, 2), f.rowList(1, 3), f.graph().row(2).title,
        f.rowList(2, 0), f.rowList(2, 1), f.rowList(2, 2), f.rowList(2, 3), f.graph().row(1).title};
    for (QWidget* next : order) {
        f.press(Qt::Key_Tab);
        QCOMPARE(f.focused(), next);
    }
    f.press(Qt::Key_Backtab);
    QCOMPARE(f.focused(), f.rowList(2, 3));
}

void PanelNavigationTest::tabScrollsAHiddenRowIntoView() {
    PanelFixture f;
    startOnGraphPage(f, 10);
    const int last = lastWholeRow(f);
    QVERIFY(last >= 2 && last < 10);
    f.rowList(last, 3)->setFocus();
    f.press(Qt::Key_Tab);  // the next row's title, below the view
    QCOMPARE(f.focused(), static_cast<QWidget*>(f.graph().row(last + 1).title));
    QVERIFY(f.graph().fullyVisible(f.focused()));
    // Through the next row's lists: each one is shown, by one row of scrolling at the most.
    for (int column = 0; column < 4; ++column) {
        f.press(Qt::Key_Tab);
        QCOMPARE(f.focused(), f.rowList(last + 1, column));
        QVERIFY(f.graph().fullyVisible(f.focused()));
        QVERIFY(scrolledTo(f, 0) || scrolledTo(f, 1));
    }
    QVERIFY(scrolledTo(f, 1));
    // Back round to the first row, above the view: it comes to the top.
    f.graph().row(1).title->setFocus();
    f.press(Qt::Key_Backtab);  // the last row's shape list
    QCOMPARE(f.focused(), f.rowList(10, 3));
    QVERIFY(f.graph().fullyVisible(f.focused()));
    f.press(Qt::Key_Tab);
    QCOMPARE(f.focused(), static_cast<QWidget*>(f.graph().row(1).title));
    QVERIFY(f.graph().fullyVisible(f.focused()));
    QVERIFY(scrolledTo(f, 0));
}

void PanelNavigationTest::pagesKeepTheirFocus() {
    PanelFixture f;
    f.startWithSets(3);
    QCOMPARE(f.focused(), f.axis().control(108));  // the axis page's home after opening
    f.edit(207)->setFocus();
    f.press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.window().currentPage(), int(kGraphPage));
    QCOMPARE(f.focused(), f.rowList(1, 0));  // the graph page's home
    f.rowList(2, 3)->setFocus();
    f.press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.window().currentPage(), int(kDataPage));
    f.press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(f.window().currentPage(), int(kAxisPage));
    QCOMPARE(f.focused(), f.axis().control(207));
    f.run(command::kSwitchSheet);
    QCOMPARE(f.focused(), f.rowList(2, 3));
    // A row that went away leaves the page's home.
    f.openSets(1, "one.dat");
    f.desktop().showPage(kGraphPage);
    QCOMPARE(f.focused(), f.rowList(1, 0));
}

void PanelNavigationTest::ctrlXAndCtrlYGoToTheRangeBoxes() {
    PanelFixture f;
    f.startWithSets(2);
    f.desktop().showPage(kGraphPage);
    f.press(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.window().currentPage(), int(kAxisPage));
    QCOMPARE(f.focused(), f.axis().control(110));  // the page came back to the x maximum: the next box
    f.press(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.focused(), f.axis().control(108));
    f.press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f.focused(), f.axis().control(207));
    f.press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f.focused(), f.axis().control(209));
    QCOMPARE(f.edit(209)->text(), QString::fromStdString(formatG(f.document().ymin)));  // no key typed
}

void PanelNavigationTest::cursorKeysOnTheDataPageMoveNothing() {
    PanelFixture f;
    startOnGraphPage(f, 10);
    f.rowList(1, 0)->setFocus();
    f.desktop().showPage(kDataPage);
    QWidget* before = f.focused();
    for (int command : {kHome, kDown, kUp, kRight, kLeft}) f.run(command);
    QCOMPARE(f.focused(), before);
    QVERIFY(scrolledTo(f, 0));
}

}  // namespace varnex

QTEST_MAIN(varnex::PanelNavigationTest)
#include "panel_navigation_test.moc"
