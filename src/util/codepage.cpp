#include "util/codepage.h"

namespace varnex {
namespace {

CodePage g_codePage = CodePage::Utf8;

bool isShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::size_t utf8Length(unsigned char c) {
    if (c < 0xC0) return 1;  // ASCII, or a stray continuation byte taken alone
    if (c < 0xE0) return 2;
    if (c < 0xF0) return 3;
    return 4;
}

}  // namespace

CodePage systemCodePage() { return g_codePage; }
void setSystemCodePage(CodePage codePage) { g_codePage = codePage; }

std::size_t charLength(std::string_view text, std::size_t pos, CodePage codePage) {
    const auto c = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    if (codePage == CodePage::ShiftJis) {
        length = isShiftJisLead(c) ? 2 : 1;
    } else {
        length = utf8Length(c);
    }
    const std::size_t left = text.size() - pos;
    return length < left ? length : left;
}

std::string_view cutToFit(std::string_view text, std::size_t maxBytes, CodePage codePage) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + charLength(text, end, codePage);
        if (next > maxBytes) break;
        end = next;
    }
    return text.substr(0, end);
}

std::size_t findLastChar(std::string_view text, char c, CodePage codePage) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i, codePage)) {
        if (text[i] == c) found = i;
    }
    return found;
}

std::size_t findChar(std::string_view text, char c, std::size_t from, CodePage codePage) {
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i, codePage)) {
        if (i >= from && text[i] == c) return i;
    }
    return std::string_view::npos;
}

}  // namespace varnex
