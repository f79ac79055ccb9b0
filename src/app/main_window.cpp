#include "app/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTabBar>

#include "graph/graph_window.h"
#include "render/output/qt/text_codec.h"
#include "shell/layout.h"
#include "shell/shell_fonts.h"

namespace varnex {
namespace {

// The longest dropped name taken, in bytes.
constexpr std::size_t kMaxDroppedName = 256;

QRect toQRect(const Rect& r) { return QRect(r.x, r.y, r.width, r.height); }

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setFont(shellFont());

    // The status bar's parts are placed by hand at their edges, so that a narrow window still gets the
    // parts ending at 40, 220 and 300 without growing.
    m_statusArea = new QWidget(statusBar());
    for (QLabel*& part : m_parts) {
        part = new QLabel(m_statusArea);
        part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        part->setTextFormat(Qt::PlainText);
    }
    m_statusArea->setMinimumHeight(m_parts[0]->sizeHint().height());
    m_statusArea->installEventFilter(this);
    statusBar()->addWidget(m_statusArea, 1);
    statusBar()->setSizeGripEnabled(true);

    m_client = new QWidget(this);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);

    m_graph = new GraphWindow(m_client);
    m_graph->setGeometry(kGraphLeft, kGraphTop, 10, 10);
    m_graph->setFont(font());

    m_tabs = new QTabWidget(m_client);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_tabs->setFont(font());
    for (const char* label : {"axis", "graph", "data"}) m_tabs->addTab(new QWidget, QString::fromLatin1(label));
    restorePages();
    // A click on a tab asks the program for the page and leaves the pages alone: the tab control
    // switching by itself would move the focus into the new page's first control before the program
    // shows the page, and that control would be remembered in place of the page's own.
    m_tabBar = m_tabs->tabBar();
    m_tabBar->installEventFilter(this);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index < 0 || (index == m_selectedPage && m_pageShown)) return;
        restorePages();
        emit pageRequested(index);
    });
}

void MainWindow::setStatusText(StatusPart part, const QString& text) {
    QLabel* label = m_parts[part];
    if (label->text() == text) return;
    label->setText(text);
    if (label->isVisible()) label->repaint();
}

std::pair<int, int> MainWindow::statusPartSpan(StatusPart part) const {
    const QLabel* label = m_parts[part];
    return {label->x(), label->x() + label->width()};
}

int MainWindow::cursorPartWidth() const {
    // The widest read-out: both values with a sign and a three-digit exponent, as "%-12g" writes them.
    const QLabel* part = m_parts[kCursorPart];
    const QFontMetrics metrics = part->fontMetrics();
    const int frame = part->width() - part->contentsRect().width();
    const int indent = metrics.horizontalAdvance(QLatin1Char('x'));  // half on each side of the text
    return metrics.horizontalAdvance(QStringLiteral("x=-8.88888e+888 y=-8.88888e+888")) + frame + indent;
}

void MainWindow::layoutStatusParts() {
    const auto edges = statusPartEdges(width(), cursorPartWidth());
    int left = 0;
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        m_parts[i]->setGeometry(left, 0, edges[i] - left, m_statusArea->height());
        left = edges[i];
    }
}

void MainWindow::layoutAll() {
    layoutStatusParts();
    const int h = m_client->height();  // the client area above the status bar
    m_graph->setGeometry(toQRect(graphWindowRect(m_client->width(), h)));
    m_graph->update();
    m_tabs->setGeometry(toQRect(tabControlRect(h)));
}

void MainWindow::restorePages() {
    {
        QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(m_selectedPage);
    }
    for (int i = 0; i < kPageCount; ++i) m_tabs->widget(i)->setVisible(m_pageShown && i == m_selectedPage);
}

void MainWindow::hideCurrentPage() {
    m_rememberedPage = currentPage();
    m_pageShown = false;
    restorePages();
}

void MainWindow::showRememberedPage() {
    m_tabs->show();
    selectPage(m_rememberedPage);
}

void MainWindow::selectPage(int index) {
    m_selectedPage = index;
    m_pageShown = true;
    restorePages();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QMainWindow::closeEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) emit windowStateChanged();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (m_tabBar && watched == m_tabBar) {
        if (event->type() == QEvent::Wheel) return true;  // the wheel over the tabs switches nothing
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const int index = m_tabBar->tabAt(mouse->position().toPoint());
                if (index >= 0 && (index != m_selectedPage || !m_pageShown)) emit pageRequested(index);
            }
            return true;
        }
    }
    if (event->type() == QEvent::Resize) {
        if (watched == m_client) layoutAll();
        if (watched == m_statusArea) layoutStatusParts();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    std::string path = toCodePage(urls.front().toLocalFile());
    if (path.size() > kMaxDroppedName) return;  // a cut name would name another file
    emit fileDropped(path);
}

}  // namespace varnex
