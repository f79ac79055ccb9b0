// Batch mode run in-process: the JSON of --info, exit codes and messages.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/batch/batch.h"

using varnex::runBatch;

namespace {

struct Run {
    int code = -1;
    std::string out;
    std::string err;
    QJsonObject json() const { return QJsonDocument::fromJson(QByteArray::fromStdString(out)).object(); }
};

std::string data(const char* name) { return std::string(VARNEX_TEST_DATA) + "/batch/" + name; }

// A stream whose every write fails, as writing to a full disk does.
class FullDevice : public std::streambuf {
protected:
    int overflow(int) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

}  // namespace

class BatchTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::string m_program;
    std::vector<std::unique_ptr<QTemporaryDir>> m_programDirs;

    // A program path whose folder holds a configuration file with the given text.
    std::string programWithConfiguration(const char* text) {
        m_programDirs.push_back(std::make_unique<QTemporaryDir>());
        const QTemporaryDir& dir = *m_programDirs.back();
        std::ofstream(dir.filePath("varnexw32.ini").toStdString()) << text;
        return dir.filePath("varnexw32").toStdString();
    }

    Run run(const std::vector<std::string>& args, const std::string& program = {}) {
        std::ostringstream out;
        std::ostringstream err;
        Run r;
        const auto code = runBatch(args, program.empty() ? m_program : program, out, err);
        r.code = code ? *code : -1;
        r.out = out.str();
        r.err = err.str();
        return r;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_program = m_dir.filePath("varnexw32").toStdString();
        std::ofstream ini(m_dir.filePath("varnexw32.ini").toStdString());
        ini << "print width=12\nwidth graph=0.25\nwidth frame=0.5\nmarker size=2\next=dat txt\n";
    }

    void infoOfTheWorkedExample() {
        const Run r = run({"--info", data("worked.dat")});
        QCOMPARE(r.code, 0);
        QCOMPARE(QString::fromStdString(r.err), QString());
        const QJsonObject doc = r.json();
        const QStringList keys = doc.keys();
        QVERIFY(r.out.find("{\"files\":[") == 0);
        QCOMPARE(doc["vtitle"].toString(), QString("Run 12"));
        QCOMPARE(doc["files"].toArray().size(), 1);
        QVERIFY(doc["files"].toArray()[0].toString().endsWith("/batch/worked.dat"));
        QCOMPARE(doc["printw"].toDouble(), 12.0);
        QCOMPARE(doc["graphwidth"].toDouble(), 0.25);
        QCOMPARE(doc["framewidth"].toDouble(), 0.5);
        QCOMPARE(doc["view"].toInt(), 1);
        QCOMPARE(doc["views"].toInt(), 1);
        const QJsonArray sets = doc["sets"].toArray();
        QCOMPARE(sets.size(), 3);
        struct Expected {
            const char* title;
            int count, interp, marker, shape, errorbar, datapos, titlepos;
        };
        const Expected expected[] = {
            {"temperature", 3, 1, 0, 0, 0, 20, 8},  // its last paragraph
            {"Run 12", 3, 1, 0, 0, 0, 20, 0},
            {"second", 2, 0, 3, 3, 1, 74, 67},
        };
        for (int i = 0; i < 3; ++i) {
            const QJsonObject set = sets[i].toObject();
            const Expected& e = expected[i];
            QCOMPARE(set["title"].toString(), QString(e.title));
            QCOMPARE(set["count"].toInt(), e.count);
            QCOMPARE(set["interp"].toInt(), e.interp);
            QCOMPARE(set["marker"].toInt(), e.marker);
            QCOMPARE(set["shape"].toInt(), e.shape);
            QCOMPARE(set["errorbar"].toInt(), e.errorbar);
            QCOMPARE(set["ascending"].toInt(), 1);
            QCOMPARE(set["datapos"].toInt(), e.datapos);
            QCOMPARE(set["titlepos"].toInt(), e.titlepos);
            QVERIFY(!set.contains("x"));
        }
        // Automatic limits: 5 % margins around the extents 0..2 and 1..6.
        QCOMPARE(doc["dataxmax"].toDouble(), 2.0);
        QCOMPARE(doc["xmin"].toDouble(), -0.1);
        QCOMPARE(doc["ymax"].toDouble(), 6.25);
    }

