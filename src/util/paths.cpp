#include "util/paths.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>
#include <vector>

#include "util/codepage.h"
#include "util/message_boxes.h"
#include "util/text.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kChildSuffix = ".@";

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True if pos is the start of a character (or the end of text).
bool isCharBoundary(std::string_view text, std::size_t pos) {
    std::size_t i = 0;
    while (i < pos) i += charLength(text, i);
    return i == pos;
}

bool endsWithChar(std::string_view text, char c) {
    return !text.empty() && findLastChar(text, c) == text.size() - 1;
}

// text ends with suffix, the suffix starting on a character boundary; single-byte characters are
// compared without regard to ASCII case, double-byte characters exactly.
bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    if (suffix.size() > text.size()) return false;
    const std::size_t start = text.size() - suffix.size();
    if (!isCharBoundary(text, start)) return false;
    for (std::size_t i = 0; i < suffix.size();) {
        const std::size_t length = charLength(suffix, i);
        if (length == 1) {
            if (asciiLower(suffix[i]) != asciiLower(text[start + i])) return false;
        } else if (text.compare(start + i, length, suffix.substr(i, length)) != 0) {
            return false;
        }
        i += length;
    }
    return true;
}

// Every character `from` of name as `to`.
std::string replaceChar(std::string_view name, char from, char to) {
    std::string result(name);
    for (std::size_t i = 0; i < result.size(); i += charLength(result, i)) {
        if (result[i] == from) result[i] = to;
    }
    return result;
}

// The lexical normal form of an absolute name, without a trailing '/' unless it is a root.
std::string normalized(const fs::path& path) {
    std::string result = path.lexically_normal().string();
    if (result.size() > 1 && endsWithChar(result, kSeparator) && !isDriveRoot(result)) result.pop_back();
    return result;
}

// A name with a drive prefix, folded as if its drive were the root: "E:x/../y" → "E:/y".
std::string normalizedOnDrive(std::string_view name) {
    std::string_view rest = name.substr(2);
    if (!rest.empty() && rest.front() == kSeparator) rest.remove_prefix(1);
    std::string rooted(1, kSeparator);
    rooted.append(rest);
    std::string result(name.substr(0, 2));
    result.append(normalized(fs::path(rooted)));
    return result;
}

// The name as absPath reads it: nullopt when it names the reference folder itself.
std::optional<std::string> cleanName(std::string_view name) {
    if (skipSpaces(name).empty()) return std::nullopt;
    std::string clean = unquote(name);
    if (clean.empty()) return std::nullopt;
    if (clean.size() > 1 && !isDriveRoot(clean)) clean = stripTrailingSeparator(clean);
    return clean;
}

std::string resolve(const std::string& name, const fs::path& folder) {
    if (driveLetter(name)) return normalizedOnDrive(name);
    return normalized(folder / fs::path(name));  // an absolute name replaces folder
}

// absName relative to baseFolder, both absolute.
std::optional<std::string> relativeTo(std::string_view absName, std::string_view baseFolder) {
    const std::string a = folderOf(absName);
    const std::string b = ensureTrailingSeparator(baseFolder);
    if (!sameDrive(a, b)) return std::nullopt;
    // Folders keep their case and are compared as they are: lower-casing them would confuse two folders
    // of a case-sensitive file system.
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    const std::size_t common = static_cast<std::size_t>(mismatch.first - a.begin());
    const std::size_t lastSeparator = findLastChar(std::string_view(a).substr(0, common), kSeparator);
    const std::size_t split = lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;
    std::string relative;
    const std::string_view bRest = std::string_view(b).substr(split);
    for (std::size_t i = 0; i < bRest.size(); i += charLength(bRest, i)) {
        if (bRest[i] == kSeparator) relative += "../";
    }
    relative += a.substr(split);
    return joinPath(relative, baseName(absName));
}

// The time of a file clock as nanoseconds since the system epoch, saturated at the ends of int64.
FileTime toFileTime(fs::file_time_type time) {
    using std::chrono::nanoseconds;
    const auto epochOffset = std::chrono::duration_cast<nanoseconds>(
        std::chrono::file_clock::to_sys(fs::file_time_type{}).time_since_epoch());
    const auto sinceFileEpoch = std::chrono::duration_cast<nanoseconds>(time.time_since_epoch());
    const std::int64_t a = epochOffset.count();
    const std::int64_t b = sinceFileEpoch.count();
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    if (b > 0 && a > kMax - b) return kMax;
    if (b < 0 && a < kMin - b) return kMin;
    return a + b;
}

}  // namespace

