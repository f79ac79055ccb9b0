#include "render/output/qt/text_codec.h"

#include <QStringDecoder>
#include <QTest>

namespace varnex {

class TextCodecTest : public QObject {
    Q_OBJECT

private slots:
    void shiftJisCodecIsAvailable() { QVERIFY(QStringDecoder("Shift_JIS").isValid()); }

    void convertsBothWays_data() {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const auto utf8 = static_cast<int>(CodePage::Utf8);
        const auto sjis = static_cast<int>(CodePage::ShiftJis);
        QTest::newRow("utf8 ascii") << utf8 << QByteArray("x=1.5e3") << QString("x=1.5e3");
        QTest::newRow("utf8 japanese") << utf8 << QByteArray("温度ｱ") << QString::fromUtf8("温度ｱ");
        // 温 89B7, 度 9378, half-width katakana A B1, and a trailing byte that equals '\'.
        QTest::newRow("sjis japanese") << sjis << QByteArray("\x89\xb7\x93\x78\xb1") << QString::fromUtf8("温度ｱ");
        QTest::newRow("sjis trail byte 5C") << sjis << QByteArray("\x95\x5c") << QString::fromUtf8("表");
        QTest::newRow("sjis ascii") << sjis << QByteArray("a.dat") << QString("a.dat");
    }
    void convertsBothWays() {
        QFETCH(int, codePage);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const auto page = static_cast<CodePage>(codePage);
        const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        QCOMPARE(fromCodePage(view, page), text);
        QCOMPARE(toCodePage(text, page), std::string(view));
    }

    void followsTheSystemCodePage() {
        setSystemCodePage(CodePage::ShiftJis);
        const QString text = fromCodePage("\x89\xb7");
        setSystemCodePage(CodePage::Utf8);
        QCOMPARE(text, QString::fromUtf8("温"));
        QCOMPARE(fromCodePage("温"), QString::fromUtf8("温"));
    }

    // The program's own texts are UTF-8 in the source: they read the same in a Shift-JIS process, while
    // Shift-JIS bytes that are not well-formed UTF-8 go through the Shift-JIS codec.
    void programTextsReadTheSameInShiftJis_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("message") << QByteArray("不正なデータです。") << QString::fromUtf8("不正なデータです。");
        QTest::newRow("half-width caption") << QByteArray("VarnexWin 終了ﾒｯｾｰｼﾞ") << QString::fromUtf8("VarnexWin 終了ﾒｯｾｰｼﾞ");
        QTest::newRow("sjis kana") << QByteArray("\x83\x65\x83\x58\x83\x67") << QString::fromUtf8("テスト");
        QTest::newRow("sjis half-width") << QByteArray("\xc3\xde\xb0\xc0") << QString::fromUtf8("ﾃﾞｰﾀ");
        // E8 A1 A8 would be one UTF-8 character; cut short before its last byte it is Shift-JIS.
        QTest::newRow("sjis level-2 kanji") << QByteArray("\xe8\xa1") << QString::fromUtf8("陦");
    }
    void programTextsReadTheSameInShiftJis() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(fromCodePage(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), CodePage::ShiftJis),
                 text);
    }

    void badBytesAndMissingCharactersAreReplaced() {
        QCOMPARE(fromCodePage("a\xff", CodePage::Utf8), QString("a") + QChar(0xFFFD));
        QCOMPARE(fromCodePage("a\x89", CodePage::ShiftJis).left(1), QString("a"));
        // No Shift-JIS character for the Korean syllable, the euro sign or the emoji (a surrogate pair).
        QCOMPARE(toCodePage(QString::fromUtf8("a한温€😀b"), CodePage::ShiftJis), std::string("a?\x89\xb7??b"));
    }

    // The first character toCodePage would write as '?', by its UTF-16 position.
    void firstUnencodableCharacter_data() {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");  // -1: none
        const auto utf8 = static_cast<int>(CodePage::Utf8);
        const auto sjis = static_cast<int>(CodePage::ShiftJis);
        QTest::newRow("sjis all held") << sjis << QString::fromUtf8("温度 ｱ 1.5\n") << -1;
        QTest::newRow("sjis euro after kanji") << sjis << QString::fromUtf8("温度€한") << 2;
        QTest::newRow("sjis emoji after an emoji-free line") << sjis << QString::fromUtf8("1 2\n😀") << 4;
        QTest::newRow("sjis a question mark is text") << sjis << QString("1 ? 2") << -1;
        QTest::newRow("utf8 everything") << utf8 << QString::fromUtf8("€한😀") << -1;
        QTest::newRow("utf8 lone surrogate") << utf8 << (QString("ab") + QChar(0xD800) + "c") << 2;
    }
    void firstUnencodableCharacter() {
        QFETCH(int, codePage);
        QFETCH(QString, text);
        QFETCH(int, position);
        const auto found = firstUnencodable(text, static_cast<CodePage>(codePage));
        QCOMPARE(found ? int(*found) : -1, position);
    }
};

}  // namespace varnex

QTEST_MAIN(varnex::TextCodecTest)
#include "text_codec_test.moc"
