#include "app/config/command_words.h"

#include "util/codepage.h"

namespace varnex {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Characters that a backslash escapes inside double quotes.
bool isDoubleQuoteEscape(char c) { return c == '"' || c == '\\' || c == '$' || c == '`'; }

// Steps over whole characters of the code page, so that the trailing byte of a double-byte character
// (which may be the byte of '\\') is never taken for a quote or an escape.
class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    // The character at the cursor: its first byte when it is a single byte, else 0.
    char single() const { return length() == 1 ? m_text[m_pos] : '\0'; }
    std::string_view character() const { return m_text.substr(m_pos, length()); }
    void next() { m_pos += length(); }

private:
    std::size_t length() const { return charLength(m_text, m_pos); }
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Reads the body of a double-quoted part after its opening quote; false when it is not closed.
bool readDoubleQuoted(Cursor& at, std::string& word) {
    for (; !at.atEnd(); at.next()) {
        const char c = at.single();
        if (c == '"') {
            at.next();
            return true;
        }
        if (c == '\\') {
            Cursor after = at;
            after.next();
            const char d = after.atEnd() ? '\0' : after.single();
            if (d == '\n') {
                at = after;
                continue;
            }
            if (isDoubleQuoteEscape(d)) {
                at = after;
                word += d;
                continue;
            }
        }
        word += at.character();
    }
    return false;
}

// Reads the body of a single-quoted part after its opening quote; false when it is not closed.
bool readSingleQuoted(Cursor& at, std::string& word) {
    for (; !at.atEnd(); at.next()) {
        if (at.single() == '\'') {
            at.next();
            return true;
        }
        word += at.character();
    }
    return false;
}

}  // namespace

std::optional<std::vector<std::string>> splitCommandWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;  // a word has started, even if still empty ('' is an empty word)
    Cursor at(line);
    while (!at.atEnd()) {
        const char c = at.single();
        if (isBlank(c)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            at.next();
        } else if (c == '\\') {
            at.next();
            if (at.atEnd()) return std::nullopt;
            if (at.single() != '\n') {
                word += at.character();
                inWord = true;
            }
            at.next();
        } else if (c == '\'' || c == '"') {
            at.next();
            inWord = true;
            if (!(c == '\'' ? readSingleQuoted(at, word) : readDoubleQuoted(at, word))) return std::nullopt;
        } else {
            word += at.character();
            inWord = true;
            at.next();
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

}  // namespace varnex
