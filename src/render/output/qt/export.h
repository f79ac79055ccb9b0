// The recorded picture written to files and to the clipboard, always by replaying it (picture_painter.h).
#pragma once

#include <QMimeData>

#include <memory>
#include <string>

#include "render/output/output_limits.h"
#include "render/output/picture.h"

namespace varnex {

// True for a width within [kMinPrintWidthCm, kMaxPrintWidthCm] (NaN is outside).
bool validPrintWidth(double printwCm);
// The message that refuses a width outside those bounds.
std::string printWidthError(double printwCm);

// The side in pixels and the resolution in dots per metre of a PNG printwCm wide at about dpi dots
// per inch: the side is round(printwCm / 2.54 × dpi), moved by a few pixels when that lets the two
// whole numbers give the width within 0.005 mm, and at most maxSide (the resolution then drops).
// REQUIRES: validPrintWidth(printwCm), dpi > 0, maxSide > 0.
struct PngGeometry {
    int side = 0;
    int dotsPerMetre = 0;
};
PngGeometry pngGeometry(double printwCm, double dpi, int maxSide);

// Writes the picture to outPath (a file name as the file system spells it), the format chosen by the
// extension, case-insensitive:
//   .svg  vector, printwCm centimetres wide and high (to 0.01 mm)
//   .pdf  vector, one page printwCm centimetres square without margins (to 0.01 mm)
//   .png  pngSize × pngSize pixels on white, antialiased, marked with the resolution that makes it
//         printwCm wide
// The file is written beside its final place and renamed only when complete, so a failure leaves any
// earlier file of that name unchanged and no partial file behind. Returns false with a message in
// *error (bytes in the system code page; error may be null) for an unknown extension, a printwCm or
// pngSize out of range, or a file that cannot be written. Needs a QGuiApplication.
bool exportPicture(const Picture& picture, const std::string& outPath, double printwCm, int pngSize,
                   std::string* error);

// The picture for the clipboard: image/svg+xml printwCm centimetres square and image/png of
// pngGeometry(printwCm, kClipboardPngDpi, kMaxClipboardPngSize). The SVG is made at once; the PNG
// only when it is first asked for (a program pasting it), from a copy of the picture the data keeps,
// so copying never waits for the raster picture. Null (with the message in *error, which may be
// null) when the width is not valid. The caller hands it to QClipboard::setMimeData, which takes
// ownership.
std::unique_ptr<QMimeData> clipboardMimeData(const Picture& picture, double printwCm, std::string* error = nullptr);

}  // namespace varnex
