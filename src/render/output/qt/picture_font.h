// The QFont of a picture's font operation, shared by the replay and by the text measurer so that a
// text is measured exactly as it is drawn.
#pragma once

#include <QFont>

#include <cstdint>
#include <string_view>

namespace varnex {

// A font of the face `face` (bytes in the system code page; empty for the default face) whose line
// height (ascent + descent) is close to `cellHeight` logical units, the character cell of the picture's
// font operation. The pixel size is found by measuring the face once at cellHeight pixels and scaling.
// A cell height below 1 gives the smallest font (1 pixel); very large cells are limited to
// kMaxCellHeight.
inline constexpr std::int32_t kMaxCellHeight = 50000;
QFont pictureFont(std::string_view face, std::int32_t cellHeight);

}  // namespace varnex
