#include "panels/parameter_panels.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QVBoxLayout>
#include <algorithm>

#include "document/model.h"
#include "panels/axis_panel.h"
#include "panels/graph_panel.h"
#include "panels/panel_controls.h"
#include "panels/panel_focus.h"
#include "panels/panel_navigation.h"
#include "panels/set_all_choices.h"
#include "render/page_renderer.h"
#include "shell/shell_fonts.h"
#include "shell/window_parts.h"

namespace varnex {
namespace {

constexpr int kXMaxBox = 108, kXMinBox = 110, kYMaxBox = 207, kYMinBox = 209;

// The panel fills its page.
QVBoxLayout* placeOnPage(QWidget& page, QWidget* panel) {
    auto* layout = new QVBoxLayout(&page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel);
    return layout;
}

// The first control of a page that takes the focus by Tab (the data sheet), else the page itself.
QWidget* firstFocusable(QWidget& page) {
    for (QWidget* w : page.findChildren<QWidget*>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled()) return w;
    }
    return &page;
}

}  // namespace

ParameterPanels::ParameterPanels(PageHost& pages, Document& undoCopy,
                                 std::function<void(const Document&)> updateTitle)
    : m_pages(pages), m_undo(undoCopy), m_updateTitle(std::move(updateTitle)) {
    QWidget& axisPage = pages.page(kAxisPage);
    QWidget& graphPage = pages.page(kGraphPage);
    m_axis = new AxisPanel;
    m_graph = new GraphPanel;
    m_axis->setFont(shellFont());
    m_graph->setFont(shellFont());
    placeOnPage(axisPage, m_axis)->activate();
    // The tab control sizes only the page it shows; every page has the same rectangle.
    graphPage.setGeometry(axisPage.geometry());
    placeOnPage(graphPage, m_graph)->activate();
    m_axis->createControls();
    m_focus = std::make_unique<PanelFocus>(
        std::array<QWidget*, 3>{&axisPage, &graphPage, &pages.page(kDataPage)},
        [this](int page) { return home(page); }, [this] { return m_pages.currentPage(); });
}

ParameterPanels::~ParameterPanels() = default;

QWidget* ParameterPanels::home(int page) const {
    switch (page) {
        case kAxisPage:
            return m_axis->control(kXMaxBox);
        case kGraphPage:
            return m_graph->rowCount() > 0 ? m_graph->row(1).lists[0] : nullptr;
        default:
            return firstFocusable(m_pages.page(kDataPage));
    }
}

void ParameterPanels::refresh(const Document& doc) {
    if (doc.data < 1) return;
    m_axis->fill(doc);
    m_graph->fill(doc);
    if (m_updateTitle) m_updateTitle(doc);
}

bool ParameterPanels::apply(Document& doc) {
    if (doc.data == 0) return false;
    m_undo = doc;
    m_axis->read(doc);
    m_graph->read(doc);
    if (doc.sameAs(m_undo)) return false;
    if (doc.isValid()) {
        refresh(doc);
        return true;
    }
    doc = m_undo;
    refresh(doc);
    return false;
}

void ParameterPanels::rebuild(Document& doc) {
    setRows(doc.data);
    if (doc.data < 1) return;
    m_axis->fill(doc);
    m_graph->fill(doc);
    Document shown = doc;
    m_axis->read(shown);
    m_graph->read(shown);
    if (shown.isValid()) doc = shown;
    // The drawing derives the plot area and the transformed limits into the Document; deriving them
    // now makes the copy taken after the load equal to the drawn Document, so that neither Undo nor the
    // title mark sees a change where the user made none.
    layoutPage(doc);
}

void ParameterPanels::setRows(int n) {
    n = std::clamp(n, 0, GraphPanel::kMaxRows);
    if (n != m_graph->rowCount()) rebuildRows(n);
    // The row that keeps the focus stays in view, whatever the scrolling before the load left.
    if (n > 0) m_graph->keepInView(m_focus->focusControl(kGraphPage));
}

void ParameterPanels::rebuildRows(int n) {
    m_graph->beginRebuild(n);
    if (n < m_graph->rowCount()) {
        QWidget* focused = m_focus->focusControl(kGraphPage);
        const int focusRow = m_graph->rowOf(focused);
        m_graph->destroyRowsAfter(n);
        if (n == 0) return;
        if (focusRow > n) {
            m_graph->setRecordedPosition(0);
            m_focus->moveToHome(kGraphPage);
            return;
        }
        m_focus->remember(kGraphPage, focused);
    }
    m_graph->createRowsUpTo(n);
    m_graph->endRebuild();
}

void ParameterPanels::setAllChoices(Document& doc, MessageBoxes& messages) {
    const int rows = std::min(m_graph->rowCount(), doc.data);
    if (rows == 0) return;
    const RowChoice at = m_graph->focusedRow(focusedControl());
    if (!at.found || at.row > rows) return;
    const Answer answer = messages.askWithCancel(kCaption, setAllQuestion(at.column));
    giveChoiceToAll(doc, rows, at.row, at.column, at.position, answer);
    normaliseChoices(doc, rows);
}

void ParameterPanels::navigate(int command) {
    if (!m_axis->isVisible()) {
        navigateGraph(*m_graph, command);
        return;
    }
    QWidget* focused = focusedControl();
    const bool onControl = focused && focused->parentWidget() == m_axis->client();
    const int to = axisMove(command, onControl ? focused->objectName().mid(1).toInt() : 0);
    giveKeyboardFocus(m_axis->control(to));
}

void ParameterPanels::focusRangeBox(bool xAxis) {
    QWidget* first = m_axis->control(xAxis ? kXMaxBox : kYMaxBox);
    QWidget* second = m_axis->control(xAxis ? kXMinBox : kYMinBox);
    giveKeyboardFocus(focusedControl() == first ? second : first);
}

void ParameterPanels::closeOpenList() {
    auto* list = qobject_cast<QComboBox*>(focusedControl());
    if (list && list->view() && list->view()->isVisible()) list->hidePopup();
}

}  // namespace varnex
