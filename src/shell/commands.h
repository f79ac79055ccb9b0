// The program's command vocabulary: command identifiers and the status texts shown in status-bar part 0
// while a menu item is highlighted and while its command runs.
#pragma once

#include <optional>
#include <string>

namespace varnex {

namespace command {
inline constexpr int kOpen = 1010;
inline constexpr int kReOpen = 1025;
inline constexpr int kWatch = 1008;
inline constexpr int kFollow = 1009;  // View "&Follow": the x range follows the newest point
inline constexpr int kPrint = 1111;
inline constexpr int kExit = 1001;
inline constexpr int kEditIniFile = 1026;
inline constexpr int kCopyGraph = 1112;
inline constexpr int kHelp = 1011;
inline constexpr int kVersion = 1012;
// Files, the data sheet, pasting and views.
inline constexpr int kInsert = 7501;
inline constexpr int kSave = 1113;
inline constexpr int kSaveAs = 9000;
inline constexpr int kSaveData = 114;
inline constexpr int kExport = 1115;        // File "&Export...", Ctrl+E
// File "Recent &Files": the sub-menu, and its entries kFirstRecentFile + index (index 0-7; the status
// text of an entry is its file's full path, shown by recent_files.h).
inline constexpr int kRecentFiles = 3000;
inline constexpr int kFirstRecentFile = 3001;
inline constexpr int kLastRecentFile = 3008;
inline constexpr int kEditCopy = 110;
inline constexpr int kEditUndo = 111;
inline constexpr int kEditPaste = 112;
inline constexpr int kEditCut = 113;
inline constexpr int kFind = 201;
inline constexpr int kPaste = 1018;
inline constexpr int kPasteAsNewGraph = 1019;
inline constexpr int kMarker = 115;
// Ranges and copies of the Graph menu and the range pop-up.
inline constexpr int kXMinMax = 108;
inline constexpr int kYMinMax = 109;
inline constexpr int kMinMax = 117;
inline constexpr int kXAuto = 1054;
inline constexpr int kYAuto = 1053;
inline constexpr int kAuto = 1055;
inline constexpr int kCopyData = 107;
// The range pop-up: position commands 1500 + offset (1..6) and copies of the cursor value 2500 + what
// (0 both, 1 x, 2 y).
inline constexpr int kFirstPosition = 1500;
inline constexpr int kLastPosition = 1506;
inline constexpr int kCopyCursor = 2500;
inline constexpr int kLastCopyCursor = 2502;
inline constexpr int kAddView = 6000;
inline constexpr int kDeleteView = 6999;
// Ranges of the file list and the View menu: base + n.
inline constexpr int kShowInSheet = 2000;   // 2000-2099
inline constexpr int kEditFile = 8000;      // 8000-8099
inline constexpr int kReleaseFile = 7000;   // 7000-7099
inline constexpr int kSaveFileAs = 9000;    // 9001-9100 (9000: the main data file)
inline constexpr int kRenameChildFile = 9100;  // 9101-9299
inline constexpr int kSelectView = 6000;    // 6001-6998
inline constexpr int kFirstTool = 5000;
// Sent by Ctrl+PageUp and Ctrl+PageDown; no action handles them.
inline constexpr int kPageUp = 1072;
inline constexpr int kPageDown = 1073;
}  // namespace command

// The status text of a command identifier, or nothing when no command has that identifier. Single
// identifiers come first, then the ranges; the tools' range (5000 up to lastToolId, the identifier of
// the last configured tool, 0 when there is none) is tested last. pasteMarkers chooses the text of 115.
std::optional<std::string> commandStatusText(int id, int lastToolId, bool pasteMarkers = false);

}  // namespace varnex
