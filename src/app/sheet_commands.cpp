#include "app/sheet_commands.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/main_window.h"
#include "datasheet/data_sheet.h"
#include "datasheet/find_dialog.h"
#include "render/output/qt/text_codec.h"
#include "shell/commands.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {
namespace {

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
    switch (m_sheet->save()) {
        case DataSheet::SaveResult::NotModified:
            return;
        case DataSheet::SaveResult::InvalidBytes:
            m_desktop.messages().inform(
                kCaption, formatMessage("%s\nholds bytes that are not text in this code page.\n"
                                        "The data sheet does not save it, so that none of them is lost.",
                                        file.c_str()));
            return;
        case DataSheet::SaveResult::WriteFailed:
            m_desktop.messages().inform(
                kErrorCaption, formatMessage("%s\ncannot be written. The file is unchanged.", file.c_str()));
            return;
        case DataSheet::SaveResult::Saved:
            m_desktop.documents().reload();
            return;
    }
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
