#include "document/parameter_file.h"

#include "util/codepage.h"
#include "util/paths.h"

namespace varnex {
namespace {

// dataPath with the extension of its file name (the text from the last '.' of the base name) replaced
// by extension; a base name without '.' gets extension appended. A '.' in a folder name never counts.
std::string withExtension(std::string_view dataPath, std::string_view extension) {
    const std::size_t baseStart = dataPath.size() - baseName(dataPath).size();
    const std::size_t dot = findLastChar(dataPath.substr(baseStart), '.');
    std::string name(dataPath.substr(0, dot == std::string_view::npos ? dataPath.size() : baseStart + dot));
    name += extension;
    return name;
}

}  // namespace

std::string parameterFileName(std::string_view dataPath) {
    return withExtension(dataPath, ".P");
}

std::optional<std::string> findParameterFile(std::string_view dataPath) {
    for (const std::string_view extension : {".P", ".p"}) {
        std::string name = withExtension(dataPath, extension);
        if (isRegularFile(name)) return name;
    }
    return std::nullopt;
}

}  // namespace varnex
