// Reading text files line by line, and the number tokenizer, shared by every reader of the program's
// files: the data file, the parameter file, the configuration file and the re-reading of error values.
//
// Bytes come from a ByteSource, which can seek: the readers remember file positions and go back to
// them instead of keeping a file in memory. FileSource reads a file through its own large buffer;
// MemorySource reads a string in memory, so that parsers can be tested and fuzzed without a disk.
//
// A line ends after a newline. The data file's readers take every line whole, whatever its length
// (LineLength::Whole); the parameter and configuration files, whose writers keep lines within 255
// bytes, take lines as pieces of at most 255 bytes (kLineBytes), a longer physical line coming in
// several pieces, each a line of its own. Lines beginning with '#' are comments and are skipped;
// trailing spaces, LF and CR are removed by whole characters of the system code page.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace varnex {

// A seekable stream of bytes with 64-bit positions.
class ByteSource {
public:
    ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;
    virtual ~ByteSource() = default;

    // The bytes from the current position on that are at hand; reads more when none are left. Empty
    // only at the end of the data (or after a read error, which counts as the end). The view stays
    // valid until the next call of window() or seek().
    virtual std::string_view window() = 0;
    // Moves the position n bytes on. REQUIRES: n <= window().size()
    virtual void advance(std::size_t n) = 0;
    // Moves to position pos. A position past the end is allowed (reading there finds the end); false,
    // with the position unchanged, for a negative pos.
    virtual bool seek(std::int64_t pos) = 0;
    // The position of the next byte to read (0 = start of the data).
    virtual std::int64_t position() const = 0;
    // The number of bytes of the data now (-1 when unknown).
    virtual std::int64_t size() const = 0;
    // A second, independent source over the same bytes, positioned at 0, for another thread: its reads
    // and seeks do not move this one. Null when that cannot be had.
    virtual std::unique_ptr<ByteSource> another() const = 0;
};

// The bytes of a string held by the caller, who keeps it alive and unchanged while the source is used.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}

    std::string_view window() override;
    void advance(std::size_t n) override { m_pos += n; }
    bool seek(std::int64_t pos) override;
    std::int64_t position() const override { return static_cast<std::int64_t>(m_pos); }
    std::int64_t size() const override { return static_cast<std::int64_t>(m_bytes.size()); }
    std::unique_ptr<ByteSource> another() const override { return std::make_unique<MemorySource>(m_bytes); }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;  // may lie past the end after a seek
};

// A file opened for reading, read through a buffer of kBufferBytes. The file stays open (and
// readable, even if it is deleted meanwhile) until the source is destroyed; if it shrinks, reads past
// its new end simply find the end. Seeks within the bytes already buffered do not touch the file.
// Reads go to explicit positions (POSIX pread), so the sources made by another() share the open file
// and each keeps its own position.
class FileSource final : public ByteSource {
public:
    static constexpr std::size_t kBufferBytes = 64 * 1024;  // measured: larger is slower (cache)

    // Opens path (bytes in the system code page) for reading; see isOpen().
    explicit FileSource(const std::string& path);

    bool isOpen() const { return m_file != nullptr; }

    std::string_view window() override;
    void advance(std::size_t n) override { m_cursor += n; }
    bool seek(std::int64_t pos) override;
    std::int64_t position() const override { return m_bufferPos + static_cast<std::int64_t>(m_cursor); }
    std::int64_t size() const override;
    std::unique_ptr<ByteSource> another() const override;

    // The identity of the open file (device and inode), to tell a file that was replaced by another of
    // the same name; {0, 0} when the source is not open.
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        friend bool operator==(const Identity&, const Identity&) = default;
    };
    Identity identity() const;

private:
    struct OpenFile;
    FileSource() = default;

    std::shared_ptr<OpenFile> m_file;
    std::unique_ptr<char[]> m_buffer;
    std::int64_t m_bufferPos = 0;  // file position of m_buffer[0]
    std::size_t m_size = 0;        // bytes held in the buffer
    std::size_t m_cursor = 0;      // next byte, 0..m_size
};

// Moves past a UTF-8 byte-order mark (EF BB BF), which some editors put at the start of a text file,
// when the source stands at position 0 and begins with one; otherwise leaves the source as it is.
// Returns whether a mark was skipped. Readers call it before the first line, so that the mark does not
// make the first line a text line.
bool skipByteOrderMark(ByteSource& source);

inline constexpr std::size_t kLineBytes = 255;  // longest piece of a physical line (LineLength::Pieces)
inline constexpr int kMaxNumbers = 255;         // most numbers parseNumbers takes from one text
inline constexpr int kMaxRowNumbers = 256;      // most numbers taken from a data line: x and 255 sets

