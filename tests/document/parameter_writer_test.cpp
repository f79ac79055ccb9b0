#include "document/parameter_writer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "document/line_reader.h"
#include "document/parameter_file.h"
#include "document/parameter_reader.h"
#include "document/view_list.h"
#include "support/recording_message_boxes.h"
#include "temp_folder.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;
using testing::RecordingMessageBoxes;
using testing::TempFolder;

// The names in a folder, to see that no temporary file is left behind.
std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// A one-view list with two sets and the configured widths, main file mainPath.
ViewList smallDocument(const std::string& mainPath) {
    ViewList views;
    Document& doc = views.current();
    doc.files.setMain(mainPath);
    doc.vtitle = "No Title";
    doc.printw = 15;
    doc.framewidth = doc.graphwidth = 0.3;
    doc.markersize = 1.3;
    doc.data = 2;
    return views;
}

TEST(ParameterFileNameTest, ReplacesOnlyTheFileNamesOwnExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/d/run.dat", "/d/run.P"},
        {"/d/run", "/d/run.P"},
        {"/d/run.tar.gz", "/d/run.tar.P"},
        {"/data/d.x/run", "/data/d.x/run.P"},  // a dot in a folder name is no extension
        {"/a.b/c.d/run.txt", "/a.b/c.d/run.P"},
        {"./run", "./run.P"},
        {"../run", "../run.P"},
        {"E:x.y", "E:x.P"},
        {"E:.x/run", "E:.x/run.P"},
        {"run.", "run.P"},
        {"run", "run.P"},
        {"/d/run.dat.1.@", "/d/run.dat.1.P"},
    };
    for (const auto& [data, expected] : cases) EXPECT_EQ(parameterFileName(data), expected) << data;
}

TEST(ParameterWriterTest, WritesTheExactText) {
    ViewList views = smallDocument("/data/run.dat");
    Document& doc = views.current();
    doc.files.append("/data/sub/x.dat");
    doc.files.append("/data/run.dat.2.@");
    doc.files.append("/other/y.dat");
    doc.files.append("E:/z.dat");  // another drive: no relative name, stored absolute
    doc.sets[2].params = {2, 4, 3, 1};
    const std::string expected =
        "view=1\r\n"
        "\r\n"
        "file=sub\\x.dat\r\n"
        "file=*.2.@\r\n"
        "file=..\\other\\y.dat\r\n"
        "file=E:\\z.dat\r\n"
        "vtitle=No Title\r\n"
        "xtype=0\r\n"
        "xsize=100%\r\n"
        "xtitle=X\r\n"
        "xfont=Times New Roman\r\n"
        "ytype=0\r\n"
        "ysize=100%\r\n"
        "ytitle=Y\r\n"
        "yfont=Times New Roman\r\n"
        "xmin=0\r\n"
        "ymin=0\r\n"
        "xmax=1\r\n"
        "ymax=1\r\n"
        "printw=15\r\n"
        "framewidth=0.3\r\n"
        "graphwidth=0.3\r\n"
        "markersize=1.3\r\n"
        "data=2\r\n"
        "1 1 0 0 0\r\n"
        "2 2 4 3 1\r\n";
    EXPECT_EQ(formatParameters(views), expected);
}

TEST(ParameterWriterTest, NumbersAndTextsInTheirFormats) {
    ViewList views = smallDocument("/data/run.dat");
    Document& doc = views.current();
    doc.xmin = -0.000123456789;
    doc.xmax = 1234567.0;
    doc.ymin = 1e-300;
    doc.ymax = 100000;
    doc.xtype = -1;
    doc.xsize = 50;
    doc.vtitle = "two\r\nlines";
    views.addView();
    views.addView();
    views.setCurrent(2);
    const std::string text = formatParameters(views);
    EXPECT_TRUE(text.starts_with("view=2\r\n\r\nvtitle=two\r\nxtype=-1\r\nxsize=50%\r\n"));
    EXPECT_NE(text.find("\r\nxmin=-0.000123457\r\nymin=1e-300\r\nxmax=1.23457e+06\r\nymax=100000\r\n"),
              std::string::npos);
    std::size_t sections = 0;
    for (std::size_t at = text.find("\r\n\r\n"); at != std::string::npos; at = text.find("\r\n\r\n", at + 1))
        ++sections;
    EXPECT_EQ(sections, 3u);
}

