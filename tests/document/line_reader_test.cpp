#include "document/line_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "util/codepage.h"
#include "util/numbers.h"

namespace varnex {
namespace {

using namespace std::string_literals;

struct ReadLine {
    std::string text;
    std::int64_t position;  // after the line
    bool operator==(const ReadLine&) const = default;
};

std::vector<ReadLine> readAll(ByteSource& source, LineLength length = LineLength::Pieces) {
    LineReader reader(source, length);
    std::vector<ReadLine> lines;
    while (reader.readLine()) lines.push_back({std::string(reader.line()), reader.position()});
    return lines;
}

std::vector<ReadLine> readAll(std::string_view text, LineLength length = LineLength::Pieces) {
    MemorySource source(text);
    return readAll(source, length);
}

// Sets the code page for one test and puts the default back.
class CodePageScope {
public:
    explicit CodePageScope(CodePage codePage) : m_saved(systemCodePage()) { setSystemCodePage(codePage); }
    ~CodePageScope() { setSystemCodePage(m_saved); }

private:
    CodePage m_saved;
};

// --- readLine ---

TEST(LineReaderTest, LinesCommentsAndTrimming) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<ReadLine> lines;
    };
    const std::vector<Case> cases = {
        {"LF and CR LF ends", "a\r\nb\n", {{"a", 3}, {"b", 5}}},
        {"last line without end", "a\nb", {{"a", 2}, {"b", 3}}},
        {"trailing spaces go, tabs stay", "a  \t  \r\n", {{"a  \t", 8}}},
        {"leading spaces stay", "  a\n", {{"  a", 4}}},
        {"comments skipped, position after them", "#c\n#d\nx\n", {{"x", 8}}},
        {"comment at the end", "x\n#c\n", {{"x", 2}}},
        {"indented # is no comment", " #c\n", {{" #c", 4}}},
        {"blank line", "\n  \n", {{"", 1}, {"", 4}}},
        {"CR alone ends no line", "a\rb\r", {{"a\rb", 4}}},
        {"NUL ends the text, not the piece", "ab\0cd\nef\n"s, {{"ab", 6}, {"ef", 9}}},
        {"piece starting with NUL is blank", "\0#x\n"s, {{"", 4}}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readAll(c.text), c.lines) << c.name;
        EXPECT_EQ(readAll(c.text, LineLength::Whole), c.lines) << c.name << " (whole)";
    }
}

TEST(LineReaderTest, WholeLinesHaveNoLengthLimit) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<ReadLine> lines;
    };
    const std::string a600(600, 'a');
    const std::vector<Case> cases = {
        {"a long line", a600 + "\nb\n", {{a600, 601}, {"b", 603}}},
        {"255 bytes and a newline", std::string(255, 'x') + "\n", {{std::string(255, 'x'), 256}}},
        {"a long comment is skipped whole", std::string("#").append(254, 'c').append("tail\nz"), {{"z", 261}}},
        {"a long line trimmed", a600 + std::string(300, ' ') + "\r\n", {{a600, 902}}},
        {"NUL far along", a600 + "\0" "9 9\nb"s, {{a600, 605}, {"b", 606}}},
        {"a long last line without end", std::string("x\n").append(a600), {{"x", 2}, {a600, 602}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readAll(c.text, LineLength::Whole), c.lines) << c.name;
    }
    // A line of 300 numbers gives them all, up to kMaxRowNumbers.
    std::string numbers;
    for (int i = 1; i <= 300; ++i) numbers += std::to_string(i) + " ";
    MemorySource source(numbers);
    LineReader reader(source, LineLength::Whole);
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.numbers(3).count, 3) << "as many as asked for";
    EXPECT_EQ(reader.tokenCount(), 3);
    EXPECT_EQ(reader.numbers().count, kMaxRowNumbers);
    EXPECT_EQ(reader.numbers().at(kMaxRowNumbers), kMaxRowNumbers);
}

