#include "document/data_file_reader.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "document/data_pool.h"

namespace varnex {
namespace {

constexpr std::string_view kNoTitle = "No Title";

std::string_view withoutLeadingSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The first non-blank line from pos up to the first numeric line; nothing if numbers or the end come
// first. The view lives until the reader's next line.
std::optional<std::string_view> firstTextLine(LineReader& reader, std::int64_t pos) {
    reader.seek(pos);
    while (reader.readLine()) {
        const LineKind kind = classifyLine(reader.line());
        if (kind == LineKind::Numeric) break;
        if (kind == LineKind::Text) return withoutLeadingSpaces(reader.line());
    }
    return std::nullopt;
}

// The position of the last paragraph of the text from pos up to the first numeric line: the position
// before the last non-blank line that begins the text or follows a blank line.
std::optional<std::int64_t> lastParagraphStart(LineReader& reader, std::int64_t pos) {
    reader.seek(pos);
    std::optional<std::int64_t> start;
    std::int64_t before = pos;
    bool afterBlank = true;
    while (reader.readLine()) {
        const LineKind kind = classifyLine(reader.line());
        if (kind == LineKind::Numeric) break;
        if (kind == LineKind::Text && afterBlank) start = before;
        afterBlank = kind == LineKind::Blank;
        before = reader.position();
    }
    return start;
}

// Builds the sets of numeric block s into free (as many as fit). -1 if the pool failed.
int buildBlock(LineReader& reader, std::string_view fileName, const BlockIndex& index, int s,
               std::span<DataSet> free, DataPool& pool) {
    const auto at = [](int k) { return static_cast<std::size_t>(k); };
    const std::int64_t datapos = index.pos[at(s)];
    const std::int32_t count = index.lines[at(s)];
    const bool errorBlock = index.kind[at(s)] == BlockKind::ErrorBars;

    // The first line fixes the number of columns. If the file has lost it since the scan, a numeric
    // block gives no set and an error-bar block a set of zeros.
    reader.seek(datapos);
    const bool haveFirst = reader.readLine();
    const int columns = haveFirst ? reader.numbers().count : 0;
    const std::size_t m = std::min(static_cast<std::size_t>(std::max(errorBlock ? 1 : columns - 1, 0)), free.size());
    if (m == 0 || count == 0) return 0;

    // Take all storage first, so that a pool failure leaves the slots untouched.
    std::vector<std::shared_ptr<SetStorage>> storage(m);
    for (auto& block : storage) {
        block = pool.allocateSet(count);
        if (!block) return -1;
    }

    std::vector<double*> xs(m);
    std::vector<double*> ys(m);
    for (std::size_t c = 0; c < m; ++c) {
        DataSet& set = free[c];
        set.storage = storage[c];
        set.storage->name = fileName;
        set.count = count;
        set.datapos = datapos;
        set.titlepos = index.pos[at(s == 1 ? 1 : s - 1)];
        set.errorbar = false;
        set.ascending = false;
        xs[c] = set.storage->x.data();
        ys[c] = set.storage->y.data();
    }

    // Rows the file no longer has stay 0.
    std::int32_t row = 0;
    int lastTokens = 0;
    if (haveFirst) {
        do {
            ++row;
            const Numbers& numbers = reader.numbers();
            const double x = numbers.at(1);
            for (std::size_t c = 0; c < m; ++c) {
                xs[c][row] = x;
                ys[c][row] = numbers.at(static_cast<int>(c) + 2);
            }
            lastTokens = numbers.count;
        } while (row < count && reader.readLine());
    }
    // Error values are read again when the bars are drawn; here only their presence counts.
    if (errorBlock && row == count && lastTokens > 2) free[0].errorbar = true;
    return static_cast<int>(m);
}


// --- Scanning in pieces ---

// A run of lines of one kind (numeric, or text and blank) within a piece.
struct Run {
    bool numeric = false;
    bool errorbarBefore = false;  // a "#errorbar" comment since the previous run's first line
    int firstTokens = 0;          // numbers on the first line (numeric runs)
    std::int64_t start = 0;       // where the first line begins
    std::int64_t lines = 0;
    std::int64_t end = 0;         // the position after the last line
};

// The runs of one piece. Only the first kMaxBlocks + 1 runs can matter: run r of a piece becomes
// block r or later, and the scan stops before block kMaxBlocks + 1.
struct PieceScan {
    std::vector<Run> runs;
    bool errorbarAfter = false;  // a "#errorbar" comment after the last run's first line
};

constexpr std::int64_t kToTheEnd = std::numeric_limits<std::int64_t>::max();

// Scans the lines that begin in [begin, end) (the whole last line when end is kToTheEnd).
PieceScan scanPiece(ByteSource& source, std::int64_t begin, std::int64_t end) {
    PieceScan piece;
    source.seek(begin);
    LineReader reader(source, LineLength::Whole);
    for (std::int64_t before = begin; before < end && reader.readAnyLine(); before = reader.position()) {
        if (reader.isComment()) continue;
        const bool numeric = isNumericLine(reader.line());
        if (piece.runs.empty() || piece.runs.back().numeric != numeric) {
            if (piece.runs.size() > static_cast<std::size_t>(BlockIndex::kMaxBlocks)) break;
            Run run;
            run.numeric = numeric;
            run.errorbarBefore = reader.errorbarSeen();
            reader.clearErrorbarSeen();
            run.firstTokens = numeric ? reader.numbers().count : 0;
            run.start = before;
            piece.runs.push_back(run);
        }
        Run& run = piece.runs.back();
        ++run.lines;
        run.end = reader.position();
    }
    piece.errorbarAfter = reader.errorbarSeen();
    return piece;
}

// Joins the runs of the next piece to the scan, as reading their lines one by one would.
void joinPiece(ScanState& scan, const PieceScan& piece, int pieceNumber) {
    BlockIndex& index = scan.index;
    for (const Run& run : piece.runs) {
        if (scan.stopped) return;
        scan.errorbar = scan.errorbar || run.errorbarBefore;
        if (index.blockCount == 0 || run.numeric != scan.inNumbers) {
            if (index.blockCount == BlockIndex::kMaxBlocks) {
                index.cutShort = true;
                scan.stopped = true;
                return;
            }
            const auto k = static_cast<std::size_t>(++index.blockCount);
            index.pos[k] = scan.prev;
            index.kind[k] = !run.numeric ? BlockKind::Text : scan.errorbar ? BlockKind::ErrorBars : BlockKind::Numbers;
            index.lines[k] = 0;
            scan.firstTokens[k] = static_cast<std::int16_t>(run.firstTokens);
            scan.segments[k].clear();
            // A "#errorbar" comment inside a numeric block or before a text block marks the next
            // numeric block.
            if (run.numeric) scan.errorbar = false;
            scan.inNumbers = run.numeric;
        }
        const auto k = static_cast<std::size_t>(index.blockCount);
        std::int32_t& lines = index.lines[k];
        const std::int64_t room = BlockIndex::kMaxLines - lines;
        const auto taken = static_cast<std::int32_t>(std::min(run.lines, room));
        if (run.numeric && taken > 0) scan.segments[k].push_back({run.start, lines + 1, taken, pieceNumber});
        lines += taken;
        if (taken < run.lines) {
            index.cutShort = true;
            scan.stopped = true;
            return;
        }
        scan.prev = run.end;
    }
    scan.errorbar = scan.errorbar || piece.errorbarAfter;
}

// The position after the last newline in [from, size), or from when there is none.
std::int64_t afterLastNewline(ByteSource& source, std::int64_t from, std::int64_t size) {
    constexpr std::int64_t kStep = 64 * 1024;
    for (std::int64_t to = size; to > from;) {
        const std::int64_t lo = std::max(from, to - kStep);
        source.seek(lo);
        std::int64_t found = -1;
        for (std::int64_t at = lo; at < to;) {
            const std::string_view window = source.window();
            if (window.empty()) break;
            const std::string_view part = window.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(
                                                                 to - at, static_cast<std::int64_t>(window.size()))));
            if (const std::size_t newline = part.rfind('\n'); newline != std::string_view::npos) {
                found = at + static_cast<std::int64_t>(newline);
            }
            source.advance(part.size());
            at += static_cast<std::int64_t>(part.size());
        }
        if (found >= 0) return found + 1;
        to = lo;
    }
    return from;
}