TEST(ParameterWriterTest, LongTitleIsCutToWhatOneLineHolds) {
    ViewList views = smallDocument("/data/run.dat");
    const std::string kept(248, 'a');
    views.current().vtitle = kept + "xsize=5";  // 255 bytes: the rest would read as a line of its own
    const std::string text = formatParameters(views);
    EXPECT_NE(text.find("\r\nvtitle=" + kept + "\r\n"), std::string::npos);

    RecordingMessageBoxes boxes;
    Document doc = views.current();
    MemorySource source(text);
    ASSERT_TRUE(readParameters(source, doc.head(), doc.loadedSets(), nullptr, boxes));
    EXPECT_EQ(doc.vtitle, kept);
    EXPECT_EQ(doc.xsize, 100);
}

TEST(ParameterWriterTest, DocumentWithoutDataWritesNothing) {
    TempFolder folder;
    const std::string old = folder.write("run.P", "old settings");
    ViewList views = smallDocument(folder.file("run.dat"));
    views.current().data = 0;
    views.addView();  // another view with data does not count: the current one decides
    views.viewAt(2).data = 2;
    views.setCurrent(1);
    EXPECT_EQ(formatParameters(views), "");
    EXPECT_EQ(writeParameters(views), WriteResult::NothingToWrite);
    EXPECT_EQ(folder.read("run.P"), "old settings");
    EXPECT_EQ(writeParameters(ViewList()), WriteResult::NothingToWrite);
}

TEST(ParameterWriterTest, ReplacesTheOldFileAndLeavesNoTemporary) {
    TempFolder folder;
    folder.write("run.dat", "1 2\n");
    folder.write("run.P", "old settings");
    fs::permissions(folder.file("run.P"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const ViewList views = smallDocument(folder.file("run.dat"));
    ASSERT_EQ(writeParameters(views), WriteResult::Written);
    EXPECT_EQ(folder.read("run.P"), formatParameters(views));
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"run.P", "run.dat"}));
    EXPECT_EQ(fs::status(folder.file("run.P")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A symbolic link stays and the file it names is replaced.
    folder.write("real.P", "old");
    fs::remove(folder.file("run.P"));
    fs::create_symlink(folder.file("real.P"), folder.file("run.P"));
    ASSERT_EQ(writeParameters(views), WriteResult::Written);
    EXPECT_TRUE(fs::is_symlink(folder.file("run.P")));
    EXPECT_EQ(folder.read("real.P"), formatParameters(views));

    // A name near the longest a folder takes: the temporary file needs a shorter name of its own.
    const std::string longStem = std::string(244, 'n');
    const ViewList longViews = smallDocument(folder.write(longStem + ".dat", "1 2\n"));
    ASSERT_EQ(writeParameters(longViews), WriteResult::Written);
    EXPECT_EQ(folder.read(longStem + ".P"), formatParameters(longViews));
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"real.P", "run.P", "run.dat", longStem + ".dat",
                                                             longStem + ".P"}));
}

// Writes that fail at every stage: the old file (if any) survives and no temporary file is left.
TEST(ParameterWriterTest, FailureLeavesTheOldFile) {
    TempFolder folder;
    const ViewList views = smallDocument(folder.file("run.dat"));

    // The folder of the file is a regular file, or does not exist: nothing can be created.
    folder.write("plain", "a file");
    EXPECT_EQ(writeParameters(smallDocument(folder.file("plain/run.dat"))), WriteResult::Failed);
    EXPECT_EQ(writeParameters(smallDocument(folder.file("missing/run.dat"))), WriteResult::Failed);
    EXPECT_EQ(folder.read("plain"), "a file");

    // The name is taken by a folder: the rename fails after the temporary was written.
    fs::create_directories(folder.file("run.P/inside"));
    EXPECT_EQ(writeParameters(views), WriteResult::Failed);
    EXPECT_TRUE(fs::is_directory(folder.file("run.P/inside")));
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"plain", "run.P"}));
    fs::remove_all(folder.file("run.P"));

    // A write fails half-way (the file-size limit is below the text's size).
    const std::string old = "old settings that must survive";
    folder.write("run.P", old);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteResult result = writeParameters(views);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(result, WriteResult::Failed);
    EXPECT_EQ(folder.read("run.P"), old);
    EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"plain", "run.P"}));
}

// --- Round trip -------------------------------------------------------------------------------------

GraphParams choice(int interp, int linetype, int marker, int shape) {
    return {static_cast<std::int8_t>(interp), static_cast<std::int8_t>(linetype),
            static_cast<std::int8_t>(marker), static_cast<std::int8_t>(shape)};
}

struct AxisValues {
    const char* vtitle;
    int xtype, xsize;
    const char* xtitle;
    const char* xfont;
    int ytype, ysize;
    const char* ytitle;
    const char* yfont;
    double xmin, ymin, xmax, ymax, printw, framewidth, graphwidth, markersize;
};

