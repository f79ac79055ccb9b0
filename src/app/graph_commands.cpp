#include "app/graph_commands.h"

#include "app/command_actions.h"
#include "app/desktop.h"
#include "app/main_window.h"
#include "graph/graph_mouse.h"
#include "graph/graph_view.h"
#include "graph/graph_window.h"
#include "render/ranges.h"
#include "shell/commands.h"

namespace varnex {
namespace {

using namespace command;

bool isRangeCommand(int id) {
    switch (id) {
        case kXMinMax: case kYMinMax: case kMinMax: case kXAuto: case kYAuto: case kAuto: return true;
        default: return id >= kFirstPosition && id <= kLastPosition;
    }
}

void changeRange(Desktop& d, int id, const CursorValue& cursor) {
    if (d.hooks().applyPanels) d.hooks().applyPanels(d.document());
    Document& doc = d.document();
    switch (id) {
        case kXMinMax: rangeToDataExtent(doc, Axis::X); break;
        case kYMinMax: rangeToDataExtent(doc, Axis::Y); break;
        case kMinMax:
            rangeToDataExtent(doc, Axis::X);
            rangeToDataExtent(doc, Axis::Y);
            break;
        case kXAuto: automaticRange(doc, Axis::X); break;
        case kYAuto: automaticRange(doc, Axis::Y); break;
        case kAuto:
            // x first: the y range is then found within the new x range.
            automaticRange(doc, Axis::X);
            automaticRange(doc, Axis::Y);
            break;
        default: placeRangeEnds(doc, id - kFirstPosition, cursor.x, cursor.y); break;
    }
    d.graph().redraw(doc);
    if (d.hooks().refreshPanels) d.hooks().refreshPanels(doc);
}

}  // namespace

GraphMouse& createGraphMouse(Desktop& desktop) {
    auto* mouse = new GraphMouse(
        desktop.window().graphWindow(), [&desktop]() -> const Document& { return desktop.document(); }, &desktop);
    QObject::connect(mouse, &GraphMouse::statusText, &desktop, [&desktop](int part, const QString& text) {
        desktop.window().setStatusText(static_cast<StatusPart>(part), text);
    });
    QObject::connect(mouse, &GraphMouse::commandChosen, &desktop,
                     [&desktop](int id) { desktop.actions().runCommand(id); });
    QObject::connect(mouse, &GraphMouse::popupAboutToShow, &desktop,
                     [&desktop](QMenu* menu) { desktop.actions().updateSubMenu(*menu); });
    return *mouse;
}

GraphMouse* graphMouseOf(Desktop& desktop) {
    return desktop.findChild<GraphMouse*>(QString(), Qt::FindDirectChildrenOnly);
}

bool runGraphMouseCommand(Desktop& desktop, int id) {
    GraphMouse* mouse = graphMouseOf(desktop);
    if (!mouse) return false;
    if (isRangeCommand(id)) {
        changeRange(desktop, id, mouse->cursor());
        return true;
    }
    return mouse->runCommand(id);
}

}  // namespace varnex
