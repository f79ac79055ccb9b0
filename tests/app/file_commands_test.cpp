// The document commands on files: pasting text and file lists, Save with its views and title mark, the
// version box, the View menu, and the file list of the File menu with save-as, rename and release.
#include <QMimeData>
#include <QtTest>

#include "app/sheet_commands.h"
#include "datasheet/data_sheet.h"
#include "desktop_fixture.h"
#include "panels/axis_panel.h"
#include "panels/parameter_panels.h"
#include "shell/commands.h"
#include "util/paths.h"

namespace varnex {
namespace {

using testing::DesktopFixture;
using testing::kRunData;

constexpr const char* kPasted = "Pasted\n0 5 7\n1 6 8\n";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

// The texts of a menu's actions after its separator at position `from`, with enabled and checked marks.
QStringList entries(QMenu& menu, int from) {
    QStringList texts;
    const QList<QAction*> actions = menu.actions();
    for (qsizetype i = from; i < actions.size(); ++i) {
        const QAction* a = actions[i];
        texts << (a->isSeparator() ? QString("-") : a->text() + (a->isEnabled() ? "" : " (greyed)") +
                                                       (a->isChecked() ? " (checked)" : ""));
    }
    return texts;
}

// Types a graph title into the axis panel, as the user does: the commands take it in when they apply
// the panels.
void typeTitle(DesktopFixture& f, const QString& title) {
    QLineEdit* box = f.desktop().panels().axis().edit(101);
    box->selectAll();
    QTest::keyClicks(box, title);
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void pastedTextBecomesAChildFile_data();
    void pastedTextBecomesAChildFile();
    void pasteAsNewGraphOpensThePasteFile();
    void clipboardListOpensTheFirstFileAndAppendsTheRest();
    void saveWritesEveryViewAndClearsTheTitleMark();
    void versionBoxCountsTheViews();
    void viewsAreAddedSelectedAndDeleted();
    void fileListMarksUnrecordedFiles();
    void childFileIsRenamedByTheNamingRule();
    void mainFileIsSavedAsACopyThatOpens();
    void releaseDeletesOnlyAnUnreferencedChildFile();
};

void FileCommandsTest::pastedTextBecomesAChildFile_data() {
    QTest::addColumn<bool>("markers");
    QTest::newRow("with lines") << false;
    QTest::newRow("with markers") << true;
}

void FileCommandsTest::pastedTextBecomesAChildFile() {
    QFETCH(bool, markers);
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    QAction* marker = f.desktop().actions().action(command::kMarker);
    QMenu* graph = f.menu("&Graph");
    emit graph->hovered(marker);
    QCOMPARE(f.window().statusText(kMessagePart), QString("ｸﾘｯﾌﾟﾎﾞｰﾄﾞから貼り付るｸﾞﾗﾌのﾃﾞﾌｫﾙﾄ設定を「ﾏｰｶ」に変更"));
    if (markers) {
        f.desktop().actions().runCommand(command::kMarker);
        QVERIFY(marker->isChecked());
        emit graph->hovered(marker);
        QCOMPARE(f.window().statusText(kMessagePart), QString("ｸﾘｯﾌﾟﾎﾞｰﾄﾞから貼り付るｸﾞﾗﾌのﾃﾞﾌｫﾙﾄ設定を「折れ線」に変更"));
    }
    QGuiApplication::clipboard()->setText(kPasted);
    f.desktop().actions().runCommand(command::kPaste);
    QCOMPARE(readFile(f.path("run.dat.1.@")), std::string(kPasted));
    const Document& doc = f.document();
    QCOMPARE(doc.files.name(1), f.path("run.dat.1.@"));
    QCOMPARE(doc.data, 4);
    const GraphParams expected3 = markers ? GraphParams{0, 0, 1, 1} : GraphParams{1, 0, 0, 0};
    const GraphParams expected4 = markers ? GraphParams{0, 0, 1, 2} : GraphParams{1, 0, 0, 0};
    QVERIFY(doc.sets[3].params == expected3);
    QVERIFY(doc.sets[4].params == expected4);
    QVERIFY(doc.sets[1].params == (GraphParams{1, 0, 0, 0}));  // the main file's sets keep theirs
    // A second paste takes the next number.
    f.desktop().actions().runCommand(command::kPaste);
    QVERIFY(exists(f.path("run.dat.2.@")));
}

void FileCommandsTest::pasteAsNewGraphOpensThePasteFile() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    QGuiApplication::clipboard()->setText(kPasted);
    f.desktop().actions().runCommand(command::kPasteAsNewGraph);
    QCOMPARE(f.document().files.name(0), f.path("@.@"));
    QCOMPARE(f.document().files.count(), 1);
    QCOMPARE(f.window().windowTitle(), QString("@.@ - VarnexWin32 3.26c"));
    QCOMPARE(f.desktop().sheet().sheet().fileName(), f.path("@.@"));
    // The paste file's settings are never saved.
    f.desktop().actions().runCommand(command::kSave);
    QVERIFY(!exists(f.path("@.P")));
    QVERIFY(f.boxes.messages().empty());
}

void FileCommandsTest::clipboardListOpensTheFirstFileAndAppendsTheRest() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    for (const char* name : {"a.dat", "b.dat", "c.dat"}) f.write(name, "Data\n0 1\n1 2\n");
    f.write("notes.csv", "0 1\n");
    f.start(f.path("run.dat"));
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const char* name : {"a.dat", "notes.csv", "b.dat", "c.dat"})
        urls << QUrl::fromLocalFile(QString::fromStdString(f.path(name)));
    data->setUrls(urls);
    data->setText("file addresses, as a file manager adds them");
    QGuiApplication::clipboard()->setMimeData(data);
    f.desktop().actions().runCommand(command::kPasteAsNewGraph);
    QCOMPARE(f.document().files.names(), (std::vector<std::string>{f.path("a.dat"), f.path("b.dat"), f.path("c.dat")}));
    QVERIFY(f.boxes.messages().empty());
    QVERIFY(!exists(f.path("@.@")));
}

