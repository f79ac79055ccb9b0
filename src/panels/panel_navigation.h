// Moving the focus through the panels with the five cursor commands (Home, Down, Up, Right, Left).
//
// The axis panel moves along fixed tables of control ids: two vertical cycles (the left-hand and the
// right-hand controls), sideways pairs and a Home cycle through the range boxes. The graph panel moves
// by rows and columns of the row lists and scrolls by one row when the new focus is not fully visible;
// a focus on a control scrolled partly out of view first goes to the top row's interpolation list.
#pragma once

namespace varnex {

class GraphPanel;

// The id of the axis-panel control the focus moves to from control fromId (0: a window that is no
// axis-panel control) for a cursor command; 0 when it does not move.
int axisMove(int command, int fromId);

// The graph panel's move for a cursor command from the focused control.
void navigateGraph(GraphPanel& panel, int command);

}  // namespace varnex
