#include "app/desktop.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>

#include "app/accelerator_filter.h"
#include "app/background_load.h"
#include "app/reload_scheduler.h"
#include "app/command_actions.h"
#include "app/document_commands.h"
#include "app/graph_commands.h"
#include "app/listed_file_commands.h"
#include "app/main_window.h"
#include "app/panel_commands.h"
#include "app/recent_files.h"
#include "app/user_state.h"
#include "app/sheet_commands.h"
#include "app/view_commands.h"
#include "app/watch_poller.h"
#include "document/child_files.h"
#include "document/file_watch.h"
#include "document/follow.h"
#include "graph/graph_view.h"
#include "graph/graph_window.h"
#include "panels/panel_focus.h"
#include "panels/parameter_panels.h"
#include "shell/layout.h"
#include "util/message_boxes.h"
#include "util/paths.h"

// The resources of the static shell library are registered by hand (outside any namespace, as Qt asks).
static void initResources() { Q_INIT_RESOURCE(varnex); }

namespace varnex {

Desktop::Desktop(DesktopOptions options, MessageBoxes& messages)
    : m_options(std::move(options)), m_messages(messages), m_pool(messages) {}

Desktop::~Desktop() {
    if (auto* app = QCoreApplication::instance(); app && m_accelerators) app->removeEventFilter(m_accelerators.get());
    if (m_options.setMessageOwner) m_options.setMessageOwner(nullptr);
    shutdown();
}

void Desktop::start(const std::string& commandLineFile) {
    m_config = readConfiguration(m_options.programPath, m_messages);
    setSystemCodePage(m_config.codePage);
    applyConfigurationDefaults(m_config, m_views.first());
    createMainWindow();
    m_window->setAcceptDrops(true);
    m_accelerators = std::make_unique<AcceleratorFilter>(
        *m_window, [this](int id) { return m_actions->runAccelerator(id); });
    QCoreApplication::instance()->installEventFilter(m_accelerators.get());
    m_documents->openCommandLine(commandLineFile);
    m_window->layoutAll();
    if (m_options.setMessageOwner) m_options.setMessageOwner(m_window.get());
    m_watch->setWatching(false);
}

void Desktop::createMainWindow() {
    m_window = std::make_unique<MainWindow>();
    initResources();
    m_window->setWindowIcon(QIcon(QStringLiteral(":/icons/org.varnex.Varnex.svg")));
    m_graph = std::make_unique<GraphView>(m_window->graphWindow(), m_messages);
    m_documents = std::make_unique<DocumentCommands>(m_views, m_pool, m_messages, m_config, *m_graph, *m_window,
                                                     m_hooks);
    m_watch = std::make_unique<WatchPoller>(
        [this] { return document().data > 0 && !m_window->isMinimized(); }, [this] { pollFiles(); });
    m_watch->setWatchedFiles([this] { return document().files.names(); });
    m_reloads = std::make_unique<ReloadScheduler>([this] {
        if (m_watch->watching() && filesChanged(document())) m_documents->reload();
    });
    m_background = std::make_unique<BackgroundLoad>(
        m_window->graphWindow(), *m_window->statusBar(),
        [this](const QString& text) { m_window->setStatusText(kMessagePart, text); });
    m_documents->setBackgroundLoad(m_background.get());
    connect(m_background.get(), &BackgroundLoad::ended, this, [this] { m_watch->update(); });
    m_documents->setAfterLoad([this] {
        m_watch->update();
        rememberLoadedFile();
    });
    // The menus come before the initial size, which needs the menu bar's height.
    m_actions = std::make_unique<CommandActions>(*this);
    createSheetAndFileMenus();
    createGraphMouse(*this);  // a child of the Desktop: the read-out, the range pop-up and its commands
    placeInitially();
    if (m_options.setMessageOwner) m_options.setMessageOwner(m_window.get());
    m_window->show();
    createPanels();

    connect(m_window.get(), &MainWindow::closing, this, &Desktop::shutdown);
    connect(m_window.get(), &MainWindow::windowStateChanged, m_watch.get(), &WatchPoller::update);
    connect(m_window.get(), &MainWindow::fileDropped, this,
            [this](const std::string& path) { m_documents->openOrAppend(path); });
    connect(m_window.get(), &MainWindow::pageRequested, this, &Desktop::showPage);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive) activatedFromOutside();
    });
}

