#include "util/paths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "support/recording_message_boxes.h"
#include "util/codepage.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;
using varnex::testing::RecordingMessageBoxes;

// Switches the system code page for one test and restores it afterwards.
class CodePageScope {
public:
    explicit CodePageScope(CodePage codePage) : m_saved(systemCodePage()) { setSystemCodePage(codePage); }
    ~CodePageScope() { setSystemCodePage(m_saved); }
    CodePageScope(const CodePageScope&) = delete;
    CodePageScope& operator=(const CodePageScope&) = delete;

private:
    CodePage m_saved;
};

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        std::random_device random;
        m_path = fs::temp_directory_path() /
                 ("varnex_paths_" + std::to_string(random()) + "_" + std::to_string(counter++));
        fs::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code error;
        fs::remove_all(m_path, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's absolute name without a trailing '/'.
    std::string path() const { return m_path.lexically_normal().string(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }

    std::string create(const std::string& name) const {
        std::ofstream(file(name)) << "1 2\n";
        return file(name);
    }

private:
    fs::path m_path;
};

struct NameCase {
    const char* path;
    const char* base;
    const char* folder;
};

TEST(PathNamesTest, BaseNameAndFolderOf) {
    const NameCase cases[] = {
        {"/data/x.dat", "x.dat", "/data/"},
        {"/data/", "", "/"},
        {"/data", "data", "/"},
        {"x.dat", "x.dat", "x.dat/"},
        {"sub/x.dat", "x.dat", "sub/"},
        {"/", "", "/"},
        {"E:/data/x.dat", "x.dat", "E:/data/"},
        {"E:x.dat", "x.dat", "E:x.dat/"},
        {"../a/b", "b", "../a/"},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(baseName(c.path), c.base) << c.path;
        EXPECT_EQ(folderOf(c.path), c.folder) << c.path;
    }
}

TEST(PathNamesTest, TrailingSeparatorsAndJoin) {
    EXPECT_EQ(stripTrailingSeparator("/data/"), "/data");
    EXPECT_EQ(stripTrailingSeparator("/data//"), "/data/");
    EXPECT_EQ(stripTrailingSeparator("/data"), "/data");
    EXPECT_EQ(ensureTrailingSeparator("/data"), "/data/");
    EXPECT_EQ(ensureTrailingSeparator("/data/"), "/data/");
    EXPECT_EQ(ensureTrailingSeparator(""), "/");

    EXPECT_EQ(joinPath("/data/", "/x.dat"), "/data/x.dat");
    EXPECT_EQ(joinPath("/data \r\n", "x.dat"), "/data/x.dat");
    EXPECT_EQ(joinPath("/", "x.dat"), "/x.dat");
    EXPECT_EQ(joinPath("../", "x.dat"), "../x.dat");
    EXPECT_EQ(joinPath("", "/x.dat"), "/x.dat");
    EXPECT_EQ(joinPath("  ", "x.dat"), "x.dat");
}

TEST(PathNamesTest, HasExtension) {
    struct Case {
        const char* path;
        const char* ext;
        bool expected;
    };
    const Case cases[] = {
        {"/d/run.dat.2.@", ".@", true},
        {"/D/RUN.DAT.2.@", ".@", true},
        {"/d/x.DAT", ".dat", true},
        {"/d/x.dat", ".Dat", true},
        {"/d/x.dat", "dat", true},
        {"/d/x.dat", ".dat2", false},
        {"/d.dat/x", ".dat", false},  // only the base name counts
        {"/d.x/readme", ".", true},
        {"/d/readme.", ".", true},
        {"/d/readme.txt", ".", false},
        {"/d/x.dat", "", true},
    };
    for (const Case& c : cases) EXPECT_EQ(hasExtension(c.path, c.ext), c.expected) << c.path << " " << c.ext;
}

TEST(PathNamesTest, ChildAndPasteFiles) {
    struct Case {
        const char* name;
        bool child;
        bool paste;
    };
    const Case cases[] = {
        {"/d/run.dat.2.@", true, false},
        {"*.2.@", true, false},
        {"/d/@.@", false, true},
        {"@.@", false, true},
        {"/d/x@.@", true, false},
        {"/d/@.@/run.dat", false, false},
        {"/d/run.dat", false, false},
        {"/d/run.dat.2.@x", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isChildFile(c.name), c.child) << c.name;
        EXPECT_EQ(isPasteFile(c.name), c.paste) << c.name;
    }
}

TEST(DriveTest, LettersRootsAndExistence) {
    EXPECT_EQ(driveLetter("E:/data"), 'E');
    EXPECT_EQ(driveLetter("e:"), 'e');
    EXPECT_EQ(driveLetter("/e:/data"), std::nullopt);
    EXPECT_EQ(driveLetter("1:/data"), std::nullopt);
    EXPECT_EQ(driveLetter("E"), std::nullopt);

    EXPECT_TRUE(sameDrive("/a", "/b"));
    EXPECT_TRUE(sameDrive("E:/a", "E:/b"));
    EXPECT_FALSE(sameDrive("E:/a", "F:/a"));
    EXPECT_FALSE(sameDrive("e:/a", "E:/a"));
    EXPECT_FALSE(sameDrive("E:/a", "/a"));

    for (const char* root : {"E:", "E:/", "E:\\"}) EXPECT_TRUE(isDriveRoot(root)) << root;
    for (const char* other : {"E:/a", "/", "E", ""}) EXPECT_FALSE(isDriveRoot(other)) << other;

    EXPECT_TRUE(driveExists("/data"));
    EXPECT_TRUE(driveExists("data"));
    EXPECT_FALSE(driveExists("E:/"));
}

TEST(ShiftJisNamesTest, TrailingBackslashByteIsNoSeparator) {
    const CodePageScope scope(CodePage::ShiftJis);
    // 表 is 0x95 0x5C: its second byte has the code of '\'.
    EXPECT_EQ(toNativeSeparators("E:\\data\\\x95\x5C\\x.dat"), "E:/data/\x95\x5C/x.dat");
    EXPECT_EQ(toNativeSeparators("\x95\x5C"), "\x95\x5C");
    EXPECT_EQ(toStoredSeparators("/data/\x95\x5C/x.dat"), "\\data\\\x95\x5C\\x.dat");
    const std::string name = toNativeSeparators("\x95\x5C\\\x95\x5C.dat");
    EXPECT_EQ(baseName(name), "\x95\x5C.dat");
    EXPECT_EQ(folderOf(name), "\x95\x5C/");
    EXPECT_TRUE(isDriveRoot("E:\x95\x5C"));
    EXPECT_TRUE(hasExtension("/d/\x95\x5C", "\x95\x5C"));
    EXPECT_FALSE(hasExtension("/d/\x95\x5C", "\x5C"));
    EXPECT_EQ(relPath("/e/\x95\x5C/x.dat", "/e/\x95\x5C/sub"), "../x.dat");
}

TEST(ShiftJisNamesTest, Utf8NeverHasAsciiBytesInsideCharacters) {
    const CodePageScope scope(CodePage::Utf8);
    const std::string hyo = "\xE8\xA1\xA8";  // 表 in UTF-8
    EXPECT_EQ(toNativeSeparators("d\\" + hyo + "\\x"), "d/" + hyo + "/x");
    // The Shift-JIS bytes are no character in UTF-8: the 0x5C is a '\' of its own.
    EXPECT_EQ(toNativeSeparators("\x95\x5C"), "\x95/");
    EXPECT_FALSE(isDriveRoot("E:\x95\x5C"));
}

TEST(AbsPathTest, ResolvesAgainstTheReferenceFolder) {
    const TempFolder temp;
    const std::string ref = temp.path();
    fs::create_directory(temp.file("sub"));
    RecordingMessageBoxes boxes;
    const auto before = currentDirectory();
    struct Case {
        const char* name;
        std::string expected;
    };
    const Case cases[] = {
        {"x.dat", ref + "/x.dat"},
        {"sub/../y.dat", ref + "/y.dat"},
        {"./sub/", ref + "/sub"},
        {"  \"  my file.dat \"  ", ref + "/my file.dat"},
        {"", ref},
        {"   ", ref},
        {"\"\"", ref},
        {".", ref},
        {"..", fs::path(ref).parent_path().string()},
        {"/abs/z/", "/abs/z"},
        {"/abs/./a/../z", "/abs/z"},
        {"/", "/"},
        {"E:x", "E:/x"},
        {"E:/a/../b/", "E:/b"},
        {"E:", "E:/"},
        {"E:/..", "E:/"},
    };
    for (const Case& c : cases) EXPECT_EQ(absPath(c.name, ref, boxes), c.expected) << c.name;
    EXPECT_EQ(absPath("x.dat", ref + "/", boxes), ref + "/x.dat");
    EXPECT_TRUE(boxes.messages().empty());
    EXPECT_EQ(currentDirectory(), before);
}

TEST(AbsPathTest, InvalidReferenceFolderIsReported) {
    const TempFolder temp;
    const std::string file = temp.create("plain.dat");
    RecordingMessageBoxes boxes;
    const std::string missing = temp.file("missing");
    EXPECT_EQ(absPath("x.dat", missing, boxes), std::nullopt);
    EXPECT_EQ(absPath("x.dat", file, boxes), std::nullopt);
    EXPECT_EQ(absPath("x.dat", "", boxes), std::nullopt);
    ASSERT_EQ(boxes.messages().size(), 3u);
    EXPECT_EQ(boxes.messages()[0].kind, "inform");
    EXPECT_EQ(boxes.messages()[0].caption, "_abspath");
    EXPECT_EQ(boxes.messages()[0].text, "ref=" + missing + "が不正です");
    EXPECT_EQ(boxes.messages()[1].text, "ref=" + file + "が不正です");
}

TEST(AbsPathTest, WithoutReferenceUsesTheCurrentDirectory) {
    const std::string current = currentDirectory().value();
    EXPECT_EQ(absPath("x.dat"), joinPath(current, "x.dat"));
    EXPECT_EQ(absPath(""), current);
    EXPECT_EQ(absPath("/a/b/../c"), "/a/c");
}

TEST(AbsPathTest, AbsoluteNamesNeedNoCurrentDirectory) {
    const std::filesystem::path saved = std::filesystem::current_path();
    const std::filesystem::path gone =
        std::filesystem::temp_directory_path() / ("varnex_gone_cwd_" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(gone);
    std::filesystem::current_path(gone);
    std::filesystem::remove(gone);  // the process now stands in a deleted folder
    EXPECT_EQ(currentDirectory(), std::nullopt);
    EXPECT_EQ(absPath("/a/b/../c"), "/a/c");
    EXPECT_EQ(absPath("\"/x/y.dat\""), "/x/y.dat");
    EXPECT_EQ(absPath("x.dat"), std::nullopt);
    std::filesystem::current_path(saved);
}

TEST(RelPathTest, NamesRelativeToAFolder) {
    struct Case {
        const char* name;
        const char* base;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"/e/Data/Sub/x.dat", "/e/Data/other", "../Sub/x.dat"},
        {"/e/Data/Sub/x.dat", "/e/Data/other/", "../Sub/x.dat"},
        {"/e/Data/x.dat", "/e/Data", "x.dat"},
        {"/e/Data/Sub/X.DAT", "/e/Data", "Sub/X.DAT"},
        {"/e/data/x.dat", "/e/Data", "../data/x.dat"},  // folders of another case are other folders
        {"/e/Dat/x.dat", "/e/Data", "../Dat/x.dat"},
        {"/e/Data2/x.dat", "/e/Data", "../Data2/x.dat"},
        {"/x.dat", "/a/b", "../../x.dat"},
        {"/a/b/c/x.dat", "/", "a/b/c/x.dat"},
        {"\"/e/my data/x.dat\"", "/e", "my data/x.dat"},
        {"E:/Data/Sub/x.dat", "E:/Data/other", "../Sub/x.dat"},
        {"E:/x.dat", "E:/", "x.dat"},
        {"F:/Data/x.dat", "E:/Data", std::nullopt},
        {"e:/Data/x.dat", "E:/Data", std::nullopt},
        {"E:/Data/x.dat", "/e/Data", std::nullopt},
        {"/e/Data/x.dat", "E:/Data", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(relPath(c.name, c.base), c.expected) << c.name << " to " << c.base;
}

TEST(RelPathTest, RoundTripsThroughAbsPath) {
    const TempFolder temp;
    fs::create_directories(temp.file("a/b"));
    const std::string base = temp.file("a/b");
    RecordingMessageBoxes boxes;
    for (const std::string& name : {temp.file("a/b/x.dat"), temp.file("a/y.dat"), temp.file("c/d/z.dat"),
                                    std::string("/usr/share/w.dat")}) {
        const auto relative = relPath(name, base);
        ASSERT_TRUE(relative) << name;
        EXPECT_EQ(absPath(*relative, base, boxes), name) << *relative;
    }
    const std::string current = currentDirectory().value();
    EXPECT_EQ(relPath(joinPath(current, "a/b.dat")), "a/b.dat");
}

TEST(ParameterNamesTest, ChildFilesUseTheStarForm) {
    RecordingMessageBoxes boxes;
    EXPECT_EQ(absoluteName("*.2.@", "/d/run.dat", boxes), "/d/run.dat.2.@");
    EXPECT_EQ(relativeName("/d/run.dat.2.@", "/d/run.dat"), "*.2.@");
    EXPECT_EQ(displayName("/d/run.dat.2.@", "/d/run.dat"), ".2.@");
    EXPECT_EQ(relativeName("/d/other.dat.1.@", "/d/run.dat"), "/d/other.dat.1.@");
    EXPECT_EQ(absoluteName("*.1.@", "/d/odd*.dat", boxes), "/d/odd*.dat.1.@");
    EXPECT_TRUE(boxes.messages().empty());
}

TEST(ParameterNamesTest, OtherFilesAreRelativeToTheMainFilesFolder) {
    const TempFolder temp;
    const std::string main = temp.create("run.dat");
    RecordingMessageBoxes boxes;
    EXPECT_EQ(absoluteName("sub/x.dat", main, boxes), temp.file("sub/x.dat"));
    EXPECT_EQ(absoluteName("@.@", main, boxes), temp.file("@.@"));
    EXPECT_EQ(relativeName(temp.file("sub/x.dat"), main), "sub/x.dat");
    EXPECT_EQ(displayName(temp.file("x.dat"), main), "x.dat");
    EXPECT_EQ(relativeName("F:/x.dat", "E:/d/run.dat"), std::nullopt);
    EXPECT_EQ(displayName("F:/x.dat", "E:/d/run.dat"), std::nullopt);
    EXPECT_TRUE(boxes.messages().empty());

    EXPECT_EQ(absoluteName("x.dat", temp.file("gone/run.dat"), boxes), std::nullopt);
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages()[0].caption, "_abspath");
    EXPECT_EQ(boxes.messages()[0].text, "ref=" + temp.file("gone/") + "が不正です");
}

TEST(FilesTest, FileExists) {
    const TempFolder temp;
    const std::string file = temp.create("x.dat");
    fs::create_directory(temp.file("sub"));
    EXPECT_TRUE(fileExists(file));
    EXPECT_TRUE(fileExists(file + "/"));
    EXPECT_TRUE(fileExists(temp.file("sub")));
    EXPECT_TRUE(fileExists(temp.file("sub/")));
    EXPECT_TRUE(fileExists("/"));
    EXPECT_FALSE(fileExists(temp.file("y.dat")));
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists("E:"));
    EXPECT_FALSE(fileExists("E:/"));
}

TEST(FilesTest, LastWriteTimeInNanosecondsSinceTheEpoch) {
    const TempFolder temp;
    const std::string file = temp.create("x.dat");
    EXPECT_EQ(lastWriteTime(temp.file("missing.dat")), 0);

    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_LT(std::abs(lastWriteTime(file) - now), std::int64_t{60'000'000'000});

    const std::chrono::sys_time<std::chrono::nanoseconds> when{std::chrono::nanoseconds{1'000'000'000'123'456'789}};
    fs::last_write_time(file, std::chrono::file_clock::from_sys(when));
    EXPECT_EQ(lastWriteTime(file), 1'000'000'000'123'456'789);
}

TEST(FilesTest, DeleteFile) {
    const TempFolder temp;
    const std::string file = temp.create("x.dat");
    EXPECT_TRUE(deleteFile(file));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(deleteFile(file));

    const std::string readOnly = temp.create("locked.dat");
    fs::permissions(readOnly, fs::perms::owner_read, fs::perm_options::replace);
    EXPECT_TRUE(deleteFile(readOnly));
    EXPECT_FALSE(fs::exists(readOnly));

    fs::create_directory(temp.file("sub"));
    EXPECT_FALSE(deleteFile(temp.file("sub")));
    EXPECT_TRUE(fs::exists(temp.file("sub")));
    EXPECT_FALSE(deleteFile(""));
}

TEST(PatternTest, StarsAndQuestionMarks) {
    struct Case {
        const char* name;
        const char* pattern;
        bool expected;
    };
    const Case cases[] = {
        {"run.dat.1.@", "run.dat*.@", true},
        {"run.dat.12.@", "run.dat*.@", true},
        {"run.dat", "run.dat*.@", false},
        {"@.@", "@.@*", true},
        {"@.@x", "@.@*", true},
        {"x@.@", "@.@*", false},
        {"abcbc", "a*bc", true},
        {"abcbd", "a*bc", false},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"", "*", true},
        {"", "?", false},
        {"anything", "*", true},
        {"a", "**a**", true},
        {"Run.dat", "run.dat", false},
    };
    for (const Case& c : cases) EXPECT_EQ(matchesPattern(c.name, c.pattern), c.expected) << c.name << " " << c.pattern;
}

TEST(PatternTest, QuestionMarkTakesAWholeCharacter) {
    {
        const CodePageScope scope(CodePage::ShiftJis);
        EXPECT_TRUE(matchesPattern("\x95\x5C.dat", "?.dat"));
        EXPECT_FALSE(matchesPattern("a\x95\x5C", "*\\"));
    }
    const CodePageScope scope(CodePage::Utf8);
    EXPECT_TRUE(matchesPattern("\xE8\xA1\xA8.dat", "?.dat"));
    EXPECT_TRUE(matchesPattern("a\x95\x5C", "*\\"));
}

TEST(FilesTest, ForEachFileListsMatchingEntriesInOrder) {
    const TempFolder temp;
    for (const char* name : {"b.dat", "a.dat", "c.txt"}) temp.create(name);
    fs::create_directory(temp.file("d.dat"));
    std::vector<std::string> files;
    std::vector<std::string> folders;
    const auto addFile = [&files](const std::string& path) { files.push_back(path); };
    const auto addFolder = [&folders](const std::string& path) { folders.push_back(path); };

    EXPECT_TRUE(forEachFile(temp.path(), "*.dat", addFile, addFolder));
    EXPECT_EQ(files, (std::vector<std::string>{temp.file("a.dat"), temp.file("b.dat")}));
    EXPECT_EQ(folders, (std::vector<std::string>{temp.file("d.dat")}));

    files.clear();
    folders.clear();
    EXPECT_TRUE(forEachFile(temp.path() + "/", "*", addFile, addFolder));
    EXPECT_EQ(files.size(), 3u);
    EXPECT_EQ(folders, (std::vector<std::string>{temp.file("d.dat")}));

    EXPECT_FALSE(forEachFile(temp.file("missing"), "*", addFile));
}

TEST(FilesTest, DeleteMatchingDeletesFilesOnly) {
    const TempFolder temp;
    for (const char* name : {"run.dat", "run.dat.1.@", "run.dat.2.@", "@.@", "@.@1", "other.dat.1.@"}) {
        temp.create(name);
    }
    fs::create_directory(temp.file("run.dat.3.@"));
    EXPECT_EQ(deleteMatching(temp.file("run.dat*.@")), 2);
    EXPECT_TRUE(fs::exists(temp.file("run.dat")));
    EXPECT_TRUE(fs::exists(temp.file("run.dat.3.@")));
    EXPECT_TRUE(fs::exists(temp.file("other.dat.1.@")));
    EXPECT_FALSE(fs::exists(temp.file("run.dat.1.@")));
    EXPECT_EQ(deleteMatching(temp.file("@.@*")), 2);
    EXPECT_FALSE(fs::exists(temp.file("@.@")));
    EXPECT_EQ(deleteMatching(temp.file("none*")), 0);
}

}  // namespace
}  // namespace varnex
