// Where the configuration file and the help page are: beside the program when it runs from its build
// folder, in the per-user configuration folder and the installed share folder when it is installed.
//
// The rule: a writable varnexw32.ini beside the program is the configuration (the build folder, or a
// copy the user keeps with the program). Otherwise the program counts as installed: its configuration
// is $XDG_CONFIG_HOME/varnex/varnexw32.ini (~/.config/... when the variable is unset), created on first
// use as a copy of the installed default share/varnex/varnexw32.ini, and nothing is ever written
// beside the program. The help page is the installed one when there is none beside the program, else
// (also when neither exists) the one beside it. The share folder is found relative to the program's
// folder (bin/../share/varnex for the install rules' folders), so an installed tree may move.
#pragma once

#include <string>

namespace varnex {

struct ConfigurationPlace {
    std::string configurationPath;  // the file to read (and for Edit Ini File to open)
    std::string helpPath;           // the help page
    std::string defaultPath;        // the installed default the per-user file is made from; empty beside
    bool perUser = false;           // the per-user file of an installed program
};

// Chooses the place for the program at programPath (a full path in the code page); userConfigHome is the
// per-user configuration folder ($XDG_CONFIG_HOME or ~/.config). Looks at the file system, changes nothing.
ConfigurationPlace locateConfiguration(const std::string& programPath, const std::string& userConfigHome);

// The per-user configuration folder as the desktop defines it (QStandardPaths' generic config location).
std::string userConfigHome();

// For a per-user place whose file does not exist yet: creates its folder and copies the installed
// default there. Returns a note for the user: what was created, or why it could not be (the program
// then reads the installed default itself, and place.configurationPath names it). Empty when there was
// nothing to do.
std::string prepareConfiguration(ConfigurationPlace& place);

}  // namespace varnex
