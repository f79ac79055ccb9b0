// The one conversion between the program's text (bytes in the system code page) and Qt's QString.
//
// Every text that crosses to Qt (drawn texts, font faces, clipboard text) goes through these two
// functions, so that a Shift-JIS process shows and stores its texts correctly. Bytes that are not valid
// in the code page decode to U+FFFD; characters the code page cannot hold encode to '?'.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "util/codepage.h"

namespace varnex {

QString fromCodePage(std::string_view bytes, CodePage codePage = systemCodePage());
std::string toCodePage(const QString& text, CodePage codePage = systemCodePage());

}  // namespace varnex
