#include "document/sheet_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "util/codepage.h"
#include "util/paths.h"

namespace varnex {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kChunk = 64 * 1024;

// The line without trailing spaces, CR and LF. Bytes are compared directly: in UTF-8 and in Shift-JIS no
// byte of a multibyte character has the code of a space, CR or LF, so none is taken for one.
std::string_view trimLineEnd(std::string_view line) {
    const std::size_t end = line.find_last_not_of(" \r\n");
    return end == std::string_view::npos ? std::string_view{} : line.substr(0, end + 1);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

SheetTextBuilder::SheetTextBuilder(std::int64_t capacity) : m_capacity(std::max<std::int64_t>(capacity, 0)) {}

bool SheetTextBuilder::addLine(std::string_view line) {
    if (!m_result.complete) return false;
    line = trimLineEnd(line);
    std::string& text = m_result.text;
    const auto used = static_cast<std::int64_t>(text.size());
    const std::int64_t room = m_capacity - used - static_cast<std::int64_t>(kLineEnd.size());
    if (room < static_cast<std::int64_t>(line.size())) {
        // The line does not fit the sheet: only a part of it is shown, and the sheet is never saved.
        if (room > 0) text += cutToFit(line, static_cast<std::size_t>(room));
        if (room >= 0) text += kLineEnd;
        m_result.complete = false;
        return false;
    }
    text += line;
    text += kLineEnd;
    if (static_cast<std::int64_t>(text.size()) > m_capacity - kSheetReserve) m_result.complete = false;
    return m_result.complete;
}

SheetText sheetText(std::string_view bytes, std::int64_t capacity) {
    SheetTextBuilder builder(capacity);
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        if (!builder.addLine(bytes.substr(0, end))) break;
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return builder.take();
}

std::optional<SheetText> readSheetFile(const std::string& path, std::int64_t capacity) {
    if (!isRegularFile(path)) return std::nullopt;  // a FIFO would block, a device never end
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return std::nullopt;
    SheetTextBuilder builder(capacity);
    std::string pending;  // the start of a line whose end is not read yet
    std::vector<char> chunk(kChunk);
    bool reading = true;
    while (reading) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        if (got == 0) break;
        std::string_view bytes(chunk.data(), got);
        for (std::size_t end = bytes.find('\n'); end != std::string_view::npos; end = bytes.find('\n')) {
            if (pending.empty()) {
                reading = builder.addLine(bytes.substr(0, end));
            } else {
                pending.append(bytes.substr(0, end));
                reading = builder.addLine(pending);
                pending.clear();
            }
            bytes.remove_prefix(end + 1);
            if (!reading) break;
        }
        if (!reading) break;
        pending.append(bytes);
        // A line longer than the sheet can hold ends the reading: its shown part is all there is room for.
        if (static_cast<std::int64_t>(trimLineEnd(pending).size() + builder.size()) > builder.capacity()) {
            builder.addLine(pending);
            pending.clear();
            reading = false;
        }
    }
    // A read error would leave a part of the file looking like all of it, which saving would then cut.
    if (std::ferror(file.get())) return std::nullopt;
    if (!pending.empty()) builder.addLine(pending);
    return builder.take();
}

}  // namespace varnex