// The line start at or after pos (a position after a newline, or from), at most limit.
std::int64_t lineStartFrom(ByteSource& source, std::int64_t from, std::int64_t pos, std::int64_t limit) {
    if (pos <= from) return from;
    if (pos >= limit) return limit;
    source.seek(pos - 1);
    for (std::int64_t at = pos - 1; at < limit;) {
        const std::string_view window = source.window();
        if (window.empty()) break;
        if (const std::size_t newline = window.find('\n'); newline != std::string_view::npos) {
            return std::min(limit, at + static_cast<std::int64_t>(newline) + 1);
        }
        source.advance(window.size());
        at += static_cast<std::int64_t>(window.size());
    }
    return limit;
}

// Where the pieces of [from, to) begin: from, then the line starts the plan asks for, increasing.
std::vector<std::int64_t> pieceStarts(ByteSource& source, std::int64_t from, std::int64_t to, const ReadPlan& plan) {
    std::vector<std::int64_t> wanted;
    if (!plan.splits.empty()) {
        wanted = plan.splits;
    } else {
        int pieces = plan.pieces;
        if (pieces <= 0) {
            const auto processors = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
            pieces = static_cast<int>(std::min<std::int64_t>((to - from) / ReadPlan::kPieceBytes + 1,
                                                             std::min(processors, ReadPlan::kMostPieces)));
        }
        for (int i = 1; i < pieces; ++i) wanted.push_back(from + (to - from) * i / pieces);
    }
    std::vector<std::int64_t> starts{from};
    for (const std::int64_t pos : wanted) {
        const std::int64_t start = lineStartFrom(source, from, pos, to);
        if (start > starts.back() && start < to) starts.push_back(start);
    }
    return starts;
}

