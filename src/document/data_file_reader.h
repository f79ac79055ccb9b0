// Reading a data file into data sets.
//
// A data file is text: blocks of numeric lines (the first column is x, every further column one data
// set) with text between them, '#' comment lines anywhere ("#errorbar" before a numeric block makes
// it one set whose third and fourth columns are error values). The file is read in passes, each
// seeking back to positions remembered by the previous one, so it is never held in memory:
//   1. scanBlocks divides it into alternating text and numeric blocks;
//   2. buildSets turns each numeric block into sets, point arrays sized exactly from the scan;
//   3. readTitles finds the graph title and the set titles in the text before each block;
//   4. the sets' ascending flags are marked.
// Every line is read whole, whatever its length: a numeric line gives one row of up to 256 numbers
// (x and 255 sets), and a text line that becomes a title is cut to the title's 255 bytes at a
// character boundary. The source stays open across the passes. If the file changes in between, nothing is read past a
// limit: a block that has become shorter leaves its remaining points 0.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/line_reader.h"
#include "document/model.h"

namespace varnex {

class DataPool;

enum class BlockKind : char {
    Text = 'c',
    Numbers = 'd',
    ErrorBars = 'e',  // numbers after a "#errorbar" comment: one set, errors in columns 3 and 4
};

// The blocks of a file, numbered 1..blockCount (entry 0 unused).
struct BlockIndex {
    static constexpr int kMaxBlocks = 511;
    static constexpr std::int32_t kMaxLines = std::numeric_limits<std::int32_t>::max();

    int blockCount = 0;
    std::array<std::int64_t, kMaxBlocks + 1> pos{};    // where block k starts: the position after the
                                                       // line before it, so leading comments belong to it
    std::array<BlockKind, kMaxBlocks + 1> kind{};
    std::array<std::int32_t, kMaxBlocks + 1> lines{};  // lines of block k, comments not counted
    // The scan stopped before the end of the file: a 512th block would have started, or a block
    // would have had more than kMaxLines lines. The rest of the file is ignored.
    bool cutShort = false;

    bool isNumeric(int k) const {
        const BlockKind blockKind = kind[static_cast<std::size_t>(k)];
        return blockKind == BlockKind::Numbers || blockKind == BlockKind::ErrorBars;
    }
    // At least one numeric block: the file holds data.
    bool hasNumbers() const;
};

// How a read divides a file among threads. The bytes are cut into pieces at line starts; each piece
// is scanned, and later built, on its own thread, and the pieces are joined in file order, which gives
// exactly the blocks and sets of a reading from the start to the end: blocks, comments, "#errorbar",
// titles and the first line's column count all cross piece boundaries.
struct ReadPlan {
    static constexpr std::int64_t kPieceBytes = 8 * 1024 * 1024;  // a file smaller than this is one piece
    static constexpr int kMostPieces = 8;

