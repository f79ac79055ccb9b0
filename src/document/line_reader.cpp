#include "document/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "util/codepage.h"
#include "util/numbers.h"

namespace varnex {
namespace {

bool isAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }
bool isLineEndOrSpace(char c) { return c == ' ' || c == '\n' || c == '\r'; }
bool isControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

constexpr std::string_view kErrorbarComment = "#errorbar";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;                            // 10^22 is the largest exact power of 10
constexpr std::uint64_t kMaxExactMantissa = 1ULL << 53;       // every integer up to here is exact

// Appends the decimal digits from p to mantissa (wrapping around beyond 19 digits); returns the end
// of the digits. REQUIRES: the digits are followed by a byte that is no digit.
const char* takeDigits(const char* p, std::uint64_t& mantissa) {
    for (;; ++p) {
        const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
        if (digit > 9) return p;
        mantissa = mantissa * 10 + digit;
    }
}

// The quick way for the common token, a plain decimal number whose digits and power of ten are both
// exact doubles: one multiplication or division then rounds exactly as a full conversion would, so
// the result equals parseLeadingNumber's. Reads from p up to the first byte that cannot continue the
// number and returns where it stopped; null (value unset) when the number does not qualify, which
// then takes the full conversion: more than 19 digits, a large exponent, no digit, "e" without digits.
// REQUIRES: the text from p ends with a byte that cannot continue a number (a NUL, a space, a
// control character), so that no bounds need checking.
const char* parseExactDecimal(const char* p, double& value) {
    constexpr std::ptrdiff_t kMaxDigits = 19;  // any 19 digits fit 64 bits
    // Without branches: signs come in no predictable order.
    const bool negative = *p == '-';
    p += negative || *p == '+';
    std::uint64_t mantissa = 0;
    const char* const integer = p;
    p = takeDigits(p, mantissa);
    std::ptrdiff_t digits = p - integer;
    std::ptrdiff_t fractionDigits = 0;
    if (*p == '.') {
        const char* const fraction = ++p;
        p = takeDigits(p, mantissa);
        fractionDigits = p - fraction;
    }
    digits += fractionDigits;
    if (digits == 0 || digits > kMaxDigits) return nullptr;
    int exponent = -static_cast<int>(fractionDigits);
    if (*p == 'e' || *p == 'E') {
        ++p;
        const bool negativeExponent = *p == '-';
        p += negativeExponent || *p == '+';
        const char* const first = p;
        int power = 0;
        for (; isDigit(*p); ++p) {
            if (power < 1000) power = power * 10 + (*p - '0');
        }
        if (p == first) return nullptr;
        exponent += negativeExponent ? -power : power;
    }
    if (mantissa > kMaxExactMantissa) return nullptr;
    double magnitude = 0;
    if (mantissa != 0) {
        if (exponent < -kMaxExactPower || exponent > kMaxExactPower) return nullptr;
        const auto m = static_cast<double>(mantissa);
        magnitude = exponent < 0 ? m / kPowersOf10[-exponent] : m * kPowersOf10[exponent];
    }
    value = negative ? -magnitude : magnitude;
    return p;
}

bool isSeparator(char c) { return c == ' ' || c == '\t'; }

// Whether pos is a character boundary of text, found by walking from the start. Kept out of line:
// the callers' quick paths stay small.
[[gnu::noinline]] bool isBoundaryByWalking(std::string_view text, std::size_t pos) {
    const CodePage codePage = systemCodePage();
    std::size_t i = 0;
    while (i < pos) i += charLength(text, i, codePage);
    return i == pos;
}

// Whether pos is a character boundary of text. Quick when the three bytes before pos are ASCII:
// no character is longer than four bytes, so none can reach past pos.
bool isBoundary(std::string_view text, std::size_t pos) {
    const auto byteBefore = [&](std::size_t back) -> unsigned {
        return pos >= back ? static_cast<unsigned char>(text[pos - back]) : 0U;
    };
    return (byteBefore(1) | byteBefore(2) | byteBefore(3)) < 0x80 || isBoundaryByWalking(text, pos);
}

// The length of text without its trailing spaces, LF and CR, removed by whole characters.
[[gnu::noinline]] std::size_t trimmedLength(std::string_view text) {
    const CodePage codePage = systemCodePage();
    std::size_t end = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = charLength(text, i, codePage);
        if (length > 1 || !isLineEndOrSpace(text[i])) end = i + length;
        i += length;
    }
    return end;
}

