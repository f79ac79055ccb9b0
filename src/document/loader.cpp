#include "document/loader.h"

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <system_error>

#include "document/data_file_problems.h"
#include "document/data_file_reader.h"
#include "document/incremental_load.h"
#include "document/parameter_reader.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;

// The slots after the first `used` ones (all free slots of a Document holding `used` sets).
std::span<DataSet> freeSlots(Document& doc, int used) { return doc.setRange(used + 1, kMaxSets - used); }

// Forgets a slot's loaded data (arrays, count, positions, flags) and keeps its drawing choices.
void dropLoadedData(DataSet& set) {
    const GraphParams params = set.params;
    set = DataSet{};
    set.params = params;
}

// Takes the loaded data of `from` and keeps the drawing choices of `to`.
void takeLoadedData(DataSet& to, const DataSet& from) {
    const GraphParams params = to.params;
    to = from;
    to.params = params;
}

// Reads one data file, through the context's keeper when it has one.
int readDataFileOf(const std::string& path, std::span<DataSet> slots, const LoadContext& context, TitleText* vtitle) {
    return context.keeper ? context.keeper->read(path, slots, context.pool, vtitle)
                          : readDataFile(path, slots, context.pool, vtitle);
}

// An appended file is read only if it is a regular file: anything else that exists (a FIFO, a device,
// a folder) is reported by name and gives no set; a missing one gives no set without a word.
bool appendedFileReadable(const std::string& path, const LoadContext& context) {
    if (isRegularFile(path)) return true;
    if (fileExists(path)) {
        const std::string reason = readProblem(path).value_or("not a regular file");
        context.messages.informWithDetail(kErrorCaption, kInvalidDataText, fileDetail(path, reason));
    }
    return false;
}

// Reads one file into slots; `newest` takes the file's time, read just before the file, when it gives
// sets. Only a regular file is opened. When it gives no set, *failure (if given) says why.
int readFile(const std::string& path, std::span<DataSet> slots, const LoadContext& context, TitleText* vtitle,
             FileTime& newest, std::string* failure) {
    if (slots.empty()) return 0;
    const bool regular = failure ? isRegularFile(path) : appendedFileReadable(path, context);
    const FileTime time = lastWriteTime(path);
    const int n = regular ? readDataFileOf(path, slots, context, vtitle) : 0;
    if (n > 0) newest = std::max(newest, time);
    if (n == 0 && failure) *failure = fileDetail(path, dataFileProblem(path));
    return n;
}

// Reads the appended files of doc's list, each into the slots after the sets before it, with
// loadAppendedFile (fresh = true: open, with each file's own settings) or as they are (a reload).
int readAppendedFiles(Document& doc, int total, bool fresh, const LoadContext& context, FileTime& newest) {
    doc.filesets.fill(0);
    for (int j = 1; j <= doc.files.appendedCount(); ++j) {
        const std::string& name = doc.files.name(j);
        int n = 0;
        if (fresh) {
            const FileTime time = lastWriteTime(name);
            n = loadAppendedFile(freeSlots(doc, total), name, context);
            if (n > 0) newest = std::max(newest, time);
        } else {
            n = readFile(name, freeSlots(doc, total), context, nullptr, newest, nullptr);
        }
        doc.filesets[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(n);
        total += n;
    }
    return total;
}

int openMainFile(Document& doc, std::string_view path, const LoadContext& context, FileTime& newest,
                 std::string& failure) {
    const std::optional<std::string> name = absPath(path);
    if (!name) {
        failure = fileDetail(path, "no such file");
        return 0;
    }
    if (context.enterFolder) enterFileFolder(*name);
    const int n = readFile(*name, freeSlots(doc, 0), context, &doc.vtitle, newest, &failure);
    if (n == 0 || !doc.files.setMain(*name)) return 0;
    readParameters(doc, {}, nullptr, context.messages);  // the appended files and axes of the current view
    const int total = readAppendedFiles(doc, n, true, context, newest);
    applyDefaultsAndParameters(total, doc.setRange(1, total), &doc, nullptr, context.messages);
    return total;
}

int rereadFiles(Document& doc, bool enterFolder, const LoadContext& context, FileTime& newest,
                std::string& failure) {
    const std::string& main = doc.files.name(0);
    if (main.empty()) return 0;
    if (enterFolder && context.enterFolder) enterFileFolder(main);
    const int n = readFile(main, freeSlots(doc, 0), context, nullptr, newest, &failure);
    if (n == 0) return 0;
    return readAppendedFiles(doc, n, false, context, newest);
}

// The file to append in place of path: path itself (made absolute) on the same drive as name 0;
// after a Yes to the drive question, its copy in name 0's folder; nullopt when the append is refused.
std::optional<std::string> appendSource(const Document& doc, std::string_view path, MessageBoxes& messages) {
    const std::string& main = doc.files.name(0);
    const std::optional<std::string> question = otherDriveQuestion(path, main);
    if (!question) return absPath(path);
    if (messages.ask(kCaption, *question) != 1) return std::nullopt;
    const std::string copy = joinPath(folderOf(main), baseName(path));
    std::error_code error;
    fs::copy_file(fs::path(path), fs::path(copy), fs::copy_options::overwrite_existing, error);
    if (error) return std::nullopt;
    return copy;
}

void finishLoad(Document& doc, int total, const LoadContext& context, FileTime newest) {
    doc.data = total;
    const auto sets = doc.loadedSets();
    context.pool.reserveWorkSpace(maxCount(sets));
    const Extents e = extents(sets);
    doc.dataxmin = e.xmin;
    doc.dataxmax = e.xmax;
    doc.dataymin = e.ymin;
    doc.dataymax = e.ymax;
    doc.normalise();
    tidyAppended(doc);
    doc.filetime = newest;
    for (int i = doc.data + 1; i <= kMaxSets; ++i) dropLoadedData(doc.sets[static_cast<std::size_t>(i)]);
}

void failLoad(ViewList& views, const LoadContext& context, std::string_view failure) {
    views.truncateAfter(1);
    views.setCurrent(1);
    Document& first = views.first();
    first.data = 0;
    for (DataSet& set : first.sets) dropLoadedData(set);
    context.pool.releaseAll();
    context.messages.informWithDetail(kErrorCaption, kInvalidDataText, failure);
}

}  // namespace

