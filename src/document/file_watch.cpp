#include "document/file_watch.h"

#include <algorithm>

#include "util/paths.h"

namespace varnex {

FileTime newestFileTime(const DocumentHead& doc) {
    if (doc.files.empty()) return 0;
    FileTime newest = lastWriteTime(doc.files.name(0));
    for (int j = 1; j <= doc.files.appendedCount(); ++j) newest = std::max(newest, lastWriteTime(doc.files.name(j)));
    return newest;
}

void recordFileTime(DocumentHead& doc) { doc.filetime = newestFileTime(doc); }

bool filesChanged(const DocumentHead& doc) { return doc.filetime < newestFileTime(doc); }

}  // namespace varnex
