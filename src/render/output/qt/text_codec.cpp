#include "render/output/qt/text_codec.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <optional>

namespace varnex {
namespace {

// Qt names Shift-JIS through ICU; a Qt built without ICU has no such codec, and the texts are then
// read as Latin-1, which keeps every ASCII byte (digits, names, separators) as it is and maps each
// other byte to one character, so nothing is lost on the way back.
constexpr const char* kShiftJisName = "Shift_JIS";

QByteArray bytesOf(std::string_view bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The codec writes its own substitute (FC FC, a user-defined character that reads back as U+FFFD) for
// a character Shift-JIS lacks; such characters are written as '?' instead. Best-fit mappings the codec
// knows (a wave dash to the full-width tilde) are kept.
bool substituted(const QString& original, const QString& decoded) {
    return decoded.count(QChar::ReplacementCharacter) > original.count(QChar::ReplacementCharacter);
}

QByteArray toShiftJis(const QString& text) {
    QStringEncoder encoder(kShiftJisName);
    if (!encoder.isValid()) return text.toLatin1();
    QByteArray bytes = encoder.encode(text);
    QStringDecoder decoder(kShiftJisName);
    if (!substituted(text, decoder.decode(bytes))) return bytes;
    bytes.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        const QByteArray encoded = encoder.encode(character);
        bytes += substituted(character, decoder.decode(encoded)) ? QByteArray("?") : encoded;
        i += length;
    }
    return bytes;
}

// The program's own texts (captions, messages, status texts) are UTF-8 in the source, whatever the code
// page. In Shift-JIS such a text is recognised as well-formed UTF-8 holding a character beyond ASCII:
// Shift-JIS text almost never is, since its kana lead bytes 0x82 and 0x83, its first kanji lead bytes
// 0x88 to 0x9F and its half-width katakana are all bytes that cannot begin a UTF-8 character.
std::optional<QString> programText(std::string_view bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return std::nullopt;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytesOf(bytes));
    if (utf8.hasError()) return std::nullopt;
    return text;
}

}  // namespace

QString fromCodePage(std::string_view bytes, CodePage codePage) {
    if (codePage == CodePage::Utf8) return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (auto text = programText(bytes)) return *text;
    QStringDecoder decoder(kShiftJisName);
    if (!decoder.isValid()) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return decoder.decode(bytesOf(bytes));
}

std::string toCodePage(const QString& text, CodePage codePage) {
    const QByteArray bytes = codePage == CodePage::Utf8 ? text.toUtf8() : toShiftJis(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace varnex
