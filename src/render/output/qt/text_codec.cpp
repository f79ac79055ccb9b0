#include "render/output/qt/text_codec.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

namespace varnex {
namespace {

// Qt names Shift-JIS through ICU; a Qt built without ICU has no such codec, and the texts are then
// read as Latin-1, which keeps every ASCII byte (digits, names, separators) as it is and maps each
// other byte to one character, so nothing is lost on the way back.
constexpr const char* kShiftJisName = "Shift_JIS";

QByteArray bytesOf(std::string_view bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QString fromCodePage(std::string_view bytes, CodePage codePage) {
    if (codePage == CodePage::Utf8) return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder decoder(kShiftJisName);
    if (!decoder.isValid()) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return decoder.decode(bytesOf(bytes));
}

std::string toCodePage(const QString& text, CodePage codePage) {
    QByteArray bytes;
    if (codePage == CodePage::Utf8) {
        bytes = text.toUtf8();
    } else {
        QStringEncoder encoder(kShiftJisName);
        bytes = encoder.isValid() ? QByteArray(encoder.encode(text)) : text.toLatin1();
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace varnex
