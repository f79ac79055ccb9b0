#include "app/background_load.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStatusBar>
#include <QToolButton>
#include <QWidget>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

#include "document/incremental_load.h"
#include "document/loader.h"
#include "render/output/qt/text_codec.h"
#include "util/numbers.h"
#include "util/paths.h"

namespace varnex {

void DeferredMessageBoxes::inform(std::string_view caption, std::string_view text) {
    m_messages.push_back({Message::Inform, std::string(caption), std::string(text), {}});
}

void DeferredMessageBoxes::informWithDetail(std::string_view caption, std::string_view text,
                                            std::string_view detail) {
    m_messages.push_back({Message::Inform, std::string(caption), std::string(text), std::string(detail)});
}

int DeferredMessageBoxes::ask(std::string_view, std::string_view) { return 0; }

Answer DeferredMessageBoxes::askWithCancel(std::string_view, std::string_view) { return Answer::No; }

void DeferredMessageBoxes::fatal(std::string_view text) {
    m_messages.push_back({Message::Fatal, std::string(kFatalCaption), std::string(text), {}});
}

void DeferredMessageBoxes::replay(MessageBoxes& boxes) const {
    for (const Message& message : m_messages) {
        if (message.kind == Message::Fatal)
            boxes.fatal(message.text);
        else if (message.detail.empty())
            boxes.inform(message.caption, message.text);
        else
            boxes.informWithDetail(message.caption, message.text, message.detail);
    }
}

struct BackgroundLoad::Job {
    std::string path;
    std::int64_t size = 0;
    ReadProgress progress;
    LoadedViews result;
    std::function<void(LoadedViews)> done;
    std::thread thread;
};

BackgroundLoad::BackgroundLoad(QWidget& busyWidget, QStatusBar& statusBar,
                               std::function<void(const QString& text)> showStatus)
    : m_busyWidget(busyWidget), m_statusBar(statusBar), m_showStatus(std::move(showStatus)) {
    m_progressTimer.setInterval(kProgressIntervalMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &BackgroundLoad::showProgress);
}

BackgroundLoad::~BackgroundLoad() {
    if (m_job) {
        m_job->progress.stop = true;
        m_finishedThreads.push_back(std::move(m_job->thread));
        m_job.reset();
    }
    for (std::thread& thread : m_finishedThreads) {
        if (thread.joinable()) thread.join();
    }
    if (auto* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

ViewList BackgroundLoad::settingsOnly(const ViewList& views) {
    ViewList copy;
    for (int k = 1; k <= views.viewCount(); ++k) {
        if (k > 1) copy.appendFresh();
        Document& doc = copy.viewAt(k);
        doc = views.viewAt(k);
        doc.readState.reset();
        for (DataSet& set : doc.sets) {
            set.storage.reset();
            set.count = 0;
        }
    }
    copy.setCurrent(views.indexOfCurrent());
    return copy;
}

void BackgroundLoad::start(std::string path, ViewList views, std::function<void(LoadedViews)> done) {
    cancel();
    for (std::thread& thread : m_finishedThreads) {
        if (thread.joinable()) thread.join();
    }
    m_finishedThreads.clear();

    auto job = std::make_shared<Job>();
    job->path = std::move(path);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(std::filesystem::path(job->path), error);
    job->size = error ? 0 : static_cast<std::int64_t>(size);
    job->done = std::move(done);
    job->result.path = job->path;
    job->result.views = std::move(views);
    job->result.messages = std::make_unique<DeferredMessageBoxes>();
    job->result.pool = std::make_unique<DataPool>(*job->result.messages);
    m_job = job;

    if (!m_busyShown) {
        m_busyShown = true;
        m_hadCursor = m_busyWidget.testAttribute(Qt::WA_SetCursor);
        m_savedCursor = m_busyWidget.cursor();
        m_busyWidget.setCursor(Qt::BusyCursor);
    }
    if (!m_cancelButton) {
        auto* button = new QToolButton(&m_statusBar);
        button->setText(QStringLiteral("Cancel"));
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, &BackgroundLoad::cancel);
        m_statusBar.addPermanentWidget(button);
        m_cancelButton = button;
    }
    m_cancelButton->show();
    QCoreApplication::instance()->installEventFilter(this);
    showProgress();
    m_progressTimer.start();

    // The worker owns nothing of the window: its views, pool and messages travel inside the job.
    job->thread = std::thread([this, job] {
        // A lower priority for the read (its piece threads inherit it), so the UI thread gets its turn
        // at once while both cores read.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kReadNiceness);
        ReadKeeper keeper(nullptr);
        keeper.watchWith(&job->progress);
        LoadContext context{*job->result.pool, *job->result.messages, &keeper};
        context.enterFolder = false;
        job->result.sets = loadIntoViews(job->result.views, LoadMode::New, job->path, context);
        QMetaObject::invokeMethod(this, [this, job] { finish(job); }, Qt::QueuedConnection);
    });
}

void BackgroundLoad::cancel() {
    if (!m_job) return;
    m_job->progress.stop = true;
    m_finishedThreads.push_back(std::move(m_job->thread));
    m_job.reset();
    stopShowing();
    emit ended();
}

void BackgroundLoad::finish(const std::shared_ptr<Job>& job) {
    if (job != m_job) return;  // cancelled or replaced: its thread is joined later
    if (job->thread.joinable()) job->thread.join();
    m_job.reset();
    stopShowing();
    if (job->done) job->done(std::move(job->result));
    emit ended();
}

void BackgroundLoad::stopShowing() {
    m_progressTimer.stop();
    if (auto* app = QCoreApplication::instance()) app->removeEventFilter(this);
    if (m_cancelButton) m_cancelButton->hide();
    if (m_busyShown) {
        m_busyShown = false;
        if (m_hadCursor)
            m_busyWidget.setCursor(m_savedCursor);
        else
            m_busyWidget.unsetCursor();
    }
    m_showStatus({});
}

void BackgroundLoad::showProgress() {
    if (!m_job) return;
    const double share = readShare(m_job->progress.bytes.load(), m_job->size);
    const double megabytes = static_cast<double>(m_job->size) / 1e6;
    const std::string text = "Reading " + baseName(m_job->path) + ": " + formatFixed(share * megabytes, 1, 1) +
                             " of " + formatFixed(megabytes, 1, 1) + " MB (" +
                             std::to_string(static_cast<int>(share * 100)) + " %), Esc cancels";
    m_showStatus(fromCodePage(text));
}

bool BackgroundLoad::eventFilter(QObject* watched, QEvent* event) {
    if (m_job && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        !QApplication::activePopupWidget() && !QApplication::activeModalWidget()) {
        cancel();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace varnex
