#include "graph/graph_window.h"

#include <QMouseEvent>
#include <QPainter>

#include "graph/picture_bridge.h"

namespace varnex {

GraphWindow::GraphWindow(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void GraphWindow::showPicture(std::shared_ptr<const Picture> picture) {
    m_picture = std::move(picture);
    update();
}

void GraphWindow::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the border
    if (!m_picture) return;
    const QRect client = contentsRect();
    QPainter painter(this);
    painter.setClipRect(client);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPicture(*m_picture, painter, client);
}

void GraphWindow::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position());
    event->accept();
}

void GraphWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit rightButtonPressed(event->position());
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

}  // namespace varnex
