#include "document/directives.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/data_file_reader.h"
#include "document/line_reader.h"
#include "util/codepage.h"

namespace varnex {
namespace {

constexpr std::string_view kData = "title\n0 1 2 3\n1 2 3 4\n";  // three sets

struct Limits {
    double lo, hi;
    int type;
    bool operator==(const Limits&) const = default;
};

struct Outcome {
    Limits x{0, 1, 0};
    Limits y{0, 1, 0};
    std::vector<int> interp{1, 1, 1};
    std::vector<int> marker{0, 0, 0};
};

Outcome apply(const std::string& closing, bool* applied = nullptr) {
    const std::string text = std::string(kData) + closing;
    MemorySource source(text);
    Document doc;
    const bool result = readDirectives(source, doc, doc.setRange(1, 3));
    if (applied) *applied = result;
    Outcome outcome{{doc.xmin, doc.xmax, doc.xtype}, {doc.ymin, doc.ymax, doc.ytype}, {}, {}};
    for (const DataSet& set : doc.setRange(1, 3)) {
        outcome.interp.push_back(set.params.interp);
        outcome.marker.push_back(set.params.marker);
    }
    return outcome;
}

TEST(DirectivesTest, ClosingBlockSetsLimitsAndChoices) {
    struct Case {
        const char* name;
        std::string closing;
        Outcome expected;
    };
    const std::vector<Case> cases = {
        {"a full closing block",
         "end\n%x=0 10\n%y=1 100 log\n%nh=0 2 1\n%nk=1 3 0\n%%%%%%\n",
         {{0, 10, 0}, {1, 100, 1}, {0, 2, 1}, {1, 3, 0}}},
        {"upper case is lowered", "%X=-5 5 LOG\n", {{-5, 5, 1}, {0, 1, 0}}},
        {"log counts only after the =", "%xlog=2 3\n", {{2, 3, 0}, {0, 1, 0}}},
        {"a y line containing an x is an x directive", "%y=0 5 max\n", {{0, 5, 0}, {0, 1, 0}}},
        {"interp codes", "%nh=3 4 6\n", {{0, 1, 0}, {0, 1, 0}, {2, 2, 4}}},
        {"interp codes 5, 0 and fractions", "%nh=5 0.9 -1.7\n", {{0, 1, 0}, {0, 1, 0}, {2, 0, -1}}},
        {"huge codes saturate", "%nh=1e300 -1e300 1e10\n%nk=1e300 -1e300 7.9\n",
         {{0, 1, 0}, {0, 1, 0}, {127, -128, 127}, {127, -128, 7}}},
        {"numbers beyond the sets are ignored", "%nk=1 2 3 1 1 1 1\n", {{0, 1, 0}, {0, 1, 0}, {1, 1, 1}, {1, 2, 3}}},
        {"fewer numbers than sets", "%nk=2\n", {{0, 1, 0}, {0, 1, 0}, {1, 1, 1}, {2, 0, 0}}},
        {"other lines are ignored", "note\n\n %x=9 9\n%x=0 2\n", {{0, 2, 0}, {0, 1, 0}}},
        {"comment lines are skipped", "#%x=5 6\n%y=2 3\n", {{0, 1, 0}, {2, 3, 0}}},
        {"six percent signs end the directives", "%y=2 3\n%%%%%%\n%x=5 6\n", {{0, 1, 0}, {2, 3, 0}}},
        {"six percent signs anywhere in a line", "%y=2 3\nsee %%%%%% here\n%x=5 6\n", {{0, 1, 0}, {2, 3, 0}}},
        {"a % line without a key ends the directives", "%y=2 3\n%title\n%x=5 6\n", {{0, 1, 0}, {2, 3, 0}}},
        // Malformed directives change nothing and the next lines still apply.
        {"no = changes nothing", "%x 5 6\n%y log\n%nh 2 2\n%y=2 3\n", {{0, 1, 0}, {2, 3, 0}}},
        {"one limit changes nothing", "%x=5\n%y= log\n%nk=1 1 1\n", {{0, 1, 0}, {0, 1, 0}, {1, 1, 1}, {1, 1, 1}}},
        {"a word counts as a number 0", "%y=7 log\n", {{0, 1, 0}, {7, 0, 1}}},
        {"no numbers for the sets", "%nh=\n%nk=a 2\n", {{0, 1, 0}, {0, 1, 0}, {1, 1, 1}, {0, 2, 0}}},
        {"the first = counts", "%x=1 2 = 3 4\n", {{1, 2, 0}, {0, 1, 0}}},
    };
    for (const Case& c : cases) {
        bool applied = false;
        const Outcome got = apply(c.closing, &applied);
        EXPECT_TRUE(applied) << c.name;
        EXPECT_EQ(got.x, c.expected.x) << c.name;
        EXPECT_EQ(got.y, c.expected.y) << c.name;
        EXPECT_EQ(got.interp, c.expected.interp) << c.name;
        EXPECT_EQ(got.marker, c.expected.marker) << c.name;
    }
}

TEST(DirectivesTest, ApplyOnlyAfterDataAndAtTheEnd) {
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"ends with numbers", "%x=5 6\n1 2\n"},
        {"no numbers", "t\n%x=5 6\n"},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        MemorySource source(c.text);
        Document doc;
        EXPECT_FALSE(readDirectives(source, doc, doc.setRange(1, 1))) << c.name;
        EXPECT_EQ(doc.xmin, 0) << c.name;
        EXPECT_EQ(doc.xmax, 1) << c.name;
    }

