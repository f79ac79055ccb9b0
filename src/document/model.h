// The document model: Document, DataSet, GraphParams and the file list.
//
// A Document is a fixed-size value record that copies whole (views, the undo copy, work copies).
// Point arrays, names and titles live in the data pool (document/data_pool.h); a DataSet refers to
// its pool storage by a shared reference, so copies of a Document share the same arrays, exactly as
// several views share one loaded data file. Data sets are numbered from 1: slot 0 of `sets` is never
// used, and point arrays are indexed 1..count (element 0 unused).
//
// Functions that work on "sets 1..n" of a group take a std::span<DataSet> whose element 0 is set 1
// of the group (for a whole Document: doc.setRange(1, n)).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "util/bounded_text.h"

namespace varnex {

inline constexpr int kMaxSets = 255;                // data sets per Document (slots 1..255)
inline constexpr int kSetSlots = kMaxSets + 1;      // slot 0 is never used
inline constexpr int kMaxFiles = 31;                // the main data file and up to 30 appended files
inline constexpr std::size_t kFileListBytes = 2048;  // every name with its NUL, and the final NUL

using TitleText = BoundedText<256>;  // vtitle, xtitle, ytitle, data-set names and titles
using FontName = BoundedText<50>;    // xfont, yfont

// Last-write time of a file in nanoseconds since the epoch; 0 for a file that does not exist.
using FileTime = std::int64_t;

// The four drawing choices of a data set, in the order of the parameter file and the graph panel.
struct GraphParams {
    std::int8_t interp = 1;    // 0 none, 1 straight lines, 2 spline
    std::int8_t linetype = 0;  // 0 solid, 1 "...", 2 "---", 3 "-.-", 4 "-..-"
    std::int8_t marker = 0;    // 0 none, 1 marker, 2 error bars only, 3 marker and error bars
    std::int8_t shape = 0;     // 0 circle, 1 square, 2 triangle, 3 diamond

    friend bool operator==(const GraphParams&, const GraphParams&) = default;
};

// Smallest and largest x and y over a group of points.
struct Extents {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    friend bool operator==(const Extents&, const Extents&) = default;
};

// Memory for point arrays: large arrays are aligned to 2 MiB, so that preferHugePages can ask for
// their filled part in huge pages where the system offers them: filling them then costs one page fault
// per 2 MiB instead of one per 4 KiB. Only whole huge pages inside [p, p + bytes) are asked for, so the
// room beyond the filled part takes no memory.
void* allocatePoints(std::size_t bytes);
void freePoints(void* p, std::size_t bytes) noexcept;
void preferHugePages(void* p, std::size_t bytes) noexcept;

// The allocator of point arrays: an element added without a value (resize) is left unset instead of
// being zeroed, so that the reader, which writes every point at once, does not write the arrays twice.
// An element added with a value (assign, insert, resize with a value) takes that value.
template <class T>
struct PointAllocator : std::allocator<T> {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = PointAllocator<U>;
    };
    PointAllocator() = default;
    template <class U>
    PointAllocator(const PointAllocator<U>&) noexcept {}  // NOLINT: converts like std::allocator