// How a LineReader delivers a physical line longer than kLineBytes.
enum class LineLength {
    Pieces,  // in pieces of kLineBytes, each a line of its own (parameter and configuration files)
    Whole,   // whole (data files)
};

// The numbers of one text: values[0] holds their count as a double, values[1..count] the numbers.
struct Numbers {
    std::array<double, kMaxRowNumbers + 1> values{};
    int count = 0;

    // Number i (1-based); 0 when the text had fewer numbers, as missing numbers read.
    double at(int i) const { return i >= 1 && i <= count ? values[static_cast<std::size_t>(i)] : 0.0; }
};

// Splits text into tokens and converts each as atof does (util/numbers.h parseLeadingNumber: the
// longest numeric prefix, 0 without one). Only spaces and tabs separate tokens; a control character
// at the very end of the text is taken as a space; commas and all other characters belong to a
// token. Separators are found by whole characters. The text ends at a NUL, like a C string. At most
// kMaxNumbers tokens are kept (later ones are ignored). Returns the count, also stored in out.
int parseNumbers(std::string_view text, Numbers& out);
// The same, keeping at most maxCount numbers (at most kMaxRowNumbers).
int parseNumbers(std::string_view text, Numbers& out, int maxCount);

// Kinds of lines in a data file.
enum class LineKind {
    Numeric,  // after leading spaces (not tabs) the first character is a digit, '+', '-' or '.'
    Blank,    // nothing but spaces, or nothing
    Text,     // anything else, including a line that starts with a tab
};
LineKind classifyLine(std::string_view line);
inline bool isNumericLine(std::string_view line) { return classifyLine(line) == LineKind::Numeric; }
inline bool isBlankLine(std::string_view line) { return classifyLine(line) == LineKind::Blank; }

// Reads lines from a source that the caller keeps alive. Reading starts at the source's position.
// The reader takes the source's bytes a window at a time: while it is in use, read the source only
// through it. When it is destroyed, the source is left at the reader's position().
class LineReader {
public:
    explicit LineReader(ByteSource& source, LineLength length = LineLength::Pieces)
        : m_source(source), m_windowEnd(source.position()), m_whole(length == LineLength::Whole) {}
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Reads the next line that is not a comment into line(). False at the end of the data.
    // A line runs up to and including a newline (in pieces: at most kLineBytes bytes); a NUL byte
    // ends its text but the position still moves over the whole line or piece. Lines whose first byte is '#' are skipped;
    // one beginning with "#errorbar" sets errorbarSeen(). Trailing spaces, LF and CR are removed
    // (tabs are kept). The new line has not been parsed: tokenCount() is 0.
    bool readLine();
    // Reads the next line, a comment too: isComment() tells which (a comment is not trimmed, and one
    // beginning with "#errorbar" sets errorbarSeen()). False at the end of the data. For readers that
    // must stop at a position: readLine would read past it to skip comments.
    bool readAnyLine();
    bool isComment() const { return m_comment; }

    // The current line, without its line end; valid until the next readLine.
    std::string_view line() const { return m_text; }

    // The position after the current line: where the next readLine starts.
    std::int64_t position() const { return m_windowEnd - static_cast<std::int64_t>(m_end - m_next); }
    // Reading continues at pos; false for a negative pos.
    bool seek(std::int64_t pos);

    // Set when a comment beginning with "#errorbar" was skipped; stays set until cleared.
    bool errorbarSeen() const { return m_errorbarSeen; }
    void clearErrorbarSeen() { m_errorbarSeen = false; }

    // The numbers of the current line (at most kMaxRowNumbers), parsed on the first call for that line.
    const Numbers& numbers();
    // The first maxCount numbers of the current line (tokenCount() then counts at most maxCount), for
    // readers that need no more; parsed again if an earlier call kept fewer.
    const Numbers& numbers(int maxCount);
    // Number of numbers of the current line; 0 while it has not been parsed.
    int tokenCount() const { return m_parsedUpTo > 0 ? m_numbers.count : 0; }

private:
    bool readPiece();
    bool readWhole();
    void trimEnd();

    ByteSource& m_source;
    std::int64_t m_windowEnd;      // the source's position: the end of the bytes taken from it
    const char* m_next = nullptr;  // the bytes taken from the source and not read yet
    const char* m_end = nullptr;
    bool m_whole;
    // The current line: in m_line (a piece), in the source's window (a whole line found there), or in
    // m_long (a whole line that crossed windows). The byte after it is always readable and ends a
    // number (a NUL, a line end or a trimmed space), as the tokenizer needs.
    std::string_view m_text;
    std::array<char, kLineBytes + 1> m_line{};
    std::string m_long;
    bool m_errorbarSeen = false;
    bool m_comment = false;
    int m_parsedUpTo = 0;  // the most numbers the current line was parsed for (0: not parsed)
    Numbers m_numbers;
};

}  // namespace varnex
