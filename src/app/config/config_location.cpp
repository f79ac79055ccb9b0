#include "app/config/config_location.h"

#include <QStandardPaths>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "render/output/qt/text_codec.h"

namespace varnex {
namespace {

namespace fs = std::filesystem;

#ifndef VARNEX_SHARE_FROM_BIN
#define VARNEX_SHARE_FROM_BIN "../share/varnex"
#endif
// The share folder of an installed program, relative to the folder that holds the program.
constexpr const char* kShareFromProgramFolder = VARNEX_SHARE_FROM_BIN;
constexpr const char* kIniName = "varnexw32.ini";
constexpr const char* kHelpName = "varnexw32.html";

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool writableFile(const fs::path& path) { return isFile(path) && ::access(path.c_str(), W_OK) == 0; }

}  // namespace

ConfigurationPlace locateConfiguration(const std::string& programPath, const std::string& configHome) {
    const fs::path folder = fs::path(programPath).parent_path();
    const fs::path share = (folder / kShareFromProgramFolder).lexically_normal();
    ConfigurationPlace place;
    const fs::path besideHelp = folder / kHelpName;
    const fs::path installedHelp = share / kHelpName;
    place.helpPath = (!isFile(besideHelp) && isFile(installedHelp) ? installedHelp : besideHelp).string();
    const fs::path beside = folder / kIniName;
    if (writableFile(beside)) {
        place.configurationPath = beside.string();
        return place;
    }
    place.perUser = true;
    place.configurationPath = (fs::path(configHome) / "varnex" / kIniName).string();
    place.defaultPath = (share / kIniName).string();
    return place;
}

std::string userConfigHome() {
    return toCodePage(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

std::string prepareConfiguration(ConfigurationPlace& place) {
    if (!place.perUser || isFile(place.configurationPath)) return {};
    if (!isFile(place.defaultPath)) return {};  // the missing file is reported as for any other place
    const fs::path target(place.configurationPath);
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (!error) fs::copy_file(place.defaultPath, target, fs::copy_options::skip_existing, error);
    if (!error) {
        // A copy of a read-only installed file would stay read-only; the user's own copy is for editing.
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
        return "created the configuration file " + place.configurationPath + " from " + place.defaultPath;
    }
    std::string note = "cannot create the configuration file " + place.configurationPath + " (" +
                       error.message() + "); reading " + place.defaultPath;
    place.configurationPath = place.defaultPath;
    return note;
}

}  // namespace varnex
