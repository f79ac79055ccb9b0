#include "app/reload_scheduler.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace varnex {
namespace {

qint64 processorNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

qint64 pauseAfterReload(qint64 durationMs, double share) {
    if (durationMs <= 0 || !(share > 0) || share >= 1) return 0;
    return static_cast<qint64>(std::ceil(static_cast<double>(durationMs) * (1 / share - 1)));
}

ReloadScheduler::ReloadScheduler(std::function<void()> reload) : m_reload(std::move(reload)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ReloadScheduler::run);
    m_clock.start();
}

// The wait before the next reload may start: the processor time the program has used since the last
// reload began (the reload, its picture's paint and whatever followed) must be at most kBusyShare of
// the time passed since then.
qint64 ReloadScheduler::remainingPauseMs() const {
    if (m_reloads == 0) return 0;
    const qint64 spentMs = (processorNanoseconds() - m_startProcessor + 999'999) / 1'000'000;
    const qint64 neededMs = spentMs + pauseAfterReload(spentMs, kBusyShare);
    return std::max<qint64>(0, m_startWall + neededMs - m_clock.elapsed());
}

void ReloadScheduler::notice() {
    m_pending = true;
    if (m_running || m_timer.isActive()) return;  // the running or waiting reload takes this change
    m_timer.start(static_cast<int>(remainingPauseMs()));
}

void ReloadScheduler::cancel() {
    m_pending = false;
    m_timer.stop();
}

void ReloadScheduler::run() {
    if (!m_pending || m_running) return;
    if (const qint64 wait = remainingPauseMs(); wait > 0) {
        m_timer.start(static_cast<int>(wait));
        return;
    }
    m_pending = false;
    m_running = true;
    // The processor time the reload takes (its reading threads included): on a machine busy with other
    // work the wall-clock time would hold the program back for time it did not use.
    const qint64 start = processorNanoseconds();
    m_startProcessor = start;
    m_startWall = m_clock.elapsed();
    m_reload();
    const qint64 took = processorNanoseconds() - start;
    m_running = false;
    ++m_reloads;
    m_busyNs += took;
    // Changes seen during the reload (its own nested event handling included) come next.
    if (m_pending) m_timer.start(static_cast<int>(remainingPauseMs()));
}

}  // namespace varnex
