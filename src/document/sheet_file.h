// The text the data sheet shows for a file: the file read line by line, each line without its trailing
// blanks, carriage returns and line feeds and followed by "\r\n". A last line without a line end counts
// too; a line is kept whole however long it is, so it comes back as one line when the sheet is saved.
//
// The sheet holds at most `capacity` bytes (limittext × 1000). Reading stops after the first line that
// takes the text past capacity − 256 bytes: that line stays, and the text is incomplete (the sheet marks
// it and never saves it). A line too long for the capacity is cut at a character boundary at the
// capacity; the text is then incomplete as well. So no text is ever longer than the capacity, and the
// file is read no further than the sheet needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnex {

// Bytes kept free below the capacity: the text is complete only while it holds at most capacity − 256.
inline constexpr std::int64_t kSheetReserve = 256;

struct SheetText {
    std::string text;       // bytes in the code page, every line followed by "\r\n"
    bool complete = true;   // false when reading stopped at the size limit
};

// Builds a SheetText from lines fed one at a time.
class SheetTextBuilder {
public:
    // capacity in bytes; negative values count as 0.
    explicit SheetTextBuilder(std::int64_t capacity);

    // Adds one line (its '\n' already removed); false once the text is incomplete and reading stops.
    bool addLine(std::string_view line);

    // The text so far, moved out.
    SheetText take() { return std::move(m_result); }
    std::int64_t capacity() const { return m_capacity; }
    std::size_t size() const { return m_result.text.size(); }

private:
    std::int64_t m_capacity;
    SheetText m_result;
};

// The sheet text of a file's bytes.
SheetText sheetText(std::string_view bytes, std::int64_t capacity);

// Reads the file into a sheet text; nullopt when it is not a regular file or cannot be opened or read.
std::optional<SheetText> readSheetFile(const std::string& path, std::int64_t capacity);

}  // namespace varnex
