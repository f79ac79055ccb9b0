#include "document/parameter_writer.h"

#include <algorithm>
#include <optional>

#include "document/line_reader.h"
#include "document/model.h"
#include "document/parameter_file.h"
#include "document/view_list.h"
#include "util/codepage.h"
#include "util/file_replace.h"
#include "util/numbers.h"
#include "util/paths.h"

namespace varnex {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

void addLine(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += value;
    out += kLineEnd;
}

// A text line: the value up to its first line end (no field normally holds one), and only as much of
// it as a reader takes in one line, so that no rest of the line can be read as a line of its own.
void addText(std::string& out, std::string_view key, std::string_view text) {
    text = text.substr(0, text.find_first_of("\r\n"));
    addLine(out, key, cutToFit(text, kLineBytes - key.size()));
}

// The stored form of an appended file's name: relative to the main file with '\' separators, or the
// absolute name when there is no relative one.
std::string storedFileName(const std::string& name, const std::string& main) {
    const std::optional<std::string> relative = relativeName(name, main);
    return toStoredSeparators(relative ? *relative : name);
}

void addSection(std::string& out, const Document& view, const std::string& main) {
    out += kLineEnd;
    for (int j = 1; j <= view.files.appendedCount(); ++j)
        addLine(out, kFileKey, storedFileName(view.files.name(j), main));
    addText(out, kVtitleKey, view.vtitle);
    addLine(out, kXtypeKey, std::to_string(view.xtype));
    addLine(out, kXsizeKey, std::to_string(view.xsize) + "%");
    addText(out, kXtitleKey, view.xtitle);
    addText(out, kXfontKey, view.xfont);
    addLine(out, kYtypeKey, std::to_string(view.ytype));
    addLine(out, kYsizeKey, std::to_string(view.ysize) + "%");
    addText(out, kYtitleKey, view.ytitle);
    addText(out, kYfontKey, view.yfont);
    addLine(out, kXminKey, formatG(view.xmin));
    addLine(out, kYminKey, formatG(view.ymin));
    addLine(out, kXmaxKey, formatG(view.xmax));
    addLine(out, kYmaxKey, formatG(view.ymax));
    addLine(out, kPrintwKey, formatG(view.printw));
    addLine(out, kFramewidthKey, formatG(view.framewidth));
    addLine(out, kGraphwidthKey, formatG(view.graphwidth));
    addLine(out, kMarkersizeKey, formatG(view.markersize));
    if (view.follow) addLine(out, kFollowKey, "1");
    const int data = std::clamp(view.data, 0, kMaxSets);
    addLine(out, kDataKey, std::to_string(data));
    for (int i = 1; i <= data; ++i) {
        const GraphParams& p = view.sets[static_cast<std::size_t>(i)].params;
        out += std::to_string(i) + ' ' + std::to_string(p.interp) + ' ' + std::to_string(p.linetype) + ' ' +
               std::to_string(p.marker) + ' ' + std::to_string(p.shape);
        out += kLineEnd;
    }
}

}  // namespace

std::string formatParameters(const ViewList& views) {
    const Document& current = views.current();
    if (current.data <= 0 || current.files.empty()) return {};
    const std::string& main = current.files.name(0);
    std::string out;
    addLine(out, kViewKey, std::to_string(views.indexOfCurrent()));
    for (int k = 1; k <= views.viewCount(); ++k) addSection(out, views.viewAt(k), main);
    return out;
}

WriteResult writeParameters(const ViewList& views) {
    const std::string text = formatParameters(views);
    if (text.empty()) return WriteResult::NothingToWrite;
    const std::string name = parameterFileName(views.current().files.name(0));
    return replaceFileContents(name, text) ? WriteResult::Written : WriteResult::Failed;
}

}  // namespace varnex
