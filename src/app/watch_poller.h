// Automatic reload while "&Watch" is on: a 10 ms timer that runs only while the watch flag is set, the
// current Document holds data and the main window is not minimised, and that tests the files only
// when no input has arrived since its last tick (input is handled first). Off at start-up; the flag is
// not stored anywhere.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace varnex {

class WatchPoller : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 10;

    // canPoll: the Document holds data and the window is not minimised. poll: tests the files and
    // reloads when one changed.
    WatchPoller(std::function<bool()> canPoll, std::function<void()> poll);
    ~WatchPoller() override;

    bool watching() const { return m_watching; }
    void setWatching(bool on);

    // Starts or stops the timer after a change of the conditions (a load, the window state).
    void update();
    // True while the timer runs.
    bool polling() const { return m_timer.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();

    std::function<bool()> m_canPoll;
    std::function<void()> m_poll;
    QTimer m_timer;
    bool m_watching = false;
    bool m_inputSeen = false;
};

}  // namespace varnex
