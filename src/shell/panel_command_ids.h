// Identifiers of the commands that work on the parameter panels (Graph menu and accelerators).
#pragma once

namespace varnex::command {

inline constexpr int kDraw = 1222;          // Graph "&Draw", Ctrl+Enter
inline constexpr int kSetParameter = 1031;  // Graph "&Set Parameter", Alt+Enter
inline constexpr int kUndoGraph = 1062;     // Graph "&Undo"
inline constexpr int kXInput = 1050;        // Graph "&X-region" "&Input", Ctrl+X
inline constexpr int kYInput = 1051;        // Graph "&Y-region" "&Input", Ctrl+Y
inline constexpr int kSwitchSheet = 1028;   // Graph "&Cursor" "&Switch Sheet", Ctrl+Tab
inline constexpr int kCursorHome = 1052;    // Ctrl+H
inline constexpr int kCursorDown = 1070;    // Ctrl+Down
inline constexpr int kCursorUp = 1071;      // Ctrl+Up
inline constexpr int kCursorRight = 1075;   // Ctrl+Right
inline constexpr int kCursorLeft = 1076;    // Ctrl+Left

}  // namespace varnex::command