// parseNumbers on a text without NUL bytes, keeping at most maxCount numbers. REQUIRES:
// text.data()[text.size()] is readable and cannot continue a number (a NUL, a space, a line end).
int parseTokens(std::string_view text, Numbers& out, int maxCount) {
    const CodePage codePage = systemCodePage();
    // A control character at the end counts as a space, which is as if it were not there.
    if (!text.empty() && isControl(text.back()) && isBoundary(text, text.size() - 1)) {
        text.remove_suffix(1);
    }
    const char* p = text.data();
    const char* const end = p + text.size();
    int count = 0;
    while (count < maxCount) {
        while (p < end && isSeparator(*p)) ++p;
        if (p == end) break;
        double value = 0;
        const char* const stop = parseExactDecimal(p, value);
        if (stop && (stop == end || isSeparator(*stop))) {
            p = stop;
        } else {
            // Separators are looked for at character boundaries only.
            const char* const start = p;
            while (p < end && !isSeparator(*p)) {
                p += isAscii(*p) ? 1 : charLength(text, static_cast<std::size_t>(p - text.data()), codePage);
            }
            value = parseLeadingNumber(std::string_view(start, static_cast<std::size_t>(p - start)));
        }
        out.values[static_cast<std::size_t>(++count)] = value;
    }
    out.values[0] = count;
    out.count = count;
    return count;
}

// The offset of the first newline or NUL byte of from[0..size), size if there is none. With Copy, the
// bytes up to and including it are also copied to `to` (bytes after it may be copied too). Eight bytes
// at a time: the lowest byte flagged by the zero-byte test is always a true match (a false flag needs a
// borrow from a lower true one).
template <bool Copy>
std::size_t scanToNewlineOrNul(const char* from, std::size_t size, char* to) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    constexpr std::uint64_t kNewlines = kOnes * '\n';
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= size; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, from + i, 8);
            if constexpr (Copy) std::memcpy(to + i, &word, 8);
            const std::uint64_t newlines = word ^ kNewlines;  // zero bytes where word has a newline
            const std::uint64_t hits = (((word - kOnes) & ~word) | ((newlines - kOnes) & ~newlines)) & kHighBits;
            if (hits) return i + static_cast<std::size_t>(std::countr_zero(hits) / 8);
        }
    }
    for (; i < size; ++i) {
        if constexpr (Copy) to[i] = from[i];
        if (from[i] == '\n' || from[i] == '\0') return i;
    }
    return size;
}

std::size_t findNewlineOrNulInPlace(const char* from, std::size_t size) {
    return scanToNewlineOrNul<false>(from, size, nullptr);
}

std::size_t findNewlineOrNul(const char* from, std::size_t size, char* to) {
    return scanToNewlineOrNul<true>(from, size, to);
}

}  // namespace

// --- MemorySource ---

std::string_view MemorySource::window() {
    return m_pos < m_bytes.size() ? m_bytes.substr(m_pos) : std::string_view();
}

bool MemorySource::seek(std::int64_t pos) {
    if (pos < 0) return false;
    m_pos = static_cast<std::size_t>(pos);
    return true;
}

// --- FileSource ---

// The open file, shared by a source and the sources made from it by another().
struct FileSource::OpenFile {
    int fd = -1;
    explicit OpenFile(int descriptor) : fd(descriptor) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { ::close(fd); }
};

FileSource::FileSource(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    m_file = std::make_shared<OpenFile>(fd);
    m_buffer = std::make_unique_for_overwrite<char[]>(kBufferBytes);
}

