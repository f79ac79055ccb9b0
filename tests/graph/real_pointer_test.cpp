// End to end with real input: the program runs on a display server (Xvfb on display :93), a real
// pointer moves over a marker drawn at a known point, the right button opens the range pop-up, the
// keys choose "x and y" and "Copy", and the clipboard, read by another program, holds the point's values
// to within one pixel. Skipped, with a line saying why, when Xvfb, xdotool or xclip is missing or the
// display server cannot start.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace varnex {
namespace {

constexpr const char* kDisplay = ":93";
constexpr const char* kSocket = "/tmp/.X11-unix/X93";

// Two markers in a frame from 0 to 10 on both axes.
constexpr const char* kPointerData =
    "Pointer test\n\ntarget\n2.5 7.5\n7 3\n\n%x=0 10\n%y=0 10\n%nh=0\n%nk=1\n%%%%%%\n";
constexpr double kPoints[][2] = {{2.5, 7.5}, {7, 3}};

// The display server this test starts, or nothing.
struct DisplayServer {
    pid_t pid = 0;
    QString failure;  // why there is none
};

DisplayServer startDisplayServer() {
    DisplayServer server;
    QByteArray xvfb = QStandardPaths::findExecutable("Xvfb").toLocal8Bit();
    if (xvfb.isEmpty()) {
        server.failure = "Xvfb is not installed";
        return server;
    }
    if (std::filesystem::exists(kSocket)) {
        server.failure = "display :93 is in use";
        return server;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char screen[] = "1280x1024x24";
    char display[] = ":93";
    char screenFlag[] = "-screen";
    char zero[] = "0";
    char noTcp[] = "-nolisten";
    char tcp[] = "tcp";
    char* argv[] = {xvfb.data(), display, screenFlag, zero, screen, noTcp, tcp, nullptr};
    const int spawned = posix_spawn(&server.pid, xvfb.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        server = {0, "Xvfb could not be started"};
        return server;
    }
    for (int i = 0; i < 100 && !std::filesystem::exists(kSocket); ++i) {
        int status = 0;
        if (waitpid(server.pid, &status, WNOHANG) == server.pid) {
            server = {0, "Xvfb ended at once on display :93"};
            return server;
        }
        QThread::msleep(50);
    }
    if (!std::filesystem::exists(kSocket)) {
        kill(server.pid, SIGTERM);
        waitpid(server.pid, nullptr, 0);
        server = {0, "Xvfb did not open display :93 within 5 s"};
    }
    return server;
}

void stopDisplayServer(const DisplayServer& server) {
    if (server.pid == 0) return;
    kill(server.pid, SIGTERM);
    waitpid(server.pid, nullptr, 0);
}

// Runs a tool on the test display; its standard output, or nothing when it failed.
std::optional<QString> runTool(const QString& program, const QStringList& arguments, int timeoutMs = 5000) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", kDisplay);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool isDark(const QImage& image, int x, int y) { return image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100; }

// The client area of the graph window (inside its black border) in screen pixels: the border is the
// first dark column met from the main window's right edge leftwards at half its height.
std::optional<QRect> findGraphClient(const QImage& screen, const QRect& mainWindow) {
    const int y = mainWindow.center().y();
    int right = -1;
    for (int x = mainWindow.right(); x > mainWindow.center().x(); --x) {
        if (isDark(screen, x, y)) {
            right = x;
            break;
        }
    }
    if (right < 0) return std::nullopt;
    int top = y, bottom = y;
    while (isDark(screen, right, top - 1)) --top;
    while (isDark(screen, right, bottom + 1)) ++bottom;
    const int side = bottom - top + 1;
    if (side < 50) return std::nullopt;
    return QRect(right - side + 2, top + 1, side - 2, side - 2);
}

// The pixel at the centre of the ink within `half` pixels of `near`.
std::optional<QPoint> inkCentre(const QImage& screen, QPoint near, int half) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = near.y() - half; y <= near.y() + half; ++y) {
        for (int x = near.x() - half; x <= near.x() + half; ++x) {
            if (!isDark(screen, x, y)) continue;
            sx += x + 0.5;
            sy += y + 0.5;
            ++n;
        }
    }
    if (n == 0) return std::nullopt;
    return QPoint(int(std::floor(sx / n)), int(std::floor(sy / n)));
}

}  // namespace

class RealPointerTest : public QObject {
    Q_OBJECT
public:
    explicit RealPointerTest(QString failure) : m_failure(std::move(failure)) {}

private slots:
    void copiedValueMatchesThePointUnderThePointer();

private:
    QString m_failure;
};

