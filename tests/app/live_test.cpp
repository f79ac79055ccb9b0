// Live graphs: reloads of a growing file coalesced at a bearable pace, big files opened in the
// background (Escape leaves the old graph), and Follow keeping the newest point at the right edge.
#include <QApplication>
#include <QtTest>
#include <atomic>
#include <fstream>
#include <thread>

#include "app/background_load.h"
#include "app/reload_scheduler.h"
#include "desktop_fixture.h"
#include "document/parameter_file.h"
#include "graph/graph_window.h"
#include "shell/commands.h"

namespace varnex {
namespace {

using testing::DesktopFixture;
using testing::kRunData;

std::string pictureText(DesktopFixture& f) {
    const Picture* picture = f.desktop().graph().picture();
    return picture ? picture->dump() : std::string();
}

void appendText(DesktopFixture& f, const std::string& name, const std::string& text) {
    std::ofstream out(f.path(name), std::ios::binary | std::ios::app);
    out << text;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int pointsOfFirstSet(DesktopFixture& f) { return f.document().data > 0 ? f.document().sets[1].count : 0; }

}  // namespace

class LiveTest : public QObject {
    Q_OBJECT
private slots:
    void pauseKeepsReloadsToTheirShare();
    void noticesAreCoalesced();
    void fastWriterGetsCoalescedReloads();
    void escapeLeavesTheOldGraph();
    void backgroundOpenReplacesTheGraph();
    void followShiftsTheRangeAndIsSaved();
};

void LiveTest::pauseKeepsReloadsToTheirShare() {
    const struct {
        qint64 duration;
        double share;
        qint64 pause;
    } cases[] = {{0, 0.2, 0}, {10, 0.2, 40}, {100, 0.2, 400}, {3, 0.5, 3}, {10, 0, 0}, {10, 1, 0}, {-5, 0.2, 0}};
    for (const auto& c : cases) QCOMPARE(pauseAfterReload(c.duration, c.share), c.pause);
}

// Changes seen while a reload runs or waits are all taken by one next reload.
void LiveTest::noticesAreCoalesced() {
    int runs = 0;
    ReloadScheduler* self = nullptr;
    ReloadScheduler scheduler([&] {
        ++runs;
        if (runs == 1)
            for (int i = 0; i < 10; ++i) self->notice();  // changes during the reload
    });
    self = &scheduler;
    for (int i = 0; i < 5; ++i) scheduler.notice();
    QVERIFY(scheduler.waiting());
    QTRY_COMPARE(runs, 2);
    QTest::qWait(50);
    QCOMPARE(runs, 2);
    QCOMPARE(scheduler.reloads(), 2);
    scheduler.notice();
    scheduler.cancel();
    QTest::qWait(50);
    QCOMPARE(runs, 2);
}

// A writer much faster than the program: far fewer reloads than writes, reloading takes about a fifth
// of the time at most, and once the writer stops the graph holds every row.
void LiveTest::fastWriterGetsCoalescedReloads() {
    DesktopFixture f;
    f.write("log.dat", "Logger\n\nvalue\n0 0\n");
    f.start(f.path("log.dat"));
    QCOMPARE(pointsOfFirstSet(f), 1);
    f.desktop().actions().runCommand(command::kWatch);
    QVERIFY(f.desktop().watch().polling());
    constexpr int kRows = 3000;
    std::atomic<bool> finished{false};
    QElapsedTimer wall;
    wall.start();
    std::thread writer([&] {
        for (int k = 1; k < kRows; ++k) {
            appendText(f, "log.dat", std::to_string(k) + " " + std::to_string(k * 2) + "\n");
            if (k % 10 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        finished = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(finished, 20000);
    writer.join();
    QTRY_COMPARE_WITH_TIMEOUT(pointsOfFirstSet(f), kRows, 5000);
    const ReloadScheduler& reloads = f.desktop().reloads();
    QVERIFY2(reloads.reloads() >= 1 && reloads.reloads() < kRows / 10, qPrintable(QString::number(reloads.reloads())));
    // A fifth of the time, and one reload's worth of slack for the last one.
    const double busy = static_cast<double>(reloads.busyNanoseconds());
    const double perReload = busy / reloads.reloads();
    QVERIFY2(busy <= 0.25 * static_cast<double>(wall.nsecsElapsed()) + perReload,
             qPrintable(QString("%1 ms busy in %2 ms").arg(busy / 1e6).arg(wall.elapsed())));
    QCOMPARE(f.document().dataxmax, kRows - 1.0);
    QVERIFY(f.boxes.messages().empty());
}

void LiveTest::escapeLeavesTheOldGraph() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.write("big.dat", "Big\n\nnew\n0 5\n1 6\n2 7\n");
    f.start(f.path("run.dat"));
    const std::string before = pictureText(f);
    const std::string folder = QDir::currentPath().toStdString();
    QDir::setCurrent(QDir::tempPath());
    BackgroundLoad& background = f.desktop().backgroundLoad();
    background.setThreshold(0);
    f.desktop().documents().openInBackground(f.path("big.dat"));
    QVERIFY(background.running());
    const Qt::CursorShape own = Qt::CrossCursor;  // the graph window's own cursor
    QCOMPARE(f.window().graphWindow().cursor().shape(), Qt::BusyCursor);
    QVERIFY(f.window().statusText(kMessagePart).startsWith(QStringLiteral("Reading big.dat")));
    QTest::keyClick(&f.window(), Qt::Key_Escape);
    QVERIFY(!background.running());
    QTest::qWait(200);  // the worker's end arrives and is dropped
    QCOMPARE(pictureText(f), before);
    QCOMPARE(f.document().files.name(0), f.path("run.dat"));
    QCOMPARE(f.document().data, 2);
    QCOMPARE(f.window().graphWindow().cursor().shape(), own);
    QVERIFY(f.window().statusText(kMessagePart).isEmpty());
    QCOMPARE(QDir::currentPath(), QDir::tempPath());  // the folder is changed only after a success
    QVERIFY(f.boxes.messages().empty());
    QDir::setCurrent(QString::fromStdString(folder));
}

void LiveTest::backgroundOpenReplacesTheGraph() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.write("big.dat", "Big\n\nnew\n0 5\n1 6\n2 7\n");
    f.write("bad.dat", "no numbers here\n");
    f.start(f.path("run.dat"));
    QDir::setCurrent(QDir::tempPath());
    f.desktop().backgroundLoad().setThreshold(0);
    f.desktop().documents().openInBackground(f.path("big.dat"));
    QTRY_VERIFY(!f.desktop().backgroundLoad().running());
    QCOMPARE(f.document().files.name(0), f.path("big.dat"));
    QCOMPARE(f.document().data, 1);
    QCOMPARE(f.document().sets[1].count, 3);
    QCOMPARE(f.document().vtitle.str(), std::string("Big"));
    QVERIFY(!pictureText(f).empty());
    QCOMPARE(QDir::currentPath().toStdString(), std::filesystem::path(f.path("big.dat")).parent_path().string());
    QVERIFY(f.boxes.messages().empty());
    // A file without numbers fails as a direct open does: reported once the read ends.
    f.desktop().documents().openInBackground(f.path("bad.dat"));
    QTRY_VERIFY(!f.desktop().backgroundLoad().running());
    QCOMPARE(f.document().data, 0);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
}

void LiveTest::followShiftsTheRangeAndIsSaved() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    QVERIFY(!f.document().follow);
    const double width = f.document().xmax - f.document().xmin;
    const double ymin = f.document().ymin;
    const double ymax = f.document().ymax;
    f.desktop().actions().runCommand(command::kFollow);
    QVERIFY(f.document().follow);
    QVERIFY(f.desktop().actions().action(command::kFollow)->isChecked());

    // Rows beyond the range: the range moves right, keeping its width; y stays.
    appendText(f, "run.dat", "4 14.9 17.0\n5 14.1 16.2\n12 13.0 15.0\n");
    f.desktop().documents().reload();
    QCOMPARE(f.document().sets[1].count, 7);
    QCOMPARE(f.document().xmax, 12.0);
    QCOMPARE(f.document().xmax - f.document().xmin, width);
    QCOMPARE(f.document().ymin, ymin);
    QCOMPARE(f.document().ymax, ymax);

    // Saved with the view and read back on reopening.
    f.desktop().actions().runCommand(command::kSave);
    const std::string parameters = readAll(parameterFileName(f.path("run.dat")));
    QVERIFY(parameters.find("\r\nfollow=1\r\n") != std::string::npos);
    f.desktop().documents().open(f.path("run.dat"));
    QVERIFY(f.document().follow);
    QCOMPARE(f.document().xmax, 12.0);

    // Off: no key, and reloads leave the range alone.
    f.desktop().actions().runCommand(command::kFollow);
    QVERIFY(!f.document().follow);
    f.desktop().actions().runCommand(command::kSave);
    QVERIFY(readAll(parameterFileName(f.path("run.dat"))).find("follow=") == std::string::npos);
    appendText(f, "run.dat", "20 1 1\n");
    f.desktop().documents().reload();
    QCOMPARE(f.document().xmax, 12.0);
}

}  // namespace varnex

QTEST_MAIN(varnex::LiveTest)
#include "live_test.moc"
