// Settings between the panels and the Document: refresh, apply with its undo copy and rejection of
// invalid input, Draw, Set Parameter, Undo and the title mark, and the way from the panels to the
// picture and the parameter file.
#include <QAbstractItemView>
#include <QLabel>
#include <QTabBar>

#include "document/parameter_writer.h"
#include "graph/graph_view.h"
#include "panel_fixture.h"
#include "shell/commands.h"
#include "util/numbers.h"

namespace varnex {

using testing::PanelFixture;

namespace {

// Three plain sets and one error-bar set of three points each.
constexpr const char* kMixedData =
    "Set all\n\nplain\n1 1 2 3\n2 2 3 4\n3 3 4 5\n#errorbar\nmeasured\n1 2 0.5 0.2\n2 3 0.5 0.2\n3 4 0.5 "
    "0.2\n";

QList<int> choices(const Document& doc, int column) {
    QList<int> values;
    for (int i = 1; i <= doc.data; ++i) {
        const GraphParams& p = doc.sets[static_cast<std::size_t>(i)].params;
        const int all[4] = {p.interp, p.linetype, p.marker, p.shape};
        values << all[column];
    }
    return values;
}

std::string dump(const GraphView& graph) {
    return graph.picture() ? graph.picture()->dump() : std::string();
}

}  // namespace

class PanelTransferTest : public QObject {
    Q_OBJECT
private slots:
    void refreshShowsTheDocument();
    void invalidInputIsRejectedAsAWhole_data();
    void invalidInputIsRejectedAsAWhole();
    void applyReportsAChangeOnce();
    void textsAreCutAtTheFirstLineBreak_data();
    void textsAreCutAtTheFirstLineBreak();
    void untouchedTitlesKeepTheirBytes_data();
    void untouchedTitlesKeepTheirBytes();
    void listPositionsBecomeSizesTypesAndFonts();
    void valuesOutsideTheListsLeaveThemWithoutSelection();
    void leavingAPageAppliesWhatWasTyped();
    void setAllChoices_data();
    void setAllChoices();
    void setAllNeedsTheFocusOnARowList();
    void undoExchangesTheDocumentAndTheUndoCopy();
    void titleIsMarkedFromTheFirstChangeUntilTheNextLoad();
    void drawClosesAnOpenList();
    void panelValuesReachThePictureAndTheParameterFile();
};

void PanelTransferTest::refreshShowsTheDocument() {
    PanelFixture f;
    f.write("multi.dat", "Cooling\n\nsample A\n0 100 85\n0.5 87.16 78.23\n6 29.8 37.36\n");
    f.start(f.path("multi.dat"));
    const Document& doc = f.document();
    QCOMPARE(f.edit(101)->text(), QString("Cooling"));
    QCOMPARE(f.edit(105)->text(), QString("X"));
    QCOMPARE(f.list(103)->currentText(), QString("100%"));
    QCOMPARE(f.list(104)->currentText(), QString("linear"));
    QCOMPARE(f.list(106)->currentText(), QString("Times New Roman"));
    QCOMPARE(f.axis().label(107)->text(), QString("max 6"));
    QCOMPARE(f.axis().label(109)->text(), QString("min 0"));
    QCOMPARE(f.axis().label(206)->text(), QString("max 100"));
    QCOMPARE(f.axis().label(208)->text(), QString("min 29.8"));
    QCOMPARE(f.edit(108)->text(), QString::fromStdString(formatG(doc.xmax)));
    QCOMPARE(f.edit(209)->text(), QString::fromStdString(formatG(doc.ymin)));
    QCOMPARE(f.edit(301)->text(), QString("15"));
    QCOMPARE(f.edit(302)->text(), QString("0.3"));
    QCOMPARE(f.edit(304)->text(), QString("1.3"));
    QCOMPARE(f.graph().row(1).title->text(), QString("sample A"));
    QCOMPARE(f.rowList(2, 0)->currentText(), QString("line"));
    QCOMPARE(f.rowList(2, 2)->currentText(), QString(" "));
}

void PanelTransferTest::invalidInputIsRejectedAsAWhole_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters in the x maximum (read as 0, not above the minimum)") << 108 << "abc";
    QTest::newRow("y minimum above the maximum") << 209 << "1000";
    QTest::newRow("print width beyond 20 cm") << 301 << "25";
    QTest::newRow("no frame width") << 302 << "0";
    QTest::newRow("negative marker size") << 304 << "-1";
}

