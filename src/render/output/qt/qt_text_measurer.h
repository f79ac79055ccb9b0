// Text widths for the drawing primitives, measured with the font the replay will draw with.
#pragma once

#include <cstdint>
#include <string_view>

#include "render/output/drawing.h"

namespace varnex {

// Widths in logical units of texts (bytes in the system code page) in the font pictureFont(face,
// height). Needs a QGuiApplication.
class QtTextMeasurer : public TextMeasurer {
public:
    double textWidth(std::string_view text, std::int32_t height, std::string_view face) const override;
};

}  // namespace varnex
