#include "document/loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "document/data_pool.h"
#include "document/parameter_file.h"
#include "document/parameter_writer.h"
#include "document/view_list.h"
#include "file_fixtures.h"
#include "support/recording_message_boxes.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;
using testing::CurrentDirectoryScope;
using testing::RecordingMessageBoxes;
using testing::TempFolder;

// One view section of a parameter file: its appended files (stored names), limits 0..10 and the set
// lines "i interp linetype marker shape".
std::string section(const std::vector<std::string>& files, const std::vector<GraphParams>& sets,
                    const std::string& vtitle = "Stored") {
    std::string text = "\r\n";
    for (const auto& file : files) text += "file=" + file + "\r\n";
    text += "vtitle=" + vtitle +
            "\r\nxtype=0\r\nxsize=100%\r\nxtitle=X\r\nxfont=Times New Roman\r\nytype=0\r\nysize=100%\r\n"
            "ytitle=Y\r\nyfont=Times New Roman\r\nxmin=0\r\nymin=0\r\nxmax=10\r\nymax=10\r\nprintw=15\r\n"
            "framewidth=0.3\r\ngraphwidth=0.3\r\nmarkersize=1.3\r\ndata=" +
            std::to_string(sets.size()) + "\r\n";
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const GraphParams& p = sets[i];
        text += std::to_string(i + 1) + " " + std::to_string(p.interp) + " " + std::to_string(p.linetype) + " " +
                std::to_string(p.marker) + " " + std::to_string(p.shape) + "\r\n";
    }
    return text;
}

// The pool's byte figure for the sets of doc: one block per set and the curve work space.
std::int64_t expectedPoolBytes(const Document& doc) {
    std::int64_t bytes = 0;
    for (const DataSet& set : doc.loadedSets()) bytes += (2 * std::int64_t{set.count} + 2) * 8 + 512 + 8;
    return bytes + (std::int64_t{maxCount(doc.loadedSets())} + 1) * 72 + 8;
}

std::vector<std::string> setNames(const Document& doc) {
    std::vector<std::string> names;
    for (const DataSet& set : doc.loadedSets()) names.push_back(baseName(set.name()));
    return names;
}

std::vector<GraphParams> setParams(const Document& doc) {
    std::vector<GraphParams> params;
    for (const DataSet& set : doc.loadedSets()) params.push_back(set.params);
    return params;
}

// A line of `n` sets: x 0 and the values 1.
std::string wideLine(int n, int x) {
    std::string line = std::to_string(x);
    for (int i = 0; i < n; ++i) line += " 1";
    return line + "\n";
}

const std::vector<GraphParams> kStored = {{2, 1, 0, 0}, {1, 2, 0, 1}, {0, 0, 1, 2},
                                          {1, 3, 1, 3}, {1, 4, 0, 0}, {2, 0, 1, 1}};

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_main = m_folder.write("main.dat", "Main title\n\nt a b\n0 1 2\n1 2 3\n");
        m_folder.write("a1.dat", "one\n0 5\n1 6\n2 7\n");
        m_folder.write("sub/a2.dat", "three\n0 1 2 3\n1 2 3 4\n");
    }

    void writeParameters(const std::string& text) const { m_folder.write(baseName(parameterFileName(m_main)), text); }
    int open(const std::string& path) { return loadIntoViews(m_views, LoadMode::New, path, m_context); }

    CurrentDirectoryScope m_scope;
    TempFolder m_folder;
    std::string m_main;
    RecordingMessageBoxes m_messages;
    DataPool m_pool{m_messages};
    LoadContext m_context{m_pool, m_messages};
    ViewList m_views;
};

