#include "document/listed_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "document/model.h"
#include "document/parameter_file.h"
#include "document/view_list.h"
#include "file_fixtures.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempFolder;

// A parameter file of one section naming the given "file=" values.
std::string parameters(std::initializer_list<const char*> files) {
    std::string text = "view=1\r\n\r\n";
    for (const char* f : files) text += std::string("file=") + f + "\r\n";
    return text + "vtitle=T\r\ndata=1\r\n1 1 0 0 0\r\n";
}

// One view: main file data.dat with the given appended files, one set from each file.
ViewList document(const TempFolder& folder, std::initializer_list<const char*> appended) {
    ViewList views;
    Document& doc = views.current();
    doc.files.setMain(folder.write("data.dat", "1 2\n"));
    int j = 0;
    for (const char* name : appended) {
        doc.files.append(folder.write(name, "1 3\n"));
        doc.filesets[static_cast<std::size_t>(++j)] = 1;
    }
    doc.data = 1 + j;
    return views;
}

TEST(ListedFilesTest, EntriesMarkFilesTheParameterFileDoesNotName) {
    TempFolder folder;
    ViewList views = document(folder, {"sub/extra.dat", "data.dat.2.@"});
    folder.write("data.P", parameters({"sub\\extra.dat"}));
    const std::vector<ListedFile> entries = listedFiles(views.current());
    ASSERT_EQ(entries.size(), 3u);
    const struct {
        const char* label;
        bool recorded, child, edit, rename;
    } expected[] = {
        {"&0  data.dat", true, false, true, false},
        {"&1  sub/extra.dat", true, false, true, false},
        {"&2* .2.@", false, true, false, true},
    };
    for (std::size_t k = 0; k < entries.size(); ++k) {
        EXPECT_EQ(entries[k].index, static_cast<int>(k));
        EXPECT_EQ(entries[k].label, expected[k].label) << k;
        EXPECT_EQ(entries[k].recorded, expected[k].recorded) << k;
        EXPECT_EQ(entries[k].childFile, expected[k].child) << k;
        EXPECT_EQ(entries[k].canEdit, expected[k].edit) << k;
        EXPECT_EQ(entries[k].canRename, expected[k].rename) << k;
    }

    // The paste file as main file: nothing can be edited or renamed; no entries without data.
    Document paste;
    paste.files.setMain(folder.write("@.@", "1 2\n"));
    paste.files.append(folder.file("@.@.1.@"));
    paste.data = 2;
    for (const ListedFile& e : listedFiles(paste)) EXPECT_FALSE(e.canEdit || e.canRename) << e.label;
    paste.data = 0;
    EXPECT_TRUE(listedFiles(paste).empty());
}

TEST(ListedFilesTest, SaveNamesFollowTheChildFileRule) {
    EXPECT_EQ(proposedSaveName("/d/data.dat.1.@", true), "data.dat.1");
    EXPECT_EQ(proposedSaveName("/d/data.dat", false), "data.dat");
    EXPECT_EQ(proposedSaveName("/d/plain", true), "plain");
    const struct {
        const char* chosen;
        const char* name;
        bool renamed;
    } cases[] = {
        {"/d/data.dat.keep.@", "/d/data.dat.keep.@", false},
        {"/d/data.dat.keep", "/d/data.dat.keep.@", false},
        {"/d/x.@", "/d/data.dat.x.@", true},
        {"/e/X.@", "/e/data.dat.X.@", true},
    };
    for (const auto& c : cases) {
        const ChildFileName name = childFileName(c.chosen, "/d/data.dat");
        EXPECT_EQ(name.name, c.name) << c.chosen;
        EXPECT_EQ(name.renamed, c.renamed) << c.chosen;
    }
    EXPECT_TRUE(isChildFileOf("/d/data.dat.1.@", "/d/data.dat"));
    EXPECT_FALSE(isChildFileOf("/d/data.dat.1.@", "/d/data.d"));
    EXPECT_FALSE(isChildFileOf("/d/other.dat.1.@", "/d/data.dat"));
    EXPECT_FALSE(isChildFileOf("/d/data.dat.@", "/d/data.dat"));
    EXPECT_FALSE(isChildFileOf("/d/data.dat.1.txt", "/d/data.dat"));
}

