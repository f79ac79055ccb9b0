#include "document/views.h"

namespace varnex {

ViewUpdate addView(ViewList& views) {
    if (views.viewCount() >= kMaxViews) return ViewUpdate::None;
    views.addView();
    return ViewUpdate::Refresh;
}

ViewUpdate deleteView(ViewList& views) {
    return views.deleteCurrentView() ? ViewUpdate::Reload : ViewUpdate::None;
}

ViewUpdate selectView(ViewList& views, int k) {
    if (k == views.indexOfCurrent() || !views.setCurrent(k)) return ViewUpdate::None;
    return ViewUpdate::Reload;
}

bool isViewCommand(int commandId) {
    return commandId >= kAddViewCommand && commandId <= kDeleteViewCommand;
}

ViewUpdate runViewCommand(ViewList& views, int commandId) {
    if (commandId == kAddViewCommand) return addView(views);
    if (commandId == kDeleteViewCommand) return deleteView(views);
    if (!isViewCommand(commandId)) return ViewUpdate::None;
    return selectView(views, commandId - kSelectViewBase);
}

}  // namespace varnex