// Runs work(i) for i = 0..count-1, each on its own thread but the first, which runs on the caller's.
// Without threads (none can be started) they run one after the other.
void runInParallel(int count, const std::function<void(int)>& work) {
    std::vector<std::thread> threads;
    int started = 1;
    try {
        for (; started < count; ++started) threads.emplace_back(work, started);
    } catch (const std::system_error&) {
    }
    work(0);
    for (std::thread& thread : threads) thread.join();
    for (int i = started; i < count; ++i) work(i);
}

// --- Building in pieces ---

// What building one segment found.
struct SegmentResult {
    std::int32_t rowsRead = 0;
    int lastTokens = 0;
    bool ascending = true;
    double firstX = 0;
    double lastX = 0;
    std::vector<Extents> extents;  // per set
};

// A numeric block whose sets are being built: its storage, and the rows still to read.
struct BlockJob {
    int k = 0;
    bool errorBlock = false;
    std::int32_t count = 0;
    std::int32_t keptRows = 0;           // rows 1..keptRows are already in the arrays
    std::vector<double*> xs, ys;
    std::vector<std::shared_ptr<SetStorage>> storage;
    std::vector<const Segment*> segments;  // those to read, in row order
    std::vector<int> pieces;               // the piece that reads each of them
    std::vector<SegmentResult> results;    // one per segment
    int cap() const { return errorBlock ? 3 : static_cast<int>(xs.size()) + 1; }
};

