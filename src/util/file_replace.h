// Replacing a file's contents without ever losing the old file: the new bytes go to a temporary file in
// the same folder, which is flushed to disk and closed, every step checked, and only then renamed over
// the old file. On any failure the temporary file is removed and the old file stays as it was. Used for
// the parameter file and for the data file written back by the data sheet.
#pragma once

#include <string>
#include <string_view>

namespace varnex {

// Replaces the contents of the file `path` with bytes. A symbolic link keeps pointing at its file,
// which is replaced. A new file gets the usual permissions (0666 less the umask), a replaced one keeps
// its permission bits. An existing file that the process may not write is refused (as opening it for
// writing would be). A folder in which no file can be created (read-only, missing) fails. True when the
// new contents are in place; false with nothing changed otherwise.
bool replaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace varnex
