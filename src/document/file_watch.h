// File watching: whether a file of the current Document was written since it was loaded.
//
// Times are last-write times in nanoseconds (util/paths.h lastWriteTime), so two writes within the same
// second are told apart: a measurement that rewrites its file twice a second is reloaded both times.
// Only the main data file and the appended files count; the parameter file does not. A missing file
// counts as time 0, so deleting a file never looks like a change, and restoring it with a newer time
// does. A file whose time goes backwards (restored from a backup) is not seen as changed.
#pragma once

#include "document/model.h"

namespace varnex {

// The newest last-write time of the main file and the appended files of doc; 0 when none exists.
FileTime newestFileTime(const DocumentHead& doc);

// doc.filetime = newestFileTime(doc). The loader records the times itself (document/loader.h); this is
// for callers that change the files of a Document by other means.
void recordFileTime(DocumentHead& doc);

// True if a file of doc is newer than doc.filetime.
bool filesChanged(const DocumentHead& doc);

}  // namespace varnex