void PanelTransferTest::invalidInputIsRejectedAsAWhole() {
    QFETCH(int, box);
    QFETCH(QString, typed);
    PanelFixture f;
    f.startWithSets(2);
    const Document before = f.document();
    const QString shown = f.edit(box)->text();
    const Picture* picture = f.desktop().graph().picture();
    // A valid change typed at the same time goes with the rejected one.
    f.type(f.edit(101), "New title");
    f.rowList(1, 1)->setCurrentIndex(3);
    f.type(f.edit(box), typed);
    f.press(Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(f.document().sameAs(before));
    QCOMPARE(f.edit(box)->text(), shown);
    QCOMPARE(f.edit(101)->text(), QString("Panels"));
    QCOMPARE(f.rowList(1, 1)->currentIndex(), 0);
    QCOMPARE(f.desktop().graph().picture(), picture);  // nothing drawn anew
    QVERIFY(f.boxes.messages().empty());
}

void PanelTransferTest::applyReportsAChangeOnce() {
    PanelFixture f;
    f.startWithSets(2);
    Document& doc = f.desktop().document();
    QVERIFY(!f.panels().apply(doc));
    const double old = doc.xmax;
    f.type(f.edit(108), "2.5");
    QVERIFY(f.panels().apply(doc));
    QCOMPARE(doc.xmax, 2.5);
    // The undo copy holds the state before the change.
    QCOMPARE(f.desktop().documents().savedCopy().xmax, old);
    QVERIFY(!f.panels().apply(doc));
    // Without data nothing is read.
    Document empty;
    QVERIFY(!f.panels().apply(empty));
    QCOMPARE(empty.xmax, 1.0);
}

void PanelTransferTest::textsAreCutAtTheFirstLineBreak_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("two lines") << "first line\nsecond line"
                               << "first line";
    QTest::newRow("carriage return and line feed") << "first\r\nsecond"
                                                   << "first";
    QTest::newRow("carriage return after the line feed") << "a\nb\rc"
                                                         << "a";
    QTest::newRow("one line") << "only line"
                              << "only line";
}

void PanelTransferTest::textsAreCutAtTheFirstLineBreak() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    PanelFixture f;
    f.startWithSets(1);
    Document& doc = f.desktop().document();
    f.edit(101)->setText(typed);
    f.edit(204)->setText(typed);
    QVERIFY(f.panels().apply(doc));
    QCOMPARE(QString::fromStdString(doc.vtitle.str()), stored);
    QCOMPARE(QString::fromStdString(doc.ytitle.str()), stored);
    QCOMPARE(f.edit(101)->text(), stored);
    // A text with a line break in the Document shows its first line only.
    doc.xtitle = typed.toStdString();
    f.panels().refresh(doc);
    QCOMPARE(f.edit(105)->text(), stored);
}

void PanelTransferTest::untouchedTitlesKeepTheirBytes_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("parameters");  // empty: none
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");  // empty: nothing typed
    QTest::addColumn<QByteArray>("stored");
    const QByteArray data = "Temp \xb0" "C run\n\nsample\n0 1\n1 2\n";
    const QByteArray parameters = "view=1\r\n\r\nvtitle=T\r\nxtitle=caf\xe9\r\ndata=1\r\n1 1 0 0 0\r\n";
    QTest::newRow("graph title from the data file") << data << QByteArray() << 101 << QString()
                                                    << QByteArray("vtitle=Temp \xb0" "C run\r\n");
    QTest::newRow("axis title from the parameter file") << data << parameters << 105 << QString()
                                                        << QByteArray("xtitle=caf\xe9\r\n");
    QTest::newRow("edited title in the code page") << data << parameters << 105 << QString::fromUtf8("café")
                                                   << QByteArray("xtitle=caf\xc3\xa9\r\n");
}

// Bytes the code page cannot decode are shown as U+FFFD; an unedited text still goes back as it came.
void PanelTransferTest::untouchedTitlesKeepTheirBytes() {
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, parameters);
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    PanelFixture f;
    f.write("latin.dat", data.toStdString());
    if (!parameters.isEmpty()) f.write("latin.P", parameters.toStdString());
    f.start(f.path("latin.dat"));
    QVERIFY(f.edit(box)->text().contains(QChar::ReplacementCharacter));
    if (!typed.isEmpty()) {
        f.edit(box)->selectAll();
        f.edit(box)->insert(typed);
    }
    f.run(command::kSave);
    std::ifstream in(f.path("latin.P"), std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    QVERIFY2(written.find(stored.toStdString()) != std::string::npos, written.c_str());
}

