// The commands that work on the parameter panels: Draw, Set Parameter, Undo of the Graph menu, the
// range-box inputs, Switch Sheet and the five cursor moves (ids in panel_command_ids.h).
#pragma once

namespace varnex {

class Desktop;
class ParameterPanels;

class PanelCommands {
public:
    // desktop and panels must outlive the commands.
    PanelCommands(Desktop& desktop, ParameterPanels& panels) : m_desktop(desktop), m_panels(panels) {}

    // Runs command id; false (nothing done) for an id that is not a panel command.
    bool run(int id);

private:
    // Graph "&Set Parameter": apply, give the focused list's choice to all sets, redraw, refresh.
    void setParameter();
    // Shows the axis page, then moves the focus between the axis's two range boxes.
    void rangeInput(bool xAxis);

    Desktop& m_desktop;
    ParameterPanels& m_panels;
};

}  // namespace varnex
