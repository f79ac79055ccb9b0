#include "render/output/qt/picture_painter.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string_view>
#include <vector>

#include "render/output/qt/picture_font.h"
#include "render/output/qt/text_codec.h"
#include "render/output/stroke_raster.h"

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

// On vector devices (SVG, PDF, printers) consecutive lines are one polyline, written in pieces of this
// many points: the file stays compact and the reader joins them with the same round joins.
constexpr qsizetype kPolylinePiece = 512;

void drawPolylineInPieces(const QPolygonF& points, QPainter& painter) {
    for (qsizetype start = 0; start + 1 < points.size(); start += kPolylinePiece - 1) {
        const qsizetype count = std::min(kPolylinePiece, points.size() - start);
        painter.drawPolyline(points.constData() + start, static_cast<int>(count));
    }
}

// The lines of the picture on a raster device (an image, a pixmap, a window). The stroker of the
// platform's raster engine takes time growing with the square of the crossings of one wide
// antialiased stroke: a polyline through points in random order, or a dense zig-zag, took minutes.
// Here every segment becomes its own round-ended stroke in a coverage mask of device pixels
// (StrokeRaster), whose union is composited onto the device band by band with the pen's colour:
// the time is bounded by the segments and the pixels they cover. Everything else the picture draws
// (texts, markers) goes to the painter as before; the mask is composited before each of them, and
// when the colour changes, so the order of drawing is kept.
class RasterLines {
public:
    // Usable when the painter paints with the raster engine through a transform that only scales and
    // moves, equally in x and y; otherwise the lines are stroked by the painter.
    static bool isotropic(const QTransform& t) {
        const double sx = std::abs(t.m11()), sy = std::abs(t.m22());
        return t.type() <= QTransform::TxScale && sx > 0 && std::abs(sx - sy) <= 1e-6 * sx;
    }
    explicit RasterLines(QPainter& painter) : m_painter(painter) {
        const QPaintEngine* engine = painter.paintEngine();
        const QPaintDevice* device = painter.device();
        if (engine == nullptr || device == nullptr || engine->type() != QPaintEngine::Raster) return;
        // Logical units to the device's own pixels (with its pixel ratio, and a window's place in the
        // window it is painted into), and the painter's coordinates without the picture's transform
        // to those pixels: the bands are drawn there.
        // (The combined transform ends with the scaling by the pixel ratio, which the painter also
        // applies with the picture's transform disabled; the device transform holds it as well.)
        m_toDevice = painter.deviceTransform();
        bool invertible = false;
        const QTransform fromDevice = painter.combinedTransform().inverted(&invertible);
        if (!invertible) return;
        const qreal ratio = device->devicePixelRatio();
        m_base = QTransform::fromScale(ratio, ratio) * fromDevice * m_toDevice;
        if (!isotropic(m_toDevice) || !isotropic(m_base)) return;
        m_scale = std::abs(m_toDevice.m11());
        m_ratio = std::abs(m_base.m11());
        // The device in its own pixels, cut to the painter's clip.
        QRectF area = m_base.mapRect(QRectF(0, 0, device->width(), device->height()));
        if (painter.hasClipping()) {
            area &= m_toDevice.mapRect(painter.clipBoundingRect()).adjusted(-1, -1, 1, 1);
        }
        const QRect pixels = area.toAlignedRect();
        m_raster.setClip(pixels.left(), pixels.top(), pixels.right() + 1, pixels.bottom() + 1);
        m_raster.setAntialiased(painter.testRenderHint(QPainter::Antialiasing));
        m_active = true;
    }

    bool active() const { return m_active; }

    // The polyline from `from` through the points of the line operations lines, in the colour and
    // logical width of pen. Long runs go to the rasteriser in pieces, and are composited whenever the
    // strokes waiting reach kMaxWaiting, so the memory stays bounded however long the run.
    void add(QPointF from, std::span<const Picture::Op> lines, const QPen& pen) {
        const QRgb colour = pen.color().rgba();
        if (colour != m_colour) {
            flush();
            m_colour = colour;
        }
        // A pen of no width is the device's thinnest line.
        const double width = pen.isCosmetic() ? pen.widthF() * m_ratio : pen.widthF() * m_scale;
        m_points.clear();
        const QPointF start = m_toDevice.map(from);
        m_points.push_back({start.x(), start.y()});
        for (const Picture::Op& op : lines) {
            const QPointF p = m_toDevice.map(pointOf(op.a, op.b));
            m_points.push_back({p.x(), p.y()});
            if (m_points.size() == kPiece) {
                m_raster.addPolyline(m_points, width);
                m_points.erase(m_points.begin(), m_points.end() - 1);  // the next piece goes on from here
                if (m_raster.figureCount() >= kMaxWaiting) flush();
            }
        }
        if (m_points.size() > 1) m_raster.addPolyline(m_points, width);
    }

