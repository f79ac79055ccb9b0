// Reading a Document again when its files have only grown, as a measurement that appends rows to its
// file makes them grow: only the bytes after each file's last complete line are read.
//
// Every load through loadIntoViews (document/loader.h) keeps, with the Document it loads
// (Document::readState), what reading each of its files left (document/data_file_reader.h
// FileReadState) and how to recognise the file again: its identity (device and inode), its size, and a
// hash of the first and of the last 64 KiB of the bytes up to its last complete line. A file counts as
// grown when it is the same file, at least as long as before, and both hashes still match; it is then
// read on from the start of the line after its last complete line (an unfinished last line is read
// again from its start). A file that shrank, was replaced or was rewritten is read whole, and so is a
// file whose time changed while it was read (its bytes may not be those the kept state describes).
//
// The result is exactly that of reading the files whole (loadDocument in mode Reread): the same sets,
// points, titles, positions, flags, ranges and choices, and the same data pool totals.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "document/data_file_reader.h"
#include "document/line_reader.h"
#include "document/loader.h"
#include "document/read_progress.h"

namespace varnex {

// What one read of one file left, and how to tell whether the file has only grown since.
struct KeptRead {
    std::string path;
    FileSource::Identity identity;
    std::int64_t size = 0;       // the file's size when it was read
    std::uint64_t headHash = 0;  // of bytes [0, min(64 KiB, read.resumeAt))
    std::uint64_t tailHash = 0;  // of the 64 KiB before read.resumeAt (fewer for a smaller file)
    FileReadState read;
};

// The reads of one load, in the order the loader made them (main file, then the appended files).
struct KeptReads {
    std::vector<KeptRead> files;
};

// Serves the reads of one load (LoadContext::keeper): each file is read on from what an earlier load
// kept for it (the same name, the same place among the files of that name) when it has only grown,
// else whole; what every read leaves is kept for the next load.
class ReadKeeper {
public:
    // before: what the previous load kept (null: nothing, every file is read whole).
    explicit ReadKeeper(std::shared_ptr<const KeptReads> before) : m_before(std::move(before)) {}

    // Reads path into slots as readDataFile does (document/data_file_reader.h) and returns the sets.
    int read(const std::string& path, std::span<DataSet> slots, DataPool& pool, TitleText* vtitleOut);

    // Every file of the load was read on from a kept read (and there was at least one).
    bool allReadOn() const { return m_reads > 0 && m_readOn == m_reads; }
    // Every later read goes through a CountingSource on progress (which must outlive the reads).
    void watchWith(ReadProgress* progress) { m_progress = progress; }

    // What this load's reads left, for the Document.
    std::shared_ptr<const KeptReads> kept() const { return std::make_shared<const KeptReads>(m_kept); }

private:
    const KeptRead* earlier(const std::string& path, int occurrence) const;

    std::shared_ptr<const KeptReads> m_before;
    KeptReads m_kept;
    std::vector<std::string> m_seen;  // the names read so far in this load
    int m_reads = 0;
    int m_readOn = 0;
    ReadProgress* m_progress = nullptr;
};

// Whether the open file is the one `kept` was read from with only bytes added: the same identity, at
// least as long, and both hashes unchanged.
bool hasOnlyGrown(const FileSource& file, const KeptRead& kept);

enum class AppendedReload {
    ReadOn,        // every file had only grown: only the added bytes were read
    ReadWhole,     // some file was read whole (it changed otherwise, or nothing was kept)
    FilesMissing,  // a file of the current Document cannot be opened: nothing changed
    Failed,        // the main file holds no data any more: the graph was emptied as by a failed load
};

// What the desktop calls on a watch notice, in place of reloadDocument: reads the files of the current
// view again, going on from the kept reads where the files have only grown. The result (the current
// view's Document, the other views, the pool) is that of reloadDocument.
AppendedReload reloadAppended(ViewList& views, const LoadContext& context);

}  // namespace varnex