    T* allocate(std::size_t n) { return static_cast<T*>(allocatePoints(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { freePoints(p, n * sizeof(T)); }

    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    friend bool operator==(const PointAllocator&, const PointAllocator&) { return true; }
};
using PointArray = std::vector<double, PointAllocator<double>>;

// The pool memory of one data set. x and y hold count + 1 values; element 0 is not used.
struct SetStorage {
    TitleText title;  // legend text; empty when the file gives none
    TitleText name;   // full path of the data file the set was read from
    PointArray x;
    PointArray y;
    // The extents of points 1..summarised, as extents() finds them, kept by the reader that filled the
    // arrays so that a load need not go over every point again; -1 when not known.
    std::int32_t summarised = -1;
    Extents summary;
};

// One x/y series. A slot that was never loaded has no storage and count 0.
struct DataSet {
    std::shared_ptr<SetStorage> storage;
    std::int32_t count = 0;      // number of points, >= 1 for a loaded set
    std::int64_t datapos = 0;    // file position of the first line of the set's numeric block
    std::int64_t titlepos = 0;   // file position where the set's title is searched
    GraphParams params;
    bool errorbar = false;   // read from an error-bar block whose last line has more than two numbers
    bool ascending = false;  // x strictly increasing (a single point counts as ascending)

    // Point j, 1 <= j <= count. REQUIRES: storage
    double x(int j) const { return storage->x[static_cast<std::size_t>(j)]; }
    double y(int j) const { return storage->y[static_cast<std::size_t>(j)]; }
    // The whole arrays, element 0 unused; empty without storage.
    std::span<const double> xs() const;
    std::span<const double> ys() const;

    const TitleText& title() const;
    const TitleText& name() const;
    // REQUIRES: storage. Titles and names live in the pool: every Document that shares the storage sees
    // the change.
    void setTitle(std::string_view text) { storage->title = text; }

    bool hasErrorData() const { return errorbar; }
    // Draws nothing: neither a curve nor markers or error bars. Automatic ranges skip it.
    bool isHidden() const { return params.interp <= 0 && params.marker <= 0; }

    // Field by field; the storage is compared as a reference, not by the arrays behind it.
    friend bool operator==(const DataSet&, const DataSet&) = default;
};

// The names of a Document's files: name 0 is the main data file, names 1..n the appended files in the
// order they were appended. At most kMaxFiles names, and they must fit the 2048-byte list buffer with
// a NUL after each name and one at the end; operations that would pass either limit are refused.
class FileList {
public:
    int count() const { return static_cast<int>(m_names.size()); }
    // Number of appended files: count() - 1, so -1 for an empty list.
    int appendedCount() const { return count() - 1; }
    bool empty() const { return m_names.empty(); }
    // Name i, or an empty string when the list has no name i.
    const std::string& name(int i) const;
    const std::vector<std::string>& names() const { return m_names; }

    // Makes path name 0 and drops every other name. False (list unchanged) if it does not fit.
    bool setMain(std::string_view path);
    // Keeps name 0 and drops the others.
    void keepMainOnly();
    // Adds path as the next name; false (list unchanged) at 31 names or when the buffer is full.
    bool append(std::string_view path);
    // Puts path in place of name i, keeping the later names; false if there is no name i or it does
    // not fit.
    bool replace(int i, std::string_view path);
    // Removes name i, moving the later names up; false if there is no name i.
    bool remove(int i);
    void clear() { m_names.clear(); }
    // Bytes the list takes in its buffer up to and including its final NUL.
    std::size_t usedBytes() const;

    friend bool operator==(const FileList&, const FileList&) = default;

private:
    bool fits(std::size_t bytes) const { return bytes <= kFileListBytes; }
    std::vector<std::string> m_names;
};

// Everything of a Document before its data sets: the file list, the counts, and the axis and page
// settings (the group called AxisParams: vtitle to subtickwidth). Copying this part alone is how views
// and the parameter file exchange settings without touching the sets.
struct DocumentHead {
    FileList files;
    FileTime filetime = 0;   // newest last-write time of the files at the last load with data
    int data = 0;            // number of data sets, 0..kMaxSets
    std::array<std::uint8_t, kMaxFiles + 1> filesets{};  // [j]: sets of appended file j (1..31)

    TitleText vtitle;                      // graph title
    std::int8_t xtype = 0;                 // 0 linear, 1 log of positive values, -1 log of negative values
    std::int8_t xsize = 100;               // axis length in percent
    TitleText xtitle = "X";
    FontName xfont = "Times New Roman";
    std::int8_t ytype = 0;
    std::int8_t ysize = 100;
    TitleText ytitle = "Y";
    FontName yfont = "Times New Roman";
    double xmin = 0, xmax = 1, ymin = 0, ymax = 1;      // axis limits in data units
    double txmin = 0, txmax = 0, tymin = 0, tymax = 0;  // limits after the axis transform (renderer)
    double dataxmin = 0, dataxmax = 0, dataymin = 0, dataymax = 0;  // extents of all points at load
    std::array<double, 4> area{25, 95, 25, 95};      // x at txmin, x at txmax, y at tymin, y at tymax (page units)
    std::array<double, 4> basearea{25, 95, 25, 95};  // the area from which `area` is derived
    std::array<double, 4> page{0, 100, 0, 100};      // x from, x to, y from, y to
    double printox = 0, printoy = 0;  // print offsets in cm, >= 0
    double printw = 0;                // printed width in cm, 0 < printw <= 20
    double graphwidth = 0;            // pen width of the data curves (page units)
    double framewidth = 0;            // pen width of the axis frame
    double markersize = 0;
    double tickwidth = 0;     // derived, never stored in a file
    double subtickwidth = 0;  // two thirds of tickwidth
    bool follow = false;      // the x range follows the newest point at each reload (document/follow.h)

    friend bool operator==(const DocumentHead&, const DocumentHead&) = default;
};

struct KeptReads;

struct Document : DocumentHead {
    std::array<DataSet, kSetSlots> sets{};  // slot i holds set i; slot 0 unused
    // What the last load's reads of the files left, so that files that have only grown can be read on
    // from there (document/incremental_load.h). Not a setting: sameAs does not compare it.
    std::shared_ptr<const KeptReads> readState;

    // A fresh Document: axis defaults (resetAxes), no data, every slot with count 0 and interp 1.
    Document() = default;

    DocumentHead& head() { return *this; }
    const DocumentHead& head() const { return *this; }

    // Sets first..first+n-1 as a group (element 0 is set `first`). REQUIRES: 1 <= first, first+n-1 <= 255
    std::span<DataSet> setRange(int first, int n);
    std::span<const DataSet> setRange(int first, int n) const;
    // Sets 1..data.
    std::span<DataSet> loadedSets() { return setRange(1, data); }
    std::span<const DataSet> loadedSets() const { return setRange(1, data); }

    // Copies the DataSet records 1..n from another Document (references, not arrays).
    void copySets(const Document& from, int n);

    // Linear axes, the extents stored in dataxmin..dataymax, and limits with a 5 % margin (held within
    // the finite doubles, so data near +-1e308 still gets finite limits). An extent
    // that is a single value v (constant data, one point) gets v ± 10 % of |v| (±1 for 0) instead, so
    // that the data are drawn in the middle of a valid range.
    void autoRange(const Extents& extents);
    // Restores the axis defaults (limits, types, sizes, titles, fonts, areas, page); nothing else.
    void resetAxes();
    // Repairs the settings after a load: limits that are not increasing take the data extents (widened
    // as by autoRange when they are a single value; on a log axis by a factor of 10 each way), log types
    // follow the sign of the limits, and drawing choices the data cannot support are reduced.
    void normalise();
    // All settings can be drawn (the checks the panels apply before accepting input).
    bool isValid() const;
    // Every field before the sets equal, and the records of sets 1..data equal field by field.
    bool sameAs(const Document& other) const;
};

// Smallest and largest x and y over all points of the sets, starting from the first point of the
// first set; sets without points are skipped (all zero when no set has a point).
Extents extents(std::span<const DataSet> sets);
// The largest count of the sets (0 for none).
std::int32_t maxCount(std::span<const DataSet> sets);
// Sets each set's `ascending` flag.
void markAscending(std::span<DataSet> sets);
// The line scheme applied after reading a file: error-bar sets get markers with error bars in shape
// i mod 4, the others straight lines (i = 1-based position in the group).
void defaultLines(std::span<DataSet> sets);
// The marker scheme for pasted data: markers (with error bars where there is error data) in shape
// i mod 4, no lines.
void defaultMarkers(std::span<DataSet> sets);

}  // namespace varnex
