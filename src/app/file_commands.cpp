#include "app/file_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "app/command_actions.h"
#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/file_dialogs.h"
#include "app/listed_file_commands.h"
#include "app/sheet_commands.h"
#include "app/view_commands.h"
#include "shell/commands.h"

namespace varnex {

bool runFileCommand(Desktop& d, int id) {
    DocumentCommands& documents = d.documents();
    switch (id) {
        case command::kInsert: {
            const std::string name = d.dialogs().open(QStringLiteral("Insert file"));
            if (!name.empty()) documents.append(name);
            return true;
        }
        case command::kSave:
            d.applyAndRedraw();
            if (documents.saveParameters()) documents.reload();
            return true;
        case command::kSaveData:
            d.sheet().saveData();
            return true;
        case command::kEditCopy:
        case command::kEditUndo:
        case command::kEditPaste:
        case command::kEditCut:
            SheetCommands::editFocused(id);
            return true;
        case command::kFind:
            d.sheet().openFind();
            return true;
        case command::kPaste:
        case command::kPasteAsNewGraph:
            if (const QMimeData* data = QGuiApplication::clipboard()->mimeData())
                documents.paste(*data, id == command::kPasteAsNewGraph);
            return true;
        case command::kMarker:
            documents.setPasteMarkers(!documents.pasteMarkers());
            if (QAction* marker = d.actions().action(command::kMarker)) marker->setChecked(documents.pasteMarkers());
            return true;
        default:
            return d.viewCommands().run(id) || d.listedFiles().run(id);
    }
}

}  // namespace varnex
