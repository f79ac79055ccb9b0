#include "document/view_list.h"

namespace varnex {

ViewList::ViewList() { m_views.push_back(std::make_unique<Document>()); }

bool ViewList::setCurrent(int k) {
    if (k < 1 || k > viewCount()) return false;
    m_current = static_cast<std::size_t>(k - 1);
    return true;
}

void ViewList::addView() {
    m_views.push_back(std::make_unique<Document>(current()));
    m_current = m_views.size() - 1;
}

int ViewList::appendFresh() {
    m_views.push_back(std::make_unique<Document>());
    return viewCount();
}

bool ViewList::deleteCurrentView() {
    if (m_views.size() <= 1) return false;
    for (std::size_t i = m_current; i + 1 < m_views.size(); ++i) *m_views[i] = *m_views[i + 1];
    m_views.pop_back();
    if (m_current == m_views.size()) --m_current;
    return true;
}

void ViewList::truncateAfter(int k) {
    if (k < 1) k = 1;
    if (k >= viewCount()) return;
    m_views.resize(static_cast<std::size_t>(k));
    if (m_current >= m_views.size()) m_current = m_views.size() - 1;
}

}  // namespace varnex