TEST(LineReaderTest, LongLinesComeInPiecesOf255Bytes) {
    const std::string text = std::string(600, 'a') + "\nb\n";
    const std::vector<ReadLine> expected = {
        {std::string(255, 'a'), 255}, {std::string(255, 'a'), 510}, {std::string(90, 'a'), 601}, {"b", 603}};
    EXPECT_EQ(readAll(text), expected);

    // A piece of exactly 255 bytes is followed by the newline alone, an empty line of its own.
    const std::string exact = std::string(255, 'x') + "\n";
    EXPECT_EQ(readAll(exact), (std::vector<ReadLine>{{std::string(255, 'x'), 255}, {"", 256}}));

    // The rest of a long comment is no comment.
    const std::string comment = std::string("#").append(254, 'c').append("tail\n");
    EXPECT_EQ(readAll(comment), (std::vector<ReadLine>{{"tail", 260}}));
}

TEST(LineReaderTest, ErrorbarCommentIsRemembered) {
    struct Case {
        const char* text;
        bool seen;
    };
    const Case cases[] = {
        {"#errorbar\nx\n", true},
        {"#errorbars and more\nx\n", true},
        {"#Errorbar\nx\n", false},
        {"# errorbar\nx\n", false},
        {" #errorbar\nx\n", false},
        {"#error\nx\n", false},
    };
    for (const Case& c : cases) {
        MemorySource source(c.text);
        LineReader reader(source);
        ASSERT_TRUE(reader.readLine()) << c.text;
        EXPECT_EQ(reader.errorbarSeen(), c.seen) << c.text;
    }

    MemorySource source("#errorbar\na\nb\n");
    LineReader reader(source);
    reader.readLine();
    reader.readLine();
    EXPECT_TRUE(reader.errorbarSeen()) << "stays set until cleared";
    reader.clearErrorbarSeen();
    EXPECT_FALSE(reader.errorbarSeen());
}

TEST(LineReaderTest, TrimmingStepsOverWholeCharacters) {
    struct Case {
        const char* name;
        CodePage codePage;
        const char* text;
        std::vector<ReadLine> lines;
    };
    const Case cases[] = {
        {"double-byte character, then spaces", CodePage::ShiftJis, "\x82\xa0\x82\xa0  \r\n",
         {{"\x82\xa0\x82\xa0", 8}}},
        {"double-byte space stays", CodePage::ShiftJis, "ab\x81\x40 \n", {{"ab\x81\x40", 6}}},
        // A byte that starts no character takes neither the blanks nor the line end after it.
        {"Shift-JIS lead before a blank", CodePage::ShiftJis, "ab\x81  \n", {{"ab\x81", 6}}},
        {"Shift-JIS lead before the line end", CodePage::ShiftJis, "ab\x95\r\nx\n", {{"ab\x95", 5}, {"x", 7}}},
        {"UTF-8 lead before the line end", CodePage::Utf8, "Caf\xE9\nx\n", {{"Caf\xE9", 5}, {"x", 7}}},
        {"UTF-8 lead before blanks", CodePage::Utf8, "Caf\xE9 \t \r\n", {{"Caf\xE9 \t", 9}}},
        {"whole UTF-8 character", CodePage::Utf8, "Caf\xC3\xA9  \n", {{"Caf\xC3\xA9", 8}}},
    };
    for (const Case& c : cases) {
        CodePageScope scope(c.codePage);
        EXPECT_EQ(readAll(c.text), c.lines) << c.name;
    }
}

TEST(LineReaderTest, TokenCountIsZeroUntilParsed) {
    MemorySource source("1 2 3\n4\n");
    LineReader reader(source);
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.tokenCount(), 0);
    EXPECT_EQ(reader.numbers().count, 3);
    EXPECT_EQ(reader.tokenCount(), 3);
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.tokenCount(), 0);
    EXPECT_EQ(reader.numbers().at(1), 4);
    EXPECT_EQ(reader.numbers().at(2), 0) << "a missing number reads as 0";
}

TEST(LineReaderTest, SeekRereadsFromAPosition) {
    MemorySource source("one\ntwo\nthree\n");
    LineReader reader(source);
    reader.readLine();
    const std::int64_t afterOne = reader.position();
    reader.readLine();
    reader.readLine();
    EXPECT_FALSE(reader.readLine());
    ASSERT_TRUE(reader.seek(afterOne));
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.line(), "two");
    EXPECT_FALSE(reader.seek(-1));
    ASSERT_TRUE(reader.seek(1000)) << "past the end is allowed";
    EXPECT_FALSE(reader.readLine());
}

