#include "util/file_stamp.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace varnex {

FileStamp fileStamp(std::string_view path) {
    namespace fs = std::filesystem;
    const fs::path file{std::string(path)};
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return {};
    FileStamp stamp;
    stamp.size = fs::file_size(file, error);
    if (error) return {};
    stamp.exists = true;
    stamp.time = lastWriteTime(path);
    return stamp;
}

}  // namespace varnex