TEST_F(LoaderTest, OpensTheAppendedFilesOfTheParameterFileInOrder) {
    writeParameters("view=1\r\n" + section({"a1.dat", "sub\\a2.dat"}, kStored));
    ASSERT_EQ(open(m_main), 6);
    const Document& doc = m_views.current();
    EXPECT_EQ(doc.files.names(), (std::vector<std::string>{m_main, m_folder.file("a1.dat"), m_folder.file("sub/a2.dat")}));
    EXPECT_EQ(doc.filesets[1], 1);
    EXPECT_EQ(doc.filesets[2], 3);
    EXPECT_EQ(setNames(doc), (std::vector<std::string>{"main.dat", "main.dat", "a1.dat", "a2.dat", "a2.dat", "a2.dat"}));
    EXPECT_EQ(doc.sets[3].title(), "[a1.dat] one");
    EXPECT_EQ(doc.sets[4].title(), "[sub/a2.dat] three");
    EXPECT_EQ(doc.sets[6].title(), "[sub/a2.dat] three");
    EXPECT_EQ(setParams(doc), kStored);
    EXPECT_EQ(doc.vtitle, "Stored");
    EXPECT_EQ(doc.xmax, 10);
    EXPECT_EQ(doc.dataxmax, 2);
    EXPECT_EQ(doc.dataymax, 7);
    EXPECT_EQ(doc.filetime, std::max({lastWriteTime(m_main), lastWriteTime(m_folder.file("a1.dat")),
                                      lastWriteTime(m_folder.file("sub/a2.dat"))}));
    EXPECT_EQ(currentDirectory(), m_folder.path());
    EXPECT_TRUE(m_messages.messages().empty());

    // The pool counts this load alone, however often the file is opened or reloaded.
    EXPECT_EQ(m_pool.bytesTaken(), expectedPoolBytes(doc));
    ASSERT_EQ(open(m_main), 6);
    ASSERT_EQ(reloadDocument(m_views, m_context), ReloadResult::Reloaded);
    EXPECT_EQ(m_pool.bytesTaken(), expectedPoolBytes(m_views.current()));
    EXPECT_EQ(m_views.current().sets[4].title(), "[sub/a2.dat] three") << "prefixed once per load";
}

TEST_F(LoaderTest, AppendedFileKeepsItsOwnDrawingChoicesButNotItsAxes) {
    // Without a parameter file of the main file, the appended file's own current view gives its sets'
    // choices; its limits never reach the graph.
    m_folder.write("a1.P", "view=2\r\n" + section({}, {{0, 0, 1, 1}}) + section({}, {{2, 3, 1, 2}}));
    ASSERT_EQ(open(m_main), 2);
    ASSERT_EQ(loadIntoViews(m_views, LoadMode::Append, m_folder.file("a1.dat"), m_context), 3);
    const Document& doc = m_views.current();
    EXPECT_EQ(doc.sets[3].params, (GraphParams{2, 3, 1, 2}));
    EXPECT_EQ(doc.sets[1].params, (GraphParams{1, 0, 0, 0}));
    EXPECT_EQ(doc.xmax, 1.05);
    EXPECT_EQ(doc.files.name(1), m_folder.file("a1.dat"));
    EXPECT_EQ(doc.filesets[1], 1);
}

// What a save stores of a view and a reopen must give back.
struct SavedView {
    std::vector<std::string> files;
    std::vector<int> filesets;
    std::string vtitle;
    std::string xtitle;
    double xmax;
    std::vector<GraphParams> params;
    friend bool operator==(const SavedView&, const SavedView&) = default;
    friend void PrintTo(const SavedView& v, std::ostream* out) {
        *out << v.files.size() << " files, " << v.params.size() << " sets, vtitle \"" << v.vtitle << "\", xtitle \""
             << v.xtitle << "\", xmax " << v.xmax;
    }
};

SavedView savedView(const Document& doc) {
    SavedView view{doc.files.names(), {}, doc.vtitle.str(), doc.xtitle.str(), doc.xmax, setParams(doc)};
    for (int j = 1; j <= doc.files.appendedCount(); ++j) view.filesets.push_back(doc.filesets[j]);
    return view;
}