void buildSegment(LineReader& reader, BlockJob& job, const Segment& segment, SegmentResult& result) {
    const std::size_t m = job.xs.size();
    result.extents.assign(m, Extents{});
    reader.seek(segment.start);
    const int cap = job.cap();
    double xmin = 0, xmax = 0;
    std::int32_t row = segment.firstRow;
    const std::int32_t last = segment.firstRow + segment.rows - 1;
    for (; row <= last && reader.readLine(); ++row) {
        const Numbers& numbers = reader.numbers(cap);
        const double x = numbers.at(1);
        if (row == segment.firstRow) {
            xmin = xmax = result.firstX = x;
            for (std::size_t c = 0; c < m; ++c) {
                const double y = numbers.at(static_cast<int>(c) + 2);
                result.extents[c].ymin = result.extents[c].ymax = y;
            }
        } else {
            result.ascending = result.ascending && result.lastX < x;
            xmin = std::min(xmin, x);
            xmax = std::max(xmax, x);
            for (std::size_t c = 0; c < m; ++c) {
                const double y = numbers.at(static_cast<int>(c) + 2);
                result.extents[c].ymin = std::min(result.extents[c].ymin, y);
                result.extents[c].ymax = std::max(result.extents[c].ymax, y);
            }
        }
        const auto at = static_cast<std::size_t>(row);
        for (std::size_t c = 0; c < m; ++c) {
            job.xs[c][at] = x;
            job.ys[c][at] = numbers.at(static_cast<int>(c) + 2);
        }
        result.lastX = x;
        result.lastTokens = numbers.count;
    }
    result.rowsRead = row - segment.firstRow;
    for (Extents& e : result.extents) {
        e.xmin = xmin;
        e.xmax = xmax;
    }
}

// Extents and ascending of points first..last of a set, by going over them.
Extents extentsOfRows(const SetStorage& storage, std::int32_t first, std::int32_t last, bool& ascending) {
    Extents e;
    ascending = true;
    for (std::int32_t j = first; j <= last; ++j) {
        const auto at = static_cast<std::size_t>(j);
        const double x = storage.x[at];
        const double y = storage.y[at];
        if (j == first) {
            e = {x, x, y, y};
            continue;
        }
        ascending = ascending && storage.x[at - 1] < x;
        e = {std::min(e.xmin, x), std::max(e.xmax, x), std::min(e.ymin, y), std::max(e.ymax, y)};
    }
    return e;
}

Extents merged(const Extents& a, const Extents& b) {
    return {std::min(a.xmin, b.xmin), std::max(a.xmax, b.xmax), std::min(a.ymin, b.ymin), std::max(a.ymax, b.ymax)};
}

// Summaries of a block's rows, folded in row order.
struct Fold {
    bool any = false;
    bool ascending = true;
    double lastX = 0;
    int lastTokens = 0;
    std::vector<Extents> extents;

    void add(bool ascendingPart, double firstX, double lastXPart, int tokens, const std::vector<Extents>& part) {
        if (!any) {
            extents = part;
            ascending = ascendingPart;
        } else {
            ascending = ascending && ascendingPart && lastX < firstX;
            for (std::size_t c = 0; c < extents.size(); ++c) extents[c] = merged(extents[c], part[c]);
        }
        any = true;
        lastX = lastXPart;
        lastTokens = tokens;
    }
};

int columnsOf(const ScanState& scan, int k, std::size_t free) {
    const bool errorBlock = scan.index.kind[static_cast<std::size_t>(k)] == BlockKind::ErrorBars;
    const int tokens = scan.firstTokens[static_cast<std::size_t>(k)];
    return static_cast<int>(std::min(static_cast<std::size_t>(std::max(errorBlock ? 1 : tokens - 1, 0)), free));
}

// Room for a set that may grow: an eighth more, which costs no memory until it is written.
std::int64_t roomFor(std::int64_t count) { return count + count / 8 + 16; }

}  // namespace


bool BlockIndex::hasNumbers() const {
    for (int k = 1; k <= blockCount; ++k) {
        if (isNumeric(k)) return true;
    }
    return false;
}

BlockIndex scanBlocks(ByteSource& source) {
    // A byte-order mark lies before the first block: every later pass starts from the block positions.
    source.seek(0);
    skipByteOrderMark(source);
    ScanState scan;
    scan.prev = source.position();
    joinPiece(scan, scanPiece(source, scan.prev, kToTheEnd), 0);
    return scan.index;
}

