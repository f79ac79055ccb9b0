// Where the shell meets the core: the configuration file, the loader, the file watch, child files and
// the path helpers the document commands need.
#pragma once

#include <string>
#include <string_view>

namespace varnex {

struct Configuration;
struct Document;
class DataPool;
class MessageBoxes;
class ViewList;

// Reads the configuration file beside programPath (a missing file is reported as fatal and gives the
// defaults) and copies its drawing defaults into doc.
Configuration readShellConfiguration(const std::string& programPath, MessageBoxes& messages, Document& doc);

enum class LoadMode {
    New,     // name becomes the main data file, followed by the files its parameter file names
    Append,  // name is appended to the current Document's files
    Reread,  // the current Document's files are read again
};

// Loads into the current View: reads the files into a work copy and, when that gives data, stores it
// as the current View's Document (mode New also rebuilds the View list from the parameter file).
// Returns the number of data sets; 0 when the files could not be read, the current View unchanged.
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

// A name as typed or dropped: trimmed, surrounding quotes and doubled quotes removed.
std::string unquoteName(std::string_view name);
// The file name without its folder.
std::string fileNameOf(std::string_view path);
bool fileExists(std::string_view path);

}  // namespace varnex
