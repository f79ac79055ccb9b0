#include "app/picture_bridge.h"

#include "document/model.h"

namespace varnex {

// The renderer and the Qt replay join here once they are in the tree; until then nothing is drawn.

Picture recordGraph(Document& doc, MessageBoxes& messages) {
    (void)doc;
    (void)messages;
    return {};
}

void paintPicture(const Picture& picture, QPainter& painter, const QRect& area) {
    (void)picture;
    (void)painter;
    (void)area;
}

void paintPrintPage(const Picture& picture, QPainter& painter, int dpiX, int dpiY, double printw, double printox,
                    double printoy) {
    (void)picture;
    (void)painter;
    (void)dpiX;
    (void)dpiY;
    (void)printw;
    (void)printox;
    (void)printoy;
}

std::unique_ptr<QMimeData> pictureMimeData(const Picture& picture, double printw) {
    (void)picture;
    (void)printw;
    return nullptr;
}

}  // namespace varnex
