// The menu states: the items each menu's opening enables, greys and checks for the facts of the moment,
// the text of "copy data", and the menu whose state decides an accelerator.
#include <QtTest>

#include "menus/menu_state.h"

Q_DECLARE_METATYPE(varnex::MenuKind)
Q_DECLARE_METATYPE(varnex::MenuFacts)

namespace varnex {
namespace {

MenuFacts loaded() {
    MenuFacts facts;
    facts.hasData = true;
    return facts;
}

MenuFacts with(MenuFacts facts, void (*change)(MenuFacts&)) {
    change(facts);
    return facts;
}

}  // namespace

class MenuStateTest : public QObject {
    Q_OBJECT
private slots:
    void dataCommandsFollowTheDataInEveryMenu();
    void itemStates_data();
    void itemStates();
    void copyDataLabelNamesTheFocusedRow();
    void checkMarksFollowTheFlags();
    void menuOfAcceleratorCommands();
};

void MenuStateTest::dataCommandsFollowTheDataInEveryMenu() {
    const int dataCommands[] = {1025, 7501, 114,  1113, 9000, 1111, 1112, 1028, 1222, 1062, 1050, 1054, 108,
                                1051, 1053, 109,  1055, 117,  1052, 1070, 1071, 1076, 1075, 6000, 1115,
                                1009};
    for (MenuKind menu : {MenuKind::File, MenuKind::Edit, MenuKind::Graph, MenuKind::View, MenuKind::Other}) {
        const MenuState empty = menuState(menu, MenuFacts{});
        MenuFacts data = loaded();
        data.sheetModified = true;
        data.sameAsUndo = false;
        const MenuState full = menuState(menu, data);
        for (int id : dataCommands) {
            QVERIFY2(empty.item(id) && !empty.item(id)->enabled, qPrintable(QString::number(id)));
            QVERIFY2(full.item(id) && full.item(id)->enabled, qPrintable(QString::number(id)));
        }
    }
    // Commands that work without data are left as they are by menus other than their own.
    QVERIFY(!menuState(MenuKind::Other, MenuFacts{}).item(1010));
    QVERIFY(!menuState(MenuKind::File, MenuFacts{}).item(110));
}

void MenuStateTest::itemStates_data() {
    QTest::addColumn<MenuKind>("menu");
    QTest::addColumn<MenuFacts>("facts");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("enabled");

    const MenuFacts none;
    const MenuFacts data = loaded();
    QTest::newRow("save") << MenuKind::File << data << 1113 << true;
    QTest::newRow("save of the paste file")
        << MenuKind::File << with(data, [](MenuFacts& f) { f.mainIsPasteFile = true; }) << 1113 << false;
    QTest::newRow("save data, sheet unchanged") << MenuKind::File << data << 114 << false;
    QTest::newRow("save data, sheet modified")
        << MenuKind::File << with(data, [](MenuFacts& f) { f.sheetModified = true; }) << 114 << true;
    QTest::newRow("save data without data")
        << MenuKind::File << with(none, [](MenuFacts& f) { f.sheetModified = true; }) << 114 << false;

    // The Edit menu with the focus on a panel list (a combo box): nothing to edit there.
    const MenuFacts list = with(data, [](MenuFacts& f) { f.clipboardText = true; });
    for (int id : {110, 113, 112, 111, 201}) {
        QTest::addRow("edit %d, focus on a list", id) << MenuKind::Edit << list << id << false;
    }
    const MenuFacts box = with(list, [](MenuFacts& f) {
        f.focus.textBox = true;
        f.focus.hasSelection = true;
        f.focus.canUndo = true;
    });
    for (int id : {110, 113, 112, 111}) QTest::addRow("edit %d, text box", id) << MenuKind::Edit << box << id << true;
    QTest::newRow("find, text box") << MenuKind::Edit << box << 201 << false;
    QTest::newRow("find, data sheet")
        << MenuKind::Edit << with(box, [](MenuFacts& f) { f.focus.dataSheet = true; }) << 201 << true;
    QTest::newRow("copy without selection")
        << MenuKind::Edit << with(box, [](MenuFacts& f) { f.focus.hasSelection = false; }) << 110 << false;
    QTest::newRow("edit paste, empty clipboard")
        << MenuKind::Edit << with(box, [](MenuFacts& f) { f.clipboardText = false; }) << 112 << false;
    QTest::newRow("edit undo, nothing to undo")
        << MenuKind::Edit << with(box, [](MenuFacts& f) { f.focus.canUndo = false; }) << 111 << false;

    QTest::newRow("paste, empty clipboard") << MenuKind::Graph << none << 1018 << false;
    QTest::newRow("paste, text") << MenuKind::Graph << with(none, [](MenuFacts& f) { f.clipboardText = true; })
                                 << 1018 << true;
    QTest::newRow("paste new, file list")
        << MenuKind::Graph << with(none, [](MenuFacts& f) { f.clipboardFiles = true; }) << 1019 << true;
    QTest::newRow("paste new, empty clipboard") << MenuKind::Graph << none << 1019 << false;

    QTest::newRow("undo, same as the undo copy") << MenuKind::Graph << data << 1062 << false;
    QTest::newRow("undo after a change")
        << MenuKind::Graph << with(data, [](MenuFacts& f) { f.sameAsUndo = false; }) << 1062 << true;
    QTest::newRow("undo after a change, no data")
        << MenuKind::Graph << with(none, [](MenuFacts& f) { f.sameAsUndo = false; }) << 1062 << false;
    QTest::newRow("set parameter, axis page") << MenuKind::Graph << data << 1031 << false;
    QTest::newRow("set parameter, graph page")
        << MenuKind::Graph << with(data, [](MenuFacts& f) { f.page = 1; }) << 1031 << true;
    QTest::newRow("set parameter, data page")
        << MenuKind::Graph << with(data, [](MenuFacts& f) { f.page = 2; }) << 1031 << true;
    QTest::newRow("set parameter, no data")
        << MenuKind::Graph << with(none, [](MenuFacts& f) { f.page = 1; }) << 1031 << false;
    QTest::newRow("draw, no data") << MenuKind::Graph << none << 1222 << false;

    QTest::newRow("delete the only view") << MenuKind::View << data << 6999 << false;
    QTest::newRow("delete one of two views")
        << MenuKind::View << with(data, [](MenuFacts& f) { f.viewCount = 2; }) << 6999 << true;

    // Recent Files: the sub-menu needs an entry, an entry its file; data does not matter.
    const MenuFacts recent = with(none, [](MenuFacts& f) { f.recentFiles = {true, false, true}; });
    QTest::newRow("recent files, empty") << MenuKind::File << none << 3000 << false;
    QTest::newRow("recent files, listed") << MenuKind::File << recent << 3000 << true;
    QTest::newRow("recent entry 1, file there") << MenuKind::Other << recent << 3001 << true;
    QTest::newRow("recent entry 2, file missing") << MenuKind::Other << recent << 3002 << false;
    QTest::newRow("recent entry 3, file there") << MenuKind::File << recent << 3003 << true;
}

void MenuStateTest::itemStates() {
    QFETCH(MenuKind, menu);
    QFETCH(MenuFacts, facts);
    QFETCH(int, id);
    QFETCH(bool, enabled);
    const std::optional<ItemState> item = menuState(menu, facts).item(id);
    QVERIFY(item.has_value());
    QCOMPARE(item->enabled, enabled);
}

void MenuStateTest::copyDataLabelNamesTheFocusedRow() {
    MenuFacts facts = loaded();
    facts.focus.graphRow = 3;  // the shape list of row 3
    MenuState state = menuState(MenuKind::Graph, facts);
    QCOMPARE(state.copyDataLabel.value_or(""), std::string("copy data #3(&D)"));
    QVERIFY(state.item(107)->enabled);

    facts.focus = {};
    facts.focus.textBox = facts.focus.dataSheet = true;  // the data sheet
    state = menuState(MenuKind::Graph, facts);
    QCOMPARE(state.copyDataLabel.value_or(""), std::string("copy data(&D)"));
    QVERIFY(!state.item(107)->enabled);
    QVERIFY(!menuState(MenuKind::Graph, MenuFacts{}).item(107)->enabled);
    QVERIFY(!menuState(MenuKind::File, facts).copyDataLabel);  // only the Graph menu relabels it
}

void MenuStateTest::checkMarksFollowTheFlags() {
    MenuFacts facts;
    QCOMPARE(menuState(MenuKind::File, facts).item(1008)->checked, std::optional<bool>(false));
    QCOMPARE(menuState(MenuKind::Graph, facts).item(115)->checked, std::optional<bool>(false));
    facts.watching = true;
    facts.pasteMarkers = true;
    QCOMPARE(menuState(MenuKind::File, facts).item(1008), std::optional<ItemState>(ItemState{true, true}));
    QCOMPARE(menuState(MenuKind::Graph, facts).item(115), std::optional<ItemState>(ItemState{true, true}));
    QVERIFY(!menuState(MenuKind::File, facts).item(1113)->checked);
    // Follow is checked with the current View's flag, and only the View menu sets its mark.
    facts.hasData = true;
    QCOMPARE(menuState(MenuKind::View, facts).item(1009), std::optional<ItemState>(ItemState{true, false}));
    facts.following = true;
    QCOMPARE(menuState(MenuKind::View, facts).item(1009), std::optional<ItemState>(ItemState{true, true}));
    QVERIFY(!menuState(MenuKind::File, facts).item(1009)->checked);
    QCOMPARE(menuOfCommand(1009), MenuKind::View);
}

void MenuStateTest::menuOfAcceleratorCommands() {
    const struct {
        int id;
        MenuKind menu;
    } cases[] = {
        {1010, MenuKind::File},  {1113, MenuKind::File},  {201, MenuKind::Edit},   {1222, MenuKind::Graph},
        {1031, MenuKind::Graph}, {1112, MenuKind::Graph}, {1018, MenuKind::Graph}, {1050, MenuKind::Other},
        {1051, MenuKind::Other}, {1028, MenuKind::Other}, {1052, MenuKind::Other}, {1070, MenuKind::Other},
        {6000, MenuKind::View},  {6005, MenuKind::View},  {5000, MenuKind::Other}, {2500, MenuKind::Other},
        {1115, MenuKind::File},
    };
    for (const auto& c : cases) QVERIFY2(menuOfCommand(c.id) == c.menu, qPrintable(QString::number(c.id)));
    // Ctrl+Enter without a file and Alt+Enter on the axis page find their items greyed.
    QVERIFY(!menuState(menuOfCommand(1222), MenuFacts{}).item(1222)->enabled);
    QVERIFY(!menuState(menuOfCommand(1031), loaded()).item(1031)->enabled);
    // Ctrl+E without a file: Export is greyed.
    QVERIFY(!menuState(menuOfCommand(1115), MenuFacts{}).item(1115)->enabled);
}

}  // namespace varnex

QTEST_MAIN(varnex::MenuStateTest)
#include "menu_state_test.moc"
