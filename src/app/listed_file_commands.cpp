#include "app/listed_file_commands.h"

#include "app/command_actions.h"
#include "app/config/configuration.h"
#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/sheet_commands.h"
#include "document/child_files.h"
#include "document/listed_files.h"
#include "document/parameter_file.h"
#include "document/view_list.h"
#include "render/output/qt/text_codec.h"
#include "shell/commands.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {
namespace {

constexpr int kMaxListed = 99;        // 2000-2099, 8000-8099, 7000-7099
constexpr int kMaxSavedAs = 100;      // 9001-9100
constexpr int kMaxRenamed = 199;      // 9101-9299

constexpr std::string_view kInsertedFilter = "Inserted File (*.@)|*.@|";
constexpr std::string_view kInsertedExtension = "@";

bool inRange(int id, int base, int first, int last) { return id >= base + first && id <= base + last; }

std::string defaultExtension(const Configuration& config) {
    return config.extensions.empty() ? std::string() : config.extensions.front();
}

}  // namespace

ListedFileCommands::ListedFileCommands(Desktop& desktop) : m_desktop(desktop) {}

void ListedFileCommands::attach(QMenu& fileMenu) { m_fileMenu = &fileMenu; }

QAction* ListedFileCommands::addItem(QMenu& menu, int id, const QString& label, bool enabled) {
    QAction* item = menu.addAction(label);
    item->setData(id);
    item->setEnabled(enabled);
    connect(item, &QAction::triggered, this, [this, id] { m_desktop.actions().runCommand(id); });
    return item;
}

void ListedFileCommands::rebuild(const Document& doc) {
    if (!m_fileMenu) return;
    // The command that rebuilds may have come from one of these sub-menus: they go later.
    for (QAction* entry : m_entries) {
        m_fileMenu->removeAction(entry);
        if (entry->menu()) entry->menu()->deleteLater();
    }
    m_entries.clear();
    if (m_separator) {
        m_fileMenu->removeAction(m_separator);
        m_separator->deleteLater();
        m_separator = nullptr;
    }
    const std::vector<ListedFile> files = listedFiles(doc);
    if (files.empty()) return;
    m_separator = m_fileMenu->addSeparator();
    for (const ListedFile& file : files) {
        auto* sub = new QMenu(fromCodePage(file.label), m_fileMenu);
        const int k = file.index;
        addItem(*sub, command::kShowInSheet + k, QStringLiteral("&Data Sheet"), true);
        addItem(*sub, command::kEditFile + k, QStringLiteral("&Editor"), file.canEdit);
        if (k >= 1) {
            sub->addSeparator();
            addItem(*sub, command::kReleaseFile + k, QStringLiteral("&Release"), true);
            addItem(*sub, command::kRenameChildFile + k, QStringLiteral("&Rename Child File"), file.canRename);
            addItem(*sub, command::kSaveFileAs + k, QStringLiteral("Save &As "), file.canRename);
        }
        m_desktop.actions().attachSubMenu(*sub);  // status texts and states like every sub-menu
        m_entries.push_back(m_fileMenu->addMenu(sub));
    }
}

bool ListedFileCommands::run(int id) {
    const int files = m_desktop.document().files.count();
    if (inRange(id, command::kShowInSheet, 0, kMaxListed)) {
        m_desktop.sheet().showListedFile(id - command::kShowInSheet);
    } else if (inRange(id, command::kEditFile, 0, kMaxListed)) {
        const int n = id - command::kEditFile;
        if (n < files) m_desktop.programs().editWithEditor(m_desktop.configuration(), m_desktop.document().files.name(n));
    } else if (inRange(id, command::kReleaseFile, 0, kMaxListed)) {
        release(id - command::kReleaseFile);
    } else if (id == command::kSaveAs) {
        saveMainAs();
    } else if (inRange(id, command::kSaveFileAs, 1, kMaxSavedAs)) {
        saveAs(id - command::kSaveFileAs, false);
    } else if (inRange(id, command::kRenameChildFile, 1, kMaxRenamed)) {
        saveAs(id - command::kRenameChildFile, true);
    } else {
        return false;
    }
    return true;
}

