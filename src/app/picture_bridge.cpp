#include "app/picture_bridge.h"

#include "document/model.h"
#include "render/output/qt/export.h"
#include "render/output/qt/picture_painter.h"

namespace varnex {

// The page renderer joins here once it is in the tree; until then the picture is empty.

Picture recordGraph(Document& doc, MessageBoxes& messages) {
    (void)doc;
    (void)messages;
    return {};
}

void paintPicture(const Picture& picture, QPainter& painter, const QRect& area) {
    setupIsotropic(painter, area.size());
    painter.setViewport(painter.viewport().translated(area.topLeft()));
    replayPicture(picture, painter);
}

void paintPrintPage(const Picture& picture, QPainter& painter, int dpiX, int dpiY, double printw, double printox,
                    double printoy) {
    setupPrintPage(painter, dpiX, dpiY, printw, printox, printoy);
    replayPicture(picture, painter);
}

std::unique_ptr<QMimeData> pictureMimeData(const Picture& picture, double printw) {
    return clipboardMimeData(picture, printw);
}

}  // namespace varnex
