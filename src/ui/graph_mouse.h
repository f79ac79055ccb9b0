// The mouse on the graph window and the commands that act at the cursor: the read-out of the data
// values under the pointer (status parts 1 and 0), the range pop-up on the right button, the range
// commands (Min and Max 108, 109, 117; Auto 1054, 1053, 1055), the position commands 1500-1506 and the
// copy commands 2500-2502 and 107.
//
// One GraphMouse per desktop, a child of the Desktop, created at start-up. The pop-up's chosen item
// takes the command path of the menus (CommandActions::runCommand), which hands these identifiers
// back to runCommand here. Nothing happens while the current Document holds no data set: the status
// bar keeps its text and no pop-up opens.
#pragma once

#include <QObject>
#include <QPointF>

#include "render/mapping.h"
#include "ui/range_popup.h"

namespace varnex {

class Desktop;

class GraphMouse : public QObject {
    Q_OBJECT
public:
    // Connects to desktop's graph window. desktop owns the GraphMouse (QObject parent).
    explicit GraphMouse(Desktop& desktop);

    // A mouse move at position (graph-window coordinates): inside the frame status part 1 shows
    // "x=%-12g y=%-12g" and part 0 the hint, and the cursor value is kept; outside both are cleared.
    void mouseMoved(QPointF position);
    // A right-button press: inside the frame, keeps the cursor value and opens the range pop-up there.
    void rightButtonPressed(QPointF position);

    // The cursor value pair: the data values of the last read-out or press inside the frame.
    const CursorValue& cursor() const { return m_cursor; }
    RangePopup& popup() { return m_popup; }

    // Runs a range, position or copy command (the ids above but 107); false, doing nothing, for any
    // other id. Range and position commands apply the panels, change the limits, redraw and refresh the
    // panels, with or without data (an empty Document keeps its range).
    bool runCommand(int id);

    // Command 107: puts the points of data set `set` of the current Document on the clipboard as text.
    // False (clipboard unchanged) when the Document has no such set.
    bool copySetData(int set);

private:
    void changeRange(int id);
    void showHelpText(int id);

    Desktop& m_desktop;
    RangePopup m_popup;
    CursorValue m_cursor;
};

// The GraphMouse of desktop; null before start-up made it.
GraphMouse* graphMouseOf(Desktop& desktop);

// The command path's hand-over: runs id through desktop's GraphMouse; false when it is not one of its
// commands.
bool runGraphMouseCommand(Desktop& desktop, int id);

}  // namespace varnex
