// Files that two instances share and writes that fail: the clean-up deletes only what this instance
// made and nothing names, Save asks before overwriting a parameter file another instance saved, and a
// paste or Save As that cannot write its file says so and leaves nothing.
#include <QLineEdit>
#include <QtTest>
#include <optional>

#include "desktop_fixture.h"
#include "panels/axis_panel.h"
#include "panels/parameter_panels.h"
#include "read_only_folder.h"
#include "shell/commands.h"

namespace varnex {
namespace {

using testing::DesktopFixture;
using testing::kRunData;
using testing::setReadOnly;

constexpr const char* kPasted = "Pasted\n0 5 7\n1 6 8\n";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) {
    std::error_code error;  // a name too long for the file system exists no more than a missing one
    return std::filesystem::exists(path, error);
}

void paste(DesktopFixture& f, int command = command::kPaste) {
    QGuiApplication::clipboard()->setText(kPasted);
    f.desktop().actions().runCommand(command);
}

// The folder made writable again when the test ends, whatever it checked.
struct ReadOnlyScope {
    std::string folder;
    bool readOnly;
    explicit ReadOnlyScope(std::string name) : folder(std::move(name)), readOnly(setReadOnly(folder, true)) {}
    ~ReadOnlyScope() { setReadOnly(folder, false); }
};

}  // namespace

class SharedFilesTest : public QObject {
    Q_OBJECT
private slots:
    void exitDeletesOnlyChildFilesThisInstanceMade();
    void onlyThePasteFileAndItsChildrenAreTemporary();
    void saveAsksBeforeOverwritingAnotherInstancesParameterFile();
    void pasteThatCannotBeWrittenIsReported_data();
    void pasteThatCannotBeWrittenIsReported();
    void saveAsThatCannotBeWrittenIsReported_data();
    void saveAsThatCannotBeWrittenIsReported();
};

void SharedFilesTest::exitDeletesOnlyChildFilesThisInstanceMade() {
    DesktopFixture a;
    a.write("run.dat", kRunData);
    a.start(a.path("run.dat"));
    paste(a);  // run.dat.1.@, A's, not saved
    {
        // B merely opens the file and leaves: A's pasted data stays.
        DesktopFixture b;
        b.start(a.path("run.dat"));
        b.window().close();
    }
    QVERIFY(exists(a.path("run.dat.1.@")));
    {
        // B pastes (run.dat.2.@), saves and exits: its child file is named and stays.
        DesktopFixture b;
        b.start(a.path("run.dat"));
        paste(b);
        QVERIFY(exists(a.path("run.dat.2.@")));
        b.desktop().actions().runCommand(command::kSave);
        b.window().close();
    }
    QVERIFY(exists(a.path("run.dat.2.@")));
    // A exits: its own unsaved paste goes; B's saved one stays, as does the data.
    a.window().close();
    QVERIFY(!exists(a.path("run.dat.1.@")));
    QVERIFY(exists(a.path("run.dat.2.@")));
    QVERIFY(exists(a.path("run.dat")));
}

void SharedFilesTest::onlyThePasteFileAndItsChildrenAreTemporary() {
    DesktopFixture f;
    f.write("@.@results.dat", kRunData);
    f.write("other.dat", kRunData);
    f.start(f.path("@.@results.dat"));
    QCOMPARE(f.document().data, 2);
    // Leaving it for another file, and exiting while it is open, keep it.
    f.desktop().documents().open(f.path("other.dat"));
    f.desktop().documents().open(f.path("@.@results.dat"));
    paste(f, command::kPasteAsNewGraph);  // the paste file @.@ ...
    QCOMPARE(f.document().files.name(0), f.path("@.@"));
    paste(f);  // ... and its own child file
    QVERIFY(exists(f.path("@.@.1.@")));
    f.desktop().documents().open(f.path("@.@results.dat"));
    QVERIFY(!exists(f.path("@.@")));
    QVERIFY(!exists(f.path("@.@.1.@")));
    f.window().close();
    QCOMPARE(readFile(f.path("@.@results.dat")), std::string(kRunData));
}

