// The facts of the menu states that the window system holds (the focused widget, the clipboard), and
// the application of a computed state to the menu's actions.
#pragma once

#include <QAction>
#include <QClipboard>
#include <QWidget>
#include <functional>

#include "menus/menu_state.h"

namespace varnex {

// What the Edit menu sees of the focused widget: a QLineEdit (also the line edit of an editable combo
// box) is a text box; a QPlainTextEdit or QTextEdit is the data sheet, also a text box. Other widgets,
// a combo box's list among them, and no widget at all are neither. graphRow is left 0: the graph panel
// knows its rows.
FocusFacts textFocusFacts(const QWidget* focus);

// Text and file lists (local file URLs) on the clipboard.
void readClipboardFacts(const QClipboard& clipboard, MenuFacts& facts);

// Sets the enabled and checked states of the items in state, and the text of item 107, on the actions
// that actionOf finds (null: the menus do not hold that item).
void applyMenuState(const MenuState& state, const std::function<QAction*(int id)>& actionOf);

}  // namespace varnex
