#include "app/watch_poller.h"

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
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WatchPoller::tick);
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
    } else {
        m_timer.stop();
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

void WatchPoller::tick() {
    if (!m_watching || !m_canPoll()) {
        update();
        return;
    }
    if (m_inputSeen) {
        m_inputSeen = false;
        return;
    }
    m_poll();
}

bool WatchPoller::eventFilter(QObject* watched, QEvent* event) {
    if (isInput(event->type())) m_inputSeen = true;
    return QObject::eventFilter(watched, event);
}

}  // namespace varnex