void SharedFilesTest::saveAsksBeforeOverwritingAnotherInstancesParameterFile() {
    DesktopFixture a;
    a.write("run.dat", kRunData);
    a.start(a.path("run.dat"));
    DesktopFixture b;
    b.start(a.path("run.dat"));
    b.desktop().actions().runCommand(command::kSave);
    const std::string saved = readFile(a.path("run.P"));
    QVERIFY(!saved.empty());
    QVERIFY(b.boxes.messages().empty());

    // A read no parameter file; B saved one since: A asks, and No (the default) writes nothing.
    QLineEdit* title = a.desktop().panels().axis().edit(101);
    title->setText("Changed by A");
    a.desktop().actions().runCommand(command::kSave);
    QCOMPARE(a.boxes.messages().size(), std::size_t{1});
    QCOMPARE(a.boxes.messages()[0].kind, std::string("askDefaultNo"));
    QCOMPARE(a.boxes.messages()[0].caption, std::string("VarnexWin32 3.26c"));
    QCOMPARE(a.boxes.messages()[0].text, a.path("run.P") + " was changed on disk since it was loaded. Overwrite it?");
    QCOMPARE(readFile(a.path("run.P")), saved);
    // Yes overwrites it; A's own file then needs no question.
    a.boxes.scriptAnswers({Answer::Yes});
    a.desktop().actions().runCommand(command::kSave);
    QVERIFY(readFile(a.path("run.P")).find("vtitle=Changed by A") != std::string::npos);
    a.boxes.clear();
    title->setText("Again");
    a.desktop().actions().runCommand(command::kSave);
    QVERIFY(a.boxes.messages().empty());
    QVERIFY(readFile(a.path("run.P")).find("vtitle=Again") != std::string::npos);
}

void SharedFilesTest::pasteThatCannotBeWrittenIsReported_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("data");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("reported");
    const QString longName = QString(248, 'x') + ".dat";  // its child file's name is 256 bytes
    QTest::newRow("child in a read-only folder") << "ro" << "run.dat" << int(command::kPaste) << "ro/run.dat.1.@";
    QTest::newRow("paste file in a read-only folder")
        << "ro" << "run.dat" << int(command::kPasteAsNewGraph) << "ro/@.@";
    QTest::newRow("child name too long") << "long" << longName << int(command::kPaste) << "long/" + longName + ".1.@";
}

void SharedFilesTest::pasteThatCannotBeWrittenIsReported() {
    QFETCH(QString, folder);
    QFETCH(QString, data);
    QFETCH(int, command);
    QFETCH(QString, reported);
    DesktopFixture f;
    std::filesystem::create_directories(f.path(folder.toStdString()));
    f.write(folder.toStdString() + "/" + data.toStdString(), kRunData);
    f.start(f.path(folder.toStdString() + "/" + data.toStdString()));
    QCOMPARE(f.document().data, 2);
    std::optional<ReadOnlyScope> readOnly;
    if (folder == "ro") {
        readOnly.emplace(f.path("ro"));
        if (!readOnly->readOnly) QSKIP("the folder cannot be made read-only here");
    }
    paste(f, command);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].caption, std::string("VarnexWin32 3.26c Error"));
    QCOMPARE(f.boxes.messages()[0].text,
             f.path(reported.toStdString()) + "\ncannot be written. The pasted data is not kept.");
    QVERIFY(!exists(f.path(reported.toStdString())));
    QCOMPARE(f.document().files.count(), 1);
    QCOMPARE(f.document().data, 2);
}

void SharedFilesTest::saveAsThatCannotBeWrittenIsReported_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("reported");
    QTest::newRow("main file into a read-only folder") << int(command::kSaveAs) << "ro/copy.dat" << true;
    QTest::newRow("main file over an existing file") << int(command::kSaveAs) << "taken.dat" << false;
    QTest::newRow("appended file into a read-only folder") << command::kSaveFileAs + 1 << "ro/moved.dat" << true;
    QTest::newRow("appended file over an existing file") << command::kSaveFileAs + 1 << "taken.dat" << false;
}

void SharedFilesTest::saveAsThatCannotBeWrittenIsReported() {
    QFETCH(int, command);
    QFETCH(QString, target);
    QFETCH(bool, reported);
    DesktopFixture f;
    f.write("data.dat", kRunData);
    f.write("taken.dat", "keep\n");
    std::filesystem::create_directories(f.path("ro"));
    f.start(f.path("data.dat"));
    paste(f);  // data.dat.1.@, appended file 1
    const std::string chosen = f.path(target.toStdString());
    f.desktop().dialogs().save = [&](const SaveDialogRequest&) { return chosen; };
    ReadOnlyScope readOnly(f.path("ro"));
    if (!readOnly.readOnly) QSKIP("the folder cannot be made read-only here");
    f.boxes.clear();
    f.desktop().actions().runCommand(command);
    if (reported) {
        QCOMPARE(f.boxes.messages().size(), std::size_t{1});
        QCOMPARE(f.boxes.messages()[0].caption, std::string("VarnexWin32 3.26c Error"));
        QCOMPARE(f.boxes.messages()[0].text, chosen + "\ncannot be written. Nothing was saved.");
        QVERIFY(!exists(chosen));
    } else {
        QVERIFY(f.boxes.messages().empty());
        QCOMPARE(readFile(chosen), std::string("keep\n"));
    }
    QCOMPARE(f.document().files.name(0), f.path("data.dat"));
    QCOMPARE(f.document().files.name(1), f.path("data.dat.1.@"));
    QVERIFY(exists(f.path("data.dat.1.@")));
}

}  // namespace varnex

QTEST_MAIN(varnex::SharedFilesTest)
#include "shared_files_test.moc"
