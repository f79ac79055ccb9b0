#include "document/parameter_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

#include "document/directives.h"
#include "document/line_reader.h"
#include "document/parameter_file.h"
#include "document/view_list.h"
#include "document/views.h"
#include "util/codepage.h"
#include "util/numbers.h"
#include "util/paths.h"

namespace varnex {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// True if the line begins with key after any leading blanks (spaces and tabs). Keys are recognised
// only there: a title that merely contains "data=" or "file=" is a title. Every file the writer
// produces has its keys at the start of the line.
bool startsWithKey(std::string_view line, std::string_view key) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first != kNone && line.substr(first).starts_with(key);
}

// The text after the line's first '='; nullopt for a line without '=' (it matches no key).
std::optional<std::string_view> valueOf(std::string_view line) {
    const std::size_t equals = findChar(line, '=');
    if (equals == kNone) return std::nullopt;
    return line.substr(equals + 1);
}

std::int8_t saturatedInt8(int value) {
    return static_cast<std::int8_t>(std::clamp<int>(value, std::numeric_limits<std::int8_t>::min(),
                                                    std::numeric_limits<std::int8_t>::max()));
}

std::int8_t int8Value(std::string_view text) {
    return saturatedInt8(parseLeadingInt(text));
}

// The key lines other than "data=" and "file=".
struct KeyAction {
    std::string_view key;
    void (*apply)(DocumentHead& doc, std::string_view value);
};

constexpr KeyAction kKeyActions[] = {
    {kVtitleKey, [](DocumentHead& d, std::string_view v) { d.vtitle = v; }},
    {kXtypeKey, [](DocumentHead& d, std::string_view v) { d.xtype = int8Value(v); }},
    {kXtitleKey, [](DocumentHead& d, std::string_view v) { d.xtitle = v; }},
    {kXsizeKey, [](DocumentHead& d, std::string_view v) { d.xsize = int8Value(v); }},  // "50%" reads 50
    {kXfontKey, [](DocumentHead& d, std::string_view v) { d.xfont = v; }},
    {kYtypeKey, [](DocumentHead& d, std::string_view v) { d.ytype = int8Value(v); }},
    {kYtitleKey, [](DocumentHead& d, std::string_view v) { d.ytitle = v; }},
    {kYsizeKey, [](DocumentHead& d, std::string_view v) { d.ysize = int8Value(v); }},
    {kYfontKey, [](DocumentHead& d, std::string_view v) { d.yfont = v; }},
    {kXminKey, [](DocumentHead& d, std::string_view v) { d.xmin = parseLeadingNumber(v); }},
    {kXmaxKey, [](DocumentHead& d, std::string_view v) { d.xmax = parseLeadingNumber(v); }},
    {kYminKey, [](DocumentHead& d, std::string_view v) { d.ymin = parseLeadingNumber(v); }},
    {kYmaxKey, [](DocumentHead& d, std::string_view v) { d.ymax = parseLeadingNumber(v); }},
    {kPrintwKey, [](DocumentHead& d, std::string_view v) { d.printw = parseLeadingNumber(v); }},
    {kGraphwidthKey, [](DocumentHead& d, std::string_view v) { d.graphwidth = parseLeadingNumber(v); }},
    {kMarkersizeKey, [](DocumentHead& d, std::string_view v) { d.markersize = parseLeadingNumber(v); }},
    {kFollowKey, [](DocumentHead& d, std::string_view v) { d.follow = parseLeadingInt(v) != 0; }},
    {kFramewidthKey,
     [](DocumentHead& d, std::string_view v) {
         // The tick pens follow the stored frame width.
         d.framewidth = parseLeadingNumber(v);
         d.tickwidth = d.framewidth;
         d.subtickwidth = d.framewidth * 2 / 3;
     }},
};

bool isFolder(const std::string& name) {
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(name), error);
}

// A "file=" value: stored names may use '\' or '/'. A folder is skipped (nothing to read: an empty
// value names the main file's folder). The main file itself is kept: it was appended to itself (to draw
// its data a second time with other choices), and dropping it would give its set lines to the wrong sets.
void appendFile(DocumentHead& doc, std::string_view value, MessageBoxes& boxes) {
    if (doc.files.empty()) return;  // nothing to be relative to, and name 0 must stay the main file
    const std::string main = doc.files.name(0);
    const std::optional<std::string> name = absoluteName(toNativeSeparators(value), main, boxes);
    if (!name || isFolder(*name)) return;
    doc.files.append(*name);  // refused past 31 names or a full list buffer: the rest are dropped
}

