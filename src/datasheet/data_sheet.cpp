#include "datasheet/data_sheet.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <algorithm>

#include "document/sheet_file.h"
#include "render/output/qt/text_codec.h"
#include "shell/shell_fonts.h"
#include "util/codepage.h"
#include "util/file_replace.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {

namespace {

// The text of a document's raw text as the file holds it: blocks and line breaks within a block both
// end a line in the file.
std::string encodedLines(QString text) {
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return toCodePage(text);
}

// Inserted text with its line breaks as the text box makes them: CR LF, CR, LF and the frame marks
// each start a new paragraph.
QString asParagraphs(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QChar brk : {QChar(u'\r'), QChar(u'\n'), QChar(0xFDD0), QChar(0xFDD1)}) {
        text.replace(brk, QChar::ParagraphSeparator);
    }
    return text;
}

constexpr std::int64_t kLineEndBytes = 2;

// The most bytes one UTF-16 unit of the text box can take in the file: three in UTF-8 (a surrogate
// pair takes four for two units), two for a line end (CR LF) and for a Shift-JIS character.
constexpr std::int64_t kMostBytesPerUnit = 3;

}  // namespace

DataSheet::DataSheet(int limittext, QWidget* parent)
    : QPlainTextEdit(parent), m_capacity(std::max<std::int64_t>(limittext, 0) * 1000) {
    setFont(shellFont());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

bool DataSheet::load(const std::string& path) {
    // Stamped before reading: a write during the reading then counts as a change since the load.
    const FileStamp stamp = fileStamp(path);
    std::optional<SheetText> sheet = readSheetFile(path, m_capacity);
    if (!sheet) return false;
    // Decoding drops a UTF-8 byte-order mark; it is kept aside and written back in front of the text.
    constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
    const bool marked = systemCodePage() == CodePage::Utf8 && sheet->text.starts_with(kByteOrderMark);
    m_byteOrderMark = marked ? std::string(kByteOrderMark) : std::string();
    m_complete = sheet->complete;
    m_fileName = path;
    m_stamp = stamp;
    setPlainText(fromCodePage(std::string_view(sheet->text).substr(m_byteOrderMark.size())));
    // Whatever the text box cannot give back byte for byte (bytes invalid in the code page, which decode
    // to U+FFFD; a carriage return inside a line or a character it takes for a line break, either of
    // which starts a new paragraph) would change the file at the first save of an edit elsewhere.
    m_savable = fileText() == sheet->text;
    document()->setModified(false);
    m_lastCaret = -1;
    return true;
}

bool DataSheet::isModified() const { return m_complete && document()->isModified(); }

// A load ends a last line that has no line end with one: the limit keeps room for it.
std::int64_t DataSheet::textLimit() const {
    return std::max<std::int64_t>(m_capacity - kSheetReserve - kLineEndBytes, 0);
}

std::int64_t DataSheet::fileSize() const { return static_cast<std::int64_t>(fileText().size()); }

bool DataSheet::changedOnDisk() const { return fileStamp(m_fileName) != m_stamp; }

QString DataSheet::tabLabel() const {
    const std::string name = baseName(m_fileName);
    return fromCodePage(m_complete ? name : formatMessage("%s+", name.c_str()));
}

std::string DataSheet::fileText() const {
    // The raw text keeps every character (a plain-text copy would turn no-break spaces into spaces).
    return m_byteOrderMark + encodedLines(document()->toRawText());
}

bool DataSheet::fitsWith(const QString& inserted) const {
    const QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int removed = cursor.selectionEnd() - start;
    const std::int64_t units = document()->characterCount() - removed + inserted.size();
    const auto mark = static_cast<std::int64_t>(m_byteOrderMark.size());
    if (mark + units * kMostBytesPerUnit <= textLimit()) return true;  // far from the limit
    QString text = document()->toRawText();
    text.replace(start, removed, asParagraphs(inserted));
    return mark + static_cast<std::int64_t>(encodedLines(text).size()) <= textLimit();
}

void DataSheet::keyPressEvent(QKeyEvent* event) {
    // The text box's own paste key hands a clipboard without data to the text control, which crashes;
    // the sheet pastes through insertFromMimeData, which also keeps the size limit.
    if (event->matches(QKeySequence::Paste)) {
        insertFromMimeData(QGuiApplication::clipboard()->mimeData());
        event->accept();
        return;
    }
    QString inserted;
    if (event->matches(QKeySequence::InsertParagraphSeparator) || event->matches(QKeySequence::InsertLineSeparator)) {
        inserted = QStringLiteral("\n");
    } else if (!(event->modifiers() & Qt::ControlModifier) && !event->text().isEmpty() &&
               (event->text().front().isPrint() || event->text().front() == u'\t')) {
        inserted = event->text();
    }
    if (!isReadOnly() && !inserted.isEmpty() && !fitsWith(inserted)) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DataSheet::inputMethodEvent(QInputMethodEvent* event) {
    if (!isReadOnly() && !event->commitString().isEmpty() && !fitsWith(event->commitString())) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void DataSheet::insertFromMimeData(const QMimeData* source) {
    // The sheet takes plain text only. Qt's own insertion of data without text (a copied graph, or an
    // X11 clipboard without an owner) crashes, so the sheet inserts the text itself, as Qt would.
    if (!source || !source->hasText() || isReadOnly()) return;
    const QString text = source->text();
    if (!fitsWith(text)) {
        emit pasteRefused();
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.insertFragment(QTextDocumentFragment::fromPlainText(text));
    setTextCursor(cursor);
    ensureCursorVisible();
}

DataSheet::SaveResult DataSheet::save(bool overwriteChanged) {
    if (!isModified()) return SaveResult::NotModified;
    if (!m_savable) return SaveResult::InvalidBytes;
    const QString text = document()->toRawText();
    // The line breaks as the one-unit line feed, so that a position in it is one in the document.
    QString lines = text;
    lines.replace(QChar::ParagraphSeparator, u'\n');
    lines.replace(QChar::LineSeparator, u'\n');
    if (const std::optional<qsizetype> at = firstUnencodable(lines)) {
        const QChar first = text[*at];
        const bool pair = first.isHighSurrogate() && *at + 1 < text.size() && text[*at + 1].isLowSurrogate();
        m_unencodable.character = pair ? QChar::surrogateToUcs4(first, text[*at + 1]) : first.unicode();
        m_unencodable.line = document()->findBlock(static_cast<int>(*at)).blockNumber() + 1;
        return SaveResult::Unencodable;
    }
    if (!overwriteChanged && changedOnDisk()) return SaveResult::ChangedOnDisk;
    if (!replaceFileContents(m_fileName, m_byteOrderMark + encodedLines(text))) return SaveResult::WriteFailed;
    m_stamp = fileStamp(m_fileName);
    return SaveResult::Saved;
}

std::optional<QString> DataSheet::caretReport() {
    const int start = textCursor().selectionStart();
    if (start == m_lastCaret) return std::nullopt;
    m_lastCaret = start;
    const QTextBlock block = document()->findBlock(start);
    return QString::fromLatin1(formatMessage("%d %d", block.blockNumber() + 1, start - block.position()));
}

void DataSheet::placeCaret(int position) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, std::max(0, document()->characterCount() - 1)));
    setTextCursor(cursor);
}

bool DataSheet::findNext(const QString& text, QTextDocument::FindFlags flags) {
    int from = textCursor().selectionEnd();
    for (;;) {
        const QTextCursor found = text.isEmpty() ? QTextCursor() : document()->find(text, from, flags);
        if (!found.isNull()) {
            setTextCursor(found);
            ensureCursorVisible();
            setFocus();
            return true;
        }
        if (from == 0) break;
        m_wrapPosition = textCursor().selectionEnd();
        placeCaret(0);
        from = 0;
    }
    placeCaret(m_wrapPosition);
    return false;
}

}  // namespace varnex
