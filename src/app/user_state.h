// The per-user state of the desktop window, kept between runs in $XDG_CONFIG_HOME/varnex/state.ini
// (~/.config/... when the variable is unset): the recent files and the main window's geometry.
// The file's place is looked up on every use, so a test that points XDG_CONFIG_HOME elsewhere gets
// its own file.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace varnex {

// The state file's full name.
QString userStatePath();

// The settings object on that file (INI format).
std::unique_ptr<QSettings> userState();

}  // namespace varnex
