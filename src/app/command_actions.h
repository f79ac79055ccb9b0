// The menus and the command path: one QAction per command, carrying its identifier, and runCommand,
// which shows the command's status text in status part 0, runs its action and clears the text again.
// While a menu item is highlighted its status text is shown; hovering a sub-menu title or closing the
// menu clears it. Identifiers without an action (1072, 1073) only clear the text.
//
// The menu bar holds File, Edit, Graph (with the sub-menus X-region, Y-region, Region and Cursor),
// View, the Tool menu when tools are configured, and Help. Each menu and sub-menu, and the range
// pop-up, brings its items up to date when it is about to open (menus/menu_state.h), and so does an
// accelerator before it runs its command: a key whose item is greyed does nothing.
#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <map>

#include "menus/menu_state.h"

namespace varnex {

class Desktop;

class CommandActions : public QObject {
    Q_OBJECT
public:
    // Builds the menu bar of desktop's main window, with the data commands greyed.
    explicit CommandActions(Desktop& desktop);

    // The command path for identifier id.
    void runCommand(int id);

    // An accelerator's command: brings the states of the menu that holds the command up to date and
    // runs the command when its item is enabled. True when the key is the program's (also for 1072 and
    // 1073, which only clear the status text); false for an identifier that has no command here, so the
    // key goes on to the window.
    bool runAccelerator(int id);

    // The action of a command in the menu bar; null when the menus do not hold it.
    QAction* action(int id) const;

    // The File menu, whose file list is added at its end, and the View menu with its list of Views.
    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* viewMenu() const { return m_viewMenu; }
    // The sub-menu File > Recent Files (recent_files.h fills it).
    QMenu* recentMenu() const { return m_recentMenu; }

    // The facts the menu states depend on, as they are now.
    MenuFacts menuFacts() const;
    // Brings the menu bar's items up to date for a menu of kind that is about to open.
    void updateMenu(MenuKind kind);
    // Brings the items of a sub-menu, or of the range pop-up and its sub-menus, up to date: only the
    // menu's own items, so that the finer states its parent menu set (Undo, Save) stay while it is open.
    void updateSubMenu(QMenu& menu);
    // A sub-menu built later (the file list's entries): its opening updates the states and its items
    // show their status texts while highlighted.
    void attachSubMenu(QMenu& menu);

    // The graph-panel row (1 and up) whose list has the keyboard focus; 0 for any other focus.
    int focusedGraphRow() const;

private:
    void buildFileMenu();
    void buildEditMenu();
    void buildGraphMenu();
    void buildViewMenu();
    void buildToolMenu();
    void buildHelpMenu();
    QMenu* addMenu(const QString& title, MenuKind kind);
    QMenu* addSubMenu(QMenu* parent, const QString& title);
    QAction* addCommand(QMenu* menu, int id, const QString& label, const QString& keys = {});
    void execute(int id);
    void showStatusFor(QAction* action);
    void rememberFocus(QWidget* now);
    QWidget* focusWidget() const;
    int lastToolId() const;

    Desktop& m_desktop;
    std::map<int, QAction*> m_actions;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    // The last focus outside the menus: a menu bar driven by the keyboard takes the focus while it is
    // open, but the Edit menu and "copy data" go by the control the user left.
    QPointer<QWidget> m_lastFocus;
};

}  // namespace varnex
