#include "document/directives.h"

#include <filesystem>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

#include "document/data_file_reader.h"
#include "document/line_reader.h"
#include "util/codepage.h"
#include "util/numbers.h"

namespace varnex {
namespace {

constexpr std::string_view kEndOfDirectives = "%%%%%%";

// Whether needle occurs in text starting at a character boundary.
bool containsText(std::string_view text, std::string_view needle) {
    const CodePage codePage = systemCodePage();
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i, codePage)) {
        if (text.substr(i).starts_with(needle)) return true;
    }
    return false;
}

// ASCII letters lower-cased; bytes of multibyte characters are left alone.
std::string lowerCase(std::string_view text) {
    std::string lower(text);
    const CodePage codePage = systemCodePage();
    for (std::size_t i = 0; i < lower.size();) {
        const std::size_t length = charLength(lower, i, codePage);
        if (length == 1 && lower[i] >= 'A' && lower[i] <= 'Z') lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
        i += length;
    }
    return lower;
}

std::int8_t toInt8(std::int64_t value) {
    return static_cast<std::int8_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int8_t>::min(),
                                                             std::numeric_limits<std::int8_t>::max()));
}

std::int64_t truncInt(double value) {
    return truncSaturated(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
}

// The stored interpolation for a directive code: 4 and more go down by 2, and 3 means a spline.
std::int8_t interpFromCode(double value) {
    std::int64_t code = truncInt(value);
    if (code >= 4) code -= 2;
    if (code == 3) code = 2;
    return toInt8(code);
}

void setLimits(const Numbers& numbers, std::string_view value, double& lo, double& hi, std::int8_t& type) {
    if (numbers.count < 2) return;
    lo = numbers.at(1);
    hi = numbers.at(2);
    type = containsText(value, "log") ? 1 : 0;
}

// Applies one '%' directive (text: the lower-cased line after the '%'). False if the text is no
// directive, which ends the directives.
bool applyDirective(std::string_view text, DocumentHead& head, std::span<DataSet> sets) {
    enum class Kind { X, Y, Interp, Marker };
    Kind kind;
    if (containsText(text, "x")) {
        kind = Kind::X;
    } else if (containsText(text, "y")) {
        kind = Kind::Y;
    } else if (containsText(text, "nh")) {
        kind = Kind::Interp;
    } else if (containsText(text, "nk")) {
        kind = Kind::Marker;
    } else {
        return false;
    }

    const std::size_t equals = findChar(text, '=');
    if (equals == std::string_view::npos) return true;
    const std::string_view value = text.substr(equals + 1);
    Numbers numbers;
    parseNumbers(value, numbers);
    const std::size_t given = std::min(static_cast<std::size_t>(numbers.count), sets.size());

    switch (kind) {
    case Kind::X:
        setLimits(numbers, value, head.xmin, head.xmax, head.xtype);
        break;
    case Kind::Y:
        setLimits(numbers, value, head.ymin, head.ymax, head.ytype);
        break;
    case Kind::Interp:
        for (std::size_t i = 0; i < given; ++i) sets[i].params.interp = interpFromCode(numbers.values[i + 1]);
        break;
    case Kind::Marker:
        for (std::size_t i = 0; i < given; ++i) sets[i].params.marker = toInt8(truncInt(numbers.values[i + 1]));
        break;
    }
    return true;
}

}  // namespace

bool readDirectives(ByteSource& source, const BlockIndex& index, DocumentHead& head, std::span<DataSet> sets) {
    if (index.cutShort || !index.hasNumbers() || index.isNumeric(index.blockCount)) return false;
    LineReader reader(source, LineLength::Whole);
    reader.seek(index.pos[static_cast<std::size_t>(index.blockCount)]);
    while (reader.readLine()) {
        const std::string_view line = reader.line();
        if (containsText(line, kEndOfDirectives)) break;
        if (!line.starts_with('%')) continue;
        if (!applyDirective(lowerCase(line.substr(1)), head, sets)) break;
    }
    return true;
}

bool readDirectives(ByteSource& source, DocumentHead& head, std::span<DataSet> sets) {
    return readDirectives(source, scanBlocks(source), head, sets);
}

namespace {

// Directives stand in a closing text block, so a file whose last line is a number has none. A look at
// the end of a large file tells that without scanning it whole (a measurement file of a million rows
// would otherwise be read a third time). Reading from just after a newline meets the same whole lines
// as reading from the start. False when the end does not tell.
bool endsWithNumbers(ByteSource& source, std::int64_t size) {
    constexpr std::int64_t kTailBytes = 64 * 1024;
    if (size <= kTailBytes || !source.seek(size - kTailBytes)) return false;
    bool atLineStart = false;
    for (std::string_view window = source.window(); !window.empty() && !atLineStart; window = source.window()) {
        const std::size_t newline = window.find('\n');
        atLineStart = newline != std::string_view::npos;
        source.advance(atLineStart ? newline + 1 : window.size());
    }
    if (!atLineStart) return false;
    LineReader reader(source, LineLength::Whole);
    bool numeric = false;
    while (reader.readLine()) numeric = isNumericLine(reader.line());
    return numeric;
}

}  // namespace

bool readDirectives(const std::string& path, DocumentHead& head, std::span<DataSet> sets) {
    FileSource source(path);
    if (!source.isOpen()) return false;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (!error && endsWithNumbers(source, static_cast<std::int64_t>(size))) return false;
    return source.seek(0) && readDirectives(source, head, sets);
}

}  // namespace varnex