int buildSets(ByteSource& source, std::string_view fileName, const BlockIndex& index, std::span<DataSet> slots,
              DataPool& pool) {
    LineReader reader(source, LineLength::Whole);
    std::size_t built = 0;
    for (int s = 1; s <= index.blockCount && built < slots.size(); ++s) {
        if (!index.isNumeric(s)) continue;
        const int made = buildBlock(reader, fileName, index, s, slots.subspan(built), pool);
        if (made < 0) break;
        built += static_cast<std::size_t>(made);
    }
    return static_cast<int>(built);
}

void readTitles(ByteSource& source, TitleText* vtitleOut, std::span<DataSet> sets) {
    if (sets.empty()) return;
    LineReader reader(source, LineLength::Whole);
    const std::int64_t start = sets[0].titlepos;
    if (vtitleOut) {
        const auto title = firstTextLine(reader, start);
        *vtitleOut = title ? *title : kNoTitle;
    }
    if (const auto paragraph = lastParagraphStart(reader, start)) sets[0].titlepos = *paragraph;

    // The sets of one block share their titlepos: their text is read once.
    std::optional<std::int64_t> lastPos;
    TitleText lastTitle;
    for (DataSet& set : sets) {
        if (set.titlepos != lastPos) {
            const auto title = firstTextLine(reader, set.titlepos);
            lastTitle = title ? *title : std::string_view();
            lastPos = set.titlepos;
        }
        set.setTitle(lastTitle);
    }
}

int readDataFile(ByteSource& source, std::string_view fileName, std::span<DataSet> slots, DataPool& pool,
                 TitleText* vtitleOut) {
    return readDataFile(source, fileName, slots, pool, vtitleOut, ReadPlan{}, nullptr);
}

