// Helpers of the replay tests: pictures drawn into images and the ink found in them.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "render/output/picture.h"
#include "render/output/qt/picture_painter.h"

namespace varnex::test {

// The picture replayed into a white width × height image, mapped isotropically, without antialiasing
// so that pixels are either ink or paper.
inline QImage replayed(const Picture& picture, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    setupIsotropic(painter, image.size());
    replayPicture(picture, painter);
    painter.end();
    return image;
}

inline bool isInk(const QImage& image, int x, int y) { return image.pixel(x, y) != qRgb(255, 255, 255); }

// The smallest rectangle holding every non-white pixel; null when the image is blank.
inline QRect inkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image, x, y)) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

inline int inkCount(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += isInk(image, x, y) ? 1 : 0;
    return count;
}

}  // namespace varnex::test
