#include "panels/graph_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "document/model.h"
#include "panels/panel_controls.h"

namespace varnex {
namespace {

// Object names are "c" and the id; a row's controls have the ids row + 100 × (1 + kind), kind 0 the
// number, 1 the title, 2-5 the lists. Ids repeat between kinds from row 100 on, so the widget itself
// decides.
int idOf(const QWidget* w) {
    return w->objectName().mid(1).toInt();
}

// The selected position of a list for a choice, 0 without selection.
int shownPosition(const QComboBox* list) {
    return std::max(list->currentIndex(), 0);
}

// The position a choice selects: the value itself, or its remainder for the lists whose value counts
// around (the remainder keeps the sign, so a negative value selects nothing).
int positionOf(int value, int modulus) {
    return modulus > 0 ? value % modulus : value;
}

bool isModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return true;
        default:
            return false;
    }
}

}  // namespace

QWidget* focusedControl() {
    QWidget* w = QApplication::focusWidget();
    // The pop-up of a dropped-down list is a window of its own whose parent is the list.
    for (QWidget* p = w; p; p = p->parentWidget()) {
        if (auto* list = qobject_cast<QComboBox*>(p)) return list;
    }
    return w;
}

GraphPanel::GraphPanel(QWidget* parent) : QFrame(parent), m_rows(kMaxRows + 1) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_viewport = new QWidget(this);
    m_content = new QWidget(m_viewport);
    m_bar = new QScrollBar(Qt::Vertical, this);
    m_bar->setFocusPolicy(Qt::NoFocus);
    m_bar->setRange(0, 0);
    m_rowTops[1] = kFirstRowY;
    m_viewport->installEventFilter(this);
    m_content->installEventFilter(this);
    connect(m_bar, &QScrollBar::actionTriggered, this, &GraphPanel::barAction);
    placeChildren();
}

void GraphPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeChildren();
}

void GraphPanel::placeChildren() {
    const QRect r = contentsRect();
    const int barWidth = m_bar->sizeHint().width();
    m_viewport->setGeometry(r.x(), r.y(), std::max(r.width() - barWidth, 0), r.height());
    m_bar->setGeometry(r.x() + r.width() - barWidth, r.y(), barWidth, r.height());
    resizeContent();
}

void GraphPanel::resizeContent() {
    // Tall enough to fill the viewport at every position of the range.
    m_content->resize(m_viewport->width(),
                      m_rowTops[static_cast<std::size_t>(m_count + 1)] + m_viewport->height());
}

// --- rows ---

void GraphPanel::beginRebuild(int n) {
    // A hidden panel receives its resize events only when shown: take its size now.
    placeChildren();
    m_metrics = panelMetrics(this);
    const int pitch = m_metrics.rowPitch();
    scrollState();
    m_content->move(0, 0);
    m_record.line = pitch;
    m_record.page = pitch;
    m_record.minimum = 0;
    m_record.maximum = pitch * std::max(n - 1, 1);
    m_bar->setSingleStep(pitch);
    m_bar->setPageStep(pitch);
    m_bar->setRange(m_record.minimum, m_record.maximum);
    m_bar->setValue(0);
}

void GraphPanel::destroyRowsAfter(int n) {
    // A focused control that goes would hand the focus on to a neighbour of its own choosing; the
    // caller decides where the focus goes instead.
    if (QWidget* focused = focusedControl(); rowOf(focused) > n) focused->clearFocus();
    for (int j = n + 1; j <= m_count; ++j) {
        const Row r = std::exchange(m_rows[static_cast<std::size_t>(j)], Row{});
        delete r.number;
        delete r.title;
        for (QComboBox* list : r.lists) delete list;
    }
    m_count = std::min(m_count, std::max(n, 0));
    resizeContent();
}

