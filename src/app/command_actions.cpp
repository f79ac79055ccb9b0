#include "app/command_actions.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>

#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/export_command.h"
#include "app/file_commands.h"
#include "app/file_dialogs.h"
#include "app/graph_commands.h"
#include "app/main_window.h"
#include "app/panel_commands.h"
#include "app/recent_files.h"
#include "app/sheet_commands.h"
#include "app/view_commands.h"
#include "app/watch_poller.h"
#include "datasheet/data_sheet.h"
#include "graph/graph_mouse.h"
#include "graph/graph_view.h"
#include "menus/menu_facts.h"
#include "panels/graph_panel.h"
#include "panels/parameter_panels.h"
#include "render/output/qt/text_codec.h"
#include "shell/commands.h"
#include "shell/panel_command_ids.h"
#include "util/paths.h"

namespace varnex {
namespace {

// The action with id in menu or one of its sub-menus.
QAction* findAction(const QMenu& menu, int id) {
    for (QAction* a : menu.actions()) {
        if (a->menu()) {
            if (QAction* found = findAction(*a->menu(), id)) return found;
        } else if (!a->isSeparator() && a->data().toInt() == id) {
            return a;
        }
    }
    return nullptr;
}

bool isMenu(const QWidget* w) {
    return qobject_cast<const QMenu*>(w) || qobject_cast<const QMenuBar*>(w);
}

}  // namespace

CommandActions::CommandActions(Desktop& desktop) : m_desktop(desktop) {
    buildFileMenu();
    buildEditMenu();
    buildGraphMenu();
    buildViewMenu();
    buildToolMenu();
    buildHelpMenu();
    // Nothing is loaded yet.
    applyMenuState(menuState(MenuKind::Other, MenuFacts{}), [this](int id) { return action(id); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { rememberFocus(now); });
    rememberFocus(QApplication::focusWidget());
}

void CommandActions::buildFileMenu() {
    // Sixteen places (items and separators) before the file list.
    QMenu* file = m_fileMenu = addMenu("&File", MenuKind::File);
    addCommand(file, command::kOpen, "&Open", "Ctrl+O");
    addCommand(file, command::kReOpen, "&ReOpen");
    addCommand(file, command::kInsert, "&Insert");
    addCommand(file, command::kWatch, "&Watch")->setCheckable(true);
    file->addSeparator();
    addCommand(file, command::kSave, "&Save", "Ctrl+S");
    addCommand(file, command::kSaveAs, "Save &As");
    addCommand(file, command::kSaveData, "Save &Data");
    addCommand(file, command::kExport, "&Export...", "Ctrl+E");
    file->addSeparator();
    addCommand(file, command::kPrint, "&Print");
    file->addSeparator();
    // Filled by recent_files.h.
    m_recentMenu = file->addMenu("Recent &Files");
    m_recentMenu->menuAction()->setData(command::kRecentFiles);
    m_actions[command::kRecentFiles] = m_recentMenu->menuAction();
    attachSubMenu(*m_recentMenu);
    file->addSeparator();
    addCommand(file, command::kExit, "E&xit");
}

void CommandActions::buildEditMenu() {
    // The keys named here are the text boxes' own, not accelerators.
    QMenu* edit = addMenu("&Edit", MenuKind::Edit);
    addCommand(edit, command::kEditUndo, "&Undo", "Ctrl+Z");
    edit->addSeparator();
    addCommand(edit, command::kEditCut, "Cu&t", "Shift+Del");
    addCommand(edit, command::kEditCopy, "&Copy", "Ctrl+Ins");
    addCommand(edit, command::kEditPaste, "&Paste", "Shift+Ins");
    edit->addSeparator();
    addCommand(edit, command::kFind, "&Find", "Ctrl+F");
    edit->addSeparator();
    addCommand(edit, command::kEditIniFile, "Edit &Ini File");
}

void CommandActions::buildGraphMenu() {
    QMenu* graph = addMenu("&Graph", MenuKind::Graph);
    addCommand(graph, command::kDraw, "&Draw", "Ctrl+Enter");
    addCommand(graph, command::kSetParameter, "&Set Parameter", "Alt+Enter");
    addCommand(graph, command::kUndoGraph, "&Undo");
    graph->addSeparator();
    QMenu* x = addSubMenu(graph, "&X-region");
    addCommand(x, command::kXInput, "&Input", "Ctrl+X");
    addCommand(x, command::kXMinMax, "&Min and Max");
    addCommand(x, command::kXAuto, "&Auto");
    QMenu* y = addSubMenu(graph, "&Y-region");
    addCommand(y, command::kYInput, "&Input", "Ctrl+Y");
    addCommand(y, command::kYMinMax, "&Min and Max");
    addCommand(y, command::kYAuto, "&Auto");
    QMenu* both = addSubMenu(graph, "&Region");
    addCommand(both, command::kMinMax, "&Min and Max");
    addCommand(both, command::kAuto, "&Auto");
    graph->addSeparator();
    addCommand(graph, command::kCopyGraph, "&Copy", "Ctrl+C");
    addCommand(graph, command::kCopyData, "copy data(&D)");  // relabelled when the menu opens
    addCommand(graph, command::kPaste, "&Paste", "Ctrl+V");
    addCommand(graph, command::kPasteAsNewGraph, "Paste as &New Graph");
    addCommand(graph, command::kMarker, "&Marker")->setCheckable(true);
    graph->addSeparator();
    QMenu* cursor = addSubMenu(graph, "&Cursor");
    addCommand(cursor, command::kSwitchSheet, "&Switch Sheet", "Ctrl+Tab");
    addCommand(cursor, command::kCursorHome, "&Home", "Ctrl+H");
    addCommand(cursor, command::kCursorUp, "&Up", "Ctrl+Up");
    addCommand(cursor, command::kCursorDown, "&Down", "Ctrl+Down");
    addCommand(cursor, command::kCursorLeft, "&Left", "Ctrl+Left");
    addCommand(cursor, command::kCursorRight, "&Right", "Ctrl+Right");
}

void CommandActions::buildViewMenu() {
    // The list of Views follows Add and Delete; view_commands.h rebuilds it each time the menu opens.
    m_viewMenu = addMenu("&View", MenuKind::View);
    addCommand(m_viewMenu, command::kAddView, "&Add");
    addCommand(m_viewMenu, command::kDeleteView, "&Delete");
    addCommand(m_viewMenu, command::kFollow, "&Follow")->setCheckable(true);
}

void CommandActions::buildToolMenu() {
    const Configuration& config = m_desktop.configuration();
    if (config.tools.empty() || config.tools.front().id == 0) return;
    QMenu* tools = addMenu("&Tool", MenuKind::Other);
    for (const UserTool& tool : config.tools) {
        if (tool.id == 0) break;
        addCommand(tools, tool.id, fromCodePage(tool.menuText));
    }
}

void CommandActions::buildHelpMenu() {
    QMenu* help = addMenu("&Help", MenuKind::Other);
    addCommand(help, command::kHelp, "&Help");
    addCommand(help, command::kVersion, "&Version");
}

QMenu* CommandActions::addMenu(const QString& title, MenuKind kind) {
    QMenu* menu = m_desktop.window().menuBar()->addMenu(title);
    connect(menu, &QMenu::aboutToShow, this, [this, kind] {
        // The View menu takes in what was typed into the panels first, so that a new title is listed.
        if (kind == MenuKind::View) m_desktop.viewCommands().rebuildMenu();
        updateMenu(kind);
    });
    connect(menu, &QMenu::hovered, this, &CommandActions::showStatusFor);
    connect(menu, &QMenu::aboutToHide, this, [this] { m_desktop.window().setStatusText(kMessagePart, {}); });
    return menu;
}

QMenu* CommandActions::addSubMenu(QMenu* parent, const QString& title) {
    QMenu* menu = parent->addMenu(title);
    attachSubMenu(*menu);
    return menu;
}

void CommandActions::attachSubMenu(QMenu& menu) {
    connect(&menu, &QMenu::aboutToShow, this, [this, &menu] { updateSubMenu(menu); });
    connect(&menu, &QMenu::hovered, this, &CommandActions::showStatusFor);
}

QAction* CommandActions::addCommand(QMenu* menu, int id, const QString& label, const QString& keys) {
    // The keys are shown in the menu only: the accelerator table runs them (accelerator_filter.h).
    QAction* action = menu->addAction(keys.isEmpty() ? label : label + '\t' + keys);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    m_actions[id] = action;
    return action;
}

QAction* CommandActions::action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

int CommandActions::lastToolId() const {
    int last = 0;
    for (const UserTool& tool : m_desktop.configuration().tools) {
        if (tool.id == 0) break;
        last = tool.id;
    }
    return last;
}

void CommandActions::showStatusFor(QAction* action) {
    QString text;
    if (!action->menu() && !action->isSeparator()) {
        if (const auto status =
                commandStatusText(action->data().toInt(), lastToolId(), m_desktop.documents().pasteMarkers()))
            text = fromCodePage(*status);
    }
    m_desktop.window().setStatusText(kMessagePart, text);
}

void CommandActions::rememberFocus(QWidget* now) {
    if (now && !isMenu(now)) m_lastFocus = now;
}

QWidget* CommandActions::focusWidget() const {
    QWidget* focus = QApplication::focusWidget();
    return focus && isMenu(focus) ? m_lastFocus.data() : focus;
}

int CommandActions::focusedGraphRow() const {
    const RowChoice choice = m_desktop.panels().graph().focusedRow(focusWidget());
    return choice.found ? choice.row : 0;
}

MenuFacts CommandActions::menuFacts() const {
    Desktop& d = m_desktop;
    const Document& doc = d.document();
    MenuFacts facts;
    facts.hasData = doc.data > 0;
    facts.focus = textFocusFacts(focusWidget());
    facts.focus.graphRow = focusedGraphRow();
    readClipboardFacts(*QGuiApplication::clipboard(), facts);
    facts.page = d.window().currentPage();
    facts.mainIsPasteFile = isPasteFile(doc.files.name(0));
    facts.sameAsUndo = doc.sameAs(d.documents().savedCopy());
    facts.sheetModified = d.sheet().sheet().isModified();
    facts.watching = d.watch().watching();
    facts.pasteMarkers = d.documents().pasteMarkers();
    facts.viewCount = d.views().viewCount();
    facts.recentFiles = d.recentFiles().existing();
    facts.following = doc.follow;
    return facts;
}

void CommandActions::updateMenu(MenuKind kind) {
    applyMenuState(menuState(kind, menuFacts()), [this](int id) { return action(id); });
}

void CommandActions::updateSubMenu(QMenu& menu) {
    applyMenuState(menuState(MenuKind::Other, menuFacts()), [&menu](int id) { return findAction(menu, id); });
}

bool CommandActions::runAccelerator(int id) {
    if (id == command::kPageUp || id == command::kPageDown) {
        runCommand(id);
        return true;
    }
    QAction* a = action(id);
    if (!a) return false;
    updateMenu(menuOfCommand(id));
    if (a->isEnabled()) runCommand(id);
    return true;
}

void CommandActions::runCommand(int id) {
    MainWindow& window = m_desktop.window();
    if (const auto status = commandStatusText(id, lastToolId(), m_desktop.documents().pasteMarkers()))
        window.setStatusText(kMessagePart, fromCodePage(*status));
    execute(id);
    window.setStatusText(kMessagePart, {});
    if (m_desktop.hooks().caretReport) m_desktop.hooks().caretReport();
}

void CommandActions::execute(int id) {
    Desktop& d = m_desktop;
    const Configuration& config = d.configuration();
    switch (id) {
        case command::kOpen: {
            const std::string name = openFileDialog(&d.window(), "Open", config);
            if (!name.empty()) d.documents().openInBackground(name);
            return;
        }
        case command::kReOpen: {
            const std::string name = d.document().files.name(0);  // a copy: the open replaces the list
            if (!name.empty()) d.documents().openInBackground(name);
            return;
        }
        case command::kWatch:
            d.watch().setWatching(!d.watch().watching());
            if (QAction* watch = action(command::kWatch)) watch->setChecked(d.watch().watching());
            return;
        case command::kFollow:
            d.toggleFollow();
            if (QAction* follow = action(command::kFollow)) follow->setChecked(d.document().follow);
            return;
        case command::kPrint:
            d.applyAndRedraw();
            d.graph().print(d.document(), &d.window());
            return;
        case command::kExit:
            d.window().close();
            return;
        case command::kEditIniFile:
            d.programs().editWithEditor(config, config.configurationPath);
            return;
        case command::kCopyGraph:
            d.applyAndRedraw();
            d.graph().copyPicture(d.document(), *QGuiApplication::clipboard());
            return;
        case command::kExport:
            exportGraph(d);
            return;
        case command::kCopyData:
            // The set whose row holds the focus; nothing with the focus anywhere else.
            if (const int row = focusedGraphRow(); row > 0) {
                if (GraphMouse* mouse = graphMouseOf(d)) mouse->copySetData(row);
            }
            return;
        case command::kHelp:
            d.programs().help(config);
            return;
        case command::kVersion:
            d.documents().about();
            return;
        default:
            if (d.recentFiles().run(id)) return;
            if (runFileCommand(d, id)) return;
            if (runGraphMouseCommand(d, id)) return;
            if (d.panelCommands().run(id)) return;
            if (config.isTool(id)) d.programs().runTool(config, id);
            return;
    }
}

}  // namespace varnex
