// Files on disk for the tests of loading, child files and file watching.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "temp_folder.h"

namespace varnex::testing {

// The loader changes the current directory: each test puts it back.
class CurrentDirectoryScope {
public:
    CurrentDirectoryScope() : m_saved(std::filesystem::current_path()) {}
    ~CurrentDirectoryScope() {
        std::error_code error;
        std::filesystem::current_path(m_saved, error);
    }
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::filesystem::path m_saved;
};

// The whole file as bytes; empty if it cannot be read.
inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace varnex::testing
