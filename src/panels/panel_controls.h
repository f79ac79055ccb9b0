// The panels' controls: creating one from its layout entry, and the operations that move values
// between a control and the Document's fields.
//
// Texts are bytes in the system code page on the Document's side. A text put into a control is cut at
// its first line feed and then at its first carriage return; a text read from an edit box keeps at
// most 255 bytes (whole characters) and is cut the same way. An edit box read back while it still
// shows the text it was given gives back the bytes it was given, exactly (bytes the code page cannot
// decode included); an edited text is encoded in the code page. Numbers are shown with "%g" in the C
// locale and read as atof reads them (0 for a text that does not begin with a number). A list's value
// is its selected position; a list without selection has no value.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panels/panel_geometry.h"

namespace varnex {

// Creates the control of plan as a child of parent, named "c" followed by its id ("c108"), at its
// rectangle (a list at its closed height Hc), filled with its items. Labels and edit boxes show
// plan.text.
QWidget* createControl(const ControlPlan& plan, int closedListHeight, QWidget* parent);

// The text up to the first line feed, then up to the first carriage return.
std::string_view firstLine(std::string_view text);

void setControlText(QLabel* label, std::string_view text);
// Shows the start of the text (the cursor at position 0). Leaves a box that already shows the text
// alone, so that a refresh does not disturb what the user is looking at.
void setControlText(QLineEdit* edit, std::string_view text);
// prefix followed by value in "%g".
void setControlNumber(QLabel* label, std::string_view prefix, double value);
void setControlNumber(QLineEdit* edit, double value);

// Selects the item at position; any position outside the list leaves it without selection.
void selectPosition(QComboBox* list, int position);
// Selects the first item, from the top, that begins with text (case ignored); no such item leaves the
// selection as it was.
void selectByPrefix(QComboBox* list, std::string_view text);

std::string editText(const QLineEdit* edit);
double editNumber(const QLineEdit* edit);
// The selected position, nothing without selection.
std::optional<int> listPosition(const QComboBox* list);
// The selected item's text, nothing without selection.
std::optional<std::string> listItemText(const QComboBox* list);

}  // namespace varnex

namespace varnex {

// Hc, Bd and Ht for panel: the style's caption-bar height and border, and the height of the panel's
// font; the width of a three-digit row number in that font.
PanelMetrics panelMetrics(const QWidget* panel);

// Moves the focus from the control that has it to the next (or previous) one of order that can take
// it by Tab, wrapping around; from a control outside order, to the first (or last). False when no
// control of order can take the focus.
bool cycleFocus(const std::vector<QWidget*>& order, bool next);

// Gives w the focus as a key does, so that the style draws its focus mark: the user sees which control
// the next key changes. Used wherever a command or a page switch moves the focus. Nothing for null.
void giveKeyboardFocus(QWidget* w);

}  // namespace varnex
