#include "render/output/qt/qt_text_measurer.h"

#include <QFontMetricsF>

#include "render/output/qt/picture_font.h"
#include "render/output/qt/text_codec.h"

namespace varnex {

double QtTextMeasurer::textWidth(std::string_view text, std::int32_t height, std::string_view face) const {
    return QFontMetricsF(pictureFont(face, height)).horizontalAdvance(fromCodePage(text));
}

}  // namespace varnex
