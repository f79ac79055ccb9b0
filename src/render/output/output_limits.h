// The limits of every output of the recorded picture (files, clipboard, printer), free of any window
// system so that the configuration reader can check its keys against them.
#pragma once

namespace varnex {

// Widths, in centimetres, that every output accepts. Sizes are kept in hundredths of a millimetre,
// so a picture narrower than one of them cannot be drawn; 500 cm stays within the 200 inches
// (508 cm) that PDF readers accept for a page and is far wider than any paper or plotter. Anything
// outside is a stored value gone wrong, not a wish. (The panel's own input check is narrower.)
inline constexpr double kMinPrintWidthCm = 0.001;
inline constexpr double kMaxPrintWidthCm = 500;
// Largest side of a PNG in pixels (a 10000 × 10000 image takes 400 MB while it is drawn).
inline constexpr int kMaxPngSize = 10000;
// Resolution of the clipboard's PNG, and the largest side it gets (a wider picture gets fewer dots
// per inch, so that a copy never takes more than 64 MB while it is drawn).
inline constexpr int kClipboardPngDpi = 300;
inline constexpr int kMaxClipboardPngSize = 4096;

}  // namespace varnex
