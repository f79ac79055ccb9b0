// The menu bar of a running desktop: its items in order with their keys and status texts, the states
// its menus take as they open (with and without data, by the focus, the clipboard, the paste file,
// the undo copy, the page shown), "copy data" after the focused row, the check marks, and the
// accelerators that do nothing while their item is greyed.
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

#include "app/accelerator_filter.h"
#include "app/desktop_fixture.h"
#include "app/sheet_commands.h"
#include "datasheet/data_sheet.h"
#include "panels/axis_panel.h"
#include "panels/graph_panel.h"
#include "panels/parameter_panels.h"
#include "shell/commands.h"
#include "shell/panel_command_ids.h"

namespace varnex {

using testing::DesktopFixture;
using testing::kRunData;

namespace {

constexpr const char* kThreeSets = "Three sets\n\nsamples\n0 1 10 100\n1 2 20 200\n2 3 30 300\n";

// The commands greyed while no file is loaded.
constexpr int kDataCommands[] = {1025, 7501, 114,  1113, 9000, 1111, 1112, 1028, 1222, 1062, 1050, 1054, 108,
                                 1051, 1053, 109,  1055, 117,  1052, 1070, 1071, 1076, 1075, 6000, 6999, 1115};

// A menu's items in order: "id text" per item, "-" per separator, "title >" per sub-menu followed by
// its items indented by two blanks.
QStringList listing(const QMenu* menu, const QString& indent = {}) {
    QStringList items;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            items << indent + "-";
        } else if (a->menu()) {
            items << indent + a->text() + " >";
            items << listing(a->menu(), indent + "  ");
        } else {
            items << indent + QString("%1 %2").arg(a->data().toInt()).arg(a->text());
        }
    }
    return items;
}

// Every item of a menu and its sub-menus.
QList<QAction*> itemsOf(const QMenu* menu) {
    QList<QAction*> items;
    for (QAction* a : menu->actions()) {
        if (a->menu()) items << itemsOf(a->menu());
        else if (!a->isSeparator()) items << a;
    }
    return items;
}

QMenu* subMenu(const QMenu* menu, const QString& title) {
    for (const QAction* a : menu->actions()) {
        if (a->menu() && a->text() == title) return a->menu();
    }
    return nullptr;
}

void focus(QWidget& widget) {
    widget.activateWindow();
    widget.setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), &widget);
}

void open(DesktopFixture& f, const QString& title) { emit f.menu(title)->aboutToShow(); }

bool enabled(DesktopFixture& f, int id) { return f.desktop().actions().action(id)->isEnabled(); }

}  // namespace

class MenuBarTest : public QObject {
    Q_OBJECT
private slots:
    void menuBarFollowsTheCommandTable();
    void itemsShowTheirStatusTextsAndKeys();
    void withoutDataEveryDataCommandIsGreyed();
    void editMenuFollowsTheFocus();
    void pasteFollowsTheClipboard_data();
    void pasteFollowsTheClipboard();
    void saveFollowsTheFileAndTheSheet();
    void graphUndoAndSetParameter();
    void copyDataNamesTheFocusedRow();
    void checkMarksFollowTheFlags();
    void acceleratorsDoNothingWhileGreyed();
};

