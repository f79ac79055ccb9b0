// The panels' controls: where they stand, what their lists hold, and the graph panel's rows as the
// number of data sets changes (reuse, creation, destruction, the scroll range and position).
#include <QLabel>
#include <QPointer>
#include <QScrollBar>

#include "panel_fixture.h"
#include "panels/panel_controls.h"
#include "panels/panel_geometry.h"

namespace varnex {

using testing::PanelFixture;

namespace {

QRect toQRect(const Rect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

QStringList items(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

}  // namespace

class PanelLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void axisLayoutForAKnownWidth_data();
    void axisLayoutForAKnownWidth();
    void axisControlsStandWhereTheLayoutPutsThem();
    void listsHoldTheirItemsInOrder();
    void rowControlsStandOnThreeLinesOneRowPitchApart();
    void rowNumberWidthMovesOnlyTheTitle_data();
    void rowNumberWidthMovesOnlyTheTitle();
    void rowsAreReusedWhenTheNumberOfSetsChanges();
    void twoHundredFiftyFiveSetsGiveTwoHundredFiftyFiveRows();
    void scrollRangeCoversOneRowLessThanTheRows_data();
    void scrollRangeCoversOneRowLessThanTheRows();
    void scrollPositionSurvivesARebuild();
};

void PanelLayoutTest::axisLayoutForAKnownWidth_data() {
    // Client width 240, Hc 24, Bd 1, Ht 15: A = 225, LW = 135, CW = 90, PW = 67, xc = 145, xp = 73,
    // S = 29, TW = 73; groups start S + 10 below the line before.
    QTest::addColumn<int>("id");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("graph title") << 101 << QRect(5, 10, 230, 24);
    QTest::newRow("x label") << 102 << QRect(5, 49, 135, 24);
    QTest::newRow("x size list, 3 lines") << 103 << QRect(73, 49, 67, 70);
    QTest::newRow("x type list, 2 lines") << 104 << QRect(145, 49, 90, 55);
    QTest::newRow("x title") << 105 << QRect(5, 78, 135, 24);
    QTest::newRow("x font list, 7 lines") << 106 << QRect(145, 78, 90, 130);
    QTest::newRow("x max label") << 107 << QRect(5, 107, 135, 24);
    QTest::newRow("x max") << 108 << QRect(145, 107, 90, 24);
    QTest::newRow("x min") << 110 << QRect(145, 136, 90, 24);
    QTest::newRow("y size list") << 202 << QRect(73, 175, 67, 70);
    QTest::newRow("y max") << 207 << QRect(145, 233, 90, 24);
    QTest::newRow("y min") << 209 << QRect(145, 262, 90, 24);
    QTest::newRow("size(cm) label") << 210 << QRect(5, 301, 135, 24);
    QTest::newRow("print width") << 301 << QRect(145, 301, 90, 24);
    QTest::newRow("frame label") << 211 << QRect(5, 330, 73, 24);
    QTest::newRow("marker label") << 213 << QRect(161, 330, 73, 24);
    QTest::newRow("frame width, no gap below its label") << 302 << QRect(5, 354, 73, 24);
    QTest::newRow("graph width") << 303 << QRect(83, 354, 73, 24);
    QTest::newRow("marker size") << 304 << QRect(161, 354, 73, 24);
}

void PanelLayoutTest::axisLayoutForAKnownWidth() {
    QFETCH(int, id);
    QFETCH(QRect, rect);
    const auto layout = axisPanelLayout(240, PanelMetrics{24, 1, 15});
    QCOMPARE(layout.size(), std::size_t{27});
    const auto it =
        std::find_if(layout.begin(), layout.end(), [id](const ControlPlan& c) { return c.id == id; });
    QVERIFY(it != layout.end());
    QCOMPARE(toQRect(it->rect), rect);
}

void PanelLayoutTest::axisControlsStandWhereTheLayoutPutsThem() {
    PanelFixture f;
    f.startWithSets(2);
    const PanelMetrics m = panelMetrics(&f.axis());
    QCOMPARE(m.ht, QFontMetrics(f.axis().font()).height());
    QList<QWidget*> tabStops;
    for (const ControlPlan& plan : axisPanelLayout(f.axis().client()->width(), m)) {
        QWidget* control = f.axis().control(plan.id);
        QVERIFY2(control, qPrintable(QString::number(plan.id)));
        QCOMPARE(control->objectName(), QStringLiteral("c%1").arg(plan.id));
        QRect expected = toQRect(plan.rect);
        if (plan.kind == ControlKind::List) expected.setHeight(m.hc);  // closed
        QCOMPARE(control->geometry(), expected);
        if (plan.kind != ControlKind::Label) tabStops << control;
    }
    // Tab and Shift+Tab go through the tab stops in creation order and stay in the panel.
    tabStops.front()->setFocus();
    for (int i = 1; i <= tabStops.size(); ++i) {
        f.press(Qt::Key_Tab);
        QCOMPARE(f.focused(), tabStops[i % tabStops.size()]);
    }
    f.press(Qt::Key_Backtab);
    QCOMPARE(f.focused(), tabStops.back());
}

void PanelLayoutTest::listsHoldTheirItemsInOrder() {
    PanelFixture f;
    f.startWithSets(1);
    QCOMPARE(items(f.list(103)),
             (QStringList{"100%", " 90%", " 80%", " 70%", " 60%", " 50%", " 40%", " 30%", " 20%", " 10%"}));
    QCOMPARE(items(f.list(202)), items(f.list(103)));
    QCOMPARE(items(f.list(104)), (QStringList{"linear", "log"}));
    QCOMPARE(items(f.list(205)), (QStringList{"Times New Roman", "Courier New", "Century", "ＭＳ 明朝",
                                              "ＭＳ Ｐ明朝", "ＭＳ ゴシック", "ＭＳ Ｐゴシック"}));
    QCOMPARE(items(f.rowList(1, 0)), (QStringList{" ", "line", "spline"}));
    QCOMPARE(items(f.rowList(1, 1)), (QStringList{"line", "...", "---", "-.-", "-..-"}));
    QCOMPARE(items(f.rowList(1, 2)), (QStringList{" ", "marker", "erbar", "maker+erbar"}));
    QCOMPARE(items(f.rowList(1, 3)), (QStringList{"circle", "square", "triangle", "diamond"}));
    for (int id : {103, 104, 106, 202, 203, 205}) QVERIFY(!f.list(id)->isEditable());
    QCOMPARE(f.list(106)->maxVisibleItems(), 7);
    QCOMPARE(f.rowList(1, 1)->maxVisibleItems(), 5);
}

void PanelLayoutTest::rowControlsStandOnThreeLinesOneRowPitchApart() {
    PanelFixture f;
    f.startWithSets(3);
    const PanelMetrics m = f.graph().metrics();
    const int s = m.hc + 5;
    const int p = 3 * s + 8;
    QCOMPARE(m.rowPitch(), p);
    const int wg = f.graph().viewport()->width();
    const int cw2 = static_cast<int>((wg - 35) * 0.5);
    QCOMPARE(f.graph().rowTop(1), 10);
    for (int j = 1; j <= 3; ++j) {
        const int y = 10 + (j - 1) * p;
        QCOMPARE(f.graph().rowTop(j), y);
        const GraphPanel::Row& row = f.graph().row(j);
        // The number is at least 15 wide and wide enough for three digits; the title follows it.
        const int nw = std::max(15, m.numberWidth);
        QCOMPARE(row.number->geometry(), QRect(5, y, nw, m.hc));
        QCOMPARE(row.number->text(), QString::number(j));
        QVERIFY(row.number->alignment() & Qt::AlignRight);
        QCOMPARE(row.title->geometry(), QRect(10 + nw, y, wg - 15 - nw, m.hc));
        QCOMPARE(row.lists[0]->geometry(), QRect(25, y + s - 2, cw2, m.hc));
        QCOMPARE(row.lists[1]->geometry(), QRect(cw2 + 30, y + s - 2, cw2, m.hc));
        QCOMPARE(row.lists[2]->geometry(), QRect(25, y + 2 * s - 2, cw2, m.hc));
        QCOMPARE(row.lists[3]->geometry(), QRect(cw2 + 30, y + 2 * s - 2, cw2, m.hc));
        QCOMPARE(row.lists[3]->objectName(), QStringLiteral("c%1").arg(600 + j));
    }
    QCOMPARE(f.graph().rowTop(4), 10 + 3 * p);
}

void PanelLayoutTest::rowNumberWidthMovesOnlyTheTitle_data() {
    QTest::addColumn<int>("numberWidth");
    QTest::addColumn<int>("shownWidth");
    QTest::newRow("narrower than 15") << 9 << 15;
    QTest::newRow("15") << 15 << 15;
    QTest::newRow("three digits of 8 pixels") << 25 << 25;
    QTest::newRow("a wide font") << 40 << 40;
}

void PanelLayoutTest::rowNumberWidthMovesOnlyTheTitle() {
    QFETCH(int, numberWidth);
    QFETCH(int, shownWidth);
    PanelMetrics m{24, 1, 15};
    m.numberWidth = numberWidth;
    const auto plans = graphRowLayout(255, 40, 230, m);
    QCOMPARE(toQRect(plans[0].rect), QRect(5, 40, shownWidth, 24));
    QCOMPARE(toQRect(plans[1].rect), QRect(10 + shownWidth, 40, 230 - 15 - shownWidth, 24));
    // The lists keep their places whatever the number's width.
    const auto narrow = graphRowLayout(255, 40, 230, PanelMetrics{24, 1, 15});
    for (std::size_t i = 2; i < plans.size(); ++i) QCOMPARE(toQRect(plans[i].rect), toQRect(narrow[i].rect));
}

void PanelLayoutTest::rowsAreReusedWhenTheNumberOfSetsChanges() {
    PanelFixture f;
    f.startWithSets(3);
    const GraphPanel& graph = f.graph();
    const QPointer<QComboBox> row1 = graph.row(1).lists[0];
    const QPointer<QLineEdit> row2 = graph.row(2).title;
    const QPointer<QLabel> row3 = graph.row(3).number;

    f.openSets(5, "five.dat");
    QCOMPARE(graph.rowCount(), 5);
    QCOMPARE(graph.row(1).lists[0], row1.data());
    QCOMPARE(graph.row(2).title, row2.data());
    QCOMPARE(graph.row(3).number, row3.data());
    const QPointer<QComboBox> row4 = graph.row(4).lists[1];
    const QPointer<QComboBox> row5 = graph.row(5).lists[3];
    QVERIFY(row4 && row5);
    QVERIFY(row5->isVisibleTo(&f.graph()));

    f.openSets(2, "two.dat");
    QCOMPARE(graph.rowCount(), 2);
    QVERIFY(row1 && row2);
    QCOMPARE(graph.row(1).lists[0], row1.data());
    QVERIFY(!row3 && !row4 && !row5);
    // The table of row positions keeps the entries of the destroyed rows.
    QCOMPARE(graph.rowTop(5), 10 + 4 * graph.metrics().rowPitch());

    // A failed load leaves no rows.
    f.write("empty.dat", "no numbers here\n");
    f.desktop().documents().open(f.path("empty.dat"));
    QCOMPARE(graph.rowCount(), 0);
    QVERIFY(!row1);
}

void PanelLayoutTest::twoHundredFiftyFiveSetsGiveTwoHundredFiftyFiveRows() {
    PanelFixture f;
    f.startWithSets(255);
    QCOMPARE(f.document().data, 255);
    const GraphPanel& graph = f.graph();
    QCOMPARE(graph.rowCount(), 255);
    QCOMPARE(graph.row(255).lists[3]->objectName(), QString("c855"));
    QCOMPARE(graph.row(255).number->text(), QString("255"));
    QCOMPARE(graph.row(255).title->text(), QString("block 64"));
    QCOMPARE(graph.rowTop(256), 10 + 255 * graph.metrics().rowPitch());
    // Ids repeat from row 100 on (row 255's interpolation list and row 55's marker list are both 555);
    // the lookup goes by the widget.
    const RowChoice choice = graph.focusedRow(graph.row(255).lists[0]);
    QVERIFY(choice.found);
    QCOMPARE(choice.row, 255);
    QCOMPARE(choice.column, 0);
    QCOMPARE(graph.focusedRow(graph.row(55).lists[2]).row, 55);
}

void PanelLayoutTest::scrollRangeCoversOneRowLessThanTheRows_data() {
    QTest::addColumn<int>("sets");
    QTest::addColumn<int>("rowsInRange");
    QTest::newRow("one set: still one row") << 1 << 1;
    QTest::newRow("two sets") << 2 << 1;
    QTest::newRow("seven sets") << 7 << 6;
}

void PanelLayoutTest::scrollRangeCoversOneRowLessThanTheRows() {
    QFETCH(int, sets);
    QFETCH(int, rowsInRange);
    PanelFixture f;
    f.startWithSets(sets);
    const QScrollBar* bar = f.graph().scrollBar();
    const int p = f.graph().metrics().rowPitch();
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), rowsInRange * p);
    QCOMPARE(bar->singleStep(), p);
    QCOMPARE(bar->pageStep(), p);
    QCOMPARE(bar->value(), 0);
}

