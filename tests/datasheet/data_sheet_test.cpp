// The data sheet alone: what a file looks like in it, what is written back, the size limit, bytes the
// code page cannot show, the caret report and the find step.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextBlock>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "datasheet/data_sheet.h"
#include "render/output/qt/text_codec.h"
#include "util/codepage.h"

namespace varnex {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Types text at the end of the sheet, as a user would.
void typeAtEnd(DataSheet& sheet, const QString& text) {
    sheet.moveCursor(QTextCursor::End);
    QTest::keyClicks(&sheet, text);
}

// Types text as key events that carry each character (QTest's own key clicks carry Latin-1 only).
void typeCharacters(QWidget& widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
        const QString character = text.mid(i, length);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
        QApplication::sendEvent(&widget, &press);
        QApplication::sendEvent(&widget, &release);
        i += length - 1;
    }
}

}  // namespace

class DataSheetTest : public QObject {
    Q_OBJECT
private slots:
    void pasteOfAnEmptyClipboardInsertsNothing();
    void savedTextIsTheFileWithCrLfLines_data();
    void savedTextIsTheFileWithCrLfLines();
    void textAtTheLimitIsCompleteAndOneLineMoreIsNeverSaved();
    void bytesInvalidInTheCodePageAreNeverSaved_data();
    void bytesInvalidInTheCodePageAreNeverSaved();
    void unchangedSheetIsNotSavedAndAChangeStaysModified();
    void fileChangedOnDiskIsWrittenOnlyWhenTheCallerSays();
    void typingAndPastingStopAtTheTextLimit();
    void characterShiftJisCannotHoldIsRefusedWithItsLine();
    void shiftJisFileIsShownAndSavedInShiftJis();
    void caretReportFollowsTheSelectionStart();
    void findWrapsOnceAndReportsNothingFound_data();
    void findWrapsOnceAndReportsNothingFound();

private:
    QTemporaryDir m_dir;
    std::string path(const char* name) const { return m_dir.filePath(name).toStdString(); }
};

void DataSheetTest::savedTextIsTheFileWithCrLfLines_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("last line without line end") << QByteArray("x y\n1 2\n3 4") << QByteArray("x y\r\n1 2\r\n3 4\r\n");
    QTest::newRow("trailing blanks go, tabs stay") << QByteArray("1\t2  \r\n\r\n") << QByteArray("1\t2\r\n\r\n");
    const QByteArray line(2000, '9');
    QTest::newRow("a line of 2000 characters") << line + "\n1 2\n" << line + "\r\n1 2\r\n";
    QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xef\xbb\xbfT 1\n1 2")
                                           << QByteArray("\xef\xbb\xbfT 1\r\n1 2\r\n");
    QTest::newRow("no-break space and umlaut") << QByteArray("T\xc2\xa0\xc3\xbc\n") << QByteArray("T\xc2\xa0\xc3\xbc\r\n");
}

// Each file is edited (a character typed and removed again) and saved.
void DataSheetTest::savedTextIsTheFileWithCrLfLines() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, saved);
    const std::string name = path("lines.dat");
    writeFile(name, file.toStdString());
    DataSheet sheet(1000);
    QVERIFY(sheet.load(name));
    QCOMPARE(sheet.tabLabel(), QString("lines.dat"));
    typeAtEnd(sheet, "z");
    QTest::keyClick(&sheet, Qt::Key_Backspace);
    QVERIFY(sheet.isModified());
    QCOMPARE(sheet.save(), DataSheet::SaveResult::Saved);
    QCOMPARE(QByteArray::fromStdString(readFile(name)), saved);
    QCOMPARE(sheet.document()->blockCount(), saved.count("\r\n") + 1);
}