TEST(ListedFilesTest, MovingAFileNeverOverwritesAndKeepsTheOldOneUntilSaved) {
    TempFolder folder;
    ViewList views = document(folder, {"data.dat.1.@"});
    const std::string old = folder.file("data.dat.1.@");

    // The target exists: nothing changes.
    folder.write("taken.@", "9 9\n");
    EXPECT_EQ(moveListedFile(views, 1, folder.file("taken.@")), SaveAsResult::NotCopied);
    EXPECT_EQ(readBytes(folder.file("taken.@")), "9 9\n");
    EXPECT_EQ(views.current().files.name(1), old);
    EXPECT_EQ(moveListedFile(views, 2, folder.file("free.@")), SaveAsResult::NotCopied);

    // The parameter file's name, free as yet: writing the parameter file would overwrite the moved file.
    EXPECT_EQ(moveListedFile(views, 1, folder.file("data.P")), SaveAsResult::NotCopied);
    EXPECT_FALSE(fs::exists(folder.file("data.P")));
    EXPECT_EQ(readBytes(old), "1 3\n");
    EXPECT_EQ(views.current().files.name(1), old);

    // The parameter file cannot be written (its name is a folder): the copy goes, the old file stays.
    fs::create_directories(folder.file("data.P"));
    EXPECT_EQ(moveListedFile(views, 1, folder.file("data.dat.keep.@")), SaveAsResult::ParametersNotWritten);
    EXPECT_FALSE(fs::exists(folder.file("data.dat.keep.@")));
    EXPECT_TRUE(fs::exists(old));
    EXPECT_EQ(views.current().files.name(1), old);
    fs::remove(folder.file("data.P"));

    // Another view lists the file too: it follows, so the stored views never name the old file.
    views.addView();
    ASSERT_EQ(moveListedFile(views, 1, folder.file("data.dat.keep.@")), SaveAsResult::Saved);
    EXPECT_FALSE(fs::exists(old));
    EXPECT_EQ(readBytes(folder.file("data.dat.keep.@")), "1 3\n");
    for (int v = 1; v <= 2; ++v) EXPECT_EQ(views.viewAt(v).files.name(1), folder.file("data.dat.keep.@"));
    const std::string stored = readBytes(folder.file("data.P"));
    EXPECT_EQ(stored.find(".1.@"), std::string::npos);
    EXPECT_NE(stored.find("file=*.keep.@\r\n"), std::string::npos);
}

TEST(ListedFilesTest, SavingTheMainFileAsANewNameKeepsTheOldFiles) {
    TempFolder folder;
    ViewList views = document(folder, {"data.dat.1.@"});
    ASSERT_EQ(saveMainFileAs(views, folder.file("copy.dat")), SaveAsResult::Saved);
    EXPECT_EQ(readBytes(folder.file("copy.dat")), "1 2\n");
    EXPECT_EQ(readBytes(folder.file("copy.dat.1.@")), "1 3\n");
    EXPECT_TRUE(fs::exists(folder.file("data.dat")));
    EXPECT_TRUE(fs::exists(folder.file("data.dat.1.@")));
    EXPECT_NE(readBytes(folder.file("copy.P")).find("file=*.1.@\r\n"), std::string::npos);
    EXPECT_EQ(views.current().files.name(0), folder.file("copy.dat"));

    // A new name that is its own parameter file's name.
    EXPECT_EQ(saveMainFileAs(views, folder.file("copy2.P")), SaveAsResult::NotCopied);
    EXPECT_FALSE(fs::exists(folder.file("copy2.P")));

    // A child copy that would overwrite an existing file refuses the whole save.
    ViewList again = document(folder, {"data.dat.1.@"});
    folder.write("other.dat.1.@", "keep me\n");
    EXPECT_EQ(saveMainFileAs(again, folder.file("other.dat")), SaveAsResult::NotCopied);
    EXPECT_FALSE(fs::exists(folder.file("other.dat")));
    EXPECT_EQ(readBytes(folder.file("other.dat.1.@")), "keep me\n");

    // A child file that cannot be copied (its new name is too long for the file system): nothing is
    // saved, so that leaving data.dat does not take the only copy of the child file with it.
    const std::string longChild = "data.dat." + std::string(240, 'k') + ".@";
    ViewList third = document(folder, {longChild.c_str()});
    EXPECT_EQ(saveMainFileAs(third, folder.file("datafile-longer.dat")), SaveAsResult::CopyFailed);
    EXPECT_FALSE(fs::exists(folder.file("datafile-longer.dat")));
    EXPECT_FALSE(fs::exists(folder.file("datafile-longer.P")));
    EXPECT_EQ(third.current().files.name(0), folder.file("data.dat"));
    EXPECT_EQ(third.current().files.name(1), folder.file(longChild));

    // The parameter file cannot be written: the copies go and the lists come back.
    fs::create_directories(folder.file("third.P"));
    EXPECT_EQ(saveMainFileAs(again, folder.file("third.dat")), SaveAsResult::ParametersNotWritten);
    EXPECT_FALSE(fs::exists(folder.file("third.dat")));
    EXPECT_FALSE(fs::exists(folder.file("third.dat.1.@")));
    EXPECT_EQ(again.current().files.name(0), folder.file("data.dat"));
    EXPECT_EQ(again.current().files.name(1), folder.file("data.dat.1.@"));
}

