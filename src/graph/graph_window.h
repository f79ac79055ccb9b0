// The graph window: a bordered white child of the main window that shows the recorded picture, scaled
// into its client area. The picture is replayed into an image of the client area's size once, when
// the picture or the size changes; every paint (an expose, a menu closing over the window) copies
// that image. The main window keeps it square. It reports every mouse
// move over it (tracking, no button needed) and right-button presses, in its own coordinates.
#pragma once

#include <QFrame>
#include <QImage>
#include <QPointF>
#include <memory>

#include "render/output/picture.h"

namespace varnex {

class GraphWindow : public QFrame {
    Q_OBJECT
public:
    explicit GraphWindow(QWidget* parent = nullptr);

    // Shows picture from the next paint on; null shows a white window.
    void showPicture(std::shared_ptr<const Picture> picture);
    // The window turns white; the picture it showed is no longer painted.
    void clear() { showPicture(nullptr); }
    bool showsPicture() const { return m_picture != nullptr; }

    // The rectangle the picture is painted into: the window inside its border.
    QRect clientArea() const { return contentsRect(); }

signals:
    void mouseMoved(QPointF position);
    void rightButtonPressed(QPointF position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::shared_ptr<const Picture> m_picture;
    QImage m_replayed;  // m_picture at the client area's size in device pixels; null until painted
};

}  // namespace varnex
