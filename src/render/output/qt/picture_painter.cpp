#include "render/output/qt/picture_painter.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "render/output/qt/picture_font.h"
#include "render/output/qt/text_codec.h"

namespace varnex {
namespace {

// The character cell of the default font, used by texts written before any font operation.
constexpr std::int32_t kDefaultCellHeight = 175;

QColor tableColour(std::int32_t index) {
    const Rgb& rgb = kColourTable[static_cast<std::uint32_t>(index) & 7u];
    return QColor(rgb.r, rgb.g, rgb.b);
}

QPen picturePen(std::int32_t width, std::int32_t colour) {
    QPen pen(tableColour(colour));
    pen.setStyle(Qt::SolidLine);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (width > 0) {
        pen.setWidth(width);
    } else {
        // A pen of no width still draws the thinnest line the device has.
        pen.setWidth(0);
        pen.setCosmetic(true);
    }
    return pen;
}

QPointF pointOf(std::int32_t x, std::int32_t y) { return QPointF(x, y); }

QRectF rectOf(const Picture::Op& op) { return QRectF(pointOf(op.a, op.b), pointOf(op.c, op.d)).normalized(); }

// Double → int without undefined behaviour for values far outside the int range.
int truncToInt(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::clamp(value, -2e9, 2e9));
}

// The font of the replay with the metrics the text alignment needs, computed once per font operation.
struct ReplayFont {
    QFont font;
    double ascent = 0;
    double descent = 0;
    int angle = 0;

    void set(std::string_view face, std::int32_t cellHeight, int angleDegrees) {
        font = pictureFont(face, cellHeight);
        const QFontMetricsF metrics(font);
        ascent = metrics.ascent();
        descent = metrics.descent();
        angle = angleDegrees;
    }
};

// Writes text with its reference point at `at`: code 10 × vertical + horizontal. The alignment applies
// along the text's own direction, so rotated text turns about its reference point. Codes outside those
// described in picture.h give the platform's default alignment: left and top.
void drawAlignedText(QPainter& painter, const ReplayFont& font, int code, QPointF at, const QString& text) {
    const int vertical = code / 10;
    const int horizontal = code % 10;
    const double width = QFontMetricsF(font.font).horizontalAdvance(text);
    double dx = 0;
    if (horizontal == 1) dx = -width / 2;
    if (horizontal == 2) dx = -width;
    const double dy = vertical == 2 ? -font.descent : font.ascent;
    painter.save();
    painter.translate(at);
    if (font.angle != 0) painter.rotate(-font.angle);
    painter.drawText(QPointF(dx, dy), text);
    painter.restore();
}

}  // namespace

void setupIsotropic(QPainter& painter, QSize deviceSize) {
    const int side = std::max(0, std::min(deviceSize.width(), deviceSize.height()));
    painter.setWindow(0, 0, kPictureSide, kPictureSide);
    painter.setViewport(0, 0, side, side);
}

std::optional<QPointF> logicalOfDevice(QPointF device, QSize deviceSize) {
    const int side = std::min(deviceSize.width(), deviceSize.height());
    if (side <= 0) return std::nullopt;
    // Multiplied first: a device point on a whole logical unit then maps back to exactly that unit.
    return QPointF(device.x() * kPictureSide / side, device.y() * kPictureSide / side);
}

void setupPrintPage(QPainter& painter, int dpiX, int dpiY, double printwCm, double printOxCm, double printOyCm) {
    // Offsets beyond a thousand page widths would only move the picture off the paper.
    const double limit = 1000.0 * printwCm;
    const double ox = std::clamp(printOxCm, -limit, limit);
    const double oy = std::clamp(printOyCm, -limit, limit);
    const int originX = truncToInt(-ox * 100 * 50 / printwCm);
    const int originY = truncToInt(-oy * 100 * 50 / printwCm);
    painter.setWindow(originX, originY, kPictureSide, kPictureSide);
    painter.setViewport(0, 0, truncToInt(dpiX * printwCm / 2.54), truncToInt(dpiY * printwCm / 2.54));
}

