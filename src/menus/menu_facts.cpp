#include "menus/menu_facts.h"

#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QUrl>

#include "shell/commands.h"

namespace varnex {
FocusFacts textFocusFacts(const QWidget* focus) {
    FocusFacts facts;
    if (const auto* line = qobject_cast<const QLineEdit*>(focus)) {
        facts.textBox = true;
        facts.hasSelection = line->hasSelectedText();
        facts.canUndo = line->isUndoAvailable();
    } else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(focus)) {
        facts.textBox = facts.dataSheet = true;
        facts.hasSelection = plain->textCursor().hasSelection();
        facts.canUndo = plain->document()->isUndoAvailable();
    } else if (const auto* rich = qobject_cast<const QTextEdit*>(focus)) {
        facts.textBox = facts.dataSheet = true;
        facts.hasSelection = rich->textCursor().hasSelection();
        facts.canUndo = rich->document()->isUndoAvailable();
    }
    return facts;
}

void readClipboardFacts(const QClipboard& clipboard, MenuFacts& facts) {
    const QMimeData* data = clipboard.mimeData();
    facts.clipboardText = data && data->hasText();
    facts.clipboardFiles = false;
    if (data && data->hasUrls()) {
        for (const QUrl& url : data->urls()) facts.clipboardFiles = facts.clipboardFiles || url.isLocalFile();
    }
}

void applyMenuState(const MenuState& state, const std::function<QAction*(int id)>& actionOf) {
    for (const auto& [id, item] : state.items) {
        QAction* action = actionOf(id);
        if (!action) continue;
        action->setEnabled(item.enabled);
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(*item.checked);
        }
    }
    if (state.copyDataLabel) {
        if (QAction* action = actionOf(command::kCopyData)) action->setText(QString::fromLatin1(*state.copyDataLabel));
    }
}

}  // namespace varnex
