#include "document/parameter_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/line_reader.h"
#include "document/view_list.h"
#include "document/views.h"
#include "support/recording_message_boxes.h"
#include "temp_folder.h"

namespace varnex {
namespace {

using testing::RecordingMessageBoxes;
using testing::TempFolder;

constexpr const char* kThreeSetLines = "1 1 0 0 0\n2 1 0 0 0\n3 1 0 0 0\n";

// One section: the title, further key lines, "data=" and the set lines.
std::string section(const std::string& title, const std::string& keys = "", int data = 3,
                    const std::string& setLines = kThreeSetLines) {
    return "\nvtitle=" + title + "\n" + keys + "data=" + std::to_string(data) + "\n" + setLines;
}

std::string threeSections(const std::string& index) {
    return index + section("one") + section("two", "file=two.dat\n") + section("three", "file=three.dat\n");
}

bool baseNameIs(const std::string& path, std::string_view name) {
    return std::filesystem::path(path).filename().string() == name;
}

GraphParams params(int interp, int linetype, int marker, int shape) {
    return {static_cast<std::int8_t>(interp), static_cast<std::int8_t>(linetype),
            static_cast<std::int8_t>(marker), static_cast<std::int8_t>(shape)};
}

// The loader's situation: a work copy whose main file (in a real folder) gave three sets.
class ParameterReaderTest : public ::testing::Test {
protected:
    ParameterReaderTest() {
        m_main = m_folder.write("run.dat", "1 2 3 4\n");
        m_doc.files.setMain(m_main);
        m_doc.data = kLoaded;
        for (int i = 1; i <= kLoaded; ++i) {
            m_doc.sets[static_cast<std::size_t>(i)].storage = std::make_shared<SetStorage>();
            m_doc.sets[static_cast<std::size_t>(i)].count = 1;
        }
    }

    bool read(const std::string& text, ViewList* views = nullptr) {
        MemorySource source(text);
        return readParameters(source, m_doc.head(), m_doc.setRange(1, kLoaded), views, m_boxes);
    }
    GraphParams paramsOf(int i) const { return m_doc.sets[static_cast<std::size_t>(i)].params; }

