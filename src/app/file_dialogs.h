// The open and save dialogs of the commands, with the configuration's filter.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

namespace varnex {

struct Configuration;

// A filter of the form "Name (*.a,*.b)|*.a;*.b|" (items separated and ended by its last character) in
// Qt's form "Name (*.a *.b)", one entry per pair of description and patterns.
QStringList qtFileFilters(std::string_view filter);

// Shows the open dialog titled title in folder (the current directory when empty) with the
// configuration's filter, defaulting to its first extension. Returns the chosen file's full name in
// the code page, or an empty name when the user cancels.
std::string openFileDialog(QWidget* owner, const QString& title, const Configuration& config,
                           const std::string& folder = {});

// What the save dialog shows: its title, the proposed file name in the initial folder, the filter in
// the "Name (*.a)|*.a|" form and the extension added to a name typed without one.
struct SaveDialogRequest {
    QString title;
    std::string proposedName;
    std::string folder;
    std::string filter;
    std::string defaultExtension;
    bool confirmOverwrite = false;  // ask before an existing file is named (a picture may be replaced)
};

// Shows the save dialog. It asks before naming an existing file only with confirmOverwrite: the file
// commands never write over one. Returns the chosen full name in the code page, or an empty name when the user cancels.
std::string saveFileDialog(QWidget* owner, const SaveDialogRequest& request);

// The dialogs the commands ask for names (tests put their own answers here).
struct FileDialogs {
    std::function<std::string(const QString& title)> open;
    std::function<std::string(const SaveDialogRequest& request)> save;
};

}  // namespace varnex