int loadDocument(Document& doc, LoadMode mode, std::string_view path, const LoadContext& context,
                 std::string* failure) {
    std::string appended;
    if (mode == LoadMode::Append) {
        if (doc.files.count() >= kMaxFiles) return doc.data;  // no question for a file that cannot be listed
        const std::optional<std::string> source = appendSource(doc, path, context.messages);
        FileList trial = doc.files;
        if (!source || !trial.append(*source)) return doc.data;
        appended = *source;
    }
    context.pool.releaseAll();
    FileTime newest = 0;
    std::string why;
    int total = mode == LoadMode::New ? openMainFile(doc, path, context, newest, why)
                                       : rereadFiles(doc, mode == LoadMode::Reread, context, newest, why);
    if (total == 0) {
        if (failure) *failure = why.empty() ? fileDetail(doc.files.name(0), "no data") : why;
        return 0;
    }
    if (mode == LoadMode::Append) {
        const int j = doc.files.appendedCount() + 1;
        const FileTime time = lastWriteTime(appended);
        const int n = loadAppendedFile(freeSlots(doc, total), appended, context);
        if (n > 0) newest = std::max(newest, time);
        doc.filesets[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(n);
        doc.files.append(appended);
        total += n;
    }
    finishLoad(doc, total, context, newest);
    return doc.data;
}

int loadAppendedFile(std::span<DataSet> slots, const std::string& path, const LoadContext& context) {
    if (slots.empty() || !appendedFileReadable(path, context)) return 0;
    const int n = readDataFileOf(path, slots, context, nullptr);
    if (n == 0) return 0;
    // The appended file's own settings go to a scratch Document, which is then dropped: an appended file
    // never changes the axes of the graph.
    Document scratch;
    scratch.files.setMain(path);
    applyDefaultsAndParameters(n, slots.first(static_cast<std::size_t>(n)), &scratch, nullptr, context.messages);
    return n;
}

void applyDefaultsAndParameters(int n, std::span<DataSet> sets, Document* doc, ViewList* views,
                                MessageBoxes& messages) {
    if (n <= 0) return;
    n = std::min({n, kMaxSets, static_cast<int>(sets.size())});
    const auto loaded = sets.first(static_cast<std::size_t>(n));
    defaultLines(loaded);
    if (!doc) return;
    doc->autoRange(extents(loaded));
    readParameters(*doc, loaded, views, messages);
}

void tidyAppended(Document& doc) {
    auto& counts = doc.filesets;
    for (int k = doc.files.appendedCount(); k >= 1; --k) {
        if (counts[static_cast<std::size_t>(k)] != 0) continue;
        doc.files.remove(k);
        std::copy(counts.begin() + k + 1, counts.end(), counts.begin() + k);
        counts.back() = 0;
    }
    const int files = doc.files.appendedCount();
    if (files <= 0) return;
    const int appendedSets = std::accumulate(counts.begin() + 1, counts.begin() + files + 1, 0);
    const std::string& main = doc.files.name(0);
    for (int i = std::max(1, doc.data - appendedSets + 1); i <= doc.data; ++i) {
        DataSet& set = doc.sets[static_cast<std::size_t>(i)];
        if (!set.storage) continue;
        const std::string name = set.name().str();
        const std::string shown = displayName(name, main).value_or(name);
        set.setTitle("[" + shown + "] " + set.title().str());
    }
}

bool allFilesPresent(const DocumentHead& doc) {
    if (doc.files.empty()) return false;
    enterFileFolder(doc.files.name(0));
    return std::none_of(doc.files.names().begin(), doc.files.names().end(),
                        [](const std::string& name) { return readProblem(name).has_value(); });
}

bool releaseAppended(Document& doc, int k) {
    const int files = doc.files.appendedCount();
    if (k < 1 || k > files) return false;
    auto& counts = doc.filesets;
    const int appendedSets = std::accumulate(counts.begin() + 1, counts.begin() + files + 1, 0);
    const int before = std::accumulate(counts.begin() + 1, counts.begin() + k, 0);
    const int first = std::clamp(doc.data - appendedSets + before + 1, 1, doc.data + 1);  // first set of file k
    const int released = std::min<int>(counts[static_cast<std::size_t>(k)], doc.data - first + 1);
    doc.files.remove(k);
    const auto begin = doc.sets.begin() + first;
    std::move(begin + released, doc.sets.begin() + doc.data + 1, begin);
    doc.data -= released;
    std::copy(counts.begin() + k + 1, counts.end(), counts.begin() + k);
    counts.back() = 0;
    return true;
}

bool enterFileFolder(std::string_view path) {
    std::error_code error;
    fs::current_path(fs::path(folderOf(path)), error);
    return !error;
}

std::optional<std::string> otherDriveQuestion(std::string_view path, std::string_view mainPath) {
    if (sameDrive(path, mainPath)) return std::nullopt;
    const char pathDrive = path.empty() ? ' ' : path.front();
    const char mainDrive = mainPath.empty() ? ' ' : mainPath.front();
    return formatMessage(
        "異なるドライブからは(%c:->%c:)、ファイルを追加できません。\n"
        "現在のフォルダ(%s)にデータをコピーして追加しますか？",
        pathDrive, mainDrive, folderOf(mainPath).c_str());
}

// --- The command layer's load -------------------------------------------------------------------------

int loadIntoViews(ViewList& views, LoadMode mode, std::string_view path, const LoadContext& context) {
    Document work = views.current();
    ReadKeeper ownKeeper(nullptr);
    LoadContext reading = context;
    if (!reading.keeper) reading.keeper = &ownKeeper;
    std::string failure;
    const int n = loadDocument(work, mode, path, reading, &failure);
    if (n == 0) {
        views.first().readState.reset();
        failLoad(views, context, failure);
        return 0;
    }
    work.readState = reading.keeper->kept();
    if (mode == LoadMode::New) {
        // The views take their settings from the parameter file and their sets from the fresh load;
        // the current view then takes the loader's result itself.
        Document listed = work;
        applyDefaultsAndParameters(n, listed.setRange(1, n), &listed, &views, context.messages);
    }
    views.current() = work;
    shareLoadedSets(views);
    return n;
}

int openNewDocument(ViewList& views, const std::string& path, DataPool& pool, MessageBoxes& messages) {
    LoadContext context{pool, messages};
    return loadIntoViews(views, LoadMode::New, path, context);
}

ReloadResult reloadDocument(ViewList& views, const LoadContext& context) {
    if (!allFilesPresent(views.current())) return ReloadResult::FilesMissing;
    return loadIntoViews(views, LoadMode::Reread, {}, context) > 0 ? ReloadResult::Reloaded : ReloadResult::Failed;
}

void shareLoadedSets(ViewList& views) {
    Document& current = views.current();
    for (int v = 1; v <= views.viewCount(); ++v) {
        Document& view = views.viewAt(v);
        if (&view == &current) continue;
        // The files are the same, and so is what their reads left (the arrays among it).
        view.readState = current.readState;
        // The view keeps its own number of sets (the parameter file stores its choices for all of
        // them); slots the current files did not fill hold no data until the view is reloaded.
        const int shared = std::min(view.data, current.data);
        for (int i = 1; i <= kMaxSets; ++i) {
            DataSet& set = view.sets[static_cast<std::size_t>(i)];
            if (i <= shared) {
                takeLoadedData(set, current.sets[static_cast<std::size_t>(i)]);
            } else {
                dropLoadedData(set);
            }
        }
    }
    for (int i = current.data + 1; i <= kMaxSets; ++i) dropLoadedData(current.sets[static_cast<std::size_t>(i)]);
}

}  // namespace varnex