void FileCommandsTest::saveWritesEveryViewAndClearsTheTitleMark() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    f.desktop().actions().runCommand(command::kAddView);
    QCOMPARE(f.window().windowTitle(), QString("run.dat * - VarnexWin32 3.26c"));
    typeTitle(f, "Second view");  // Save takes it in from the panel
    QTest::keyClick(&f.window(), Qt::Key_S, Qt::ControlModifier);
    const std::string saved = readFile(f.path("run.P"));
    QVERIFY(saved.rfind("view=2\r\n\r\nvtitle=Cooling curves, run 12\r\n", 0) == 0);
    QVERIFY(saved.find("\r\n\r\nvtitle=Second view\r\n") != std::string::npos);
    QCOMPARE(f.window().windowTitle(), QString("run.dat - VarnexWin32 3.26c"));
    QCOMPARE(f.desktop().views().viewCount(), 2);
    QVERIFY(f.document().sameAs(f.desktop().documents().savedCopy()));
}

void FileCommandsTest::versionBoxCountsTheViews() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    f.desktop().actions().runCommand(command::kAddView);
    f.desktop().actions().runCommand(command::kVersion);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    const QString text = QString::fromStdString(f.boxes.messages()[0].text);
    const QStringList lines = text.split('\n');
    QVERIFY(QRegularExpression("^Built \\d{4}-\\d\\d-\\d\\d by the Varnex developers$").match(lines[1]).hasMatch());
    QVERIFY(text.contains("グラフ数（最大 256 個）: 0.8% (2 個) 使用\n"));
    QVERIFY(text.endsWith("ﾋﾞｭｰ: 32.6 + 31.0 KB 使用\n"));
}

void FileCommandsTest::viewsAreAddedSelectedAndDeleted() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    CommandActions& actions = f.desktop().actions();
    QMenu* view = f.menu("&View");
    emit view->aboutToShow();
    QCOMPARE(entries(*view, 0), (QStringList{"&Add", "&Delete (greyed)", "&Follow", "-", "&1 Cooling curves, run 12     (checked)"}));

    actions.runCommand(command::kAddView);
    typeTitle(f, "A title longer than twenty-six bytes");  // opening the View menu takes it in
    emit view->aboutToShow();
    QCOMPARE(entries(*view, 3), (QStringList{"-", "&1 Cooling curves, run 12    ",
                                             "&2 A title longer than twenty-six bytes (checked)"}));

    // Choosing view 1 reads its files again.
    f.write("run.dat", "Changed\n\nsample A\n0 30.0 1\n1 31.0 2\n");
    actions.runCommand(command::kSelectView + 1);
    QCOMPARE(f.desktop().views().indexOfCurrent(), 1);
    QCOMPARE(f.document().sets[1].y(1), 30.0);
    QCOMPARE(f.desktop().sheet().sheet().toPlainText(), QString("Changed\n\nsample A\n0 30.0 1\n1 31.0 2\n"));

    // Views with different files, one of them missing: the Document is not read again, but the File
    // menu lists the files of the view now shown.
    f.write("extra.dat", "Extra\n0 1\n1 2\n");
    f.desktop().dialogs().open = [&](const QString&) { return f.path("extra.dat"); };
    actions.runCommand(command::kInsert);  // view 1: run.dat, extra.dat
    QGuiApplication::clipboard()->setText(kPasted);
    actions.runCommand(command::kSelectView + 2);
    actions.runCommand(command::kPaste);  // view 2: run.dat, run.dat.1.@
    std::filesystem::remove(f.path("extra.dat"));
    actions.runCommand(command::kSelectView + 1);
    QCOMPARE(f.desktop().views().indexOfCurrent(), 1);
    QCOMPARE(entries(*f.menu("&File"), 15), (QStringList{"-", "&0  run.dat", "&1* extra.dat"}));

    actions.runCommand(command::kDeleteView);
    QCOMPARE(f.desktop().views().viewCount(), 1);
    QCOMPARE(f.document().vtitle.str(), std::string("A title longer than twenty-six bytes"));
    emit view->aboutToShow();
    QCOMPARE(entries(*view, 1), (QStringList{"&Delete (greyed)", "&Follow", "-", "&1 A title longer than twenty-six bytes (checked)"}));
}

