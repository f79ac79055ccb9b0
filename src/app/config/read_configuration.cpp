// Finding and reading the program's configuration file. Apart from configuration.cpp, which reads
// the lines and stays free of Qt, because the place of the file depends on the desktop's folders.
#include <iostream>

#include "app/config/config_location.h"
#include "app/config/configuration.h"
#include "util/message_boxes.h"

namespace varnex {

Configuration readConfiguration(const std::string& programPath, MessageBoxes& messages) {
    Configuration config;
    config.programPath = programPath;
    ConfigurationPlace place = locateConfiguration(programPath, userConfigHome());
    if (const std::string note = prepareConfiguration(place); !note.empty()) std::cerr << "varnexw32: " << note << '\n';
    config.configurationPath = place.configurationPath;
    config.helpPath = place.helpPath;
    if (!readConfigurationFile(config.configurationPath, config)) {
        messages.fatal("varnexw32.ini ファイルがありません。");
        return config;
    }
    if (!config.unknownCodePage.empty()) {
        messages.inform(kCaption, formatMessage("varnexw32.ini: unknown code page \"%s\" (codepage= takes utf-8 or "
                                                "shift_jis); texts are read as UTF-8.",
                                                config.unknownCodePage.c_str()));
    }
    return config;
}

}  // namespace varnex