TEST(LineReaderTest, ANewReaderContinuesWhereTheLastOneStopped) {
    for (const bool fromFile : {false, true}) {
        const std::string text = "a\nb\nc\n";
        const auto path = std::filesystem::temp_directory_path() / "varnex_two_readers.txt";
        std::ofstream(path, std::ios::binary) << text;
        MemorySource memory(text);
        FileSource file(path.string());
        ByteSource& source = fromFile ? static_cast<ByteSource&>(file) : memory;
        {
            LineReader first(source);
            ASSERT_TRUE(first.readLine());
            EXPECT_EQ(first.line(), "a");
        }
        EXPECT_EQ(source.position(), 2);
        LineReader second(source);
        ASSERT_TRUE(second.readLine());
        EXPECT_EQ(second.line(), "b");
        std::filesystem::remove(path);
    }
}

// --- classification ---

TEST(LineReaderTest, ClassifiesLines) {
    struct Case {
        const char* line;
        LineKind kind;
    };
    const Case cases[] = {
        {"1 2", LineKind::Numeric},       {"   -3", LineKind::Numeric},    {"+x", LineKind::Numeric},
        {".5", LineKind::Numeric},        {"-- header", LineKind::Numeric}, {"9 lives", LineKind::Numeric},
        {"", LineKind::Blank},            {"    ", LineKind::Blank},       {"\t", LineKind::Text},
        {"\t1 2", LineKind::Text},        {"x 1", LineKind::Text},         {" #1", LineKind::Text},
        {"e5", LineKind::Text},           {",5", LineKind::Text},
    };
    for (const Case& c : cases) EXPECT_EQ(classifyLine(c.line), c.kind) << '"' << c.line << '"';
}

// --- parseNumbers ---

TEST(ParseNumbersTest, SplitsAtSpacesAndTabsAndReadsLikeAtof) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<double> values;
    };
    const std::vector<Case> cases = {
        {"spaces", "1 2  3", {1, 2, 3}},
        {"tabs", "\t1\t-2.5\t", {1, -2.5}},
        {"empty", "", {}},
        {"blank", "   ", {}},
        {"comma belongs to the token", "1,5 2", {1, 2}},
        {"text reads as 0", "abc 7", {0, 7}},
        {"numeric prefix", "12abc 3x4", {12, 3}},
        {"exponents and signs", "1e3 -2.5E-2 +.5 5.", {1000, -0.025, 0.5, 5}},
        {"hexadecimal like atof", "0x10 0x -0x10", {16, 0, -16}},
        {"one sign only", "--1 +-2 -+3", {0, 0, 0}},
        {"out of range reads 0", "1e400 2", {0, 2}},
        {"last control character is a space", "1 2 \x01", {1, 2}},
        {"last control character ends a token", "1 2\x1b", {1, 2}},
        {"inner control character is a token", "1 \x01 2", {1, 0, 2}},
        {"white space inside a token is skipped like atof", "\r5 \v6", {5, 6}},
        {"NUL ends the text", "5\0 6"s, {5}},
        {"multibyte text", "\xe6\x97\xa5 8", {0, 8}},
    };
    for (const Case& c : cases) {
        Numbers numbers;
        const int count = parseNumbers(c.text, numbers);
        ASSERT_EQ(count, static_cast<int>(c.values.size())) << c.name;
        EXPECT_EQ(numbers.values[0], count) << c.name;
        for (int i = 1; i <= count; ++i) EXPECT_EQ(numbers.at(i), c.values[static_cast<std::size_t>(i - 1)]) << c.name;
    }
}

TEST(ParseNumbersTest, SeparatorsAreFoundAtCharacterBoundaries) {
    CodePageScope shiftJis(CodePage::ShiftJis);
    Numbers numbers;
    // A lead byte before a space starts no character: it takes the space with it no more.
    EXPECT_EQ(parseNumbers("5\x81 6 7", numbers), 3);
    EXPECT_EQ(numbers.at(1), 5);
    EXPECT_EQ(numbers.at(3), 7);
    // A whole double-byte character (here the full-width space) is part of its token.
    EXPECT_EQ(parseNumbers("1 \x81\x40 2\x81\x40", numbers), 3);
    EXPECT_EQ(numbers.at(3), 2);
    // The control byte after a stray lead byte is a control character at the end.
    EXPECT_EQ(parseNumbers("1 \x81\x1f", numbers), 2);
}

