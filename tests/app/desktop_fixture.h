// A desktop started in a temporary folder: the program path and its configuration file lie there, data
// files are written there, message boxes are recorded and external programs are noted, not started.
// The per-user configuration folder ($XDG_CONFIG_HOME: recent files, window geometry) lies there too.
#pragma once

#include <QDir>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/command_actions.h"
#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/main_window.h"
#include "app/watch_poller.h"
#include "graph/graph_view.h"
#include "support/recording_message_boxes.h"

namespace varnex::testing {

inline constexpr const char* kStandardConfiguration =
    "print ox=2\nprint oy=1\nprint width=15\nwidth graph=0.3\nwidth frame=0.3\nmarker size=1.3\n"
    "limittext=1000\next=dat txt\n";

inline constexpr const char* kRunData =
    "Cooling curves, run 12\n\nsample A\n0 20.0 21.5\n1 18.2 20.1\n2 16.9 18.8\n3 15.8 17.9\n";

struct StartedProgram {
    QString program;
    QStringList arguments;
};

class DesktopFixture {
public:
    DesktopFixture() : m_savedConfigHome(qgetenv("XDG_CONFIG_HOME")) {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toLocal8Bit());
    }
    ~DesktopFixture() {
        if (m_desktop) m_desktop->window().close();
        m_desktop.reset();
        // Opening a file makes its folder the current directory; the folder is about to go.
        QDir::setCurrent(m_startFolder);
        if (m_savedConfigHome.isNull()) qunsetenv("XDG_CONFIG_HOME");
        else qputenv("XDG_CONFIG_HOME", m_savedConfigHome);
    }

    std::string path(const std::string& name) const { return m_dir.filePath(QString::fromStdString(name)).toStdString(); }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
        out << text;
    }

    // Moves the file's modification time by seconds (negative: into the past).
    void shiftTime(const std::string& name, int seconds) const {
        const auto p = std::filesystem::path(path(name));
        std::filesystem::last_write_time(p, std::filesystem::last_write_time(p) + std::chrono::seconds(seconds));
    }

    // Starts the desktop with commandLine (a name relative to the folder when it names a file there,
    // or as given) and the configuration text; without a configuration no file is written.
    void start(const std::string& commandLine, const char* configuration = kStandardConfiguration) {
        if (configuration) write("varnexw32.ini", configuration);
        DesktopOptions options;
        options.programPath = path("varnexw32");
        options.programs = ExternalPrograms(
            [this](const QString& program, const QStringList& arguments) {
                started.push_back({program, arguments});
                return true;
            },
            [this](const QUrl& url) {
                opened.push_back(url);
                return true;
            });
        m_desktop = std::make_unique<Desktop>(std::move(options), boxes);
        m_desktop->start(commandLine);
    }

    Desktop& desktop() { return *m_desktop; }
    MainWindow& window() { return m_desktop->window(); }
    const Document& document() { return m_desktop->document(); }

    // The titles of the main menu, in order.
    QStringList menuTitles() {
        QStringList titles;
        for (QAction* a : window().menuBar()->actions()) titles << a->text();
        return titles;
    }

    QMenu* menu(const QString& title) {
        for (QAction* a : window().menuBar()->actions()) {
            if (a->text() == title) return a->menu();
        }
        return nullptr;
    }

    RecordingMessageBoxes boxes;
    std::vector<StartedProgram> started;
    std::vector<QUrl> opened;

private:
    QString m_startFolder = QDir::currentPath();
    QByteArray m_savedConfigHome;
    QTemporaryDir m_dir;
    std::unique_ptr<Desktop> m_desktop;
};

}  // namespace varnex::testing
