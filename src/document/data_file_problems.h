// Why a data file gave no data sets, in a few words for the detail of the invalid-data message
// ("FILE: reason", util/message_boxes.h fileDetail).
//
// The reader (document/data_file_reader.h) only counts the sets it found; these look at the file
// afterwards to name the likely cause: a name that is not a readable regular file (util/paths.h
// readProblem), an empty file, UTF-16 or binary bytes, lines that end with CR alone, or text without a
// line of numbers.
#pragma once

#include <string>
#include <string_view>

namespace varnex {

// The reason for a file whose first bytes are head (all of it when wholeFile) and in which the reader
// found no set.
std::string noDataReason(std::string_view head, bool wholeFile);

// Why path gave no set: readProblem(path), or else noDataReason of its first 64 KiB.
std::string dataFileProblem(const std::string& path);

}  // namespace varnex