TEST_F(LoaderTest, SavedStateReopensExactly) {
    struct Case {
        const char* name;
        const char* mainText;
        const char* xtitle;
        std::vector<std::string> appended;  // appended after opening, in order ("" = the main file)
    };
    const Case cases[] = {
        {"title holding keys", "Run data=5\n0 1 2\n1 2 3\n", "see file=a1.dat", {}},
        {"title beginning with a key", "  data=1 file=x\n0 1\n1 2\n", "X", {"a1.dat"}},
        {"main file appended to itself", "Main\n0 1 2\n1 2 3\n", "X", {"", "a1.dat", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(parameterFileName(m_main));
        m_folder.write("main.dat", c.mainText);
        ASSERT_GT(open(m_main), 0);
        for (const std::string& name : c.appended)
            ASSERT_GT(loadIntoViews(m_views, LoadMode::Append, name.empty() ? m_main : m_folder.file(name), m_context),
                      0);
        Document& doc = m_views.current();
        doc.xtitle = c.xtitle;
        doc.xmax = 42;
        for (int i = 1; i <= doc.data; ++i) doc.sets[i].params = kStored[static_cast<std::size_t>(i - 1) % kStored.size()];
        const SavedView before = savedView(doc);
        ASSERT_EQ(varnex::writeParameters(m_views), WriteResult::Written);
        ASSERT_EQ(open(m_main), static_cast<int>(before.params.size()));
        EXPECT_EQ(savedView(m_views.current()), before);
    }
}

TEST_F(LoaderTest, ConstantDataOpensWithARangeAroundIt) {
    struct Case {
        const char* name;
        const char* text;
        const char* parameters;  // "" for none
        std::array<double, 4> limits;  // xmin, xmax, ymin, ymax
    };
    const Case cases[] = {
        {"flat sensor", "0 5\n1 5\n2 5\n", "", {-0.1, 2.1, 4.5, 5.5}},
        {"constant x", "3 1\n3 2\n", "", {2.7, 3.3, 0.95, 2.05}},
        {"one point", "2 0\n", "", {1.8, 2.2, -1, 1}},
        {"stored limits that do not increase", "0 5\n1 5\n",
         "view=1\r\n\r\nytype=1\r\nxmin=0\r\nxmax=1\r\nymin=5\r\nymax=5\r\ndata=1\r\n1 1 0 0 0\r\n",
         {0, 1, 0.5, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(parameterFileName(m_main));
        if (*c.parameters) writeParameters(c.parameters);
        m_folder.write("main.dat", c.text);
        ASSERT_EQ(open(m_main), 1);
        const Document& doc = m_views.current();
        const std::array<double, 4> limits = {doc.xmin, doc.xmax, doc.ymin, doc.ymax};
        for (std::size_t k = 0; k < limits.size(); ++k) EXPECT_DOUBLE_EQ(limits[k], c.limits[k]) << k;
    }
}

TEST_F(LoaderTest, ViewsComeFromTheParameterFileAndShareTheLoadedArrays) {
    std::vector<GraphParams> eight(8, GraphParams{0, 0, 1, 1});
    writeParameters("view=2\r\n" + section({"a1.dat"}, {{0, 0, 1, 0}, {0, 0, 1, 1}, {0, 0, 1, 2}}, "First") +
                    section({"a1.dat", "sub\\a2.dat"}, kStored, "Second") + section({}, eight, "Third"));
    ASSERT_EQ(open(m_main), 6);
    ASSERT_EQ(m_views.viewCount(), 3);
    EXPECT_EQ(m_views.indexOfCurrent(), 2);
    const Document& current = m_views.current();
    EXPECT_EQ(current.vtitle, "Second");
    EXPECT_EQ(setParams(current), kStored);
    const Document& first = m_views.viewAt(1);
    EXPECT_EQ(first.vtitle, "First");
    EXPECT_EQ(first.data, 3);
    EXPECT_EQ(first.sets[3].params, (GraphParams{0, 0, 1, 2}));
    EXPECT_EQ(m_views.viewAt(3).data, 8) << "a view that is not current keeps its stored sets";
    // Saved again, the third view still gives all eight choices.
    const std::string saved = formatParameters(m_views);
    EXPECT_NE(saved.find("data=8\r\n1 0 0 1 1\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\n8 0 0 1 1\r\n"), std::string::npos);
    for (int v : {1, 3}) {
        const Document& view = m_views.viewAt(v);
        for (int i = 1; i <= view.data; ++i) {
            EXPECT_EQ(view.sets[i].storage, current.sets[i].storage);
            EXPECT_EQ(view.sets[i].count, current.sets[i].count);
        }
        EXPECT_EQ(view.sets[7].storage, nullptr);
    }
}

TEST_F(LoaderTest, ReloadKeepsTheDrawingChoicesSlotBySlot) {
    ASSERT_EQ(open(m_main), 2);
    Document& doc = m_views.current();
    doc.sets[1].params = {2, 1, 0, 0};
    doc.sets[2].params = {0, 2, 1, 1};
    doc.sets[3].params = {0, 0, 1, 3};  // an unused slot
    m_views.addView();
    m_views.setCurrent(1);
    const auto oldStorage = m_views.current().sets[1].storage;

    m_folder.write("main.dat", "Main title\n\nt a b c d\n0 1 2 3 4\n1 2 3 4 5\n");
    ASSERT_EQ(reloadDocument(m_views, m_context), ReloadResult::Reloaded);
    const Document& reloaded = m_views.current();
    EXPECT_EQ(setParams(reloaded),
              (std::vector<GraphParams>{{2, 1, 0, 0}, {0, 2, 1, 1}, {0, 0, 1, 3}, {1, 0, 0, 0}}));
    EXPECT_EQ(reloaded.xmax, m_views.viewAt(2).xmax) << "the axes stay";
    EXPECT_EQ(reloaded.filetime, lastWriteTime(m_main));
    EXPECT_NE(reloaded.sets[1].storage, oldStorage);
    EXPECT_EQ(m_views.viewAt(2).sets[1].storage, reloaded.sets[1].storage);
    EXPECT_EQ(oldStorage.use_count(), 1) << "no view refers to the old arrays";

    // A lost column: the set disappears, its slot keeps its choices for later.
    m_folder.write("main.dat", "Main title\n\nt a\n0 1\n1 2\n");
    ASSERT_EQ(reloadDocument(m_views, m_context), ReloadResult::Reloaded);
    EXPECT_EQ(m_views.current().data, 1);
    EXPECT_EQ(m_views.current().sets[2].storage, nullptr);
    EXPECT_EQ(m_views.current().sets[2].params, (GraphParams{0, 2, 1, 1}));
    EXPECT_EQ(m_views.viewAt(2).data, 2) << "the other view keeps its sets";
    EXPECT_EQ(m_views.viewAt(2).sets[2].storage, nullptr) << "but not the arrays of the lost column";
}

TEST_F(LoaderTest, ReloadWithAMissingFileChangesNothing) {
    writeParameters("view=1\r\n" + section({"a1.dat"}, {{1, 0, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}}));
    ASSERT_EQ(open(m_main), 3);
    fs::remove(m_folder.file("a1.dat"));
    const Document before = m_views.current();
    EXPECT_FALSE(allFilesPresent(before));
    EXPECT_EQ(reloadDocument(m_views, m_context), ReloadResult::FilesMissing);
    EXPECT_TRUE(m_views.current().sameAs(before));

    // The main file without numbers: the graph is emptied as by a failed open.
    m_folder.write("a1.dat", "one\n0 5\n");
    m_folder.write("main.dat", "no numbers\n");
    EXPECT_EQ(reloadDocument(m_views, m_context), ReloadResult::Failed);
    EXPECT_EQ(m_views.current().data, 0);
}

TEST_F(LoaderTest, MissingAppendedFileIsDroppedAndTheLoadSucceeds) {
    writeParameters("view=1\r\n" + section({"gone.dat", "a1.dat"}, {{1, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 1, 1}}));
    ASSERT_EQ(open(m_main), 3);
    const Document& doc = m_views.current();
    EXPECT_EQ(doc.files.names(), (std::vector<std::string>{m_main, m_folder.file("a1.dat")}));
    EXPECT_EQ(doc.filesets[1], 1);
    EXPECT_EQ(doc.filesets[2], 0);
    EXPECT_EQ(doc.sets[3].title(), "[a1.dat] one");
}

TEST_F(LoaderTest, LoadingStopsAt255Sets) {
    std::string block;
    for (const char* name : {"wide1.dat", "wide2.dat"}) m_folder.write(name, wideLine(100, 0) + wideLine(100, 1));
    m_folder.write("main.dat", wideLine(100, 0) + wideLine(100, 1));
    writeParameters("view=1\r\n" + section({"wide1.dat", "wide2.dat", "a1.dat"}, {{1, 0, 0, 0}}));
    ASSERT_EQ(open(m_main), kMaxSets);
    const Document& doc = m_views.current();
    EXPECT_EQ(doc.files.appendedCount(), 2) << "a1.dat found no free slot";
    EXPECT_EQ(doc.filesets[1], 100);
    EXPECT_EQ(doc.filesets[2], 55);
    EXPECT_EQ(baseName(doc.sets[255].name()), "wide2.dat");
    ASSERT_EQ(reloadDocument(m_views, m_context), ReloadResult::Reloaded);
    EXPECT_EQ(m_views.current().data, kMaxSets);
}

TEST_F(LoaderTest, FailedOpenEmptiesTheFirstView) {
    writeParameters("view=2\r\n" + section({}, {{1, 0, 0, 0}, {1, 0, 0, 0}}) + section({}, {{1, 0, 0, 0}, {1, 0, 0, 0}}));
    ASSERT_EQ(open(m_main), 2);
    ASSERT_EQ(m_views.viewCount(), 2);
    const std::string empty = m_folder.write("empty.dat", "only text\n");
    EXPECT_EQ(open(empty), 0);
    EXPECT_EQ(open(m_folder.file("missing.dat")), 0);
    EXPECT_EQ(m_views.viewCount(), 1);
    EXPECT_EQ(m_views.indexOfCurrent(), 1);
    EXPECT_EQ(m_views.current().data, 0);
    EXPECT_EQ(m_views.current().sets[1].storage, nullptr);
    EXPECT_EQ(m_pool.bytesTaken(), 0);
    ASSERT_EQ(m_messages.messages().size(), 2u);
    EXPECT_EQ(m_messages.messages()[0].caption, kErrorCaption);
    EXPECT_EQ(m_messages.messages()[0].text, kInvalidDataText);
}

TEST(OtherDriveTest, DriveLettersAreComparedAsCharacters) {
    EXPECT_EQ(otherDriveQuestion("/data/x.dat", "/home/m.dat"), std::nullopt);
    EXPECT_EQ(otherDriveQuestion("E:/data/x.dat", "E:/d/m.dat"), std::nullopt);
    EXPECT_EQ(otherDriveQuestion("F:/x.dat", "E:/d/m.dat"),
              "異なるドライブからは(F:->E:)、ファイルを追加できません。\n"
              "現在のフォルダ(E:/d/)にデータをコピーして追加しますか？");
    EXPECT_TRUE(otherDriveQuestion("e:/x.dat", "E:/d/m.dat"));
    EXPECT_TRUE(otherDriveQuestion("E:/x.dat", "/d/m.dat"));
}

// Names with a drive letter, relative to the current folder, stand for files on another drive.
TEST_F(LoaderTest, AppendFromAnotherDriveCopiesTheFileOnYesOnly) {
    ASSERT_EQ(open(m_main), 2);
    TempFolder elsewhere;
    elsewhere.write("E:extra.dat", "extra\n0 4\n1 5\n");
    fs::current_path(elsewhere.path());
    const Document before = m_views.current();
    const std::int64_t bytes = m_pool.bytesTaken();

    m_messages.scriptAnswers({Answer::No});
    EXPECT_EQ(loadIntoViews(m_views, LoadMode::Append, "E:extra.dat", m_context), 2);
    ASSERT_EQ(m_messages.messages().size(), 1u);
    EXPECT_EQ(m_messages.messages()[0].kind, "ask");
    EXPECT_EQ(m_messages.messages()[0].caption, kCaption);
    EXPECT_EQ(m_messages.messages()[0].text, *otherDriveQuestion("E:extra.dat", m_main));
    EXPECT_TRUE(m_views.current().sameAs(before));
    EXPECT_EQ(m_pool.bytesTaken(), bytes);
    EXPECT_FALSE(fs::exists(m_folder.file("extra.dat")));

    m_messages.scriptAnswers({Answer::Yes});
    EXPECT_EQ(loadIntoViews(m_views, LoadMode::Append, "E:extra.dat", m_context), 3);
    const Document& doc = m_views.current();
    EXPECT_EQ(doc.files.name(1), m_folder.file("extra.dat"));
    EXPECT_EQ(testing::readBytes(m_folder.file("extra.dat")), "extra\n0 4\n1 5\n");
    EXPECT_EQ(doc.sets[3].title(), "[extra.dat] extra");
}

TEST(ReleaseAppendedTest, LaterSetsMoveDownWithTheirChoices) {
    // Main file 2 sets, file 1 one set, file 2 three sets.
    Document doc;
    doc.files.setMain("/d/main.dat");
    doc.files.append("/d/one.dat");
    doc.files.append("/d/three.dat");
    doc.data = 6;
    doc.filesets[1] = 1;
    doc.filesets[2] = 3;
    for (int i = 1; i <= 6; ++i) doc.sets[i].params.shape = static_cast<std::int8_t>(i);
    EXPECT_FALSE(releaseAppended(doc, 0));
    EXPECT_FALSE(releaseAppended(doc, 3));

    ASSERT_TRUE(releaseAppended(doc, 1));
    EXPECT_EQ(doc.files.names(), (std::vector<std::string>{"/d/main.dat", "/d/three.dat"}));
    EXPECT_EQ(doc.data, 5);
    EXPECT_EQ(doc.filesets[1], 3);
    EXPECT_EQ(doc.filesets[2], 0);
    std::vector<int> shapes;
    for (int i = 1; i <= 5; ++i) shapes.push_back(doc.sets[i].params.shape);
    EXPECT_EQ(shapes, (std::vector<int>{1, 2, 4, 5, 6}));
}

TEST(AppendTest, AFullFileListRefusesTheFileAndChangesNothing) {
    RecordingMessageBoxes messages;
    DataPool pool(messages);
    pool.reserveWorkSpace(10);
    Document doc;
    doc.files.setMain("/d/main.dat");
    for (int j = 1; j < kMaxFiles; ++j) doc.files.append("/d/f" + std::to_string(j) + ".dat");
    doc.data = 2;
    const Document before = doc;
    EXPECT_EQ(loadDocument(doc, LoadMode::Append, "/d/one-more.dat", LoadContext{pool, messages}), 2);
    EXPECT_TRUE(doc.sameAs(before));
    EXPECT_EQ(pool.bytesTaken(), 11 * 72 + 8);
}

TEST_F(LoaderTest, ReleaseThenReload) {
    writeParameters("view=1\r\n" + section({"a1.dat", "sub\\a2.dat"}, kStored));
    ASSERT_EQ(open(m_main), 6);
    ASSERT_TRUE(releaseAppended(m_views.current(), 1));
    ASSERT_EQ(reloadDocument(m_views, m_context), ReloadResult::Reloaded);
    const Document& doc = m_views.current();
    EXPECT_EQ(doc.data, 5);
    EXPECT_EQ(doc.filesets[1], 3);
    EXPECT_EQ(setParams(doc), (std::vector<GraphParams>{kStored[0], kStored[1], kStored[3], kStored[4], kStored[5]}));
    EXPECT_EQ(doc.sets[3].title(), "[sub/a2.dat] three");
}

}  // namespace
}  // namespace varnex
