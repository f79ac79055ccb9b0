// Writing the View list to the parameter file (the format: document/parameter_file.h).
//
// The file is replaced whole and never lost: the new text goes to a temporary file in the same
// folder, which is flushed to disk and closed, every step checked, and only then renamed over the
// old file. On any failure the temporary file is removed and the old file stays as it was. Failures
// are reported to the caller only; the user is not told (a parameter file that cannot be written is
// silently not written).
#pragma once

#include <string>
#include <string_view>

#include "util/file_replace.h"  // replaceFileContents, which writes the file

namespace varnex {

class ViewList;

enum class WriteResult {
    Written,
    NothingToWrite,  // the current view has no data (or no main file): no file was touched
    Failed,          // the file could not be written; an existing one is unchanged
};

// The text of the parameter file for views: "view=" with the current view's position, then every
// view's section, CR LF line ends. Names of appended files are written relative to the current
// view's main file (name 0) with '\' separators, or absolute when they have no relative name (another
// drive). Text values are cut at a line end (it would start a new line in the file) and to the
// 255-byte lines that readers take (a 255-byte title keeps 248 bytes after "vtitle=").
// Empty when the current view has no data or no main file.
std::string formatParameters(const ViewList& views);

// Writes formatParameters(views) to parameterFileName of the current view's main file.
WriteResult writeParameters(const ViewList& views);

}  // namespace varnex