void DataSheetTest::textAtTheLimitIsCompleteAndOneLineMoreIsNeverSaved() {
    // limittext 1: complete while the text holds at most 1000 − 256 = 744 bytes.
    std::string text;
    for (int i = 0; i < 93; ++i) text += "123456\n";  // 93 × 8 = 744 bytes with "\r\n"
    const std::string name = path("limit.dat");
    writeFile(name, text);
    DataSheet sheet(1);
    QVERIFY(sheet.load(name));
    QVERIFY(sheet.isComplete());
    QCOMPARE(sheet.tabLabel(), QString("limit.dat"));

    writeFile(name, text + "7\n8\n");
    QVERIFY(sheet.load(name));
    QVERIFY(!sheet.isComplete());
    QCOMPARE(sheet.tabLabel(), QString("limit.dat+"));
    QCOMPARE(sheet.document()->blockCount(), 95);  // the line that crosses the limit stays
    typeAtEnd(sheet, "1");
    QVERIFY(!sheet.isModified());
    QCOMPARE(sheet.save(), DataSheet::SaveResult::NotModified);
    QCOMPARE(readFile(name), text + "7\n8\n");
}

void DataSheetTest::bytesInvalidInTheCodePageAreNeverSaved_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("not UTF-8") << QByteArray("Run \xff\xfe\n1 2\n");
    // Valid UTF-8, but the sheet would write these characters back as line ends.
    QTest::newRow("line separator") << QByteArray("Run\xe2\x80\xa8" "A\n1 2\n");
    QTest::newRow("paragraph separator") << QByteArray("Run\xe2\x80\xa9" "A\n1 2\n");
    // A carriage return inside a line and the frame marks start a new paragraph in the text box.
    QTest::newRow("lone carriage return") << QByteArray("1 2\r3 4\n5 6\n");
    QTest::newRow("U+FDD0") << QByteArray("1 2\xef\xb7\x90" "3 4\n");
    QTest::newRow("U+FDD1") << QByteArray("1 2\xef\xb7\x91" "3 4\n");
}

void DataSheetTest::bytesInvalidInTheCodePageAreNeverSaved() {
    QFETCH(QByteArray, file);
    const std::string bytes = file.toStdString();
    const std::string name = path("latin.dat");
    writeFile(name, bytes);
    DataSheet sheet(1000);
    QVERIFY(sheet.load(name));
    QVERIFY(!sheet.isSavable());
    if (file.contains('\xff')) QVERIFY(sheet.toPlainText().contains(QChar::ReplacementCharacter));
    typeAtEnd(sheet, "3 4");
    QVERIFY(sheet.isModified());
    QCOMPARE(sheet.save(), DataSheet::SaveResult::InvalidBytes);
    QCOMPARE(readFile(name), bytes);
}

void DataSheetTest::unchangedSheetIsNotSavedAndAChangeStaysModified() {
    const std::string name = path("same.dat");
    writeFile(name, "1 2\n");
    DataSheet sheet(1000);
    QVERIFY(sheet.load(name));
    const auto before = std::filesystem::last_write_time(name);
    QCOMPARE(sheet.save(), DataSheet::SaveResult::NotModified);
    QCOMPARE(readFile(name), std::string("1 2\n"));
    QCOMPARE(std::filesystem::last_write_time(name), before);

    typeAtEnd(sheet, "3 4");
    QCOMPARE(sheet.save(), DataSheet::SaveResult::Saved);
    QVERIFY(sheet.isModified());  // until the sheet is loaded again
    QVERIFY(sheet.load(name));
    QVERIFY(!sheet.isModified());
    QCOMPARE(sheet.toPlainText(), QString("1 2\n3 4\n"));
}

void DataSheetTest::fileChangedOnDiskIsWrittenOnlyWhenTheCallerSays() {
    const std::string name = path("measured.dat");
    writeFile(name, "1 2\n");
    DataSheet sheet(1000);
    QVERIFY(sheet.load(name));
    QVERIFY(!sheet.changedOnDisk());
    typeAtEnd(sheet, "3 4");
    writeFile(name, "1 2\n5 6\n");  // a measurement rewrote the file
    QVERIFY(sheet.changedOnDisk());
    QCOMPARE(sheet.save(), DataSheet::SaveResult::ChangedOnDisk);
    QCOMPARE(readFile(name), std::string("1 2\n5 6\n"));
    QVERIFY(sheet.isModified());
    QCOMPARE(sheet.save(true), DataSheet::SaveResult::Saved);
    QCOMPARE(readFile(name), std::string("1 2\r\n3 4"));
    // Its own save is no change on disk.
    QVERIFY(!sheet.changedOnDisk());
    typeAtEnd(sheet, "5");
    QCOMPARE(sheet.save(), DataSheet::SaveResult::Saved);
}