// --- Names -------------------------------------------------------------------------------------------

std::string baseName(std::string_view path) {
    const std::size_t separator = findLastChar(path, kSeparator);
    if (separator != std::string_view::npos) return std::string(path.substr(separator + 1));
    if (driveLetter(path)) return std::string(path.substr(2));
    return std::string(path);
}

std::string folderOf(std::string_view path) {
    const std::string trimmed = stripTrailingSeparator(path);
    const std::size_t separator = findLastChar(trimmed, kSeparator);
    if (separator == std::string_view::npos) return trimmed + kSeparator;
    return trimmed.substr(0, separator + 1);
}

std::string stripTrailingSeparator(std::string_view path) {
    if (endsWithChar(path, kSeparator)) path.remove_suffix(1);
    return std::string(path);
}

std::string ensureTrailingSeparator(std::string_view path) {
    std::string result(path);
    if (!endsWithChar(result, kSeparator)) result += kSeparator;
    return result;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    const std::string trimmedFolder = trimRight(folder);
    if (trimmedFolder.empty()) return std::string(name);
    if (!name.empty() && name.front() == kSeparator) name.remove_prefix(1);
    return stripTrailingSeparator(trimmedFolder) + kSeparator + std::string(name);
}

bool hasExtension(std::string_view path, std::string_view ext) {
    const std::string base = baseName(path);
    if (ext == ".") return findChar(base, '.') == std::string::npos || endsWithChar(base, '.');
    return endsWithIgnoringCase(base, ext);
}

std::string toNativeSeparators(std::string_view name) { return replaceChar(name, kStoredSeparator, kSeparator); }
std::string toStoredSeparators(std::string_view name) { return replaceChar(name, kSeparator, kStoredSeparator); }

bool isChildFile(std::string_view name) { return !isPasteFile(name) && hasExtension(name, kChildSuffix); }

bool isPasteFile(std::string_view name) { return baseName(name) == kPasteFileName; }

// --- Drives -------------------------------------------------------------------------------------------

std::optional<char> driveLetter(std::string_view path) {
    if (path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':') return path[0];
    return std::nullopt;
}

bool sameDrive(std::string_view a, std::string_view b) { return driveLetter(a) == driveLetter(b); }

bool isDriveRoot(std::string_view path) {
    if (!driveLetter(path)) return false;
    return path.size() == 2 || charLength(path, 2) == path.size() - 2;
}

bool driveExists(std::string_view path) { return !driveLetter(path).has_value(); }

// --- Absolute and relative names -----------------------------------------------------------------------

std::optional<std::string> currentDirectory() {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    if (error) return std::nullopt;
    return normalized(current);
}

std::optional<std::string> absPath(std::string_view name) {
    const std::optional<std::string> clean = cleanName(name);
    if (clean && driveLetter(*clean)) return normalizedOnDrive(*clean);  // needs no current directory
    // Nor does an absolute name: it resolves even when the current directory has been deleted.
    if (clean && clean->front() == kSeparator) return resolve(*clean, fs::path("/"));
    const std::optional<std::string> current = currentDirectory();
    if (!current || !clean) return current;
    return resolve(*clean, *current);
}

std::optional<std::string> absPath(std::string_view name, std::string_view ref, MessageBoxes& boxes) {
    std::error_code error;
    const fs::path folder = fs::absolute(fs::path(ref), error);
    if (ref.empty() || error || !fs::is_directory(folder, error)) {
        boxes.inform("_abspath", formatMessage("ref=%sが不正です", std::string(ref).c_str()));
        return std::nullopt;
    }
    const std::optional<std::string> clean = cleanName(name);
    if (!clean) return normalized(folder);
    return resolve(*clean, folder);
}

std::optional<std::string> relPath(std::string_view name, std::string_view base) {
    const std::optional<std::string> absName = absPath(name);
    const std::optional<std::string> baseFolder = base.empty() ? currentDirectory() : absPath(base);
    if (!absName || !baseFolder) return std::nullopt;
    return relativeTo(*absName, *baseFolder);
}

std::optional<std::string> absoluteName(std::string_view name, std::string_view base, MessageBoxes& boxes) {
    if (isChildFile(name)) return replaceAll(name, "*", base);
    if (base.empty()) return absPath(name);
    return absPath(name, folderOf(base), boxes);
}

