#include "util/text.h"

#include "util/codepage.h"

namespace varnex {
namespace {

bool isTrailingBlank(char c) { return c == ' ' || c == '\n' || c == '\r'; }

}  // namespace

std::string_view skipSpaces(std::string_view text) {
    // A space is a single-byte character and never the trailing byte of another, so the leading run
    // of spaces is whole characters.
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return text.substr(i);
}

std::string trimLeft(std::string_view text) { return std::string(skipSpaces(text)); }

std::string trimRight(std::string_view text) {
    std::size_t end = 0;  // just after the last character that stays
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = charLength(text, i);
        if (length > 1 || !isTrailingBlank(text[i])) end = i + length;
        i += length;
    }
    return std::string(text.substr(0, end));
}

std::string trim(std::string_view text) { return trimRight(skipSpaces(text)); }

std::string unquote(std::string_view text) {
    std::string name = trim(text);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = trim(std::string_view(name).substr(1, name.size() - 2));
    }
    return replaceAll(name, "\"\"", "\"");
}

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
    std::string result(text);
    if (result.empty() || what.empty()) return result;
    const bool startOver = with.size() < what.size();
    // Starting over from the beginning finds nothing before firstCandidate: the text before the last
    // replacement held no occurrence, so only one that overlaps the inserted text can be new.
    std::size_t firstCandidate = 0;
    for (;;) {
        std::size_t found = std::string::npos;
        for (std::size_t i = 0; i + what.size() <= result.size(); i += charLength(result, i)) {
            if (i >= firstCandidate && result.compare(i, what.size(), what) == 0) {
                found = i;
                break;
            }
        }
        if (found == std::string::npos) return result;
        result.replace(found, what.size(), with);
        if (!startOver) {
            firstCandidate = found + with.size();
        } else {
            firstCandidate = found + 1 >= what.size() ? found + 1 - what.size() : 0;
        }
    }
}

}  // namespace varnex