void GraphPanel::createRowsUpTo(int n) {
    n = std::min(n, kMaxRows);
    const int width = m_viewport->width();
    for (int j = m_count + 1; j <= n; ++j) {
        const int y = m_rowTops[static_cast<std::size_t>(j)];
        const std::vector<ControlPlan> plans = graphRowLayout(j, y, width, m_metrics);
        Row& r = m_rows[static_cast<std::size_t>(j)];
        r.number = static_cast<QLabel*>(createControl(plans[0], m_metrics.hc, m_content));
        r.number->setText(QString::number(j));
        r.title = static_cast<QLineEdit*>(createControl(plans[1], m_metrics.hc, m_content));
        r.title->installEventFilter(this);
        for (std::size_t c = 0; c < r.lists.size(); ++c) {
            r.lists[c] = static_cast<QComboBox*>(createControl(plans[c + 2], m_metrics.hc, m_content));
            r.lists[c]->installEventFilter(this);
        }
        m_rowTops[static_cast<std::size_t>(j + 1)] = plans[5].rect.y + m_metrics.step() + 10;
        r.number->show();
        r.title->show();
        for (QComboBox* list : r.lists) list->show();
    }
    m_count = std::max(m_count, n);
    resizeContent();
}

void GraphPanel::endRebuild() {
    if (m_count == 0) return;
    // A position kept from a longer panel may lie beyond the new range: the bar would stop at its end
    // while the content moved further.
    m_record.position = std::clamp(m_record.position, m_record.minimum, m_record.maximum);
    m_bar->setValue(m_record.position);
    scrollContentBy(-m_record.position);
}

void GraphPanel::fill(const Document& doc) {
    static constexpr int kModuli[4] = {0, 5, 0, 4};
    for (int i = 1; i <= m_count; ++i) {
        const Row& r = row(i);
        const GraphParams& p = doc.sets[static_cast<std::size_t>(i)].params;
        setControlText(r.title, doc.sets[static_cast<std::size_t>(i)].title());
        const int values[4] = {p.interp, p.linetype, p.marker, p.shape};
        for (std::size_t c = 0; c < r.lists.size(); ++c) {
            selectPosition(r.lists[c], positionOf(values[c], kModuli[c]));
        }
    }
}

void GraphPanel::read(Document& doc) const {
    for (int i = 1; i <= m_count; ++i) {
        const Row& r = row(i);
        GraphParams& p = doc.sets[static_cast<std::size_t>(i)].params;
        std::int8_t* fields[4] = {&p.interp, &p.linetype, &p.marker, &p.shape};
        for (std::size_t c = 0; c < r.lists.size(); ++c) {
            if (const auto position = listPosition(r.lists[c])) {
                *fields[c] = static_cast<std::int8_t>(*position);
            }
        }
    }
}

// --- focus ---

RowChoice GraphPanel::focusedRow(const QWidget* w) const {
    const auto* list = qobject_cast<const QComboBox*>(w);
    if (!list || list->parentWidget() != m_content) return {};
    const int id = idOf(w);
    for (int c = 0; c < 4; ++c) {
        const int j = id - 100 * (c + 3);
        if (j >= 1 && j <= m_count && row(j).lists[static_cast<std::size_t>(c)] == w) {
            return {true, j, c, shownPosition(list)};
        }
    }
    return {};
}

int GraphPanel::rowOf(const QWidget* w) const {
    if (!w || w->parentWidget() != m_content) return 0;
    if (const RowChoice choice = focusedRow(w); choice.found) return choice.row;
    const int id = idOf(w);
    for (int j : {id - 100, id - 200}) {
        if (j >= 1 && j <= m_count && (row(j).number == w || row(j).title == w)) return j;
    }
    return 0;
}

void GraphPanel::focusRow(int k) {
    if (k < 1 || k > m_count) return;
    const RowChoice focused = focusedRow(focusedControl());
    giveKeyboardFocus(row(k).lists[static_cast<std::size_t>(focused.found ? focused.column : 0)]);
}

bool GraphPanel::fullyVisible(const QWidget* w) const {
    if (!w || !m_content->isAncestorOf(w)) return true;
    const QPoint topLeft = w->mapTo(m_viewport, QPoint(0, 0));
    const QPoint bottomRight = topLeft + QPoint(w->width(), w->height());
    const QRect client = m_viewport->rect();
    const auto inside = [&client](QPoint p) {
        return p.x() >= client.left() && p.x() < client.left() + client.width() && p.y() >= client.top() &&
               p.y() < client.top() + client.height();
    };
    return inside(topLeft) && inside(bottomRight);
}