void MenuBarTest::menuBarFollowsTheCommandTable() {
    DesktopFixture f;
    f.start("");
    QCOMPARE(f.menuTitles(), (QStringList{"&File", "&Edit", "&Graph", "&View", "&Help"}));
    QCOMPARE(listing(f.menu("&File")),
             (QStringList{"1010 &Open\tCtrl+O", "1025 &ReOpen", "7501 &Insert", "1008 &Watch", "-",
                          "1113 &Save\tCtrl+S", "9000 Save &As", "114 Save &Data", "1115 &Export...\tCtrl+E", "-",
                          "1111 &Print", "-", "Recent &Files >", "-", "1001 E&xit"}));
    QCOMPARE(listing(f.menu("&Edit")),
             (QStringList{"111 &Undo\tCtrl+Z", "-", "113 Cu&t\tShift+Del", "110 &Copy\tCtrl+Ins",
                          "112 &Paste\tShift+Ins", "-", "201 &Find\tCtrl+F", "-", "1026 Edit &Ini File"}));
    QCOMPARE(listing(f.menu("&Graph")),
             (QStringList{"1222 &Draw\tCtrl+Enter", "1031 &Set Parameter\tAlt+Enter", "1062 &Undo", "-",
                          "&X-region >", "  1050 &Input\tCtrl+X", "  108 &Min and Max", "  1054 &Auto",
                          "&Y-region >", "  1051 &Input\tCtrl+Y", "  109 &Min and Max", "  1053 &Auto",
                          "&Region >", "  117 &Min and Max", "  1055 &Auto", "-",
                          "1112 &Copy\tCtrl+C", "107 copy data(&D)", "1018 &Paste\tCtrl+V",
                          "1019 Paste as &New Graph", "115 &Marker", "-",
                          "&Cursor >", "  1028 &Switch Sheet\tCtrl+Tab", "  1052 &Home\tCtrl+H", "  1071 &Up\tCtrl+Up",
                          "  1070 &Down\tCtrl+Down", "  1076 &Left\tCtrl+Left", "  1075 &Right\tCtrl+Right"}));
    QCOMPARE(listing(f.menu("&View")), (QStringList{"6000 &Add", "6999 &Delete", "1009 &Follow"}));
    QCOMPARE(listing(f.menu("&Help")), (QStringList{"1011 &Help", "1012 &Version"}));
}

void MenuBarTest::itemsShowTheirStatusTextsAndKeys() {
    DesktopFixture f;
    f.start("", "menu=Sort\ncmnd=sort-tool\n");
    // The Edit menu names the text boxes' own keys; every other key shown is an accelerator of its item.
    const QList<int> textBoxKeys{111, 113, 110, 112};
    for (const QString& title : f.menuTitles()) {
        QMenu* menu = f.menu(title);
        for (QAction* item : itemsOf(menu)) {
            const int id = item->data().toInt();
            emit menu->hovered(item);
            const QString status = f.window().statusText(kMessagePart);
            QVERIFY2(!status.isEmpty(), qPrintable(item->text()));
            const QStringList parts = item->text().split('\t');
            if (parts.size() == 2 && !textBoxKeys.contains(id)) {
                const QKeySequence keys(parts[1]);
                QCOMPARE(acceleratorCommand(keys[0]).value_or(0), id);
            }
        }
        emit menu->aboutToHide();
        QCOMPARE(f.window().statusText(kMessagePart), QString());
    }
}

void MenuBarTest::withoutDataEveryDataCommandIsGreyed() {
    DesktopFixture f;
    f.start("");
    for (const QString& title : f.menuTitles()) {
        open(f, title);
        for (int id : kDataCommands) QVERIFY2(!enabled(f, id), qPrintable(QString("%1 after %2").arg(id).arg(title)));
    }
    QVERIFY(enabled(f, command::kOpen));
    QCOMPARE(listing(f.menu("&View")), (QStringList{"6000 &Add", "6999 &Delete", "1009 &Follow"}));
    QCOMPARE(f.menu("&File")->actions().size(), 15);  // no file list
    QCOMPARE(f.desktop().actions().action(command::kCopyData)->text(), QString("copy data(&D)"));
    QVERIFY(!enabled(f, command::kCopyData));
    QVERIFY(!enabled(f, command::kSetParameter));

    // Loaded, the same items are enabled (Save Data waits for a modified sheet, Delete for a second View).
    f.write("run.dat", kRunData);
    f.desktop().documents().open(f.path("run.dat"));
    f.desktop().actions().runCommand(command::kAddView);
    open(f, "&File");
    open(f, "&View");
    open(f, "&Graph");
    for (int id : kDataCommands) {
        if (id != command::kSaveData && id != command::kUndoGraph) QVERIFY2(enabled(f, id), qPrintable(QString::number(id)));
    }
}

