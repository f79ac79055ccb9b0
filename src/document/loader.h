// Loading a Document from its data files: opening a new main file, reloading the files of a Document,
// appending a file, releasing an appended file, and the opening sequence of the command layer, which
// also rebuilds the View list.
//
// The sets of a Document are ordered by file: the main file's sets, then those of appended file 1, 2, ...
// in list order; doc.filesets[j] holds the number of sets of appended file j and doc.data the total,
// never more than kMaxSets: reading stops when the slots are full, and an appended file that finds no
// free slot gives no set and is dropped from the list like an unreadable one.
//
// Every load first releases the whole data pool, so the pool's totals count only what this load took.
// Views other than the current one still refer to the old arrays after a load (the references keep them
// alive, so nothing dangles); loadIntoViews therefore points every other view at the fresh arrays at
// once (shareLoadedSets), so no view ever shows data that is not loaded and the old arrays are freed.
//
// The data file a load leaves as current is the current view's name 0; the path helpers that resolve
// names against it take it as an explicit base (util/paths.h), so no copy of it is kept here.
//
// Only regular files are read (links followed): a FIFO would block the program at its opening and a
// device such as /dev/zero never ends. An appended file that exists but is not a regular file is
// reported ("不正なデータです。" with the detail "FILE: reason") and gives no set; a missing one gives no
// set without a word.
//
// File times: on success doc.filetime holds the newest last-write time of the files that gave sets, each
// taken just before that file was read. A file rewritten while it is being read is thus newer than the
// recorded time and is seen as changed at the next check (document/file_watch.h).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "document/data_pool.h"
#include "document/model.h"
#include "document/view_list.h"

