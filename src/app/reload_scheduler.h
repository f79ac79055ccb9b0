// Coalesced reloads at a rate the machine can bear. The file watch reports every change it sees
// (notice); the scheduler runs at most one reload at a time, and a change seen while one runs or
// waits is taken by the next one, which reads everything changed since. The next reload starts only
// when the processor time the program used since the last one began (the reload, the paint of its
// picture and anything after) is at most kBusyShare of the time passed, so that reloading on its own
// accord never takes more than kBusyShare of a core: a writer faster than that sees the graph
// updated less often, never a frozen window. Input waiting in the event queue is handled first, as
// the reload is started from a timer.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace varnex {

// The pause after a reload of durationMs, for reloads to take at most `share` of the time.
qint64 pauseAfterReload(qint64 durationMs, double share);

class ReloadScheduler : public QObject {
    Q_OBJECT
public:
    static constexpr double kBusyShare = 0.2;

    // reload reads the changed files again; it runs to its end before the next one may start.
    explicit ReloadScheduler(std::function<void()> reload);

    // A change was seen: reload as soon as the pace allows (at once when nothing ran lately).
    void notice();
    // Drops a waiting reload (Watch switched off, a new file opened).
    void cancel();

    // A reload is waiting for its turn.
    bool waiting() const { return m_timer.isActive(); }
    // Reloads run so far, for tests and the benchmark's trace.
    int reloads() const { return m_reloads; }
    // The processor time spent in reloads so far, in nanoseconds.
    qint64 busyNanoseconds() const { return m_busyNs; }

private:
    void run();
    qint64 remainingPauseMs() const;

    std::function<void()> m_reload;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_startWall = 0;       // m_clock time when the last reload began
    qint64 m_startProcessor = 0;  // the process's processor time then, in nanoseconds
    bool m_running = false;
    bool m_pending = false;
    int m_reloads = 0;
    qint64 m_busyNs = 0;
};

}  // namespace varnex
