// The Qt message boxes: icon, caption, buttons and answers of each kind, the owner, and the fatal
// message that closes the main window.
#include <QtTest>

#include <QMainWindow>
#include <QPushButton>
#include <sstream>

#include "app/config/batch_message_boxes.h"
#include "app/config/qt_message_boxes.h"

namespace varnex {
namespace {

struct SeenBox {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    QString detail;
    QMessageBox::StandardButtons buttons;
    QWidget* owner;
    QMessageBox::StandardButton defaultButton;
};

// Message boxes that note each box and answer with the next scripted button.
struct Script {
    std::vector<SeenBox> seen;
    std::vector<QMessageBox::StandardButton> answers;
    QtMessageBoxes boxes{[this](QMessageBox& box) {
        seen.push_back({box.icon(), box.windowTitle(), box.text(), box.detailedText(), box.standardButtons(),
                        box.parentWidget(),
                        box.defaultButton() ? box.standardButton(box.defaultButton()) : QMessageBox::NoButton});
        if (answers.empty()) return QMessageBox::NoButton;
        const auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }};
};

}  // namespace

class MessageBoxesTest : public QObject {
    Q_OBJECT
private slots:
    void informShowsAnInformationBox();
    void detailIsTheBoxsDetailedTextAndBatchsSecondLine();
    void askAnswersOneZeroOrMinusOne();
    void askWithCancelHasThreeButtons();
    void askDefaultNoMakesNoTheDefault();
    void ownerIsTheMainWindowOnceSet();
    void fatalBeforeTheMainWindowGoesOn();
    void fatalClosesTheMainWindow();
};

void MessageBoxesTest::informShowsAnInformationBox() {
    Script s;
    s.boxes.inform(kErrorCaption, kInvalidDataText);
    QCOMPARE(s.seen.size(), std::size_t{1});
    QCOMPARE(s.seen[0].icon, QMessageBox::Information);
    QCOMPARE(s.seen[0].caption, QString("VarnexWin32 3.26c Error"));
    QCOMPARE(s.seen[0].text, QString("不正なデータです。"));
    QCOMPARE(s.seen[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(s.seen[0].owner, nullptr);
}

void MessageBoxesTest::detailIsTheBoxsDetailedTextAndBatchsSecondLine() {
    Script s;
    s.boxes.inform(kErrorCaption, kInvalidDataText);
    s.boxes.informWithDetail(kErrorCaption, kInvalidDataText, "/data/データ.dat: an empty file");
    QCOMPARE(s.seen.size(), std::size_t{2});
    QCOMPARE(s.seen[0].detail, QString());
    QCOMPARE(s.seen[1].icon, QMessageBox::Information);
    QCOMPARE(s.seen[1].text, QString("不正なデータです。"));
    QCOMPARE(s.seen[1].detail, QString("/data/データ.dat: an empty file"));
    QCOMPARE(s.seen[1].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    std::ostringstream err;
    BatchMessageBoxes batch(err);
    batch.inform(kCaption, "one\nline");
    batch.informWithDetail(kErrorCaption, kInvalidDataText, "/data/データ.dat: an empty file");
    batch.informWithDetail(kErrorCaption, kInvalidDataText, "");
    QCOMPARE(QString::fromStdString(err.str()), QString("VarnexWin32 3.26c: one\\nline\n"
                                                        "VarnexWin32 3.26c Error: 不正なデータです。\n"
                                                        "/data/データ.dat: an empty file\n"
                                                        "VarnexWin32 3.26c Error: 不正なデータです。\n"));
}

void MessageBoxesTest::askAnswersOneZeroOrMinusOne() {
    Script s;
    s.answers = {QMessageBox::Yes, QMessageBox::No, QMessageBox::NoButton};
    QCOMPARE(s.boxes.ask(kCaption, "File is updated.\nReload?"), 1);
    QCOMPARE(s.boxes.ask(kCaption, "q"), 0);
    QCOMPARE(s.boxes.ask(kCaption, "q"), -1);
    QCOMPARE(s.seen[0].icon, QMessageBox::Question);
    QCOMPARE(s.seen[0].caption, QString("VarnexWin32 3.26c"));
    QCOMPARE(s.seen[0].text, QString("File is updated.\nReload?"));
    QCOMPARE(s.seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
}

void MessageBoxesTest::askWithCancelHasThreeButtons() {
    Script s;
    s.answers = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::NoButton};
    QCOMPARE(s.boxes.askWithCancel(kCaption, "q"), Answer::Yes);
    QCOMPARE(s.boxes.askWithCancel(kCaption, "q"), Answer::No);
    QCOMPARE(s.boxes.askWithCancel(kCaption, "q"), Answer::Cancel);
    QCOMPARE(s.boxes.askWithCancel(kCaption, "q"), Answer::Cancel);
    QCOMPARE(s.seen[0].icon, QMessageBox::Question);
    QCOMPARE(s.seen[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

void MessageBoxesTest::askDefaultNoMakesNoTheDefault() {
    Script s;
    s.answers = {QMessageBox::Yes, QMessageBox::No, QMessageBox::NoButton};
    QCOMPARE(s.boxes.askDefaultNo(kCaption, "Overwrite it?"), 1);
    QCOMPARE(s.boxes.askDefaultNo(kCaption, "q"), 0);
    QCOMPARE(s.boxes.askDefaultNo(kCaption, "q"), -1);
    QCOMPARE(s.seen[0].icon, QMessageBox::Question);
    QCOMPARE(s.seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(s.seen[0].defaultButton, QMessageBox::No);
}

void MessageBoxesTest::ownerIsTheMainWindowOnceSet() {
    Script s;
    auto window = std::make_unique<QMainWindow>();
    s.boxes.setOwner(window.get());
    s.boxes.inform(kCaption, "a");
    QCOMPARE(s.seen.back().owner, window.get());
    window.reset();  // a destroyed owner counts as none
    s.boxes.inform(kCaption, "b");
    QCOMPARE(s.seen.back().owner, nullptr);
}

void MessageBoxesTest::fatalBeforeTheMainWindowGoesOn() {
    Script s;
    s.boxes.fatal("varnexw32.ini ファイルがありません。");
    QCOMPARE(s.seen.size(), std::size_t{1});
    QCOMPARE(s.seen[0].icon, QMessageBox::Information);
    QCOMPARE(s.seen[0].caption, QString("VarnexWin 終了ﾒｯｾｰｼﾞ"));
    QCOMPARE(s.seen[0].text, QString("varnexw32.ini ファイルがありません。"));
    QCOMPARE(s.seen[0].owner, nullptr);
}

void MessageBoxesTest::fatalClosesTheMainWindow() {
    Script s;
    QMainWindow window;
    window.show();
    s.boxes.setOwner(&window);
    s.boxes.fatal("not enough memory!");
    QCOMPARE(s.seen.size(), std::size_t{1});
    QCOMPARE(s.seen[0].owner, &window);
    // The window closes once the caller has returned to the event loop.
    QVERIFY(window.isVisible());
    QTRY_VERIFY(!window.isVisible());
}

}  // namespace varnex

QTEST_MAIN(varnex::MessageBoxesTest)
#include "message_boxes_test.moc"
