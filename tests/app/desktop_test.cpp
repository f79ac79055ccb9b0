// The desktop from start-up to shutdown: the command line's file, the title, the layout, the menus
// and the command path, the configuration's tools and editor, and the failures of start-up.
#include <QLineEdit>
#include <QStatusBar>
#include <QtTest>

#include "desktop_fixture.h"
#include "graph/graph_view.h"
#include "graph/graph_window.h"
#include "shell/commands.h"
#include "shell/layout.h"

namespace varnex {

using testing::DesktopFixture;
using testing::kRunData;

class DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void startUpOpensTheCommandLineFile();
    void parameterFileNameOpensItsDataFile();
    void layoutFollowsTheWindowSize_data();
    void layoutFollowsTheWindowSize();
    void toolMenuHoldsTheConfiguredTools();
    void missingConfigurationFileIsReportedAndStartUpGoesOn();
    void unacceptedExtensionIsIgnoredWithoutAMessage();
    void invalidDataFileLeavesAnEmptyWindow();
    void statusTextWhileHoveringAndDuringACommand();
    void acceleratorCopiesTheGraphFromATextBox();
    void dataCommandsDoNothingWithoutData();
    void editorHelpAndVersion();
    void droppedFileAsksBeforeDrawingOver();
    void tabsDoNotSwitchWithoutData();
    void exitClosesTheWindow();
};

void DesktopTest::startUpOpensTheCommandLineFile() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    QCOMPARE(f.window().windowTitle(), QString("run.dat - VarnexWin32 3.26c"));
    QVERIFY(f.boxes.messages().empty());
    QCOMPARE(f.document().data, 2);
    // The configuration's drawing defaults reach the first View, and the load keeps them.
    QCOMPARE(f.document().printw, 15.0);
    QCOMPARE(f.document().printox, 2.0);
    QVERIFY(f.window().graphWindow().showsPicture());
    QVERIFY(f.desktop().graph().picture() != nullptr);
    QVERIFY(f.window().pageShown());
    QCOMPARE(f.window().currentPage(), int(kAxisPage));
    QCOMPARE(f.window().tabs().tabText(0), QString("axis"));
    QCOMPARE(f.window().tabs().tabText(1), QString("graph"));
    QVERIFY(!f.desktop().watch().watching());
    QVERIFY(f.window().acceptDrops());
}

void DesktopTest::parameterFileNameOpensItsDataFile() {
    DesktopFixture f;
    f.write("run.txt", kRunData);
    // A quoted name (GCC 12 warns falsely about "\"" + name, so the name is built by appending).
    std::string quoted(1, '"');
    quoted.append(f.path("run.P")).push_back('"');
    f.start(quoted);
    QCOMPARE(f.window().windowTitle(), QString("run.txt - VarnexWin32 3.26c"));
    QVERIFY(f.boxes.messages().empty());
}

void DesktopTest::layoutFollowsTheWindowSize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("wide") << QSize(1200, 600);
    QTest::newRow("tall") << QSize(700, 1000);
    QTest::newRow("narrow") << QSize(260, 500);
    QTest::newRow("flat") << QSize(900, 90);
}

void DesktopTest::layoutFollowsTheWindowSize() {
    QFETCH(QSize, size);
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    MainWindow& w = f.window();
    w.resize(size);
    QTRY_COMPARE(w.size(), size);
    QWidget* client = w.centralWidget();
    const Rect graph = graphWindowRect(client->width(), client->height());
    QCOMPARE(w.graphWindow().geometry(), QRect(graph.x, graph.y, graph.width, graph.height));
    QCOMPARE(w.graphWindow().width(), w.graphWindow().height());
    const Rect tabs = tabControlRect(client->height());
    QCOMPARE(w.tabs().geometry(), QRect(tabs.x, tabs.y, tabs.width, tabs.height));
    // Part 1 is as wide as the read-out needs in the status font (at least its layout width).
    const auto [cursorLeft, cursorRight] = w.statusPartSpan(kCursorPart);
    QVERIFY(cursorRight - cursorLeft >= kCursorPartWidth);
    const auto edges = statusPartEdges(w.width(), cursorRight - cursorLeft);
    QCOMPARE(w.statusPartSpan(kMessagePart), std::make_pair(0, edges[0]));
    QCOMPARE(w.statusPartSpan(kCursorPart), std::make_pair(edges[0], edges[1]));
    QCOMPARE(w.statusPartSpan(kCaretPart), std::make_pair(edges[1], edges[2]));
}

