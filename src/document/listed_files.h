// The files of a Document as the File menu lists them, and the commands on one listed file: saving the
// main data file under a new name, moving an appended or inserted file to a new name, and releasing an
// appended file.
//
// Every operation that writes or deletes a file checks first and loses nothing: a new name that exists
// is never overwritten, the old file goes only after its copy and the parameter file naming the copy
// are in place, and only a child file of the main data file that nothing names any more is deleted.
// File numbers are positions in the current view's file list (0 = the main data file).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace varnex {

struct DocumentHead;
class ViewList;

// One entry of the file list.
struct ListedFile {
    int index = 0;        // position in the file list
    std::string label;    // "&%d%c %s": index, '*' when not recorded (else ' '), the displayed name
    bool recorded = false;   // the main file, or an appended file the parameter file names
    bool childFile = false;  // its name ends in ".@" (and it is not the paste file "@.@")
    bool canEdit = false;    // recorded, and the main file is not the paste file
    bool canRename = false;  // a child file, and the main file is not the paste file (Rename, Save As)
};

// The entries for every file of doc's list; none while doc holds no data set. An appended file is
// recorded when its relative name (the '*' form for a child file) is on a "file=" line of the main
// file's parameter file.
std::vector<ListedFile> listedFiles(const DocumentHead& doc);

// True if name is a child file of the data file mainPath: mainPath, a dot, any text and ".@".
bool isChildFileOf(std::string_view name, std::string_view mainPath);

// The name the save dialog proposes for file `old`: its base name, for an appended file (n >= 1) cut
// before its last '.' (data.dat.1.@ → data.dat.1).
std::string proposedSaveName(std::string_view old, bool appended);

// The name an inserted file takes when saved as a child file of mainPath under the chosen name: a name
// without the ".@" ending gets it; then, when its base name c does not begin with the main file's base
// name m, the name becomes chosen's folder, m, '.', c. renamed tells that the second step applied.
struct ChildFileName {
    std::string name;
    bool renamed = false;
};
ChildFileName childFileName(std::string_view chosen, std::string_view mainPath);

enum class SaveAsResult {
    Saved,
    NotCopied,             // the new name exists (or names the parameter file), or the list is full
    CopyFailed,            // a copy could not be written (a folder that cannot be written, a full disk,
                           // a name too long) or the file to copy cannot be read: nothing is left of it
    ParametersNotWritten,  // the parameter file could not be written: the copies are removed again
};

// Saves the current view's main data file as newMain: refused when newMain or any other file the save
// would write exists; otherwise saveMainAs (document/child_files.h) copies the files and points every
// view at newMain, and the parameter file is written for newMain. If a copy fails (CopyFailed) or that
// write fails, the copies are removed and every view's list is restored. The old files stay in place.
SaveAsResult saveMainFileAs(ViewList& views, std::string_view newMain);

// Moves appended file n (1-based) of the current view to newName: copies it (never over an existing
// file), puts newName in place of name n in the current view's list, and of the same name in every
// other view's list, and writes the parameter file; only then deletes the old file. If the parameter
// file cannot be written, the copy is removed and the lists restored.
SaveAsResult moveListedFile(ViewList& views, int n, std::string_view newName);

enum class ReleaseResult {
    NotListed,  // no appended file n: nothing changed
    Released,   // taken out of the current view; the file stays on disk
    Deleted,    // taken out, and the file was deleted
};

// Takes appended file n out of the current view (releaseAppended). The file is then deleted only when
// it is a child file of the main data file (not of another data file of the folder, as
// run.dat.old.1.@ is when run.dat.old exists) that no "file=" line of the parameter file names and no
// other view lists. The caller reloads the Document.
ReleaseResult releaseListedFile(ViewList& views, int n);

}  // namespace varnex
