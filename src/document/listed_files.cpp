#include "document/listed_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "document/child_files.h"
#include "document/loader.h"
#include "document/model.h"
#include "document/parameter_file.h"
#include "document/parameter_reader.h"
#include "document/parameter_writer.h"
#include "document/view_list.h"
#include "util/codepage.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kChildEnd = ".@";

bool isRecorded(const std::string& name, const std::string& main) {
    const std::optional<std::string> stored = relativeName(name, main);
    return stored && isReferenced(main, *stored);
}

void removeQuietly(const std::string& path) {
    std::error_code error;
    fs::remove(fs::path(path), error);
}

// Copies from to to, failing if anything has the name to. A copy that fails part-way is removed again.
bool copyNew(const std::string& from, const std::string& to) {
    std::error_code error;
    const fs::file_status existing = fs::symlink_status(fs::path(to), error);
    if (fs::exists(existing) || existing.type() == fs::file_type::none) return false;
    if (fs::copy_file(fs::path(from), fs::path(to), fs::copy_options::none, error) && !error) return true;
    if (error != std::errc::file_exists) removeQuietly(to);
    return false;
}

std::vector<FileList> fileLists(const ViewList& views) {
    std::vector<FileList> lists;
    for (int v = 1; v <= views.viewCount(); ++v) lists.push_back(views.viewAt(v).files);
    return lists;
}

void restoreFileLists(ViewList& views, const std::vector<FileList>& lists) {
    for (int v = 1; v <= views.viewCount(); ++v) views.viewAt(v).files = lists[static_cast<std::size_t>(v - 1)];
}

// True if every view lists as many files as before and each appended file that saveMainAs copied is in
// place with all its bytes. A listed file that is missing had nothing to copy.
bool copiesComplete(const std::vector<FileList>& before, const ViewList& views) {
    for (int v = 1; v <= views.viewCount(); ++v) {
        const FileList& old = before[static_cast<std::size_t>(v - 1)];
        const FileList& now = views.viewAt(v).files;
        if (now.count() != old.count()) return false;
        for (int j = 1; j <= old.appendedCount(); ++j) {
            const fs::path from(old.name(j));
            const fs::path to(now.name(j));
            std::error_code error;
            if (from == to || !fs::is_regular_file(from, error)) continue;
            const auto size = fs::file_size(from, error);
            if (error || !fs::is_regular_file(to, error)) return false;
            if (fs::file_size(to, error) != size || error) return false;
        }
    }
    return true;
}

}  // namespace

std::vector<ListedFile> listedFiles(const DocumentHead& doc) {
    std::vector<ListedFile> entries;
    if (doc.data <= 0 || doc.files.empty()) return entries;
    const std::string& main = doc.files.name(0);
    const bool pasteMain = isPasteFile(main);
    for (int k = 0; k < doc.files.count(); ++k) {
        const std::string& name = doc.files.name(k);
        ListedFile entry;
        entry.index = k;
        entry.recorded = k == 0 || isRecorded(name, main);
        entry.childFile = isChildFile(name);
        entry.canEdit = entry.recorded && !pasteMain;
        entry.canRename = entry.childFile && !pasteMain;
        const std::string shown = displayName(name, main).value_or(name);
        entry.label = formatMessage("&%d%c %s", k, entry.recorded ? ' ' : '*', shown.c_str());
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool isChildFileOf(std::string_view name, std::string_view mainPath) {
    if (mainPath.empty() || !isChildFile(name)) return false;
    // The main name, a dot, then at least ".@": "run.dat..@" is the shortest child of run.dat.
    return name.size() >= mainPath.size() + 1 + kChildEnd.size() && name.substr(0, mainPath.size()) == mainPath &&
           name[mainPath.size()] == '.';
}

std::string proposedSaveName(std::string_view old, bool appended) {
    std::string name = baseName(old);
    if (appended) {
        const std::size_t dot = findLastChar(name, '.');
        if (dot != std::string::npos) name.resize(dot);
    }
    return name;
}

ChildFileName childFileName(std::string_view chosen, std::string_view mainPath) {
    ChildFileName result{std::string(chosen), false};
    if (!hasExtension(result.name, kChildEnd)) result.name += kChildEnd;
    const std::string main = baseName(mainPath);
    const std::string base = baseName(result.name);
    if (base.compare(0, main.size(), main) != 0) {
        result.name = folderOf(result.name) + main + "." + base;
        result.renamed = true;
    }
    return result;
}

SaveAsResult saveMainFileAs(ViewList& views, std::string_view newMain) {
    const std::vector<std::string> targets = saveMainAsTargets(views, newMain);
    if (targets.empty() || std::any_of(targets.begin(), targets.end(), [](const std::string& t) { return fileExists(t); }))
        return SaveAsResult::NotCopied;
    // A new main file named like its own parameter file would be overwritten by it.
    if (parameterFileName(targets.front()) == targets.front()) return SaveAsResult::NotCopied;
    const std::vector<FileList> before = fileLists(views);
    if (!saveMainAs(views, targets.front())) {
        removeQuietly(targets.front());  // a part of it, if the copy failed part-way; it did not exist
        return SaveAsResult::CopyFailed;
    }
    const bool copied = copiesComplete(before, views);
    if (copied && writeParameters(views) == WriteResult::Written) return SaveAsResult::Saved;
    for (const std::string& target : targets) removeQuietly(target);
    restoreFileLists(views, before);
    return copied ? SaveAsResult::ParametersNotWritten : SaveAsResult::CopyFailed;
}

SaveAsResult moveListedFile(ViewList& views, int n, std::string_view newName) {
    const FileList& files = views.current().files;
    if (n < 1 || n > files.appendedCount()) return SaveAsResult::NotCopied;
    const std::string old = files.name(n);
    const std::optional<std::string> target = absPath(newName);
    // The parameter file's name is free while it does not exist, but writing it would overwrite the copy.
    if (!target || *target == parameterFileName(files.name(0)) || fileExists(*target)) return SaveAsResult::NotCopied;
    if (!copyNew(old, *target)) return SaveAsResult::CopyFailed;
    const std::vector<FileList> before = fileLists(views);
    // Every view that lists the file follows it, so that no stored view names the old name.
    bool listed = views.current().files.replace(n, *target);
    for (int v = 1; listed && v <= views.viewCount(); ++v) {
        FileList& list = views.viewAt(v).files;
        for (int j = 1; listed && j <= list.appendedCount(); ++j) {
            if (list.name(j) == old) listed = list.replace(j, *target);
        }
    }
    if (!listed || writeParameters(views) != WriteResult::Written) {
        restoreFileLists(views, before);
        removeQuietly(*target);
        return listed ? SaveAsResult::ParametersNotWritten : SaveAsResult::NotCopied;
    }
    deleteFile(old);
    return SaveAsResult::Saved;
}

ReleaseResult releaseListedFile(ViewList& views, int n) {
    Document& doc = views.current();
    const std::string name = doc.files.name(n);  // a copy: the release removes it from the list
    if (!releaseAppended(doc, n)) return ReleaseResult::NotListed;
    const std::string& main = doc.files.name(0);
    if (!isChildFileOf(name, main) || !belongsToDataFile(name, main) || isRecorded(name, main))
        return ReleaseResult::Released;
    for (int v = 1; v <= views.viewCount(); ++v) {
        const FileList& files = views.viewAt(v).files;
        for (int j = 1; j <= files.appendedCount(); ++j) {
            if (files.name(j) == name) return ReleaseResult::Released;
        }
    }
    return deleteFile(name) ? ReleaseResult::Deleted : ReleaseResult::Released;
}

}  // namespace varnex
