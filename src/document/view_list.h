// The View list: several complete settings (Documents) of the same data, one of them current.
//
// The list always holds at least one view; positions are 1-based. Views are held by unique pointer so
// that a reference to a view's Document stays valid while other views are added or removed (the undo
// copy remembers which Document it was taken from).
#pragma once

#include <memory>
#include <vector>

#include "document/model.h"

namespace varnex {

class ViewList {
public:
    // One fresh view, current.
    ViewList();

    Document& current() { return *m_views[m_current]; }
    const Document& current() const { return *m_views[m_current]; }
    Document& first() { return *m_views.front(); }
    const Document& first() const { return *m_views.front(); }

    int viewCount() const { return static_cast<int>(m_views.size()); }
    // 1-based position of the current view.
    int indexOfCurrent() const { return static_cast<int>(m_current) + 1; }
    // The k-th view. REQUIRES: 1 <= k <= viewCount()
    Document& viewAt(int k) { return *m_views[static_cast<std::size_t>(k - 1)]; }
    const Document& viewAt(int k) const { return *m_views[static_cast<std::size_t>(k - 1)]; }

    // Makes view k current; false (nothing changes) if there is no view k.
    bool setCurrent(int k);

    // Appends a copy of the current view's Document at the end; the new view becomes current.
    void addView();
    // Appends a fresh Document at the end without making it current; returns its position.
    int appendFresh();
    // Removes the current view: every later view moves one place up (its Document is copied into the
    // node before it) and the last node is freed; if that was the current one, its predecessor becomes
    // current. False (nothing changes) when the list has one view.
    bool deleteCurrentView();
    // Frees every view after view k (1-based); the current view moves to k if it was among them.
    void truncateAfter(int k);

private:
    std::vector<std::unique_ptr<Document>> m_views;
    std::size_t m_current = 0;
};

}  // namespace varnex
