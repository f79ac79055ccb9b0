// Trimming, unquoting and replacing in user input and names.
//
// Text is bytes in the system code page; every scan steps over whole characters (util/codepage.h), so
// the trailing byte of a double-byte character is never taken for a space, a quote or a line end.
#pragma once

#include <string>
#include <string_view>

namespace varnex {

// text without its leading spaces (' ' only: tabs and line ends stay). Views into text.
std::string_view skipSpaces(std::string_view text);

// text without leading spaces.
std::string trimLeft(std::string_view text);

// text without trailing spaces, LF and CR; tabs stay.
std::string trimRight(std::string_view text);

// trimLeft and trimRight together.
std::string trim(std::string_view text);

// A name as the user may type it: trimmed; if it then begins and ends with '"' (two distinct quotes),
// both are dropped and the rest is trimmed again; finally every doubled quote becomes one quote.
std::string unquote(std::string_view text);

// text with every occurrence of what replaced by with. After each replacement the search starts over,
// so an occurrence formed by the replacement and the text before it is replaced too
// ("\"\"\"\"" with "\"\"" → "\"" gives "\""). Starting over ends only because such a replacement
// shortens the text: when with is not shorter than what ("a" → "aa" would never end), the search goes on
// after the inserted text instead. Occurrences start on character boundaries. An empty text or an
// empty what leaves text unchanged.
std::string replaceAll(std::string_view text, std::string_view what, std::string_view with);

}  // namespace varnex