    int pieces = 0;  // 0: one per kPieceBytes, at most the number of processors (and kMostPieces)
    // When not empty: where pieces begin (each moved on to the next line start), so that tests can cut
    // small files anywhere; `pieces` is then ignored.
    std::vector<std::int64_t> splits;
};

// Rows of a numeric block that lie in one piece: rows firstRow.. firstRow + rows - 1, whose lines
// (and the comments between them) begin at `start`.
struct Segment {
    std::int64_t start = 0;
    std::int32_t firstRow = 1;
    std::int32_t rows = 0;
    int piece = 0;  // the piece that holds them, -1 for the unfinished last line
};

// The scan after some of a file's lines, ready to take the lines that follow.
struct ScanState {
    BlockIndex index;
    std::vector<std::vector<Segment>> segments = std::vector<std::vector<Segment>>(BlockIndex::kMaxBlocks + 1);
    std::array<std::int16_t, BlockIndex::kMaxBlocks + 1> firstTokens{};  // numbers on a block's first line
    std::int64_t prev = 0;   // the position after the last line (where a new block would begin)
    bool inNumbers = false;
    bool errorbar = false;   // a "#errorbar" comment waits for the next numeric block
    bool stopped = false;    // cut short: later lines change nothing
};

// What a read of one file keeps so that it can go on when the file grows (document/incremental_load.h):
// the scan as it stood after the file's last complete line (one that ends with a newline), and for each
// of its blocks the sets built from it with what was known of them there.
struct FileReadState {
    struct Block {
        std::vector<std::shared_ptr<SetStorage>> storage;  // the block's sets (empty: none were built)
        std::int32_t rows = 0;     // rows of the block up to the last complete line
        int lastTokens = 0;        // numbers on row `rows` (as far as they were counted)
        bool ascending = true;     // x increases over rows 1..rows
        std::vector<Extents> extents;  // of each set over rows 1..rows
    };
    ScanState scan;
    std::int64_t resumeAt = 0;  // where the bytes after the last complete line begin
    std::vector<Block> blocks;  // [k] for block k of scan.index
};

// Pass 1: divides the source, from position 0 (or after a UTF-8 byte-order mark there), into blocks
// that alternate between text (text and blank lines) and numbers (numeric lines). A file of more than 511 blocks is cut short: the scan
// stops where the 512th block would start.
BlockIndex scanBlocks(ByteSource& source);

// Pass 2: makes the sets of the numeric blocks of `index` in file order and writes them into
// slots[0], slots[1], ... Each column after the first of a block's first line gives one set (an
// error-bar block gives one set, from columns 1 and 2); later lines fill missing numbers with 0 and
// ignore extra ones. A set gets count, pool storage of exactly that many points, datapos, titlepos,
// errorbar, its file name (`fileName`) and an empty title; its GraphParams are left as they are.
// Stops when slots is full, even within a block. If the pool fails, the block being built is
// dropped (its slots are untouched) and the sets of the earlier blocks are returned.
// Returns the number of sets written.
int buildSets(ByteSource& source, std::string_view fileName, const BlockIndex& index, std::span<DataSet> slots,
              DataPool& pool);

// Pass 3: for the sets just built (REQUIRES: each has storage). With vtitleOut, the graph title is
// the first non-blank line before the first numeric line from the first set's titlepos ("No Title"
// without one). The first set's titlepos then moves to the start of the last paragraph of that text,
// and every set takes the first non-blank line from its titlepos, less leading spaces, as its title
// (empty if numbers or the end come first).
void readTitles(ByteSource& source, TitleText* vtitleOut, std::span<DataSet> sets);

// Reads a whole data file into slots[0..n) (the free slots of a Document) and returns n. 0 when the
// file cannot be opened or gives no set (no numeric block, or only one-column blocks); then neither
// the slots nor *vtitleOut change. vtitleOut is null when no graph title is wanted (reload, append).
// The path is stored as each set's name. Fatal pool errors go to the pool's message boxes.
int readDataFile(const std::string& path, std::span<DataSet> slots, DataPool& pool, TitleText* vtitleOut);
// The same on any source, naming the sets `fileName`.
int readDataFile(ByteSource& source, std::string_view fileName, std::span<DataSet> slots, DataPool& pool,
                 TitleText* vtitleOut);
// The same in pieces as plan says, and with stateOut, what is needed to go on when the file grows. With
// resumeFrom (the state an earlier read of the same file left, whose bytes up to resumeFrom->resumeAt are
// unchanged), only the bytes from resumeAt on are read, and sets whose rows are all before it are kept
// (one whose block grew keeps its arrays when they have room); the result is that of a whole read.
int readDataFile(ByteSource& source, std::string_view fileName, std::span<DataSet> slots, DataPool& pool,
                 TitleText* vtitleOut, const ReadPlan& plan, FileReadState* stateOut,
                 const FileReadState* resumeFrom = nullptr);

}  // namespace varnex
