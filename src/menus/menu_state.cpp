#include "menus/menu_state.h"

#include <array>

#include "shell/commands.h"
#include "shell/panel_command_ids.h"

namespace varnex {
namespace {

using namespace command;

// Commands that need data: greyed whatever menu opens while the Document is empty.
constexpr std::array<int, 27> kDataCommands{kExport,   kReOpen,     kInsert,      kSaveData,   kSave,       kSaveAs,
                                            kPrint,    kCopyGraph,  kSwitchSheet, kDraw,       kUndoGraph,
                                            kXInput,   kXAuto,      kXMinMax,     kYInput,     kYAuto,
                                            kYMinMax,  kAuto,       kMinMax,      kCursorHome, kCursorDown,
                                            kCursorUp, kCursorLeft, kCursorRight, kAddView,    kDeleteView,
                                            kFollow};

constexpr int kAxisPage = 0;

void set(MenuState& state, int id, bool enabled) { state.items[id].enabled = enabled; }

void recentFiles(MenuState& state, const MenuFacts& facts) {
    set(state, kRecentFiles, !facts.recentFiles.empty());
    for (std::size_t i = 0; i < facts.recentFiles.size(); ++i)
        set(state, kFirstRecentFile + static_cast<int>(i), facts.recentFiles[i]);
}

void fileMenu(MenuState& state, const MenuFacts& facts) {
    if (facts.hasData) {
        set(state, kSave, !facts.mainIsPasteFile);
        set(state, kSaveData, facts.sheetModified);
    }
    state.items[kWatch] = {true, facts.watching};
    recentFiles(state, facts);
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
    set(state, kPasteAsNewGraph, canPaste);
    const int row = facts.focus.graphRow;
    state.copyDataLabel = row > 0 ? "copy data #" + std::to_string(row) + "(&D)" : std::string("copy data(&D)");
    set(state, kCopyData, row > 0);
    set(state, kSetParameter, facts.hasData && facts.page != kAxisPage);
    set(state, kUndoGraph, facts.hasData && !facts.sameAsUndo);
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
        case MenuKind::View:
            set(state, kDeleteView, facts.viewCount > 1);
            state.items[kFollow] = {facts.hasData, facts.following};
            break;
        case MenuKind::Other: recentFiles(state, facts); break;
    }
    return state;
}

MenuKind menuOfCommand(int id) {
    switch (id) {
        case kOpen: case kReOpen: case kInsert: case kWatch: case kSave: case kSaveAs: case kSaveData:
        case kPrint: case kExit: case kExport: case kRecentFiles:
            return MenuKind::File;
        case kEditUndo: case kEditCut: case kEditCopy: case kEditPaste: case kFind: case kEditIniFile:
            return MenuKind::Edit;
        case kDraw: case kSetParameter: case kUndoGraph: case kCopyGraph: case kCopyData: case kPaste:
        case kPasteAsNewGraph: case kMarker:
            return MenuKind::Graph;
        case kAddView: case kDeleteView: case kFollow:
            return MenuKind::View;
        default:
            return id > kSelectView && id < kDeleteView ? MenuKind::View : MenuKind::Other;
    }
}

}  // namespace varnex