void PanelTransferTest::listPositionsBecomeSizesTypesAndFonts() {
    PanelFixture f;
    f.startWithSets(2);
    Document& doc = f.desktop().document();
    f.list(103)->setCurrentIndex(f.list(103)->findText(" 30%"));
    QCOMPARE(f.list(103)->currentIndex(), 7);
    f.list(205)->setCurrentIndex(f.list(205)->findText("ＭＳ 明朝"));
    f.list(104)->setCurrentIndex(1);  // log: the x range 0.9 .. 3.1 is positive
    f.rowList(2, 3)->setCurrentIndex(2);
    QVERIFY(f.panels().apply(doc));
    QCOMPARE(int(doc.xsize), 30);
    QCOMPARE(doc.yfont, "ＭＳ 明朝");
    QCOMPARE(int(doc.xtype), 1);
    QCOMPARE(int(doc.sets[2].params.shape), 2);

    // Sizes between the items show the item above them; a font is found by its beginning, case
    // ignored, and a font not in the list leaves the list as it was.
    doc.ysize = 95;
    doc.xfont = "courier";
    doc.yfont = "Arial";
    f.panels().refresh(doc);
    QCOMPARE(f.list(202)->currentText(), QString("100%"));
    QCOMPARE(f.list(106)->currentText(), QString("Courier New"));
    QCOMPARE(f.list(205)->currentText(), QString("ＭＳ 明朝"));
    QVERIFY(f.panels().apply(doc));
    QCOMPARE(int(doc.ysize), 100);
    QCOMPARE(doc.xfont, "Courier New");
    QCOMPARE(doc.yfont, "ＭＳ 明朝");
}

void PanelTransferTest::valuesOutsideTheListsLeaveThemWithoutSelection() {
    PanelFixture f;
    f.startWithSets(2);
    Document doc = f.document();
    doc.xtype = -1;  // log of negative values: no item
    doc.xsize = 0;
    doc.sets[1].params.linetype = 7;  // shown as 7 mod 5
    doc.sets[1].params.shape = -1;
    doc.sets[2].params.interp = 3;
    f.panels().refresh(doc);
    QCOMPARE(f.list(104)->currentIndex(), -1);
    QCOMPARE(f.list(103)->currentIndex(), -1);
    QCOMPARE(f.rowList(1, 1)->currentIndex(), 2);
    QCOMPARE(f.rowList(1, 3)->currentIndex(), -1);
    QCOMPARE(f.rowList(2, 0)->currentIndex(), -1);
    // Lists without selection leave their fields alone when read.
    Document read = doc;
    f.axis().read(read);
    f.graph().read(read);
    QCOMPARE(int(read.xtype), -1);
    QCOMPARE(int(read.xsize), 0);
    QCOMPARE(int(read.sets[1].params.shape), -1);
    QCOMPARE(int(read.sets[1].params.linetype), 2);
}

void PanelTransferTest::leavingAPageAppliesWhatWasTyped() {
    PanelFixture f;
    f.startWithSets(2);
    const Picture* picture = f.desktop().graph().picture();
    f.type(f.edit(108), "2.5");
    f.window().tabs().tabBar()->setCurrentIndex(kGraphPage);
    QCOMPARE(f.window().currentPage(), int(kGraphPage));
    QCOMPARE(f.document().xmax, 2.5);
    QVERIFY(f.desktop().graph().picture() != picture);
}

