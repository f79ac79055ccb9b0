#include "document/data_file_reader.h"

#include <algorithm>
#include <memory>
#include <optional>
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

}  // namespace

bool BlockIndex::hasNumbers() const {
    for (int k = 1; k <= blockCount; ++k) {
        if (isNumeric(k)) return true;
    }
    return false;
}

BlockIndex scanBlocks(ByteSource& source) {
    BlockIndex index;
    // A byte-order mark lies before the first block: every later pass starts from the block positions.
    source.seek(0);
    skipByteOrderMark(source);
    LineReader reader(source);
    std::int64_t prev = source.position();
    bool inNumbers = false;
    while (reader.readLine()) {
        const bool numeric = isNumericLine(reader.line());
        if (index.blockCount == 0 || numeric != inNumbers) {
            if (index.blockCount == BlockIndex::kMaxBlocks) {
                index.cutShort = true;
                break;
            }
            const auto k = static_cast<std::size_t>(++index.blockCount);
            index.pos[k] = prev;
            index.kind[k] = !numeric ? BlockKind::Text
                                     : reader.errorbarSeen() ? BlockKind::ErrorBars : BlockKind::Numbers;
            // A "#errorbar" comment inside a numeric block or before a text block marks the next
            // numeric block.
            if (numeric) reader.clearErrorbarSeen();
            inNumbers = numeric;
        }
        std::int32_t& lines = index.lines[static_cast<std::size_t>(index.blockCount)];
        if (lines == BlockIndex::kMaxLines) {
            index.cutShort = true;
            break;
        }
        ++lines;
        prev = reader.position();
    }
    return index;
}

int buildSets(ByteSource& source, std::string_view fileName, const BlockIndex& index, std::span<DataSet> slots,
              DataPool& pool) {
    LineReader reader(source);
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
    LineReader reader(source);
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
    const BlockIndex index = scanBlocks(source);
    if (!index.hasNumbers()) return 0;
    const int n = buildSets(source, fileName, index, slots, pool);
    if (n == 0) return 0;
    const std::span<DataSet> sets = slots.first(static_cast<std::size_t>(n));
    readTitles(source, vtitleOut, sets);
    markAscending(sets);
    return n;
}

int readDataFile(const std::string& path, std::span<DataSet> slots, DataPool& pool, TitleText* vtitleOut) {
    FileSource source(path);
    if (!source.isOpen()) return 0;
    return readDataFile(source, path, slots, pool, vtitleOut);
}

}  // namespace varnex
