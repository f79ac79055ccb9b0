// Automatic reload while Watch is on, and the reload question when the user comes back to the window.
#include <QtTest>

#include "app/watch_poller.h"
#include "desktop_fixture.h"
#include "graph/graph_view.h"
#include "shell/commands.h"

namespace varnex {
namespace {

using testing::DesktopFixture;
using testing::kRunData;

constexpr const char* kRewritten = "Cooling curves, run 13\n\nsample A\n0 40.0 1.5\n1 38.2 3.1\n2 30.9 4.8\n3 25.8 8.9\n";

std::string pictureText(DesktopFixture& f) {
    const Picture* picture = f.desktop().graph().picture();
    return picture ? picture->dump() : std::string();
}

// Waits long enough for several polls of the 10 ms timer.
void letItPoll() { QTest::qWait(10 * WatchPoller::kIntervalMs); }

}  // namespace

class WatchTest : public QObject {
    Q_OBJECT
private slots:
    void rewrittenFileIsDrawnAgain();
    void touchedAppendedFileIsDrawnAgain();
    void fileTimeGoingBackwardsDoesNotReload();
    void minimisedWindowDoesNotPoll();
    void emptyDocumentDoesNotPoll();
    void activationFromOutsideAsksBeforeReloading();
    void activationWhileWatchingDoesNotAsk();
};

void WatchTest::rewrittenFileIsDrawnAgain() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    const std::string before = pictureText(f);
    QVERIFY(!before.empty());
    f.desktop().actions().runCommand(command::kWatch);
    QVERIFY(f.desktop().watch().watching());
    QVERIFY(f.desktop().watch().polling());
    f.write("run.dat", kRewritten);
    f.shiftTime("run.dat", 2);
    QTRY_VERIFY_WITH_TIMEOUT(pictureText(f) != before, 2000);
    QVERIFY(f.boxes.messages().empty());
    // Watch off: no more reloads.
    f.desktop().actions().runCommand(command::kWatch);
    QVERIFY(!f.desktop().watch().polling());
    const std::string after = pictureText(f);
    f.write("run.dat", kRunData);
    f.shiftTime("run.dat", 4);
    letItPoll();
    QCOMPARE(pictureText(f), after);
}

void WatchTest::touchedAppendedFileIsDrawnAgain() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.write("extra.dat", "Extra\n0 1\n1 2\n2 3\n");
    f.start(f.path("run.dat"));
    f.boxes.scriptAnswers({Answer::Yes});
    emit f.window().fileDropped(f.path("extra.dat"));
    QCOMPARE(f.document().files.count(), 2);
    QCOMPARE(f.document().data, 3);
    const std::string before = pictureText(f);
    f.desktop().actions().runCommand(command::kWatch);
    f.write("extra.dat", "Extra\n0 10\n1 20\n2 30\n");
    f.shiftTime("extra.dat", 2);
    QTRY_VERIFY_WITH_TIMEOUT(pictureText(f) != before, 2000);
    QCOMPARE(f.document().data, 3);
}

void WatchTest::fileTimeGoingBackwardsDoesNotReload() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    const std::string before = pictureText(f);
    f.desktop().actions().runCommand(command::kWatch);
    f.write("run.dat", kRewritten);
    f.shiftTime("run.dat", -3600);
    letItPoll();
    QCOMPARE(pictureText(f), before);
}

void WatchTest::minimisedWindowDoesNotPoll() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    const std::string before = pictureText(f);
    f.desktop().actions().runCommand(command::kWatch);
    f.window().showMinimized();
    QTRY_VERIFY(!f.desktop().watch().polling());
    f.write("run.dat", kRewritten);
    f.shiftTime("run.dat", 2);
    letItPoll();
    QCOMPARE(pictureText(f), before);
    // Restoring the window resumes polling at once.
    f.window().showNormal();
    QTRY_VERIFY(f.desktop().watch().polling());
    QTRY_VERIFY_WITH_TIMEOUT(pictureText(f) != before, 2000);
}

void WatchTest::emptyDocumentDoesNotPoll() {
    DesktopFixture f;
    f.start("");
    f.desktop().actions().runCommand(command::kWatch);
    QVERIFY(f.desktop().watch().watching());
    QVERIFY(!f.desktop().watch().polling());
    // Opening a file while watching starts the polling.
    f.write("run.dat", kRunData);
    f.desktop().documents().open(f.path("run.dat"));
    QVERIFY(f.desktop().watch().polling());
}

void WatchTest::activationFromOutsideAsksBeforeReloading() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    const std::string before = pictureText(f);

    // Unchanged file: no question.
    f.desktop().activatedFromOutside();
    QVERIFY(f.boxes.messages().empty());

    f.write("run.dat", kRewritten);
    f.shiftTime("run.dat", 2);
    f.boxes.scriptAnswers({Answer::No});
    f.desktop().activatedFromOutside();
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].kind, std::string("ask"));
    QCOMPARE(f.boxes.messages()[0].caption, std::string("VarnexWin32 3.26c"));
    QCOMPARE(f.boxes.messages()[0].text, std::string("File is updated.\nReload?"));
    QCOMPARE(pictureText(f), before);

    // The question comes again at the next activation; Yes reloads.
    f.boxes.scriptAnswers({Answer::Yes});
    f.desktop().activatedFromOutside();
    QCOMPARE(f.boxes.messages().size(), std::size_t{2});
    QVERIFY(pictureText(f) != before);
    f.desktop().activatedFromOutside();
    QCOMPARE(f.boxes.messages().size(), std::size_t{2});
}

void WatchTest::activationWhileWatchingDoesNotAsk() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    f.desktop().actions().runCommand(command::kWatch);
    // No event is processed between the change and the activation, so no poll has reloaded yet.
    f.write("run.dat", kRewritten);
    f.shiftTime("run.dat", 2);
    f.desktop().activatedFromOutside();
    QVERIFY(f.boxes.messages().empty());
}

}  // namespace varnex

QTEST_MAIN(varnex::WatchTest)
#include "watch_test.moc"
