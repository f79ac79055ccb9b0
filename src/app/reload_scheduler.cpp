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

void ReloadScheduler::notice() {
    m_pending = true;
    if (m_running || m_timer.isActive()) return;  // the running or waiting reload takes this change
    m_timer.start(static_cast<int>(std::max<qint64>(0, m_earliest - m_clock.elapsed())));
}

void ReloadScheduler::cancel() {
    m_pending = false;
    m_timer.stop();
}

void ReloadScheduler::run() {
    if (!m_pending || m_running) return;
    m_pending = false;
    m_running = true;
    // The processor time the reload takes (its reading threads included): on a machine busy with other
    // work the wall-clock time would hold the program back for time it did not use.
    const qint64 start = processorNanoseconds();
    m_reload();
    const qint64 took = processorNanoseconds() - start;
    m_running = false;
    ++m_reloads;
    m_busyNs += took;
    // Rounded up to whole milliseconds, so that even a quick reload leaves a pause.
    m_earliest = m_clock.elapsed() + pauseAfterReload((took + 999'999) / 1'000'000, kBusyShare);
    // Changes seen during the reload (its own nested event handling included) come next.
    if (m_pending) m_timer.start(static_cast<int>(std::max<qint64>(0, m_earliest - m_clock.elapsed())));
}

}  // namespace varnex
