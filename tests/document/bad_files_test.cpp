// Files that give no data: only regular files are opened (a FIFO would block, a device never ends),
// and the message names the file and the reason.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "document/data_file_problems.h"
#include "document/data_pool.h"
#include "document/loader.h"
#include "document/parameter_file.h"
#include "document/sheet_file.h"
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

constexpr std::string_view kNoNumbers = "no numbers: no line with an x value and at least one y value";
constexpr std::string_view kUtf16 = "UTF-16 text, which is not read (save the file as UTF-8)";
constexpr std::string_view kCrOnly = "lines end with CR alone (convert the line ends to LF)";
constexpr std::string_view kFifo = "a FIFO (named pipe), not a regular file";
constexpr std::string_view kDevice = "a device, not a regular file";

// A FIFO that a writer opens and closes after 10 s if it is still there: a reader blocked in opening
// it then sees the end of the data, so a fault fails the test instead of hanging it.
class Fifo {
public:
    explicit Fifo(std::string path) : m_path(std::move(path)) {
        m_made = ::mkfifo(m_path.c_str(), 0600) == 0;
        m_release = std::thread([this] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!m_done && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            if (m_done) return;
            const int fd = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        });
    }
    ~Fifo() {
        m_done = true;
        m_release.join();
    }
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;

    bool made() const { return m_made; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    bool m_made = false;
    std::atomic<bool> m_done{false};
    std::thread m_release;
};

std::string utf16(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// A parameter file of one view that appends the given stored names.
std::string appending(const std::vector<std::string>& files) {
    std::string text = "view=1\r\n\r\n";
    for (const auto& file : files) text += "file=" + file + "\r\n";
    return text + "vtitle=T\r\nxmin=0\r\nymin=0\r\nxmax=10\r\nymax=10\r\ndata=1\r\n1 1 0 0 0\r\n";
}

TEST(DataFileProblemsTest, ReasonsFromTheFirstBytes) {
    struct Case {
        std::string bytes;
        bool whole;
        std::string_view reason;
    };
    const Case cases[] = {
        {"", true, "an empty file"},
        {utf16("1 2\n3 4\n"), true, kUtf16},
        {utf16("1 2\n3 4\n").substr(2), true, kUtf16},  // no byte-order mark
        {std::string("title\0\x01\x02\x03 binary\x7f", 17), true, "binary data (NUL bytes), not text"},
        {"title\r1 2\r3 4\r", true, kCrOnly},
        {"title\r\n1\r\n2\r\n", true, kNoNumbers},  // one column: no y
        {"only text\nmore text\n", true, kNoNumbers},
        {"", false, kNoNumbers},
        {"\n\n   \n", true, kNoNumbers},
    };
    for (const Case& c : cases) EXPECT_EQ(noDataReason(c.bytes, c.whole), c.reason) << c.bytes;
}

class BadFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_main = m_folder.write("main.dat", "Main\n\nt a b\n0 1 2\n1 2 3\n");
        m_folder.write("a1.dat", "one\n0 5\n1 6\n");
    }

    int open(const std::string& path) { return loadIntoViews(m_views, LoadMode::New, path, m_context); }

    // Each reported file, as its detail; every message is the invalid-data text with the error caption.
    std::vector<std::string> details() const {
        std::vector<std::string> result;
        for (const auto& m : m_messages.messages()) {
            EXPECT_EQ(m.kind, "inform");
            EXPECT_EQ(m.caption, kErrorCaption);
            EXPECT_EQ(m.text, kInvalidDataText);
            result.push_back(m.detail);
        }
        return result;
    }

    CurrentDirectoryScope m_scope;
    TempFolder m_folder;
    std::string m_main;
    RecordingMessageBoxes m_messages;
    DataPool m_pool{m_messages};
    LoadContext m_context{m_pool, m_messages};
    ViewList m_views;
};

