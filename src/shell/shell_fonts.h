// The two fonts of the shell: the panel font (main window, graph window, tab control, panels and their
// controls) and the data-sheet font. Both are 13 pixels high, of the face "Terminal", else "System",
// else the desktop's fixed-pitch font.
#pragma once

#include <QFont>
#include <QStringList>

namespace varnex {

inline constexpr int kShellFontPixels = 13;

// The face to use among the installed families: "Terminal", then "System"; empty when neither is
// installed (then the desktop's fixed font is taken).
QString shellFontFamily(const QStringList& installedFamilies);

// The shell font for the families installed on this system.
QFont shellFont();

}  // namespace varnex