void RealPointerTest::copiedValueMatchesThePointUnderThePointer() {
    if (!m_failure.isEmpty()) QSKIP(qPrintable("no display server for the real-input test: " + m_failure));
    for (const char* tool : {"xdotool", "xclip"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) QSKIP(qPrintable(QString(tool) + " is not installed"));
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString data = dir.filePath("pointer.dat");
    std::ofstream(data.toStdString(), std::ios::binary) << kPointerData;

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", kDisplay);
    env.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(env);
    program.start(QString(VARNEX_BIN_DIR) + "/varnexw32", {data});
    QVERIFY(program.waitForStarted());
    const auto stopProgram = qScopeGuard([&] {
        program.kill();
        program.waitForFinished();
    });

    // The main window, by its title.
    QString windowId;
    QElapsedTimer timer;
    timer.start();
    while (windowId.isEmpty() && timer.elapsed() < 15000) {
        if (auto found = runTool("xdotool", {"search", "--name", "pointer.dat - VarnexWin32"})) {
            windowId = found->split('\n', Qt::SkipEmptyParts).value(0);
        }
        if (windowId.isEmpty()) QThread::msleep(100);
    }
    QVERIFY2(!windowId.isEmpty(), "the program's window did not appear");
    const std::optional<QString> shell = runTool("xdotool", {"getwindowgeometry", "--shell", windowId});
    QVERIFY(shell);
    QMap<QString, int> geometry;
    for (const QString& line : shell->split('\n', Qt::SkipEmptyParts)) {
        geometry[line.section('=', 0, 0)] = line.section('=', 1).toInt();
    }
    const QRect mainWindow(geometry["X"], geometry["Y"], geometry["WIDTH"], geometry["HEIGHT"]);

    // The drawn graph: the graph window's client area and both markers in it.
    QImage screen;
    std::optional<QRect> client;
    std::vector<QPoint> markers;
    timer.restart();
    while (markers.size() != 2 && timer.elapsed() < 10000) {
        QThread::msleep(100);
        screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        client = findGraphClient(screen, mainWindow);
        if (!client) continue;
        markers.clear();
        const int side = std::min(client->width(), client->height());
        for (const auto& p : kPoints) {
            const QPoint predicted(client->x() + int(side * (25 + 7 * p[0]) / 100),
                                   client->y() + int(side * (100 - (25 + 7 * p[1])) / 100));
            if (auto centre = inkCentre(screen, predicted, side / 40 + 4)) markers.push_back(*centre);
        }
    }
    QVERIFY2(markers.size() == 2, "the markers were not found on the screen");
    const double pixelWorth = 10.0 / (0.7 * std::min(client->width(), client->height()));

    QString previous;
    for (std::size_t i = 0; i < markers.size(); ++i) {
        const QPoint at = markers[i];
        QVERIFY(runTool("xdotool", {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())}));
        QThread::msleep(200);
        QVERIFY(runTool("xdotool", {"click", "3"}));
        QThread::msleep(400);
        QVERIFY(runTool("xdotool", {"key", "a"}));  // "x &and y"
        QThread::msleep(300);
        QVERIFY(runTool("xdotool", {"key", "c"}));  // "&Copy"
        QString copied;
        timer.restart();
        while (timer.elapsed() < 5000) {
            copied = runTool("xclip", {"-o", "-selection", "clipboard"}, 2000).value_or(QString());
            if (!copied.isEmpty() && copied != previous) break;
            QThread::msleep(100);
        }
        previous = copied;
        const QStringList values = copied.split('\t');
        QVERIFY2(values.size() == 2, qPrintable("clipboard: \"" + copied + "\""));
        const double x = values[0].toDouble(), y = values[1].toDouble();
        QVERIFY2(std::abs(x - kPoints[i][0]) <= pixelWorth && std::abs(y - kPoints[i][1]) <= pixelWorth,
                 qPrintable(QString("point (%1, %2) copied as \"%3\", one pixel is %4")
                                .arg(kPoints[i][0]).arg(kPoints[i][1]).arg(copied).arg(pixelWorth)));
    }
}

}  // namespace varnex

int main(int argc, char** argv) {
    const varnex::DisplayServer server = varnex::startDisplayServer();
    // The test itself looks at the screen of its display server; without one it only reports the skip.
    qputenv("QT_QPA_PLATFORM", server.pid != 0 ? "xcb" : "offscreen");
    if (server.pid != 0) qputenv("DISPLAY", varnex::kDisplay);
    int result = 0;
    {
        QApplication app(argc, argv);
        varnex::RealPointerTest test(server.failure);
        result = QTest::qExec(&test, argc, argv);
    }
    varnex::stopDisplayServer(server);
    return result;
}

#include "real_pointer_test.moc"