    // Directives before the last numeric block do not count; only the final block is read.
    const Outcome earlier = apply("%x=5 6\n7 8 9 9\nfinal\n%y=2 3\n");
    EXPECT_EQ(earlier.x, (Limits{0, 1, 0}));
    EXPECT_EQ(earlier.y, (Limits{2, 3, 0}));

    // A file cut short at 511 blocks never saw its end.
    std::string many;
    for (int i = 0; i < 300; ++i) many += "t\n1 2\n";
    many += "%x=5 6\n";
    MemorySource source(many);
    Document doc;
    EXPECT_FALSE(readDirectives(source, doc, doc.setRange(1, 1)));
    EXPECT_EQ(doc.xmin, 0);

    EXPECT_FALSE(readDirectives(std::string("/nonexistent/varnex.dat"), doc, doc.setRange(1, 1)));
}

TEST(DirectivesTest, ReadFromAFile) {
    const auto path = std::filesystem::temp_directory_path() / "varnex_directives.dat";
    std::ofstream(path, std::ios::binary) << kData << "%x=-1 1\r\n%nk=3\r\n";
    Document doc;
    EXPECT_TRUE(readDirectives(path.string(), doc, doc.setRange(1, 3)));
    EXPECT_EQ(doc.xmin, -1);
    EXPECT_EQ(doc.xmax, 1);
    EXPECT_EQ(doc.sets[1].params.marker, 3);
    std::filesystem::remove(path);
}

TEST(DirectivesTest, ShiftJisTextIsLoweredAndSearchedByWholeCharacters) {
    const CodePage saved = systemCodePage();
    setSystemCodePage(CodePage::ShiftJis);
    // 0x83 0x58 is one katakana character whose second byte is 'X': it is neither lowered nor an x.
    const Outcome katakana = apply("%y=2 3 \x83\x58\n");
    // The same bytes read as UTF-8 are a stray byte and a capital X, which makes an x directive.
    setSystemCodePage(CodePage::Utf8);
    const Outcome utf8 = apply("%y=2 3 \x83\x58\n");
    setSystemCodePage(saved);

    EXPECT_EQ(katakana.y, (Limits{2, 3, 0}));
    EXPECT_EQ(katakana.x, (Limits{0, 1, 0}));
    EXPECT_EQ(utf8.x, (Limits{2, 3, 0}));
}

}  // namespace
}  // namespace varnex
