#include "datasheet/data_sheet.h"

#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

#include "document/sheet_file.h"
#include "render/output/qt/text_codec.h"
#include "shell/shell_fonts.h"
#include "util/codepage.h"
#include "util/file_replace.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {

DataSheet::DataSheet(int limittext, QWidget* parent)
    : QPlainTextEdit(parent), m_capacity(std::max<std::int64_t>(limittext, 0) * 1000) {
    setFont(shellFont());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

bool DataSheet::load(const std::string& path) {
    std::optional<SheetText> sheet = readSheetFile(path, m_capacity);
    if (!sheet) return false;
    // Decoding drops a UTF-8 byte-order mark; it is kept aside and written back in front of the text.
    constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
    const bool marked = systemCodePage() == CodePage::Utf8 && sheet->text.starts_with(kByteOrderMark);
    m_byteOrderMark = marked ? std::string(kByteOrderMark) : std::string();
    const QString shown = fromCodePage(std::string_view(sheet->text).substr(m_byteOrderMark.size()));
    // Bytes the code page cannot show decode to U+FFFD and would be written back as other bytes; a line
    // or paragraph separator of the file would be written back as a line end.
    m_savable = m_byteOrderMark + toCodePage(shown) == sheet->text && !shown.contains(QChar::LineSeparator) &&
                !shown.contains(QChar::ParagraphSeparator);
    m_complete = sheet->complete;
    m_fileName = path;
    setPlainText(shown);
    document()->setModified(false);
    m_lastCaret = -1;
    return true;
}

bool DataSheet::isModified() const { return m_complete && document()->isModified(); }

QString DataSheet::tabLabel() const {
    const std::string name = baseName(m_fileName);
    return fromCodePage(m_complete ? name : formatMessage("%s+", name.c_str()));
}

std::string DataSheet::fileText() const {
    // The raw text keeps every character (a plain-text copy would turn no-break spaces into spaces);
    // blocks and line breaks within a block both end a line in the file.
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return m_byteOrderMark + toCodePage(text);
}

DataSheet::SaveResult DataSheet::save() {
    if (!isModified()) return SaveResult::NotModified;
    if (!m_savable) return SaveResult::InvalidBytes;
    return replaceFileContents(m_fileName, fileText()) ? SaveResult::Saved : SaveResult::WriteFailed;
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
