#include "graph/graph_mouse.h"

#include <QClipboard>
#include <QGuiApplication>

#include "document/model.h"
#include "graph/clipboard_text.h"
#include "graph/cursor_readout.h"
#include "graph/graph_window.h"
#include "render/output/qt/text_codec.h"
#include "shell/commands.h"
#include "shell/window_parts.h"

namespace varnex {
namespace {

using namespace command;

void putText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
}

}  // namespace

GraphMouse::GraphMouse(GraphWindow& window, std::function<const Document&()> document, QObject* parent)
    : QObject(parent), m_window(window), m_document(std::move(document)) {
    connect(&window, &GraphWindow::mouseMoved, this, &GraphMouse::mouseMoved);
    connect(&window, &GraphWindow::rightButtonPressed, this, &GraphMouse::rightButtonPressed);
    connect(&m_popup, &RangePopup::commandChosen, this, &GraphMouse::commandChosen);
    connect(&m_popup, &RangePopup::itemHighlighted, this, &GraphMouse::showHelpText);
    connect(&m_popup, &RangePopup::closed, this, [this] { emit statusText(kMessagePart, {}); });
    connect(&m_popup, &RangePopup::aboutToShow, this, &GraphMouse::popupAboutToShow);
}

void GraphMouse::mouseMoved(QPointF position) {
    const Readout readout = readoutAt(m_document(), position, m_window.clientArea());
    if (!readout.changes) return;
    if (readout.value) m_cursor = *readout.value;
    emit statusText(kCursorPart, readout.cursor);
    emit statusText(kMessagePart, readout.hint);
}

void GraphMouse::rightButtonPressed(QPointF position) {
    const std::optional<CursorValue> value = cursorValueAt(m_document(), position, m_window.clientArea());
    if (!value) return;
    m_cursor = *value;
    m_popup.open(m_cursor, m_window.mapToGlobal(position).toPoint());
}

void GraphMouse::showHelpText(int id) {
    QString text;
    if (id >= 0) {
        if (const auto status = commandStatusText(id, 0)) text = fromCodePage(*status);
    }
    emit statusText(kMessagePart, text);
}

bool GraphMouse::runCommand(int id) {
    if (id < kCopyCursor || id > kLastCopyCursor) return false;
    putText(cursorValueText(m_cursor, static_cast<CopiedValue>(id - kCopyCursor)));
    return true;
}

bool GraphMouse::copySetData(int set) {
    const Document& doc = m_document();
    if (set < 1 || set > doc.data) return false;
    putText(setDataText(doc.sets[static_cast<std::size_t>(set)]));
    return true;
}

}  // namespace varnex
