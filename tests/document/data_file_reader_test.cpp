#include "document/data_file_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "document/data_pool.h"
#include "document/directives.h"
#include "support/recording_message_boxes.h"
#include "util/numbers.h"

namespace varnex {
namespace {

using namespace std::string_literals;

constexpr std::string_view kName = "/data/run.dat";

// The worked example of the file format: a title paragraph, a comment, a block of three columns, a
// text line, an error-bar comment and a block with error values.
const std::string kExample =
    "Run 12\n"
    "\n"
    "temperature\n"
    "# a comment line\n"
    "0 1.0 2.0\n"
    "1 1.5 2.5\n"
    "2 2.0 3.0\n"
    "second\n"
    "#errorbar\n"
    "0 5 0.2\n"
    "1 6 0.3\n";

std::int64_t posOf(const std::string& text, std::string_view what) {
    return static_cast<std::int64_t>(text.find(what));
}

std::vector<double> points(std::span<const double> values) {
    return values.empty() ? std::vector<double>() : std::vector<double>(values.begin() + 1, values.end());
}

struct ExpectedSet {
    std::vector<double> x;
    std::vector<double> y;
    std::string title;
    bool errorbar = false;
    bool ascending = true;
};

void expectSets(std::span<const DataSet> sets, const std::vector<ExpectedSet>& expected, const std::string& what) {
    ASSERT_EQ(sets.size(), expected.size()) << what;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const DataSet& set = sets[i];
        const ExpectedSet& want = expected[i];
        const std::string where = what + ", set " + std::to_string(i + 1);
        ASSERT_TRUE(set.storage) << where;
        EXPECT_EQ(set.count, static_cast<std::int32_t>(want.x.size())) << where;
        EXPECT_EQ(points(set.xs()), want.x) << where;
        EXPECT_EQ(points(set.ys()), want.y) << where;
        EXPECT_EQ(set.title().str(), want.title) << where;
        EXPECT_EQ(set.errorbar, want.errorbar) << where;
        EXPECT_EQ(set.ascending, want.ascending) << where;
        EXPECT_EQ(set.name(), kName) << where;
    }
}

class DataFileReaderTest : public ::testing::Test {
protected:
    // Reads text into the slots first..first+slots-1; the graph title goes to vtitle.
    int read(std::string_view text, int first = 1, int slots = kMaxSets) {
        MemorySource source(text);
        return readDataFile(source, kName, doc.setRange(first, slots), pool, &vtitle);
    }
    std::span<const DataSet> sets(int n, int first = 1) const { return doc.setRange(first, n); }

    testing::RecordingMessageBoxes messages;
    DataPool pool{messages};
    Document doc;
    TitleText vtitle = "untouched";
};

TEST_F(DataFileReaderTest, WorkedExample) {
    MemorySource source(kExample);
    const BlockIndex index = scanBlocks(source);
    ASSERT_EQ(index.blockCount, 4);
    EXPECT_FALSE(index.cutShort);
    const std::int64_t pos[] = {0, posOf(kExample, "# a comment"), posOf(kExample, "second"),
                                posOf(kExample, "#errorbar")};
    const BlockKind kinds[] = {BlockKind::Text, BlockKind::Numbers, BlockKind::Text, BlockKind::ErrorBars};
    const std::int32_t lines[] = {3, 3, 1, 2};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(index.pos[k], pos[k - 1]) << k;
        EXPECT_EQ(index.kind[k], kinds[k - 1]) << k;
        EXPECT_EQ(index.lines[k], lines[k - 1]) << k;
    }

