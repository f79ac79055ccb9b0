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
inline constexpr int kPrint = 1111;
inline constexpr int kExit = 1001;
inline constexpr int kEditIniFile = 1026;
inline constexpr int kCopyGraph = 1112;
inline constexpr int kHelp = 1011;
inline constexpr int kVersion = 1012;
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
