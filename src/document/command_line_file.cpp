#include "document/command_line_file.h"

#include "util/paths.h"
#include "util/text.h"

namespace varnex {
namespace {

// "dat txt" as ".dat, .txt" for the reasons.
std::string extensionList(const std::vector<std::string>& extensions) {
    std::string list;
    for (const std::string& ext : extensions) {
        if (!list.empty()) list += ", ";
        list += "." + ext;
    }
    return list.empty() ? "none" : list;
}

}  // namespace

FileToOpen fileToOpen(std::string_view name, const std::vector<std::string>& extensions) {
    const std::string file = unquote(name);
    if (file.empty()) return {};
    for (const std::string& ext : extensions) {
        if (!ext.empty() && hasExtension(file, "." + ext)) return {file, {}};
    }
    const std::string configured = " (ext= in varnexw32.ini: " + extensionList(extensions) + ")";
    if (!hasExtension(file, ".p")) {
        return {std::nullopt, "not a data file: its extension is not a configured data-file extension" + configured};
    }
    const std::string stem = file.substr(0, file.size() - 1);  // up to and with the last '.'
    for (const std::string& ext : extensions) {
        const std::string candidate = stem + ext;
        if (!ext.empty() && fileExists(candidate)) return {candidate, {}};
    }
    return {std::nullopt, "a parameter file without its data file: no file of that name with a configured data-file "
                          "extension lies beside it" + configured};
}

}  // namespace varnex
