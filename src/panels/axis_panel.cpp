#include "panels/axis_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "document/model.h"
#include "panels/panel_controls.h"

namespace varnex {
namespace {

// The ids of one axis's controls; the y axis's are the x axis's plus 99.
struct AxisIds {
    int size, type, title, font, maxLabel, max, minLabel, min;
};
constexpr AxisIds kXIds{103, 104, 105, 106, 107, 108, 109, 110};
constexpr AxisIds kYIds{202, 203, 204, 205, 206, 207, 208, 209};

// The size list shows 100 % at position 0 and 10 % at position 9.
int sizePosition(int percent) {
    return (100 - percent) / 10;
}

}  // namespace

AxisPanel::AxisPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_client = new QWidget(this);
}

void AxisPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    m_client->setGeometry(contentsRect());
}

void AxisPanel::createControls() {
    if (!m_controls.empty()) return;
    m_client->setGeometry(contentsRect());
    const PanelMetrics m = panelMetrics(this);
    for (const ControlPlan& plan : axisPanelLayout(m_client->width(), m)) {
        QWidget* control = createControl(plan, m.hc, m_client);
        m_controls[plan.id] = control;
        if (plan.kind != ControlKind::Label) m_tabOrder.push_back(control);
    }
}

QWidget* AxisPanel::control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QLineEdit* AxisPanel::edit(int id) const {
    return qobject_cast<QLineEdit*>(control(id));
}
QComboBox* AxisPanel::list(int id) const {
    return qobject_cast<QComboBox*>(control(id));
}
QLabel* AxisPanel::label(int id) const {
    return qobject_cast<QLabel*>(control(id));
}

void AxisPanel::fill(const Document& doc) {
    if (m_controls.empty()) return;
    setControlText(edit(101), doc.vtitle);
    const auto fillAxis = [this](const AxisIds& ids, int type, const TitleText& title, const FontName& font,
                                 int size, double dataMin, double min, double dataMax, double max) {
        selectPosition(list(ids.type), type);
        setControlText(edit(ids.title), title);
        selectByPrefix(list(ids.font), font);
        selectPosition(list(ids.size), sizePosition(size));
        setControlNumber(label(ids.minLabel), "min ", dataMin);
        setControlNumber(edit(ids.min), min);
        setControlNumber(label(ids.maxLabel), "max ", dataMax);
        setControlNumber(edit(ids.max), max);
    };
    fillAxis(kXIds, doc.xtype, doc.xtitle, doc.xfont, doc.xsize, doc.dataxmin, doc.xmin, doc.dataxmax,
             doc.xmax);
    fillAxis(kYIds, doc.ytype, doc.ytitle, doc.yfont, doc.ysize, doc.dataymin, doc.ymin, doc.dataymax,
             doc.ymax);
    setControlNumber(edit(301), doc.printw);
    setControlNumber(edit(302), doc.framewidth);
    setControlNumber(edit(303), doc.graphwidth);
    setControlNumber(edit(304), doc.markersize);
}

void AxisPanel::read(Document& doc) const {
    if (m_controls.empty()) return;
    doc.vtitle = editText(edit(101));
    const auto readAxis = [this](const AxisIds& ids, TitleText& title, FontName& font, std::int8_t& type,
                                 std::int8_t& size) {
        title = editText(edit(ids.title));
        if (const auto face = listItemText(list(ids.font))) font = *face;
        if (const auto position = listPosition(list(ids.type))) type = static_cast<std::int8_t>(*position);
        if (const auto position = listPosition(list(ids.size))) {
            size = static_cast<std::int8_t>(100 - 10 * *position);
        }
    };
    readAxis(kXIds, doc.xtitle, doc.xfont, doc.xtype, doc.xsize);
    readAxis(kYIds, doc.ytitle, doc.yfont, doc.ytype, doc.ysize);
    doc.xmin = editNumber(edit(kXIds.min));
    doc.xmax = editNumber(edit(kXIds.max));
    doc.ymin = editNumber(edit(kYIds.min));
    doc.ymax = editNumber(edit(kYIds.max));
    doc.printw = editNumber(edit(301));
    doc.framewidth = editNumber(edit(302));
    doc.graphwidth = editNumber(edit(303));
    doc.markersize = editNumber(edit(304));
    doc.tickwidth = doc.framewidth;
    doc.subtickwidth = doc.framewidth * 2 / 3;
}

bool AxisPanel::focusNextPrevChild(bool next) {
    return cycleFocus(m_tabOrder, next) || QFrame::focusNextPrevChild(next);
}

}  // namespace varnex