namespace varnex {

class MessageBoxes;
class ReadKeeper;

// What a load uses besides the Document: the pool that every array comes from, and the message boxes
// for the drive question of an append, the error of a failed load and the pool's fatal errors. Both
// must outlive the load.
struct LoadContext {
    DataPool& pool;
    MessageBoxes& messages;
    // Reads the data files when given, going on from an earlier load's reads (document/incremental_load.h).
    ReadKeeper* keeper = nullptr;
    // A load off the UI thread leaves the current directory alone (the caller enters the folder after
    // it succeeded); its names must then be absolute.
    bool enterFolder = true;
};

enum class LoadMode {
    New,     // path becomes the new main file; its parameter file names the appended files
    Append,  // path is appended to doc.files
    Reread,  // every file of doc.files is read again; drawing choices and axes stay
};

// Fills doc (a work copy the caller installs on success) from its files and returns the number of data
// sets, 0 on failure.
//   New: path (made absolute) is read with its graph title into slots 1..; the folder of path becomes
//     the current directory; the parameter file (or the file's directives) gives the appended files,
//     which are read after it (loadAppendedFile), and then the settings (applyDefaultsAndParameters).
//   Reread: name 0 and every appended file are read again into slots 1.., 2.. in order; each slot keeps
//     its GraphParams, so the sets keep their drawing choices while the files keep their layout.
//   Append: if path lies on another drive than name 0, the user is asked whether to copy it into name
//     0's folder (otherDriveQuestion); No, a failed copy or a full file list returns doc.data with
//     nothing changed and the pool untouched. Otherwise the files of doc are read again as in a reload
//     and path is read after them (loadAppendedFile) and appended to the list.
// Every success ends alike: data = total, the curve work space is taken from the pool, the extents go
// to dataxmin..dataymax, normalise(), tidyAppended(), filetime is recorded, and slots after the last
// set lose their arrays (their GraphParams stay for a set that appears there later).
// Failure (the main file cannot be read or holds no numbers) returns 0 and leaves doc's settings as
// they were; the pool has been released; *failure (when given) receives "FILE: reason" for the message
// (document/data_file_problems.h).
int loadDocument(Document& doc, LoadMode mode, std::string_view path, const LoadContext& context,
                 std::string* failure = nullptr);

// Reads the file path into slots (the first free slots of a Document) with the line scheme and the
// drawing choices of path's own parameter file (its current view) or of its directives. The axes of the
// Document are not touched. Returns the number of sets read: 0 if path cannot be read, holds no numbers,
// or slots is empty (a path that exists but is not a regular file is reported, see above).
int loadAppendedFile(std::span<DataSet> slots, const std::string& path, const LoadContext& context);

// The settings step after reading n sets into sets (element 0 is set 1): nothing for n = 0; otherwise
// the line scheme (defaultLines) for the n sets and, when doc is given, automatic limits from their
// extents and then the parameter file of doc's main file (or its directives), which overrides both
// (document/parameter_reader.h readParameters; messages receives its path message). With views, the
// parameter file also rebuilds the View list: one view per stored section, the stored current view
// current; without a parameter file the list is cut to the first view, which is current. doc must not
// be a view's own Document.
void applyDefaultsAndParameters(int n, std::span<DataSet> sets, Document* doc, ViewList* views,
                                MessageBoxes& messages);

// Drops the appended files that gave no set (moving the counts of the later ones down) and prefixes the
// title of every set of the remaining appended files with "[name] ", name being its file relative to
// the main file's folder without any '*' (util/paths.h displayName; the full name on another drive).
// Titles are cut to their 255 bytes. The titles live in the pool: call this once per load.
void tidyAppended(Document& doc);

// True if the main file and every appended file are regular files that can be opened for reading; the
// main file's folder becomes the current directory. False for an empty list.
bool allFilesPresent(const DocumentHead& doc);

// Removes appended file k (1-based) from the list; the records of the sets after its sets move down by
// its number of sets, keeping their drawing choices, and data and filesets shrink to match. False (and
// nothing changes) if there is no appended file k. The caller then reloads the files.
bool releaseAppended(Document& doc, int k);

// Makes the folder of path the current directory; false if that fails.
bool enterFileFolder(std::string_view path);

// The question asked before appending path to a document whose main file is mainPath from another
// drive (drive letters compared as characters, util/paths.h sameDrive); nullopt on the same drive.
// Drive letters come only from names written on another platform: on Linux this never asks.
std::optional<std::string> otherDriveQuestion(std::string_view path, std::string_view mainPath);

// --- The command layer's load -------------------------------------------------------------------------

// Loads into the current view as the commands do: a work copy of the current Document goes through
// loadDocument, its reads kept with it (Document::readState). On success, in mode New the View list is rebuilt from the parameter file (the stored
// views, the stored current one current); the work copy then becomes the current view's Document and
// shareLoadedSets runs. On failure the first view is emptied (data 0, its arrays dropped), the list is
// cut to it, it becomes current, the pool is released, and "不正なデータです。" is shown with the
// caption "VarnexWin32 3.26c Error" and the detail "FILE: reason" (the main file and why it gave no
// data). Returns the number of data sets, 0 on failure.
int loadIntoViews(ViewList& views, LoadMode mode, std::string_view path, const LoadContext& context);

// Opens path as a new graph: loadIntoViews in mode New.
int openNewDocument(ViewList& views, const std::string& path, DataPool& pool, MessageBoxes& messages);

enum class ReloadResult {
    Reloaded,      // the files were read again
    FilesMissing,  // a file of the current Document cannot be opened: nothing changed
    Failed,        // the main file holds no data any more: the graph was emptied as by a failed load
};

// Reads the files of the current view again (after a change on disk, a view switch or a deletion): if
// allFilesPresent, loadIntoViews in mode Reread.
ReloadResult reloadDocument(ViewList& views, const LoadContext& context);

// After a load into the current view: every other view takes the current view's kept reads and, for its
// slots 1..min(its data, loaded data), the current view's arrays, counts, file positions and flags, keeping its own GraphParams and
// settings; its data is capped at the loaded count, and its later slots drop their arrays. So every view
// refers only to loaded arrays, and a view shows its own files' data once it becomes current and is
// reloaded. The current view's slots after its data drop their arrays too.
void shareLoadedSets(ViewList& views);

}  // namespace varnex
