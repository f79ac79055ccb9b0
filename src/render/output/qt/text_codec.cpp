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

// The length in UTF-16 units of the character at text[i]: 2 for a surrogate pair, else 1.
qsizetype characterLength(const QString& text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

// Calls visit(position, length, bytes) for each character of text with its Shift-JIS bytes, or with
// nothing for a character Shift-JIS lacks; stops early when visit returns false.
template <typename Visit>
void eachShiftJisCharacter(const QString& text, QStringEncoder& encoder, Visit visit) {
    QStringDecoder decoder(kShiftJisName);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = characterLength(text, i);
        const QString character = text.mid(i, length);
        QByteArray encoded = encoder.encode(character);
        const bool lacking = substituted(character, decoder.decode(encoded));
        if (!visit(i, lacking ? std::optional<QByteArray>() : std::optional<QByteArray>(std::move(encoded)))) return;
        i += length;
    }
}

// True if the whole text encodes without a substitute (the quick test before a scan by characters).
bool encodesWhole(const QString& text, QStringEncoder& encoder, QByteArray& bytes) {
    bytes = encoder.encode(text);
    QStringDecoder decoder(kShiftJisName);
    return !substituted(text, decoder.decode(bytes));
}

QByteArray toShiftJis(const QString& text) {
    QStringEncoder encoder(kShiftJisName);
    if (!encoder.isValid()) return text.toLatin1();
    QByteArray bytes;
    if (encodesWhole(text, encoder, bytes)) return bytes;
    bytes.clear();
    eachShiftJisCharacter(text, encoder, [&](qsizetype, const std::optional<QByteArray>& encoded) {
        bytes += encoded ? *encoded : QByteArray("?");
        return true;
    });
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

std::optional<qsizetype> firstUnencodable(const QString& text, CodePage codePage) {
    if (codePage == CodePage::Utf8) {
        for (qsizetype i = 0; i < text.size(); i += characterLength(text, i)) {
            if (text[i].isSurrogate() && characterLength(text, i) == 1) return i;
        }
        return std::nullopt;
    }
    QStringEncoder encoder(kShiftJisName);
    if (!encoder.isValid()) {
        // Without the codec the texts are Latin-1: a character beyond it has no byte.
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].unicode() > 0xFF) return i;
        }
        return std::nullopt;
    }
    QByteArray bytes;
    if (encodesWhole(text, encoder, bytes)) return std::nullopt;
    std::optional<qsizetype> found;
    eachShiftJisCharacter(text, encoder, [&](qsizetype i, const std::optional<QByteArray>& encoded) {
        if (!encoded) found = i;
        return encoded.has_value();
    });
    return found;
}

std::string toCodePage(const QString& text, CodePage codePage) {
    const QByteArray bytes = codePage == CodePage::Utf8 ? text.toUtf8() : toShiftJis(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace varnex