// Whatever is typed or pasted, the file the sheet writes stays within the size a later load reads
// whole (limittext × 1000 − 256 bytes), so an edited file can always be saved again.
void DataSheetTest::typingAndPastingStopAtTheTextLimit() {
    const std::string name = path("full.dat");
    std::string text;
    for (int i = 0; i < 90; ++i) text += "123456\n";  // 720 bytes with "\r\n"; the limit is 744
    writeFile(name, text);
    DataSheet sheet(1);
    QCOMPARE(sheet.textLimit(), std::int64_t{742});  // and 2 for the line end a load adds
    QVERIFY(sheet.load(name));
    QSignalSpy refused(&sheet, &DataSheet::pasteRefused);

    // A paste that would pass the limit is refused whole; one that fits goes in.
    QGuiApplication::clipboard()->setText(QString(30, 'x'));
    sheet.moveCursor(QTextCursor::End);
    sheet.paste();
    QCOMPARE(refused.count(), 1);
    QCOMPARE(sheet.fileSize(), std::int64_t{720});
    QGuiApplication::clipboard()->setText(QString::fromUtf8("ä\r\n1\r2"));  // 2 + 2 + 1 + 2 + 1 bytes
    sheet.paste();
    QCOMPARE(refused.count(), 1);
    QCOMPARE(sheet.fileSize(), std::int64_t{728});

    // Typing (multibyte characters and line ends among it) stops at the limit.
    for (int i = 0; i < 40; ++i) {
        typeCharacters(sheet, QString::fromUtf8("9é€ 8"));  // 1 + 2 + 3 + 1 + 1 bytes
        QTest::keyClick(&sheet, Qt::Key_Return);             // 2 bytes
    }
    QCOMPARE(sheet.fileSize(), std::int64_t{742});  // a character too wide for the rest was refused
    // Replacing a selection by a shorter text still works at the limit.
    sheet.moveCursor(QTextCursor::Start);
    sheet.moveCursor(QTextCursor::Right, QTextCursor::KeepAnchor);
    sheet.moveCursor(QTextCursor::Right, QTextCursor::KeepAnchor);
    QTest::keyClicks(&sheet, "7");
    QVERIFY(sheet.toPlainText().startsWith("73456"));
    QCOMPARE(sheet.save(), DataSheet::SaveResult::Saved);
    QVERIFY(sheet.load(name));
    QVERIFY(sheet.isComplete());
}

void DataSheetTest::characterShiftJisCannotHoldIsRefusedWithItsLine() {
    if (fromCodePage("\x8c\x8e", CodePage::ShiftJis) != QString::fromUtf8("月")) QSKIP("no Shift-JIS codec");
    setSystemCodePage(CodePage::ShiftJis);
    const std::string bytes = "\x8c\x8e\n1 2\n";
    const std::string name = path("sjis-euro.dat");
    writeFile(name, bytes);
    DataSheet sheet(1000);
    const bool loaded = sheet.load(name);
    sheet.setTextCursor(QTextCursor(sheet.document()->findBlockByNumber(1)));
    typeCharacters(sheet, QString::fromUtf8("温€😀"));
    const DataSheet::SaveResult result = sheet.save();
    setSystemCodePage(CodePage::Utf8);
    QVERIFY(loaded);
    QCOMPARE(result, DataSheet::SaveResult::Unencodable);
    QCOMPARE(sheet.unencodable().line, 2);
    QCOMPARE(sheet.unencodable().character, char32_t{0x20AC});
    QCOMPARE(readFile(name), bytes);
}

