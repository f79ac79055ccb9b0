// The desktop program: builds every long-lived object in a fixed order, opens the command line's file,
// runs the checks of the event loop (automatic reload, the reload question on activation) and releases
// everything when the main window closes.
//
// Start-up order: configuration and the first View's defaults; the main window with its status bar,
// graph window, menus and tab control with the three pages; dropped files; the accelerator table; the
// command line's file (open-or-append); the full layout; the message-box owner; the watch flag off.
// The window's size and position of the last run, and the recent files, come from the per-user state
// (user_state.h); the size and position are kept there again when the window closes.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "app/config/configuration.h"
#include "app/config/external_programs.h"
#include "app/file_dialogs.h"
#include "document/data_pool.h"
#include "document/view_list.h"
#include "shell/shell_hooks.h"

namespace varnex {

class AcceleratorFilter;
class CommandActions;
class DocumentCommands;
class GraphView;
class ListedFileCommands;
class RecentFiles;
class MainWindow;
class MessageBoxes;
class SheetCommands;
class ViewCommands;
class PanelCommands;
class ParameterPanels;
class WatchPoller;
class ReloadScheduler;
class BackgroundLoad;

struct DesktopOptions {
    // The program's full path: the configuration file and the help page lie beside it.
    std::string programPath;
    // Told the main window once it exists (and null when it is gone): the owner of message boxes.
    std::function<void(QWidget* owner)> setMessageOwner;
    // How the editor, the tools and the help page are started (tests record instead).
    ExternalPrograms programs;
};

class Desktop : public QObject {
    Q_OBJECT
public:
    // messages must outlive the Desktop.
    Desktop(DesktopOptions options, MessageBoxes& messages);
    ~Desktop() override;

    // The start-up steps; commandLineFile is the whole command line as one name (may be empty).
    void start(const std::string& commandLineFile);

    MainWindow& window() { return *m_window; }
    ViewList& views() { return m_views; }
    Document& document() { return m_views.current(); }
    const Configuration& configuration() const { return m_config; }
    MessageBoxes& messages() { return m_messages; }
    const ExternalPrograms& programs() const { return m_options.programs; }
    DocumentCommands& documents() { return *m_documents; }
    GraphView& graph() { return *m_graph; }
    CommandActions& actions() { return *m_actions; }
    WatchPoller& watch() { return *m_watch; }
    ParameterPanels& panels() { return *m_panels; }
    PanelCommands& panelCommands() { return *m_panelCommands; }
    // The connections to the panels, the data sheet and the dynamic menus.
    ShellHooks& hooks() { return m_hooks; }
    // The data sheet with its commands, the View menu and the file list of the File menu.
    SheetCommands& sheet() { return *m_sheet; }
    ViewCommands& viewCommands() { return *m_viewCommands; }
    ListedFileCommands& listedFiles() { return *m_listedFiles; }
    RecentFiles& recentFiles() { return *m_recentFiles; }
    // The dialogs that ask the commands for file names.
    FileDialogs& dialogs() { return m_dialogs; }

    // Shows page index (0 axis, 1 graph, 2 data) after applying the panels; nothing without data or
    // when the page is already shown.
    void showPage(int index);

    // Applies the panels to the current Document and redraws if that changed it.
    void applyAndRedraw();

    // The activation of the main window from another program: while Watch is off and a file of the
    // shown Document changed, asks "File is updated.\nReload?" and reloads on Yes.
    void activatedFromOutside();

    // View "&Follow": switches the current View's Follow mode (document/follow.h) and, switched on,
    // brings the newest point into view at once.
    void toggleFollow();
    // The reloads of the file watch, coalesced and paced.
    ReloadScheduler& reloads() { return *m_reloads; }
    // The open of big files off the UI thread.
    BackgroundLoad& backgroundLoad() { return *m_background; }

private:
    void createMainWindow();
    void createSheetAndFileMenus();
    void createPanels();
    void placeInitially();
    void rememberLoadedFile();
    void shutdown();
    void pollFiles();

    DesktopOptions m_options;
    MessageBoxes& m_messages;
    Configuration m_config;
    ViewList m_views;
    DataPool m_pool;
    ShellHooks m_hooks;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<GraphView> m_graph;
    std::unique_ptr<DocumentCommands> m_documents;
    std::unique_ptr<CommandActions> m_actions;
    std::unique_ptr<AcceleratorFilter> m_accelerators;
    std::unique_ptr<WatchPoller> m_watch;
    std::unique_ptr<ReloadScheduler> m_reloads;
    std::unique_ptr<BackgroundLoad> m_background;
    // After the window, so that they go before the widgets they point at.
    FileDialogs m_dialogs;
    std::unique_ptr<SheetCommands> m_sheet;
    std::unique_ptr<ViewCommands> m_viewCommands;
    std::unique_ptr<ListedFileCommands> m_listedFiles;
    std::unique_ptr<RecentFiles> m_recentFiles;
    std::unique_ptr<ParameterPanels> m_panels;
    std::unique_ptr<PanelCommands> m_panelCommands;
    bool m_shutDown = false;
};

}  // namespace varnex
