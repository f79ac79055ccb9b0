// The data sheet in the desktop: the sheet follows the open graph, Save Data writes the file and
// reloads the graph, a failed write is reported, the find dialog, and the Edit menu's text commands.
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTextBlock>
#include <QtTest>

#include "app/sheet_commands.h"
#include "datasheet/data_sheet.h"
#include "datasheet/find_dialog.h"
#include "desktop_fixture.h"
#include "read_only_folder.h"
#include "shell/commands.h"
#include "util/codepage.h"

namespace varnex {
namespace {

using testing::DesktopFixture;
using testing::kRunData;
using testing::setReadOnly;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the first occurrence of what in the sheet by typing over it.
void typeOver(DataSheet& sheet, const QString& what, const QString& with) {
    sheet.moveCursor(QTextCursor::Start);
    QVERIFY(sheet.find(what));
    QTest::keyClicks(&sheet, with);
}

void focus(QWidget& widget) {
    widget.activateWindow();
    widget.setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), &widget);
}

}  // namespace

class SheetCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void sheetShowsTheOpenedFileAndListedFiles();
    void editedNumberReachesDiskGraphAndAnotherInstance();
    void failedWriteIsReportedAndTheFileStays();
    void invalidBytesAreRefusedWithAMessage();
    void fileChangedOnDiskIsOverwrittenOnlyAfterYes();
    void characterTheCodePageCannotHoldIsNamedWithItsLine();
    void pastePastTheTextLimitIsRefusedWithAMessage();
    void findDialogOpensOnceFromTheSheetOnly();
    void editCommandsActOnTheFocusedTextBox();
};

void SheetCommandsTest::sheetShowsTheOpenedFileAndListedFiles() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.write("extra.dat", "Extra\n0 1\n1 2\n");
    f.write("run.P", "view=1\r\n\r\nfile=extra.dat\r\nvtitle=T\r\ndata=3\r\n1 1 0 0 0\r\n2 1 0 0 0\r\n3 1 0 0 0\r\n");
    f.start(f.path("run.dat"));
    DataSheet& sheet = f.desktop().sheet().sheet();
    QCOMPARE(sheet.fileName(), f.path("run.dat"));
    QCOMPARE(f.window().tabs().tabText(kDataPage), QString("run.dat"));
    QCOMPARE(f.window().currentPage(), int(kAxisPage));

    f.desktop().actions().runCommand(command::kShowInSheet + 1);
    QCOMPARE(sheet.fileName(), f.path("extra.dat"));
    QCOMPARE(f.window().currentPage(), int(kDataPage));
    QCOMPARE(f.window().tabs().tabText(kDataPage), QString("extra.dat"));
    QCOMPARE(sheet.toPlainText(), QString("Extra\n0 1\n1 2\n"));
    QCOMPARE(f.desktop().sheet().shownIndex(), 1);
    // A file that cannot be read falls back to the one before it.
    std::filesystem::remove(f.path("extra.dat"));
    f.desktop().sheet().reloadSheet(-1);
    QCOMPARE(sheet.fileName(), f.path("run.dat"));
}

void SheetCommandsTest::editedNumberReachesDiskGraphAndAnotherInstance() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    DataSheet& sheet = f.desktop().sheet().sheet();
    const Picture* before = f.desktop().graph().picture();
    typeOver(sheet, "20.0", "25.5");
    f.desktop().actions().runCommand(command::kSaveData);
    QVERIFY(f.boxes.messages().empty());
    QVERIFY(readFile(f.path("run.dat")).find("0 25.5 21.5\r\n1 18.2 20.1\r\n") != std::string::npos);
    QCOMPARE(f.document().sets[1].y(1), 25.5);
    QVERIFY(f.desktop().graph().picture() != before);
    QVERIFY(sheet.isModified());  // until the sheet is loaded again

    QProcess second;
    second.start(QString(VARNEX_BIN_DIR "/varnexw32"),
                 {"--info", "--points", QString::fromStdString(f.path("run.dat"))});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(second.readAllStandardOutput().contains("\"y\":[25.5,18.2,16.9,15.8]"));
}

