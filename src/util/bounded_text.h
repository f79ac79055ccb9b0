// A text field of fixed capacity: at most Size - 1 bytes, like a NUL-terminated char[Size].
//
// Every assignment cuts the text at a character boundary of the system code page, so a record can
// never hold more than its field allows, whoever writes to it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "util/codepage.h"

namespace varnex {

template <std::size_t Size>
class BoundedText {
public:
    static constexpr std::size_t kCapacity = Size - 1;  // bytes of text, without the terminator

    BoundedText() = default;
    BoundedText(std::string_view text) { assign(text); }  // NOLINT: converts like a char array
    BoundedText(const char* text) { assign(text); }       // NOLINT
    BoundedText(const std::string& text) { assign(text); }  // NOLINT

    BoundedText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
    BoundedText& operator=(const char* text) { return *this = std::string_view(text); }
    BoundedText& operator=(const std::string& text) { return *this = std::string_view(text); }

    const std::string& str() const { return m_text; }
    const char* c_str() const { return m_text.c_str(); }
    std::string_view view() const { return m_text; }
    operator std::string_view() const { return m_text; }  // NOLINT
    bool empty() const { return m_text.empty(); }
    std::size_t size() const { return m_text.size(); }

    friend bool operator==(const BoundedText&, const BoundedText&) = default;
    friend bool operator==(const BoundedText& a, std::string_view b) { return a.m_text == b; }
    friend bool operator==(const BoundedText& a, const char* b) { return a.m_text == b; }
    friend bool operator==(const BoundedText& a, const std::string& b) { return a.m_text == b; }

private:
    void assign(std::string_view text) {
        // A NUL ends a C string: nothing after it belongs to the field.
        if (const auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
        m_text.assign(cutToFit(text, kCapacity));
    }

    std::string m_text;
};

}  // namespace varnex
