#include "graph/range_popup.h"

#include <QAction>

#include "shell/commands.h"
#include "util/numbers.h"

namespace varnex {
namespace {

struct Item {
    int id;
    const char* label;
};

// The items of one sub-menu: two position commands, Min and Max, Auto and Copy.
struct SubMenu {
    Item from, to, minMax, automatic, copy;
};

using namespace command;

constexpr SubMenu kXItems{{kFirstPosition + 1, "&From here ->"}, {kFirstPosition + 2, "&To here <-"},
                          {kXMinMax, "&Min and Max"}, {kXAuto, "&Auto"}, {kCopyCursor + 1, "&Copy"}};
constexpr SubMenu kYItems{{kFirstPosition + 3, "&From here"}, {kFirstPosition + 4, "&To here"},
                          {kYMinMax, "&Min and Max"}, {kYAuto, "&Auto"}, {kCopyCursor + 2, "&Copy"}};
constexpr SubMenu kBothItems{{kFirstPosition + 5, "&From here"}, {kFirstPosition + 6, "&To here"},
                             {kMinMax, "&Min and Max"}, {kAuto, "&Auto"}, {kCopyCursor, "&Copy"}};

}  // namespace

RangePopup::~RangePopup() { discard(); }

void RangePopup::discard() {
    if (!m_menu) return;
    // Its closing must not reach the status bar, which may be gone already.
    m_menu->disconnect(this);
    for (QMenu* sub : m_menu->findChildren<QMenu*>()) sub->disconnect(this);
    m_menu.reset();  // with its sub-menus
}

QMenu& RangePopup::build(const CursorValue& cursor) {
    discard();
    m_menu = std::make_unique<QMenu>();
    connect(m_menu.get(), &QMenu::aboutToHide, this, &RangePopup::closed);

    const struct {
        QString caption;
        const SubMenu& items;
    } subMenus[] = {
        {QString::fromLatin1("&x=" + formatG(cursor.x)), kXItems},
        {QString::fromLatin1("&y=" + formatG(cursor.y)), kYItems},
        {QStringLiteral("x &and y"), kBothItems},
    };
    for (const auto& sub : subMenus) {
        QMenu* menu = addSubMenu(sub.caption);
        addItem(menu, sub.items.from.id, sub.items.from.label);
        addItem(menu, sub.items.to.id, sub.items.to.label);
        menu->addSeparator();
        addItem(menu, sub.items.minMax.id, sub.items.minMax.label);
        addItem(menu, sub.items.automatic.id, sub.items.automatic.label);
        menu->addSeparator();
        addItem(menu, sub.items.copy.id, sub.items.copy.label);
    }
    QMenu* popup = m_menu.get();
    connect(popup, &QMenu::aboutToShow, this, [this, popup] { emit aboutToShow(popup); });
    connect(popup, &QMenu::hovered, this, [this](QAction* action) {
        emit itemHighlighted(action->menu() ? -1 : action->data().toInt());
    });
    return *m_menu;
}

void RangePopup::open(const CursorValue& cursor, QPoint screenPoint) {
    build(cursor).popup(screenPoint);
}

QMenu* RangePopup::addSubMenu(const QString& caption) {
    // A child of the pop-up: destroying the pop-up destroys it.
    QMenu* menu = m_menu->addMenu(caption);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { emit aboutToShow(menu); });
    connect(menu, &QMenu::hovered, this, [this](QAction* action) { emit itemHighlighted(action->data().toInt()); });
    return menu;
}

void RangePopup::addItem(QMenu* menu, int id, const char* label) {
    QAction* action = menu->addAction(QString::fromLatin1(label));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { emit commandChosen(id); });
}

}  // namespace varnex