void PanelTransferTest::setAllChoices_data() {
    QTest::addColumn<QList<int>>("lines");    // interp of sets 1-4 before
    QTest::addColumn<QList<int>>("markers");  // marker of sets 1-4 before (set 4 has error data)
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QList<int>>("expected");  // the column's values afterwards
    const int yes = int(Answer::Yes), no = int(Answer::No), cancel = int(Answer::Cancel);
    const QList<int> allLines{1, 1, 1, 1}, noMarkers{0, 0, 0, 0};
    QTest::newRow("line type, No: a cycle through the drawn sets")
        << allLines << noMarkers << 2 << 1 << 2 << no << QList<int>{1, 2, 3, 4};
    QTest::newRow("line type, No, set 1 without a line keeps its own")
        << QList<int>{0, 1, 1, 1} << QList<int>{1, 0, 0, 0} << 2 << 1 << 2 << no << QList<int>{0, 1, 2, 3};
    QTest::newRow("line type, Yes: every set with a line")
        << QList<int>{1, 0, 2, 1} << QList<int>{0, 1, 0, 0} << 3 << 1 << 4 << yes << QList<int>{4, 0, 4, 4};
    QTest::newRow("line type, Cancel")
        << allLines << noMarkers << 2 << 1 << 2 << cancel << QList<int>{0, 2, 0, 0};
    QTest::newRow("shape, No: a cycle through the sets with markers")
        << allLines << QList<int>{1, 0, 1, 1} << 3 << 3 << 1 << no << QList<int>{3, 0, 0, 1};
    QTest::newRow("marker, Yes leaves sets without marker out")
        << allLines << QList<int>{0, 1, 0, 1} << 4 << 2 << 3 << yes << QList<int>{0, 1, 0, 3};
    QTest::newRow("marker, No gives it to all; error bars only where there is error data")
        << allLines << QList<int>{0, 1, 0, 1} << 4 << 2 << 3 << no << QList<int>{1, 1, 1, 3};
    QTest::newRow("interpolation, Yes leaves hidden sets out")
        << QList<int>{0, 1, 0, 1} << QList<int>{1, 0, 1, 0} << 2 << 0 << 2 << yes << QList<int>{0, 2, 0, 2};
    QTest::newRow("interpolation, No")
        << QList<int>{0, 1, 0, 1} << QList<int>{1, 0, 1, 0} << 2 << 0 << 2 << no << QList<int>{2, 2, 2, 2};
}

void PanelTransferTest::setAllChoices() {
    QFETCH(QList<int>, lines);
    QFETCH(QList<int>, markers);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, value);
    QFETCH(int, answer);
    QFETCH(QList<int>, expected);
    PanelFixture f;
    f.write("mixed.dat", kMixedData);
    f.start(f.path("mixed.dat"));
    f.activate();
    QCOMPARE(f.document().data, 4);
    f.desktop().showPage(kGraphPage);
    for (int i = 1; i <= 4; ++i) {
        f.rowList(i, 0)->setCurrentIndex(lines[i - 1]);
        f.rowList(i, 1)->setCurrentIndex(0);
        f.rowList(i, 2)->setCurrentIndex(markers[i - 1]);
        f.rowList(i, 3)->setCurrentIndex(0);
    }
    f.rowList(row, column)->setCurrentIndex(value);
    f.rowList(row, column)->setFocus();
    f.boxes.scriptAnswers({Answer(answer)});
    f.press(Qt::Key_Return, Qt::AltModifier);
    QCOMPARE(choices(f.document(), column), expected);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].kind, std::string("askWithCancel"));
    QCOMPARE(f.boxes.messages()[0].caption, std::string("VarnexWin32 3.26c"));
    const std::string question =
        column == 1 ? "全てのｸﾞﾗﾌを同じ線種に設定しますか？\n「いいえ」と答えると全て異なる線種に設定します。"
        : column == 3
            ? "全てのｸﾞﾗﾌを同じ点種に設定しますか？\n「いいえ」と答えると全て異なる点種に設定します。"
        : column == 0
            ? "全てのｸﾞﾗﾌの補間方法を同じに設定します。\nその際、非表示のｸﾞﾗﾌを除きますか？"
            : "全てのｸﾞﾗﾌのﾃﾞｰﾀ点の表示方法を同じに設定します。\nその際、非表示のｸﾞﾗﾌを除きますか？";
    QCOMPARE(f.boxes.messages()[0].text, question);
    // The panels show the result.
    for (int i = 1; i <= 4; ++i) QCOMPARE(f.rowList(i, column)->currentIndex(), expected[i - 1]);
}

void PanelTransferTest::setAllNeedsTheFocusOnARowList() {
    PanelFixture f;
    f.startWithSets(3);
    f.edit(108)->setFocus();
    f.type(f.edit(108), "2.5");
    const auto before = choices(f.document(), 1);
    f.run(command::kSetParameter);
    QVERIFY(f.boxes.messages().empty());
    QCOMPARE(choices(f.document(), 1), before);
    QCOMPARE(f.document().xmax, 2.5);  // the panels were applied all the same
}

