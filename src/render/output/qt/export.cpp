#include "render/output/qt/export.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cmath>

#include "render/output/qt/picture_painter.h"
#include "render/output/qt/text_codec.h"

namespace varnex {
namespace {

// The SVG document counts in hundredths of a millimetre (2540 dots per inch), the unit of the old
// clipboard picture; its view box is the logical square, so the picture's coordinates go in unchanged.
constexpr int kSvgDpi = 2540;

bool validPrintWidth(double printwCm) { return printwCm > 0 && printwCm <= kMaxPrintWidthCm; }

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

bool writePdf(const Picture& picture, double printwCm, QIODevice& device) {
    QPdfWriter pdf(&device);
    const QPageSize page(QSizeF(printwCm * 10, printwCm * 10), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    if (!pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)))) return false;
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    setupIsotropic(painter, QSize(pdf.width(), pdf.height()));
    replayPicture(picture, painter);
    return painter.end();
}

// The picture on white, size × size pixels, its resolution set so that it is printwCm wide.
QImage renderImage(const Picture& picture, int size, double printwCm) {
    QImage image(size, size, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    const int dotsPerMetre = static_cast<int>(std::lround(size / (printwCm / 100)));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    setupIsotropic(painter, image.size());
    replayPicture(picture, painter);
    return image;
}

bool writePng(const Picture& picture, double printwCm, int size, QIODevice& device) {
    const QImage image = renderImage(picture, size, printwCm);
    return !image.isNull() && image.save(&device, "PNG");
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

bool exportPicture(const Picture& picture, const std::string& outPath, double printwCm, int pngSize,
                   std::string* error) {
    const QString path = QFile::decodeName(QByteArray(outPath.data(), static_cast<qsizetype>(outPath.size())));
    const QString format = QFileInfo(path).suffix().toLower();
    if (format != "svg" && format != "pdf" && format != "png") {
        setError(error, "Unknown picture format of \"" + outPath + "\": the name must end in .svg, .pdf or .png");
        return false;
    }
    if (!validPrintWidth(printwCm)) {
        setError(error, "The picture width must be greater than 0 and at most 20 cm");
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

std::unique_ptr<QMimeData> clipboardMimeData(const Picture& picture, double printwCm) {
    if (!validPrintWidth(printwCm)) return nullptr;
    QByteArray svg;
    QBuffer svgBuffer(&svg);
    svgBuffer.open(QIODevice::WriteOnly);
    writeSvg(picture, printwCm, svgBuffer);

    QByteArray png;
    QBuffer pngBuffer(&png);
    pngBuffer.open(QIODevice::WriteOnly);
    const int pngSize = static_cast<int>(std::lround(printwCm / 2.54 * kClipboardPngDpi));
    writePng(picture, printwCm, pngSize, pngBuffer);

    auto data = std::make_unique<QMimeData>();
    data->setData("image/svg+xml", svg);
    data->setData("image/png", png);
    return data;
}

}  // namespace varnex