std::string_view FileSource::window() {
    if (m_cursor < m_size) return {m_buffer.get() + m_cursor, m_size - m_cursor};
    if (!m_file) return {};
    const std::int64_t pos = position();
    m_bufferPos = pos;
    m_size = 0;
    m_cursor = 0;
    for (;;) {
        const ssize_t got = ::pread(m_file->fd, m_buffer.get(), kBufferBytes, static_cast<off_t>(pos));
        if (got < 0 && errno == EINTR) continue;
        // A read error counts as the end.
        m_size = got > 0 ? static_cast<std::size_t>(got) : 0;
        break;
    }
    return {m_buffer.get(), m_size};
}

bool FileSource::seek(std::int64_t pos) {
    if (pos < 0) return false;
    if (pos >= m_bufferPos && pos <= m_bufferPos + static_cast<std::int64_t>(m_size)) {
        m_cursor = static_cast<std::size_t>(pos - m_bufferPos);
        return true;
    }
    m_bufferPos = pos;
    m_size = 0;
    m_cursor = 0;
    return true;
}

std::int64_t FileSource::size() const {
    struct stat status {};
    if (!m_file || ::fstat(m_file->fd, &status) != 0) return -1;
    return static_cast<std::int64_t>(status.st_size);
}

FileSource::Identity FileSource::identity() const {
    struct stat status {};
    if (!m_file || ::fstat(m_file->fd, &status) != 0) return {};
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

std::unique_ptr<ByteSource> FileSource::another() const {
    if (!m_file) return nullptr;
    std::unique_ptr<FileSource> copy(new FileSource());
    copy->m_file = m_file;
    copy->m_buffer = std::make_unique_for_overwrite<char[]>(kBufferBytes);
    return copy;
}

bool skipByteOrderMark(ByteSource& source) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (source.position() != 0 || !source.window().starts_with(kByteOrderMark)) return false;
    source.advance(kByteOrderMark.size());
    return true;
}

// --- Numbers and lines ---

int parseNumbers(std::string_view text, Numbers& out) { return parseNumbers(text, out, kMaxNumbers); }

int parseNumbers(std::string_view text, Numbers& out, int maxCount) {
    maxCount = std::clamp(maxCount, 0, kMaxRowNumbers);
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    // The tokenizer wants a NUL after the text.
    if (text.size() <= kLineBytes) {
        std::array<char, kLineBytes + 1> copy;
        std::memcpy(copy.data(), text.data(), text.size());
        copy[text.size()] = '\0';
        return parseTokens({copy.data(), text.size()}, out, maxCount);
    }
    const std::string copy(text);
    return parseTokens(copy, out, maxCount);
}

LineKind classifyLine(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i == line.size()) return LineKind::Blank;
    const char c = line[i];
    if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.') return LineKind::Numeric;
    return LineKind::Text;
}

bool LineReader::readLine() {
    while (readAnyLine()) {
        if (!m_comment) return true;
    }
    return false;
}

bool LineReader::readAnyLine() {
    if (!(m_whole ? readWhole() : readPiece())) return false;
    m_comment = m_text.starts_with('#');
    if (!m_comment) {
        trimEnd();
    } else if (m_text.starts_with(kErrorbarComment)) {
        m_errorbarSeen = true;
    }
    m_parsedUpTo = 0;
    m_numbers.count = 0;
    return true;
}