void PanelTransferTest::undoExchangesTheDocumentAndTheUndoCopy() {
    PanelFixture f;
    f.startWithSets(2);
    const double first = f.document().xmax;
    const Picture* picture = f.desktop().graph().picture();
    f.run(command::kUndoGraph);  // nothing to undo
    QCOMPARE(f.desktop().graph().picture(), picture);
    QCOMPARE(f.window().windowTitle(), QString("sets.dat - VarnexWin32 3.26c"));

    const std::string loaded = dump(f.desktop().graph());
    f.type(f.edit(108), "2.5");
    f.run(command::kDraw);
    QCOMPARE(f.document().xmax, 2.5);
    const std::string changed = dump(f.desktop().graph());
    QVERIFY(changed != loaded);
    f.run(command::kUndoGraph);
    QCOMPARE(f.document().xmax, first);
    QCOMPARE(f.edit(108)->text(), QString::fromStdString(formatG(first)));
    QCOMPARE(dump(f.desktop().graph()), loaded);
    f.run(command::kUndoGraph);
    QCOMPARE(dump(f.desktop().graph()), changed);
    QCOMPARE(f.document().xmax, 2.5);
    QCOMPARE(f.edit(108)->text(), QString("2.5"));
}

void PanelTransferTest::titleIsMarkedFromTheFirstChangeUntilTheNextLoad() {
    PanelFixture f;
    f.startWithSets(2);
    const QString clean = "sets.dat - VarnexWin32 3.26c";
    const QString marked = "sets.dat * - VarnexWin32 3.26c";
    QCOMPARE(f.window().windowTitle(), clean);
    f.run(command::kDraw);
    QCOMPARE(f.window().windowTitle(), clean);
    f.type(f.edit(301), "12");
    f.run(command::kDraw);
    QCOMPARE(f.window().windowTitle(), marked);
    f.run(command::kUndoGraph);  // back to the state of the load: the mark stays
    QCOMPARE(f.document().printw, 15.0);
    QCOMPARE(f.window().windowTitle(), marked);
    f.desktop().documents().open(f.path("sets.dat"));
    QCOMPARE(f.window().windowTitle(), clean);
}

void PanelTransferTest::drawClosesAnOpenList() {
    PanelFixture f;
    f.startWithSets(2);
    f.desktop().showPage(kGraphPage);
    QComboBox* list = f.rowList(2, 1);
    list->setFocus();
    list->setCurrentIndex(2);
    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());
    // The key reaches the program through the open list.
    QTest::keyClick(list->view(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(!list->view()->isVisible());
    QCOMPARE(int(f.document().sets[2].params.linetype), 2);
}

void PanelTransferTest::panelValuesReachThePictureAndTheParameterFile() {
    PanelFixture f;
    f.startWithSets(3, 6);
    const std::string before = dump(f.desktop().graph());
    QVERIFY(before.find("pen 3 ") == std::string::npos);  // no "-.-" yet
    f.type(f.edit(110), "2");
    f.type(f.edit(108), "5");
    f.desktop().showPage(kGraphPage);
    f.rowList(2, 1)->setFocus();
    f.rowList(2, 1)->setCurrentIndex(3);
    f.press(Qt::Key_Return, Qt::ControlModifier);
    const std::string after = dump(f.desktop().graph());
    QVERIFY(after.find("pen 3 ") != std::string::npos);
    QCOMPARE(f.document().xmin, 2.0);
    QCOMPARE(f.document().xmax, 5.0);
    QVERIFY(after != before);

    QCOMPARE(writeParameters(f.desktop().views()), WriteResult::Written);
    f.desktop().documents().open(f.path("sets.dat"));
    QCOMPARE(f.document().xmin, 2.0);
    QCOMPARE(f.document().xmax, 5.0);
    QCOMPARE(f.edit(110)->text(), QString("2"));
    QCOMPARE(f.edit(108)->text(), QString("5"));
    QCOMPARE(f.rowList(2, 1)->currentText(), QString("-.-"));
    QCOMPARE(dump(f.desktop().graph()), after);
}

}  // namespace varnex

QTEST_MAIN(varnex::PanelTransferTest)
#include "panel_transfer_test.moc"
