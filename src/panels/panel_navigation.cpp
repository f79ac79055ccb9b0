#include "panels/panel_navigation.h"

#include <QComboBox>
#include <array>
#include <utility>

#include "panels/graph_panel.h"
#include "panels/panel_controls.h"
#include "shell/panel_command_ids.h"

namespace varnex {
namespace {

using Move = std::pair<int, int>;  // from id, to id

// Down: the left-hand cycle (title, size lists, axis titles, frame width) and the right-hand cycle
// (type and font lists, range boxes, print width, marker size). Up runs them backwards.
constexpr std::array<int, 6> kLeftCycle{101, 103, 105, 202, 204, 302};
constexpr std::array<int, 10> kRightCycle{104, 106, 108, 110, 203, 205, 207, 209, 301, 304};
constexpr std::array<Move, 7> kRightMoves{
    {{103, 104}, {105, 106}, {202, 203}, {204, 205}, {302, 303}, {303, 304}, {304, 302}}};
constexpr std::array<Move, 7> kLeftMoves{
    {{104, 103}, {106, 105}, {203, 202}, {205, 204}, {302, 304}, {304, 303}, {303, 302}}};
// Home visits the title and range boxes of both axes; from anywhere else it goes to the x title.
constexpr std::array<int, 6> kHomeCycle{105, 108, 110, 204, 207, 209};

// The id after (forward) or before `from` in cycle; 0 when from is not in it.
template <std::size_t N>
int inCycle(const std::array<int, N>& cycle, int from, bool forward) {
    for (std::size_t i = 0; i < N; ++i) {
        if (cycle[i] == from) return cycle[(i + (forward ? 1 : N - 1)) % N];
    }
    return 0;
}

template <std::size_t N>
int inMoves(const std::array<Move, N>& moves, int from) {
    for (const auto& [a, b] : moves) {
        if (a == from) return b;
    }
    return 0;
}

}  // namespace

int axisMove(int command, int fromId) {
    switch (command) {
        case command::kCursorDown:
        case command::kCursorUp: {
            const bool down = command == command::kCursorDown;
            if (const int to = inCycle(kLeftCycle, fromId, down)) return to;
            return inCycle(kRightCycle, fromId, down);
        }
        case command::kCursorRight:
            return inMoves(kRightMoves, fromId);
        case command::kCursorLeft:
            return inMoves(kLeftMoves, fromId);
        case command::kCursorHome: {
            const int to = inCycle(kHomeCycle, fromId, true);
            return to ? to : 105;
        }
        default:
            return 0;
    }
}

void navigateGraph(GraphPanel& panel, int command) {
    QWidget* focused = focusedControl();
    if (!panel.fullyVisible(focused)) {
        const ScrollRecord& r = panel.scrollState();
        const int top = r.position / r.line + 1;
        if (top >= 1 && top <= panel.rowCount()) giveKeyboardFocus(panel.row(top).lists[0]);
        return;
    }
    const RowChoice at = panel.focusedRow(focused);
    if (!at.found) return;
    const auto focusOn = [&panel](int row, int column) {
        if (row >= 1 && row <= panel.rowCount()) {
            giveKeyboardFocus(panel.row(row).lists[static_cast<std::size_t>(column)]);
        }
    };
    // Columns: 0 interpolation and 1 line type on the row's second line, 2 marker and 3 shape on its
    // third.
    switch (command) {
        case command::kCursorHome:
            focusOn(at.row, at.column ^ 1);
            return;
        case command::kCursorRight:
            if (at.column == 0 || at.column == 2) focusOn(at.row, at.column + 1);
            return;
        case command::kCursorLeft:
            if (at.column == 1 || at.column == 3) focusOn(at.row, at.column - 1);
            return;
        case command::kCursorDown:
            if (at.column < 2) {
                focusOn(at.row, at.column + 2);
            } else if (at.row < panel.rowCount()) {
                focusOn(at.row + 1, at.column - 2);
            }
            if (!panel.fullyVisible(focusedControl()) && panel.scrollStep(kLineDown)) {
                const ScrollRecord& r = panel.scrollRecord();
                panel.scrollContentBy(r.previous - r.position);
            }
            return;
        case command::kCursorUp:
            if (at.column >= 2) {
                focusOn(at.row, at.column - 2);
            } else if (at.row > 1) {
                focusOn(at.row - 1, at.column + 2);
            }
            if (!panel.fullyVisible(focusedControl())) panel.verticalScroll(kLineUp);
            return;
        default:
            return;
    }
}

}  // namespace varnex
