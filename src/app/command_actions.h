// The menus and the command path: one QAction per command, carrying its identifier, and runCommand,
// which shows the command's status text in status part 0, runs its action and clears the text again.
// While a menu item is highlighted its status text is shown; hovering a sub-menu title or closing the
// menu clears it. Identifiers without an action (1072, 1073) only clear the text.
#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <map>

namespace varnex {

class Desktop;

class CommandActions : public QObject {
    Q_OBJECT
public:
    // Builds the menu bar of desktop's main window: File, Edit, Graph, the Tool menu when tools are
    // configured, Help.
    explicit CommandActions(Desktop& desktop);

    // The command path for identifier id.
    void runCommand(int id);

    // An accelerator's command: brings the menu states up to date and runs the command when its item
    // is enabled. True when the key is the program's (also for 1072 and 1073, which only clear the
    // status text); false for an identifier that has no command here, so the key goes on to the window.
    bool runAccelerator(int id);

    // The action of a command; null when the menus do not hold it.
    QAction* action(int id) const;

    // The File menu, whose file list is added at its end, and the View menu with its list of Views.
    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* viewMenu() const { return m_viewMenu; }

    // Greys the commands that need data while the current Document has none; checks "&Watch" while
    // the watch flag is set.
    void updateMenuState();

private:
    QMenu* addMenu(const QString& title);
    QMenu* addSubMenu(QMenu* parent, const QString& title);
    QAction* addCommand(QMenu* menu, int id, const QString& label, const QString& keys = {});
    void execute(int id);
    void showStatusFor(QAction* action);
    int lastToolId() const;

    Desktop& m_desktop;
    std::map<int, QAction*> m_actions;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
};

}  // namespace varnex
