// The graph window: a bordered white child of the main window that replays the recorded picture,
// scaled into its client area, on every paint. The main window keeps it square.
#pragma once

#include <QFrame>
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<const Picture> m_picture;
};

}  // namespace varnex
