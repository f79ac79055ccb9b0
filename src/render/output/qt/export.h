// The recorded picture written to files and to the clipboard, always by replaying it (picture_painter.h).
#pragma once

#include <QMimeData>

#include <memory>
#include <string>

#include "render/output/picture.h"

namespace varnex {

// The picture's size in centimetres lies in (0, kMaxPrintWidthCm], as the Document's `printw` does.
inline constexpr double kMaxPrintWidthCm = 20;
// Largest side of a PNG in pixels (a 10000 × 10000 image takes 400 MB while it is drawn).
inline constexpr int kMaxPngSize = 10000;
// Resolution of the clipboard's PNG.
inline constexpr int kClipboardPngDpi = 300;

// Writes the picture to outPath (a file name as the file system spells it), the format chosen by the
// extension, case-insensitive:
//   .svg  vector, printwCm centimetres wide and high
//   .pdf  vector, one page printwCm centimetres square without margins
//   .png  pngSize × pngSize pixels on white, antialiased, marked with the resolution that makes it
//         printwCm wide
// The file is written beside its final place and renamed only when complete, so a failure leaves any
// earlier file of that name unchanged and no partial file behind. Returns false with a message in
// *error (bytes in the system code page; error may be null) for an unknown extension, a printwCm or
// pngSize out of range, or a file that cannot be written. Needs a QGuiApplication.
bool exportPicture(const Picture& picture, const std::string& outPath, double printwCm, int pngSize,
                   std::string* error);

// The picture for the clipboard: image/svg+xml printwCm centimetres square and image/png of
// round(printwCm / 2.54 × 300) pixels square (300 dpi). Null when printwCm is outside
// (0, kMaxPrintWidthCm]. The caller hands it to QClipboard::setMimeData, which takes ownership.
std::unique_ptr<QMimeData> clipboardMimeData(const Picture& picture, double printwCm);

}  // namespace varnex
