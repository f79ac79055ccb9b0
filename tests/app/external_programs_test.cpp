// Splitting command lines into words, and starting the editor, the tools and the help page.
#include <QtTest>

#include "app/config/command_words.h"
#include "app/config/configuration.h"
#include "app/config/external_programs.h"

namespace varnex {
namespace {

using Words = std::vector<std::string>;

struct Started {
    QString program;
    QStringList arguments;
};

// External programs that record what they would start or open.
struct Recorder {
    std::vector<Started> started;
    std::vector<QUrl> opened;
    ExternalPrograms programs{[this](const QString& p, const QStringList& a) {
                                  started.push_back({p, a});
                                  return true;
                              },
                              [this](const QUrl& url) {
                                  opened.push_back(url);
                                  return true;
                              }};
};

Configuration toolConfiguration() {
    Configuration config;
    config.tools = {{"A", "tool-a --x", 5000}, {"B", "tool-b 100%", 5001}, {"C", "tool-c", 5002}};
    return config;
}

}  // namespace

class ExternalProgramsTest : public QObject {
    Q_OBJECT
private slots:
    void splitsLikeAShell_data();
    void splitsLikeAShell();
    void incompleteLinesRunNothing_data();
    void incompleteLinesRunNothing();
    void editorGetsTheFileNameAsOneArgument_data();
    void editorGetsTheFileNameAsOneArgument();
    void noEditorOpensTheFileWithTheDesktop();
    void editorWithAnUnclosedQuoteRunsNothing();
    void toolRunsItsCommandLineAsWritten();
    void unknownToolIdRunsNothing();
    void helpOpensThePageBesideTheProgram();
};

void ExternalProgramsTest::splitsLikeAShell_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("blanks") << QString("  vi   -R\ta.dat ") << QStringList{"vi", "-R", "a.dat"};
    QTest::newRow("empty") << QString("") << QStringList{};
    QTest::newRow("only blanks") << QString(" \t ") << QStringList{};
    QTest::newRow("single quotes") << QString("ed 'a b\\c \"d\"'") << QStringList{"ed", "a b\\c \"d\""};
    QTest::newRow("double quotes") << QString("ed \"a 'b' \\\"c\\\" \\\\ \\n $x\"") << QStringList{"ed", "a 'b' \"c\" \\ \\n $x"};
    QTest::newRow("backslash outside quotes") << QString("ed a\\ b \\'c") << QStringList{"ed", "a b", "'c"};
    QTest::newRow("parts joined") << QString("ed a\"b c\"'d'") << QStringList{"ed", "ab cd"};
    QTest::newRow("empty word") << QString("ed '' \"\"") << QStringList{"ed", "", ""};
    QTest::newRow("shell characters are plain") << QString("ed a;rm x|y&z $(w) `v` %1") << QStringList{"ed", "a;rm", "x|y&z", "$(w)", "`v`", "%1"};
    QTest::newRow("line continuation") << QString("ed a\\\nb") << QStringList{"ed", "ab"};
    QTest::newRow("multibyte") << QString("ed \"データ 1.dat\"") << QStringList{"ed", "データ 1.dat"};
}

void ExternalProgramsTest::splitsLikeAShell() {
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    const auto split = splitCommandWords(line.toStdString());
    QVERIFY(split.has_value());
    QStringList got;
    for (const auto& w : *split) got << QString::fromStdString(w);
    QCOMPARE(got, words);
}

void ExternalProgramsTest::incompleteLinesRunNothing_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("unclosed single") << QString("ed 'a b");
    QTest::newRow("unclosed double") << QString("ed \"a b");
    QTest::newRow("escaped closing quote") << QString("ed \"a\\\"");
    QTest::newRow("lone backslash") << QString("ed a\\");
}

void ExternalProgramsTest::incompleteLinesRunNothing() {
    QFETCH(QString, line);
    QVERIFY(!splitCommandWords(line.toStdString()).has_value());
    Recorder r;
    QVERIFY(!r.programs.run(line.toStdString()));
    QVERIFY(r.started.empty());
}

