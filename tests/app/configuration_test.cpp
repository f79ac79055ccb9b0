// The configuration's code page: the key, its report when it names no code page, and the desktop
// applying it at start-up.
#include <QtTest>

#include "app/config/configuration.h"
#include "render/output/qt/text_codec.h"
#include "desktop_fixture.h"

namespace varnex {

using testing::DesktopFixture;

class ConfigurationTest : public QObject {
    Q_OBJECT
private slots:
    void codePageKey_data();
    void codePageKey();
    void unknownCodePageIsReportedOnce();
    void desktopAppliesTheCodePageBeforeTheFileIsRead();
};

void ConfigurationTest::codePageKey_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("shiftJis");
    QTest::addColumn<QString>("unknown");
    QTest::newRow("absent") << QByteArray("ext=dat\n") << false << QString();
    QTest::newRow("shift_jis") << QByteArray("codepage=shift_jis\n") << true << QString();
    QTest::newRow("any case, blanks around") << QByteArray("codepage=  Shift_JIS \t\n") << true << QString();
    QTest::newRow("utf-8") << QByteArray("codepage=UTF-8") << false << QString();
    QTest::newRow("anywhere in the line") << QByteArray("; codepage=shift_jis\n") << true << QString();
    QTest::newRow("comment") << QByteArray("#codepage=shift_jis\n") << false << QString();
    QTest::newRow("empty is the default") << QByteArray("codepage=\n") << false << QString();
    QTest::newRow("later line wins") << QByteArray("codepage=shift_jis\ncodepage=utf-8\n") << false << QString();
    QTest::newRow("unknown falls back") << QByteArray("codepage=shift_jis\ncodepage=euc-jp\n") << false
                                        << QString("euc-jp");
    QTest::newRow("unknown then valid") << QByteArray("codepage=sjis\ncodepage=shift_jis\n") << true << QString();
    // An earlier key of the table decides a line holding both.
    QTest::newRow("ext= decides") << QByteArray("ext=dat codepage=shift_jis\n") << false << QString();
}

void ConfigurationTest::codePageKey() {
    QFETCH(QByteArray, text);
    QFETCH(bool, shiftJis);
    QFETCH(QString, unknown);
    Configuration config;
    readConfigurationText(text.toStdString(), config);
    QCOMPARE(config.codePage == CodePage::ShiftJis, shiftJis);
    QCOMPARE(QString::fromStdString(config.unknownCodePage), unknown);
}

void ConfigurationTest::unknownCodePageIsReportedOnce() {
    DesktopFixture f;
    f.write("varnexw32.ini", "codepage=latin-1\next=dat txt\n");
    testing::RecordingMessageBoxes boxes;
    const Configuration config = readConfiguration(f.path("varnexw32"), boxes);
    QCOMPARE(config.codePage, CodePage::Utf8);
    QCOMPARE(config.extensions, (std::vector<std::string>{"dat", "txt"}));
    QCOMPARE(boxes.messages().size(), std::size_t{1});
    QCOMPARE(boxes.messages()[0].kind, std::string("inform"));
    QCOMPARE(boxes.messages()[0].text, std::string("varnexw32.ini: unknown code page \"latin-1\" (codepage= takes "
                                                   "utf-8 or shift_jis); texts are read as UTF-8."));
}

void ConfigurationTest::desktopAppliesTheCodePageBeforeTheFileIsRead() {
    struct Case {
        const char* configuration;
        CodePage codePage;
    };
    // The title 表示 (95 5C 8E A6): its first character ends in the byte of '\'.
    const std::string data = "\x95\x5c\x8e\xa6 run\n0 1\n1 2\n";
    for (const Case& c : {Case{"ext=dat\ncodepage=shift_jis\n", CodePage::ShiftJis}, Case{"ext=dat\n", CodePage::Utf8}}) {
        setSystemCodePage(c.codePage == CodePage::Utf8 ? CodePage::ShiftJis : CodePage::Utf8);
        DesktopFixture f;
        f.write("run.dat", data);
        f.start(f.path("run.dat"), c.configuration);
        QCOMPARE(systemCodePage(), c.codePage);
        QCOMPARE(f.document().data, 1);
        // The title is read with the chosen code page: Shift-JIS keeps its two characters whole.
        const bool whole = fromCodePage(f.document().vtitle.view()) == QString::fromUtf8("表示 run");
        QCOMPARE(whole, c.codePage == CodePage::ShiftJis);
    }
    setSystemCodePage(CodePage::Utf8);
}

}  // namespace varnex

QTEST_MAIN(varnex::ConfigurationTest)
#include "configuration_test.moc"
