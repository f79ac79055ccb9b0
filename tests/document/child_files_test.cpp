#include "document/child_files.h"

#include <gtest/gtest.h>

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

TEST(ChildFilesTest, CleanUpKeepsReferencedChildrenAndTheFileToOpen) {
    TempFolder folder;
    const std::string main = folder.write("run.dat", "1 2\n");
    folder.write(baseName(parameterFileName(main)), "view=1\r\n\r\nfile=*.2.@\r\ndata=0\r\n");
    const char* const deleted[] = {"run.dat.1.@", "@.@", "@.@x"};
    const char* const kept[] = {
        "run.dat.2.@",      // named by the parameter file
        "run.data.1.@",     // a child of run.data
        "run.dat.old",      // a data file ...
        "run.dat.old.1.@",  // ... and its child
        "other.dat.1.@",
        "run.dat",
    };
    for (const char* name : deleted) folder.write(name, "1 2\n");
    for (const char* name : kept) folder.write(name, "1 2\n");

    cleanUpChildFiles(main, folder.file("@.@x"));
    EXPECT_FALSE(fs::exists(folder.file("run.dat.1.@")));
    EXPECT_FALSE(fs::exists(folder.file("@.@")));
    EXPECT_TRUE(fs::exists(folder.file("@.@x"))) << "the file about to be opened";
    for (const char* name : kept) EXPECT_TRUE(fs::exists(folder.file(name))) << name;

    // Leaving the paste file's own document for a new paste keeps the paste file.
    const std::string paste = folder.write("@.@", "1 2\n");
    cleanUpChildFiles(paste, paste);
    EXPECT_TRUE(fs::exists(paste));
    EXPECT_FALSE(fs::exists(folder.file("@.@x")));
    cleanUpChildFiles("");
    EXPECT_TRUE(fs::exists(paste));
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
