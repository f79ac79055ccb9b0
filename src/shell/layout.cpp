#include "shell/layout.h"

#include <algorithm>

namespace varnex {

std::array<int, 3> statusPartEdges(int clientWidth, int cursorPartWidth) {
    const int cursor = std::max(cursorPartWidth, kCursorPartWidth);
    const int w = std::max(clientWidth, 300 + cursor - kCursorPartWidth);
    return {w - 80 - cursor, w - 80, w};
}

Rect graphWindowRect(int clientWidth, int h) {
    const int side = std::max(0, std::min(clientWidth - 265, h - 10));
    return {kGraphLeft, kGraphTop, side, side};
}

Rect tabControlRect(int h) {
    return {kTabLeft, kTabTop, kTabWidth, std::max(0, h - 10)};
}

InitialGeometry initialGeometry(const Rect& workArea, const FrameMetrics& metrics) {
    const double factor = workArea.width >= 1000 ? 0.6 : 0.74;
    // A work area is a few thousand pixels at most, so the product converts safely.
    const int s = static_cast<int>(workArea.height * factor);
    InitialGeometry g;
    g.graphSide = s - 10;
    // The client area holds the menu bar, s and the status bar, so that the area above the status bar
    // is s high and the graph window s − 10.
    const int clientWidth = s + 255;
    const int clientHeight = metrics.menuBarHeight + s + metrics.statusBarHeight;
    const int frameWidth = clientWidth + 2 * metrics.frameWidth;
    const int frameHeight = metrics.captionHeight + clientHeight + 2 * metrics.frameHeight;
    g.frame = {(workArea.width - frameWidth) / 2 + workArea.x, (workArea.height - frameHeight) / 2 + workArea.y,
               frameWidth, frameHeight};
    g.client = {g.frame.x + metrics.frameWidth, g.frame.y + metrics.captionHeight + metrics.frameHeight,
                clientWidth, clientHeight};
    return g;
}

}  // namespace varnex