void DesktopTest::toolMenuHoldsTheConfiguredTools() {
    DesktopFixture f;
    f.start("", "menu=First\ncmnd=tool-a --one\nmenu=Second\ncmnd=tool-b 50%\nmenu=Third\ncmnd=tool-c\n");
    QCOMPARE(f.menuTitles(), (QStringList{"&File", "&Edit", "&Graph", "&View", "&Tool", "&Help"}));
    QList<int> ids;
    QStringList labels;
    for (QAction* a : f.menu("&Tool")->actions()) {
        ids << a->data().toInt();
        labels << a->text();
    }
    QCOMPARE(ids, (QList<int>{5000, 5001, 5002}));
    QCOMPARE(labels, (QStringList{"First", "Second", "Third"}));
    f.menu("&Tool")->actions()[1]->trigger();
    QCOMPARE(f.started.size(), std::size_t{1});
    QCOMPARE(f.started[0].program, QString("tool-b"));
    QCOMPARE(f.started[0].arguments, QStringList{"50%"});
    // An identifier past the last tool runs nothing.
    f.desktop().actions().runCommand(5003);
    QCOMPARE(f.started.size(), std::size_t{1});
}

void DesktopTest::missingConfigurationFileIsReportedAndStartUpGoesOn() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"), nullptr);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].kind, std::string("fatal"));
    QCOMPARE(f.boxes.messages()[0].text, std::string("varnexw32.ini ファイルがありません。"));
    // Start-up went on with the defaults: the file opened with the default extension "dat".
    QVERIFY(f.window().isVisible());
    QCOMPARE(f.window().windowTitle(), QString("run.dat - VarnexWin32 3.26c"));
    QCOMPARE(f.menuTitles(), (QStringList{"&File", "&Edit", "&Graph", "&View", "&Help"}));
}

void DesktopTest::unacceptedExtensionIsIgnoredWithoutAMessage() {
    DesktopFixture f;
    f.write("run.csv", kRunData);
    f.start(f.path("run.csv"));
    QVERIFY(f.boxes.messages().empty());
    QCOMPARE(f.window().windowTitle(), QString("VarnexWin32 3.26c"));
    QCOMPARE(f.document().data, 0);
    QVERIFY(!f.window().pageShown());
}

void DesktopTest::invalidDataFileLeavesAnEmptyWindow() {
    DesktopFixture f;
    f.write("bad.dat", "only text\nno numbers here\n");
    f.start(f.path("bad.dat"));
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].kind, std::string("inform"));
    QCOMPARE(f.boxes.messages()[0].caption, std::string("VarnexWin32 3.26c Error"));
    QCOMPARE(f.boxes.messages()[0].text, std::string("不正なデータです。"));
    QCOMPARE(f.window().windowTitle(), QString("VarnexWin32 3.26c"));
    QCOMPARE(f.window().tabs().tabText(kDataPage), QString("Data"));
    QVERIFY(!f.window().graphWindow().showsPicture());
    QVERIFY(!f.window().pageShown());
    QCOMPARE(f.document().data, 0);
    QVERIFY(f.window().isVisible());
}

void DesktopTest::statusTextWhileHoveringAndDuringACommand() {
    DesktopFixture f;
    f.start("");
    MainWindow& w = f.window();
    QMenu* file = f.menu("&File");
    QAction* watch = f.desktop().actions().action(command::kWatch);
    emit file->hovered(watch);
    QCOMPARE(w.statusText(kMessagePart), QString("reload data file automatically if it is updated"));
    emit file->hovered(f.desktop().actions().action(command::kPrint));
    QCOMPARE(w.statusText(kMessagePart), QString("ｸﾞﾗﾌの印刷"));
    emit file->aboutToHide();
    QCOMPARE(w.statusText(kMessagePart), QString());

    // During the command the text is shown; afterwards it is cleared.
    QString during;
    f.desktop().hooks().applyPanels = [&](Document&) {
        during = w.statusText(kMessagePart);
        return false;
    };
    f.desktop().actions().runCommand(command::kCopyGraph);
    QCOMPARE(during, QString("ｸﾞﾗﾌをﾒﾀﾌｧｲﾙ形式(Windows Picture)の画像としてｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"));
    QCOMPARE(w.statusText(kMessagePart), QString());

    // Ctrl+PageUp only clears the text.
    w.setStatusText(kMessagePart, "x");
    QTest::keyClick(&w, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(w.statusText(kMessagePart), QString());
}

void DesktopTest::acceleratorCopiesTheGraphFromATextBox() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    auto* box = new QLineEdit("selected text", &f.window().page(kAxisPage));
    box->show();
    box->selectAll();
    box->setFocus();
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY(data->hasFormat("image/png"));
    QVERIFY(data->hasFormat("image/svg+xml"));
    QVERIFY(data->text() != QString("selected text"));
    // Keys the program does not take stay with the text box.
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Z);
    QCOMPARE(box->text(), QString("selected textz"));
}

