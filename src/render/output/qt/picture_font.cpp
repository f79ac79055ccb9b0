#include "render/output/qt/picture_font.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>

#include "render/output/qt/text_codec.h"

namespace varnex {

QFont pictureFont(std::string_view face, std::int32_t cellHeight) {
    const int cell = std::clamp(cellHeight, std::int32_t{1}, kMaxCellHeight);
    QFont font;
    if (!face.empty()) font.setFamilies(QStringList{fromCodePage(face)});
    font.setPixelSize(cell);
    // The cell height is the whole line (ascent + descent), as a positive LOGFONT height is: a face
    // whose line is taller than its em gets a smaller pixel size.
    const double lineHeight = QFontMetricsF(font).height();
    if (lineHeight > 0) {
        const double scaled = std::round(cell * (cell / lineHeight));
        font.setPixelSize(static_cast<int>(std::clamp(scaled, 1.0, static_cast<double>(kMaxCellHeight))));
    }
    return font;
}

}  // namespace varnex
