// A file's size and last-write time, taken when a program reads a file that it may later write back,
// so that it can tell that another program wrote the file in between (a measurement that rewrote its
// data file, another instance that saved the parameter file).
#pragma once

#include <cstdint>
#include <string_view>

#include "util/paths.h"

namespace varnex {

struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    FileTime time = 0;  // nanoseconds, as lastWriteTime

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file path now (links followed); a missing file (or a folder) has exists false.
FileStamp fileStamp(std::string_view path);

}  // namespace varnex