// Copies that fail half-way (the file-size limit is below the files' size) leave no part of a copy.
TEST(ListedFilesTest, CopiesThatFailHalfWayLeaveNothing) {
    TempFolder folder;
    const std::string big(5000, '7');
    ViewList smallMain = document(folder, {"data.dat.1.@"});
    smallMain.current().files.setMain(folder.write("small.dat", "1 2\n"));
    smallMain.current().files.append(folder.write("small.dat.1.@", big));
    ViewList views = document(folder, {"data.dat.1.@"});
    folder.write("data.dat", big);
    folder.write("data.dat.1.@", big);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const SaveAsResult moved = moveListedFile(views, 1, folder.file("data.dat.keep.@"));
    const SaveAsResult mainCopied = saveMainFileAs(views, folder.file("copy.dat"));
    const SaveAsResult childCopied = saveMainFileAs(smallMain, folder.file("other.dat"));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);

    // Reported as failed copies, not as names that exist (which the commands pass over in silence).
    EXPECT_EQ(moved, SaveAsResult::CopyFailed);
    EXPECT_EQ(mainCopied, SaveAsResult::CopyFailed);
    EXPECT_EQ(childCopied, SaveAsResult::CopyFailed);
    for (const char* name : {"data.dat.keep.@", "copy.dat", "copy.dat.1.@", "other.dat", "other.dat.1.@"})
        EXPECT_FALSE(fs::exists(folder.file(name))) << name;
    EXPECT_EQ(readBytes(folder.file("data.dat.1.@")), big);
    EXPECT_EQ(views.current().files.name(1), folder.file("data.dat.1.@"));
}

TEST(ListedFilesTest, ReleaseDeletesOnlyUnreferencedChildFilesOfThisDataFile) {
    const struct {
        const char* appended;
        const char* stored;  // the parameter file's "file=" line, or none
        bool listedInAnotherView;
        ReleaseResult result;
        const char* otherDataFile = nullptr;  // another data file of the folder
    } cases[] = {
        {"data.dat.1.@", "*.1.@", false, ReleaseResult::Released},
        {"data.dat.1.@", nullptr, false, ReleaseResult::Deleted},
        {"data.dat.1.@", nullptr, true, ReleaseResult::Released},
        {"plain.dat", nullptr, false, ReleaseResult::Released},
        {"other.dat.1.@", nullptr, false, ReleaseResult::Released},
        {"@.@", nullptr, false, ReleaseResult::Released},
        // A child of data.dat.old, which its own parameter file may name.
        {"data.dat.old.1.@", nullptr, false, ReleaseResult::Released, "data.dat.old"},
        {"data.dat.old.1.@", nullptr, false, ReleaseResult::Deleted},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        if (c.otherDataFile) folder.write(c.otherDataFile, "1 4\n");
        ViewList views = document(folder, {c.appended});
        if (c.stored) folder.write("data.P", parameters({c.stored}));
        if (c.listedInAnotherView) {
            views.addView();
            views.setCurrent(1);
        }
        EXPECT_EQ(releaseListedFile(views, 1), c.result) << c.appended;
        EXPECT_EQ(fs::exists(folder.file(c.appended)), c.result != ReleaseResult::Deleted) << c.appended;
        EXPECT_EQ(views.current().files.count(), 1) << c.appended;
        EXPECT_EQ(views.current().data, 1) << c.appended;
        EXPECT_EQ(releaseListedFile(views, 1), ReleaseResult::NotListed);
    }
}

}  // namespace
}  // namespace varnex
