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
    EXPECT_EQ(charLength("\xE8\xA1", 0, CodePage::Utf8), 2u);  // cut short: never past the end
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
