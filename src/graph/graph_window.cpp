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
    m_replayed = QImage();
    update();
}

void GraphWindow::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the border
    if (!m_picture) return;
    const QRect client = contentsRect();
    if (client.isEmpty()) return;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(client.size()) * ratio).toSize();
    if (m_replayed.size() != pixels || m_replayed.devicePixelRatio() != ratio) {
        m_replayed = QImage(pixels, QImage::Format_RGB32);
        if (m_replayed.isNull()) return;  // no memory for the image: the window stays white
        m_replayed.setDevicePixelRatio(ratio);
        m_replayed.fill(Qt::white);  // the window's own background
        QPainter replay(&m_replayed);
        replay.setRenderHint(QPainter::Antialiasing);
        paintPicture(*m_picture, replay, QRect(QPoint(0, 0), client.size()));
    }
    QPainter painter(this);
    painter.drawImage(client.topLeft(), m_replayed);
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
