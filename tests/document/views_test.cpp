#include "document/views.h"

#include <gtest/gtest.h>

#include <string>

namespace varnex {
namespace {

// A list of `count` views titled "1", "2", ..., view `current` current.
ViewList titledViews(int count, int current) {
    ViewList views;
    views.current().vtitle = "1";
    for (int k = 2; k <= count; ++k) {
        views.addView();
        views.current().vtitle = std::to_string(k);
    }
    views.setCurrent(current);
    return views;
}

TEST(ViewCommandsTest, CommandsChangeTheListAndSayWhatToRedo) {
    struct Case {
        const char* name;
        int count, current;  // the list before
        int command;
        ViewUpdate update;
        int countAfter, currentAfter;
        const char* currentTitle;
    };
    const Case cases[] = {
        {"add copies the current view", 3, 2, kAddViewCommand, ViewUpdate::Refresh, 4, 4, "2"},
        {"add refused at the last selectable view", kMaxViews, 1, kAddViewCommand, ViewUpdate::None,
         kMaxViews, 1, "1"},
        {"delete the only view", 1, 1, kDeleteViewCommand, ViewUpdate::None, 1, 1, "1"},
        {"delete the middle view", 3, 2, kDeleteViewCommand, ViewUpdate::Reload, 2, 2, "3"},
        {"delete the last view", 3, 3, kDeleteViewCommand, ViewUpdate::Reload, 2, 2, "2"},
        {"delete the first view", 3, 1, kDeleteViewCommand, ViewUpdate::Reload, 2, 1, "2"},
        {"select another view", 3, 1, kSelectViewBase + 3, ViewUpdate::Reload, 3, 3, "3"},
        {"select the current view", 3, 2, kSelectViewBase + 2, ViewUpdate::None, 3, 2, "2"},
        {"select a view that does not exist", 3, 2, kSelectViewBase + 4, ViewUpdate::None, 3, 2, "2"},
        {"not a view command", 3, 2, kSelectViewBase - 1, ViewUpdate::None, 3, 2, "2"},
        {"not a view command either", 3, 2, kDeleteViewCommand + 1, ViewUpdate::None, 3, 2, "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewList views = titledViews(c.count, c.current);
        EXPECT_EQ(runViewCommand(views, c.command), c.update);
        EXPECT_EQ(views.viewCount(), c.countAfter);
        EXPECT_EQ(views.indexOfCurrent(), c.currentAfter);
        EXPECT_EQ(views.current().vtitle, c.currentTitle);
    }
}

TEST(ViewCommandsTest, EverySelectableViewHasItsOwnCommand) {
    EXPECT_EQ(kSelectViewBase + kMaxViews, kDeleteViewCommand - 1);
    EXPECT_TRUE(isViewCommand(kAddViewCommand));
    EXPECT_TRUE(isViewCommand(kDeleteViewCommand));
    EXPECT_FALSE(isViewCommand(kDeleteViewCommand + 1));
}

}  // namespace
}  // namespace varnex