void SheetCommandsTest::failedWriteIsReportedAndTheFileStays() {
    DesktopFixture f;
    const std::string folder = f.path("ro");
    std::filesystem::create_directories(folder);
    const std::string data = folder + "/run.dat";
    std::ofstream(data, std::ios::binary) << kRunData;
    f.start(data);
    DataSheet& sheet = f.desktop().sheet().sheet();
    typeOver(sheet, "20.0", "99");
    const bool readOnly = setReadOnly(folder, true);
    if (readOnly) f.desktop().actions().runCommand(command::kSaveData);
    QVERIFY(!setReadOnly(folder, false));
    if (!readOnly) QSKIP("the folder cannot be made read-only here");
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].caption, std::string("VarnexWin32 3.26c Error"));
    QCOMPARE(f.boxes.messages()[0].text, data + "\ncannot be written. The file is unchanged.");
    QCOMPARE(readFile(data), std::string(kRunData));
    QVERIFY(sheet.isModified());
    QCOMPARE(f.document().sets[1].y(1), 20.0);
}

void SheetCommandsTest::invalidBytesAreRefusedWithAMessage() {
    DesktopFixture f;
    const std::string bytes = std::string("Caf\xe9 run\n") + kRunData;
    f.write("run.dat", bytes);
    f.start(f.path("run.dat"));
    typeOver(f.desktop().sheet().sheet(), "20.0", "99");
    f.desktop().actions().runCommand(command::kSaveData);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QVERIFY(f.boxes.messages()[0].text.find("holds bytes that are not text in this code page") != std::string::npos);
    QCOMPARE(readFile(f.path("run.dat")), bytes);
}

void SheetCommandsTest::fileChangedOnDiskIsOverwrittenOnlyAfterYes() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    DataSheet& sheet = f.desktop().sheet().sheet();
    typeOver(sheet, "20.0", "25.5");
    const std::string rewritten = std::string(kRunData) + "4 14.9 17.0\n";
    f.write("run.dat", rewritten);  // a measurement added a row meanwhile
    f.desktop().actions().runCommand(command::kSaveData);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].kind, std::string("askDefaultNo"));
    QCOMPARE(f.boxes.messages()[0].text, f.path("run.dat") + " was changed on disk since it was loaded. Overwrite it?");
    QCOMPARE(readFile(f.path("run.dat")), rewritten);  // No: the file stays, and so do the edits
    QVERIFY(sheet.isModified());
    QVERIFY(sheet.toPlainText().contains("25.5"));

    f.boxes.scriptAnswers({Answer::Yes});
    f.desktop().actions().runCommand(command::kSaveData);
    QVERIFY(readFile(f.path("run.dat")).find("0 25.5 21.5\r\n") != std::string::npos);
    QCOMPARE(f.document().sets[1].y(1), 25.5);
}

void SheetCommandsTest::characterTheCodePageCannotHoldIsNamedWithItsLine() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    const std::string configuration = std::string(testing::kStandardConfiguration) + "codepage=shift_jis\n";
    f.start(f.path("run.dat"), configuration.c_str());
    DataSheet& sheet = f.desktop().sheet().sheet();
    sheet.setTextCursor(QTextCursor(sheet.document()->findBlockByNumber(2)));
    sheet.insertPlainText(QString::fromUtf8("sample \u20ac"));
    f.desktop().actions().runCommand(command::kSaveData);
    setSystemCodePage(CodePage::Utf8);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].caption, std::string("VarnexWin32 3.26c Error"));
    QCOMPARE(f.boxes.messages()[0].text,
             f.path("run.dat") + "\nline 3 holds the character U+20AC, which Shift-JIS cannot hold.\n"
                                 "Nothing was written; the file is unchanged.");
    QCOMPARE(readFile(f.path("run.dat")), std::string(kRunData));
}

