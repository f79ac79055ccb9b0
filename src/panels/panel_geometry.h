// Where the panels' controls stand: the arithmetic of both panels' layouts, free of any widget.
//
// Every rectangle is (x, y, width, height) in the panel's client coordinates; for the graph panel's
// rows these are the unscrolled coordinates. A list's rectangle is as high as the list with its items
// dropped down (dropItems lines of the panel font); the list itself stands Hc high.
#pragma once

#include <string_view>
#include <vector>

#include "panels/panel_items.h"
#include "shell/layout.h"

namespace varnex {

// The metrics a layout is computed from, taken from the panel each time controls are created.
struct PanelMetrics {
    int hc = 0;  // caption-bar height: the height of every label, edit box and closed list
    int bd = 0;  // border height
    int ht = 0;  // character height of the panel font
    int numberWidth = 15;  // the graph rows' number labels: at least 15, wide enough for "255"
    // S: from one line of controls to the next.
    int step() const { return hc + 5; }
    // P: from one row of the graph panel to the next.
    int rowPitch() const { return 3 * step() + 8; }
    // A list's height with its `items` lines dropped down.
    int listHeight(int items) const { return items * ht + hc + bd; }
};

enum class ControlKind { Label, PlainEdit, SunkenEdit, List };

struct ControlPlan {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::string_view text;  // a label's text, an edit box's initial text (UTF-8)
    Rect rect;
    ListKind list = ListKind::AxisSize;  // lists only
    int dropItems = 0;                   // lists only: lines shown when dropped down
    int limit = 0;                       // edit boxes: the longest text, in characters
    bool border = false;                 // plain edit boxes drawn with a border
    bool readOnly = false;               // the graph rows' title boxes
    bool rightAligned = false;           // the graph rows' number labels
};

// The axis panel's 27 controls in creation order (which is also the tab order), for a panel whose
// client area is clientWidth wide.
std::vector<ControlPlan> axisPanelLayout(int clientWidth, const PanelMetrics& m);

// The top of the graph panel's first row.
inline constexpr int kFirstRowY = 10;

// Row `row`'s six controls at the top y, in creation order: the number label (id row + 100, numberWidth
// wide), the title box (row + 200, from 5 pixels right of the number to 5 pixels short of the right
// edge), the interpolation (row + 300), line-type (row + 400), marker (row + 500) and shape (row + 600)
// lists. The next row starts at y + rowPitch().
std::vector<ControlPlan> graphRowLayout(int row, int y, int clientWidth, const PanelMetrics& m);

}  // namespace varnex
