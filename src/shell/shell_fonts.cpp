#include "shell/shell_fonts.h"

#include <QFontDatabase>

namespace varnex {

QString shellFontFamily(const QStringList& installedFamilies) {
    for (const char* face : {"Terminal", "System"}) {
        if (installedFamilies.contains(QString::fromLatin1(face), Qt::CaseInsensitive)) return QString::fromLatin1(face);
    }
    return {};
}

QFont shellFont() {
    const QString family = shellFontFamily(QFontDatabase::families());
    QFont font = family.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(family);
    font.setPixelSize(kShellFontPixels);
    return font;
}

}  // namespace varnex
