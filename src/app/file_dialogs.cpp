#include "app/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

#include "app/config/configuration.h"
#include "render/output/qt/text_codec.h"

namespace varnex {

QStringList qtFileFilters(std::string_view filter) {
    if (filter.empty()) return {};
    const QString text = fromCodePage(filter);
    const QStringList items = text.split(text.back(), Qt::SkipEmptyParts);
    QStringList lines;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        QString description = items[i];
        const qsizetype open = description.lastIndexOf('(');
        if (open >= 0) description.truncate(open);
        QStringList patterns = items[i + 1].split(';', Qt::SkipEmptyParts);
        lines << description.trimmed() + " (" + patterns.join(' ') + ")";
    }
    return lines;
}

std::string openFileDialog(QWidget* owner, const QString& title, const Configuration& config,
                           const std::string& folder) {
    QFileDialog dialog(owner, title, folder.empty() ? QDir::currentPath() : fromCodePage(folder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(qtFileFilters(config.filter));
    if (!config.extensions.empty()) dialog.setDefaultSuffix(fromCodePage(config.extensions.front()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return toCodePage(dialog.selectedFiles().front());
}

std::string saveFileDialog(QWidget* owner, const SaveDialogRequest& request) {
    QFileDialog dialog(owner, request.title, fromCodePage(request.folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setNameFilters(qtFileFilters(request.filter));
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(fromCodePage(request.defaultExtension));
    dialog.selectFile(fromCodePage(request.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return toCodePage(dialog.selectedFiles().front());
}

}  // namespace varnex