void SheetCommandsTest::pastePastTheTextLimitIsRefusedWithAMessage() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    QString configuration = testing::kStandardConfiguration;
    configuration.replace("limittext=1000", "limittext=1");
    f.start(f.path("run.dat"), configuration.toStdString().c_str());
    DataSheet& sheet = f.desktop().sheet().sheet();
    f.desktop().showPage(kDataPage);
    focus(sheet);
    QGuiApplication::clipboard()->setText(QString(800, '1'));
    f.desktop().actions().runCommand(command::kEditPaste);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].text,
             std::string("The pasted text would make the file larger than the data sheet can hold "
                         "(742 bytes, from limittext=1).\nNothing was pasted."));
    QVERIFY(!sheet.document()->isModified());
    QGuiApplication::clipboard()->setText("4 1 2");
    f.desktop().actions().runCommand(command::kEditPaste);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QVERIFY(sheet.toPlainText().contains("4 1 2"));
}

void SheetCommandsTest::findDialogOpensOnceFromTheSheetOnly() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    SheetCommands& commands = f.desktop().sheet();
    auto* box = new QLineEdit(&f.window().page(kAxisPage));
    box->show();
    focus(*box);
    QTest::keyClick(box, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!commands.findDialog());

    f.desktop().showPage(kDataPage);
    focus(commands.sheet());
    QTest::keyClick(&commands.sheet(), Qt::Key_F, Qt::ControlModifier);
    QPointer<FindDialog> dialog = commands.findDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    focus(commands.sheet());
    f.desktop().actions().runCommand(command::kFind);
    QCOMPARE(commands.findDialog(), dialog.data());

    MainWindow& w = f.window();
    dialog->textField().setText("sample");
    dialog->findNextButton().click();
    QCOMPARE(w.statusText(kMessagePart), QString("文字列が見つかりました"));
    QCOMPARE(commands.sheet().textCursor().selectedText(), QString("sample"));
    dialog->textField().setText("absent");
    dialog->findNextButton().click();
    QCOMPARE(w.statusText(kMessagePart), QString("文字列が見つかりません"));
    dialog->close();
    QTRY_VERIFY(!dialog);
    QCOMPARE(w.statusText(kMessagePart), QString());
    QVERIFY(!commands.findDialog());

    // The next dialog starts with the last text.
    focus(commands.sheet());
    f.desktop().actions().runCommand(command::kFind);
    QVERIFY(commands.findDialog());
    QCOMPARE(commands.findDialog()->text(), QString("absent"));
}

void SheetCommandsTest::editCommandsActOnTheFocusedTextBox() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    CommandActions& actions = f.desktop().actions();
    auto* box = new QLineEdit("alpha beta", &f.window().page(kAxisPage));
    box->show();
    focus(*box);
    box->setSelection(0, 6);
    actions.runCommand(command::kEditCut);
    QCOMPARE(box->text(), QString("beta"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("alpha "));
    box->setCursorPosition(4);
    actions.runCommand(command::kEditPaste);
    QCOMPARE(box->text(), QString("betaalpha "));
    actions.runCommand(command::kEditUndo);
    QCOMPARE(box->text(), QString("beta"));

    // The edit box of an editable combo box.
    auto* combo = new QComboBox(&f.window().page(kAxisPage));
    combo->setEditable(true);
    combo->setEditText("gamma");
    combo->show();
    focus(*combo);
    combo->lineEdit()->selectAll();
    actions.runCommand(command::kEditCopy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("gamma"));

    f.desktop().showPage(kDataPage);
    DataSheet& sheet = f.desktop().sheet().sheet();
    focus(sheet);
    sheet.moveCursor(QTextCursor::Start);
    sheet.moveCursor(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    actions.runCommand(command::kEditCopy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("Cooling"));
    actions.runCommand(command::kEditCut);
    QVERIFY(sheet.toPlainText().startsWith(" curves"));
    actions.runCommand(command::kEditUndo);
    QVERIFY(sheet.toPlainText().startsWith("Cooling curves"));
    QCOMPARE(f.window().statusText(kCaretPart), QString("1 7"));
    // Ctrl+C in the sheet still copies the graph.
    QTest::keyClick(&sheet, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat("image/png"));
}

}  // namespace varnex

QTEST_MAIN(varnex::SheetCommandsTest)
#include "sheet_commands_test.moc"
