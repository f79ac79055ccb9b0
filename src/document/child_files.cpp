#include "document/child_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "document/line_reader.h"
#include "document/parameter_file.h"
#include "document/parameter_reader.h"
#include "document/view_list.h"
#include "util/paths.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kChildEnd = ".@";

std::string childName(std::string_view mainPath, int n) {
    std::string name(mainPath);
    name += '.';
    name += std::to_string(n);
    name += kChildEnd;
    return name;
}

bool copyFile(const std::string& from, const std::string& to, fs::copy_options options) {
    std::error_code error;
    return fs::copy_file(fs::path(from), fs::path(to), options, error) && !error;
}

bool sameFile(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty()) return false;
    const auto absA = absPath(a);
    const auto absB = absPath(b);
    return absA && absB && *absA == *absB;
}

// True if the file `name` of `folder` is a child file of the data file whose base name is `base`: the
// base name, a dot, any text and ".@", where no existing data file with a longer name (the base name, a
// dot and part of that text) claims it.
bool isChildOf(std::string_view folder, std::string_view name, std::string_view base) {
    if (name.size() < base.size() + 3 || name.substr(0, base.size()) != base) return false;
    const std::string_view rest = name.substr(base.size());
    if (rest.front() != '.' || rest.substr(rest.size() - kChildEnd.size()) != kChildEnd) return false;
    const std::size_t textEnd = rest.size() - kChildEnd.size();
    for (std::size_t dot = rest.find('.', 1); dot != std::string_view::npos && dot < textEnd;
         dot = rest.find('.', dot + 1)) {
        const std::string owner = joinPath(folder, std::string(base) + std::string(rest.substr(0, dot)));
        std::error_code error;
        if (!isChildFile(owner) && fs::is_regular_file(fs::path(owner), error)) return false;
    }
    return true;
}

// The name appended file F of a view takes when its main file E is saved as newMain, and whether F is
// copied to it (otherwise F is listed as it is).
std::pair<std::string, bool> movedTarget(const std::string& file, const std::string& oldMain,
                                         const std::string& newMain) {
    const std::string prefix = oldMain + ".";
    if (isChildFile(file) && file.size() > prefix.size() && file.compare(0, prefix.size(), prefix) == 0) {
        return {newMain + file.substr(oldMain.size()), true};
    }
    if (sameDrive(oldMain, newMain)) return {file, false};
    return {joinPath(folderOf(newMain), baseName(file)), true};
}

std::string movedName(const std::string& file, const std::string& oldMain, const std::string& newMain) {
    const auto [target, copied] = movedTarget(file, oldMain, newMain);
    if (copied) copyFile(file, target, fs::copy_options::overwrite_existing);
    return target;
}

}  // namespace

std::optional<std::string> newChildName(std::string_view mainPath) {
    if (mainPath.empty()) {
        const std::optional<std::string> current = currentDirectory();
        if (!current) return std::nullopt;
        return joinPath(*current, kPasteFileName);
    }
    for (int n = 1; n <= kMaxChildNumber; ++n) {
        std::string name = childName(mainPath, n);
        if (!fileExists(name)) return name;
    }
    return std::nullopt;
}

bool writePastedText(const std::string& path, std::string_view text) {
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    if (std::fclose(file.release()) == 0 && written) return true;
    // Only a regular file is removed: a name that is a device (/dev/full) stays.
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(fs::path(path), error))) fs::remove(fs::path(path), error);
    return false;
}

void MadeChildFiles::add(std::string_view path) {
    std::optional<std::string> full = absPath(path);
    if (full && !contains(*full)) m_files.push_back(std::move(*full));
}

bool MadeChildFiles::contains(std::string_view path) const {
    return std::find(m_files.begin(), m_files.end(), path) != m_files.end();
}

void MadeChildFiles::forget(std::string_view path) {
    std::erase_if(m_files, [&](const std::string& file) { return file == path; });
}

void cleanUpChildFiles(std::string_view dataPath, MadeChildFiles& made, std::string_view keepPath) {
    if (dataPath.empty()) return;
    const std::optional<std::string> main = absPath(dataPath);
    if (!main) return;
    const std::string folder = folderOf(*main);
    const std::string base = baseName(*main);
    // Whether a child file is named is read from the parameter file as it is on disk now: another
    // instance may have saved it since this one read it.
    const std::optional<std::string> parameters = findParameterFile(*main);
    const bool parametersUnreadable = parameters && !FileSource(*parameters).isOpen();
    const auto named = [&](const std::string& file) {
        if (parametersUnreadable) return true;
        const std::optional<std::string> stored = relativeName(file, *main);
        return stored && isReferenced(*main, *stored);
    };

    const std::vector<std::string> files = made.files();  // a copy: deleting shortens the list
    for (const std::string& file : files) {
        if (!fileExists(file)) {
            made.forget(file);
            continue;
        }
        if (sameFile(file, keepPath) || folderOf(file) != folder) continue;
        const std::string name = baseName(file);
        const bool temporary = isPasteFile(file) || isChildOf(folder, name, kPasteFileName);
        if (!temporary && (!isChildOf(folder, name, base) || named(file))) continue;
        if (deleteFile(file)) made.forget(file);
    }
}

bool belongsToDataFile(std::string_view name, std::string_view mainPath) {
    const std::string folder = folderOf(mainPath);
    return !mainPath.empty() && folderOf(name) == folder &&
           isChildOf(folder, baseName(name), baseName(mainPath));
}

bool saveMainAs(ViewList& views, std::string_view newMainName) {
    const std::string oldMain = views.current().files.name(0);
    const std::optional<std::string> newMain = absPath(newMainName);
    if (oldMain.empty() || !newMain || !copyFile(oldMain, *newMain, fs::copy_options::none)) return false;
    for (int v = 1; v <= views.viewCount(); ++v) {
        FileList& files = views.viewAt(v).files;
        FileList moved;
        moved.setMain(*newMain);
        for (int j = 1; j <= files.appendedCount(); ++j) moved.append(movedName(files.name(j), oldMain, *newMain));
        files = moved;
    }
    return true;
}

std::vector<std::string> saveMainAsTargets(const ViewList& views, std::string_view newMainName) {
    const std::string& oldMain = views.current().files.name(0);
    const std::optional<std::string> newMain = absPath(newMainName);
    if (!newMain) return {};
    std::vector<std::string> targets{*newMain};
    for (int v = 1; v <= views.viewCount(); ++v) {
        const FileList& files = views.viewAt(v).files;
        for (int j = 1; j <= files.appendedCount(); ++j) {
            const auto [target, copied] = movedTarget(files.name(j), oldMain, *newMain);
            if (copied && std::find(targets.begin(), targets.end(), target) == targets.end()) targets.push_back(target);
        }
    }
    return targets;
}

}  // namespace varnex
