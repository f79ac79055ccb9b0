// The View menu: Add, Delete and the list of Views, rebuilt each time the menu opens (after the panels
// are applied, so that a title just typed shows), with the current View checked; and the commands
// 6000 (Add), 6999 (Delete) and 6000 + n (make View n current).
#pragma once

#include <QObject>
#include <QPointer>
#include <QMenu>
#include <vector>

#include "document/model.h"

namespace varnex {

class Desktop;

// The text of View i's entry: "&%d %-26s" with i and the title, padded with blanks to 26 bytes (a
// longer title is kept whole).
QString viewEntryText(int i, const TitleText& title);

class ViewCommands : public QObject {
    Q_OBJECT
public:
    explicit ViewCommands(Desktop& desktop);

    // Takes over the View menu, whose first two items are Add and Delete.
    void attach(QMenu& menu);

    // Run as the View menu opens: applies the panels (redrawing if that changed the Document), then
    // rebuilds the list: Delete greyed with one View; without data only Add and Delete.
    void rebuildMenu();

    // Runs 6000-6999; false for any other identifier.
    bool run(int id);

private:
    Desktop& m_desktop;
    QPointer<QMenu> m_menu;
    std::vector<QAction*> m_entries;  // the separator and the View entries of the last rebuild
};

}  // namespace varnex