namespace {

// Consecutive lines are one polyline: drawn in pieces of this many points, which strokes far faster
// than one line at a time (and than one huge path) and looks the same with round joins and caps.
constexpr qsizetype kPolylinePiece = 512;

// On a pixel device, the points of a polyline that fall into one pixel column can be reduced to the
// first, the lowest, the highest and the last of them, in their order: the stroke covers the same
// pixels but for its edges, and a graph of a million points paints as quickly as one of a few thousand. Vector devices
// (SVG, PDF, printers) keep every point.
bool thinsPolylines(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    if (device == nullptr) return false;
    const int type = device->devType();
    return type == QInternal::Image || type == QInternal::Pixmap || type == QInternal::Widget;
}

void thinByColumns(const QPolygonF& points, const QTransform& toDevice, QPolygonF& out) {
    out.clear();
    qsizetype i = 0;
    while (i < points.size()) {
        const double column = std::floor(toDevice.map(points[i]).x());
        qsizetype end = i + 1;
        qsizetype low = i;
        qsizetype high = i;
        while (end < points.size() && std::floor(toDevice.map(points[end]).x()) == column) {
            if (points[end].y() < points[low].y()) low = end;
            if (points[end].y() > points[high].y()) high = end;
            ++end;
        }
        const qsizetype last = end - 1;
        if (end - i <= 4) {
            for (qsizetype k = i; k < end; ++k) out << points[k];
        } else {
            out << points[i];
            for (const qsizetype k : {std::min(low, high), std::max(low, high)}) {
                if (k != i && k != last) out << points[k];
            }
            out << points[last];
        }
        i = end;
    }
}

void drawPolylineInPieces(const QPolygonF& points, QPainter& painter) {
    for (qsizetype start = 0; start + 1 < points.size(); start += kPolylinePiece - 1) {
        const qsizetype count = std::min(kPolylinePiece, points.size() - start);
        painter.drawPolyline(points.constData() + start, static_cast<int>(count));
    }
}

// Draws the lines from ops[i] on while they follow each other; returns the index after the last one.
std::size_t drawLineRun(const std::vector<Picture::Op>& ops, std::size_t i, QPointF& position,
                        QPainter& painter, bool thin) {
    QPolygonF polyline;
    polyline << position;
    while (i < ops.size() && ops[i].kind == Picture::Kind::Line) {
        polyline << pointOf(ops[i].a, ops[i].b);
        ++i;
    }
    position = polyline.back();
    if (thin && polyline.size() > 4) {
        QPolygonF thinned;
        thinByColumns(polyline, painter.combinedTransform(), thinned);
        drawPolylineInPieces(thinned, painter);
    } else {
        drawPolylineInPieces(polyline, painter);
    }
    return i;
}

}  // namespace

void replayPicture(const Picture& picture, QPainter& painter) {
    painter.save();
    painter.setPen(picturePen(0, 0));
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    ReplayFont font;
    font.set({}, kDefaultCellHeight, 0);
    painter.setFont(font.font);
    QPointF position(0, 0);

    const auto& ops = picture.ops();
    const bool thin = thinsPolylines(painter);
    for (std::size_t i = 0; i < ops.size();) {
        if (ops[i].kind == Picture::Kind::Line) {
            i = drawLineRun(ops, i, position, painter, thin);
            continue;
        }
        const Picture::Op& op = ops[i++];
        switch (op.kind) {
            case Picture::Kind::Pen: painter.setPen(picturePen(op.b, op.c)); break;
            case Picture::Kind::Brush: painter.setBrush(QBrush(tableColour(op.a), Qt::SolidPattern)); break;
            case Picture::Kind::Font:
                font.set(picture.string(op.c), op.a, op.b);
                painter.setFont(font.font);
                break;
            case Picture::Kind::Move: position = pointOf(op.a, op.b); break;
            case Picture::Kind::Line: break;  // drawn as runs above
            case Picture::Kind::Text:
                drawAlignedText(painter, font, op.a, pointOf(op.b, op.c), fromCodePage(picture.string(op.d)));
                break;
            case Picture::Kind::Ellipse: painter.drawEllipse(rectOf(op)); break;
            case Picture::Kind::Rect: painter.drawRect(rectOf(op)); break;
            case Picture::Kind::Polygon: {
                if (op.b <= 0) break;
                QPolygonF polygon;
                polygon.reserve(op.b);
                for (std::int32_t i = 0; i < op.b; ++i) {
                    const LogicalPoint& p = picture.point(op.a + i);
                    polygon << pointOf(p.x, p.y);
                }
                painter.drawPolygon(polygon, Qt::OddEvenFill);
                break;
            }
        }
    }
    painter.restore();
}

}  // namespace varnex
