#include "util/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace varnex {
namespace {

namespace fs = std::filesystem;

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Creates a new file beside target for writing; -1 on failure. name receives its name. When target's
// name is too long to take the suffix, the temporary file gets a short name in the same folder.
int createTemporary(const std::string& target, std::string& name) {
    static unsigned counter = 0;
    bool shortName = false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string suffix = ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        name = shortName ? (fs::path(target).parent_path() / ("~varnex" + suffix)).string() : target + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == ENAMETOOLONG && !shortName) {
            shortName = true;
            continue;
        }
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

bool replaceFileContents(const std::string& path, std::string_view bytes) {
    std::string target = path;
    std::error_code error;
    if (fs::is_symlink(fs::path(path), error)) {
        const fs::path resolved = fs::canonical(fs::path(path), error);
        if (!error) target = resolved.string();
    }
    struct stat old {};
    const bool hadOld = ::stat(target.c_str(), &old) == 0;
    if (hadOld && ::access(target.c_str(), W_OK) != 0) return false;

    std::string temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes);
    if (ok && hadOld)
        (void)::fchmod(fd, old.st_mode & 07777);  // best effort: the default permissions will do
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace varnex