    void pointsAreExact() {
        const Run r = run({"--info", "--points", data("worked.dat")});
        QCOMPARE(r.code, 0);
        const QJsonObject set = r.json()["sets"].toArray()[1].toObject();
        QCOMPARE(set["x"].toArray(), QJsonArray({0, 1, 2}));
        QCOMPARE(set["y"].toArray(), QJsonArray({2.0, 2.5, 3.0}));
        QVERIFY(r.out.find("\"y\":[2,2.5,3]") != std::string::npos);
    }

    // The parameter file gives the appended files, the current view's settings and the View list.
    void parameterFileWithViewsAndAppendedFiles() {
        const Run r = run({"--info", data("views/main.dat")});
        QCOMPARE(r.code, 0);
        QCOMPARE(QString::fromStdString(r.err), QString());
        const QJsonObject doc = r.json();
        const QJsonArray files = doc["files"].toArray();
        QCOMPARE(files.size(), 3);
        QVERIFY(files[0].toString().endsWith("/batch/views/main.dat"));
        QVERIFY(files[1].toString().endsWith("/batch/views/extra1.dat"));
        QVERIFY(files[2].toString().endsWith("/batch/views/sub/extra2.dat"));
        QCOMPARE(doc["filesets"].toArray(), QJsonArray({1, 3}));
        QCOMPARE(doc["view"].toInt(), 2);
        QCOMPARE(doc["views"].toInt(), 2);
        QCOMPARE(doc["vtitle"].toString(), QString("Detail"));
        QCOMPARE(doc["xtitle"].toString(), QString("Time"));
        QCOMPARE(doc["xsize"].toInt(), 80);
        QCOMPARE(doc["xmax"].toDouble(), 3.0);
        QCOMPARE(doc["printw"].toDouble(), 12.0);
        QCOMPARE(doc["dataymax"].toDouble(), 6.0);
        const QJsonArray sets = doc["sets"].toArray();
        QCOMPARE(sets.size(), 6);
        struct Expected {
            const char* title;
            int interp, linetype, marker, shape;
        };
        const Expected expected[] = {
            {"main", 2, 0, 0, 0},
            {nullptr, 1, 1, 0, 0},
            {"[extra1.dat] first extra", 0, 0, 1, 1},
            {"[sub/extra2.dat] second extra", 1, 2, 0, 0},
            {"[sub/extra2.dat] second extra", 1, 3, 1, 2},
            {"[sub/extra2.dat] second extra", 1, 4, 0, 3},
        };
        for (int i = 0; i < 6; ++i) {
            const QJsonObject set = sets[i].toObject();
            const Expected& e = expected[i];
            if (e.title) QCOMPARE(set["title"].toString(), QString(e.title));
            QCOMPARE(set["interp"].toInt(), e.interp);
            QCOMPARE(set["linetype"].toInt(), e.linetype);
            QCOMPARE(set["marker"].toInt(), e.marker);
            QCOMPARE(set["shape"].toInt(), e.shape);
        }
    }

    void directivesApplyWithoutParameterFile() {
        const Run r = run({"--info", data("directives.dat")});
        QCOMPARE(r.code, 0);
        const QJsonObject doc = r.json();
        QCOMPARE(doc["xtype"].toInt(), 1);
        QCOMPARE(doc["ytype"].toInt(), 1);
        QCOMPARE(doc["xmin"].toDouble(), 1.0);
        QCOMPARE(doc["ymax"].toDouble(), 100000.0);
        const QJsonObject set = doc["sets"].toArray()[0].toObject();
        QCOMPARE(set["interp"].toInt(), 2);
        QCOMPARE(set["marker"].toInt(), 1);
    }