    // Composites the lines added so far onto the device.
    void flush() {
        if (m_raster.empty()) return;
        std::array<QRgb, 256> shades{};
        for (int a = 0; a < 256; ++a) {
            shades[static_cast<std::size_t>(a)] = qPremultiply(
                qRgba(qRed(m_colour), qGreen(m_colour), qBlue(m_colour), a * qAlpha(m_colour) / 255));
        }
        m_painter.save();
        // The bands are in device pixels: drawn without the picture's transform, at the device
        // pixel ratio of the device (the painter's clip, opacity and composition still apply).
        m_painter.setWorldMatrixEnabled(false);
        m_painter.setViewTransformEnabled(false);
        m_raster.render([&](const StrokeRaster::Band& band) {
            m_pixels.resize(static_cast<std::size_t>(band.width) * static_cast<std::size_t>(band.rows));
            for (int r = 0; r < band.rows; ++r) {
                const std::uint8_t* coverage = band.coverage + static_cast<std::size_t>(r) * band.stride;
                QRgb* out =
                    m_pixels.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(band.width);
                for (int c = 0; c < band.width; ++c) out[c] = shades[coverage[c]];
            }
            QImage image(reinterpret_cast<const uchar*>(m_pixels.data()), band.width, band.rows,
                         band.width * static_cast<int>(sizeof(QRgb)), QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(m_ratio);
            m_painter.drawImage(m_base.inverted().map(QPointF(band.left, band.top)), image);
        });
        m_painter.restore();
    }

private:
    static constexpr std::size_t kPiece = 65536;         // points
    static constexpr std::size_t kMaxWaiting = 1 << 20;  // strokes, some 50 MB

    QPainter& m_painter;
    bool m_active = false;
    qreal m_ratio = 1;   // device pixels per unit of the painter without the picture's transform
    double m_scale = 1;  // device pixels per logical unit
    QTransform m_toDevice, m_base;
    QRgb m_colour = qRgb(0, 0, 0);
    StrokeRaster m_raster;
    std::vector<DevicePoint> m_points;
    std::vector<QRgb> m_pixels;
};

// Draws the lines from ops[i] on while they follow each other; returns the index after the last one.
std::size_t drawLineRun(const std::vector<Picture::Op>& ops, std::size_t i, QPointF& position,
                        QPainter& painter, RasterLines& raster) {
    std::size_t end = i;
    while (end < ops.size() && ops[end].kind == Picture::Kind::Line) ++end;
    const QPointF from = position;
    position = pointOf(ops[end - 1].a, ops[end - 1].b);
    if (raster.active()) {
        raster.add(from, std::span(ops).subspan(i, end - i), painter.pen());
        return end;
    }
    QPolygonF polyline;
    polyline.reserve(static_cast<qsizetype>(end - i + 1));
    polyline << from;
    for (std::size_t k = i; k < end; ++k) polyline << pointOf(ops[k].a, ops[k].b);
    drawPolylineInPieces(polyline, painter);
    return end;
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
    RasterLines raster(painter);
    for (std::size_t i = 0; i < ops.size();) {
        if (ops[i].kind == Picture::Kind::Line) {
            i = drawLineRun(ops, i, position, painter, raster);
            continue;
        }
        const Picture::Op& op = ops[i++];
        // Whatever else draws goes over the lines before it.
        const Picture::Kind kind = op.kind;
        if (kind == Picture::Kind::Text || kind == Picture::Kind::Ellipse || kind == Picture::Kind::Rect ||
            kind == Picture::Kind::Polygon) {
            raster.flush();
        }
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
    raster.flush();
    painter.restore();
}

}  // namespace varnex