void FileCommandsTest::fileListMarksUnrecordedFiles() {
    DesktopFixture f;
    f.write("data.dat", kRunData);
    f.write("extra.dat", "Extra\n0 1\n1 2\n");
    f.write("data.P", "view=1\r\n\r\nfile=extra.dat\r\nvtitle=T\r\ndata=3\r\n1 1 0 0 0\r\n2 1 0 0 0\r\n3 1 0 0 0\r\n");
    f.start(f.path("data.dat"));
    QGuiApplication::clipboard()->setText(kPasted);
    f.desktop().actions().runCommand(command::kPaste);
    QMenu* file = f.menu("&File");
    QCOMPARE(entries(*file, 15), (QStringList{"-", "&0  data.dat", "&1  extra.dat", "&2* .1.@"}));
    const QList<QAction*> list = file->actions().mid(16);
    QCOMPARE(entries(*list[0]->menu(), 0), (QStringList{"&Data Sheet", "&Editor"}));
    QCOMPARE(entries(*list[1]->menu(), 0), (QStringList{"&Data Sheet", "&Editor", "-", "&Release",
                                                       "&Rename Child File (greyed)", "Save &As  (greyed)"}));
    QCOMPARE(entries(*list[2]->menu(), 0), (QStringList{"&Data Sheet", "&Editor (greyed)", "-", "&Release",
                                                       "&Rename Child File", "Save &As "}));
    QCOMPARE(list[2]->menu()->actions()[4]->data().toInt(), 9102);
    QCOMPARE(list[2]->menu()->actions()[5]->data().toInt(), 9002);

    // Without a configured editor the file opens with the desktop's application.
    list[1]->menu()->actions()[1]->trigger();
    QCOMPARE(f.opened.size(), std::size_t{1});
    QCOMPARE(f.opened[0], QUrl::fromLocalFile(QString::fromStdString(f.path("extra.dat"))));
}

void FileCommandsTest::childFileIsRenamedByTheNamingRule() {
    DesktopFixture f;
    f.write("data.dat", kRunData);
    f.start(f.path("data.dat"));
    QGuiApplication::clipboard()->setText(kPasted);
    f.desktop().actions().runCommand(command::kPaste);
    std::vector<SaveDialogRequest> asked;
    std::string answer = f.path("x.@");
    f.desktop().dialogs().save = [&](const SaveDialogRequest& request) {
        asked.push_back(request);
        return answer;
    };
    f.desktop().actions().runCommand(command::kRenameChildFile + 1);
    QCOMPARE(asked.size(), std::size_t{1});
    QCOMPARE(asked[0].title, QString("Save As *.@"));
    QCOMPARE(asked[0].proposedName, std::string("data.dat.1"));
    QCOMPARE(asked[0].defaultExtension, std::string("@"));
    QCOMPARE(asked[0].folder, folderOf(f.path("data.dat")));
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].text,
             std::string("注意！\n\n拡張子が.@の子ﾌｧｲﾙは、\n\tdata.dat.*.@\nという名前でなければなりません。ﾌｧｲﾙ名は、"
                         "\n\tdata.dat.x.@\nと解釈されます。"));
    QVERIFY(!exists(f.path("data.dat.1.@")));
    QVERIFY(!exists(f.path("x.@")));
    QCOMPARE(readFile(f.path("data.dat.x.@")), std::string(kPasted));
    QCOMPARE(f.document().files.name(1), f.path("data.dat.x.@"));
    QVERIFY(readFile(f.path("data.P")).find("file=*.x.@\r\n") != std::string::npos);
    QCOMPARE(f.window().windowTitle(), QString("data.dat - VarnexWin32 3.26c"));

    // A name that exists: nothing changes, nothing is asked or said.
    f.boxes.clear();
    f.write("data.dat.taken.@", "keep\n");
    answer = f.path("data.dat.taken.@");
    f.desktop().actions().runCommand(command::kRenameChildFile + 1);
    QVERIFY(f.boxes.messages().empty());
    QCOMPARE(readFile(f.path("data.dat.taken.@")), std::string("keep\n"));
    QCOMPARE(f.document().files.name(1), f.path("data.dat.x.@"));
}

