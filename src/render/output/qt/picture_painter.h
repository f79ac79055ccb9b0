// Replay of a recorded picture onto a QPainter: the screen, the printer, SVG, PDF and PNG all draw the
// picture through replayPicture, after one of the setup functions has mapped the 5000 × 5000 logical
// square onto the device.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QSize>
#include <optional>

#include "render/output/picture.h"

namespace varnex {

// Side of the picture's logical square.
inline constexpr int kPictureSide = 5000;

// Maps the logical square isotropically onto a device of deviceSize pixels: scaled by the smaller of
// width / 5000 and height / 5000 and anchored at the top left corner, so an 800 × 600 device shows the
// picture 600 × 600 at the left.
void setupIsotropic(QPainter& painter, QSize deviceSize);

// The logical point shown at a device point by a painter set up with setupIsotropic(deviceSize): the
// device coordinates times 5000 over the side of the square, the exact inverse of that mapping. Points
// beyond the square map beyond 0..5000. Nothing for a device without area.
std::optional<QPointF> logicalOfDevice(QPointF device, QSize deviceSize);

// Maps the logical square onto a printer page of dpiX × dpiY dots per inch so that it is printwCm
// centimetres wide and high, its top left corner printOxCm to the right of and printOyCm below the top
// left corner of the printable area. REQUIRES: printwCm > 0 (offsets are limited to ±1000 page widths).
void setupPrintPage(QPainter& painter, int dpiX, int dpiY, double printwCm, double printOxCm, double printOyCm);

// Draws every operation of the picture in logical units onto a painter already set up. The painter
// starts each replay with a thin black pen, a white brush, the default font and the position at (0, 0);
// its own state is restored afterwards. Render hints are the caller's choice.
void replayPicture(const Picture& picture, QPainter& painter);

}  // namespace varnex
