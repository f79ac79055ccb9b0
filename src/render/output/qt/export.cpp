#include "render/output/qt/export.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMetaType>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>
#include <QSvgGenerator>
#include <QVariant>

#include <algorithm>
#include <cmath>

#include "render/output/qt/picture_painter.h"
#include "render/output/qt/text_codec.h"
#include "util/numbers.h"

namespace varnex {
namespace {

// The SVG document counts in hundredths of a millimetre (2540 dots per inch), the unit of the old
// clipboard picture; its view box is the logical square, so the picture's coordinates go in unchanged.
constexpr int kSvgDpi = 2540;
constexpr double kPointsPerCm = 72 / 2.54;

bool writeSvg(const Picture& picture, double printwCm, QIODevice& device) {
    const int side = static_cast<int>(std::lround(printwCm * 1000));
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setResolution(kSvgDpi);
    svg.setSize(QSize(side, side));
    svg.setViewBox(QRect(0, 0, kPictureSide, kPictureSide));
    svg.setTitle("Varnex graph");
    svg.setDescription("VarnexWin32 3.26c");
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    replayPicture(picture, painter);
    return painter.end();
}

// Sets the size of the one page of a PDF written by Qt, which keeps page sizes in whole points and
// writes them as "/MediaBox [0 0 W H]" with six decimals. The new numbers take the place of the old
// ones, padded with blanks to the same length, so that no byte offset of the file changes. False when
// the box is not found once or a new number would be longer than the old one.
bool setMediaBox(QByteArray& pdf, double sidePoints) {
    const QByteArray key = "/MediaBox [0 0 ";
    const qsizetype at = pdf.indexOf(key);
    if (at < 0 || pdf.indexOf(key, at + 1) >= 0) return false;
    qsizetype pos = at + key.size();
    for (const char end : {' ', ']'}) {
        const qsizetype stop = pdf.indexOf(end, pos);
        if (stop < 0) return false;
        const qsizetype width = stop - pos;
        const std::string number = formatFixed(sidePoints, 6, static_cast<int>(width));
        if (static_cast<qsizetype>(number.size()) != width) return false;
        pdf.replace(pos, width, QByteArray(number.data(), width));
        pos = stop + 1;
    }
    return true;
}

// The page is taken the next whole point large, the picture drawn at its exact size into the page's
// top left corner (the writer places its origin at the top of the whole page), and the page's box
// then cut down to the picture.
bool writePdf(const Picture& picture, double printwCm, QIODevice& device) {
    const double side = printwCm * kPointsPerCm;
    const double whole = std::ceil(side);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    {
        QPdfWriter pdf(&buffer);
        const int wholeSide = static_cast<int>(whole);
        const QPageSize page(QSize(wholeSide, wholeSide), QString(), QPageSize::ExactMatch);
        if (!pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)))) return false;
        QPainter painter;
        if (!painter.begin(&pdf)) return false;
        const double unitsPerPoint = pdf.resolution() / 72.0;
        painter.translate(0, (whole - side) * unitsPerPoint);
        painter.scale(side * unitsPerPoint / kPictureSide, side * unitsPerPoint / kPictureSide);
        replayPicture(picture, painter);
        if (!painter.end()) return false;
    }
    return setMediaBox(bytes, side) && device.write(bytes) == bytes.size();
}

// The picture on white, size × size pixels, its resolution set so that it is printwCm wide.
QImage renderImage(const Picture& picture, int size, double printwCm) {
    QImage image(size, size, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    const int dotsPerMetre = std::max(1, static_cast<int>(std::lround(size / (printwCm / 100))));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    setupIsotropic(painter, image.size());
    replayPicture(picture, painter);
    return image;
}

bool writePng(const Picture& picture, double printwCm, int size, QIODevice& device, int dotsPerMetre = 0) {
    QImage image = renderImage(picture, size, printwCm);
    if (image.isNull()) return false;
    if (dotsPerMetre > 0) {
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
    }
    return image.save(&device, "PNG");
}

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

std::string writeError(const std::string& outPath, const QSaveFile& file) {
    const std::string reason =
        file.error() == QFileDevice::NoError ? std::string("the picture could not be drawn") : toCodePage(file.errorString());
    return "Cannot write \"" + outPath + "\": " + reason;
}

}  // namespace

bool validPrintWidth(double printwCm) { return printwCm >= kMinPrintWidthCm && printwCm <= kMaxPrintWidthCm; }