    ASSERT_EQ(read(kExample), 3);
    EXPECT_EQ(vtitle, "Run 12");
    expectSets(sets(3),
               {{{0, 1, 2}, {1.0, 1.5, 2.0}, "temperature"},
                {{0, 1, 2}, {2.0, 2.5, 3.0}, "Run 12"},
                {{0, 1}, {5, 6}, "second", true}},
               "example");
    // The first set's title position moved to its paragraph; the others stay where the scan put them.
    EXPECT_EQ(doc.sets[1].titlepos, posOf(kExample, "temperature"));
    EXPECT_EQ(doc.sets[2].titlepos, 0);
    EXPECT_EQ(doc.sets[3].titlepos, posOf(kExample, "second"));
    EXPECT_EQ(doc.sets[1].datapos, posOf(kExample, "# a comment"));
    EXPECT_EQ(doc.sets[2].datapos, posOf(kExample, "# a comment"));
    EXPECT_EQ(doc.sets[3].datapos, posOf(kExample, "#errorbar"));
    EXPECT_EQ(pool.blockCount(), 3);
    EXPECT_EQ(pool.bytesTaken(), 2 * ((2 * 3 + 2) * 8 + 512 + 8) + (2 * 2 + 2) * 8 + 512 + 8);
    EXPECT_TRUE(messages.messages().empty());

    Document directives;
    EXPECT_FALSE(readDirectives(source, directives, directives.setRange(1, 3))) << "the file ends with numbers";
}

TEST_F(DataFileReaderTest, ReadsAFileByPathLikeItsText) {
    const auto path = std::filesystem::temp_directory_path() / "varnex_reader_example.dat";
    std::ofstream(path, std::ios::binary) << kExample;
    ASSERT_EQ(readDataFile(path.string(), doc.setRange(1, kMaxSets), pool, &vtitle), 3);
    EXPECT_EQ(vtitle, "Run 12");
    EXPECT_EQ(doc.sets[3].title(), "second");
    EXPECT_EQ(doc.sets[1].name(), path.string());
    EXPECT_EQ(points(doc.sets[3].ys()), (std::vector<double>{5, 6}));
    std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF" << kExample;  // with a byte-order mark
    ASSERT_EQ(readDataFile(path.string(), doc.setRange(1, kMaxSets), pool, &vtitle), 3);
    EXPECT_EQ(vtitle, "Run 12");
    EXPECT_EQ(doc.sets[1].title(), "temperature");
    std::filesystem::remove(path);

    vtitle = "untouched";
    EXPECT_EQ(readDataFile(path.string(), doc.setRange(4, 10), pool, &vtitle), 0);
    EXPECT_EQ(vtitle, "untouched");
}

TEST_F(DataFileReaderTest, NoGraphTitleWhenNoneIsWanted) {
    MemorySource source(kExample);
    ASSERT_EQ(readDataFile(source, kName, doc.setRange(1, kMaxSets), pool, nullptr), 3);
    EXPECT_EQ(doc.sets[1].title(), "temperature") << "the paragraph rule holds without a graph title";
}

