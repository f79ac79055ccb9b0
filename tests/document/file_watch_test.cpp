#include "document/file_watch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "file_fixtures.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// A Document of a main file and one appended file, both written a minute ago and recorded.
class FileWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_main = m_folder.write("run.dat", "1 2\n");
        m_extra = m_folder.write("extra.dat", "1 3\n");
        setTime(m_main, m_base);
        setTime(m_extra, m_base);
        m_doc.files.setMain(m_main);
        m_doc.files.append(m_extra);
        recordFileTime(m_doc);
    }

    static void setTime(const std::string& path, fs::file_time_type time) { fs::last_write_time(path, time); }

    TempFolder m_folder;
    const fs::file_time_type m_base = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    std::string m_main;
    std::string m_extra;
    DocumentHead m_doc;
};

TEST_F(FileWatchTest, NewestTimeOfTheListedFiles) {
    EXPECT_FALSE(filesChanged(m_doc));
    EXPECT_EQ(m_doc.filetime, newestFileTime(m_doc));
    EXPECT_NE(m_doc.filetime, 0);
    // The parameter file does not count.
    m_folder.write("run.P", "view=1\n");
    EXPECT_FALSE(filesChanged(m_doc));
    EXPECT_EQ(newestFileTime(DocumentHead{}), 0);
}

TEST_F(FileWatchTest, TouchingAnAppendedFileIsAChange) {
    setTime(m_extra, m_base + std::chrono::seconds(5));
    EXPECT_TRUE(filesChanged(m_doc));
    recordFileTime(m_doc);
    EXPECT_FALSE(filesChanged(m_doc));
}

// Whole-second times would miss the second write of a file rewritten twice within a second.
TEST_F(FileWatchTest, WritesWithinOneSecondAreSeen) {
    setTime(m_main, m_base + std::chrono::milliseconds(1));
    EXPECT_TRUE(filesChanged(m_doc));
    recordFileTime(m_doc);
    setTime(m_main, m_base + std::chrono::milliseconds(2));
    EXPECT_TRUE(filesChanged(m_doc));
}

TEST_F(FileWatchTest, DeletedMainFileIsNoChangeUntilRestoredNewer) {
    fs::remove(m_main);
    EXPECT_FALSE(filesChanged(m_doc));
    m_folder.write("run.dat", "1 5\n");
    setTime(m_main, m_base);
    EXPECT_FALSE(filesChanged(m_doc));  // restored with its old time: nothing new
    setTime(m_main, m_base + std::chrono::seconds(1));
    EXPECT_TRUE(filesChanged(m_doc));
}

TEST_F(FileWatchTest, TimeGoingBackwardsIsNoChange) {
    setTime(m_main, m_base - std::chrono::hours(24));
    setTime(m_extra, m_base - std::chrono::hours(1));
    EXPECT_FALSE(filesChanged(m_doc));
}

}  // namespace
}  // namespace varnex