void MenuBarTest::editMenuFollowsTheFocus() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    QGuiApplication::clipboard()->setText("12");
    AxisPanel& axis = f.desktop().panels().axis();
    const QList<int> edit{command::kEditCopy, command::kEditCut, command::kEditPaste, command::kEditUndo,
                          command::kFind};

    // A panel list (the x-axis type) is no text box.
    focus(*axis.list(104));
    open(f, "&Edit");
    for (int id : edit) QVERIFY2(!enabled(f, id), qPrintable(QString::number(id)));

    // A number box with a selection and an edit to undo.
    QLineEdit* xmax = axis.edit(108);
    focus(*xmax);
    QTest::keyClick(xmax, Qt::Key_End);
    QTest::keyClick(xmax, Qt::Key_0);
    xmax->selectAll();
    open(f, "&Edit");
    QCOMPARE((QList<bool>{enabled(f, command::kEditCopy), enabled(f, command::kEditCut),
                          enabled(f, command::kEditPaste), enabled(f, command::kEditUndo),
                          enabled(f, command::kFind)}),
             (QList<bool>{true, true, true, true, false}));

    // The data sheet, with nothing selected: only Paste and Find.
    f.desktop().showPage(kDataPage);
    DataSheet& sheet = f.desktop().sheet().sheet();
    focus(sheet);
    open(f, "&Edit");
    QCOMPARE((QList<bool>{enabled(f, command::kEditCopy), enabled(f, command::kEditCut),
                          enabled(f, command::kEditPaste), enabled(f, command::kEditUndo),
                          enabled(f, command::kFind)}),
             (QList<bool>{false, false, true, false, true}));

    // A menu bar driven by the keyboard takes the focus; the menus still go by the control left.
    focus(*f.window().menuBar());
    open(f, "&Edit");
    QVERIFY(enabled(f, command::kFind));
}

void MenuBarTest::pasteFollowsTheClipboard_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("canPaste");
    QTest::newRow("empty") << "empty" << false;
    QTest::newRow("text") << "text" << true;
    QTest::newRow("file list") << "files" << true;
    QTest::newRow("a picture only") << "picture" << false;
}

void MenuBarTest::pasteFollowsTheClipboard() {
    QFETCH(QString, content);
    QFETCH(bool, canPaste);
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    auto* data = new QMimeData;
    if (content == "text") data->setText("0 1\n1 2\n");
    if (content == "files") data->setUrls({QUrl::fromLocalFile(QString::fromStdString(f.path("run.dat")))});
    if (content == "picture") data->setData("image/png", QByteArray("\x89PNG"));
    QGuiApplication::clipboard()->setMimeData(data);
    open(f, "&Graph");
    QCOMPARE(enabled(f, command::kPaste), canPaste);
    QCOMPARE(enabled(f, command::kPasteAsNewGraph), canPaste);
    // Ctrl+V follows the item.
    f.window().setStatusText(kMessagePart, "kept");
    QTest::keyClick(&f.window(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.window().statusText(kMessagePart).isEmpty(), canPaste);
}

void MenuBarTest::saveFollowsTheFileAndTheSheet() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    open(f, "&File");
    QVERIFY(enabled(f, command::kSave));
    QVERIFY(!enabled(f, command::kSaveData));

    DataSheet& sheet = f.desktop().sheet().sheet();
    sheet.moveCursor(QTextCursor::End);
    QTest::keyClick(&sheet, Qt::Key_Return);
    QTest::keyClicks(&sheet, "4 14.9 17.0");
    open(f, "&File");
    QVERIFY(enabled(f, command::kSaveData));

    // Pasted as a new graph, the data lives in the paste file "@.@", which has no parameter file.
    QGuiApplication::clipboard()->setText("Pasted\n0 5 7\n1 6 8\n");
    f.desktop().actions().runCommand(command::kPasteAsNewGraph);
    QCOMPARE(f.document().files.name(0), f.path("@.@"));
    open(f, "&File");
    QVERIFY(!enabled(f, command::kSave));
    QVERIFY(enabled(f, command::kSaveAs));
}

