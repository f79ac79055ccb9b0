// Child files: data pasted into an open graph is written beside its main data file, as the main file's
// name followed by ".n.@" (run.dat.1.@, run.dat.2.@, ...), and appended to the graph; data pasted as a
// new graph goes to the paste file "@.@" in the current directory. Parameter files store a child file
// as "*.n.@", '*' standing for the main file's full path (util/paths.h relativeName), so the child
// files follow their main file when it is saved under a new name.
//
// Names are full paths. File-system failures are reported by the return value only.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnex {

class ViewList;

// The child-number search ends here: a main file with this many child files takes no more.
inline constexpr int kMaxChildNumber = 9999;

// The first free child-file name of the main data file mainPath: mainPath followed by ".n.@" for the
// lowest n (1..kMaxChildNumber) for which no file of that name exists. An empty mainPath gives the paste
// file "@.@" in the current directory. nullopt when every number up to kMaxChildNumber is taken (the
// paste is then refused) or the current directory cannot be read.
std::optional<std::string> newChildName(std::string_view mainPath);

// Writes pasted text to path (created or overwritten) byte for byte, with no line-end translation, up to
// the text's first NUL. False if the file cannot be written completely; a regular file that was begun
// is then removed, so that a full disk leaves no empty or partial child file behind.
bool writePastedText(const std::string& path, std::string_view text);

// The child files and paste files this run of the program wrote (full names). Another instance may
// work on the same data file at the same time: clean-up deletes only files of this list, never a
// file that the other instance made and may still need.
class MadeChildFiles {
public:
    // Notes a file this run wrote (made absolute; nothing for a name that has no absolute form).
    void add(std::string_view path);
    bool contains(std::string_view path) const;
    void forget(std::string_view path);
    const std::vector<std::string>& files() const { return m_files; }

private:
    std::vector<std::string> m_files;
};

// Deletes the temporary and unreferenced child files of the data file dataPath, which is being left,
// among the files `made` lists (each deleted file, and each that no longer exists, leaves the list):
//   - a paste file "@.@" of dataPath's folder and the paste file's own child files ("@.@.1.@"), which
//     are always temporary (a data file that merely begins with "@.@" is not);
//   - a child file of dataPath (its base name, a dot, any text, ".@") that the parameter file on disk,
//     read again now, does not name in a "file=" line. A parameter file that exists but cannot be
//     read keeps every child file.
// keepPath, the file about to be opened, is never deleted; neither is a file that belongs to another
// data file of the folder with a longer name (run.dat.old.1.@ is a child of run.dat.old, not of
// run.dat). Nothing for an empty dataPath.
void cleanUpChildFiles(std::string_view dataPath, MadeChildFiles& made, std::string_view keepPath = {});

// True if the file `name` (a full path) is a child file of the data file mainPath in the sense of
// cleanUpChildFiles: it lies in mainPath's folder, is named mainPath's base name, a dot, any text and
// ".@", and no existing data file of the folder with a longer name claims it.
bool belongsToDataFile(std::string_view name, std::string_view mainPath);

// Saves the current view's main data file E as newMain and points every view at it:
//   1. copies E to newMain; false, with nothing changed, if that fails (newMain exists, E is missing);
//   2. for every view, name 0 becomes newMain and each appended file F, in order, becomes
//      - for a child file of E (E followed by ".n.@"): newMain's child file with the same number, to
//        which F is copied (overwriting);
//      - for any other file, when E and newMain lie on the same drive: F itself (the parameter file
//        then stores it relative to newMain's folder);
//      - otherwise: a copy of F in newMain's folder under F's base name (overwriting).
// Returns true. The old files stay in place. The caller writes the parameter file and opens newMain.
// A child or cross-drive copy that fails leaves its name listed; loading newMain then drops it.
bool saveMainAs(ViewList& views, std::string_view newMain);

// The files saveMainAs(views, newMain) would write: newMain (made absolute) first, then the copies of
// appended files, each once. Empty when newMain has no absolute name.
std::vector<std::string> saveMainAsTargets(const ViewList& views, std::string_view newMain);

}  // namespace varnex
