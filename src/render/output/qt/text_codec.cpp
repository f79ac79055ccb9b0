#include "render/output/qt/text_codec.h"

namespace varnex {

QString fromCodePage(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toCodePage(const QString& text) { return text.toStdString(); }

}  // namespace varnex
