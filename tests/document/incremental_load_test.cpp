// Reading a Document on from where its last load stopped, when its files have only grown, gives what
// reading them whole gives; any other change is read whole.
#include "document/incremental_load.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "document/data_pool.h"
#include "document/view_list.h"
#include "file_fixtures.h"
#include "random_data_files.h"
#include "support/recording_message_boxes.h"
#include "util/codepage.h"

namespace varnex {
namespace {

using testing::CurrentDirectoryScope;
using testing::RecordingMessageBoxes;
using testing::TempFolder;

// A parameter file of one view that names `file` as appended, with one set line.
std::string parameterFile(const std::string& file) {
    return "view=1\r\n\r\nfile=" + file +
           "\r\nvtitle=Stored\r\nxtype=0\r\nxsize=100%\r\nxtitle=X\r\nxfont=Times New Roman\r\nytype=0\r\n"
           "ysize=100%\r\nytitle=Y\r\nyfont=Times New Roman\r\nxmin=0\r\nymin=0\r\nxmax=10\r\nymax=10\r\n"
           "printw=15\r\nframewidth=0.3\r\ngraphwidth=0.3\r\nmarkersize=1.3\r\ndata=1\r\n1 1 0 0 0\r\n";
}

void appendBytes(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

// A Document read whole from the files of `like`, in a pool of its own, as reloadDocument reads them.
struct WholeRead {
    RecordingMessageBoxes messages;
    DataPool pool{messages};
    ViewList views;
    explicit WholeRead(const Document& like) {
        views.current() = like;
        views.current().readState.reset();
        EXPECT_EQ(reloadDocument(views, LoadContext{pool, messages}), ReloadResult::Reloaded);
    }
};

void expectSameDocument(const Document& got, const DataPool& gotPool, const WholeRead& want, const std::string& what) {
    const Document& w = want.views.current();
    EXPECT_TRUE(got.head() == w.head()) << what;
    testing::expectSameSets(got.setRange(1, kMaxSets), w.setRange(1, kMaxSets), what);
    EXPECT_EQ(gotPool.bytesTaken(), want.pool.bytesTaken()) << what;
    EXPECT_EQ(gotPool.blockCount(), want.pool.blockCount()) << what;
}

class IncrementalLoadTest : public ::testing::Test {
protected:
    CurrentDirectoryScope directory;
    TempFolder folder;
    RecordingMessageBoxes messages;
    DataPool pool{messages};
    ViewList views;
    LoadContext context{pool, messages};
};

TEST_F(IncrementalLoadTest, GrowingFilesAreReadOnAndEqualAWholeRead) {
    const char* env = std::getenv("VARNEX_SEED");
    const unsigned seed = env ? static_cast<unsigned>(std::strtoul(env, nullptr, 10)) : 7100U;
    int withAppendedFile = 0;
    for (unsigned i = 0; i < 120; ++i) {
        std::mt19937 random(seed + i);
        const bool shiftJis = random() % 4 == 0;
        const CodePage saved = systemCodePage();
        setSystemCodePage(shiftJis ? CodePage::ShiftJis : CodePage::Utf8);
        const std::string main = testing::randomDataFile(random, shiftJis);
        const std::string extra = testing::randomDataFile(random, shiftJis);
        const std::string what = "VARNEX_SEED=" + std::to_string(seed + i);
        // The main file names the appended file; each starts with a part of its text.
        const std::size_t mainCut = random() % (main.size() + 1);
        const std::size_t extraCut = random() % (extra.size() + 1);
        const std::string mainPath = folder.write("run" + std::to_string(i) + ".dat", main.substr(0, mainCut));
        const std::string extraPath = folder.write("extra" + std::to_string(i) + ".dat", extra.substr(0, extraCut));
        folder.write("run" + std::to_string(i) + ".P", parameterFile("extra" + std::to_string(i) + ".dat"));
        if (openNewDocument(views, mainPath, pool, messages) == 0) {
            setSystemCodePage(saved);
            continue;
        }
        if (views.current().files.count() == 2) ++withAppendedFile;
        // Grow the files in two steps, the main file, the appended file or both each time.
        for (int step = 0; step < 2; ++step) {
            const int which = static_cast<int>(random() % 3);
            if (which != 1) {
                const std::size_t to = step == 1 ? main.size() : mainCut + random() % (main.size() - mainCut + 1);
                const std::size_t from = std::filesystem::file_size(mainPath);
                appendBytes(mainPath, std::string_view(main).substr(from, to - from));
            }
            if (which != 0) {
                const std::size_t to = step == 1 ? extra.size() : extraCut + random() % (extra.size() - extraCut + 1);
                const std::size_t from = std::filesystem::file_size(extraPath);
                appendBytes(extraPath, std::string_view(extra).substr(from, to - from));
            }
            const bool extraListed = views.current().files.count() == 2;
            const AppendedReload result = reloadAppended(views, context);
            ASSERT_EQ(result, AppendedReload::ReadOn) << what << ", step " << step << (extraListed ? "" : " (one file)");
            const WholeRead whole(views.current());
            expectSameDocument(views.current(), pool, whole, what + ", step " + std::to_string(step));
        }
        setSystemCodePage(saved);
        if (HasFailure()) return;
    }
    EXPECT_GT(withAppendedFile, 60) << "most cases have an appended file that grows";
}

TEST_F(IncrementalLoadTest, OtherChangesAreReadWhole) {
    const std::string text = "Title\n\nset\n1 2\n2 3\n3 4\n";
    struct Case {
        const char* name;
        void (*change)(const std::string& path);
        AppendedReload result;
    };
    const Case cases[] = {
        {"nothing changed", [](const std::string&) {}, AppendedReload::ReadOn},
        {"a row appended", [](const std::string& p) { appendBytes(p, "4 5\n"); }, AppendedReload::ReadOn},
        {"an unfinished row appended", [](const std::string& p) { appendBytes(p, "4 5"); }, AppendedReload::ReadOn},
        {"shrank", [](const std::string& p) { std::filesystem::resize_file(p, 19); }, AppendedReload::ReadWhole},
        {"rewritten in place, as long",
         [](const std::string& p) {
             std::fstream file(p, std::ios::binary | std::ios::in | std::ios::out);
             file.seekp(0);
             file << "Other";
         },
         AppendedReload::ReadWhole},
        {"replaced by another file",
         [](const std::string& p) {
             // Kept under another name, so that the new file cannot take its inode.
             std::filesystem::rename(p, p + ".old");
             std::ofstream(p, std::ios::binary) << "Title\n\nset\n1 2\n2 3\n3 4\n5 6\n";
         },
         AppendedReload::ReadWhole},
    };
    for (const Case& c : cases) {
        const std::string path = folder.write("data.dat", text);
        ASSERT_GT(openNewDocument(views, path, pool, messages), 0);
        c.change(path);
        EXPECT_EQ(reloadAppended(views, context), c.result) << c.name;
        const WholeRead whole(views.current());
        expectSameDocument(views.current(), pool, whole, c.name);
        // Whatever happened, the next append is read on.
        appendBytes(path, "\n9 9\n");
        EXPECT_EQ(reloadAppended(views, context), AppendedReload::ReadOn) << c.name;
        const WholeRead again(views.current());
        expectSameDocument(views.current(), pool, again, std::string(c.name) + ", then appended");
    }
    std::filesystem::remove(folder.file("data.dat"));
    EXPECT_EQ(reloadAppended(views, context), AppendedReload::FilesMissing);
}

TEST_F(IncrementalLoadTest, DrawingChoicesAndTheOtherViewsFollowAsInAWholeRead) {
    const std::string path = folder.write("data.dat", "t\n1 2 3\n2 3 4\n");
    folder.write("data.P", "view=2\r\n\r\nvtitle=A\r\nxmin=0\r\nxmax=5\r\nymin=0\r\nymax=5\r\ndata=2\r\n1 2 0 1 1\r\n"
                           "2 0 0 1 2\r\n\r\nvtitle=B\r\ndata=2\r\n1 1 1 0 0\r\n2 1 2 0 0\r\n");
    ASSERT_EQ(openNewDocument(views, path, pool, messages), 2);
    ASSERT_EQ(views.viewCount(), 2);
    const GraphParams chosen = views.current().sets[1].params;
    appendBytes(path, "3 4 5\n4 5 6\n");
    ASSERT_EQ(reloadAppended(views, context), AppendedReload::ReadOn);
    EXPECT_EQ(views.current().sets[1].params, chosen);
    EXPECT_EQ(views.current().sets[1].count, 4);
    EXPECT_EQ(views.viewAt(1).sets[2].count, 4) << "the other view shares the new arrays";
    EXPECT_EQ(views.viewAt(1).sets[2].storage, views.current().sets[2].storage);
    EXPECT_EQ(pool.bytesTaken(), 2 * ((2 * 4 + 2) * 8 + 512 + 8) + 5 * 72 + 8);
}

TEST_F(IncrementalLoadTest, AFileAppendedToItselfIsReadOnBothTimes) {
    const std::string path = folder.write("self.dat", "t\n1 2\n2 3\n");
    folder.write("self.P", parameterFile("self.dat"));
    ASSERT_EQ(openNewDocument(views, path, pool, messages), 2);
    ASSERT_EQ(views.current().files.count(), 2);
    appendBytes(path, "3 4\n");
    ASSERT_EQ(reloadAppended(views, context), AppendedReload::ReadOn);
    EXPECT_EQ(views.current().sets[1].count, 3);
    EXPECT_EQ(views.current().sets[2].count, 3);
    EXPECT_NE(views.current().sets[1].storage, views.current().sets[2].storage);
    EXPECT_EQ(views.current().sets[2].title(), "[self.dat] t");
    const WholeRead whole(views.current());
    expectSameDocument(views.current(), pool, whole, "appended to itself");
}

}  // namespace
}  // namespace varnex