void PanelLayoutTest::scrollPositionSurvivesARebuild() {
    PanelFixture f;
    f.startWithSets(10);
    f.desktop().showPage(kGraphPage);
    GraphPanel& graph = f.graph();
    const int p = graph.metrics().rowPitch();
    const auto scrollTo = [&graph](int clicks) {
        for (int i = 0; i < clicks; ++i) {
            graph.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        }
    };
    const auto shownAt = [&graph](int position) {
        return graph.scrollBar()->value() == position && graph.content()->y() == -position;
    };
    scrollTo(3);
    QVERIFY(shownAt(3 * p));

    f.openSets(12, "twelve.dat");
    QVERIFY(shownAt(3 * p));

    // Fewer rows, the focus on a row that stays: the position stays too.
    f.desktop().showPage(kGraphPage);
    f.rowList(4, 1)->setFocus();
    f.openSets(6, "six.dat");
    QVERIFY(shownAt(3 * p));

    // A position beyond the new range stops at its end, the content with the bar.
    f.desktop().showPage(kGraphPage);
    scrollTo(2);
    QVERIFY(shownAt(5 * p));
    f.rowList(4, 0)->setFocus();  // above the view now; the clamped position shows it at the top
    f.openSets(4, "four.dat");
    f.desktop().showPage(kGraphPage);
    QVERIFY(shownAt(3 * p));

    // The focus on a row that goes: back to the top and to row 1's interpolation list.
    f.rowList(4, 3)->setFocus();
    QCOMPARE(f.focused(), f.rowList(4, 3));
    f.openSets(2, "two.dat");
    f.desktop().showPage(kGraphPage);
    QVERIFY(shownAt(0));
    QCOMPARE(f.focused(), f.rowList(1, 0));
}

}  // namespace varnex

QTEST_MAIN(varnex::PanelLayoutTest)
#include "panel_layout_test.moc"