    void invalidDataIsExitOne() {
        const Run r = run({"--info", data("nodata.dat")});
        QCOMPARE(r.code, 1);
        QCOMPARE(QString::fromStdString(r.err),
                 QString::fromStdString("VarnexWin32 3.26c Error: 不正なデータです。\n" + data("nodata.dat") +
                                        ": no numbers: no line with an x value and at least one y value\n"));
        QVERIFY(r.out.empty());
        // The second line names the file and the reason.
        QTemporaryDir dir;
        std::ofstream(dir.filePath("empty.dat").toStdString()) << "";
        std::ofstream(dir.filePath("mac.dat").toStdString()) << "t\r1 2\r3 4\r";
        QVERIFY(QDir(dir.path()).mkdir("folder.dat"));
        const std::string folder = dir.path().toStdString();
        const struct {
            std::string file, reason;
        } cases[] = {
            {data("missing.dat"), "no such file"},
            {folder + "/folder.dat", "a folder, not a file"},
            {folder + "/empty.dat", "an empty file"},
            {folder + "/mac.dat", "lines end with CR alone (convert the line ends to LF)"},
        };
        for (const auto& c : cases) {
            const Run bad = run({"--info", c.file});
            QCOMPARE(bad.code, 1);
            QCOMPARE(QString::fromStdString(bad.err),
                     QString::fromStdString("VarnexWin32 3.26c Error: 不正なデータです。\n" + c.file + ": " + c.reason + "\n"));
        }
    }

    void wrongUsageIsExitTwo() {
        const std::string f = data("worked.dat");
        const std::vector<std::vector<std::string>> cases{
            {"--info"},                                   // no FILE
            {"--info", "--points"},                       //
            {"--info", "a", "b"},                         // two FILEs
            {"--bogus", "x"},                             // unknown option
            {"--info", f, "-x"},                          // single-dash word
            {"--export", "out.png"},                      // OUT but no FILE
            {"--info", "--export", "out.png", f},         // two commands
            {"--points", f},                              // no command
            {"--info", f, "--info"},                      // an option twice
            {"--info", f, "--size", "5"},                 // --size without --export
            {"--dump-picture", f, "--points"},            // --points without --info
            {"--info", f, "--view"},                      // missing value
            {"--info", f, "--view", "0"},                 // views count from 1
            {"--info", f, "--view", "two"},               //
            {"--info", f, "--codepage", "latin-1"},       // unknown code page
        };
        for (const auto& args : cases) {
            const Run r = run(args);
            QCOMPARE(r.code, 2);
            QVERIFY2(r.err.find("varnexw32: ") == 0, r.err.c_str());
            QVERIFY(r.err.find("\nusage: varnexw32 ") != std::string::npos);
            QVERIFY(r.out.empty());
        }
    }

    // Options may come in any order: each form gives what its documented order gives.
    void optionsComeInAnyOrder() {
        QTemporaryDir out;
        const std::string f = data("worked.dat");
        const std::string png = out.filePath("g.png").toStdString();
        struct Case {
            std::vector<std::string> documented;
            std::vector<std::string> reordered;
        };
        const Case cases[] = {
            {{"--info", "--points", f}, {f, "--points", "--info"}},
            {{"--info", "--points", f}, {"--points", f, "--info"}},
            {{"--dump-picture", f}, {f, "--dump-picture"}},
            {{"--info", f}, {"--info", "--", f}},
        };
        for (const Case& c : cases) {
            const Run expected = run(c.documented);
            const Run r = run(c.reordered);
            QCOMPARE(expected.code, 0);
            QCOMPARE(r.code, 0);
            QVERIFY(r.out == expected.out);
        }
        const std::vector<std::vector<std::string>> exports{
            {"--export", png, f, "--size", "300"},
            {"--export", png, "--size", "300", f},
            {"--size", "300", f, "--export", png},
            {"--size=300", "--export=" + png, f},
        };
        for (const auto& args : exports) {
            QFile::remove(QString::fromStdString(png));
            QCOMPARE(run(args).code, 0);
            QCOMPARE(QImage(QString::fromStdString(png)).size(), QSize(300, 300));
        }
    }

