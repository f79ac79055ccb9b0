// What the document commands and the command path ask of the parameter panels, the data sheet and the
// dynamic menus. Each hook is optional: an empty one does nothing (and applying reports no change), so
// the shell works before those parts are plugged in.
#pragma once

#include <functional>
#include <string>

namespace varnex {

struct Document;

struct ShellHooks {
    // Moves the panels' values into doc (validated, keeping the undo copy); true when doc changed.
    std::function<bool(Document& doc)> applyPanels;
    // Shows doc's values in the panels.
    std::function<void(const Document& doc)> refreshPanels;
    // After a load: rebuilds the graph panel's rows for doc.data sets, shows doc in the panels and
    // takes the panels' values back into doc.
    std::function<void(Document& doc)> rebuildPanels;
    // After a load: rebuilds the list of doc's files in the File menu.
    std::function<void(const Document& doc)> rebuildFileMenus;
    // Loads file `path` into the data sheet.
    std::function<void(const std::string& path)> loadSheet;
    // Gives the focus to the page just shown: the control it had when the page was left, else the
    // page's home control.
    std::function<void(int page)> focusPage;
    // After every command: shows the data sheet's caret line and column in status part 2.
    std::function<void()> caretReport;
};

}  // namespace varnex
