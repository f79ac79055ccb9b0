// The per-user state of the desktop: File > Recent Files (order, cap, labels, a missing file greyed,
// choosing an entry) and the window's size and position, both kept between runs in the test's own
// $XDG_CONFIG_HOME.
#include <QMenu>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <random>

#include "app/recent_files.h"
#include "app/user_state.h"
#include "desktop_fixture.h"
#include "shell/commands.h"
#include "shell/window_parts.h"

namespace varnex {

using testing::DesktopFixture;
using testing::kRunData;

namespace {

QStringList labels(const QMenu& menu) {
    QStringList items;
    for (const QAction* a : menu.actions()) items << QString("%1 %2").arg(a->data().toInt()).arg(a->text());
    return items;
}

QAction* entry(DesktopFixture& f, int index) { return f.desktop().actions().recentMenu()->actions().value(index); }

// Writes and opens name.dat for each name, in order.
void openAll(DesktopFixture& f, const QStringList& names) {
    for (const QString& name : names) {
        const std::string file = name.toStdString() + ".dat";
        f.write(file, kRunData);
        f.desktop().documents().open(f.path(file));
    }
}

}  // namespace

class UserStateTest : public QObject {
    Q_OBJECT
private slots:
    void listOrderAndCap_data();
    void listOrderAndCap();
    void listPropertiesHoldForAnySequence();
    void entryLabels();
    void menuListsOrdersCapsAndOpens();
    void missingFileIsGreyed();
    void listAndGeometryOutliveTheWindow();
};

void UserStateTest::listOrderAndCap_data() {
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QStringList>("list");
    QTest::newRow("none") << QStringList{} << QStringList{};
    QTest::newRow("most recent first") << QStringList{"a", "b", "c"} << QStringList{"c", "b", "a"};
    QTest::newRow("again moves up") << QStringList{"a", "b", "c", "a"} << QStringList{"a", "c", "b"};
    QTest::newRow("same twice") << QStringList{"a", "a"} << QStringList{"a"};
    QTest::newRow("empty name ignored") << QStringList{"a", ""} << QStringList{"a"};
    QTest::newRow("eight kept") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"}
                                << QStringList{"8", "7", "6", "5", "4", "3", "2", "1"};
    QTest::newRow("ninth drops the oldest") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}
                                            << QStringList{"9", "8", "7", "6", "5", "4", "3", "2"};
}

void UserStateTest::listOrderAndCap() {
    QFETCH(QStringList, opened);
    QFETCH(QStringList, list);
    std::vector<std::string> recent;
    for (const QString& name : opened) recent = withRecentFile(recent, name.toStdString());
    QStringList got;
    for (const std::string& name : recent) got << QString::fromStdString(name);
    QCOMPARE(got, list);
}

void UserStateTest::listPropertiesHoldForAnySequence() {
    // The list is always the distinct names of the opens, latest open first, cut to eight.
    std::mt19937 random(17);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> recent;
        std::vector<std::string> opened;
        const int opens = static_cast<int>(random() % 30);
        for (int i = 0; i < opens; ++i) {
            opened.push_back("/f/" + std::to_string(random() % 12) + ".dat");
            recent = withRecentFile(recent, opened.back());
        }
        std::vector<std::string> expected;
        for (auto it = opened.rbegin(); it != opened.rend(); ++it) {
            if (std::find(expected.begin(), expected.end(), *it) == expected.end()) expected.push_back(*it);
        }
        if (expected.size() > 8) expected.resize(8);
        QCOMPARE(recent, expected);
    }
}

void UserStateTest::entryLabels() {
    QCOMPARE(recentFileLabel(0, "/data/run 12.dat"), std::string("&1 run 12.dat"));
    QCOMPARE(recentFileLabel(7, "/data/計測/温度.txt"), std::string("&8 温度.txt"));
    QCOMPARE(recentFileLabel(2, "plain.dat"), std::string("&3 plain.dat"));
}

void UserStateTest::menuListsOrdersCapsAndOpens() {
    DesktopFixture f;
    f.start("");
    QMenu& menu = *f.desktop().actions().recentMenu();
    QVERIFY(menu.actions().isEmpty());
    emit f.menu("&File")->aboutToShow();
    QVERIFY(!menu.menuAction()->isEnabled());  // greyed while empty

    openAll(f, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    QCOMPARE(labels(menu), (QStringList{"3001 &1 j.dat", "3002 &2 i.dat", "3003 &3 h.dat", "3004 &4 g.dat",
                                        "3005 &5 f.dat", "3006 &6 e.dat", "3007 &7 d.dat", "3008 &8 c.dat"}));
    emit f.menu("&File")->aboutToShow();
    QVERIFY(menu.menuAction()->isEnabled());

    // Highlighted, an entry shows its full path.
    emit menu.hovered(entry(f, 2));
    QCOMPARE(f.window().statusText(kMessagePart), QString::fromStdString(f.path("h.dat")));

    // Choosing one opens it as File > Open does, and it moves to the top.
    entry(f, 2)->trigger();
    QCOMPARE(f.document().files.name(0), f.path("h.dat"));
    QCOMPARE(f.document().data, 2);
    QCOMPARE(labels(menu).mid(0, 3), (QStringList{"3001 &1 h.dat", "3002 &2 j.dat", "3003 &3 i.dat"}));
    QVERIFY(f.boxes.messages().empty());
}

void UserStateTest::missingFileIsGreyed() {
    DesktopFixture f;
    f.start("");
    openAll(f, {"kept", "gone", "last"});
    std::filesystem::remove(f.path("gone.dat"));
    QMenu& menu = *f.desktop().actions().recentMenu();
    emit menu.aboutToShow();
    QCOMPARE(labels(menu), (QStringList{"3001 &1 last.dat", "3002 &2 gone.dat", "3003 &3 kept.dat"}));
    QVERIFY(entry(f, 0)->isEnabled());
    QVERIFY(!entry(f, 1)->isEnabled());
    QVERIFY(entry(f, 2)->isEnabled());
    // A failed open records nothing.
    f.desktop().documents().open(f.path("gone.dat"));
    QCOMPARE(labels(menu).first(), QString("3001 &1 last.dat"));
}

void UserStateTest::listAndGeometryOutliveTheWindow() {
    DesktopFixture f;
    f.start("");
    openAll(f, {"first", "second"});
    const QRect placed(40, 50, 700, 520);
    f.window().setGeometry(placed);
    QCOMPARE(f.window().geometry().size(), placed.size());
    f.window().close();

    QVERIFY(QFile::exists(userStatePath()));
    QVERIFY(userStatePath().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
    f.start("");
    QCOMPARE(f.window().geometry().size(), placed.size());
    QCOMPARE(labels(*f.desktop().actions().recentMenu()), (QStringList{"3001 &1 second.dat", "3002 &2 first.dat"}));
    QCOMPARE(loadRecentFiles(), (std::vector<std::string>{f.path("second.dat"), f.path("first.dat")}));
}

}  // namespace varnex

QTEST_MAIN(varnex::UserStateTest)
#include "user_state_test.moc"
