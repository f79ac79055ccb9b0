#include "document/model.h"

#include <algorithm>

namespace varnex {
namespace {

const TitleText kNoText;

// Bytes a list of names takes in the buffer: each name with its NUL, then the final NUL.
std::size_t listBytes(const std::vector<std::string>& names) {
    std::size_t bytes = 1;
    for (const auto& name : names) bytes += name.size() + 1;
    return bytes;
}

bool limitsValid(double lo, double hi, std::int8_t type) {
    if (!(hi > lo)) return false;
    return type != 1 || (lo > 0 && hi > 0);
}

// Log types follow the sign of the limits: 1 for positive, -1 for negative, else linear.
std::int8_t logTypeFor(std::int8_t type, double lo, double hi) {
    if (type != 1 && type != -1) return type;
    if (lo > 0 && hi > 0) return 1;
    if (lo < 0 && hi < 0) return -1;
    return 0;
}

}  // namespace

std::span<const double> DataSet::xs() const {
    return storage ? std::span<const double>(storage->x) : std::span<const double>();
}
std::span<const double> DataSet::ys() const {
    return storage ? std::span<const double>(storage->y) : std::span<const double>();
}
const TitleText& DataSet::title() const { return storage ? storage->title : kNoText; }
const TitleText& DataSet::name() const { return storage ? storage->name : kNoText; }

// --- FileList ---

const std::string& FileList::name(int i) const {
    static const std::string kNone;
    return i >= 0 && i < count() ? m_names[static_cast<std::size_t>(i)] : kNone;
}

bool FileList::setMain(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return false;
    if (!fits(path.size() + 2)) return false;
    m_names.assign(1, std::string(path));
    return true;
}

void FileList::keepMainOnly() {
    if (m_names.size() > 1) m_names.resize(1);
}

bool FileList::append(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return false;
    if (count() >= kMaxFiles || !fits(usedBytes() + path.size() + 1)) return false;
    m_names.emplace_back(path);
    return true;
}

bool FileList::replace(int i, std::string_view path) {
    if (i < 0 || i >= count() || path.empty() || path.find('\0') != std::string_view::npos) return false;
    auto& old = m_names[static_cast<std::size_t>(i)];
    if (!fits(usedBytes() - old.size() + path.size())) return false;
    old.assign(path);
    return true;
}

bool FileList::remove(int i) {
    if (i < 0 || i >= count()) return false;
    m_names.erase(m_names.begin() + i);
    return true;
}

std::size_t FileList::usedBytes() const { return listBytes(m_names); }

// --- Document ---

std::span<DataSet> Document::setRange(int first, int n) {
    return std::span<DataSet>(sets).subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(n));
}

std::span<const DataSet> Document::setRange(int first, int n) const {
    return std::span<const DataSet>(sets).subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(n));
}

void Document::copySets(const Document& from, int n) {
    n = std::clamp(n, 0, kMaxSets);
    std::copy_n(from.sets.begin() + 1, n, sets.begin() + 1);
}

void Document::autoRange(const Extents& e) {
    xtype = 0;
    ytype = 0;
    dataxmin = e.xmin;
    dataxmax = e.xmax;
    dataymin = e.ymin;
    dataymax = e.ymax;
    xmin = e.xmin - 0.05 * (e.xmax - e.xmin);
    xmax = e.xmax + 0.05 * (e.xmax - e.xmin);
    ymin = e.ymin - 0.05 * (e.ymax - e.ymin);
    ymax = e.ymax + 0.05 * (e.ymax - e.ymin);
}

void Document::resetAxes() {
    xmin = 0;
    xmax = 1;
    ymin = 0;
    ymax = 1;
    xtype = 0;
    ytype = 0;
    xsize = 100;
    ysize = 100;
    xtitle = "X";
    ytitle = "Y";
    xfont = "Times New Roman";
    yfont = "Times New Roman";
    basearea = {25, 95, 25, 95};
    area = basearea;
    page = {0, 100, 0, 100};
}

void Document::normalise() {
    if (data == 0) return;
    if (!(xmax > xmin)) {
        xmin = dataxmin;
        xmax = dataxmax;
    }
    if (!(ymax > ymin)) {
        ymin = dataymin;
        ymax = dataymax;
    }
    xtype = logTypeFor(xtype, xmin, xmax);
    ytype = logTypeFor(ytype, ymin, ymax);
    for (DataSet& set : loadedSets()) {
        if (set.count < 2 && set.params.interp > 1) set.params.interp = 1;
        if (!set.hasErrorData()) {
            if (set.params.marker == 2) set.params.marker = 0;
            if (set.params.marker == 3) set.params.marker = 1;
        }
    }
}

bool Document::isValid() const {
    if (!limitsValid(xmin, xmax, xtype) || !limitsValid(ymin, ymax, ytype)) return false;
    if (!(printw > 0 && printw <= 20)) return false;
    if (!(framewidth > 0 && graphwidth > 0 && markersize > 0)) return false;
    if (!(printox >= 0 && printoy >= 0)) return false;
    for (const DataSet& set : loadedSets()) {
        if (set.params.linetype < 0 || set.params.shape < 0) return false;
        if ((set.params.marker == 2 || set.params.marker == 3) && !set.hasErrorData()) return false;
        if (set.params.interp >= 2 && set.count < 2) return false;
    }
    return true;
}

bool Document::sameAs(const Document& other) const {
    if (head() != other.head()) return false;
    return std::equal(sets.begin() + 1, sets.begin() + 1 + data, other.sets.begin() + 1);
}

// --- groups of sets ---

Extents extents(std::span<const DataSet> sets) {
    Extents e;
    bool first = true;
    for (const DataSet& set : sets) {
        for (int j = 1; j <= set.count; ++j) {
            const double x = set.x(j);
            const double y = set.y(j);
            if (first) {
                e = {x, x, y, y};
                first = false;
                continue;
            }
            e.xmin = std::min(e.xmin, x);
            e.xmax = std::max(e.xmax, x);
            e.ymin = std::min(e.ymin, y);
            e.ymax = std::max(e.ymax, y);
        }
    }
    return e;
}

std::int32_t maxCount(std::span<const DataSet> sets) {
    std::int32_t most = 0;
    for (const DataSet& set : sets) most = std::max(most, set.count);
    return most;
}

void markAscending(std::span<DataSet> sets) {
    for (DataSet& set : sets) {
        bool ascending = true;
        for (int j = 2; j <= set.count && ascending; ++j) ascending = set.x(j - 1) < set.x(j);
        set.ascending = ascending;
    }
}

void defaultLines(std::span<DataSet> sets) {
    int i = 0;
    for (DataSet& set : sets) {
        ++i;
        if (set.hasErrorData()) {
            set.params = {0, 0, 3, static_cast<std::int8_t>(i % 4)};
        } else {
            set.params = {1, 0, 0, 0};
        }
    }
}

void defaultMarkers(std::span<DataSet> sets) {
    int i = 0;
    for (DataSet& set : sets) {
        ++i;
        const std::int8_t marker = set.hasErrorData() ? 3 : 1;
        set.params = {0, 0, marker, static_cast<std::int8_t>(i % 4)};
    }
}

}  // namespace varnex
