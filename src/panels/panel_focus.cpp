#include "panels/panel_focus.h"

#include <QApplication>
#include <QEvent>

#include "panels/graph_panel.h"
#include "panels/panel_controls.h"

namespace varnex {

PanelFocus::PanelFocus(std::array<QWidget*, 3> pages, std::function<QWidget*(int page)> home,
                       std::function<int()> currentPage)
    : m_pages(pages), m_home(std::move(home)), m_currentPage(std::move(currentPage)) {
    for (QWidget* page : m_pages) page->installEventFilter(this);
}

bool PanelFocus::inPage(int page, const QWidget* w) const {
    return w && m_pages[static_cast<std::size_t>(page)]->isAncestorOf(w);
}

bool PanelFocus::shown(int page) const {
    return m_currentPage() == page && m_pages[static_cast<std::size_t>(page)]->isVisible();
}

bool PanelFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->spontaneous() || (event->type() != QEvent::Hide && event->type() != QEvent::Show)) {
        return false;
    }
    for (int page = 0; page < 3; ++page) {
        if (watched != m_pages[static_cast<std::size_t>(page)]) continue;
        if (event->type() == QEvent::Show) {
            restore(page);
            continue;
        }
        // Leaving the page: its focused control is remembered and loses the focus, which the toolkit
        // would otherwise hand on to a control of the page shown next.
        QWidget* focused = focusedControl();
        if (inPage(page, focused)) {
            remember(page, focused);
            QApplication::focusWidget()->clearFocus();
        }
    }
    return false;
}

void PanelFocus::remember(int page, QWidget* w) {
    if (inPage(page, w)) m_remembered[static_cast<std::size_t>(page)] = w;
}

void PanelFocus::restore(int page) {
    auto& kept = m_remembered[static_cast<std::size_t>(page)];
    if (!inPage(page, kept)) kept = m_home(page);
    if (shown(page)) giveKeyboardFocus(kept);
}

QWidget* PanelFocus::focusControl(int page) const {
    if (shown(page)) {
        QWidget* focused = focusedControl();
        return inPage(page, focused) ? focused : m_home(page);
    }
    QWidget* kept = m_remembered[static_cast<std::size_t>(page)];
    return inPage(page, kept) ? kept : m_home(page);
}

void PanelFocus::moveToHome(int page) {
    m_remembered[static_cast<std::size_t>(page)] = m_home(page);
    if (shown(page)) giveKeyboardFocus(m_remembered[static_cast<std::size_t>(page)]);
}

}  // namespace varnex
