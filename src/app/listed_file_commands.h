// The file list at the end of the File menu, one sub-menu per file of the current Document (rebuilt
// after every load), and its commands: show file n in the data sheet (2000 + n), run the editor on it
// (8000 + n), release appended file n (7000 + n), save file n under a new name (9000 + n; n = 0 is the
// main data file, which is copied) and rename inserted file n as a child file (9100 + n).
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

namespace varnex {

class Desktop;
struct Document;

class ListedFileCommands : public QObject {
    Q_OBJECT
public:
    explicit ListedFileCommands(Desktop& desktop);

    // Takes over the end of the File menu.
    void attach(QMenu& fileMenu);

    // Rebuilds the list for doc: nothing without data; otherwise a separator and per file k the entry
    // "&%d%c %s" ('*' for a file the parameter file does not name) holding "&Data Sheet", "&Editor"
    // and, for k >= 1, "&Release", "&Rename Child File" and "Save &As ".
    void rebuild(const Document& doc);

    // Runs the commands above; false for any other identifier.
    bool run(int id);

    // The entries of the last rebuild (the sub-menus' actions in the File menu).
    const std::vector<QAction*>& entries() const { return m_entries; }

private:
    QAction* addItem(QMenu& menu, int id, const QString& label, bool enabled);
    void saveAs(int n, bool childForm);
    void saveMainAs();
    void release(int n);
    // A copy of from to the new name `to` failed for another reason than `to` existing: a message.
    void reportCopyFailed(const std::string& from, const std::string& to);

    Desktop& m_desktop;
    QPointer<QMenu> m_fileMenu;
    QAction* m_separator = nullptr;
    std::vector<QAction*> m_entries;
};

}  // namespace varnex
