// The arithmetic of the main window's layout, in pixels, free of any window system.
//
// The client area is the main window's area below the menu bar; the status bar runs along its bottom.
// The tab control stands at the left (5, 5, 250 wide), the square graph window to its right at x 260.
#pragma once

#include <array>

namespace varnex {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr int kTabLeft = 5;
inline constexpr int kTabTop = 5;
inline constexpr int kTabWidth = 250;
inline constexpr int kGraphLeft = 260;
inline constexpr int kGraphTop = 5;

// The width of status part 1 (the cursor read-out) in the layout's own terms.
inline constexpr int kCursorPartWidth = 180;

// Right edges of the three status-bar parts: w − 80 − c, w − 80 and w, with c the width of part 1 and w
// the client width but at least 300 + (c − 180). With c = 180 the edges are w − 260, w − 80 and w. A
// wider part 1 (a status font in which "x=%-12g y=%-12g" needs more than 180 pixels) takes its room from
// part 0, which keeps at least 40 pixels.
std::array<int, 3> statusPartEdges(int clientWidth, int cursorPartWidth = kCursorPartWidth);

// In the two functions below, h is the height of the client area above the status bar (the client
// height less the status bar's height).

// The square graph window: x 260, y 5, side min(clientWidth − 265, h − 10). A side below 0 (a window
// too small) is given as 0: the window then has no visible area.
Rect graphWindowRect(int clientWidth, int h);

// The tab control: x 5, y 5, width 250, height h − 10 (at least 0).
Rect tabControlRect(int h);

// What the initial size needs from the window system, in pixels.
struct FrameMetrics {
    int frameWidth = 0;   // sizing frame, each side
    int frameHeight = 0;  // sizing frame, top and bottom
    int captionHeight = 0;
    int menuBarHeight = 0;
    int statusBarHeight = 0;
};

struct InitialGeometry {
    int graphSide = 0;  // s − 10 with s = trunc(work-area height × factor)
    Rect client;        // the client area with the menu bar (what a Qt window's geometry measures)
    Rect frame;         // the whole window, frame and caption included, centred in the work area
};

// The initial size and place: s = trunc(height × 0.6) on a work area at least 1000 wide, else
// trunc(height × 0.74); the client area is s + 255 wide and holds a graph window of side s − 10 above
// the status bar; the framed window is centred in the work area (integer division).
InitialGeometry initialGeometry(const Rect& workArea, const FrameMetrics& metrics);

}  // namespace varnex
