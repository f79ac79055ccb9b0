// Making a folder read-only for the tests of writes that must fail, also for a process that passes
// over permissions (root).
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace varnex::testing {

// Sets or clears the immutable flag of a folder (which holds even for root); false if that fails.
inline bool setImmutable(const std::string& folder, bool on) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}

// Makes a folder read-only for this process, or writable again: its permissions, and for a process
// that passes over permissions (root) also the immutable flag. True if no file can be created in it.
inline bool setReadOnly(const std::string& folder, bool readOnly) {
    std::error_code error;
    if (!readOnly) setImmutable(folder, false);
    std::filesystem::permissions(folder, std::filesystem::perms(readOnly ? 0555 : 0755), error);
    if (readOnly && ::access(folder.c_str(), W_OK) == 0) setImmutable(folder, true);
    const std::string probe = folder + "/probe";
    const int created = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (created < 0) return true;
    ::close(created);
    ::unlink(probe.c_str());
    return false;
}

}  // namespace varnex::testing
