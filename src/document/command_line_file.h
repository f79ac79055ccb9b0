// What a file name given to the program opens: the command line of the desktop and of batch mode, a
// file dropped on the window, a file of a pasted file list. One rule for all, so batch mode opens
// exactly what the desktop opens.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnex {

// The main text of the message about a name that opens nothing; the detail says why.
inline constexpr std::string_view kNotOpenedText = "The file is not opened.";

struct FileToOpen {
    std::optional<std::string> path;  // the data file to open
    std::string reason;               // why nothing opens, for the detail "NAME: reason"; empty with a path
};

// name with surrounding double quotes removed (util/text.h unquote) opens:
//   itself, when it ends with "." and one of `extensions` (the configuration's "ext=", without dots;
//     ASCII letters in any case);
//   for a ".p" name (any case, the name of a parameter file), the first existing file that has its
//     extension replaced by one of `extensions`, in their order;
//   nothing otherwise, with the reason. An empty name opens nothing and has no reason (a command line
//     without a file).
FileToOpen fileToOpen(std::string_view name, const std::vector<std::string>& extensions);

}  // namespace varnex