TEST_F(BadFilesTest, AFailedOpenNamesTheFileAndTheReason) {
    struct Case {
        const char* name;
        std::function<std::string(const TempFolder&)> make;  // returns the file to open
        std::string_view reason;
    };
    const Case cases[] = {
        {"missing", [](const TempFolder& f) { return f.file("missing.dat"); }, "no such file"},
        {"folder",
         [](const TempFolder& f) {
             fs::create_directory(f.file("folder.dat"));
             return f.file("folder.dat");
         },
         "a folder, not a file"},
        {"device",
         [](const TempFolder& f) {
             fs::create_symlink("/dev/null", f.file("null.dat"));
             return f.file("null.dat");
         },
         kDevice},
        {"dangling link",
         [](const TempFolder& f) {
             fs::create_symlink(f.file("gone.dat"), f.file("link.dat"));
             return f.file("link.dat");
         },
         "no such file"},
        {"empty", [](const TempFolder& f) { return f.write("empty.dat", ""); }, "an empty file"},
        {"text only", [](const TempFolder& f) { return f.write("text.dat", "only text\n\nmore\n"); }, kNoNumbers},
        {"one column", [](const TempFolder& f) { return f.write("one.dat", "x\n1\n2\n"); }, kNoNumbers},
        {"UTF-16", [](const TempFolder& f) { return f.write("wide.dat", utf16("t\n1 2\n3 4\n")); }, kUtf16},
        {"CR only", [](const TempFolder& f) { return f.write("mac.dat", "t\r1 2\r3 4\r"); }, kCrOnly},
    };
    for (const Case& c : cases) {
        m_messages.clear();
        const std::string path = c.make(m_folder);
        EXPECT_EQ(open(path), 0) << c.name;
        EXPECT_EQ(details(), std::vector<std::string>{path + ": " + std::string(c.reason)}) << c.name;
        EXPECT_EQ(m_views.current().data, 0) << c.name;
    }
}

TEST_F(BadFilesTest, AFifoIsNeverOpened) {
    const Fifo fifo(m_folder.file("pipe.dat"));
    ASSERT_TRUE(fifo.made());
    EXPECT_EQ(open(fifo.path()), 0);
    EXPECT_EQ(details(), std::vector<std::string>{fifo.path() + ": " + std::string(kFifo)});
}

TEST_F(BadFilesTest, ADeviceThatNeverEndsIsNeverRead) {
    const std::string zero = m_folder.file("zero.dat");
    fs::create_symlink("/dev/zero", zero);
    EXPECT_EQ(open(zero), 0);
    EXPECT_EQ(details(), std::vector<std::string>{zero + ": " + std::string(kDevice)});
}

TEST_F(BadFilesTest, AppendedFilesThatAreNotRegularAreReportedAndLeftOut) {
    const Fifo fifo(m_folder.file("pipe.dat"));
    ASSERT_TRUE(fifo.made());
    fs::create_symlink("/dev/zero", m_folder.file("zero.dat"));
    fs::create_directory(m_folder.file("folder.dat"));
    m_folder.write(baseName(parameterFileName(m_main)),
                   appending({"pipe.dat", "zero.dat", "folder.dat", "missing.dat", "a1.dat"}));
    ASSERT_EQ(open(m_main), 3);
    EXPECT_EQ(m_views.current().files.names(), (std::vector<std::string>{m_main, m_folder.file("a1.dat")}));
    // A missing appended file is dropped without a word, as before, and the parameter file already
    // leaves folders out of the list.
    EXPECT_EQ(details(), (std::vector<std::string>{fifo.path() + ": " + std::string(kFifo),
                                                    m_folder.file("zero.dat") + ": " + std::string(kDevice)}));
}

TEST_F(BadFilesTest, AReloadFindsAFileReplacedByAFifoMissing) {
    m_folder.write(baseName(parameterFileName(m_main)), appending({"a1.dat"}));
    ASSERT_EQ(open(m_main), 3);
    fs::remove(m_folder.file("a1.dat"));
    const Fifo fifo(m_folder.file("a1.dat"));
    ASSERT_TRUE(fifo.made());
    EXPECT_FALSE(allFilesPresent(m_views.current()));
    EXPECT_EQ(reloadDocument(m_views, m_context), ReloadResult::FilesMissing);
    EXPECT_EQ(m_views.current().data, 3);
}

TEST_F(BadFilesTest, TheDataSheetReadsOnlyRegularFiles) {
    const Fifo fifo(m_folder.file("pipe.dat"));
    ASSERT_TRUE(fifo.made());
    fs::create_symlink("/dev/zero", m_folder.file("zero.dat"));
    EXPECT_EQ(readSheetFile(fifo.path(), 1000), std::nullopt);
    EXPECT_EQ(readSheetFile(m_folder.file("zero.dat"), 1000), std::nullopt);
    EXPECT_NE(readSheetFile(m_main, 1000), std::nullopt);
}

TEST_F(BadFilesTest, LinksAreFollowed) {
    const std::string link = m_folder.file("link.dat");
    fs::create_symlink(m_main, link);
    EXPECT_EQ(open(link), 2);
    EXPECT_TRUE(m_messages.messages().empty());
    EXPECT_EQ(readProblem(link), std::nullopt);
}

}  // namespace
}  // namespace varnex
