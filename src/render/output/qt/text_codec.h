// The one conversion between the program's text (bytes in the system code page) and Qt's QString.
//
// Every text that crosses to Qt (drawn texts, font faces, clipboard text) goes through these two
// functions, so that a Shift-JIS process shows and stores its texts correctly. Bytes that are not valid
// in the code page decode to U+FFFD; characters the code page cannot hold encode to '?'. In Shift-JIS,
// a text that is well-formed UTF-8 with a character beyond ASCII is one of the program's own texts
// (UTF-8 in the source) and decodes as UTF-8.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

#include "util/codepage.h"

namespace varnex {

QString fromCodePage(std::string_view bytes, CodePage codePage = systemCodePage());
std::string toCodePage(const QString& text, CodePage codePage = systemCodePage());

// The position (in UTF-16 units) of the first character of text that the code page cannot hold, which
// toCodePage would write as '?'; nothing when every character has its bytes. In UTF-8 only a lone
// surrogate has none.
std::optional<qsizetype> firstUnencodable(const QString& text, CodePage codePage = systemCodePage());

}  // namespace varnex