// The interp of a set line: codes of an older numbering (above 3) move down by 2, and 3 means spline.
std::int8_t storedInterp(int value) {
    if (value > 3) value -= 2;
    if (value == 3) value = 2;
    return saturatedInt8(value);
}

bool isScanSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

// The next byte of source, -1 at the end.
int peekByte(ByteSource& source) {
    const std::string_view window = source.window();
    return window.empty() ? -1 : static_cast<unsigned char>(window.front());
}

// One integer as scanf's "%d" reads it: white space (line ends included) skipped, an optional sign,
// digits; values beyond int saturate. False when no digit follows; the source then stands at the byte
// that could not be read (after a sign), so the next line is still there for the line reader.
bool scanInt(ByteSource& source, int& value) {
    int c = peekByte(source);
    while (isScanSpace(c)) {
        source.advance(1);
        c = peekByte(source);
    }
    const bool negative = c == '-';
    if (c == '-' || c == '+') {
        source.advance(1);
        c = peekByte(source);
    }
    if (!isDigit(c)) return false;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; isDigit(c); c = peekByte(source)) {
        magnitude = std::min(kLimit, magnitude * 10 + (c - '0'));
        source.advance(1);
    }
    value = static_cast<int>(negative ? -magnitude : std::min(magnitude, kLimit - 1));
    return true;
}

// One set line: the set number (ignored) and the four GraphParams.
bool scanSetLine(ByteSource& source, GraphParams& params) {
    std::array<int, 5> v{};
    for (int& number : v) {
        if (!scanInt(source, number)) return false;
    }
    params = {storedInterp(v[1]), saturatedInt8(v[2]), saturatedInt8(v[3]), saturatedInt8(v[4])};
    return true;
}

// Reads up to n set lines and gives each one's GraphParams to store(index, params); stops at a line
// that does not hold five integers. Returns the number of lines read.
template <typename Store>
int scanSetLines(ByteSource& source, int n, Store store) {
    int lines = 0;
    for (GraphParams params; lines < n && scanSetLine(source, params); ++lines) store(lines, params);
    return lines;
}

int loadedCount(std::span<DataSet> sets) {
    return static_cast<int>(std::min(sets.size(), static_cast<std::size_t>(kMaxSets)));
}

// A view takes doc and the loaded sets 1..doc.data. Stored GraphParams of sets past the loaded ones
// go to fresh records (count 0), so the view's own files find them when it becomes current; the view
// keeps the stored number of sets (`storedCount`) so that saving it again loses none of its choices.
void storeView(Document& view, const DocumentHead& doc, std::span<const DataSet> sets,
               std::span<const GraphParams> stored, int storedCount) {
    view.head() = doc;
    for (int i = 1; i <= doc.data; ++i)
        view.sets[static_cast<std::size_t>(i)] = sets[static_cast<std::size_t>(i - 1)];
    for (std::size_t i = static_cast<std::size_t>(doc.data); i < stored.size(); ++i) {
        view.sets[i + 1] = DataSet{};
        view.sets[i + 1].params = stored[i];
    }
    view.data = std::max(doc.data, storedCount);
}

// The first view takes doc and the loaded sets and becomes the only view.
void keepSingleView(ViewList& views, DocumentHead doc, std::span<DataSet> sets) {
    doc.data = std::clamp(doc.data, 0, loadedCount(sets));
    storeView(views.first(), doc, sets, {}, doc.data);
    views.setCurrent(1);
    views.truncateAfter(1);
}

// ASCII letters compared without regard to case, other characters exactly, whole characters at a time.
bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = charLength(a, i);
        if (length == 1 ? lower(a[i]) != lower(b[i]) : a.compare(i, length, b, i, length) != 0) return false;
        i += length;
    }
    return true;
}

}  // namespace

int readViewIndex(ByteSource& source) {
    const std::int64_t start = source.position();
    LineReader reader(source);
    while (reader.readLine()) {
        const std::string_view line = reader.line();
        if (startsWithKey(line, kViewKey)) return std::max(1, parseLeadingInt(valueOf(line).value_or("")));
    }
    source.seek(start);
    return 1;
}

