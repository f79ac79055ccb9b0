#include "app/document_commands.h"

#include <QApplication>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <utility>

#include "app/background_load.h"
#include "app/config/configuration.h"
#include "app/main_window.h"
#include "document/child_files.h"
#include "document/command_line_file.h"
#include "document/data_pool.h"
#include "document/parameter_file.h"
#include "document/follow.h"
#include "document/incremental_load.h"
#include "document/view_list.h"
#include "graph/graph_view.h"
#include "render/output/qt/text_codec.h"
#include "shell/shell_hooks.h"
#include "util/message_boxes.h"
#include "util/numbers.h"
#include "util/paths.h"
#include "util/text.h"

namespace varnex {
namespace {

constexpr std::string_view kDataTabLabel = "Data";

// The day this file was compiled, as YYYY-MM-DD.
std::string buildDate() {
    constexpr std::string_view date = __DATE__;  // "Mmm dd yyyy"
    constexpr std::string_view months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const std::size_t month = months.find(date.substr(0, 3)) / 3 + 1;
    std::string day(date.substr(4, 2));
    if (day.front() == ' ') day.front() = '0';
    return std::string(date.substr(7, 4)) + (month < 10 ? "-0" : "-") + std::to_string(month) + "-" + day;
}

// "%3.1f" of the version box.
std::string oneDecimal(double value) { return formatFixed(value, 1, 3); }

}  // namespace

DocumentCommands::DocumentCommands(ViewList& views, DataPool& pool, MessageBoxes& messages,
                                   const Configuration& config, GraphView& graph, MainWindow& window,
                                   const ShellHooks& hooks)
    : m_views(views), m_pool(pool), m_messages(messages), m_config(config), m_graph(graph), m_window(window),
      m_hooks(hooks) {}

int DocumentCommands::load(LoadMode mode, const std::string& name) {
    // An open or append acts on the graph shown: a background open still running would replace it.
    if (m_background && mode != LoadMode::Reread) m_background->cancel();
    m_window.hideCurrentPage();
    const int sets = loadIntoViews(m_views, mode, name, LoadContext{m_pool, m_messages});
    return afterLoad(mode, sets, true);
}

int DocumentCommands::afterLoad(LoadMode mode, int sets, bool rebuildPanels) {
    if (sets > 0) {
        if (mode == LoadMode::New) {
            m_titleMarked = false;
            m_savedFor = &m_views.current();
            m_parameterStamp = fileStamp(parameterFileName(m_views.current().files.name(0)));
        }
    } else {
        afterFailedLoad();
    }
    Document& doc = m_views.current();
    if (rebuildPanels && m_hooks.rebuildPanels) m_hooks.rebuildPanels(doc);
    m_savedCopy = doc;
    if (m_hooks.refreshPanels) m_hooks.refreshPanels(doc);
    updateTitle(doc);
    if (m_hooks.rebuildFileMenus) m_hooks.rebuildFileMenus(doc);
    // The loader has recorded the files' times for the file watch.
    if (doc.data > 0) m_window.showRememberedPage();
    if (m_afterLoad) m_afterLoad();
    return doc.data;
}

void DocumentCommands::afterFailedLoad() {
    // The loader has emptied the View list and reported the invalid data.
    m_graph.clear();
    m_window.setDataTabLabel(QString::fromLatin1(kDataTabLabel.data(), kDataTabLabel.size()));
}

int DocumentCommands::open(const std::string& name) {
    if (m_background) m_background->cancel();  // the newer open wins
    cleanUpChildFiles(m_lastOpened, m_made, name);
    const int sets = load(LoadMode::New, name);
    afterOpen(sets);
    return sets;
}

void DocumentCommands::afterOpen(int sets) {
    if (sets > 0) {
        m_graph.redraw(m_views.current());
        m_window.selectPage(kAxisPage);
        if (m_hooks.focusPage) m_hooks.focusPage(kAxisPage);
        if (m_hooks.loadSheet) m_hooks.loadSheet(m_views.current().files.name(0));
        m_lastOpened = m_views.current().files.name(0);  // the full name
    } else {
        m_lastOpened.clear();
    }
}

bool DocumentCommands::loading() const { return m_background && m_background->running(); }

void DocumentCommands::openInBackground(const std::string& name) {
    // The name is resolved here, against the current directory of the UI thread, before the worker runs.
    const std::optional<std::string> path = absPath(name);
    std::error_code error;
    const std::uintmax_t size = path ? std::filesystem::file_size(std::filesystem::path(*path), error) : 0;
    if (!m_background || !path || error || !m_background->wanted(static_cast<std::int64_t>(size))) {
        open(name);
        return;
    }
    m_background->start(*path, BackgroundLoad::settingsOnly(m_views),
                        [this](LoadedViews loaded) { finishBackgroundOpen(std::move(loaded)); });
}

void DocumentCommands::finishBackgroundOpen(LoadedViews loaded) {
    m_window.hideCurrentPage();
    cleanUpChildFiles(m_lastOpened, m_made, loaded.path);
    m_views = std::move(loaded.views);
    m_pool.takeOver(*loaded.pool);
    loaded.messages->replay(m_messages);
    // The worker left the current directory alone; the opened file's folder becomes current now.
    if (loaded.sets > 0) enterFileFolder(m_views.current().files.name(0));
    afterOpen(afterLoad(LoadMode::New, loaded.sets, true));
}

int DocumentCommands::append(const std::string& name) {
    const int sets = load(LoadMode::Append, name);
    m_graph.redraw(m_views.current());
    return sets;
}

void DocumentCommands::reload() {
    if (loading()) return;  // the Document is about to be replaced; a change is seen again afterwards
    const Document& before = m_views.current();
    const int setsBefore = before.data;
    const double reachedBefore = before.dataxmax;
    // Files that have only grown are read on from where the last read ended; the result is that of
    // reading them whole.
    const AppendedReload result = reloadAppended(m_views, LoadContext{m_pool, m_messages});
    if (result == AppendedReload::FilesMissing) return;
    Document& doc = m_views.current();
    const bool sameSets = result == AppendedReload::ReadOn && doc.data == setsBefore;
    if (result != AppendedReload::Failed) followNewest(doc, reachedBefore);
    // Rows added to the same sets change no panel row: the panels are refreshed, not rebuilt.
    m_window.hideCurrentPage();  // remembers the page shown, which afterLoad shows again
    if (afterLoad(LoadMode::Reread, result == AppendedReload::Failed ? 0 : doc.data, !sameSets) > 0)
        m_graph.redraw(m_views.current());
}

std::optional<std::string> DocumentCommands::accept(const std::string& name) const {
    return fileToOpen(name, m_config.extensions).path;
}

void DocumentCommands::openOrAppend(const std::string& name) {
    if (const auto accepted = accept(name)) openOrAppendFile(*accepted);
}

void DocumentCommands::openCommandLine(const std::string& name) {
    const FileToOpen choice = fileToOpen(name, m_config.extensions);
    if (choice.path) {
        openOrAppendFile(*choice.path);
    } else if (!choice.reason.empty()) {
        m_messages.informWithDetail(kErrorCaption, kNotOpenedText, fileDetail(unquote(name), choice.reason));
    }
}

void DocumentCommands::openOrAppendFile(const std::string& file) {
    m_window.raise();
    m_window.activateWindow();
    const Document& doc = m_views.current();
    if (doc.data > 0) {
        const std::string question =
            formatMessage("現在のグラフ(%s)に重ねて描きますか?", baseName(doc.files.name(0)).c_str());
        if (m_messages.ask(kCaption, question) == 1) {
            append(file);
            return;
        }
    }
    openInBackground(file);
}

void DocumentCommands::updateTitle(const Document& doc) {
    if (doc.data == 0) {
        m_window.setWindowTitle(QString::fromLatin1(kProgramTitle));
        m_window.setDataTabLabel(QString::fromLatin1(kDataTabLabel.data(), kDataTabLabel.size()));
        return;
    }
    if (m_titleMarked) return;
    const std::string file = baseName(doc.files.name(0));
    const bool unchanged = &doc == m_savedFor && doc.sameAs(m_savedCopy);
    m_titleMarked = !unchanged;
    const char* format = unchanged ? "%s - %s" : "%s * - %s";
    m_window.setWindowTitle(fromCodePage(formatMessage(format, file.c_str(), kProgramTitle)));
}

void DocumentCommands::cleanUpAtExit() { cleanUpChildFiles(m_views.current().files.name(0), m_made); }

void DocumentCommands::markSaved() {
    m_parameterStamp = fileStamp(parameterFileName(m_views.current().files.name(0)));
    m_savedCopy = m_views.current();
    m_savedFor = &m_views.current();
    m_titleMarked = false;
    updateTitle(m_views.current());
}

void DocumentCommands::undoGraph() {
    Document& doc = m_views.current();
    if (doc.sameAs(m_savedCopy)) return;
    std::swap(doc, m_savedCopy);
    m_graph.redraw(doc);
    if (m_hooks.refreshPanels) m_hooks.refreshPanels(doc);
}

void DocumentCommands::about() {
    const Document& doc = m_views.current();
    const int appended = std::max(0, doc.files.appendedCount());
    const auto listBytes = static_cast<double>(doc.files.usedBytes());
    const int tools = static_cast<int>(m_config.tools.size());
    const std::string text =
        "Varnex for Windows 32bit version 3.26c\n"
        "Built " + buildDate() + " by the Varnex developers\n\n" +
        formatMessage("メモリー使用状況\n\n追加ファイル数（最大 %d 個）: %d\n", kMaxFiles + 1, appended) +
        formatMessage("追加ファイル名バッファ（最大 %d byte）: %s%% (%d byte) 使用\n\n", static_cast<int>(kFileListBytes),
                      oneDecimal(listBytes / kFileListBytes * 100).c_str(), static_cast<int>(listBytes)) +
        formatMessage("ツールメニュー（最大 %d 個）: %s%% (%d 個) 使用\n", Configuration::kMaxTools,
                      oneDecimal(tools / static_cast<double>(Configuration::kMaxTools) * 100).c_str(), tools) +
        formatMessage("編集可能ファイルサイズ %d KB\n\n", m_config.limittext) +
        formatMessage("グラフ数（最大 %d 個）: %s%% (%d 個) 使用\n", kMaxSets + 1,
                      oneDecimal(doc.data / static_cast<double>(kMaxSets + 1) * 100).c_str(), doc.data) +
        formatMessage("グラフデータ用メモリー: %s KB 使用\n\n", oneDecimal(static_cast<double>(m_pool.bytesTaken()) / 1000).c_str()) +
        formatMessage("ﾋﾞｭｰ: %s + %s KB 使用\n", oneDecimal(32.592).c_str(),
                      oneDecimal(m_views.viewCount() * 15512 / 1000.0).c_str());
    m_messages.inform(kCaption, text);
}

}  // namespace varnex
