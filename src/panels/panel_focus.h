// The focus of each tab page: the control that had it last, and each page's home control.
//
// A page remembers the control that had the focus when the page was hidden (the user left it, or a
// load hid it). Showing a page gives the focus back to that control while it still exists, else to
// the page's home: the x-maximum box on the axis page, row 1's interpolation list on the graph page,
// the data sheet on the data page.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

namespace varnex {

class PanelFocus : public QObject {
    Q_OBJECT
public:
    // pages: the widgets of pages 0, 1 and 2; home(page) gives a page's home control (may be null);
    // currentPage() the page shown (or remembered while none is). All must outlive this object.
    PanelFocus(std::array<QWidget*, 3> pages, std::function<QWidget*(int page)> home,
               std::function<int()> currentPage);

    int visiblePage() const { return m_currentPage(); }
    // Remembers w for page when w lies in that page; otherwise nothing.
    void remember(int page, QWidget* w);
    // The remembered control, null when none or gone.
    QWidget* remembered(int page) const { return m_remembered[static_cast<std::size_t>(page)]; }
    // For the page shown: focuses the remembered control when it is still one of the page's, else the
    // home control. For a hidden page: only replaces a remembered control that is gone by the home.
    void restore(int page);
    // The page shown: its focused control when the focus is in the page, else its home. A hidden page:
    // its remembered control when valid, else its home.
    QWidget* focusControl(int page) const;
    // Makes the home control the page's focus (focusing it when the page is shown).
    void moveToHome(int page);

protected:
    // Hiding a page remembers its focus; showing it restores the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool inPage(int page, const QWidget* w) const;
    bool shown(int page) const;

    std::array<QWidget*, 3> m_pages;
    std::function<QWidget*(int)> m_home;
    std::function<int()> m_currentPage;
    std::array<QPointer<QWidget>, 3> m_remembered;
};

}  // namespace varnex