void MenuBarTest::graphUndoAndSetParameter() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    open(f, "&Graph");
    QVERIFY(!enabled(f, command::kUndoGraph));  // the Document equals the undo copy after the load
    QVERIFY(!enabled(f, command::kSetParameter));  // the axis page is shown

    // Opening a sub-menu sets its own items and leaves the Graph menu's as they are.
    emit subMenu(f.menu("&Graph"), "&X-region")->aboutToShow();
    QVERIFY(enabled(f, command::kXAuto));
    QVERIFY(!enabled(f, command::kUndoGraph));

    f.desktop().actions().runCommand(command::kXAuto);
    open(f, "&Graph");
    QVERIFY(enabled(f, command::kUndoGraph));
    f.desktop().actions().runCommand(command::kUndoGraph);
    open(f, "&Graph");
    QVERIFY(enabled(f, command::kUndoGraph));  // a second Undo brings the change back

    for (int page : {kGraphPage, kDataPage}) {
        f.desktop().showPage(page);
        open(f, "&Graph");
        QVERIFY(enabled(f, command::kSetParameter));
    }
}

void MenuBarTest::copyDataNamesTheFocusedRow() {
    DesktopFixture f;
    f.write("three.dat", kThreeSets);
    f.start(f.path("three.dat"));
    QAction* copyData = f.desktop().actions().action(command::kCopyData);
    f.desktop().showPage(kGraphPage);
    GraphPanel& panel = f.desktop().panels().graph();
    focus(*panel.row(3).lists[3]);  // the shape list of row 3
    open(f, "&Graph");
    QCOMPARE(copyData->text(), QString("copy data #3(&D)"));
    QVERIFY(copyData->isEnabled());
    copyData->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied.size(), 153);
    QVERIFY(copied.startsWith("  0.0000000000000000e+00\t  1.0000000000000000e+02\r\n"));

    // The title box of a row is no list.
    focus(*panel.row(2).title);
    open(f, "&Graph");
    QCOMPARE(copyData->text(), QString("copy data(&D)"));
    QVERIFY(!copyData->isEnabled());

    f.desktop().showPage(kDataPage);
    focus(f.desktop().sheet().sheet());
    open(f, "&Graph");
    QCOMPARE(copyData->text(), QString("copy data(&D)"));
    QVERIFY(!copyData->isEnabled());
    QGuiApplication::clipboard()->setText("unchanged");
    f.desktop().actions().runCommand(command::kCopyData);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("unchanged"));
}

void MenuBarTest::checkMarksFollowTheFlags() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    QAction* watch = f.desktop().actions().action(command::kWatch);
    QAction* marker = f.desktop().actions().action(command::kMarker);
    for (bool on : {true, false}) {
        watch->trigger();
        marker->trigger();
        open(f, "&File");
        open(f, "&Graph");
        QCOMPARE(watch->isChecked(), on);
        QCOMPARE(f.desktop().watch().watching(), on);
        QCOMPARE(marker->isChecked(), on);
        QCOMPARE(f.desktop().documents().pasteMarkers(), on);
    }
}

void MenuBarTest::acceleratorsDoNothingWhileGreyed() {
    DesktopFixture f;
    f.start("");
    MainWindow& w = f.window();
    // A command that runs clears status part 0 at its end.
    w.setStatusText(kMessagePart, "kept");
    QTest::keyClick(&w, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(w.statusText(kMessagePart), QString("kept"));

    f.write("three.dat", kThreeSets);
    f.desktop().documents().open(f.path("three.dat"));
    QTest::keyClick(&w, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(w.statusText(kMessagePart), QString());

    // Alt+Enter on the axis page: nothing applied, drawn or asked.
    const Picture* picture = f.desktop().graph().picture();
    w.setStatusText(kMessagePart, "kept");
    QTest::keyClick(&w, Qt::Key_Return, Qt::AltModifier);
    QCOMPARE(w.statusText(kMessagePart), QString("kept"));
    QCOMPARE(f.desktop().graph().picture(), picture);
    QVERIFY(f.boxes.messages().empty());

    // On the graph page it asks for the focused list.
    f.desktop().showPage(kGraphPage);
    focus(*f.desktop().panels().graph().row(2).lists[1]);
    f.boxes.scriptAnswers({Answer::Cancel});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::AltModifier);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].kind, std::string("askWithCancel"));
}

}  // namespace varnex

QTEST_MAIN(varnex::MenuBarTest)
#include "menu_bar_test.moc"
