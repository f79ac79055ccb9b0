// Where the shell meets the page renderer and the Qt replay of the recorded picture: recording a
// graph, painting it on a device, the printer page and the clipboard data. Every output replays the one
// recorded picture.
#pragma once

#include <QMimeData>
#include <QPainter>
#include <QRect>
#include <memory>

#include "render/output/picture.h"

namespace varnex {

struct Document;
class CurveWorkSpace;
class MessageBoxes;

// Records the graph of doc (the page renderer through the drawing primitives, texts measured with the
// Qt fonts the replay uses, the splines' work space taken from and kept in work). The renderer stores
// the transformed limits in doc.
Picture recordGraph(Document& doc, CurveWorkSpace& work, MessageBoxes& messages);

// Replays picture scaled isotropically into area (device pixels): scaled by the smaller of its width
// and height over 5000 and anchored at its top left corner.
void paintPicture(const Picture& picture, QPainter& painter, const QRect& area);

// Replays picture on a printer page: printw cm square, its top left corner printox cm right of and
// printoy cm below the top left corner of the printable area.
void paintPrintPage(const Picture& picture, QPainter& painter, int dpiX, int dpiY, double printw, double printox,
                    double printoy);

// The clipboard form of the picture (SVG printw cm square and a 300-dpi PNG); null when no output
// accepts printw (render/output/qt/export.h).
std::unique_ptr<QMimeData> pictureMimeData(const Picture& picture, double printw);

}  // namespace varnex
