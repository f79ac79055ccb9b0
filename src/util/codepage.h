// Byte-level text handling in the system code page.
//
// All text the program keeps (file names, titles, data lines) is bytes in one code page: UTF-8 on
// Linux, or Shift-JIS for files written on a Japanese system. Every scan of a name or line for a
// separator must step over whole characters so that a trailing byte of a multibyte character is never
// taken for '\\', '/', ':', '.', '"' or a space. The functions here are that stepping; nothing else
// in the core should look at lead bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnex {

enum class CodePage { Utf8, ShiftJis };

// The code page of all text, UTF-8 unless chosen otherwise at start-up (the platform's system
// code page; one per process, like the locale).
CodePage systemCodePage();
void setSystemCodePage(CodePage codePage);

// Number of bytes of the character that starts at text[pos] (at least 1, never past the end of text).
// A multibyte character counts only when all its bytes are there and valid: a byte that starts no
// valid character (a stray or cut-off lead byte, a lead byte before a line end) is one character.
// REQUIRES: pos < text.size()
std::size_t charLength(std::string_view text, std::size_t pos, CodePage codePage = systemCodePage());

// The longest prefix of text of at most maxBytes bytes that ends on a character boundary.
std::string_view cutToFit(std::string_view text, std::size_t maxBytes, CodePage codePage = systemCodePage());

// Position of the last occurrence of the single-byte character c, found by stepping over whole
// characters; npos if there is none.
std::size_t findLastChar(std::string_view text, char c, CodePage codePage = systemCodePage());

// Position of the first occurrence of c at a character boundary at or after from; npos if none.
std::size_t findChar(std::string_view text, char c, std::size_t from = 0, CodePage codePage = systemCodePage());

}  // namespace varnex