    void helpAndVersionNeedNothingElse() {
        struct Case {
            std::vector<std::string> args;
            const char* begins;
        };
        const Case cases[] = {
            {{"--help"}, "usage: varnexw32 --info [--points] FILE | --export OUT FILE [--size N] | --dump-picture FILE\n"},
            {{"--info", data("worked.dat"), "--help"}, "usage: varnexw32 "},
            {{"--version"}, "VarnexWin32 3.26c\n"},
        };
        for (const Case& c : cases) {
            const Run r = run(c.args);
            QCOMPARE(r.code, 0);
            QVERIFY2(r.out.find(c.begins) == 0, r.out.c_str());
            QVERIFY(r.err.empty());
        }
        const std::string help = run({"--help"}).out;
        for (const char* option : {"--info", "--points", "--export OUT", "--size N", "--dump-picture", "--view N",
                                   "--codepage NAME", "--help", "--version"}) {
            QVERIFY2(help.find(std::string("\n  ") + option + " ") != std::string::npos, option);
        }
    }

    // --view N draws view N of the parameter file with that view's own files.
    void viewChoosesTheViewOfTheParameterFile() {
        struct Case {
            std::vector<std::string> extra;
            int view;
            const char* vtitle;
            int files;
            int sets;
        };
        const Case cases[] = {
            {{}, 2, "Detail", 3, 6},  // the view the parameter file names as current
            {{"--view", "1"}, 1, "Overview", 2, 3},
            {{"--view", "2"}, 2, "Detail", 3, 6},
        };
        for (const Case& c : cases) {
            std::vector<std::string> args{"--info", data("views/main.dat")};
            args.insert(args.end(), c.extra.begin(), c.extra.end());
            const Run r = run(args);
            QCOMPARE(r.code, 0);
            QCOMPARE(QString::fromStdString(r.err), QString());
            const QJsonObject doc = r.json();
            QCOMPARE(doc["view"].toInt(), c.view);
            QCOMPARE(doc["views"].toInt(), 2);
            QCOMPARE(doc["vtitle"].toString(), QString(c.vtitle));
            QCOMPARE(doc["files"].toArray().size(), c.files);
            QCOMPARE(doc["sets"].toArray().size(), c.sets);
        }
        const Run dump = run({"--view", "1", "--dump-picture", data("views/main.dat")});
        QCOMPARE(dump.code, 0);
        // View 1's x axis ends at 5, view 2's at 3 (labelled 3.0).
        QVERIFY(dump.out.find(" \"5\"\n") != std::string::npos);
        QVERIFY(dump.out.find(" \"3.0\"\n") == std::string::npos);
    }

    void missingViewIsExitTwo() {
        QTemporaryDir out;
        const std::string png = out.filePath("g.png").toStdString();
        struct Case {
            std::vector<std::string> args;
            const char* message;
        };
        const Case cases[] = {
            {{"--info", data("views/main.dat"), "--view", "3"}, "main.dat has no view 3 (it has views 1 to 2)\n"},
            {{"--info", data("worked.dat"), "--view", "2"}, "worked.dat has no view 2 (it has one view)\n"},
            {{"--export", png, data("views/main.dat"), "--view", "9"}, "main.dat has no view 9 (it has views 1 to 2)\n"},
            {{"--dump-picture", data("worked.dat"), "--view", "2"}, "worked.dat has no view 2 (it has one view)\n"},
        };
        for (const Case& c : cases) {
            const Run r = run(c.args);
            QCOMPARE(r.code, 2);
            QVERIFY(r.out.empty());
            QVERIFY2(r.err.find("varnexw32: ") == 0 && r.err.ends_with(c.message), r.err.c_str());
        }
        QVERIFY(!QFile::exists(QString::fromStdString(png)));
    }

