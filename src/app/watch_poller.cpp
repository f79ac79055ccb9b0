#include "app/watch_poller.h"

#include <QFile>
#include <QFileInfo>

#include <QCoreApplication>
#include <QEvent>

namespace varnex {
namespace {

bool isInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
            return true;
        default:
            return false;
    }
}

}  // namespace

WatchPoller::WatchPoller(std::function<bool()> canPoll, std::function<void()> poll)
    : m_canPoll(std::move(canPoll)), m_poll(std::move(poll)) {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &WatchPoller::tick);
    // A report of the file system is tested once the events already waiting (input first) are handled.
    const auto soon = [this] { QTimer::singleShot(0, this, &WatchPoller::tick); };
    connect(&m_fileSystem, &QFileSystemWatcher::fileChanged, this, soon);
    connect(&m_fileSystem, &QFileSystemWatcher::directoryChanged, this, soon);
}

WatchPoller::~WatchPoller() {
    if (auto* app = QCoreApplication::instance(); app && m_timer.isActive()) app->removeEventFilter(this);
}

void WatchPoller::setWatching(bool on) {
    m_watching = on;
    update();
}

void WatchPoller::update() {
    const bool run = m_watching && m_canPoll();
    if (run == m_timer.isActive()) return;
    if (run) {
        m_inputSeen = false;
        QCoreApplication::instance()->installEventFilter(this);
        m_timer.start();
        refreshWatchedPaths();
    } else {
        m_timer.stop();
        QCoreApplication::instance()->removeEventFilter(this);
        if (!m_fileSystem.files().isEmpty()) m_fileSystem.removePaths(m_fileSystem.files());
        if (!m_fileSystem.directories().isEmpty()) m_fileSystem.removePaths(m_fileSystem.directories());
    }
}

// The files and their folders; a file replaced by renaming drops out of the watch, so the paths are
// set again whenever they differ from what is watched.
void WatchPoller::refreshWatchedPaths() {
    if (!m_files) return;
    QStringList files;
    QStringList folders;
    for (const std::string& name : m_files()) {
        const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(name)));
        if (info.exists()) files << info.absoluteFilePath();
        if (!folders.contains(info.absolutePath())) folders << info.absolutePath();
    }
    if (m_fileSystem.files() != files) {
        if (!m_fileSystem.files().isEmpty()) m_fileSystem.removePaths(m_fileSystem.files());
        if (!files.isEmpty()) m_fileSystem.addPaths(files);
    }
    if (m_fileSystem.directories() != folders) {
        if (!m_fileSystem.directories().isEmpty()) m_fileSystem.removePaths(m_fileSystem.directories());
        if (!folders.isEmpty()) m_fileSystem.addPaths(folders);
    }
}

void WatchPoller::tick() {
    if (!m_watching || !m_canPoll()) {
        update();
        return;
    }
    if (m_inputSeen) {
        // Input first: test again as soon as it has been handled.
        m_inputSeen = false;
        QTimer::singleShot(0, this, &WatchPoller::tick);
        return;
    }
    m_poll();
    if (m_timer.isActive()) refreshWatchedPaths();
}

bool WatchPoller::eventFilter(QObject* watched, QEvent* event) {
    if (isInput(event->type())) m_inputSeen = true;
    return QObject::eventFilter(watched, event);
}

}  // namespace varnex
