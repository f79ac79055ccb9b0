// The main window: the graph window, the tab control with its three pages ("axis", "graph", "data") and
// the three-part status bar, kept in the layout of shell/layout.h. It holds no document state: the commands
// live in CommandActions and the document operations in DocumentCommands.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <array>
#include <string>

#include "shell/window_parts.h"

namespace varnex {

class GraphWindow;

class MainWindow : public QMainWindow, public PageHost {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    GraphWindow& graphWindow() { return *m_graph; }
    QTabWidget& tabs() { return *m_tabs; }
    QWidget& page(int index) override { return *m_tabs->widget(index); }

    // Text of a status-bar part, shown at once (also while a command runs before the next paint).
    void setStatusText(StatusPart part, const QString& text);
    QString statusText(StatusPart part) const { return m_parts[part]->text(); }
    // Left and right edge of a part in the status bar's coordinates.
    std::pair<int, int> statusPartSpan(StatusPart part) const;

    // Places the status-bar parts, the graph window and the tab control for the current size.
    void layoutAll();

    // The label of tab 2 (the data sheet's file name, or "Data" without a Document).
    void setDataTabLabel(const QString& text) { m_tabs->setTabText(kDataPage, text); }

    // The visible page: the page shown, or the remembered index while all pages are hidden.
    int currentPage() const override { return m_pageShown ? m_selectedPage : m_rememberedPage; }
    bool pageShown() const { return m_pageShown; }
    // Hides the current page, remembering it (a load in progress).
    void hideCurrentPage();
    // Shows the tab control and the remembered page.
    void showRememberedPage();
    // Selects tab index and shows its page, hiding the other two.
    void selectPage(int index);

signals:
    // The window is being closed (File Exit, the system's close action or a fatal message).
    void closing();
    // Minimised, restored or maximised.
    void windowStateChanged();
    // The user clicked tab index; the pages stay as they were until the program shows that page.
    void pageRequested(int index);
    // Files were dropped on the window: the first of them, in the code page.
    void fileDropped(const std::string& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void layoutStatusParts();
    // Status part 1 wide enough for the read-out in the status font, but at least its layout width.
    int cursorPartWidth() const;
    // Shows the tab and the page visibility the program chose last.
    void restorePages();

    QWidget* m_client = nullptr;  // the area between menu bar and status bar
    GraphWindow* m_graph = nullptr;
    QTabWidget* m_tabs = nullptr;
    QPointer<QTabBar> m_tabBar;  // watched for clicks; null while the window is being built or destroyed
    QWidget* m_statusArea = nullptr;
    std::array<QLabel*, 3> m_parts{};
    int m_selectedPage = kAxisPage;
    bool m_pageShown = false;  // no page is shown until a Document is loaded
    int m_rememberedPage = kAxisPage;
};

}  // namespace varnex
