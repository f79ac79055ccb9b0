#include "document/parameter_file.h"

#include <filesystem>
#include <system_error>

#include "util/codepage.h"

namespace varnex {
namespace {

bool isRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

// dataPath with the text from its last '.' replaced by extension.
std::string withExtension(std::string_view dataPath, std::string_view extension) {
    const std::size_t dot = findLastChar(dataPath, '.');
    std::string name(dataPath.substr(0, dot));  // npos keeps the whole path
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
