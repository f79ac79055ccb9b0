// Automatic reload while "&Watch" is on, only while the watch flag is set, the current Document holds
// data and the main window is not minimised. The files are tested as soon as the file system reports
// a change to them or their folders (a program that replaces its file by renaming touches the folder),
// and besides every kIntervalMs as a fallback for file systems that report nothing; waking a hundred
// times a second would cost a few per cent of a core while nothing changes. A test waits while input is
// arriving (input is handled first). Off at start-up; the flag is not stored anywhere.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace varnex {

class WatchPoller : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 250;

    // canPoll: the Document holds data and the window is not minimised. poll: tests the files and
    // reloads when one changed.
    WatchPoller(std::function<bool()> canPoll, std::function<void()> poll);
    ~WatchPoller() override;

    // The files to watch (the current Document's), asked again at every start and after every test.
    void setWatchedFiles(std::function<std::vector<std::string>()> files) { m_files = std::move(files); }

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
    void refreshWatchedPaths();

    std::function<bool()> m_canPoll;
    std::function<void()> m_poll;
    std::function<std::vector<std::string>()> m_files;
    QTimer m_timer;
    QFileSystemWatcher m_fileSystem;
    bool m_watching = false;
    bool m_inputSeen = false;
};

}  // namespace varnex
