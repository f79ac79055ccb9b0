#include "app/recent_files.h"

#include <QStringList>
#include <algorithm>
#include <filesystem>

#include "app/command_actions.h"
#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/main_window.h"
#include "app/user_state.h"
#include "render/output/qt/text_codec.h"
#include "shell/commands.h"
#include "shell/window_parts.h"

namespace varnex {
namespace {

constexpr const char* kKey = "recent/files";

}  // namespace

std::vector<std::string> withRecentFile(std::vector<std::string> list, const std::string& path) {
    if (path.empty()) return list;
    std::erase(list, path);
    list.insert(list.begin(), path);
    if (list.size() > static_cast<std::size_t>(kMaxRecentFiles)) list.resize(kMaxRecentFiles);
    return list;
}

std::string recentFileLabel(int index, const std::string& path) {
    std::string label(1, '&');
    label.append(std::to_string(index + 1)).append(1, ' ').append(std::filesystem::path(path).filename().string());
    return label;
}

std::vector<std::string> loadRecentFiles() {
    std::vector<std::string> list;
    for (const QString& name : userState()->value(kKey).toStringList()) {
        if (!name.isEmpty() && list.size() < static_cast<std::size_t>(kMaxRecentFiles)) list.push_back(toCodePage(name));
    }
    return list;
}

void saveRecentFiles(const std::vector<std::string>& list) {
    QStringList names;
    for (const std::string& name : list) names << fromCodePage(name);
    const auto state = userState();
    state->setValue(kKey, names);
    state->sync();
}

RecentFiles::RecentFiles(Desktop& desktop) : m_desktop(desktop), m_files(loadRecentFiles()) {
    m_menu = desktop.actions().recentMenu();
    // An entry shows its file's full path while it is highlighted.
    connect(m_menu, &QMenu::hovered, this, [this](QAction* action) {
        const int index = action->data().toInt() - command::kFirstRecentFile;
        if (index >= 0 && index < static_cast<int>(m_files.size()))
            m_desktop.window().setStatusText(kMessagePart, fromCodePage(m_files[static_cast<std::size_t>(index)]));
    });
    rebuild();
}

std::vector<bool> RecentFiles::existing() const {
    std::vector<bool> exists;
    for (const std::string& name : m_files) {
        std::error_code error;
        exists.push_back(std::filesystem::is_regular_file(name, error));
    }
    return exists;
}

void RecentFiles::add(const std::string& path) {
    const auto list = withRecentFile(loadRecentFiles(), path);
    if (list == m_files) return;
    m_files = list;
    saveRecentFiles(m_files);
    rebuild();
}

bool RecentFiles::run(int id) {
    const int index = id - command::kFirstRecentFile;
    if (index < 0 || index >= kMaxRecentFiles) return false;
    if (index < static_cast<int>(m_files.size())) {
        const std::string name = m_files[static_cast<std::size_t>(index)];  // a copy: the open changes the list
        m_desktop.documents().open(name);
    }
    return true;
}

void RecentFiles::rebuild() {
    m_menu->clear();
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        QAction* entry = m_menu->addAction(fromCodePage(recentFileLabel(static_cast<int>(i), m_files[i])));
        const int id = command::kFirstRecentFile + static_cast<int>(i);
        entry->setData(id);
        connect(entry, &QAction::triggered, this, [this, id] { m_desktop.actions().runCommand(id); });
    }
    m_menu->menuAction()->setEnabled(!m_files.empty());
}

}  // namespace varnex