TEST_F(DataFileReaderTest, BlocksTitlesAndColumns) {
    struct Case {
        const char* name;
        std::string text;
        std::string vtitle;
        std::vector<ExpectedSet> sets;
    };
    const std::vector<Case> cases = {
        {"numbers only", "1 2\n2 3\n", "No Title", {{{1, 2}, {2, 3}, ""}}},
        {"the first line fixes the columns", "0 1 2\n1 3\n2 4 5 6\n", "No Title",
         {{{0, 1, 2}, {1, 3, 4}, ""}, {{0, 1, 2}, {2, 0, 5}, ""}}},
        {"a one-number first line gives no set", "t\n5\n6 7\nu\n1 2\n", "u", {{{1}, {2}, "u"}}},
        {"errorbar with two columns", "#errorbar\n1 2\n2 3\n", "No Title", {{{1, 2}, {2, 3}, "", false}}},
        {"errorbar with four columns", "#errorbar\n1 2 0.1 0.2\n2 3 0.1 0.2\n", "No Title",
         {{{1, 2}, {2, 3}, "", true}}},
        {"errorbar decided by the last line", "#errorbar\n1 2 0.5\n2 3\n", "No Title", {{{1, 2}, {2, 3}, ""}}},
        {"errorbar inside a block marks the next one", "1 2\n#errorbar\n2 3\nt\n5 6 0.1\n", "No Title",
         {{{1, 2}, {2, 3}, ""}, {{5}, {6}, "t", true}}},
        {"errorbar before a text block", "1 2\n#errorbar\nt\n5 6 0.1\n", "No Title",
         {{{1}, {2}, ""}, {{5}, {6}, "t", true}}},
        {"capital Errorbar has no effect", "#Errorbar\n1 2 0.1\n", "No Title", {{{1}, {2}, ""}, {{1}, {0.1}, ""}}},
        {"indented # is text", " #1 2\n1 2\n", "#1 2", {{{1}, {2}, "#1 2"}}},
        {"a minus sign starts a numeric line", "-- header\n1 2\n", "No Title", {{{0, 1}, {0, 2}, ""}}},
        {"a tab starts a text line", "\t1 2\n3 4\n", "\t1 2", {{{3}, {4}, "\t1 2"}}},
        {"text tokens read as 0", "1 abc 3\n", "No Title", {{{1}, {0}, ""}, {{1}, {3}, ""}}},
        {"comments do not split a block", "1 2\n# c\n2 3\n", "No Title", {{{1, 2}, {2, 3}, ""}}},
        {"x not increasing", "2 1\n1 1\n", "No Title", {{{2, 1}, {1, 1}, "", false, false}}},
        {"x repeated", "1 1\n1 2\n", "No Title", {{{1, 1}, {1, 2}, "", false, false}}},
        {"last paragraph titles the first set",
         "Title\n\npara one\nline two\n\n  last para\nmore\n1 2 3\nmid\n4 5\n", "Title",
         {{{1}, {2}, "last para"}, {{1}, {3}, "Title"}, {{4}, {5}, "mid"}}},
        {"leading blank lines", "\n  \nTitle\n1 2\n", "Title", {{{1}, {2}, "Title"}}},
        {"blank text gives no title", "   \n\n1 2\n", "No Title", {{{1}, {2}, ""}}},
        {"CR LF and LF mixed", "t\r\n1 2\r\n3 4\n5 6\r\n", "t", {{{1, 3, 5}, {2, 4, 6}, "t"}}},
        {"CR alone ends no line", "1 2\r3 4\r", "No Title", {{{1}, {2}, ""}, {{1}, {4}, ""}}},
        {"NUL ends a line's text", "t\n1 2\0 9 9\n3 4\n"s, "t", {{{1, 3}, {2, 4}, "t"}}},
        {"byte-order mark before numbers", "\xEF\xBB\xBF" "1 2\n3 4\n", "No Title", {{{1, 3}, {2, 4}, ""}}},
        {"byte-order mark before a title", "\xEF\xBB\xBF" "Title\n1 2\n", "Title", {{{1}, {2}, "Title"}}},
        {"byte-order mark later is text", "1 2\n\xEF\xBB\xBF" "3 4\n5 6\n", "No Title",
         {{{1}, {2}, ""}, {{5}, {6}, "\xEF\xBB\xBF" "3 4"}}},
        {"a bad UTF-8 lead byte keeps no line end", "Caf\xE9  \r\n1 2\n", "Caf\xE9", {{{1}, {2}, "Caf\xE9"}}},
    };
    for (const Case& c : cases) {
        Document fresh;
        doc = fresh;
        vtitle = "untouched";
        const int n = read(c.text);
        EXPECT_EQ(n, static_cast<int>(c.sets.size())) << c.name;
        EXPECT_EQ(vtitle.str(), c.vtitle) << c.name;
        expectSets(sets(n), c.sets, c.name);
    }
}

