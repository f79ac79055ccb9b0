#include "graph/graph_view.h"

#include <QPainter>
#include <QPrintDialog>

#include "document/model.h"
#include "graph/graph_window.h"
#include "graph/picture_bridge.h"
#include "render/output/qt/export.h"
#include "util/message_boxes.h"

namespace varnex {

void GraphView::redraw(Document& doc) {
    m_window.clear();
    if (doc.data == 0) return;
    m_picture = std::make_shared<const Picture>(recordGraph(doc, m_curveWork, m_messages));
    m_window.showPicture(m_picture);
}

void GraphView::clear() { m_window.clear(); }

void GraphView::release() {
    m_window.clear();
    m_picture.reset();
    m_curveWork.fit(0);
}

bool GraphView::canOutput(const Document& doc) const { return doc.data != 0 && m_picture; }

bool GraphView::widthAccepted(const Document& doc) const {
    if (validPrintWidth(doc.printw)) return true;
    m_messages.inform(kErrorCaption, printWidthError(doc.printw));
    return false;
}

bool GraphView::copyPicture(const Document& doc, QClipboard& clipboard) const {
    if (!canOutput(doc) || !widthAccepted(doc)) return false;
    std::unique_ptr<QMimeData> data = pictureMimeData(*m_picture, doc.printw);
    if (!data) return false;
    clipboard.setMimeData(data.release());  // the clipboard takes ownership
    return true;
}

void GraphView::print(const Document& doc, QWidget* owner) const {
    if (!canOutput(doc) || !widthAccepted(doc)) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(kPrintDocumentName));
    QPrintDialog dialog(&printer, owner);
    if (dialog.exec() != QDialog::Accepted) return;
    printTo(doc, printer);
}

bool GraphView::printTo(const Document& doc, QPrinter& printer) const {
    if (!canOutput(doc) || !widthAccepted(doc)) return false;
    printer.setDocName(QString::fromLatin1(kPrintDocumentName));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const int dpi = printer.resolution();
    paintPrintPage(*m_picture, painter, dpi, dpi, doc.printw, doc.printox, doc.printoy);
    return painter.end();
}

}  // namespace varnex