void DataSheetTest::shiftJisFileIsShownAndSavedInShiftJis() {
    if (fromCodePage("\x8c\x8e", CodePage::ShiftJis) != QString::fromUtf8("月")) QSKIP("no Shift-JIS codec");
    setSystemCodePage(CodePage::ShiftJis);
    const std::string bytes = "\x8c\x8e\x95\xca \xb1\n1 2\n";  // 月別 and a half-width katakana
    const std::string name = path("sjis.dat");
    writeFile(name, bytes);
    DataSheet sheet(1000);
    const bool loaded = sheet.load(name);
    const QString shown = sheet.toPlainText();
    const bool savable = sheet.isSavable();
    typeAtEnd(sheet, "3 4");
    const DataSheet::SaveResult result = sheet.save();
    setSystemCodePage(CodePage::Utf8);
    QVERIFY(loaded);
    QCOMPARE(shown, QString::fromUtf8("月別 ｱ\n1 2\n"));
    QVERIFY(savable);
    QCOMPARE(result, DataSheet::SaveResult::Saved);
    QCOMPARE(readFile(name), std::string("\x8c\x8e\x95\xca \xb1\r\n1 2\r\n3 4"));
}

void DataSheetTest::caretReportFollowsTheSelectionStart() {
    const std::string name = path("caret.dat");
    writeFile(name, "abc\ndefg\n");
    DataSheet sheet(1000);
    QVERIFY(sheet.load(name));
    QCOMPARE(sheet.caretReport(), std::optional<QString>("1 0"));
    QCOMPARE(sheet.caretReport(), std::nullopt);
    QTextCursor cursor = sheet.textCursor();
    cursor.setPosition(6);  // "de|fg"
    sheet.setTextCursor(cursor);
    QCOMPARE(sheet.caretReport(), std::optional<QString>("2 2"));
    cursor.setPosition(8, QTextCursor::KeepAnchor);  // extending the selection's end
    sheet.setTextCursor(cursor);
    QCOMPARE(sheet.caretReport(), std::nullopt);
}

void DataSheetTest::findWrapsOnceAndReportsNothingFound_data() {
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionEnd");
    // The sheet holds "alpha beta\nAlphabet\n"; positions count characters.
    QTest::newRow("forward from the caret") << 1 << "alpha" << 0 << true << 11 << 16;
    QTest::newRow("wraps to the start") << 12 << "beta" << 0 << true << 6 << 10;
    QTest::newRow("match case") << 1 << "Alpha" << int(QTextDocument::FindCaseSensitively) << true << 11 << 16;
    QTest::newRow("whole word") << 1 << "alpha" << int(QTextDocument::FindWholeWords) << true << 0 << 5;
    QTest::newRow("nothing: caret back where it was") << 7 << "gamma" << 0 << false << 7 << 7;
}

void DataSheetTest::findWrapsOnceAndReportsNothingFound() {
    QFETCH(int, caret);
    QFETCH(QString, text);
    QFETCH(int, flags);
    QFETCH(bool, found);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionEnd);
    const std::string name = path("find.dat");
    writeFile(name, "alpha beta\nAlphabet\n");
    DataSheet sheet(1000);
    QVERIFY(sheet.load(name));
    QTextCursor cursor = sheet.textCursor();
    cursor.setPosition(caret);
    sheet.setTextCursor(cursor);
    QCOMPARE(sheet.findNext(text, QTextDocument::FindFlags(flags)), found);
    QCOMPARE(sheet.textCursor().selectionStart(), selectionStart);
    QCOMPARE(sheet.textCursor().selectionEnd(), selectionEnd);
}

// Pasting data without text (an X11 clipboard without an owner, a copied graph) inserts nothing; text
// is inserted at the cursor.
void DataSheetTest::pasteOfAnEmptyClipboardInsertsNothing() {
    struct Sheet : DataSheet {
        using DataSheet::DataSheet;
        using DataSheet::insertFromMimeData;
    } sheet(1000);
    sheet.setPlainText("1 2");
    sheet.insertFromMimeData(nullptr);
    QMimeData graph;  // a copied graph: pictures, no text
    graph.setData("image/svg+xml", "<svg/>");
    sheet.insertFromMimeData(&graph);
    QCOMPARE(sheet.toPlainText(), QString("1 2"));
    QMimeData text;
    text.setText("\n3 4");
    sheet.moveCursor(QTextCursor::End);
    sheet.insertFromMimeData(&text);
    QCOMPARE(sheet.toPlainText(), QString("1 2\n3 4"));
}

}  // namespace varnex

QTEST_MAIN(varnex::DataSheetTest)
#include "data_sheet_test.moc"