TEST_F(DataFileReaderTest, FilesWithoutDataChangeNothing) {
    const std::string cases[] = {"", "#a\n#errorbar\n", "a\nb\n", "\n\n  \n", "5\n6\n", "t\n7\nu\n"};
    for (const std::string& text : cases) {
        EXPECT_EQ(read(text), 0) << text;
        EXPECT_EQ(vtitle, "untouched") << text;
        EXPECT_FALSE(doc.sets[1].storage) << text;
    }
    EXPECT_EQ(pool.blockCount(), 0);
}

TEST_F(DataFileReaderTest, LongLinesAreReadWhole) {
    // A 10 MB line of text is one line of a text block; titles take its first 255 bytes.
    const std::string longText = std::string(10 * 1024 * 1024, 'a') + "\n1 2\n";
    ASSERT_EQ(read(longText), 1);
    EXPECT_EQ(vtitle, std::string(255, 'a'));
    EXPECT_EQ(doc.sets[1].title(), std::string(255, 'a'));
    EXPECT_EQ(doc.sets[1].titlepos, 0);
    EXPECT_EQ(doc.sets[1].datapos, static_cast<std::int64_t>(10 * 1024 * 1024 + 1));

    // 300 columns: each row is one row of 299 sets, of which the Document takes 255.
    std::string wide;
    for (int row = 0; row < 2; ++row) {
        wide += std::to_string(row);
        for (int c = 1; c < 300; ++c) wide.append(" ").append(std::to_string(row + 1));
        wide += "\n";
    }
    ASSERT_EQ(read(wide), 255);
    for (const int i : {1, 128, 255}) {
        EXPECT_EQ(points(doc.sets[i].xs()), (std::vector<double>{0, 1})) << i;
        EXPECT_EQ(points(doc.sets[i].ys()), (std::vector<double>{1, 2})) << i;
        EXPECT_TRUE(doc.sets[i].ascending) << i;
    }

    // 40 columns of long numbers: no number is cut, every value is exact.
    std::string precise = "forty\n";
    std::vector<double> expected;
    for (int row = 0; row < 3; ++row) {
        precise += std::to_string(row);
        for (int c = 1; c < 40; ++c) {
            const std::string number = "1234567.89012345" + std::to_string(c) + "e-3";
            precise += " " + number;
            if (row == 0) expected.push_back(parseLeadingNumber(number));
        }
        precise += row == 1 ? "   \r\n" : "\n";
    }
    ASSERT_EQ(read(precise), 39);
    for (int c = 1; c < 40; ++c) {
        const std::vector<double> y(3, expected[static_cast<std::size_t>(c - 1)]);
        EXPECT_EQ(points(doc.sets[c].ys()), y) << c;
        EXPECT_EQ(doc.sets[c].title(), "forty") << c;
    }

    struct Case {
        const char* name;
        std::string text;
        std::string vtitle;
        std::vector<ExpectedSet> sets;
    };
    const std::string a255(255, 'a');
    std::string accents;
    for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";  // é, two bytes each
    const std::vector<Case> cases = {
        {"the rest of a long text line is no line of its own", a255 + "5 6\n1 2\n", a255, {{{1}, {2}, a255}}},
        {"a long comment is skipped whole", "#" + std::string(300, 'c') + " 7 8\n1 2\n", "No Title",
         {{{1}, {2}, ""}}},
        {"titles are cut at a character boundary", accents + "\n1 2\n", accents.substr(0, 254),
         {{{1}, {2}, accents.substr(0, 254)}}},
        {"leading spaces go before the cut", std::string(10, ' ') + a255 + "b\n1 2\n", a255, {{{1}, {2}, a255}}},
        {"error values far along a line", "#errorbar\n1 2" + std::string(300, ' ') + "0.5\n", "No Title",
         {{{1}, {2}, "", true}}},
    };
    for (const Case& c : cases) {
        Document fresh;
        doc = fresh;
        vtitle = "untouched";
        const int n = read(c.text);
        EXPECT_EQ(n, static_cast<int>(c.sets.size())) << c.name;
        EXPECT_EQ(vtitle.str(), c.vtitle) << c.name;
        expectSets(sets(n), c.sets, c.name);
    }
}