void Desktop::createSheetAndFileMenus() {
    m_dialogs.open = [this](const QString& title) { return openFileDialog(m_window.get(), title, m_config); };
    m_dialogs.save = [this](const SaveDialogRequest& request) { return saveFileDialog(m_window.get(), request); };
    m_sheet = std::make_unique<SheetCommands>(*this);
    m_viewCommands = std::make_unique<ViewCommands>(*this);
    m_viewCommands->attach(*m_actions->viewMenu());
    m_listedFiles = std::make_unique<ListedFileCommands>(*this);
    m_listedFiles->attach(*m_actions->fileMenu());
    m_recentFiles = std::make_unique<RecentFiles>(*this);
    m_hooks.loadSheet = [this](const std::string& path) { m_sheet->showFile(path); };
    m_hooks.rebuildFileMenus = [this](const Document& doc) { m_listedFiles->rebuild(doc); };
    m_hooks.caretReport = [this] { m_sheet->caretReport(); };
}

void Desktop::createPanels() {
    // The panels' controls are laid out for the page size, so the tab layout comes first.
    m_window->layoutAll();
    m_panels = std::make_unique<ParameterPanels>(*m_window, m_documents->savedCopy(),
                                                 [this](const Document& doc) { m_documents->updateTitle(doc); });
    m_panelCommands = std::make_unique<PanelCommands>(*this, *m_panels);
    m_hooks.applyPanels = [this](Document& doc) { return m_panels->apply(doc); };
    m_hooks.refreshPanels = [this](const Document& doc) { m_panels->refresh(doc); };
    m_hooks.rebuildPanels = [this](Document& doc) { m_panels->rebuild(doc); };
    m_hooks.focusPage = [this](int page) { m_panels->focus().restore(page); };
}

void Desktop::placeInitially() {
    const QScreen* screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QStyle* style = m_window->style();
    FrameMetrics metrics;
    metrics.frameWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    metrics.frameHeight = metrics.frameWidth;
    metrics.captionHeight = style->pixelMetric(QStyle::PM_TitleBarHeight);
    metrics.menuBarHeight = m_window->menuBar()->sizeHint().height();
    metrics.statusBarHeight = m_window->statusBar()->sizeHint().height();
    const InitialGeometry g = initialGeometry({area.x(), area.y(), area.width(), area.height()}, metrics);
    m_window->setGeometry(g.client.x, g.client.y, g.client.width, g.client.height);
    // The last run's size and position win; the layout computes the controls from the size as ever.
    const QByteArray saved = userState()->value("window/geometry").toByteArray();
    if (!saved.isEmpty()) m_window->restoreGeometry(saved);
}

void Desktop::rememberLoadedFile() {
    const Document& doc = document();
    if (doc.data == 0 || !m_recentFiles) return;
    const std::string& name = doc.files.name(0);
    if (!isPasteFile(name)) m_recentFiles->add(name);
}

void Desktop::showPage(int index) {
    if (document().data == 0) return;
    if (m_window->pageShown() && m_window->currentPage() == index) return;
    applyAndRedraw();
    m_window->selectPage(index);
    if (m_hooks.focusPage) m_hooks.focusPage(index);
}

void Desktop::applyAndRedraw() {
    if (m_hooks.applyPanels && m_hooks.applyPanels(document())) m_graph->redraw(document());
}

void Desktop::pollFiles() {
    // Every change seen is handed to the scheduler, which runs one reload at a time at a bearable pace.
    if (filesChanged(document())) m_reloads->notice();
}

void Desktop::toggleFollow() {
    if (m_hooks.applyPanels) m_hooks.applyPanels(document());
    Document& doc = document();
    doc.follow = !doc.follow;
    // Switched on, the newest point comes into view at once, as at the next reload.
    if (doc.follow && followNewest(doc, doc.xmin)) {
        if (m_hooks.refreshPanels) m_hooks.refreshPanels(doc);
    }
    m_graph->redraw(doc);
    m_documents->updateTitle(doc);
}

void Desktop::activatedFromOutside() {
    if (!m_window || m_shutDown || m_window->isMinimized() || document().data == 0) return;
    if (m_watch->watching() || !filesChanged(document())) return;
    if (m_messages.ask(kCaption, "File is updated.\nReload?") == 1) m_documents->reload();
}

void Desktop::shutdown() {
    if (m_shutDown || !m_window) return;
    m_shutDown = true;
    userState()->setValue("window/geometry", m_window->saveGeometry());
    m_watch->setWatching(false);
    m_reloads->cancel();
    m_background->cancel();
    m_window->setAcceptDrops(false);
    m_graph->release();
    m_documents->cleanUpAtExit();
    m_pool.releaseAll();
}

}  // namespace varnex
