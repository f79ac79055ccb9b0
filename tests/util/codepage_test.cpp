#include "util/codepage.h"

#include <gtest/gtest.h>

#include <string_view>

namespace varnex {
namespace {

constexpr auto kNone = std::string_view::npos;

TEST(CodePageTest, CharLengthInUtf8) {
    const std::string_view text = "a\xC3\xA9\xE8\xA1\xA8\xF0\x9F\x98\x80";  // a, é, 表, an emoji
    EXPECT_EQ(charLength(text, 0, CodePage::Utf8), 1u);
    EXPECT_EQ(charLength(text, 1, CodePage::Utf8), 2u);
    EXPECT_EQ(charLength(text, 3, CodePage::Utf8), 3u);
    EXPECT_EQ(charLength(text, 6, CodePage::Utf8), 4u);
    EXPECT_EQ(charLength(text, 2, CodePage::Utf8), 1u);  // a stray continuation byte stands alone
}

TEST(CodePageTest, BytesThatStartNoValidCharacterStandAlone) {
    struct Case {
        const char* name;
        std::string_view text;
        CodePage codePage;
        std::size_t length;
    };
    const Case cases[] = {
        {"lead before a line end", "\xE9\n", CodePage::Utf8, 1},
        {"lead before blanks", "\xE9  ", CodePage::Utf8, 1},
        {"four-byte lead before ASCII", "\xF0\x9F\x98x", CodePage::Utf8, 1},
        {"cut short at the end", "\xE8\xA1", CodePage::Utf8, 1},
        {"lead at the end", "\xC3", CodePage::Utf8, 1},
        {"overlong two bytes", "\xC0\xAF", CodePage::Utf8, 1},
        {"overlong three bytes", "\xE0\x80\xAF", CodePage::Utf8, 1},
        {"surrogate", "\xED\xA0\x80", CodePage::Utf8, 1},
        {"above U+10FFFF", "\xF4\x90\x80\x80", CodePage::Utf8, 1},
        {"no lead byte", "\xFF\x80", CodePage::Utf8, 1},
        {"highest valid", "\xF4\x8F\xBF\xBF", CodePage::Utf8, 4},
        {"last before surrogates", "\xED\x9F\xBF", CodePage::Utf8, 3},
        {"Shift-JIS lead before a line end", "\x95\n", CodePage::ShiftJis, 1},
        {"Shift-JIS lead before a blank", "\x81 ", CodePage::ShiftJis, 1},
        {"Shift-JIS lead before 0x7F", "\x81\x7F", CodePage::ShiftJis, 1},
        {"Shift-JIS lead before 0xFD", "\xE0\xFD", CodePage::ShiftJis, 1},
        {"Shift-JIS trail 0x80", "\x81\x80", CodePage::ShiftJis, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(charLength(c.text, 0, c.codePage), c.length) << c.name;
    // A line end after a bad lead byte is found, and cutting keeps the lead byte.
    EXPECT_EQ(findChar("Caf\xE9\n", '\n', 0, CodePage::Utf8), 4u);
    EXPECT_EQ(findLastChar("\x95\\", '\\', CodePage::ShiftJis), kNone);
    EXPECT_EQ(cutToFit("a\xE9" "b", 2, CodePage::Utf8), "a\xE9");
}

TEST(CodePageTest, CharLengthInShiftJis) {
    EXPECT_EQ(charLength("\x95\x5C", 0, CodePage::ShiftJis), 2u);  // 表: trailing byte is '\'
    EXPECT_EQ(charLength("\x81\x40", 0, CodePage::ShiftJis), 2u);
    EXPECT_EQ(charLength("\x9F\x40", 0, CodePage::ShiftJis), 2u);
    EXPECT_EQ(charLength("\xE0\x40", 0, CodePage::ShiftJis), 2u);
    EXPECT_EQ(charLength("\xFC\x40", 0, CodePage::ShiftJis), 2u);
    EXPECT_EQ(charLength("\xB1", 0, CodePage::ShiftJis), 1u);  // half-width katakana
    EXPECT_EQ(charLength("\x80", 0, CodePage::ShiftJis), 1u);
    EXPECT_EQ(charLength("\xA0", 0, CodePage::ShiftJis), 1u);
    EXPECT_EQ(charLength("\xFD", 0, CodePage::ShiftJis), 1u);
    EXPECT_EQ(charLength("\x95", 0, CodePage::ShiftJis), 1u);  // lead byte at the end
}

TEST(CodePageTest, CutToFitEndsOnCharacterBoundary) {
    EXPECT_EQ(cutToFit("ab\x95\x5C", 3, CodePage::ShiftJis), "ab");
    EXPECT_EQ(cutToFit("ab\x95\x5C", 4, CodePage::ShiftJis), "ab\x95\x5C");
    EXPECT_EQ(cutToFit("ab\x95\x5C", 3, CodePage::Utf8), "ab\x95");  // not a lead byte in UTF-8
    EXPECT_EQ(cutToFit("\xE8\xA1\xA8x", 2, CodePage::Utf8), "");
    EXPECT_EQ(cutToFit("\xE8\xA1\xA8x", 3, CodePage::Utf8), "\xE8\xA1\xA8");
    EXPECT_EQ(cutToFit("abc", 0, CodePage::Utf8), "");
}

TEST(CodePageTest, FindStepsOverTrailingBytes) {
    const std::string_view sjis = "a\\\x95\x5C" "b";  // a \ 表 b
    EXPECT_EQ(findLastChar(sjis, '\\', CodePage::ShiftJis), 1u);
    EXPECT_EQ(findLastChar(sjis, '\\', CodePage::Utf8), 3u);
    EXPECT_EQ(findChar(sjis, '\\', 2, CodePage::ShiftJis), kNone);
    EXPECT_EQ(findChar(sjis, '\\', 2, CodePage::Utf8), 3u);
    EXPECT_EQ(findChar(sjis, 'b', 3, CodePage::ShiftJis), 4u);  // from inside a character
    EXPECT_EQ(findChar(sjis, 'a', 1, CodePage::ShiftJis), kNone);
    EXPECT_EQ(findLastChar("", '\\', CodePage::ShiftJis), kNone);
    EXPECT_EQ(findChar("", '\\', 0, CodePage::ShiftJis), kNone);
}

TEST(CodePageTest, DefaultArgumentFollowsTheSystemCodePage) {
    const CodePage saved = systemCodePage();
    setSystemCodePage(CodePage::ShiftJis);
    EXPECT_EQ(findLastChar("\x95\x5C", '\\'), kNone);
    setSystemCodePage(CodePage::Utf8);
    EXPECT_EQ(findLastChar("\x95\x5C", '\\'), 1u);
    setSystemCodePage(saved);
}

}  // namespace
}  // namespace varnex
