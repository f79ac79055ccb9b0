#include "document/child_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <string>

#include "document/parameter_file.h"
#include "document/view_list.h"
#include "file_fixtures.h"
#include "util/paths.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;
using testing::CurrentDirectoryScope;
using testing::readBytes;
using testing::TempFolder;

TEST(ChildFilesTest, NamesTakeTheLowestFreeNumber) {
    TempFolder folder;
    const std::string main = folder.write("run.dat", "1 2\n");
    const auto first = newChildName(main);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, folder.file("run.dat.1.@"));
    ASSERT_TRUE(writePastedText(*first, "1 2\n"));
    EXPECT_EQ(newChildName(main), folder.file("run.dat.2.@"));
    folder.write("run.dat.2.@", "1 3\n");
    // Released and deleted: the number is free again.
    fs::remove(*first);
    EXPECT_EQ(newChildName(main), folder.file("run.dat.1.@"));
}

TEST(ChildFilesTest, WithoutAMainFileThePasteFileOfTheCurrentFolder) {
    TempFolder folder;
    CurrentDirectoryScope scope;
    fs::current_path(folder.path());
    EXPECT_EQ(newChildName(""), folder.file("@.@"));
    // It is overwritten, never numbered.
    folder.write("@.@", "old\n");
    EXPECT_EQ(newChildName(""), folder.file("@.@"));
}

TEST(ChildFilesTest, PastedTextIsWrittenByteForByte) {
    TempFolder folder;
    const std::string path = folder.file("run.dat.1.@");
    ASSERT_TRUE(writePastedText(path, "x y\r\n1 2\r\n3 4\n\r"));
    EXPECT_EQ(readBytes(path), "x y\r\n1 2\r\n3 4\n\r");
    ASSERT_TRUE(writePastedText(path, std::string("1 2\n\0garbage", 12)));
    EXPECT_EQ(readBytes(path), "1 2\n");
    EXPECT_FALSE(writePastedText(folder.file("no/such/folder/x.@"), "1 2\n"));
}

// Clean-up deletes only files this run made that are temporary or that the parameter file on disk does
// not name; a file another instance made, or a data file that merely begins with "@.@", stays.
TEST(ChildFilesTest, CleanUpDeletesOnlyWhatThisRunMadeAndNothingNames) {
    struct Case {
        const char* name;
        bool made;     // written by this run
        bool deleted;  // gone after leaving run.dat
    };
    const Case cases[] = {
        {"run.dat.1.@", true, true},         // pasted, never saved
        {"run.dat.2.@", true, false},        // named by the parameter file
        {"run.dat.3.@", false, false},       // another instance's paste
        {"run.dat.old.1.@", true, false},    // a child of run.dat.old
        {"run.data.1.@", true, false},       // a child of run.data
        {"other.dat.1.@", true, false},
        {"@.@", true, true},                 // the paste file ...
        {"@.@.1.@", true, true},             // ... and its own child files are temporary
        {"@.@results.dat", false, false},    // a data file, open as a graph maybe
        {"@.@x", true, false},               // the file about to be opened
        {"sub/run.dat.4.@", true, false},    // another folder
    };
    TempFolder folder;
    const std::string main = folder.write("run.dat", "1 2\n");
    folder.write("run.dat.old", "1 2\n");
    MadeChildFiles made;
    for (const Case& c : cases) {
        folder.write(c.name, "1 2\n");
        if (c.made) made.add(folder.file(c.name));
    }
    // Another instance saved the parameter file after this one read it: the file on disk counts.
    folder.write(baseName(parameterFileName(main)), "view=1\r\n\r\nfile=*.2.@\r\ndata=0\r\n");

    cleanUpChildFiles(main, made, folder.file("@.@x"));
    for (const Case& c : cases) {
        EXPECT_EQ(fs::exists(folder.file(c.name)), !c.deleted) << c.name;
        EXPECT_EQ(made.contains(folder.file(c.name)), c.made && !c.deleted) << c.name;
    }
    // Nothing for an empty name; a listed file that is gone leaves the list.
    fs::remove(folder.file("run.dat.2.@"));
    cleanUpChildFiles("", made);
    EXPECT_TRUE(made.contains(folder.file("run.dat.2.@")));
    cleanUpChildFiles(main, made);
    EXPECT_FALSE(made.contains(folder.file("run.dat.2.@")));
    EXPECT_TRUE(fs::exists(folder.file("@.@x")));
}

TEST(ChildFilesTest, LeavingThePasteFileForANewPasteKeepsIt) {
    TempFolder folder;
    MadeChildFiles made;
    const std::string paste = folder.write("@.@", "1 2\n");
    made.add(paste);
    cleanUpChildFiles(paste, made, paste);
    EXPECT_TRUE(fs::exists(paste));
    cleanUpChildFiles(paste, made);
    EXPECT_FALSE(fs::exists(paste));
}

// A write that fails part-way (here: the file-size limit, as a full disk would) leaves no file behind.
TEST(ChildFilesTest, AFailedPasteWriteLeavesNoFile) {
    TempFolder folder;
    const std::string path = folder.file("run.dat.1.@");
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writePastedText(path, std::string(100000, '1'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(fs::exists(path));
    // A device is never removed.
    EXPECT_FALSE(writePastedText("/dev/full", "1 2\n"));
    EXPECT_TRUE(fs::exists("/dev/full"));
}

TEST(ChildFilesTest, SaveMainAsCopiesTheChildFilesAndRelistsEveryView) {
    TempFolder folder;
    const std::string main = folder.write("run.dat", "1 2\n");
    const std::string child1 = folder.write("run.dat.1.@", "1 3\n");
    const std::string child2 = folder.write("run.dat.2.@", "1 4\n");
    const std::string other = folder.write("other.dat", "1 5\n");
    ViewList views;
    views.first().files.setMain(main);
    views.first().files.append(child1);
    views.first().files.append(other);
    views.first().files.append(child2);
    views.addView();
    views.current().files.remove(3);
    views.setCurrent(1);

    const std::string newMain = folder.file("saved/new.dat");
    fs::create_directories(folder.file("saved"));
    ASSERT_TRUE(saveMainAs(views, newMain));
    EXPECT_EQ(readBytes(newMain), "1 2\n");
    EXPECT_EQ(readBytes(newMain + ".1.@"), "1 3\n");
    EXPECT_EQ(readBytes(newMain + ".2.@"), "1 4\n");
    EXPECT_EQ(views.first().files.names(),
              (std::vector<std::string>{newMain, newMain + ".1.@", other, newMain + ".2.@"}));
    EXPECT_EQ(views.viewAt(2).files.names(), (std::vector<std::string>{newMain, newMain + ".1.@", other}));
    for (const auto& old : {main, child1, child2, other}) EXPECT_TRUE(fs::exists(old)) << old;

    // Never over an existing main file.
    folder.write("taken.dat", "9 9\n");
    const FileList before = views.first().files;
    EXPECT_FALSE(saveMainAs(views, folder.file("taken.dat")));
    EXPECT_EQ(readBytes(folder.file("taken.dat")), "9 9\n");
    EXPECT_EQ(views.first().files, before);
}

}  // namespace
}  // namespace varnex