std::string printWidthError(double printwCm) {
    return "Cannot output a picture " + formatG(printwCm) + " cm wide: the width (printw) must be from " +
           formatG(kMinPrintWidthCm) + " to " + formatG(kMaxPrintWidthCm) + " cm";
}

PngGeometry pngGeometry(double printwCm, double dpi, int maxSide) {
    const double metres = printwCm / 100;
    auto geometryOf = [&](int side) {
        return PngGeometry{side, std::max(1, static_cast<int>(std::lround(side / metres)))};
    };
    auto error = [&](const PngGeometry& g) { return std::abs(g.side / static_cast<double>(g.dotsPerMetre) - metres); };
    constexpr double kTolerance = 0.005e-3;  // metres
    constexpr int kMaxShift = 16;
    const auto wanted = static_cast<int>(std::clamp<double>(std::round(printwCm / 2.54 * dpi), 1, maxSide));
    PngGeometry best = geometryOf(wanted);
    for (int shift = 1; shift <= kMaxShift && error(best) > kTolerance; ++shift) {
        for (const int side : {wanted - shift, wanted + shift}) {
            if (side < 1 || side > maxSide) continue;
            const PngGeometry g = geometryOf(side);
            if (error(g) < error(best)) best = g;
        }
    }
    return best;
}

bool exportPicture(const Picture& picture, const std::string& outPath, double printwCm, int pngSize,
                   std::string* error) {
    const QString path = QFile::decodeName(QByteArray(outPath.data(), static_cast<qsizetype>(outPath.size())));
    const QString format = QFileInfo(path).suffix().toLower();
    if (format != "svg" && format != "pdf" && format != "png") {
        setError(error, "Unknown picture format of \"" + outPath + "\": the name must end in .svg, .pdf or .png");
        return false;
    }
    if (!validPrintWidth(printwCm)) {
        setError(error, printWidthError(printwCm));
        return false;
    }
    if (format == "png" && (pngSize < 1 || pngSize > kMaxPngSize)) {
        setError(error, "The image size must be 1 to " + std::to_string(kMaxPngSize) + " pixels");
        return false;
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, writeError(outPath, file));
        return false;
    }
    bool written = false;
    if (format == "svg") written = writeSvg(picture, printwCm, file);
    if (format == "pdf") written = writePdf(picture, printwCm, file);
    if (format == "png") written = writePng(picture, printwCm, pngSize, file);
    if (!written) {
        setError(error, writeError(outPath, file));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, writeError(outPath, file));
        return false;
    }
    return true;
}

namespace {

// The clipboard's data: the SVG made at once, the PNG drawn only when a program asks the clipboard
// for it (then kept), so that a copy never waits for the raster picture. It holds its own copy of
// the picture.
class PictureMimeData : public QMimeData {
public:
    PictureMimeData(const Picture& picture, double printwCm) : m_picture(picture), m_printwCm(printwCm) {
        QByteArray svg;
        QBuffer svgBuffer(&svg);
        svgBuffer.open(QIODevice::WriteOnly);
        writeSvg(m_picture, m_printwCm, svgBuffer);
        setData(kSvgType, svg);
    }

    QStringList formats() const override {
        QStringList list = QMimeData::formats();
        if (!list.contains(kPngType)) list << kPngType;
        return list;
    }
    bool hasFormat(const QString& mimeType) const override {
        return mimeType == kPngType || QMimeData::hasFormat(mimeType);
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        if (mimeType != kPngType) return QMimeData::retrieveData(mimeType, type);
        if (!m_pngDrawn) {
            QBuffer pngBuffer(&m_png);
            pngBuffer.open(QIODevice::WriteOnly);
            const PngGeometry geometry = pngGeometry(m_printwCm, kClipboardPngDpi, kMaxClipboardPngSize);
            writePng(m_picture, m_printwCm, geometry.side, pngBuffer, geometry.dotsPerMetre);
            m_pngDrawn = true;
        }
        return m_png;
    }

private:
    static inline const QString kSvgType = QStringLiteral("image/svg+xml");
    static inline const QString kPngType = QStringLiteral("image/png");
    const Picture m_picture;
    const double m_printwCm;
    mutable QByteArray m_png;
    mutable bool m_pngDrawn = false;
};

}  // namespace

std::unique_ptr<QMimeData> clipboardMimeData(const Picture& picture, double printwCm, std::string* error) {
    if (!validPrintWidth(printwCm)) {
        setError(error, printWidthError(printwCm));
        return nullptr;
    }
    return std::make_unique<PictureMimeData>(picture, printwCm);
}

}  // namespace varnex