int readDataFile(ByteSource& source, std::string_view fileName, std::span<DataSet> slots, DataPool& pool,
                 TitleText* vtitleOut, const ReadPlan& plan, FileReadState* stateOut,
                 const FileReadState* resumeFrom) {
    // Pass 1 in pieces: up to the last complete line, then that line's unfinished successor, if any.
    ScanState scan;
    std::int64_t from = 0;
    if (resumeFrom) {
        scan = resumeFrom->scan;
        from = resumeFrom->resumeAt;
    } else {
        source.seek(0);
        skipByteOrderMark(source);
        from = source.position();
        scan.prev = from;
    }
    const std::int64_t size = source.size();
    const std::int64_t complete = size < 0 ? from : afterLastNewline(source, from, size);
    const std::vector<std::int64_t> starts = pieceStarts(source, from, complete, plan);
    const int pieces = static_cast<int>(starts.size());

    std::vector<std::unique_ptr<ByteSource>> sources(static_cast<std::size_t>(pieces));
    const auto sourceOf = [&](int i) -> ByteSource& {
        auto& own = sources[static_cast<std::size_t>(i)];
        return own ? *own : source;
    };
    for (int i = 1; i < pieces; ++i) sources[static_cast<std::size_t>(i)] = source.another();
    // Without a second source the pieces take turns on the one there is.
    const bool parallel = std::all_of(sources.begin() + 1, sources.end(), [](const auto& s) { return s != nullptr; });

    std::vector<PieceScan> scanned(static_cast<std::size_t>(pieces));
    const auto scanOne = [&](int i) {
        const std::int64_t end = i + 1 < pieces ? starts[static_cast<std::size_t>(i) + 1] : complete;
        if (starts[static_cast<std::size_t>(i)] < end) {
            scanned[static_cast<std::size_t>(i)] = scanPiece(sourceOf(i), starts[static_cast<std::size_t>(i)], end);
        }
    };
    if (parallel && pieces > 1) {
        runInParallel(pieces, scanOne);
    } else {
        for (int i = 0; i < pieces; ++i) scanOne(i);
    }
    for (int i = 0; i < pieces; ++i) joinPiece(scan, scanned[static_cast<std::size_t>(i)], i);
    scanned.clear();
    std::unique_ptr<ScanState> snapshot;
    if (stateOut) snapshot = std::make_unique<ScanState>(scan);
    joinPiece(scan, scanPiece(source, complete, kToTheEnd), -1);
    const BlockIndex& index = scan.index;
    if (!index.hasNumbers()) return 0;

    // Pass 2: the storage of every set, then its rows, piece by piece.
    const auto at = [](int k) { return static_cast<std::size_t>(k); };
    const int keptBlocks = resumeFrom ? resumeFrom->scan.index.blockCount : 0;
    std::vector<BlockJob> jobs;
    std::size_t built = 0;
    for (int k = 1; k <= index.blockCount && built < slots.size(); ++k) {
        if (!index.isNumeric(k)) continue;
        const int m = columnsOf(scan, k, slots.size() - built);
        const std::int32_t count = index.lines[at(k)];
        if (m == 0 || count == 0) continue;
        BlockJob job;
        job.k = k;
        job.errorBlock = index.kind[at(k)] == BlockKind::ErrorBars;
        job.count = count;
        // A block read before with the same sets keeps its rows up to the last complete line.
        const FileReadState::Block* before =
            k <= keptBlocks && at(k) < resumeFrom->blocks.size() ? &resumeFrom->blocks[at(k)] : nullptr;
        if (before && before->storage.size() == static_cast<std::size_t>(m) && before->rows <= count &&
            resumeFrom->scan.index.kind[at(k)] == index.kind[at(k)]) {
            job.keptRows = before->rows;
        } else {
            before = nullptr;
        }
        bool failed = false;
        for (int c = 0; c < m && !failed; ++c) {
            std::shared_ptr<SetStorage> storage;
            if (before) {
                const std::shared_ptr<SetStorage>& old = before->storage[static_cast<std::size_t>(c)];
                const auto size = static_cast<std::size_t>(count) + 1;
                if (old->x.capacity() >= size && old->y.capacity() >= size && old->x.size() <= size &&
                    old->y.size() <= size) {
                    // Grows where it is (never shrinks: an older Document may still read its points):
                    // the rows after the kept ones are all read again, the last may have been unfinished.
                    storage = old;
                    storage->x.resize(size);
                    storage->y.resize(size);
                    pool.accountKeptSet(count);
                } else {
                    storage = pool.allocateSetToFill(count, roomFor(count));
                    if (storage) {
                        const auto keep = static_cast<std::ptrdiff_t>(job.keptRows) + 1;
                        std::copy(old->x.begin(), old->x.begin() + keep, storage->x.begin());
                        std::copy(old->y.begin(), old->y.begin() + keep, storage->y.begin());
                    }
                }
            } else {
                storage = pool.allocateSetToFill(count, stateOut || resumeFrom ? roomFor(count) : count);
            }
            if (!storage) failed = true;
            job.storage.push_back(storage);
        }
        if (failed) break;  // the block being built is dropped; the sets before it stay
        for (const auto& storage : job.storage) {
            job.xs.push_back(storage->x.data());
            job.ys.push_back(storage->y.data());
        }
        for (const Segment& segment : scan.segments[at(k)]) {
            if (segment.firstRow <= job.keptRows) continue;
            job.segments.push_back(&segment);
            // Rows an earlier read scanned are read again by the first piece.
            job.pieces.push_back(segment.start < from ? 0 : segment.piece);
        }
        job.results.resize(job.segments.size());
        built += static_cast<std::size_t>(m);
        jobs.push_back(std::move(job));
    }
    if (jobs.empty()) return 0;

    const auto buildPiece = [&](int piece) {
        ByteSource& own = piece >= 0 && piece < pieces ? sourceOf(piece) : source;
        LineReader reader(own, LineLength::Whole);
        for (BlockJob& job : jobs) {
            for (std::size_t i = 0; i < job.segments.size(); ++i) {
                if (job.pieces[i] == piece) buildSegment(reader, job, *job.segments[i], job.results[i]);
            }
        }
    };
    if (parallel && pieces > 1) {
        runInParallel(pieces, buildPiece);
    } else {
        for (int i = 0; i < pieces; ++i) buildPiece(i);
    }
    buildPiece(-1);

    // The sets, their ascending flags and extents, and what a later read keeps.
    if (stateOut) {
        stateOut->scan = std::move(*snapshot);
        stateOut->resumeAt = complete;
        stateOut->blocks.assign(at(stateOut->scan.index.blockCount) + 1, FileReadState::Block{});
    }
    std::size_t slot = 0;
    for (BlockJob& job : jobs) {
        const std::size_t m = job.storage.size();
        const FileReadState::Block* before = job.keptRows > 0 ? &resumeFrom->blocks[at(job.k)] : nullptr;
        const std::int32_t snapshotRows = stateOut && job.k <= stateOut->scan.index.blockCount
                                              ? stateOut->scan.index.lines[at(job.k)] : -1;
        Fold fold;
        Fold atSnapshot;
        bool allRead = true;
        if (before) {
            fold.add(before->ascending, job.storage[0]->x[1], job.storage[0]->x[static_cast<std::size_t>(job.keptRows)],
                     before->lastTokens, before->extents);
        }
        if (before && job.keptRows == snapshotRows) atSnapshot = fold;
        for (std::size_t i = 0; i < job.segments.size(); ++i) {
            const SegmentResult& result = job.results[i];
            const Segment& lost = *job.segments[i];
            if (result.rowsRead < lost.rows) {
                // Rows the file no longer has read as 0.
                const auto from = static_cast<std::size_t>(lost.firstRow + result.rowsRead);
                const auto to = static_cast<std::size_t>(lost.firstRow + lost.rows);
                for (const auto& storage : job.storage) {
                    std::fill(storage->x.begin() + static_cast<std::ptrdiff_t>(from), storage->x.begin() + static_cast<std::ptrdiff_t>(to), 0.0);
                    std::fill(storage->y.begin() + static_cast<std::ptrdiff_t>(from), storage->y.begin() + static_cast<std::ptrdiff_t>(to), 0.0);
                }
            }
            allRead = allRead && result.rowsRead == job.segments[i]->rows;
            if (result.rowsRead > 0) fold.add(result.ascending, result.firstX, result.lastX, result.lastTokens, result.extents);
            const Segment& segment = *job.segments[i];
            if (allRead && segment.firstRow + segment.rows - 1 == snapshotRows) atSnapshot = fold;
        }
        bool ascending = fold.ascending;
        if (!allRead || !fold.any) {
            // The file lost rows while it was read: they are 0, and every point is gone over again.
            fold.extents.assign(m, Extents{});
            for (std::size_t c = 0; c < m; ++c) fold.extents[c] = extentsOfRows(*job.storage[c], 1, job.count, ascending);
            atSnapshot = Fold{};
        }
        const bool errorbar = job.errorBlock && allRead && fold.lastTokens > 2;
        for (std::size_t c = 0; c < m; ++c) {
            DataSet& set = slots[slot++];
            set.storage = job.storage[c];
            set.storage->name = fileName;
            set.storage->summarised = job.count;
            set.storage->summary = fold.extents[c];
            set.count = job.count;
            set.datapos = index.pos[at(job.k)];
            set.titlepos = index.pos[at(job.k == 1 ? 1 : job.k - 1)];
            set.errorbar = c == 0 && errorbar;
            set.ascending = ascending;
        }
        if (stateOut && snapshotRows > 0 && atSnapshot.any) {
            FileReadState::Block& kept = stateOut->blocks[at(job.k)];
            kept.storage = job.storage;
            kept.rows = snapshotRows;
            kept.lastTokens = atSnapshot.lastTokens;
            kept.ascending = atSnapshot.ascending;
            kept.extents = atSnapshot.extents;
        }
    }
    const int n = static_cast<int>(slot);
    readTitles(source, vtitleOut, slots.first(slot));
    return n;
}

int readDataFile(const std::string& path, std::span<DataSet> slots, DataPool& pool, TitleText* vtitleOut) {
    FileSource source(path);
    if (!source.isOpen()) return 0;
    return readDataFile(source, path, slots, pool, vtitleOut);
}

}  // namespace varnex
