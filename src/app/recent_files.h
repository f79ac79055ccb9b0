// File > Recent Files: the last data files opened (most recent first, at most kMaxRecentFiles), kept
// per user (user_state.h). Every data file that a load opens as the main file of the graph joins the
// list; the paste file does not. Choosing an entry opens its file as File > Open does.
#pragma once

#include <QMenu>
#include <QObject>
#include <string>
#include <vector>

namespace varnex {

class Desktop;

inline constexpr int kMaxRecentFiles = 8;

// The list after opening path: path first, an earlier entry of the same name dropped, at most
// kMaxRecentFiles entries. An empty path leaves the list.
std::vector<std::string> withRecentFile(std::vector<std::string> list, const std::string& path);

// The label of entry index (0-based) for the file at path: "&1 name" .. "&8 name", name the file's
// name without its folder.
std::string recentFileLabel(int index, const std::string& path);

// Reads and writes the list of the per-user state (file names in the code page).
std::vector<std::string> loadRecentFiles();
void saveRecentFiles(const std::vector<std::string>& list);

// The sub-menu and its commands (command::kFirstRecentFile + index).
class RecentFiles : public QObject {
    Q_OBJECT
public:
    // Fills the desktop's sub-menu File > "Recent &Files" with the list of the per-user state.
    explicit RecentFiles(Desktop& desktop);

    // The list as the menu shows it.
    const std::vector<std::string>& files() const { return m_files; }
    // Whether each entry's file exists now, in list order.
    std::vector<bool> existing() const;
    // Puts path first, in the menu and in the per-user state (which is read first, so that windows of
    // other runs keep their entries).
    void add(const std::string& path);
    // Runs command id when it is one of the entries': opens the file. False for any other id.
    bool run(int id);

    QMenu* menu() const { return m_menu; }

private:
    void rebuild();

    Desktop& m_desktop;
    QMenu* m_menu = nullptr;
    std::vector<std::string> m_files;
};

}  // namespace varnex
