// The open-file dialog of the commands, with the configuration's filter.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
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

}  // namespace varnex