void DesktopTest::dataCommandsDoNothingWithoutData() {
    DesktopFixture f;
    f.start("");
    QGuiApplication::clipboard()->setText("unchanged");
    QTest::keyClick(&f.window(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("unchanged"));
    emit f.menu("&Graph")->aboutToShow();
    QVERIFY(!f.desktop().actions().action(command::kCopyGraph)->isEnabled());
    QVERIFY(!f.desktop().actions().action(command::kPrint)->isEnabled());
    QVERIFY(!f.desktop().actions().action(command::kReOpen)->isEnabled());
    QVERIFY(f.desktop().actions().action(command::kOpen)->isEnabled());
    QVERIFY(f.boxes.messages().empty());
}

void DesktopTest::editorHelpAndVersion() {
    DesktopFixture f;
    f.start("", "editor=my-editor --wait\n");
    f.desktop().actions().runCommand(command::kEditIniFile);
    QCOMPARE(f.started.size(), std::size_t{1});
    QCOMPARE(f.started[0].program, QString("my-editor"));
    QCOMPARE(f.started[0].arguments, (QStringList{"--wait", QString::fromStdString(f.path("varnexw32.ini"))}));

    f.desktop().actions().runCommand(command::kHelp);
    QCOMPARE(f.opened.size(), std::size_t{1});
    QCOMPARE(f.opened[0], QUrl::fromLocalFile(QString::fromStdString(f.path("varnexw32.html"))));

    f.desktop().actions().runCommand(command::kVersion);
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    const std::string& text = f.boxes.messages()[0].text;
    QCOMPARE(f.boxes.messages()[0].caption, std::string("VarnexWin32 3.26c"));
    QVERIFY(text.rfind("Varnex for Windows 32bit version 3.26c\n", 0) == 0);
    QVERIFY(text.find("追加ファイル数（最大 32 個）: 0\n") != std::string::npos);
    QVERIFY(text.find("ツールメニュー（最大 16 個）: 0.0% (0 個) 使用\n") != std::string::npos);
    QVERIFY(text.find("編集可能ファイルサイズ 256 KB\n") != std::string::npos);
    QVERIFY(text.find("ﾋﾞｭｰ: 32.6 + 15.5 KB 使用\n") != std::string::npos);
}

void DesktopTest::droppedFileAsksBeforeDrawingOver() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.write("second.dat", "Second\n0 1\n1 2\n2 3\n");
    f.start(f.path("run.dat"));
    f.boxes.scriptAnswers({Answer::No});
    emit f.window().fileDropped(f.path("second.dat"));
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
    QCOMPARE(f.boxes.messages()[0].kind, std::string("ask"));
    QCOMPARE(f.boxes.messages()[0].text, std::string("現在のグラフ(run.dat)に重ねて描きますか?"));
    QCOMPARE(f.window().windowTitle(), QString("second.dat - VarnexWin32 3.26c"));
    QCOMPARE(f.document().data, 1);
    // A dropped name without an accepted extension is ignored.
    emit f.window().fileDropped(f.path("notes.csv"));
    QCOMPARE(f.boxes.messages().size(), std::size_t{1});
}

void DesktopTest::tabsDoNotSwitchWithoutData() {
    DesktopFixture f;
    f.start("");
    f.window().tabs().setCurrentIndex(kGraphPage);
    QCOMPARE(f.window().tabs().currentIndex(), int(kAxisPage));
    QVERIFY(!f.window().pageShown());
    for (int i = 0; i < kPageCount; ++i) QVERIFY(f.window().page(i).isHidden());
}

void DesktopTest::exitClosesTheWindow() {
    DesktopFixture f;
    f.write("run.dat", kRunData);
    f.start(f.path("run.dat"));
    f.desktop().actions().action(command::kExit)->trigger();
    QVERIFY(!f.window().isVisible());
    QVERIFY(f.desktop().graph().picture() == nullptr);
    QVERIFY(!f.window().acceptDrops());
}

}  // namespace varnex

QTEST_MAIN(varnex::DesktopTest)
#include "desktop_test.moc"