int readViewSection(ByteSource& source, DocumentHead& doc, MessageBoxes& boxes) {
    doc.files.keepMainOnly();
    doc.follow = false;  // only a section that says so follows
    LineReader reader(source);
    while (reader.readLine()) {
        const std::string_view line = reader.line();
        const std::optional<std::string_view> value = valueOf(line);
        if (!value) continue;
        if (startsWithKey(line, kDataKey)) {
            doc.data = std::clamp(parseLeadingInt(*value), 0, kMaxSets);
            return doc.data;
        }
        if (startsWithKey(line, kFileKey)) {
            appendFile(doc, *value, boxes);
            continue;
        }
        for (const KeyAction& action : kKeyActions) {
            if (startsWithKey(line, action.key)) {
                action.apply(doc, *value);
                break;
            }
        }
    }
    return 0;
}

int readSetLines(ByteSource& source, std::span<DataSet> sets, int n) {
    return scanSetLines(source, n, [sets](int i, const GraphParams& params) {
        if (static_cast<std::size_t>(i) < sets.size()) sets[static_cast<std::size_t>(i)].params = params;
    });
}

bool readParameters(ByteSource& source, DocumentHead& doc, std::span<DataSet> sets, ViewList* views,
                    MessageBoxes& boxes) {
    doc.files.keepMainOnly();
    skipByteOrderMark(source);
    const int wanted = readViewIndex(source);
    const int loaded = loadedCount(sets);
    std::array<GraphParams, kMaxSets> stored;
    int sections = 0;
    while (!views || sections < kMaxViews) {
        // Read into a copy: a section cut off by the end of the file leaves doc as the last full one.
        DocumentHead section = doc;
        const int count = readViewSection(source, section, boxes);
        if (count == 0) break;
        const int lines = scanSetLines(source, count, [&stored](int i, const GraphParams& params) {
            stored[static_cast<std::size_t>(i)] = params;
        });
        ++sections;
        section.data = std::min(count, loaded);
        for (int i = 0; i < std::min(lines, loaded); ++i) {
            sets[static_cast<std::size_t>(i)].params = stored[static_cast<std::size_t>(i)];
        }
        doc = std::move(section);
        if (!views) {
            if (sections == wanted) return true;
            continue;
        }
        const int position = sections <= views->viewCount() ? sections : views->appendFresh();
        storeView(views->viewAt(position), doc, sets, std::span(stored).first(static_cast<std::size_t>(lines)),
                  lines);
        if (sections == wanted) views->setCurrent(sections);
    }
    if (sections == 0) {
        if (views) keepSingleView(*views, doc, sets);
        return false;
    }
    if (!views) return true;  // the index lies beyond the sections: doc and sets hold the last one
    if (wanted > sections) views->setCurrent(sections);
    // The current view is drawn: it holds only the sets that were loaded.
    Document& current = views->current();
    current.data = std::min(current.data, loaded);
    doc = current.head();
    for (int i = 1; i <= current.data; ++i)
        sets[static_cast<std::size_t>(i - 1)] = current.sets[static_cast<std::size_t>(i)];
    views->truncateAfter(sections);
    return true;
}

bool readParameters(DocumentHead& doc, std::span<DataSet> sets, ViewList* views, MessageBoxes& boxes) {
    doc.files.keepMainOnly();
    if (doc.files.empty()) return false;
    const std::string main = doc.files.name(0);
    if (const std::optional<std::string> name = findParameterFile(main)) {
        FileSource source(*name);
        if (source.isOpen()) return readParameters(source, doc, sets, views, boxes);
    }
    if (!FileSource(main).isOpen()) return false;
    const bool applied = readDirectives(main, doc, sets);
    if (views) keepSingleView(*views, doc, sets);
    return applied;
}

bool isReferenced(ByteSource& source, std::string_view relName) {
    const std::string wanted = toNativeSeparators(relName);
    skipByteOrderMark(source);
    LineReader reader(source);
    while (reader.readLine()) {
        const std::string_view line = reader.line();
        if (!startsWithKey(line, kFileKey)) continue;
        if (equalIgnoringCase(toNativeSeparators(valueOf(line).value_or("")), wanted)) return true;
    }
    return false;
}

bool isReferenced(std::string_view dataPath, std::string_view relName) {
    const std::optional<std::string> name = findParameterFile(dataPath);
    if (!name) return false;
    FileSource source(*name);
    return source.isOpen() && isReferenced(source, relName);
}

}  // namespace varnex