void ListedFileCommands::saveMainAs() {
    const std::string old = m_desktop.document().files.name(0);
    if (old.empty()) return;
    m_desktop.applyAndRedraw();
    const Configuration& config = m_desktop.configuration();
    const std::string chosen = m_desktop.dialogs().save(
        {QStringLiteral("Save As"), proposedSaveName(old, false), folderOf(old), config.filter,
         defaultExtension(config)});
    if (chosen.empty()) return;
    const std::vector<std::string> targets = saveMainAsTargets(m_desktop.views(), chosen);
    switch (saveMainFileAs(m_desktop.views(), chosen)) {
        case SaveAsResult::NotCopied:
            return;
        case SaveAsResult::CopyFailed:
            reportCopyFailed(old, chosen);
            return;
        case SaveAsResult::ParametersNotWritten:
            m_desktop.messages().inform(
                kErrorCaption, formatMessage("%s\ncannot be written. Nothing was saved.", chosen.c_str()));
            return;
        case SaveAsResult::Saved:
            break;
    }
    DocumentCommands& documents = m_desktop.documents();
    // The child files copied for the new main file are this run's, as pasted ones are.
    for (const std::string& target : targets) {
        if (isChildFile(target)) documents.madeChildFiles().add(target);
    }
    documents.markSaved();
    const std::string saved = m_desktop.document().files.name(0);  // a copy: opening replaces the list
    documents.open(saved);
}

void ListedFileCommands::saveAs(int n, bool childForm) {
    const Document& doc = m_desktop.document();
    if (n < 1 || n > doc.files.appendedCount()) return;
    const std::string old = doc.files.name(n);
    const std::string main = doc.files.name(0);
    m_desktop.applyAndRedraw();
    const Configuration& config = m_desktop.configuration();
    const SaveDialogRequest request =
        childForm ? SaveDialogRequest{QStringLiteral("Save As *.@"), proposedSaveName(old, true), folderOf(old),
                                      std::string(kInsertedFilter), std::string(kInsertedExtension)}
                  : SaveDialogRequest{QStringLiteral("Save As *.dat"), proposedSaveName(old, true), folderOf(old),
                                      config.filter, defaultExtension(config)};
    std::string chosen = m_desktop.dialogs().save(request);
    if (chosen.empty()) return;
    MessageBoxes& messages = m_desktop.messages();
    if (!sameDrive(old, chosen)) {
        messages.inform(kCaption, formatMessage("%s -> %s\n異なるﾄﾞﾗｲﾌﾞには保存できません", old.c_str(), chosen.c_str()));
        return;
    }
    if (childForm) {
        const ChildFileName child = childFileName(chosen, main);
        if (child.renamed) {
            const std::string m = baseName(main);
            const std::string c = baseName(chosen);
            messages.inform(kCaption,
                            formatMessage("注意！\n\n拡張子が.@の子ﾌｧｲﾙは、\n\t%s.*.@\nという名前でなければなりません。"
                                          "ﾌｧｲﾙ名は、\n\t%s.%s\nと解釈されます。",
                                          m.c_str(), m.c_str(), c.c_str()));
        }
        chosen = child.name;
    }
    switch (moveListedFile(m_desktop.views(), n, chosen)) {
        case SaveAsResult::NotCopied:
            return;
        case SaveAsResult::CopyFailed:
            reportCopyFailed(old, chosen);
            return;
        case SaveAsResult::ParametersNotWritten:
            messages.inform(kErrorCaption, formatMessage("%s\ncannot be written. %s stays as it was.",
                                                         parameterFileName(main).c_str(), old.c_str()));
            return;
        case SaveAsResult::Saved:
            break;
    }
    DocumentCommands& documents = m_desktop.documents();
    if (documents.madeChildFiles().contains(old)) documents.madeChildFiles().forget(old);
    if (isChildFile(chosen)) documents.madeChildFiles().add(chosen);
    documents.markSaved();
    documents.open(main);
    m_desktop.sheet().reloadSheet(-1);
}

void ListedFileCommands::reportCopyFailed(const std::string& from, const std::string& to) {
    const char* format = fileExists(from) ? "%s\ncannot be written. Nothing was saved."
                                          : "%s\ncannot be read. Nothing was saved.";
    m_desktop.messages().inform(kErrorCaption, formatMessage(format, (fileExists(from) ? to : from).c_str()));
}

void ListedFileCommands::release(int n) {
    if (releaseListedFile(m_desktop.views(), n) == ReleaseResult::NotListed) return;
    m_desktop.documents().reload();
    // The reload does nothing while another listed file is missing: the entries must still follow the
    // list, or a later command would act on the file that moved up into the released one's place.
    rebuild(m_desktop.document());
    m_desktop.sheet().reloadSheet(-1);
}

}  // namespace varnex