bool GraphPanel::focusNextPrevChild(bool next) {
    std::vector<QWidget*> order;
    order.reserve(static_cast<std::size_t>(m_count) * 5);
    for (int j = 1; j <= m_count && row(j).title; ++j) {
        order.push_back(row(j).title);
        for (QComboBox* list : row(j).lists) order.push_back(list);
    }
    if (!cycleFocus(order, next)) return QFrame::focusNextPrevChild(next);
    // Tab may reach a row scrolled out of view: keys must never change a list the user cannot see.
    if (QWidget* focused = QApplication::focusWidget(); focused && !fullyVisible(focused)) {
        scrollRowIntoView(focused);
    }
    return true;
}

// --- scrolling ---

const ScrollRecord& GraphPanel::scrollState() {
    m_record.previous = m_record.position;
    m_record.position = m_bar->value();
    m_record.minimum = m_bar->minimum();
    m_record.maximum = m_bar->maximum();
    return m_record;
}

bool GraphPanel::scrollStep(int code) {
    if (code < kLineUp || code > kPageDown) return false;
    scrollState();
    const int step = code == kLineUp || code == kLineDown ? m_record.line : m_record.page;
    const bool up = code == kLineUp || code == kPageUp;
    const bool leavesRange =
        up ? m_record.position < m_record.minimum + step : m_record.maximum - step < m_record.position;
    if (leavesRange) return false;
    m_record.previous = m_record.position;
    m_record.position += up ? -step : step;
    m_bar->setValue(m_record.position);
    return true;
}

void GraphPanel::scrollContentBy(int dy) {
    if (dy != 0) m_content->move(m_content->x(), m_content->y() + dy);
}

void GraphPanel::verticalScroll(int code) {
    if (!scrollStep(code)) return;
    focusRow(m_record.position / m_record.line + 1);
    scrollContentBy(m_record.previous - m_record.position);
}

void GraphPanel::scrollToNearestRow(int position) {
    scrollState();
    const int line = std::max(m_record.line, 1);
    const int target = std::clamp((position + line / 2) / line * line, m_record.minimum, m_record.maximum);
    if (target == m_record.position) return;
    m_record.previous = m_record.position;
    m_record.position = target;
    m_bar->setValue(target);
    focusRow(m_record.position / line + 1);
    scrollContentBy(m_record.previous - m_record.position);
}

void GraphPanel::scrollRowIntoView(const QWidget* w) {
    const int k = rowOf(w);
    if (k < 1) return;
    scrollState();
    const int line = std::max(m_record.line, 1);
    const int top = (k - 1) * line;
    // A row above comes to the top; a row below is reached by the fewest whole rows that show it.
    int target = std::min(top, m_record.position);
    if (top > m_record.position) {
        target = m_record.position;
        const int shownTop = w->mapTo(m_viewport, QPoint(0, 0)).y();
        while (target < std::min(top, m_record.maximum)) {
            target += line;
            const int y = shownTop - (target - m_record.position);
            if (y >= 0 && y + w->height() < m_viewport->height()) break;
        }
    }
    target = std::clamp(target, m_record.minimum, m_record.maximum);
    if (target == m_record.position) return;
    m_record.previous = m_record.position;
    m_record.position = target;
    m_bar->setValue(target);
    scrollContentBy(m_record.previous - m_record.position);
}

void GraphPanel::barAction(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            verticalScroll(kLineUp);
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            verticalScroll(kLineDown);
            break;
        case QAbstractSlider::SliderPageStepSub:
            verticalScroll(kPageUp);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            verticalScroll(kPageDown);
            break;
        case QAbstractSlider::SliderMove:
            scrollToNearestRow(m_bar->sliderPosition());
            break;
        default:
            break;  // to the top or the bottom: nothing
    }
    // The bar shows what the panel decided, not the move the bar made by itself.
    m_bar->setSliderPosition(m_bar->value());
}

void GraphPanel::keepInView(const QWidget* w) {
    if (rowOf(w) > 0 && !fullyVisible(w)) scrollRowIntoView(w);
}

bool GraphPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // A key never changes a control the user cannot see: a row scrolled out of view comes back
        // first, and the key then acts on it as usual.
        // A modifier pressed alone acts on nothing (and may begin a cursor command, which decides).
        if (!isModifierKey(static_cast<const QKeyEvent*>(event)->key())) {
            keepInView(qobject_cast<QWidget*>(watched));
        }
        return false;
    }
    if (event->type() == QEvent::Wheel) {
        // Turning the wheel anywhere over the rows scrolls them, as it does over the bar.
        QCoreApplication::sendEvent(m_bar, event);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace varnex
