#include "app/panel_commands.h"

#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/main_window.h"
#include "graph/graph_view.h"
#include "panels/parameter_panels.h"
#include "shell/panel_command_ids.h"

namespace varnex {

bool PanelCommands::run(int id) {
    switch (id) {
        case command::kDraw:
            // An open list is closed first; it keeps the item it had selected.
            m_panels.closeOpenList();
            m_desktop.applyAndRedraw();
            return true;
        case command::kSetParameter:
            setParameter();
            return true;
        case command::kUndoGraph:
            m_desktop.documents().undoGraph();
            return true;
        case command::kXInput:
            rangeInput(true);
            return true;
        case command::kYInput:
            rangeInput(false);
            return true;
        case command::kSwitchSheet:
            m_desktop.showPage((m_desktop.window().currentPage() + 1) % kPageCount);
            return true;
        case command::kCursorHome:
        case command::kCursorDown:
        case command::kCursorUp:
        case command::kCursorRight:
        case command::kCursorLeft:
            m_panels.navigate(id);
            return true;
        default:
            return false;
    }
}

void PanelCommands::setParameter() {
    Document& doc = m_desktop.document();
    m_panels.apply(doc);
    m_panels.setAllChoices(doc, m_desktop.messages());
    m_desktop.graph().redraw(doc);
    m_panels.refresh(doc);
}

void PanelCommands::rangeInput(bool xAxis) {
    m_desktop.showPage(kAxisPage);
    m_panels.focusRangeBox(xAxis);
}

}  // namespace varnex