std::optional<std::string> relativeName(std::string_view name, std::string_view base) {
    if (isChildFile(name)) return replaceAll(name, base, "*");
    if (base.empty()) return relPath(name);
    return relPath(name, folderOf(base));
}

std::optional<std::string> displayName(std::string_view name, std::string_view base) {
    std::optional<std::string> relative = relativeName(name, base);
    if (relative) *relative = replaceAll(*relative, "*", "");
    return relative;
}

// --- Files ----------------------------------------------------------------------------------------------

bool fileExists(std::string_view path) {
    std::string name(path);
    if (name.size() > 1) name = stripTrailingSeparator(name);
    if (name.empty() || !driveExists(name)) return false;
    std::error_code error;
    return fs::exists(fs::path(name), error);
}

FileTime lastWriteTime(std::string_view path) {
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(fs::path(path), error);
    if (error) return 0;
    return toFileTime(time);
}

bool isRegularFile(std::string_view path) {
    std::error_code error;
    return !path.empty() && fs::is_regular_file(fs::path(path), error);
}

std::optional<std::string> readProblem(std::string_view path) {
    if (path.empty() || !driveExists(path)) return "no such file";
    std::error_code error;
    const fs::file_status status = fs::status(fs::path(path), error);
    switch (status.type()) {
        case fs::file_type::regular: break;
        case fs::file_type::not_found: return "no such file";
        case fs::file_type::directory: return "a folder, not a file";
        case fs::file_type::fifo: return "a FIFO (named pipe), not a regular file";
        case fs::file_type::character:
        case fs::file_type::block: return "a device, not a regular file";
        case fs::file_type::socket: return "a socket, not a regular file";
        case fs::file_type::none: return "cannot be read (" + error.message() + ")";
        default: return "not a regular file";
    }
    const std::string name(path);
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) return "cannot be opened (" + std::generic_category().message(errno) + ")";
    std::fclose(file);
    return std::nullopt;
}

bool deleteFile(std::string_view path) {
    const fs::path file(path);
    std::error_code error;
    if (path.empty() || fs::is_directory(fs::symlink_status(file, error))) return false;
    if (fs::remove(file, error)) return true;
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add, error);
    return fs::remove(file, error);
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::string_view::npos;  // just after the last '*' seen
    std::size_t starName = 0;                          // where that '*' is tried to end in name
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = ++p;
            starName = n;
            continue;
        }
        if (p < pattern.size()) {
            const std::size_t patternLength = charLength(pattern, p);
            const std::size_t nameLength = charLength(name, n);
            const bool anyChar = pattern[p] == '?' && patternLength == 1;
            if (anyChar || pattern.substr(p, patternLength) == name.substr(n, nameLength)) {
                p += patternLength;
                n += nameLength;
                continue;
            }
        }
        if (starPattern == std::string_view::npos) return false;
        starName += charLength(name, starName);  // the '*' takes one more character
        n = starName;
        p = starPattern;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool forEachFile(std::string_view folder, std::string_view pattern, const FileVisitor& fileFn,
                 const FileVisitor& dirFn) {
    std::error_code error;
    fs::directory_iterator entries(folder.empty() ? fs::path(".") : fs::path(folder), error);
    if (error) return false;
    std::vector<std::pair<std::string, bool>> matches;  // name, is a folder
    for (const fs::directory_entry& entry : entries) {
        std::string name = entry.path().filename().string();
        if (!matchesPattern(name, pattern)) continue;
        std::error_code typeError;
        matches.emplace_back(std::move(name), entry.is_directory(typeError));
    }
    std::sort(matches.begin(), matches.end());
    for (const auto& [name, isFolder] : matches) {
        const std::string path = folder.empty() ? name : joinPath(folder, name);
        if (!isFolder) {
            if (fileFn) fileFn(path);
        } else if (dirFn) {
            dirFn(path);
        }
    }
    return true;
}

int deleteMatching(std::string_view pattern) {
    const std::optional<std::string> absolute = absPath(pattern);
    if (!absolute) return 0;
    int deleted = 0;
    forEachFile(folderOf(*absolute), baseName(*absolute), [&deleted](const std::string& path) {
        if (deleteFile(path)) ++deleted;
    });
    return deleted;
}

}  // namespace varnex
