// The graph window's mouse wired to the desktop, and the commands that change the ranges at the cursor:
// Min and Max (108, 109, 117), Auto (1054, 1053, 1055) and the position commands 1500-1506 of the range
// pop-up. Each applies the panels, changes the limits of the current Document, redraws and refreshes
// the panels, with or without data (an empty Document keeps its range).
#pragma once

namespace varnex {

class Desktop;
class GraphMouse;

// Creates the desktop's GraphMouse (a child of the Desktop) on its graph window and connects it to the
// status bar and the command path.
GraphMouse& createGraphMouse(Desktop& desktop);

// The GraphMouse of desktop; null before start-up made it.
GraphMouse* graphMouseOf(Desktop& desktop);

// The command path's hand-over: runs id as a range, position or cursor copy command; false when it is
// none of them.
bool runGraphMouseCommand(Desktop& desktop, int id);

}  // namespace varnex
