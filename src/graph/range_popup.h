// The range pop-up menu of the graph window: opened by the right button inside the frame, with three
// sub-menus for the x axis, the y axis and both, from which the user sets an end of a range at the
// cursor, sets a range to the data extent or the automatic range, or copies the cursor value.
//
//   "&x=%g"    "&From here ->" 1501, "&To here <-" 1502, -, "&Min and Max" 108, "&Auto" 1054, -, "&Copy" 2501
//   "&y=%g"    "&From here" 1503,    "&To here" 1504,    -, "&Min and Max" 109, "&Auto" 1053, -, "&Copy" 2502
//   "x &and y" "&From here" 1505,    "&To here" 1506,    -, "&Min and Max" 117, "&Auto" 1055, -, "&Copy" 2500
//
// At most one pop-up exists: opening a new one destroys the previous one with its sub-menus.
#pragma once

#include <QMenu>
#include <QObject>
#include <QPoint>
#include <memory>

#include "render/mapping.h"

namespace varnex {

class RangePopup : public QObject {
    Q_OBJECT
public:
    RangePopup() = default;
    ~RangePopup() override;

    // Builds the pop-up for the cursor value and shows it with its top left corner at the screen point.
    void open(const CursorValue& cursor, QPoint screenPoint);
    // Builds the pop-up without showing it (tests and the screenshot tools look at it).
    QMenu& build(const CursorValue& cursor);

    // The pop-up built last; null before the first.
    QMenu* menu() const { return m_menu.get(); }

signals:
    // An item was chosen: the command path runs `id`.
    void commandChosen(int id);
    // An item is highlighted: status part 0 shows the help text of `id`; -1 for a sub-menu title.
    void itemHighlighted(int id);
    // The pop-up closed: status part 0 is cleared.
    void closed();
    // The pop-up or one of its sub-menus is about to open: the menu states are brought up to date.
    void aboutToShow(QMenu* menu);

private:
    void discard();
    QMenu* addSubMenu(const QString& caption);
    void addItem(QMenu* menu, int id, const char* label);

    std::unique_ptr<QMenu> m_menu;
};

}  // namespace varnex
