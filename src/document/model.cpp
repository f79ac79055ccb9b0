#include "document/model.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <cmath>
#include <limits>

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

struct Range {
    double lo, hi;
};

// The range drawn for data whose extent is the single value v: 10 % of |v| each way, or ±1 around 0,
// so that the data lie in the middle of the axis. Where that gives no wider range (v near the limits
// of a double), the nearest doubles on either side.
Range rangeAround(double v) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const double margin = v == 0 ? 1 : 0.1 * std::abs(v);
    const Range range{std::max(v - margin, -kMax), std::min(v + margin, kMax)};
    if (range.hi > range.lo) return range;
    return {std::nextafter(v, -kMax), std::nextafter(v, kMax)};
}

// The same on a log axis (type 1 or -1): a factor of 10 each way, which keeps the range on the side of
// 0 where v lies and holds at least one decade mark. 0, or values where the factor leaves the doubles,
// take the linear range.
Range logRangeAround(double v) {
    constexpr double kMax = std::numeric_limits<double>::max();
    const double a = std::abs(v);
    const double lo = a / 10;
    const double hi = std::min(a * 10, kMax);
    if (!(lo > 0 && hi > lo)) return rangeAround(v);
    return v > 0 ? Range{lo, hi} : Range{-hi, -lo};
}

// Limits that do not increase take the data extents; a single value is widened around itself.
void repairLimits(double& lo, double& hi, std::int8_t type, double dataLo, double dataHi) {
    if (hi > lo) return;
    lo = dataLo;
    hi = dataHi;
    if (hi > lo) return;
    const Range range = type == 1 || type == -1 ? logRangeAround(dataLo) : rangeAround(dataLo);
    lo = range.lo;
    hi = range.hi;
}

// Automatic limits over [lo, hi]: a 5 % margin each way, or the range around a single value.
Range autoLimits(double lo, double hi) {
    if (!(hi > lo)) return rangeAround(lo);
    return {lo - 0.05 * (hi - lo), hi + 0.05 * (hi - lo)};
}

}  // namespace

void* allocatePoints(std::size_t bytes) {
    constexpr std::size_t kHugePage = 2 * 1024 * 1024;
    if (bytes < kHugePage) return ::operator new(bytes);
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (!p) throw std::bad_alloc();
    ::madvise(p, rounded, MADV_HUGEPAGE);
    return p;
}

void freePoints(void* p, std::size_t bytes) noexcept {
    constexpr std::size_t kHugePage = 2 * 1024 * 1024;
    if (bytes < kHugePage) {
        ::operator delete(p);
    } else {
        std::free(p);
    }
}

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
    const Range x = autoLimits(e.xmin, e.xmax);
    const Range y = autoLimits(e.ymin, e.ymax);
    xmin = x.lo;
    xmax = x.hi;
    ymin = y.lo;
    ymax = y.hi;
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
    repairLimits(xmin, xmax, xtype, dataxmin, dataxmax);
    repairLimits(ymin, ymax, ytype, dataymin, dataymax);
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
        if (set.storage && set.count > 0 && set.storage->summarised == set.count) {
            // The same as going over the points: a minimum found earlier stays when a later one equals it.
            const Extents& s = set.storage->summary;
            if (first) {
                e = s;
                first = false;
            } else {
                e = {std::min(e.xmin, s.xmin), std::max(e.xmax, s.xmax), std::min(e.ymin, s.ymin),
                     std::max(e.ymax, s.ymax)};
            }
            continue;
        }
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
