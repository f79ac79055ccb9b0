// Files on disk for the tests of loading, child files and file watching.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace varnex::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() /
                 ("varnex_load_" + std::to_string(random()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return m_path.lexically_normal().string(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }

    // Writes bytes to the file `name` (folders are created) and returns its full name.
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string full = file(name);
        std::filesystem::create_directories(std::filesystem::path(full).parent_path());
        std::ofstream(full, std::ios::binary) << bytes;
        return full;
    }

private:
    std::filesystem::path m_path;
};

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
