#include "graph/cursor_readout.h"

#include "render/output/qt/picture_painter.h"
#include "util/numbers.h"

namespace varnex {
namespace {

constexpr int kCursorField = -12;  // "%-12g"

}  // namespace

std::optional<CursorValue> cursorValueAt(const DocumentHead& doc, QPointF position, const QRect& client) {
    if (doc.data == 0) return std::nullopt;
    const QPointF device = position - QPointF(client.topLeft()) + QPointF(0.5, 0.5);
    const std::optional<QPointF> logical = logicalOfDevice(device, client.size());
    if (!logical) return std::nullopt;
    return readCursor(doc, pageOfLogical(logical->x(), logical->y()));
}

QString cursorText(const CursorValue& value) {
    return QString::fromLatin1("x=" + formatG(value.x, 6, kCursorField) + " y=" + formatG(value.y, 6, kCursorField));
}

Readout readoutAt(const DocumentHead& doc, QPointF position, const QRect& client) {
    Readout readout;
    if (doc.data == 0) return readout;
    readout.changes = true;
    readout.value = cursorValueAt(doc, position, client);
    if (readout.value) {
        readout.cursor = cursorText(*readout.value);
        readout.hint = QString::fromLatin1(kCursorHint);
    }
    return readout;
}

}  // namespace varnex
