#include "util/message_boxes.h"

#include <cstdarg>
#include <cstdio>

#include "util/codepage.h"

namespace varnex {

std::string fileDetail(std::string_view file, std::string_view reason) {
    std::string detail(file);
    detail += ": ";
    detail += reason;
    return detail;
}

std::string formatMessage(const char* format, ...) {
    constexpr std::size_t kBufferSize = 2048;
    char buffer[kBufferSize];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0) return {};
    const std::size_t length = static_cast<std::size_t>(written) < kBufferSize ? written : kBufferSize - 1;
    return std::string(cutToFit(std::string_view(buffer, length), kBufferSize - 1));
}

}  // namespace varnex
