// Splitting a command line into program and arguments the way a POSIX shell splits words, without
// ever running a shell: no expansion, no redirection, no command separators.
//
//   blanks (space, tab, newline) separate words; runs of them count as one separator
//   'single quotes' keep everything up to the next ' literally
//   "double quotes" keep everything literally except \" \\ \$ \` (the backslash is dropped) and
//                   backslash-newline (both dropped)
//   \c outside quotes keeps c literally; backslash-newline joins lines
// Quotes may join parts of one word: a"b c"d is the one word ab cd. Characters such as ; | & $ % * are
// ordinary characters of a word.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnex {

// The words of a command line; nothing when a quote is not closed or the line ends in a lone
// backslash (an incomplete line runs nothing). An empty or blank line gives no words.
std::optional<std::vector<std::string>> splitCommandWords(std::string_view line);

}  // namespace varnex
