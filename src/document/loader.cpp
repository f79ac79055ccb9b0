#include "document/loader.h"

#include "document/data_file_reader.h"
#include "document/directives.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {
namespace {

void failOpen(ViewList& views, MessageBoxes& messages) {
    views.first().data = 0;
    views.truncateAfter(1);
    views.setCurrent(1);
    messages.inform(kErrorCaption, kInvalidDataText);
}

}  // namespace

int openNewDocument(ViewList& views, const std::string& path, DataPool& pool, MessageBoxes& messages) {
    Document work = views.current();
    pool.releaseAll();
    const std::string name = absPath(path).value_or(path);
    const int n = readDataFile(name, work.setRange(1, kMaxSets), pool, &work.vtitle);
    if (n == 0 || !work.files.setMain(name)) {
        failOpen(views, messages);
        return 0;
    }
    const auto sets = work.setRange(1, n);
    defaultLines(sets);
    work.autoRange(extents(sets));
    readDirectives(name, work, sets);
    work.data = n;
    pool.reserveWorkSpace(maxCount(sets));
    const Extents e = extents(sets);
    work.dataxmin = e.xmin;
    work.dataxmax = e.xmax;
    work.dataymin = e.ymin;
    work.dataymax = e.ymax;
    work.normalise();
    views.truncateAfter(1);
    views.setCurrent(1);
    views.current() = work;
    return n;
}

}  // namespace varnex
