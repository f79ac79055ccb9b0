#include "app/sheet_commands.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cctype>
#include <charconv>
#include <cstdint>

#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/main_window.h"
#include "datasheet/data_sheet.h"
#include "datasheet/find_dialog.h"
#include "render/output/qt/text_codec.h"
#include "shell/commands.h"
#include "util/codepage.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {
namespace {

// "U+20AC" of a character.
std::string unicodeName(char32_t character) {
    char digits[8] = {};
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(character), 16).ptr;
    std::string hex(digits, end);
    for (char& c : hex) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (hex.size() < 4) hex.insert(0, 4 - hex.size(), '0');
    return "U+" + hex;
}

const char* codePageName(CodePage codePage) { return codePage == CodePage::ShiftJis ? "Shift-JIS" : "UTF-8"; }

template <typename TextBox>
void editText(TextBox& box, int id) {
    switch (id) {
        case command::kEditCopy: box.copy(); break;
        case command::kEditUndo: box.undo(); break;
        case command::kEditPaste: box.paste(); break;
        case command::kEditCut: box.cut(); break;
        default: break;
    }
}

}  // namespace

SheetCommands::SheetCommands(Desktop& desktop) : m_desktop(desktop) {
    QWidget& page = desktop.window().page(kDataPage);
    auto* layout = new QVBoxLayout(&page);
    layout->setContentsMargins(0, 0, 0, 0);
    m_sheet = new DataSheet(desktop.configuration().limittext, &page);
    layout->addWidget(m_sheet);
    connect(m_sheet, &DataSheet::cursorPositionChanged, this, &SheetCommands::caretReport);
    connect(m_sheet, &DataSheet::pasteRefused, this, &SheetCommands::pasteRefused);
}

SheetCommands::~SheetCommands() {
    if (m_find) m_find->deleteLater();
}

void SheetCommands::reloadSheet(int n) {
    const Document& doc = m_desktop.document();
    if (n < 0) n = m_shownIndex;
    MainWindow& window = m_desktop.window();
    const bool shown = window.pageShown();
    if (shown) window.hideCurrentPage();
    for (int k = std::min(n, doc.files.count() - 1); k >= 0; --k) {
        if (m_sheet->load(doc.files.name(k))) {
            m_shownIndex = k;
            window.setDataTabLabel(m_sheet->tabLabel());
            break;
        }
    }
    if (!shown) return;
    window.showRememberedPage();
    if (window.currentPage() == kDataPage) m_sheet->setFocus();
}

void SheetCommands::showFile(const std::string& path) {
    const auto& names = m_desktop.document().files.names();
    const auto it = std::find(names.begin(), names.end(), path);
    reloadSheet(it == names.end() ? 0 : static_cast<int>(it - names.begin()));
}

void SheetCommands::showListedFile(int n) {
    if (n >= m_desktop.document().files.count()) return;
    m_desktop.showPage(kDataPage);
    reloadSheet(n);
}

void SheetCommands::saveData() {
    const std::string file = m_sheet->fileName();
    MessageBoxes& messages = m_desktop.messages();
    DataSheet::SaveResult result = m_sheet->save();
    if (result == DataSheet::SaveResult::ChangedOnDisk) {
        // A measurement may have rewritten the file while the user edited it: its new rows would go.
        if (messages.askDefaultNo(kCaption, formatMessage(kChangedOnDiskQuestion, file.c_str())) != 1) return;
        result = m_sheet->save(true);
    }
    switch (result) {
        case DataSheet::SaveResult::NotModified:
        case DataSheet::SaveResult::ChangedOnDisk:
            return;
        case DataSheet::SaveResult::InvalidBytes:
            messages.inform(kCaption,
                            formatMessage("%s\nholds bytes that are not text in this code page, or line breaks that "
                                          "the data sheet cannot keep as they are.\n"
                                          "The data sheet does not save it, so that none of them is lost.",
                                          file.c_str()));
            return;
        case DataSheet::SaveResult::Unencodable: {
            const DataSheet::UnencodableCharacter at = m_sheet->unencodable();
            messages.inform(kErrorCaption,
                            formatMessage("%s\nline %d holds the character %s, which %s cannot hold.\n"
                                          "Nothing was written; the file is unchanged.",
                                          file.c_str(), at.line, unicodeName(at.character).c_str(),
                                          codePageName(systemCodePage())));
            return;
        }
        case DataSheet::SaveResult::WriteFailed:
            messages.inform(kErrorCaption, formatMessage("%s\ncannot be written. The file is unchanged.", file.c_str()));
            return;
        case DataSheet::SaveResult::Saved:
            m_desktop.documents().reload();
            return;
    }
}

void SheetCommands::pasteRefused() {
    const std::string limit = std::to_string(m_sheet->textLimit());
    m_desktop.messages().inform(
        kCaption, formatMessage("The pasted text would make the file larger than the data sheet can hold "
                                "(%s bytes, from limittext=%d).\nNothing was pasted.",
                                limit.c_str(), m_desktop.configuration().limittext));
}

void SheetCommands::openFind() {
    if (m_find || QApplication::focusWidget() != m_sheet) return;
    m_find = new FindDialog(m_findText, &m_desktop.window());
    connect(m_find, &FindDialog::findNextRequested, this, &SheetCommands::findStep);
    connect(m_find, &FindDialog::closing, this, &SheetCommands::findClosed);
    m_find->show();
    // A new top-level window is not always given the keyboard (without a window manager, say): ask for
    // it, so that typing goes into the search text and never into the data.
    m_find->raise();
    m_find->activateWindow();
}

void SheetCommands::findStep() {
    if (!m_find) return;
    m_findText = m_find->text();
    const bool found = m_sheet->findNext(m_findText, m_find->flags());
    m_desktop.window().setStatusText(kMessagePart, QString::fromUtf8(found ? kFoundText : kNotFoundText));
}

void SheetCommands::findClosed() {
    if (m_find) m_findText = m_find->text();
    m_find = nullptr;
    m_desktop.window().setStatusText(kMessagePart, {});
}

void SheetCommands::editFocused(int id) {
    QWidget* focus = QApplication::focusWidget();
    if (auto* combo = qobject_cast<QComboBox*>(focus); combo && combo->lineEdit()) focus = combo->lineEdit();
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        editText(*line, id);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        editText(*plain, id);
    } else if (auto* rich = qobject_cast<QTextEdit*>(focus)) {
        editText(*rich, id);
    }
}

void SheetCommands::caretReport() {
    if (const auto text = m_sheet->caretReport()) m_desktop.window().setStatusText(kCaretPart, *text);
}

}  // namespace varnex
