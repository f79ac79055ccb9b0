// The states of the menu items, computed each time a menu opens and before an accelerator's command
// runs: which items are enabled or greyed, which are checked, and the text of Graph "copy data" (107).
//
// Pure: the caller gathers the facts (menu_facts.h does it for the focus and the clipboard) and applies
// the result to its actions. An item that the opening menu does not set keeps its state.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varnex {

// The menu that is about to open. Sub-menus (X-region, Y-region, Region, Cursor, the file list), the
// Tool menu, the Help menu and the range pop-up are Other.
enum class MenuKind { File, Edit, Graph, View, Other };

// The window that has the keyboard focus, as the Edit menu and item 107 see it.
struct FocusFacts {
    bool textBox = false;       // a line edit (also an editable combo box's) or the data sheet
    bool dataSheet = false;     // the data sheet itself
    bool hasSelection = false;  // a text box whose selection is not empty
    bool canUndo = false;       // a text box that can undo
    int graphRow = 0;           // 1 and up: the focus is on one of the four lists of that graph-panel row
};

struct MenuFacts {
    bool hasData = false;          // the current Document holds a data set
    FocusFacts focus;
    bool clipboardText = false;    // the clipboard holds text
    bool clipboardFiles = false;   // the clipboard holds a list of files
    int page = 0;                  // the page shown: 0 axis, 1 graph, 2 data
    bool mainIsPasteFile = false;  // the main data file is the paste file "@.@"
    bool sameAsUndo = true;        // the current Document is sameAs the undo copy
    bool sheetModified = false;    // the data sheet's text is modified
    bool watching = false;         // the watch flag
    bool pasteMarkers = false;     // the paste-default flag (1: pasted graphs get markers)
    int viewCount = 1;             // Views in the View list
    std::vector<bool> recentFiles; // the entries of Recent Files in order: whether each file exists
    bool following = false;        // the current View follows its newest point
};

struct ItemState {
    bool enabled = true;
    std::optional<bool> checked;  // set for items with a check mark only
    friend bool operator==(const ItemState&, const ItemState&) = default;
};

struct MenuState {
    std::map<int, ItemState> items;            // the items the opening sets, by command id
    std::optional<std::string> copyDataLabel;  // the new text of item 107 (the Graph menu)

    // The state set for id, if any.
    std::optional<ItemState> item(int id) const;
};

// The states for the menu that opens:
// - always: the data commands are greyed without data and enabled with it;
// - File: Save (1113) greyed for the paste file, Save Data (114) enabled only for a modified sheet (both
//   only with data); Watch (1008) checked with the watch flag;
// - Edit: Copy and Cut need a text box with a selection, Paste a text box and text on the clipboard,
//   Undo a text box that can undo, Find the data sheet;
// - Graph: both Pastes need text or files on the clipboard; 107 reads "copy data #n(&D)" and is enabled
//   with the focus on a list of row n, else "copy data(&D)" greyed; with data, Set Parameter (1031) is
//   greyed on the axis page and Undo (1062) while the Document equals the undo copy; without data both
//   are greyed; Marker (115) is checked with the paste-default flag;
// - View: Delete (6999) greyed while the list holds one View; Follow (1009) checked while the current
//   View follows its newest point.
// - File and Other: Recent Files (3000) greyed while empty, an entry greyed while its file is missing.
// Export (1115) is one of the data commands.
MenuState menuState(MenuKind menu, const MenuFacts& facts);

// The menu that holds a command, whose opening decides whether its accelerator runs.
MenuKind menuOfCommand(int id);

}  // namespace varnex
