#include "ui/graph_mouse.h"

#include <QGuiApplication>

#include "app/command_actions.h"
#include "app/commands.h"
#include "app/desktop.h"
#include "app/graph_view.h"
#include "app/graph_window.h"
#include "app/main_window.h"
#include "render/output/qt/text_codec.h"
#include "render/ranges.h"
#include "ui/clipboard_text.h"
#include "ui/cursor_readout.h"

namespace varnex {
namespace {

using namespace command;

bool isRangeCommand(int id) {
    switch (id) {
        case kXMinMax: case kYMinMax: case kMinMax: case kXAuto: case kYAuto: case kAuto: return true;
        default: return id >= kFirstPosition && id <= kLastPosition;
    }
}

void putText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
}

}  // namespace

GraphMouse::GraphMouse(Desktop& desktop) : QObject(&desktop), m_desktop(desktop) {
    GraphWindow& window = desktop.window().graphWindow();
    connect(&window, &GraphWindow::mouseMoved, this, &GraphMouse::mouseMoved);
    connect(&window, &GraphWindow::rightButtonPressed, this, &GraphMouse::rightButtonPressed);
    connect(&m_popup, &RangePopup::commandChosen, this, [this](int id) { m_desktop.actions().runCommand(id); });
    connect(&m_popup, &RangePopup::itemHighlighted, this, &GraphMouse::showHelpText);
    connect(&m_popup, &RangePopup::closed, this, [this] { m_desktop.window().setStatusText(kMessagePart, {}); });
    connect(&m_popup, &RangePopup::aboutToShow, this, [this](QMenu* menu) { m_desktop.actions().updateSubMenu(*menu); });
}

void GraphMouse::mouseMoved(QPointF position) {
    const Readout readout =
        readoutAt(m_desktop.document(), position, m_desktop.window().graphWindow().clientArea());
    if (!readout.changes) return;
    if (readout.value) m_cursor = *readout.value;
    MainWindow& window = m_desktop.window();
    window.setStatusText(kCursorPart, readout.cursor);
    window.setStatusText(kMessagePart, readout.hint);
}

void GraphMouse::rightButtonPressed(QPointF position) {
    GraphWindow& window = m_desktop.window().graphWindow();
    const std::optional<CursorValue> value = cursorValueAt(m_desktop.document(), position, window.clientArea());
    if (!value) return;
    m_cursor = *value;
    m_popup.open(m_cursor, window.mapToGlobal(position).toPoint());
}

void GraphMouse::showHelpText(int id) {
    QString text;
    if (id >= 0) {
        if (const auto status = commandStatusText(id, 0)) text = fromCodePage(*status);
    }
    m_desktop.window().setStatusText(kMessagePart, text);
}

bool GraphMouse::runCommand(int id) {
    if (isRangeCommand(id)) {
        changeRange(id);
        return true;
    }
    if (id >= kCopyCursor && id <= kLastCopyCursor) {
        putText(cursorValueText(m_cursor, static_cast<CopiedValue>(id - kCopyCursor)));
        return true;
    }
    return false;
}

void GraphMouse::changeRange(int id) {
    Desktop& d = m_desktop;
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
        default: placeRangeEnds(doc, id - kFirstPosition, m_cursor.x, m_cursor.y); break;
    }
    d.graph().redraw(doc);
    if (d.hooks().refreshPanels) d.hooks().refreshPanels(doc);
}

bool GraphMouse::copySetData(int set) {
    const Document& doc = m_desktop.document();
    if (set < 1 || set > doc.data) return false;
    putText(setDataText(doc.sets[static_cast<std::size_t>(set)]));
    return true;
}

GraphMouse* graphMouseOf(Desktop& desktop) {
    return desktop.findChild<GraphMouse*>(QString(), Qt::FindDirectChildrenOnly);
}

bool runGraphMouseCommand(Desktop& desktop, int id) {
    GraphMouse* mouse = graphMouseOf(desktop);
    return mouse && mouse->runCommand(id);
}

}  // namespace varnex