void FileCommandsTest::mainFileIsSavedAsACopyThatOpens() {
    DesktopFixture f;
    f.write("data.dat", kRunData);
    f.start(f.path("data.dat"));
    SaveDialogRequest asked;
    f.desktop().dialogs().save = [&](const SaveDialogRequest& request) {
        asked = request;
        return f.path("copy.dat");
    };
    f.desktop().actions().runCommand(command::kSaveAs);
    QCOMPARE(asked.title, QString("Save As"));
    QCOMPARE(asked.proposedName, std::string("data.dat"));
    QCOMPARE(asked.defaultExtension, std::string("dat"));
    QCOMPARE(readFile(f.path("data.dat")), std::string(kRunData));
    QCOMPARE(readFile(f.path("copy.dat")), std::string(kRunData));
    QVERIFY(exists(f.path("copy.P")));
    QCOMPARE(f.document().files.name(0), f.path("copy.dat"));
    QCOMPARE(f.window().windowTitle(), QString("copy.dat - VarnexWin32 3.26c"));
    QCOMPARE(f.desktop().sheet().sheet().fileName(), f.path("copy.dat"));
    // A cancelled dialog does nothing.
    f.desktop().dialogs().save = [](const SaveDialogRequest&) { return std::string(); };
    f.desktop().actions().runCommand(command::kSaveAs);
    QCOMPARE(f.document().files.name(0), f.path("copy.dat"));
}

void FileCommandsTest::releaseDeletesOnlyAnUnreferencedChildFile() {
    DesktopFixture f;
    f.write("data.dat", kRunData);
    f.write("extra.dat", "Extra\n0 1\n1 2\n");
    f.start(f.path("data.dat"));
    QString asked;
    f.desktop().dialogs().open = [&](const QString& title) {
        asked = title;
        return f.path("extra.dat");
    };
    f.desktop().actions().runCommand(command::kInsert);
    QCOMPARE(asked, QString("Insert file"));
    QCOMPARE(f.document().files.name(1), f.path("extra.dat"));
    QGuiApplication::clipboard()->setText(kPasted);
    f.desktop().actions().runCommand(command::kPaste);  // data.dat.1.@, file 2
    f.desktop().actions().runCommand(command::kSave);   // the parameter file names both
    f.desktop().actions().runCommand(command::kPaste);  // data.dat.2.@, file 3, named by nothing
    QCOMPARE(f.document().files.count(), 4);
    f.desktop().actions().runCommand(command::kShowInSheet + 3);

    f.desktop().actions().runCommand(command::kReleaseFile + 3);
    QVERIFY(!exists(f.path("data.dat.2.@")));
    QCOMPARE(f.desktop().sheet().sheet().fileName(), f.path("data.dat.1.@"));  // the file before it
    f.desktop().actions().runCommand(command::kReleaseFile + 2);
    QVERIFY(exists(f.path("data.dat.1.@")));
    f.desktop().actions().runCommand(command::kReleaseFile + 1);
    QVERIFY(exists(f.path("extra.dat")));
    QCOMPARE(f.document().files.count(), 1);
    QCOMPARE(f.document().data, 2);
    QCOMPARE(f.menu("&File")->actions().size(), 17);  // the items, a separator and file 0

    // Another listed file is missing, so the Document is not read again: the file list still follows
    // the release, so that no entry offers a command on a file it does not name.
    f.desktop().actions().runCommand(command::kPaste);  // data.dat.2.@
    f.desktop().actions().runCommand(command::kPaste);  // data.dat.3.@
    f.desktop().actions().runCommand(command::kInsert);
    QCOMPARE(f.document().files.count(), 4);
    std::filesystem::remove(f.path("extra.dat"));
    f.desktop().actions().runCommand(command::kReleaseFile + 2);
    QVERIFY(!exists(f.path("data.dat.3.@")));
    QCOMPARE(entries(*f.menu("&File"), 15), (QStringList{"-", "&0  data.dat", "&1* .2.@", "&2  extra.dat"}));
}

}  // namespace varnex

QTEST_MAIN(varnex::FileCommandsTest)
#include "file_commands_test.moc"
