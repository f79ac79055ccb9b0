#include "app/user_state.h"

#include <QStandardPaths>

namespace varnex {

QString userStatePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/varnex/state.ini";
}

std::unique_ptr<QSettings> userState() { return std::make_unique<QSettings>(userStatePath(), QSettings::IniFormat); }

}  // namespace varnex
