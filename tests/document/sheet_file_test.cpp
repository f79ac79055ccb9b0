#include "document/sheet_file.h"

#include <gtest/gtest.h>

#include <string>

#include "file_fixtures.h"

namespace varnex {
namespace {

using testing::TempFolder;

struct SheetCase {
    const char* name;
    std::string bytes;
    std::int64_t capacity;
    std::string text;
    bool complete;
};

// Reading the same bytes from memory and from a file gives the same text.
TEST(SheetFileTest, LinesAreTrimmedAndEndedWithCrLf) {
    const std::string line2000(2000, '7');
    const SheetCase cases[] = {
        {"last line without line end", "a 1\nb 2", 1000, "a 1\r\nb 2\r\n", true},
        {"trailing blanks and CR go, tabs stay", "1 2  \r\n3\t\r\r\n  \n", 1000, "1 2\r\n3\t\r\n\r\n", true},
        {"empty file", "", 1000, "", true},
        {"a lone CR inside a line stays", "1\r2\n", 1000, "1\r2\r\n", true},
        {"a long line is one line", line2000 + "\n1 2\n", 5000, line2000 + "\r\n1 2\r\n", true},
        // Capacity 300: complete while the text holds at most 44 bytes.
        {"exactly at the threshold", std::string(42, 'x') + "\n", 300, std::string(42, 'x') + "\r\n", true},
        {"one byte past the threshold", std::string(43, 'x') + "\nnext\n", 300, std::string(43, 'x') + "\r\n", false},
        {"the crossing line stays", "a\n" + std::string(100, 'y') + "\nz\n", 300,
         "a\r\n" + std::string(100, 'y') + "\r\n", false},
        {"a line beyond the capacity is cut", "a\n" + std::string(500, 'y') + "\n", 300,
         "a\r\n" + std::string(295, 'y') + "\r\n", false},
        {"no capacity", "a\n", 0, "", false},
    };
    TempFolder folder;
    for (const SheetCase& c : cases) {
        const SheetText memory = sheetText(c.bytes, c.capacity);
        EXPECT_EQ(memory.text, c.text) << c.name;
        EXPECT_EQ(memory.complete, c.complete) << c.name;
        const auto file = readSheetFile(folder.write("case.dat", c.bytes), c.capacity);
        ASSERT_TRUE(file) << c.name;
        EXPECT_EQ(file->text, c.text) << c.name;
        EXPECT_EQ(file->complete, c.complete) << c.name;
        EXPECT_LE(static_cast<std::int64_t>(file->text.size()), std::max<std::int64_t>(c.capacity, 0)) << c.name;
    }
    EXPECT_FALSE(readSheetFile(folder.file("missing.dat"), 1000));
    // A name that opens but cannot be read (a folder) is not shown as an empty, complete file.
    EXPECT_FALSE(readSheetFile(folder.path(), 1000));
}

// Lines that cross the reader's chunks, and the limit of a file much larger than the sheet.
TEST(SheetFileTest, LargeFilesAreReadOnlyAsFarAsTheSheetNeeds) {
    TempFolder folder;
    std::string bytes;
    for (int i = 0; bytes.size() < 400'000; ++i) bytes += std::to_string(i) + " " + std::to_string(i * 7) + "   \r\n";
    const std::int64_t capacity = 256'000;
    const auto file = readSheetFile(folder.write("big.dat", bytes), capacity);
    ASSERT_TRUE(file);
    const SheetText memory = sheetText(bytes, capacity);
    EXPECT_EQ(file->text, memory.text);
    EXPECT_FALSE(file->complete);
    EXPECT_GT(static_cast<std::int64_t>(file->text.size()), capacity - kSheetReserve);
    EXPECT_LE(static_cast<std::int64_t>(file->text.size()), capacity);

    // One line of 1 MB without a line end: cut at the capacity.
    const auto line = readSheetFile(folder.write("line.dat", std::string(1'000'000, '5')), capacity);
    ASSERT_TRUE(line);
    EXPECT_FALSE(line->complete);
    EXPECT_EQ(static_cast<std::int64_t>(line->text.size()), capacity);
}

TEST(SheetFileTest, CutLinesEndOnACharacterBoundary) {
    // "é" is two bytes in UTF-8; a cut after an odd number of bytes would split one.
    std::string line;
    for (int i = 0; i < 200; ++i) line += "\xc3\xa9";
    const SheetText text = sheetText(line + "\n", 300);
    EXPECT_FALSE(text.complete);
    EXPECT_EQ(text.text, line.substr(0, 298) + "\r\n");
}

}  // namespace
}  // namespace varnex
