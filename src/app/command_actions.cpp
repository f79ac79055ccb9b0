#include "app/command_actions.h"

#include <QGuiApplication>
#include <QMenuBar>

#include "app/commands.h"
#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/file_commands.h"
#include "app/file_dialogs.h"
#include "app/graph_view.h"
#include "app/main_window.h"
#include "app/watch_poller.h"
#include "panels/panel_command_ids.h"
#include "panels/panel_commands.h"
#include "render/output/qt/text_codec.h"
#include "ui/graph_mouse.h"

namespace varnex {
namespace {

// Commands greyed while the current Document holds no data set.
constexpr int kDataCommands[] = {command::kReOpen,      command::kPrint,        command::kCopyGraph,
                                 command::kInsert,      command::kSaveData,     command::kSave,
                                 command::kSaveAs,      command::kAddView,      command::kDeleteView,
                                 command::kDraw,        command::kSetParameter, command::kUndoGraph,
                                 command::kXInput,      command::kYInput,       command::kSwitchSheet,
                                 command::kCursorHome,  command::kCursorUp,     command::kCursorDown,
                                 command::kCursorLeft,  command::kCursorRight};

}  // namespace

CommandActions::CommandActions(Desktop& desktop) : m_desktop(desktop) {
    QMenu* file = addMenu("&File");
    m_fileMenu = file;
    addCommand(file, command::kOpen, "&Open", "Ctrl+O");
    addCommand(file, command::kReOpen, "&ReOpen");
    addCommand(file, command::kInsert, "&Insert");
    addCommand(file, command::kWatch, "&Watch")->setCheckable(true);
    file->addSeparator();
    addCommand(file, command::kSave, "&Save", "Ctrl+S");
    addCommand(file, command::kSaveAs, "Save &As");
    addCommand(file, command::kSaveData, "Save &Data");
    file->addSeparator();
    addCommand(file, command::kPrint, "&Print");
    file->addSeparator();
    addCommand(file, command::kExit, "E&xit");

    QMenu* edit = addMenu("&Edit");
    addCommand(edit, command::kEditUndo, "&Undo", "Ctrl+Z");
    edit->addSeparator();
    addCommand(edit, command::kEditCut, "Cu&t", "Shift+Del");
    addCommand(edit, command::kEditCopy, "&Copy", "Ctrl+Ins");
    addCommand(edit, command::kEditPaste, "&Paste", "Shift+Ins");
    edit->addSeparator();
    addCommand(edit, command::kFind, "&Find", "Ctrl+F");
    edit->addSeparator();
    addCommand(edit, command::kEditIniFile, "Edit &Ini File");

    QMenu* graph = addMenu("&Graph");
    addCommand(graph, command::kDraw, "&Draw", "Ctrl+Enter");
    addCommand(graph, command::kSetParameter, "&Set Parameter", "Alt+Enter");
    addCommand(graph, command::kUndoGraph, "&Undo");
    addCommand(addSubMenu(graph, "&X-region"), command::kXInput, "&Input", "Ctrl+X");
    addCommand(addSubMenu(graph, "&Y-region"), command::kYInput, "&Input", "Ctrl+Y");
    addCommand(graph, command::kCopyGraph, "&Copy", "Ctrl+C");
    addCommand(graph, command::kPaste, "&Paste", "Ctrl+V");
    addCommand(graph, command::kPasteAsNewGraph, "Paste as &New Graph");
    addCommand(graph, command::kMarker, "&Marker")->setCheckable(true);

    m_viewMenu = addMenu("&View");
    addCommand(m_viewMenu, command::kAddView, "&Add");
    addCommand(m_viewMenu, command::kDeleteView, "&Delete");
    QMenu* cursor = addSubMenu(graph, "&Cursor");
    addCommand(cursor, command::kSwitchSheet, "&Switch Sheet", "Ctrl+Tab");
    addCommand(cursor, command::kCursorHome, "&Home", "Ctrl+H");
    addCommand(cursor, command::kCursorUp, "&Up", "Ctrl+Up");
    addCommand(cursor, command::kCursorDown, "&Down", "Ctrl+Down");
    addCommand(cursor, command::kCursorLeft, "&Left", "Ctrl+Left");
    addCommand(cursor, command::kCursorRight, "&Right", "Ctrl+Right");

    const Configuration& config = desktop.configuration();
    if (!config.tools.empty() && config.tools.front().id != 0) {
        QMenu* tools = addMenu("&Tool");
        for (const UserTool& tool : config.tools) {
            if (tool.id == 0) break;
            addCommand(tools, tool.id, fromCodePage(tool.menuText));
        }
    }

    QMenu* help = addMenu("&Help");
    addCommand(help, command::kHelp, "&Help");
    addCommand(help, command::kVersion, "&Version");
    updateMenuState();
}

QMenu* CommandActions::addMenu(const QString& title) {
    QMenu* menu = m_desktop.window().menuBar()->addMenu(title);
    connect(menu, &QMenu::aboutToShow, this, &CommandActions::updateMenuState);
    connect(menu, &QMenu::hovered, this, &CommandActions::showStatusFor);
    connect(menu, &QMenu::aboutToHide, this, [this] { m_desktop.window().setStatusText(kMessagePart, {}); });
    return menu;
}

QMenu* CommandActions::addSubMenu(QMenu* parent, const QString& title) {
    QMenu* menu = parent->addMenu(title);
    connect(menu, &QMenu::hovered, this, &CommandActions::showStatusFor);
    return menu;
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
        if (const auto status = commandStatusText(action->data().toInt(), lastToolId(), m_desktop.documents().pasteMarkers()))
            text = fromCodePage(*status);
    }
    m_desktop.window().setStatusText(kMessagePart, text);
}

void CommandActions::updateMenuState() {
    const bool hasData = m_desktop.document().data > 0;
    for (int id : kDataCommands) {
        if (QAction* a = action(id)) a->setEnabled(hasData);
    }
    if (QAction* watch = action(command::kWatch)) watch->setChecked(m_desktop.watch().watching());
}

bool CommandActions::runAccelerator(int id) {
    if (id == command::kPageUp || id == command::kPageDown) {
        runCommand(id);
        return true;
    }
    QAction* a = action(id);
    if (!a) return false;
    updateMenuState();
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
            if (!name.empty()) d.documents().open(name);
            return;
        }
        case command::kReOpen: {
            const std::string name = d.document().files.name(0);  // a copy: the open replaces the list
            if (!name.empty()) d.documents().open(name);
            return;
        }
        case command::kWatch:
            d.watch().setWatching(!d.watch().watching());
            updateMenuState();
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
        case command::kHelp:
            d.programs().help(config);
            return;
        case command::kVersion:
            d.documents().about();
            return;
        default:
            if (runFileCommand(d, id)) return;
            if (runGraphMouseCommand(d, id)) return;
            if (d.panelCommands().run(id)) return;
            if (config.isTool(id)) d.programs().runTool(config, id);
            return;
    }
}

}  // namespace varnex