// Takes the next whole line: a view into the window when the line ends there (the common case, no
// copy), else gathered in m_long.
bool LineReader::readWhole() {
    bool gathering = false;
    std::size_t nul = std::string_view::npos;  // where the text ends, within the gathered bytes
    for (;;) {
        if (m_next == m_end) {
            const std::string_view window = m_source.window();
            if (window.empty()) break;
            m_source.advance(window.size());
            m_windowEnd = m_source.position();
            m_next = window.data();
            m_end = m_next + window.size();
        }
        const auto available = static_cast<std::size_t>(m_end - m_next);
        std::size_t i = findNewlineOrNulInPlace(m_next, available);
        std::size_t textEnd = std::string_view::npos;
        if (i < available && m_next[i] == '\0') {
            // Rare: the text ends here, but the line still goes on to the newline.
            textEnd = i;
            const void* found = std::memchr(m_next + i, '\n', available - i);
            i = found ? static_cast<std::size_t>(static_cast<const char*>(found) - m_next) : available;
        }
        if (i < available) {  // the newline, which belongs to the line
            const char* const begin = m_next;
            m_next += i + 1;
            if (!gathering) {
                m_text = {begin, textEnd == std::string_view::npos ? i + 1 : textEnd};
                return true;
            }
            if (nul == std::string_view::npos && textEnd != std::string_view::npos) nul = m_long.size() + textEnd;
            m_long.append(begin, i + 1);
            break;
        }
        if (!gathering) {
            m_long.clear();
            gathering = true;
        }
        if (nul == std::string_view::npos && textEnd != std::string_view::npos) nul = m_long.size() + textEnd;
        m_long.append(m_next, available);
        m_next = m_end;
    }
    if (!gathering) return false;
    m_text = std::string_view(m_long).substr(0, nul);
    return true;
}

// Copies the next piece (at most kLineBytes bytes, through the first newline) into m_line.
bool LineReader::readPiece() {
    std::size_t got = 0;
    std::size_t nul = std::string_view::npos;
    bool newline = false;
    while (got < kLineBytes && !newline) {
        if (m_next == m_end) {
            const std::string_view window = m_source.window();
            if (window.empty()) break;
            m_source.advance(window.size());
            m_windowEnd = m_source.position();
            m_next = window.data();
            m_end = m_next + window.size();
        }
        const std::size_t take = std::min(static_cast<std::size_t>(m_end - m_next), kLineBytes - got);
        const char* const from = m_next;
        char* const to = m_line.data() + got;
        std::size_t i = findNewlineOrNul(from, take, to);
        if (i < take && from[i] == '\0') {
            // Rare: the text ends here, but the piece still goes on to the newline.
            if (nul == std::string_view::npos) nul = got + i;
            const void* found = std::memchr(from + i, '\n', take - i);
            const std::size_t stop = found ? static_cast<std::size_t>(static_cast<const char*>(found) - from) : take;
            std::memcpy(to + i, from + i, stop - i);
            i = stop;
        }
        if (i < take) {  // a newline, which belongs to the piece
            ++i;
            newline = true;
        }
        m_next += i;
        got += i;
    }
    if (got == 0) return false;
    // A NUL ends the text of the line, as in a C string; the bytes after it are skipped with it.
    const std::size_t length = std::min(got, nul);
    m_line[length] = '\0';
    m_text = {m_line.data(), length};
    return true;
}

// Removes trailing spaces, LF and CR. Only whole characters are removed: a byte that belongs to a
// multibyte character (the trail byte of a Shift-JIS character may be a space) stays.
void LineReader::trimEnd() {
    std::size_t end = m_text.size();
    while (end > 0 && isLineEndOrSpace(m_text[end - 1])) --end;
    if (end == m_text.size()) return;
    // `end` is right when it is a character boundary: the bytes after it are then single characters.
    if (!isBoundary(m_text, end)) end = trimmedLength(m_text);
    // The byte after the text is a removed space or line end, or the NUL after a piece.
    m_text = m_text.substr(0, end);
}

LineReader::~LineReader() {
    // Give back the bytes taken but not read.
    if (m_next != m_end) m_source.seek(position());
}

bool LineReader::seek(std::int64_t pos) {
    if (!m_source.seek(pos)) return false;
    m_windowEnd = pos;
    m_next = m_end = nullptr;
    return true;
}

const Numbers& LineReader::numbers() { return numbers(kMaxRowNumbers); }

const Numbers& LineReader::numbers(int maxCount) {
    maxCount = std::clamp(maxCount, 1, kMaxRowNumbers);
    if (m_parsedUpTo == 0 || (m_parsedUpTo < maxCount && m_numbers.count == m_parsedUpTo)) {
        parseTokens(m_text, m_numbers, maxCount);
        m_parsedUpTo = maxCount;
    }
    return m_numbers;
}

}  // namespace varnex
