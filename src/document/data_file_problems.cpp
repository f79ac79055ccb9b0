#include "document/data_file_problems.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "util/paths.h"

namespace varnex {
namespace {

constexpr std::size_t kHeadBytes = 64 * 1024;

struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// UTF-16 puts a NUL beside every ASCII character: NULs fill one of the two byte positions.
bool looksLikeUtf16(std::string_view head) {
    std::size_t even = 0;
    std::size_t odd = 0;
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (head[i] == '\0') ++(i % 2 == 0 ? even : odd);
    }
    return head.size() >= 2 && std::max(even, odd) * 4 >= head.size();  // at least half of the pairs
}

}  // namespace

std::string noDataReason(std::string_view head, bool wholeFile) {
    if (head.empty() && wholeFile) return "an empty file";
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF") || looksLikeUtf16(head)) {
        return "UTF-16 text, which is not read (save the file as UTF-8)";
    }
    if (head.find('\0') != std::string_view::npos) return "binary data (NUL bytes), not text";
    if (head.find('\r') != std::string_view::npos && head.find('\n') == std::string_view::npos) {
        return "lines end with CR alone (convert the line ends to LF)";
    }
    return "no numbers: no line with an x value and at least one y value";
}

std::string dataFileProblem(const std::string& path) {
    if (std::optional<std::string> problem = readProblem(path)) return *problem;
    const std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) return "cannot be opened";
    std::string head(kHeadBytes, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), file.get()));
    return noDataReason(head, head.size() < kHeadBytes);
}

}  // namespace varnex
