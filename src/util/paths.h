// Path and file-name operations: splitting and joining names, absolute names and the names relative to
// the main data file that parameter files store, testing for files, file times, deleting by pattern.
//
// Names are native Linux paths with '/' as separator; names stored by older files use '\' and are
// converted with toNativeSeparators / toStoredSeparators. A folder name produced here always ends with
// '/'. Names are bytes in the system code page and every scan steps over whole characters
// (util/codepage.h), so the trailing byte of a double-byte character is never taken for a separator.
//
// Drive letters ("E:" at the start of a name) come only from names written on another platform. The
// drive logic is kept as it is for them, lexically: such a name counts as absolute, names on different
// drives have no relative form, and no drive exists here, so no file on a drive exists.
//
// Operations that can find no name return std::nullopt; file-system operations never throw.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace varnex {

class MessageBoxes;

inline constexpr char kSeparator = '/';
inline constexpr char kStoredSeparator = '\\';

// The scratch file that pasted data goes to when no graph is open.
inline constexpr std::string_view kPasteFileName = "@.@";

// Last-write time of a file in nanoseconds since the epoch; 0 for a file that does not exist. The same
// alias as in document/model.h (util does not depend on document).
using FileTime = std::int64_t;

// --- Names -------------------------------------------------------------------------------------------

// The part after the last '/'; without one, the part after a drive prefix "E:"; else the whole name.
std::string baseName(std::string_view path);

// path without its last component, ending in '/': one trailing '/' of path is removed first, then
// everything after the last '/' is cut; a name without '/' gets '/' appended ("x.dat" → "x.dat/").
std::string folderOf(std::string_view path);

// path without one final '/'.
std::string stripTrailingSeparator(std::string_view path);

// path with '/' appended unless its last character already is one.
std::string ensureTrailingSeparator(std::string_view path);

// folder (trailing spaces, LF, CR and one trailing '/' removed) and name (one leading '/' removed)
// joined by '/'. A folder that is empty or blank gives name unchanged.
std::string joinPath(std::string_view folder, std::string_view name);

// True if the base name of path ends with ext, ASCII letters compared without regard to case. The
// extension "." matches base names that have no '.' or end with '.'.
bool hasExtension(std::string_view path, std::string_view ext);

// Every '\' separator of a stored name as '/', and back. Trailing bytes of double-byte characters
// that have the code of '\' are left alone.
std::string toNativeSeparators(std::string_view name);
std::string toStoredSeparators(std::string_view name);

// A child file of a main data file: its base name is not exactly "@.@" and the name ends with ".@"
// (without regard to case).
bool isChildFile(std::string_view name);

// The base name is exactly "@.@".
bool isPasteFile(std::string_view name);

// --- Drives -------------------------------------------------------------------------------------------

// The letter of a drive prefix: an ASCII letter followed by ':' at the start of path.
std::optional<char> driveLetter(std::string_view path);

// True if both paths have no drive letter or the same one (letters compared as characters: 'e' and
// 'E' are different drives).
bool sameDrive(std::string_view a, std::string_view b);

// A letter, ':' and at most one more character ("E:", "E:/").
bool isDriveRoot(std::string_view path);

// True for a path without a drive letter; a drive letter never exists here.
bool driveExists(std::string_view path);

// --- Absolute and relative names -----------------------------------------------------------------------

// The process's current directory, without a trailing '/' (except "/"); nullopt if it cannot be read.
std::optional<std::string> currentDirectory();

// The absolute form of name, resolved against the current directory without changing it. name is
// unquoted (util/text.h) and loses a trailing '/'; "." and ".." are folded lexically. A name that is
// empty after leading spaces gives the current directory. A name with a drive letter is already
// absolute ("E:x" is taken as "E:/x"). The result has no trailing '/' unless it is "/" or a drive root.
// An absolute name does not need the current directory (which may have been deleted meanwhile).
std::optional<std::string> absPath(std::string_view name);

// The same against the folder ref instead of the current directory (an empty name gives ref). If ref
// is not an existing folder, boxes shows "ref=<ref>が不正です" with the caption "_abspath" and the result
// is nullopt.
std::optional<std::string> absPath(std::string_view name, std::string_view ref, MessageBoxes& boxes);

// name relative to the folder base (the current directory when base is empty): "../" for each folder
// of base below the common part, then the folders of name below it, then the base name of name. A file
// in base itself gets its bare name. nullopt for names on different drives.
std::optional<std::string> relPath(std::string_view name, std::string_view base = {});

// The absolute form of a name read from a parameter file, base being the main data file: a child
// file's name gets every '*' replaced by base; any other name is made absolute against the folder of
// base (the current directory when base is empty; an invalid folder is reported as by absPath).
std::optional<std::string> absoluteName(std::string_view name, std::string_view base, MessageBoxes& boxes);

// The form of a name written to a parameter file: a child file's name gets every occurrence of base
// replaced by "*"; any other name becomes relative to the folder of base (nullopt on another drive).
std::optional<std::string> relativeName(std::string_view name, std::string_view base);

// relativeName without any '*' (".2.@" for a child file); shown in the titles of appended sets.
std::optional<std::string> displayName(std::string_view name, std::string_view base);

// --- Files ----------------------------------------------------------------------------------------------

// True if a file or folder of that name exists; one trailing '/' is ignored; a drive root exists if its
// drive does, and no name on a missing drive exists.
bool fileExists(std::string_view path);

// The last-write time of the file, 0 if it does not exist.
FileTime lastWriteTime(std::string_view path);

// True for a regular file, links followed. Only regular files are opened for reading: opening a FIFO
// waits for a writer, and a device such as /dev/zero never ends.
bool isRegularFile(std::string_view path);

// Why path cannot be read as a file, in a few words for a message: "no such file", "a folder, not a
// file", "a FIFO (named pipe), not a regular file", "a device, not a regular file", "cannot be opened
// (Permission denied)", ...; nullopt for a regular file that opens for reading. Only a regular file is
// opened (and closed at once) to find out.
std::optional<std::string> readProblem(std::string_view path);

// Deletes the file; if that fails, adds owner write permission to the file and tries once more. True on
// success; false for a folder or a missing file.
bool deleteFile(std::string_view path);

// True if name matches pattern, where '*' stands for any run of characters and '?' for one character.
// Case counts: Linux file names are case-sensitive.
bool matchesPattern(std::string_view name, std::string_view pattern);

using FileVisitor = std::function<void(const std::string& path)>;

// Calls fileFn for each entry of folder (not recursive) whose name matches pattern and dirFn (if given)
// for each such folder ("." and ".." are never listed), in order of names, with folder joined to the
// name; an empty folder means the current directory and passes bare names. The entries are listed
// before the first call, so the visitors may delete them. False if the folder cannot be read.
bool forEachFile(std::string_view folder, std::string_view pattern, const FileVisitor& fileFn,
                 const FileVisitor& dirFn = {});

// Deletes every file that matches pattern (a name whose base name may hold '*' and '?', made absolute
// against the current directory). Returns the number of files deleted.
int deleteMatching(std::string_view pattern);

}  // namespace varnex
