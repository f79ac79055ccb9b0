// Opening a big data file off the UI thread. The worker loads into a View list and a data pool of its
// own (copies of the views' settings without their arrays), so it never touches the Document or the
// pool the window is drawing; its messages are recorded and shown on the UI thread afterwards. The
// name is made absolute before the worker starts, and the worker leaves the current directory alone:
// the caller enters the file's folder on the UI thread once the load has succeeded.
//
// While it runs, the status bar shows the progress (bytes read and percent) with a Cancel button, the
// graph window a busy cursor; menus and panels keep answering. Escape or Cancel stops the read (it
// ends at once with what it has) and the result is thrown away: the graph and its files stay as they
// were. Only one load runs: starting another stops the first.
#pragma once

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "document/data_pool.h"
#include "document/read_progress.h"
#include "document/view_list.h"
#include "util/message_boxes.h"

class QAbstractButton;
class QStatusBar;
class QWidget;

namespace varnex {

// Message boxes for a load on another thread: information and the fatal message are kept to be shown
// later; questions are answered No (an open asks none).
class DeferredMessageBoxes final : public MessageBoxes {
public:
    struct Message {
        enum Kind { Inform, Fatal } kind;
        std::string caption;
        std::string text;
        std::string detail;
    };
    void inform(std::string_view caption, std::string_view text) override;
    void informWithDetail(std::string_view caption, std::string_view text, std::string_view detail) override;
    int ask(std::string_view caption, std::string_view text) override;
    Answer askWithCancel(std::string_view caption, std::string_view text) override;
    void fatal(std::string_view text) override;

    // Shows the kept messages, in order, through boxes.
    void replay(MessageBoxes& boxes) const;
    const std::vector<Message>& messages() const { return m_messages; }

private:
    std::vector<Message> m_messages;
};

// What a finished load hands to the UI thread.
struct LoadedViews {
    std::string path;  // the absolute name that was opened
    int sets = 0;      // 0: the load failed (views then hold the emptied first view)
    ViewList views;
    std::unique_ptr<DeferredMessageBoxes> messages;
    std::unique_ptr<DataPool> pool;
};

class BackgroundLoad : public QObject {
    Q_OBJECT
public:
    // Files of at least this many bytes are opened off the UI thread: about 0.3 s of reading here.
    static constexpr std::int64_t kDefaultThresholdBytes = 48LL * 1024 * 1024;
    static constexpr int kProgressIntervalMs = 100;
    static constexpr int kReadNiceness = 4;

    // busyWidget gets the busy cursor, statusBar the progress and Cancel; both must outlive the load.
    BackgroundLoad(QWidget& busyWidget, QStatusBar& statusBar,
                   std::function<void(const QString& text)> showStatus);
    ~BackgroundLoad() override;

    // Whether a file of `bytes` bytes is opened in the background.
    bool wanted(std::int64_t bytes) const { return bytes >= m_threshold; }
    void setThreshold(std::int64_t bytes) { m_threshold = bytes; }

    // Starts opening path (absolute) with views (the settings to load into, without arrays); done runs
    // on the UI thread when the load ends unless it was cancelled.
    void start(std::string path, ViewList views, std::function<void(LoadedViews)> done);
    // Stops the load; its result is dropped and done never runs.
    void cancel();
    bool running() const { return m_job != nullptr; }

    // A copy of views for a worker: every setting, no arrays and no kept reads.
    static ViewList settingsOnly(const ViewList& views);

signals:
    // After the load ended, was cancelled or gave its result.
    void ended();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Job;
    void showProgress();
    void finish(const std::shared_ptr<Job>& job);
    void stopShowing();

    QWidget& m_busyWidget;
    QStatusBar& m_statusBar;
    std::function<void(const QString&)> m_showStatus;
    QPointer<QAbstractButton> m_cancelButton;
    bool m_busyShown = false;
    bool m_hadCursor = false;  // the busy widget had a cursor of its own, which comes back afterwards
    QCursor m_savedCursor;
    QTimer m_progressTimer;
    std::int64_t m_threshold = kDefaultThresholdBytes;
    std::shared_ptr<Job> m_job;
    std::vector<std::thread> m_finishedThreads;  // joined at the next start and at destruction
};

}  // namespace varnex