    static constexpr int kLoaded = 3;
    TempFolder m_folder;
    std::string m_main;
    Document m_doc;
    RecordingMessageBoxes m_boxes;
};

TEST_F(ParameterReaderTest, ViewIndexChoosesTheCurrentSection) {
    struct Case {
        const char* index;
        int current;
        const char* title;
        int appended;  // appended files of that section
    };
    const Case cases[] = {
        {"view=2", 2, "two", 1},
        {"view=1", 1, "one", 0},
        {"view=0", 1, "one", 0},
        {"view=-4", 1, "one", 0},
        {"view=99", 3, "three", 1},  // beyond the sections: the last one
        {"", 1, "one", 0},           // no index line
        {"garbage\nview=3", 3, "three", 1},
        {"\xEF\xBB\xBF" "view=2", 2, "two", 1},  // after a byte-order mark
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        // Without a view list: doc receives the chosen section, its file list intact.
        m_doc.vtitle = "";
        EXPECT_TRUE(read(threeSections(c.index)));
        EXPECT_EQ(m_doc.vtitle, c.title);
        EXPECT_EQ(m_doc.files.appendedCount(), c.appended);
        EXPECT_EQ(m_doc.data, kLoaded);

        // With a list of five old views, the last current: three views, the chosen one current.
        ViewList views;
        for (int k = 0; k < 4; ++k) views.addView();
        m_doc.vtitle = "";
        EXPECT_TRUE(read(threeSections(c.index), &views));
        ASSERT_EQ(views.viewCount(), 3);
        EXPECT_EQ(views.indexOfCurrent(), c.current);
        EXPECT_EQ(views.viewAt(1).vtitle, "one");
        EXPECT_EQ(views.viewAt(2).vtitle, "two");
        EXPECT_EQ(views.viewAt(3).vtitle, "three");
        EXPECT_EQ(views.viewAt(3).files.name(1), m_folder.file("three.dat"));
        EXPECT_EQ(m_doc.vtitle, c.title);
        EXPECT_EQ(m_doc.files, views.current().files);
    }
}

TEST_F(ParameterReaderTest, EachViewKeepsItsOwnDrawingChoices) {
    const std::string text = "view=1" + section("a", "", 3, "1 0 1 2 3\n2 2 0 0 0\n3 1 0 1 1\n") +
                             section("b", "", 3, "1 2 4 3 2\n2 0 0 1 0\n3 2 3 0 1\n");
    ViewList views;
    ASSERT_TRUE(read(text, &views));
    EXPECT_EQ(views.viewAt(1).sets[1].params, params(0, 1, 2, 3));
    EXPECT_EQ(views.viewAt(2).sets[1].params, params(2, 4, 3, 2));
    EXPECT_EQ(views.viewAt(2).sets[3].params, params(2, 3, 0, 1));
    // doc and the sets receive the current view, and every view refers to the loaded arrays.
    EXPECT_EQ(paramsOf(1), params(0, 1, 2, 3));
    EXPECT_EQ(paramsOf(3), params(1, 0, 1, 1));
    EXPECT_EQ(views.viewAt(2).sets[2].storage, m_doc.sets[2].storage);
}

TEST(ParameterSetLinesTest, FillSetsInOrderAndMapOldInterpCodes) {
    struct Case {
        const char* text;
        std::vector<GraphParams> expected;
        int lines;
    };
    const Case cases[] = {
        // The set numbers are ignored: lines fill sets 1, 2, 3 in order.
        {"3 1 0 0 0\n1 2 1 1 1\n2 0 4 3 2\n",
         {params(1, 0, 0, 0), params(2, 1, 1, 1), params(0, 4, 3, 2)},
         3},
        // interp 3 → 2, 4 → 2, 5 → 2 (via 3), 6 → 4.
        {"1 3 0 0 0 2 4 0 0 0 3 6 0 0 0", {params(2, 0, 0, 0), params(2, 0, 0, 0), params(4, 0, 0, 0)}, 3},
        {"1 5 0 0 0\n", {params(2, 0, 0, 0)}, 1},
        // Numbers run across line ends.
        {"1 1\n0\n0 0 2\n2 1 1 1", {params(1, 0, 0, 0), params(2, 1, 1, 1)}, 2},
        // Values beyond the 8-bit fields saturate; negative ones stay.
        {"1 1000 300 -300 99999999999\n", {params(127, 127, -128, 127)}, 1},
        {"1 -1 -2 +3 -0\n", {params(-1, -2, 3, 0)}, 1},
        // A line that is cut short is not applied and ends the reading.
        {"1 2 1 1 1\n2 1 1\nvtitle=x\n", {params(2, 1, 1, 1), params(1, 0, 0, 0)}, 1},
        {"1 2 1 1 x\n", {params(1, 0, 0, 0)}, 0},
        {"1 2 1 1 1.5 2 0 0 0 0\n", {params(2, 1, 1, 1), params(1, 0, 0, 0)}, 1},
        {"", {params(1, 0, 0, 0)}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<DataSet> sets(c.expected.size());
        MemorySource source(c.text);
        EXPECT_EQ(readSetLines(source, sets, static_cast<int>(c.expected.size())), c.lines);
        for (std::size_t i = 0; i < sets.size(); ++i)
            EXPECT_EQ(sets[i].params, c.expected[i]) << "set " << i + 1;
    }
}

TEST(ParameterSetLinesTest, LinesBeyondTheSetsAreReadAndDropped) {
    const std::string text = "1 2 0 0 0\n2 0 0 1 1\n3 0 0 1 2\nvtitle=next\n";
    MemorySource source(text);
    std::vector<DataSet> sets(1);
    EXPECT_EQ(readSetLines(source, std::span(sets), 3), 3);
    EXPECT_EQ(sets[0].params, params(2, 0, 0, 0));
    // Reading stops after the last number: the rest of its line comes first.
    LineReader reader(source);
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.line(), "");
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.line(), "vtitle=next");
}

TEST(ParameterSetLinesTest, StopsBeforeTheNextSectionWhenCutShort) {
    const std::string text = "1 2 1 1 1\n2 1 1\nvtitle=next\ndata=1\n";
    MemorySource source(text);
    std::vector<DataSet> sets(3);
    readSetLines(source, sets, 3);
    LineReader reader(source);
    ASSERT_TRUE(reader.readLine());
    EXPECT_EQ(reader.line(), "vtitle=next");
}

TEST_F(ParameterReaderTest, KeyLinesTakeTheirValues) {
    const std::string keys =
        "xtype=-1\nxsize=50%\nxtitle=Time [s]\nxfont=Arial\nytype=1\nysize= 70 %\nytitle=日本語の題\n"
        "yfont=ＭＳ 明朝\nxmin=-1.5e-3\nymin=2\nxmax=1e+06\nymax=20\nprintw=12.5\nframewidth=0.6\n"
        "graphwidth=0.2\nmarkersize=1.3\n";
    ASSERT_TRUE(read("view=1" + section("Title = with = signs", keys)));
    EXPECT_EQ(m_doc.vtitle, "Title = with = signs");
    EXPECT_EQ(m_doc.xtype, -1);
    EXPECT_EQ(m_doc.xsize, 50);
    EXPECT_EQ(m_doc.xtitle, "Time [s]");
    EXPECT_EQ(m_doc.xfont, "Arial");
    EXPECT_EQ(m_doc.ytype, 1);
    EXPECT_EQ(m_doc.ysize, 70);
    EXPECT_EQ(m_doc.ytitle, "日本語の題");
    EXPECT_EQ(m_doc.yfont, "ＭＳ 明朝");
    EXPECT_EQ(m_doc.xmin, -1.5e-3);
    EXPECT_EQ(m_doc.ymin, 2);
    EXPECT_EQ(m_doc.xmax, 1e6);
    EXPECT_EQ(m_doc.ymax, 20);
    EXPECT_EQ(m_doc.printw, 12.5);
    EXPECT_EQ(m_doc.graphwidth, 0.2);
    EXPECT_EQ(m_doc.markersize, 1.3);
    // The tick pens follow the frame width.
    EXPECT_EQ(m_doc.framewidth, 0.6);
    EXPECT_EQ(m_doc.tickwidth, 0.6);
    EXPECT_DOUBLE_EQ(m_doc.subtickwidth, 0.4);
}

TEST_F(ParameterReaderTest, OddValuesAreCutSaturatedOrReadAsKeys) {
    struct Case {
        const char* keys;
        bool (*check)(const Document&);
    };
    const Case cases[] = {
        {"xsize=300%\n", [](const Document& d) { return d.xsize == 127; }},
        {"ytype=-200\n", [](const Document& d) { return d.ytype == -128; }},
        {"xmin=abc\nxmax=1e999\n", [](const Document& d) { return d.xmin == 0 && d.xmax == 0; }},
        {"xfont=A font name that is much longer than the forty-nine bytes of its field\n",
         [](const Document& d) {
             return d.xfont ==
                    std::string_view("A font name that is much longer than the forty-nine").substr(0, 49);
         }},
        // A key counts only at the start of the line, after blanks; the value is all after its '='.
        {"xtitle=ytype=3\n", [](const Document& d) { return d.xtitle == "ytype=3" && d.ytype == 0; }},
        {"my xsize=40\n", [](const Document& d) { return d.xsize == 100; }},
        {"  \txsize=40\n", [](const Document& d) { return d.xsize == 40; }},
        {"xtitle=see file=x.dat\n",
         [](const Document& d) { return d.xtitle == "see file=x.dat" && d.files.appendedCount() == 0; }},
        {" file=x.dat\n", [](const Document& d) { return baseNameIs(d.files.name(1), "x.dat"); }},
        // Lines without '=', unknown keys, comments and binary bytes are ignored.
        {"xsize\ncolour=red\n#xsize=20\n\x01\x02\xff=\xfe\n\nxsize 30\n",
         [](const Document& d) { return d.xsize == 100 && d.files.appendedCount() == 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        m_doc = Document();
        m_doc.files.setMain(m_main);
        ASSERT_TRUE(read("view=1" + section("t", c.keys)));
        EXPECT_TRUE(c.check(m_doc));
    }
}

TEST_F(ParameterReaderTest, TitlesHoldingKeysKeepTheWholeSection) {
    const char* const titles[] = {"Run data=5", "see file=x.dat", "view=3 data=0", "data="};
    for (const char* title : titles) {
        SCOPED_TRACE(title);
        m_doc = Document();
        m_doc.files.setMain(m_main);
        const std::string text =
            "view=1" + section(title, "xtitle=t file=a\nxmin=2\n", 3, "1 2 0 0 0\n2 0 0 1 1\n3 1 2 0 0\n");
        ASSERT_TRUE(read(text));
        EXPECT_EQ(m_doc.vtitle, title);
        EXPECT_EQ(m_doc.xtitle, "t file=a");
        EXPECT_EQ(m_doc.xmin, 2);
        EXPECT_EQ(m_doc.data, kLoaded);
        EXPECT_EQ(m_doc.files.appendedCount(), 0);
        EXPECT_EQ(paramsOf(2), params(0, 0, 1, 1));
    }
}

TEST_F(ParameterReaderTest, FileLinesBecomeAbsoluteNames) {
    m_folder.write("sub/x.dat", "1 2\n");
    const std::string keys =
        "file=..\\elsewhere\\y.dat\n"  // stored separators
        "file=sub/x.dat\n"             // native separators
        "file=*.1.@\n"                 // a child file of the main file
        "file=run.dat\n"               // the main file itself, appended to itself
        "file=.\\run.dat\n"            // the same
        "file=sub\n"                   // a folder: skipped
        "file=\n"                      // the main file's folder: skipped
        "file=..\n"
        "file=" +
        m_folder.file("abs.dat") + "\n";
    ASSERT_TRUE(read("view=1" + section("t", keys)));
    const std::string parent = std::filesystem::path(m_folder.path()).parent_path().string();
    const std::vector<std::string> expected = {m_main, parent + "/elsewhere/y.dat",
                                               m_folder.file("sub/x.dat"), m_main + ".1.@", m_main, m_main,
                                               m_folder.file("abs.dat")};
    EXPECT_EQ(m_doc.files.names(), expected);
    EXPECT_TRUE(m_boxes.messages().empty());
}

TEST_F(ParameterReaderTest, FileListStopsAtThirtyOneNames) {
    std::string keys;
    for (int j = 1; j <= 40; ++j) keys += "file=f" + std::to_string(j) + ".dat\n";
    ASSERT_TRUE(read("view=1" + section("t", keys)));
    ASSERT_EQ(m_doc.files.count(), kMaxFiles);
    EXPECT_EQ(m_doc.files.name(1), m_folder.file("f1.dat"));
    EXPECT_EQ(m_doc.files.name(30), m_folder.file("f30.dat"));
}

TEST_F(ParameterReaderTest, SectionCutShortLeavesTheRestReadable) {
    // Section 1 ends after one and a half set lines; section 2 follows.
    const std::string text = "view=2" + section("one", "", 3, "1 2 1 1 1\n2 0 1\n") +
                             section("two", "", 3, "1 0 0 1 1\n2 0 0 1 2\n3 0 0 1 3\n");
    ViewList views;
    ASSERT_TRUE(read(text, &views));
    ASSERT_EQ(views.viewCount(), 2);
    EXPECT_EQ(views.viewAt(1).sets[1].params, params(2, 1, 1, 1));
    EXPECT_EQ(views.viewAt(1).sets[2].params, params(1, 0, 0, 0));  // kept: its line was cut
    EXPECT_EQ(views.viewAt(2).vtitle, "two");
    EXPECT_EQ(views.viewAt(2).sets[3].params, params(0, 0, 1, 3));
}

TEST_F(ParameterReaderTest, OnlyTheCurrentViewIsCappedAtTheLoadedSets) {
    const std::string text =
        "view=2" + section("one", "", 5, "1 2 0 0 0\n2 2 0 0 0\n3 2 0 0 0\n4 0 0 1 1\n5 0 0 1 2\n") +
        section("two", "", 2, "1 0 0 1 0\n2 0 0 1 1\n") + section("three", "", 300, "");
    ViewList views;
    ASSERT_TRUE(read(text, &views));
    ASSERT_EQ(views.viewCount(), 3);
    const Document& one = views.viewAt(1);
    // Not current: it keeps all five stored sets, so that saving again loses none of its choices.
    EXPECT_EQ(one.data, 5);
    EXPECT_EQ(one.sets[3].params, params(2, 0, 0, 0));
    // The slots past the loaded sets hold only the stored choices, on records without data.
    EXPECT_EQ(one.sets[4].count, 0);
    EXPECT_EQ(one.sets[4].storage, nullptr);
    EXPECT_EQ(one.sets[5].params, params(0, 0, 1, 2));
    EXPECT_EQ(views.viewAt(2).data, 2);
    EXPECT_EQ(views.viewAt(3).data, kLoaded);  // 300 sets announced, no set lines stored
    EXPECT_EQ(m_doc.data, 2);
    // The current view, and doc, hold only what was loaded.
    ASSERT_TRUE(read("view=1" + section("big", "", 5, "1 0 0 1 0\n2 0 0 1 1\n3 0 0 1 2\n4 0 0 1 3\n5 0 0 1 0\n"),
                     &views));
    EXPECT_EQ(views.current().data, kLoaded);
    EXPECT_EQ(m_doc.data, kLoaded);
    // Without a list, doc's data is capped the same way.
    ASSERT_TRUE(read("view=1" + section("x", "", 9, "")));
    EXPECT_EQ(m_doc.data, kLoaded);
}

TEST_F(ParameterReaderTest, WithoutSectionsNothingIsRead) {
    const std::string texts[] = {
        "",
        "view=2\n",
        "view=1\n\nvtitle=cut off\nxsize=20%\n",  // no "data=": the section is incomplete
        "view=1\n\nvtitle=none\ndata=0\n1 1 0 0 0\n",
        std::string("\x00\x01 binary\n=====\n", 17),
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        m_doc.vtitle = "kept";
        m_doc.files.append(m_folder.file("old.dat"));
        ViewList views;
        views.addView();
        views.addView();
        EXPECT_FALSE(read(text, &views));
        EXPECT_EQ(m_doc.vtitle, "kept");
        EXPECT_EQ(m_doc.xsize, 100);
        EXPECT_EQ(m_doc.files.count(), 1);
        // The list is reduced to the first view, which takes doc.
        EXPECT_EQ(views.viewCount(), 1);
        EXPECT_EQ(views.current().vtitle, "kept");
        EXPECT_EQ(views.current().data, kLoaded);
        EXPECT_FALSE(read(text));
        EXPECT_EQ(m_doc.vtitle, "kept");
    }
}

TEST_F(ParameterReaderTest, ListHoldsAtMostTheViewsTheMenuCanSelect) {
    std::string text = "view=1000";
    for (int k = 1; k <= kMaxViews + 2; ++k) text += section(std::to_string(k), "", 1, "1 1 0 0 0\n");
    ViewList views;
    ASSERT_TRUE(read(text, &views));
    EXPECT_EQ(views.viewCount(), kMaxViews);
    EXPECT_EQ(views.indexOfCurrent(), kMaxViews);
    EXPECT_EQ(m_doc.vtitle, std::to_string(kMaxViews));
}

TEST_F(ParameterReaderTest, WithoutParameterFileTheDirectivesApply) {
    m_folder.write("run.dat", "title\n1 2\n2 3\n3 4\nend\n%x=2 20 log\n%nh=2\n");
    ViewList views;
    views.addView();
    ASSERT_TRUE(readParameters(m_doc.head(), m_doc.setRange(1, kLoaded), &views, m_boxes));
    EXPECT_EQ(m_doc.xmin, 2);
    EXPECT_EQ(m_doc.xmax, 20);
    EXPECT_EQ(m_doc.xtype, 1);
    EXPECT_EQ(paramsOf(1).interp, 2);
    ASSERT_EQ(views.viewCount(), 1);
    EXPECT_EQ(views.current().xmax, 20);
    EXPECT_EQ(views.current().sets[1].params.interp, 2);

    m_folder.write("run.dat", "1 2\n2 3\n");  // no closing text block: no directives
    EXPECT_FALSE(readParameters(m_doc.head(), m_doc.setRange(1, kLoaded), nullptr, m_boxes));
    m_doc.files.setMain(m_folder.file("missing.dat"));
    EXPECT_FALSE(readParameters(m_doc.head(), m_doc.setRange(1, kLoaded), nullptr, m_boxes));
}

TEST_F(ParameterReaderTest, ReadsTheUpperCaseFileAndElseTheLowerCaseOne) {
    m_folder.write("run.p", "view=1" + section("lower"));
    ASSERT_TRUE(readParameters(m_doc.head(), m_doc.setRange(1, kLoaded), nullptr, m_boxes));
    EXPECT_EQ(m_doc.vtitle, "lower");
    m_folder.write("run.P", "view=1" + section("upper"));
    ASSERT_TRUE(readParameters(m_doc.head(), m_doc.setRange(1, kLoaded), nullptr, m_boxes));
    EXPECT_EQ(m_doc.vtitle, "upper");
}

TEST(ParameterIsReferencedTest, ComparesFileValuesIgnoringCaseAndSeparators) {
    TempFolder folder;
    const std::string data = folder.write("run.dat", "1 2\n");
    EXPECT_FALSE(isReferenced(data, "*.1.@"));  // no parameter file
    folder.write("run.P", "view=1\n\nfile=*.1.@\nfile=..\\Sub\\X.dat\nvtitle=file=title.dat\ndata=0\n");
    struct Case {
        const char* name;
        bool referenced;
    };
    const Case cases[] = {
        {"*.1.@", true},
        {"*.2.@", false},
        {"../sub/x.dat", true},
        {"..\\SUB\\X.DAT", true},
        // Only a line that begins with "file=" names a file: a title holding the key does not.
        {"x.dat", false},
        {"file=title.dat", false},
        {"title.dat", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isReferenced(data, c.name), c.referenced) << c.name;
}

}  // namespace
}  // namespace varnex