TEST_F(DataFileReaderTest, MoreThan511BlocksAreCutShort) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        const std::string number = std::to_string(i);
        text.append("t").append(number).append("\n").append(number).append(" ").append(number).append("\n");
    }
    MemorySource source(text);
    const BlockIndex index = scanBlocks(source);
    EXPECT_EQ(index.blockCount, BlockIndex::kMaxBlocks);
    EXPECT_TRUE(index.cutShort);
    EXPECT_EQ(index.kind[511], BlockKind::Text);

    ASSERT_EQ(read(text), 255);
    EXPECT_EQ(doc.sets[255].title(), "t254");
    EXPECT_EQ(points(doc.sets[255].ys()), (std::vector<double>{254}));
}

TEST_F(DataFileReaderTest, SetsStopAtTheFreeSlots) {
    // Three blocks of 100 sets (x is the block number, y the column number mod 10): the Document takes
    // 255 of them, the third block only in part.
    std::string text;
    for (int block = 0; block < 3; ++block) {
        text.append("block ").append(std::to_string(block)).append("\n").append(std::to_string(block));
        for (int c = 1; c <= 100; ++c) text.append(" ").append(std::to_string(c % 10));
        text += "\n";
    }
    ASSERT_EQ(read(text), 255);
    EXPECT_EQ(points(doc.sets[255].xs()), (std::vector<double>{2}));
    EXPECT_EQ(points(doc.sets[255].ys()), (std::vector<double>{5}));
    EXPECT_EQ(doc.sets[255].title(), "block 2");

    // Appended after 250 sets: five slots are left.
    Document fresh;
    doc = fresh;
    ASSERT_EQ(read(text, 251, kMaxSets - 250), 5);
    EXPECT_EQ(points(doc.sets[255].xs()), (std::vector<double>{0}));
    EXPECT_EQ(points(doc.sets[255].ys()), (std::vector<double>{5}));
    EXPECT_EQ(doc.sets[251].title(), "block 0");
}

TEST_F(DataFileReaderTest, GarbageNeverBreaksTheLimits) {
    std::mt19937 random(99);
    for (int round = 0; round < 20; ++round) {
        std::string text(std::uniform_int_distribution<int>(0, 20000)(random), '\0');
        // Mostly digits, separators and line ends, with any byte now and then.
        const std::string common = "0123456789 .-+e\t\n\r#%";
        for (char& c : text) {
            c = std::uniform_int_distribution<int>(0, 9)(random) == 0
                    ? static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random))
                    : common[static_cast<std::size_t>(std::uniform_int_distribution<int>(0, 19)(random))];
        }
        Document fresh;
        doc = fresh;
        const int n = read(text);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, kMaxSets);
        for (const DataSet& set : sets(n)) {
            ASSERT_TRUE(set.storage);
            EXPECT_GE(set.count, 1);
            EXPECT_EQ(set.xs().size(), static_cast<std::size_t>(set.count) + 1);
            EXPECT_LE(set.datapos, static_cast<std::int64_t>(text.size()));
            EXPECT_LE(set.titlepos, set.datapos);
            EXPECT_LE(set.title().size(), kLineBytes);
        }
        MemorySource source(text);
        readDirectives(source, doc, doc.setRange(1, std::max(n, 1)));
    }
    EXPECT_FALSE(messages.fatalSeen());
}