    // A Shift-JIS file reads right with the code page chosen by the configuration or by --codepage
    // (which wins); the JSON is UTF-8 either way.
    void codePageOfConfigurationAndOption() {
        struct Case {
            const char* configuration;
            std::vector<std::string> option;
            bool shiftJis;
            const char* err;
        };
        const Case cases[] = {
            {"ext=dat\n", {}, false, ""},
            {"ext=dat\n", {"--codepage", "shift_jis"}, true, ""},
            {"ext=dat\ncodepage=shift_jis\n", {}, true, ""},
            {"ext=dat\ncodepage=shift_jis\n", {"--codepage", "UTF-8"}, false, ""},
            {"codepage=sjis\n", {},  false,
             "VarnexWin32 3.26c: varnexw32.ini: unknown code page \"sjis\" (codepage= takes utf-8 or shift_jis); "
             "texts are read as UTF-8.\n"},
        };
        for (const Case& c : cases) {
            std::vector<std::string> args{"--info", data("shift_jis.dat")};
            args.insert(args.end(), c.option.begin(), c.option.end());
            const Run r = run(args, programWithConfiguration(c.configuration));
            QCOMPARE(r.code, 0);
            QCOMPARE(QString::fromStdString(r.err), QString::fromUtf8(c.err));
            const QJsonObject doc = r.json();
            const QString vtitle = doc["vtitle"].toString();
            const QString title = doc["sets"].toArray()[0].toObject()["title"].toString();
            if (c.shiftJis) {
                // 表 and ソ end in the byte of '\': read as whole characters, both stay.
                QCOMPARE(vtitle, QString::fromUtf8("表示テスト"));
                QCOMPARE(title, QString::fromUtf8("ソース温度"));
            } else {
                QVERIFY(vtitle.contains(QChar::ReplacementCharacter));
            }
        }
        // The program's own texts stay readable in a Shift-JIS run.
        const Run r = run({"--codepage", "shift_jis", "--info", data("nodata.dat")});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.find("VarnexWin32 3.26c Error: 不正なデータです。\n") == 0);
    }

    void missingConfigurationIsReportedAndStartUpGoesOn() {
        QTemporaryDir empty;
        const Run r = run({"--info", data("worked.dat")}, empty.filePath("varnexw32").toStdString());
        QCOMPARE(r.code, 0);
        QCOMPARE(QString::fromStdString(r.err),
                 QString("VarnexWin 終了ﾒｯｾｰｼﾞ: varnexw32.ini ファイルがありません。\n"));
        QCOMPARE(r.json()["printw"].toDouble(), 15.0);
    }

    void exportWritesEachFormat() {
        QTemporaryDir out;
        for (const char* name : {"graph.svg", "graph.pdf", "graph.PNG"}) {
            const std::string path = out.filePath(name).toStdString();
            const Run r = run({"--export", path, data("worked.dat"), "--size", "300"});
            QCOMPARE(r.code, 0);
            QVERIFY2(QFileInfo(QString::fromStdString(path)).size() > 0, name);
        }
        QCOMPARE(QImage(out.filePath("graph.PNG")).size(), QSize(300, 300));
        QVERIFY(QFile(out.filePath("graph.svg")).open(QIODevice::ReadOnly));
    }

    void exportToARelativeNameWritesBesideTheCaller() {
        // Opening the data file changes the current folder; OUT still names the caller's folder.
        QTemporaryDir out;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(out.path()));
        const Run r = run({"--export", "relative.png", data("worked.dat")});
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(r.code, 0);
        QVERIFY(QFile::exists(out.filePath("relative.png")));
    }

    void exportRefusesBadOutputsAndLeavesNothing() {
        QTemporaryDir out;
        struct Case {
            std::string outPath;
            std::vector<std::string> extra;
            int code;
        };
        const std::string dir = out.path().toStdString();
        const Case cases[] = {
            {dir + "/graph.bmp", {}, 2},
            {dir + "/missing/graph.png", {}, 2},
            {dir + "/graph.png", {"--size", "0"}, 2},
            {dir + "/graph.png", {"--size", "12x"}, 2},
            {dir + "/graph.png", {"--size", "10001"}, 2},
            {dir + "/graph.png", {"--size", "-5"}, 2},
            {dir + "/graph.png", {"--size", "1.5"}, 2},
            {dir + "/graph.png", {"--size", ""}, 2},
            {dir + "/graph.png", {"--width", "10"}, 2},
        };
        for (const Case& c : cases) {
            std::vector<std::string> args{"--export", c.outPath, data("worked.dat")};
            args.insert(args.end(), c.extra.begin(), c.extra.end());
            const Run r = run(args);
            QCOMPARE(r.code, c.code);
            QVERIFY(!r.err.empty());
        }
        QCOMPARE(QDir(out.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        // Invalid data is exit 1, as for --info, and writes nothing either.
        QCOMPARE(run({"--export", dir + "/graph.png", data("nodata.dat")}).code, 1);
        QVERIFY(!QFile::exists(out.filePath("graph.png")));
    }

    void dumpPictureListsTheOperations() {
        const Run r = run({"--dump-picture", data("worked.dat")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.find("pen ") == 0 || r.out.find("\npen ") != std::string::npos);
        // The frame of the default page and the axis titles, as the renderer records them.
        QVERIFY(r.out.find("text 13 ") != std::string::npos);
        QVERIFY(r.out.find("\"X\"\n") != std::string::npos);
        QVERIFY(r.out.find("\"Y\"\n") != std::string::npos);
        QVERIFY(r.out.find("font 245 0 \"Times New Roman\"") != std::string::npos);
        QCOMPARE(run({"--dump-picture"}).code, 2);
    }

    // Output that does not arrive is a failure: a message and exit code 2, for every command that
    // writes to standard output.
    void outputThatCannotBeWrittenIsExitTwo() {
        const std::string f = data("worked.dat");
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"--help"}, {"--version"}, {"--info", f}, {"--info", "--points", f}, {"--dump-picture", f}}) {
            FullDevice full;
            std::ostream out(&full);
            std::ostringstream err;
            QCOMPARE(runBatch(args, m_program, out, err), std::optional<int>(2));
            QVERIFY2(err.str().find("varnexw32: the output cannot be written") != std::string::npos, err.str().c_str());
        }
    }

    // The real program writing into /dev/full: its standard output is flushed and checked at the end.
    void standardOutputOnAFullDeviceIsExitTwo() {
        if (!QFileInfo::exists("/dev/full")) QSKIP("no /dev/full");
        for (const QStringList& args : {QStringList{"--help"}, QStringList{"--version"},
                                        QStringList{"--info", QString::fromStdString(data("worked.dat"))},
                                        QStringList{"--dump-picture", QString::fromStdString(data("worked.dat"))}}) {
            QProcess program;
            program.setStandardOutputFile("/dev/full");
            program.start(QStringLiteral(VARNEX_BIN_DIR "/varnexw32"), args);
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 2);
            QCOMPARE(QString::fromUtf8(program.readAllStandardError()),
                     QString("varnexw32: the output cannot be written (No space left on device)\n"));
        }
    }

    // FILE opens as on the desktop's command line: a parameter file opens its data file; a name the
    // desktop does not open is a message and exit code 1.
    void fileOpensAsTheDesktopOpensIt() {
        const Run viaData = run({"--info", data("views/main.dat")});
        const Run viaParameters = run({"--info", data("views/main.P")});
        QCOMPARE(viaParameters.code, 0);
        QCOMPARE(viaParameters.out, viaData.out);
        QCOMPARE(QString::fromStdString(viaParameters.err), QString());

        QTemporaryDir dir;
        std::ofstream(dir.filePath("graph.csv").toStdString()) << "t\n1 2\n3 4\n";
        for (const char* name : {"graph.csv", "orphan.P"}) {
            const Run r = run({"--info", dir.filePath(name).toStdString()});
            QCOMPARE(r.code, 1);
            QCOMPARE(QString::fromStdString(r.err),
                     QString::fromStdString("VarnexWin32 3.26c Error: The file is not opened.\n" +
                                            dir.filePath(name).toStdString() + ": " +
                                            (name[0] == 'g' ? "not a data file: its extension is not a configured "
                                                              "data-file extension"
                                                            : "a parameter file without its data file: no file of "
                                                              "that name with a configured data-file extension lies "
                                                              "beside it") +
                                            " (ext= in varnexw32.ini: .dat, .txt)\n"));
            QVERIFY(r.out.empty());
        }
    }

    void otherCommandLinesAreForTheDesktop() {
        for (const auto& args : std::vector<std::vector<std::string>>{{}, {"my", "file.dat"}, {"-x.dat"}, {"a--b.dat"}, {"--"}}) {
            QCOMPARE(run(args).code, -1);
        }
        QCOMPARE(varnex::commandLineFileName({"\"my", "file.dat\""}), std::string("my file.dat"));
    }
};

QTEST_MAIN(BatchTest)
#include "tst_batch.moc"
