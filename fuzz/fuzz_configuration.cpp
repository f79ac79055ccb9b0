// libFuzzer target: the configuration reader on arbitrary text. Whatever the lines, the record keeps its
// limits: at most 16 tools numbered from 5000, fields within their sizes, a non-empty extension list
// with its matching filter, and a code page that falls back to UTF-8 when the name is unknown.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/config/configuration.h"

namespace {

using namespace varnex;

void require(bool condition) {
    if (!condition) std::abort();
}

void checkRecord(const Configuration& config) {
    require(config.tools.size() <= static_cast<std::size_t>(Configuration::kMaxTools));
    for (std::size_t i = 0; i < config.tools.size(); ++i) {
        const UserTool& tool = config.tools[i];
        require(tool.id == Configuration::kFirstToolId + static_cast<int>(i));
        require(tool.menuText.size() < 256 && tool.commandLine.size() < 256);
    }
    const int lastId = Configuration::kFirstToolId + static_cast<int>(config.tools.size()) - 1;
    for (int id = Configuration::kFirstToolId - 1; id <= Configuration::kFirstToolId + Configuration::kMaxTools; ++id) {
        require(config.isTool(id) == (id >= Configuration::kFirstToolId && id <= lastId));
    }
    require(config.editor.size() < 264);

    require(!config.extensions.empty());
    require(config.extensions.size() <= static_cast<std::size_t>(Configuration::kMaxExtensions));
    for (const std::string& ext : config.extensions) require(!ext.empty() && ext.find(' ') == std::string::npos);
    require(config.filter == buildFilter(config.extensions));

    require(config.codePage == CodePage::Utf8 || config.codePage == CodePage::ShiftJis);
    require(config.unknownCodePage.empty() || config.codePage == CodePage::Utf8);
    require(config.unknownCodePage.size() < 256);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The first byte chooses the code page the lines are read in.
    if (!text.empty()) setSystemCodePage((text[0] & 1) ? CodePage::ShiftJis : CodePage::Utf8);

    Configuration config;
    readConfigurationText(text, config);
    checkRecord(config);
    return 0;
}
