#include "util/codepage.h"

namespace varnex {
namespace {

CodePage g_codePage = CodePage::Utf8;

bool isShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool isShiftJisTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// The length of the Shift-JIS character at text[0]: 2 for a lead byte followed by a trail byte, else 1
// (a lead byte before a line end or a blank stands alone, so it never takes them with it).
std::size_t shiftJisLength(std::string_view text) {
    const auto c = static_cast<unsigned char>(text[0]);
    return isShiftJisLead(c) && text.size() >= 2 && isShiftJisTrail(static_cast<unsigned char>(text[1])) ? 2 : 1;
}

// The length of the UTF-8 character at text[0] when it is complete and well formed (no overlong form,
// no surrogate, nothing above U+10FFFF); else 1: a byte that starts no valid character is a character
// on its own, so a stray lead byte never takes the line end or the blanks after it.
std::size_t utf8Length(std::string_view text) {
    const auto byte = [text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(0);
    if (c < 0x80) return 1;
    std::size_t length = 0;
    unsigned char secondLo = 0x80;  // the second byte's range narrows for some lead bytes
    unsigned char secondHi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) secondLo = 0xA0;  // overlong below U+0800
        if (c == 0xED) secondHi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) secondLo = 0x90;  // overlong below U+10000
        if (c == 0xF4) secondHi = 0x8F;  // above U+10FFFF
    } else {
        return 1;  // a continuation byte, C0, C1 or F5..FF
    }
    if (text.size() < length || byte(1) < secondLo || byte(1) > secondHi) return 1;
    for (std::size_t k = 2; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return 1;
    }
    return length;
}

}  // namespace

CodePage systemCodePage() { return g_codePage; }
void setSystemCodePage(CodePage codePage) { g_codePage = codePage; }

std::size_t charLength(std::string_view text, std::size_t pos, CodePage codePage) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) return 1;
    const std::string_view rest = text.substr(pos);
    return codePage == CodePage::ShiftJis ? shiftJisLength(rest) : utf8Length(rest);
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