void ExternalProgramsTest::editorGetsTheFileNameAsOneArgument_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("plain") << QString("notepad") << QString("/data/a.dat") << QString("notepad") << QStringList{"/data/a.dat"};
    QTest::newRow("blanks in the name") << QString("gedit --new-window") << QString("/my data/a b.dat") << QString("gedit")
                                        << QStringList{"--new-window", "/my data/a b.dat"};
    QTest::newRow("shell characters in the name") << QString("vi") << QString("/tmp/x;touch y $(z) 'q\".dat") << QString("vi")
                                                  << QStringList{"/tmp/x;touch y $(z) 'q\".dat"};
    QTest::newRow("quoted editor path") << QString("'/opt/my editor/ed' -n") << QString("/a.dat") << QString("/opt/my editor/ed")
                                        << QStringList{"-n", "/a.dat"};
}

void ExternalProgramsTest::editorGetsTheFileNameAsOneArgument() {
    QFETCH(QString, editor);
    QFETCH(QString, file);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    Recorder r;
    Configuration config;
    config.editor = editor.toStdString();
    QVERIFY(r.programs.editWithEditor(config, file.toStdString()));
    QCOMPARE(r.started.size(), std::size_t{1});
    QCOMPARE(r.started[0].program, program);
    QCOMPARE(r.started[0].arguments, arguments);
    QVERIFY(r.opened.empty());
}

void ExternalProgramsTest::noEditorOpensTheFileWithTheDesktop() {
    for (const char* editor : {"", "   "}) {
        Recorder r;
        Configuration config;
        config.editor = editor;
        QVERIFY(r.programs.editWithEditor(config, "/my data/a b.dat"));
        QVERIFY(r.started.empty());
        QCOMPARE(r.opened.size(), std::size_t{1});
        QCOMPARE(r.opened[0], QUrl::fromLocalFile("/my data/a b.dat"));
    }
}

void ExternalProgramsTest::editorWithAnUnclosedQuoteRunsNothing() {
    Recorder r;
    Configuration config;
    config.editor = "'vi";
    QVERIFY(!r.programs.editWithEditor(config, "/a.dat"));
    QVERIFY(r.started.empty());
    QVERIFY(r.opened.empty());
}

void ExternalProgramsTest::toolRunsItsCommandLineAsWritten() {
    Recorder r;
    const Configuration config = toolConfiguration();
    r.programs.runTool(config, 5001);
    r.programs.runTool(config, 5000);
    QCOMPARE(r.started.size(), std::size_t{2});
    QCOMPARE(r.started[0].program, QString("tool-b"));
    QCOMPARE(r.started[0].arguments, QStringList{"100%"});
    QCOMPARE(r.started[1].program, QString("tool-a"));
    QCOMPARE(r.started[1].arguments, QStringList{"--x"});
}

void ExternalProgramsTest::unknownToolIdRunsNothing() {
    Recorder r;
    Configuration config = toolConfiguration();
    for (int id : {4999, 5003, 0}) r.programs.runTool(config, id);
    // An entry with identifier 0 ends the table, as the terminating entry does.
    config.tools[1].id = 0;
    r.programs.runTool(config, 5002);
    QVERIFY(r.started.empty());
}

void ExternalProgramsTest::helpOpensThePageBesideTheProgram() {
    Recorder r;
    Configuration config;
    config.helpPath = "/opt/varnex/bin/varnexw32.html";
    r.programs.help(config);
    QCOMPARE(r.opened.size(), std::size_t{1});
    QCOMPARE(r.opened[0], QUrl::fromLocalFile("/opt/varnex/bin/varnexw32.html"));
    QVERIFY(r.started.empty());
}

}  // namespace varnex

QTEST_GUILESS_MAIN(varnex::ExternalProgramsTest)
#include "external_programs_test.moc"