TEST(ParseNumbersTest, KeepsAtMost255Numbers) {
    std::string text;
    for (int i = 1; i <= 300; ++i) text += std::to_string(i) + " ";
    Numbers numbers;
    EXPECT_EQ(parseNumbers(text, numbers), kMaxNumbers);
    EXPECT_EQ(numbers.at(255), 255);
    EXPECT_EQ(numbers.at(256), 0);
}

// The quick path for plain decimals must give exactly what the full conversion gives.
TEST(ParseNumbersTest, AgreesBitForBitWithTheFullConversion) {
    std::mt19937 random(12345);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const char* const fixed[] = {"0", "-0", "0.1", "0.3", "9007199254740993", "9007199254740992", "1e22", "1e23",
                                 "123456789012345678901", "4.9406564584124654e-324", "2.2250738585072014e-308",
                                 "1.7976931348623157e308", "0.000000000000000000000001", "1e-22", "7e-23",
                                 "00000000000000000000001", "1.e5", "-.0e0", "1e+", "1e-x", "+-1", "3.14159265358979323846"};
    std::vector<std::string> tokens(std::begin(fixed), std::end(fixed));
    for (int i = 0; i < 20000; ++i) {
        std::string token;
        if (pick(0, 3) == 0) token += pick(0, 1) ? '-' : '+';
        const int digits = pick(0, 22);
        const int point = pick(-1, digits);
        for (int d = 0; d < digits; ++d) {
            if (d == point) token += '.';
            token += static_cast<char>('0' + pick(0, 9));
        }
        if (pick(0, 2) == 0) token.append("e").append(std::to_string(pick(-30, 30)));
        tokens.push_back(token);
    }
    for (const std::string& token : tokens) {
        Numbers numbers;
        ASSERT_EQ(parseNumbers(token, numbers), token.empty() ? 0 : 1) << token;
        if (token.empty()) continue;
        const double expected = parseLeadingNumber(token);
        const double got = numbers.at(1);
        EXPECT_EQ(std::memcmp(&expected, &got, sizeof got), 0) << token << ": " << got << " != " << expected;
    }
}

// --- sources ---

TEST(FileSourceTest, ReadsLikeTheMemorySourceAcrossBufferBoundaries) {
    std::mt19937 random(7);
    std::string text;
    while (text.size() < 3 * FileSource::kBufferBytes + 1000) {
        const int length = std::uniform_int_distribution<int>(0, 400)(random);
        for (int i = 0; i < length; ++i) text += static_cast<char>(std::uniform_int_distribution<int>(32, 126)(random));
        text += (length % 3 == 0) ? "\r\n" : "\n";
    }
    const auto path = std::filesystem::temp_directory_path() / "varnex_line_reader_test.txt";
    std::ofstream(path, std::ios::binary) << text;

    FileSource file(path.string());
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.size(), static_cast<std::int64_t>(text.size()));
    const std::vector<ReadLine> fromFile = readAll(file);
    EXPECT_EQ(fromFile, readAll(text));
    {
        // Whole lines across buffer boundaries, from another source on the same file.
        const std::unique_ptr<ByteSource> other = file.another();
        ASSERT_TRUE(other);
        EXPECT_EQ(readAll(*other, LineLength::Whole), readAll(text, LineLength::Whole));
    }
    std::string longLines = text;
    longLines.insert(FileSource::kBufferBytes - 5, std::string(2 * FileSource::kBufferBytes, 'L') + '\0' + "x");
    std::ofstream(path.string() + ".long", std::ios::binary) << longLines;
    FileSource longFile(path.string() + ".long");
    EXPECT_EQ(readAll(longFile, LineLength::Whole), readAll(longLines, LineLength::Whole));
    std::filesystem::remove(path.string() + ".long");

    // Seeking back to remembered positions, inside and outside the buffered bytes.
    LineReader reader(file);
    for (std::size_t k : {fromFile.size() / 2, std::size_t{3}, fromFile.size() - 2, std::size_t{0}, std::size_t{4}}) {
        ASSERT_TRUE(reader.seek(fromFile[k].position));
        ASSERT_TRUE(reader.readLine());
        EXPECT_EQ(reader.line(), fromFile[k + 1].text) << k;
    }
    std::filesystem::remove(path);
}

TEST(FileSourceTest, MissingFileIsNotOpenAndReadsNothing) {
    FileSource file("/nonexistent/varnex/file.dat");
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(readAll(file).empty());
}

}  // namespace
}  // namespace varnex
