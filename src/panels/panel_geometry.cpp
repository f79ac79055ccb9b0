#include "panels/panel_geometry.h"

#include <algorithm>

namespace varnex {
namespace {

// The first id and the texts of one axis's five lines.
struct AxisLines {
    int firstId;
    std::string_view label;
    std::string_view title;
};

ControlPlan label(int id, std::string_view text, Rect rect) {
    ControlPlan c;
    c.id = id;
    c.kind = ControlKind::Label;
    c.text = text;
    c.rect = rect;
    return c;
}

ControlPlan edit(int id, ControlKind kind, Rect rect, int limit, bool border, std::string_view text = {}) {
    ControlPlan c;
    c.id = id;
    c.kind = kind;
    c.text = text;
    c.rect = rect;
    c.limit = limit;
    c.border = border;
    return c;
}

ControlPlan list(int id, ListKind kind, int x, int y, int width, int dropItems, const PanelMetrics& m) {
    ControlPlan c;
    c.id = id;
    c.kind = ControlKind::List;
    c.list = kind;
    c.dropItems = dropItems;
    c.rect = {x, y, width, m.listHeight(dropItems)};
    return c;
}

}  // namespace

std::vector<ControlPlan> axisPanelLayout(int clientWidth, const PanelMetrics& m) {
    const int wc = clientWidth;
    const int a = wc - 15;
    const int lw = static_cast<int>(0.6 * a);
    const int cw = static_cast<int>(0.4 * a);
    const int pw = static_cast<int>(0.3 * a);
    const int xc = lw + 10;
    const int xp = xc - pw - 5;  // the size list ends 5 pixels left of the control column
    const int s = m.step();
    const int hc = m.hc;

    std::vector<ControlPlan> out;
    int y = 10;
    out.push_back(edit(101, ControlKind::PlainEdit, {5, y, wc - 10, hc}, 256, true));
    y += s + 10;
    // The x and the y axis: five lines each, ids 102-110 and 201-209.
    for (const AxisLines& axis : {AxisLines{102, "X-", "X"}, AxisLines{201, "Y-", "Y"}}) {
        const int id = axis.firstId;
        out.push_back(label(id, axis.label, {5, y, lw, hc}));
        out.push_back(list(id + 1, ListKind::AxisSize, xp, y, pw, 3, m));
        out.push_back(list(id + 2, ListKind::AxisType, xc, y, cw, 2, m));
        y += s;
        out.push_back(edit(id + 3, ControlKind::SunkenEdit, {5, y, lw, hc}, 256, true, axis.title));
        out.push_back(list(id + 4, ListKind::Font, xc, y, cw, 7, m));
        y += s;
        out.push_back(label(id + 5, "max", {5, y, lw, hc}));
        out.push_back(edit(id + 6, ControlKind::SunkenEdit, {xc, y, cw, hc}, 32, true));
        y += s;
        out.push_back(label(id + 7, "min", {5, y, lw, hc}));
        out.push_back(edit(id + 8, ControlKind::SunkenEdit, {xc, y, cw, hc}, 32, true));
        y += s + 10;
    }
    out.push_back(label(210, "size(cm)", {5, y, lw, hc}));
    out.push_back(edit(301, ControlKind::PlainEdit, {xc, y, cw, hc}, 16, true));
    y += s;
    // The pen widths and the marker size in three equal columns, labels above their boxes.
    const int tw = (wc - 20) / 3;
    const int columns[3] = {5, tw + 10, 2 * tw + 15};
    const std::string_view names[3] = {"frame", "graph", "marker"};
    for (int i = 0; i < 3; ++i) out.push_back(label(211 + i, names[i], {columns[i], y, tw, hc}));
    y += hc;
    for (int i = 0; i < 3; ++i) {
        out.push_back(edit(302 + i, ControlKind::PlainEdit, {columns[i], y, tw, hc}, 16, true));
    }
    return out;
}

std::vector<ControlPlan> graphRowLayout(int row, int y, int clientWidth, const PanelMetrics& m) {
    const int cw2 = static_cast<int>((clientWidth - 35) * 0.5);
    std::vector<ControlPlan> out;
    out.reserve(6);
    // A number of three digits must not lose one: the label widens and the title box moves right.
    const int nw = std::max(m.numberWidth, 15);
    ControlPlan number = label(row + 100, {}, {5, y, nw, m.hc});
    number.rightAligned = true;
    out.push_back(number);
    const int titleX = 10 + nw;
    ControlPlan title =
        edit(row + 200, ControlKind::PlainEdit, {titleX, y, clientWidth - 5 - titleX, m.hc}, 256, false);
    title.readOnly = true;
    out.push_back(title);
    const int y2 = y + m.step() - 2;
    out.push_back(list(row + 300, ListKind::Interpolation, 25, y2, cw2, 3, m));
    out.push_back(list(row + 400, ListKind::LineType, cw2 + 30, y2, cw2, 5, m));
    const int y3 = y2 + m.step();
    out.push_back(list(row + 500, ListKind::Marker, 25, y3, cw2, 4, m));
    out.push_back(list(row + 600, ListKind::Shape, cw2 + 30, y3, cw2, 4, m));
    return out;
}

}  // namespace varnex
