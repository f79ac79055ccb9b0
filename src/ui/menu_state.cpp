#include "ui/menu_state.h"

#include <array>

namespace varnex {
namespace {

// Commands that need data: greyed whatever menu opens while the Document is empty.
constexpr std::array<int, 25> kDataCommands{1025, 7501, 114,  1113, 9000, 1111, 1112, 1028, 1222,
                                            1062, 1050, 1054, 108,  1051, 1053, 109,  1055, 117,
                                            1052, 1070, 1071, 1076, 1075, 6000, 6999};

constexpr int kWatch = 1008;
constexpr int kSave = 1113;
constexpr int kSaveData = 114;
constexpr int kEditUndo = 111;
constexpr int kEditCut = 113;
constexpr int kEditCopy = 110;
constexpr int kEditPaste = 112;
constexpr int kFind = 201;
constexpr int kPaste = 1018;
constexpr int kPasteNew = 1019;
constexpr int kCopyData = 107;
constexpr int kSetParameter = 1031;
constexpr int kGraphUndo = 1062;
constexpr int kMarker = 115;
constexpr int kViewDelete = 6999;
constexpr int kAxisPage = 0;

void set(MenuState& state, int id, bool enabled) { state.items[id].enabled = enabled; }

void fileMenu(MenuState& state, const MenuFacts& facts) {
    if (facts.hasData) {
        set(state, kSave, !facts.mainIsPasteFile);
        set(state, kSaveData, facts.sheetModified);
    }
    state.items[kWatch] = {true, facts.watching};
}

void editMenu(MenuState& state, const MenuFacts& facts) {
    const FocusFacts& focus = facts.focus;
    set(state, kEditCopy, focus.textBox && focus.hasSelection);
    set(state, kEditCut, focus.textBox && focus.hasSelection);
    set(state, kEditPaste, focus.textBox && facts.clipboardText);
    set(state, kEditUndo, focus.textBox && focus.canUndo);
    set(state, kFind, focus.dataSheet);
}

void graphMenu(MenuState& state, const MenuFacts& facts) {
    const bool canPaste = facts.clipboardText || facts.clipboardFiles;
    set(state, kPaste, canPaste);
    set(state, kPasteNew, canPaste);
    const int row = facts.focus.graphRow;
    state.copyDataLabel = row > 0 ? "copy data #" + std::to_string(row) + "(&D)" : std::string("copy data(&D)");
    set(state, kCopyData, row > 0);
    set(state, kSetParameter, facts.hasData && facts.page != kAxisPage);
    set(state, kGraphUndo, facts.hasData && !facts.sameAsUndo);
    state.items[kMarker] = {true, facts.pasteMarkers};
}

}  // namespace

std::optional<ItemState> MenuState::item(int id) const {
    const auto it = items.find(id);
    if (it == items.end()) return std::nullopt;
    return it->second;
}

MenuState menuState(MenuKind menu, const MenuFacts& facts) {
    MenuState state;
    for (int id : kDataCommands) set(state, id, facts.hasData);
    switch (menu) {
        case MenuKind::File: fileMenu(state, facts); break;
        case MenuKind::Edit: editMenu(state, facts); break;
        case MenuKind::Graph: graphMenu(state, facts); break;
        // The rebuilt View list follows the number of Views, whether or not there is data.
        case MenuKind::View: set(state, kViewDelete, facts.viewCount > 1); break;
        case MenuKind::Other: break;
    }
    return state;
}

MenuKind menuOfCommand(int id) {
    switch (id) {
        case 1010: case 1025: case 7501: case 1008: case 1113: case 9000: case 114: case 1111: case 1001:
            return MenuKind::File;
        case 111: case 113: case 110: case 112: case 201: case 1026:
            return MenuKind::Edit;
        case 1222: case 1031: case 1062: case 1112: case 107: case 1018: case 1019: case 115:
            return MenuKind::Graph;
        case 6000: case 6999:
            return MenuKind::View;
        default:
            return id >= 6001 && id <= 6998 ? MenuKind::View : MenuKind::Other;
    }
}

}  // namespace varnex
