// The document commands: opening a data file as a new graph, appending, reloading, the file names a
// command line or a drop may give, the window title with its modified mark, and the version box.
//
// All operations act on the current View's Document. A failed load empties the first View, drops the
// others, clears the graph, labels tab 2 "Data" and reports "不正なデータです。" (caption
// "VarnexWin32 3.26c Error").
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document/child_files.h"
#include "document/loader.h"
#include "document/model.h"
#include "util/file_stamp.h"

class QMimeData;

namespace varnex {

struct Configuration;
struct LoadedViews;
class BackgroundLoad;
struct ShellHooks;
class DataPool;
class GraphView;
class MainWindow;
class MessageBoxes;
class ViewList;

class DocumentCommands {
public:
    // Everything given must outlive the commands.
    DocumentCommands(ViewList& views, DataPool& pool, MessageBoxes& messages, const Configuration& config,
                     GraphView& graph, MainWindow& window, const ShellHooks& hooks);

    // Opens name as a new graph; returns its number of data sets (0: the load failed and was reported).
    int open(const std::string& name);
    // Opens name as open does, but a file big enough for the background load (app/background_load.h)
    // is read off the UI thread: the call returns at once (0) and the graph is replaced when the read
    // succeeds; a cancelled read leaves everything as it was.
    void openInBackground(const std::string& name);
    // Where openInBackground reads big files; without one, every open is made at once.
    void setBackgroundLoad(BackgroundLoad* background) { m_background = background; }
    // A background open is running (commands that would change the Document wait for it).
    bool loading() const;
    // Appends name to the current graph and redraws.
    int append(const std::string& name);
    // Reads every file of the current Document again and redraws; nothing when a file of the list can
    // no longer be opened (the old Document stays). Files that have only grown are read on from where
    // the last read ended (document/incremental_load.h); a view that follows its data then moves its x
    // range to the newest point (document/follow.h).
    void reload();
    // A dropped file's name: quotes removed; ignored without a message unless accepted; asks whether
    // to draw over the current graph when one is shown ("Yes" appends, otherwise the file opens as a
    // new graph).
    void openOrAppend(const std::string& name);
    // The command line's name: as openOrAppend, but a name that opens nothing is reported with the
    // caption "VarnexWin32 3.26c Error", the text "The file is not opened." and the detail
    // "NAME: reason". An empty command line opens nothing without a word.
    void openCommandLine(const std::string& name);

    // The data file a name stands for, by the rule that batch mode shares
    // (document/command_line_file.h): the name itself when it ends with "." and a configured
    // extension (any case); for a ".p" name (any case), the first existing file with that extension
    // replaced by a configured one; otherwise nothing.
    std::optional<std::string> accept(const std::string& name) const;

    // The window title for doc: "VarnexWin32 3.26c" without data; "NAME - VarnexWin32 3.26c" while doc
    // equals the copy taken at its load or save; "NAME * - VarnexWin32 3.26c" from the first change on
    // until the next load of a new file or save.
    void updateTitle(const Document& doc);

    // The version box with the memory report.
    void about();

    // Called after every load, successful or not.
    void setAfterLoad(std::function<void()> afterLoad) { m_afterLoad = std::move(afterLoad); }

    // The full name of the data file last opened as a new graph (empty after a failed open).
    const std::string& lastOpenedName() const { return m_lastOpened; }
    // The undo copy: the Document as it was after the last load or save, or just before the last
    // apply of the panels (which writes it).
    const Document& savedCopy() const { return m_savedCopy; }
    // After a save: takes a new saved copy of the current Document, clears the title mark and updates
    // the title; notes the parameter file as written.
    void markSaved();

    // The child files and paste files this run wrote; clean-up deletes nothing else.
    MadeChildFiles& madeChildFiles() { return m_made; }
    // At exit: deletes the temporary and unreferenced child files of the current main data file that
    // this run made (document/child_files.h).
    void cleanUpAtExit();

    // --- Saving the parameter file and pasting (save_paste_commands.cpp) ---
    // Writes the parameter file of the current main data file with every View and marks the Document
    // saved. Refused (false, nothing written) for the paste file "@.@" and without data; a file that
    // cannot be written is reported and the title keeps its mark. When the parameter file changed on
    // disk since it was read (another instance saved it), asks "NAME was changed on disk since it was
    // loaded. Overwrite it?" first, No the default; No writes nothing (false).
    bool saveParameters();
    // Appends a file of pasted data; with the paste-default flag set, the sets it gave get the marker
    // scheme. Redraws.
    int pasteAppend(const std::string& name);
    // Pastes the clipboard's data: a list of files (the first accepted one may open a new graph, the
    // others are appended) or text (written to a new child file and appended, or to the paste file and
    // opened as a new graph). Nothing for anything else. A child or paste file that cannot be written
    // (a read-only folder, a name too long, a full disk) is reported, and no part of it is left.
    void paste(const QMimeData& data, bool asNewGraph);
    // The paste-default flag: data pasted into a shown graph is drawn with markers.
    bool pasteMarkers() const { return m_pasteMarkers; }
    void setPasteMarkers(bool markers) { m_pasteMarkers = markers; }
    Document& savedCopy() { return m_savedCopy; }

    // Graph "&Undo": when the current Document differs from the undo copy, exchanges the two (a second
    // Undo brings the first state back), redraws and refreshes the panels.
    void undoGraph();

private:
    int load(LoadMode mode, const std::string& name);
    void openOrAppendFile(const std::string& file);
    // The steps after every load that gave `sets` (0: it failed); the panels' rows are rebuilt unless
    // rebuildPanels is false (a reload that only added rows to the same sets).
    int afterLoad(LoadMode mode, int sets, bool rebuildPanels);
    // The steps after an open that gave sets: the picture, the axis page, the data sheet.
    void afterOpen(int sets);
    void finishBackgroundOpen(LoadedViews loaded);
    void afterFailedLoad();

    ViewList& m_views;
    DataPool& m_pool;
    MessageBoxes& m_messages;
    const Configuration& m_config;
    GraphView& m_graph;
    MainWindow& m_window;
    const ShellHooks& m_hooks;

    Document m_savedCopy;
    const Document* m_savedFor = nullptr;  // the Document the copy was taken from at a load or save
    bool m_titleMarked = false;
    std::string m_lastOpened;
    MadeChildFiles m_made;
    FileStamp m_parameterStamp;  // the parameter file as this run last read or wrote it
    std::function<void()> m_afterLoad;
    bool m_pasteMarkers = false;
    BackgroundLoad* m_background = nullptr;
};

}  // namespace varnex
