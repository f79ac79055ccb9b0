// The commands on files, views, pasted data and the data sheet, run from the command path: Insert,
// Save, Save Data, the Edit menu's text commands and Find, Paste, Paste as New Graph, Marker, the View
// menu and the file list's commands.
#pragma once

namespace varnex {

class Desktop;

// Runs command id; false when id is none of these commands.
bool runFileCommand(Desktop& desktop, int id);

}  // namespace varnex