// A file that changes between the passes: the sets keep the sizes of the scan, and what is no longer
// there reads as 0.
TEST_F(DataFileReaderTest, ShorterRereadLeavesZeros) {
    const std::string before = "t\n1 10 100\n2 20 200\n3 30 300\ne\n#errorbar\n4 40 0.5\n5 50 0.5\n";
    MemorySource scanned(before);
    const BlockIndex index = scanBlocks(scanned);

    struct Case {
        const char* name;
        std::size_t keep;  // bytes of `before` left for the build
        int sets;
        std::vector<double> y1;
        bool errorbar;
    };
    const Case cases[] = {
        {"nothing lost", before.size(), 3, {10, 20, 30}, true},
        {"last line lost", before.size() - 10, 3, {10, 20, 30}, false},
        {"cut inside the first block", before.find("3 30"), 3, {10, 20, 0}, false},
        {"first line lost", 2, 1, {}, false},
        {"everything lost", 0, 1, {}, false},
    };
    for (const Case& c : cases) {
        Document fresh;
        doc = fresh;
        MemorySource shorter(std::string_view(before).substr(0, c.keep));
        const int n = buildSets(shorter, kName, index, doc.setRange(1, kMaxSets), pool);
        ASSERT_EQ(n, c.sets) << c.name;
        if (!c.y1.empty()) {
            EXPECT_EQ(points(doc.sets[1].ys()), c.y1) << c.name;
        }
        const DataSet& errorSet = doc.sets[n];
        EXPECT_EQ(errorSet.count, 2) << c.name;
        EXPECT_EQ(errorSet.errorbar, c.errorbar) << c.name;
        readTitles(shorter, &vtitle, doc.setRange(1, n));
    }
}

TEST_F(DataFileReaderTest, FileTruncatedOrDeletedBetweenPasses) {
    const auto path = std::filesystem::temp_directory_path() / "varnex_reader_shrinks.dat";
    std::string text = "title\n";
    for (int i = 1; i <= 20000; ++i) text += std::to_string(i) + " " + std::to_string(2 * i) + "\n";
    std::ofstream(path, std::ios::binary) << text;
    const std::size_t kept = text.find("\n1001 ") + 1;  // the title and 1000 rows

    FileSource source(path.string());
    ASSERT_TRUE(source.isOpen());
    const BlockIndex index = scanBlocks(source);
    ASSERT_EQ(index.lines[2], 20000);
    std::filesystem::resize_file(path, kept);
    ASSERT_EQ(buildSets(source, kName, index, doc.setRange(1, kMaxSets), pool), 1);
    const DataSet& set = doc.sets[1];
    EXPECT_EQ(set.count, 20000);
    EXPECT_EQ(set.y(1000), 2000);
    EXPECT_EQ(set.y(1001), 0);
    EXPECT_EQ(set.x(20000), 0);

    // Deleted: the open file still reads as it was.
    std::filesystem::remove(path);
    readTitles(source, &vtitle, doc.setRange(1, 1));
    EXPECT_EQ(vtitle, "title");
}

TEST_F(DataFileReaderTest, PoolFailureKeepsTheSetsBuiltBefore) {
    MemorySource source("1 2\n3 4\nt\n5 6 7\n");
    BlockIndex index = scanBlocks(source);
    ASSERT_EQ(index.blockCount, 3);
    index.lines[3] = -1;  // a count the pool refuses
    EXPECT_EQ(buildSets(source, kName, index, doc.setRange(1, kMaxSets), pool), 1);
    EXPECT_TRUE(messages.fatalSeen());
    EXPECT_EQ(doc.sets[1].count, 2);
    EXPECT_FALSE(doc.sets[2].storage) << "the failed block leaves its slots alone";

    // An index that was not made by the scan cannot make the build write past an array either.
    index.lines[1] = 0;
    index.lines[3] = 1;
    Document fresh;
    doc = fresh;
    EXPECT_EQ(buildSets(source, kName, index, doc.setRange(1, kMaxSets), pool), 2);
    EXPECT_EQ(doc.sets[1].count, 1);
    EXPECT_EQ(doc.sets[1].y(1), 6);
}

}  // namespace
}  // namespace varnex
