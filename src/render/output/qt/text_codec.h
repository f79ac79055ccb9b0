// Conversion between the system code page and Qt's text (placeholder until the real codec lands).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace varnex {

QString fromCodePage(std::string_view text);
std::string toCodePage(const QString& text);

}  // namespace varnex
