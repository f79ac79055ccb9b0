// Where the shell meets the document layer's loading and file watch: loading in its three modes, the
// file times, and the child files left behind by a data file.
#pragma once

#include <string>

namespace varnex {

struct Document;
class DataPool;
class MessageBoxes;
class ViewList;

enum class LoadMode {
    New,     // name becomes the main data file, followed by the files its parameter file names
    Append,  // name is appended to the current Document's files
    Reread,  // the current Document's files are read again
};

// Loads into the current View and returns its number of data sets. With data, the result is the
// current View's Document (mode New also rebuilds the View list). When the files give no data, the
// first View is emptied and made the only one, "不正なデータです。" is reported, and 0 is returned.
int loadIntoCurrentView(LoadMode mode, const std::string& name, ViewList& views, DataPool& pool,
                        MessageBoxes& messages);

// Every file of doc can still be opened.
bool allFilesPresent(const Document& doc);
// A file of doc is newer than when doc was last loaded with data.
bool filesChanged(const Document& doc);
// Records the newest modification time of doc's files.
void recordFileTime(Document& doc);

// Deletes the scratch and unreferenced child files of a data file that is being left; nothing for an
// empty name.
void cleanUpChildFiles(const std::string& dataPath);

}  // namespace varnex
