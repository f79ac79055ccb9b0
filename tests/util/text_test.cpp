#include "util/text.h"

#include <gtest/gtest.h>

#include "util/codepage.h"

namespace varnex {
namespace {

struct Case {
    const char* input;
    const char* expected;
};

TEST(TrimTest, SpacesOnTheLeftSpacesAndLineEndsOnTheRightTabsStay) {
    EXPECT_EQ(skipSpaces("  a b "), "a b ");
    EXPECT_EQ(skipSpaces("\t a"), "\t a");
    EXPECT_EQ(trimLeft("  \na"), "\na");
    EXPECT_EQ(trimRight("a b \r\n \r"), "a b");
    EXPECT_EQ(trimRight("a\t"), "a\t");
    EXPECT_EQ(trim("  x.dat \r\n"), "x.dat");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trim(""), "");
}

TEST(TrimTest, KeepsDoubleByteCharactersWhole) {
    const CodePage saved = systemCodePage();
    setSystemCodePage(CodePage::ShiftJis);
    EXPECT_EQ(trimRight("\x95\x5C \r\n"), "\x95\x5C");
    EXPECT_EQ(trim(" \x82\xA0 "), "\x82\xA0");
    setSystemCodePage(saved);
}

TEST(UnquoteTest, NamesAsTheUserTypesThem) {
    const Case cases[] = {
        {"  \"  My Data.dat  \"  ", "My Data.dat"},
        {"plain.dat", "plain.dat"},
        {"  plain.dat \r\n", "plain.dat"},
        {"\"a\"\"b\"", "a\"b"},
        {"a\"\"b", "a\"b"},
        {"\"\"", ""},
        {"\"", "\""},
        {"\"half.dat", "\"half.dat"},
        {"\"\"\"\"", "\""},  // quoted doubled quote
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(unquote(c.input), c.expected) << c.input;
}

TEST(ReplaceAllTest, ReplacesEveryOccurrence) {
    EXPECT_EQ(replaceAll("*.2.@", "*", "/d/run.dat"), "/d/run.dat.2.@");
    EXPECT_EQ(replaceAll("/d/run.dat.2.@", "/d/run.dat", "*"), "*.2.@");
    EXPECT_EQ(replaceAll("a-b-c", "-", "+-+"), "a+-+b+-+c");
    EXPECT_EQ(replaceAll("abc", "x", "y"), "abc");
    EXPECT_EQ(replaceAll("", "a", "b"), "");
    EXPECT_EQ(replaceAll("abc", "", "b"), "abc");
    EXPECT_EQ(replaceAll("*a*", "*", ""), "a");
}

TEST(ReplaceAllTest, StartsOverAfterAShorteningReplacement) {
    EXPECT_EQ(replaceAll("a\"\"\"\"b", "\"\"", "\""), "a\"b");
    EXPECT_EQ(replaceAll("aabb", "ab", ""), "");
}

TEST(ReplaceAllTest, EndsWhenTheReplacementHoldsWhatIsReplaced) {
    EXPECT_EQ(replaceAll("a", "a", "aa"), "aa");
    EXPECT_EQ(replaceAll("*.1.@", "*", "/d/odd*name.dat"), "/d/odd*name.dat.1.@");
}

TEST(ReplaceAllTest, MatchesOnlyAtCharacterBoundaries) {
    const CodePage saved = systemCodePage();
    setSystemCodePage(CodePage::ShiftJis);
    EXPECT_EQ(replaceAll("\x95\x5C\\", "\\", "/"), "\x95\x5C/");
    setSystemCodePage(CodePage::Utf8);
    EXPECT_EQ(replaceAll("\x95\x5C\\", "\\", "/"), "\x95//");
    setSystemCodePage(saved);
}

}  // namespace
}  // namespace varnex