TEST(ParameterRoundTripTest, ThreeViewsComeBackAsTheyWere) {
    TempFolder folder;
    const std::string main = folder.write("data/run.dat", "1 2 3 4 5 6\n");
    const std::string other = folder.file("sub/x.dat");  // written as ..\sub\x.dat
    const std::string child = main + ".1.@";             // written as *.1.@

    // What a load leaves in every view: the same arrays and the same unstored fields.
    Document base;
    base.files.setMain(main);
    base.data = 5;
    base.filetime = 1234;
    base.filesets[1] = 1;
    base.printox = 1.5;
    base.printoy = 2;
    base.dataxmin = -3;
    base.area = {20, 90, 30, 80};
    for (int i = 1; i <= base.data; ++i) {
        base.sets[static_cast<std::size_t>(i)].storage = std::make_shared<SetStorage>();
        base.sets[static_cast<std::size_t>(i)].count = 2;
    }

    const AxisValues axes[] = {
        {"No Title", -1, 10, "X", "Times New Roman", 1, 100, "Y", "Times New Roman", -12.5, 1e-05, 325000000,
         123457, 15, 0.3, 0.3, 1.3},
        {"Graph 2 — 日本語の題", 0, 50, "Time [s]", "ＭＳ 明朝", -1, 70, "Counts / 1e3", "Arial", 0.001,
         -99999.5, 2.5e-07, 1e+300, 7.5, 0.25, 1, 0.02},
        {"", 1, 100, "", "", 0, 20, "file: y", "Courier", 1, 2, 3, 4, 20, 1, 0.125, 5},
    };
    const GraphParams choices[3][5] = {
        {choice(0, 0, 0, 0), choice(1, 1, 1, 1), choice(2, 2, 2, 2), choice(0, 3, 3, 3), choice(1, 4, 0, 0)},
        {choice(2, 4, 3, 3), choice(0, 3, 2, 2), choice(1, 2, 1, 1), choice(2, 1, 0, 0), choice(0, 0, 3, 1)},
        {choice(1, 0, 0, 2), choice(2, 1, 3, 0), choice(0, 2, 2, 3), choice(1, 3, 1, 1), choice(2, 4, 0, 2)},
    };
    ViewList views;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) views.addView();
        Document& view = views.current();
        view = base;
        if (k < 2) view.files.append(other);
        view.files.append(child);
        const AxisValues& a = axes[k];
        view.vtitle = a.vtitle;
        view.xtype = static_cast<std::int8_t>(a.xtype);
        view.xsize = static_cast<std::int8_t>(a.xsize);
        view.xtitle = a.xtitle;
        view.xfont = a.xfont;
        view.ytype = static_cast<std::int8_t>(a.ytype);
        view.ysize = static_cast<std::int8_t>(a.ysize);
        view.ytitle = a.ytitle;
        view.yfont = a.yfont;
        view.xmin = a.xmin;
        view.ymin = a.ymin;
        view.xmax = a.xmax;
        view.ymax = a.ymax;
        view.printw = a.printw;
        view.framewidth = a.framewidth;
        view.tickwidth = a.framewidth;
        view.subtickwidth = a.framewidth * 2 / 3;
        view.graphwidth = a.graphwidth;
        view.markersize = a.markersize;
        for (int i = 0; i < 5; ++i) view.sets[static_cast<std::size_t>(i + 1)].params = choices[k][i];
    }
    views.setCurrent(2);
    ASSERT_EQ(writeParameters(views), WriteResult::Written);
    EXPECT_NE(folder.read("data/run.P").find("\r\nfile=..\\sub\\x.dat\r\nfile=*.1.@\r\n"), std::string::npos);

    // Read back as the loader does: a work copy of the loaded document, into a list of old views.
    RecordingMessageBoxes boxes;
    Document work = base;
    ViewList read;
    read.addView();
    read.addView();
    read.addView();
    ASSERT_TRUE(readParameters(work.head(), work.loadedSets(), &read, boxes));
    ASSERT_EQ(read.viewCount(), 3);
    EXPECT_EQ(read.indexOfCurrent(), 2);
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(read.viewAt(k).head(), views.viewAt(k).head());
        EXPECT_TRUE(read.viewAt(k).sameAs(views.viewAt(k)));
    }
    EXPECT_TRUE(work.sameAs(views.viewAt(2)));
    EXPECT_EQ(work.files.names(), (std::vector<std::string>{main, other, child}));

    // Without a list the work copy receives the current view alone.
    Document single = base;
    ASSERT_TRUE(readParameters(single.head(), single.loadedSets(), nullptr, boxes));
    EXPECT_TRUE(single.sameAs(views.viewAt(2)));
    EXPECT_TRUE(boxes.messages().empty());
}

}  // namespace
}  // namespace varnex
