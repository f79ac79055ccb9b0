// File > Export: writes the graph to a picture file that the user names, through the same writer as
// the --export option of batch mode (render/output/qt/export.h): the extension chooses the format,
// .png (exportSize × exportSize pixels, the configuration's "export size="), .svg or .pdf (printw
// centimetres square). The panels are applied first, as for Copy.
#pragma once

#include <string>

#include "app/file_dialogs.h"

namespace varnex {

class Desktop;

// What the save dialog of Export shows for the main data file dataFile: its folder, its name with
// ".png", and the three picture types.
SaveDialogRequest exportDialogRequest(const std::string& dataFile);

// The command: applies the panels and redraws, asks for the name (desktop.dialogs().save) and writes
// the file. Nothing without data or when the dialog is cancelled; a failure (an unknown extension, a
// folder that cannot be written, a width no output accepts) is a message and leaves no file. True when
// a file was written.
bool exportGraph(Desktop& desktop);

}  // namespace varnex
