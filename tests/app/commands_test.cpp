// The command vocabulary: status texts by identifier and range, the accelerator keys, and the file
// dialog's filter in Qt's form.
#include <QtTest>

#include "app/accelerator_filter.h"
#include "app/file_dialogs.h"
#include "shell/commands.h"

namespace varnex {

class CommandsTest : public QObject {
    Q_OBJECT
private slots:
    void statusTexts_data();
    void statusTexts();
    void acceleratorKeys_data();
    void acceleratorKeys();
    void filterInQtForm();
};

void CommandsTest::statusTexts_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("lastTool");
    QTest::addColumn<bool>("pasteMarkers");
    QTest::addColumn<QString>("text");  // "-" for no command
    QTest::newRow("open") << 1010 << 0 << false << QString("open data file (text file with extension *.txt,*.dat)");
    QTest::newRow("watch") << 1008 << 0 << false << QString("reload data file automatically if it is updated");
    QTest::newRow("copy graph") << 1112 << 0 << false
                                << QString("ｸﾞﾗﾌをﾒﾀﾌｧｲﾙ形式(Windows Picture)の画像としてｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ");
    QTest::newRow("version") << 1012 << 0 << false << QString("ﾊﾞｰｼﾞｮﾝとﾒﾓﾘ使用状況の表示");
    QTest::newRow("view range start") << 6001 << 0 << false << QString("change view");
    QTest::newRow("view range end") << 6998 << 0 << false << QString("change view");
    QTest::newRow("delete view") << 6999 << 0 << false << QString("remove current view");
    QTest::newRow("follow") << 1009 << 0 << false
                            << QString("keep the newest point at the right edge when the data file grows");
    QTest::newRow("file list editor") << 8005 << 0 << false << QString("外部ｴﾃﾞｨﾀでﾃﾞｰﾀﾌｧｲﾙを編集");
    QTest::newRow("save as range") << 9100 << 0 << false
                                   << QString("ｸﾘｯﾌﾟﾎﾞｰﾄﾞから挿入したﾃﾞｰﾀを名前を付けて保存(拡張子*.dat)");
    QTest::newRow("pop-up offset 0") << 1500 << 0 << false << QString("");
    QTest::newRow("pop-up copy") << 2502 << 0 << false << QString("ﾏｳｽｶｰｿﾙ位置の座標値をｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ");
    QTest::newRow("marker, lines pasted") << 115 << 0 << false
                                          << QString("ｸﾘｯﾌﾟﾎﾞｰﾄﾞから貼り付るｸﾞﾗﾌのﾃﾞﾌｫﾙﾄ設定を「ﾏｰｶ」に変更");
    QTest::newRow("marker, markers pasted") << 115 << 0 << true
                                            << QString("ｸﾘｯﾌﾟﾎﾞｰﾄﾞから貼り付るｸﾞﾗﾌのﾃﾞﾌｫﾙﾄ設定を「折れ線」に変更");
    QTest::newRow("last tool") << 5002 << 5002 << false << QString("ﾕｰｻﾞ指定のﾂｰﾙを実行");
    QTest::newRow("past the last tool") << 5003 << 5002 << false << QString("-");
    QTest::newRow("no tools") << 5000 << 0 << false << QString("-");
    QTest::newRow("page up") << 1072 << 0 << false << QString("-");
    QTest::newRow("unknown") << 4242 << 0 << false << QString("-");
    QTest::newRow("export") << 1115 << 0 << false << QString("export graph to an image file (PNG, SVG or PDF)");
    // Recent Files: its entries show their paths (recent_files.h), the vocabulary holds no text for them.
    QTest::newRow("recent entry") << 3001 << 0 << false << QString("-");
}

void CommandsTest::statusTexts() {
    QFETCH(int, id);
    QFETCH(int, lastTool);
    QFETCH(bool, pasteMarkers);
    QFETCH(QString, text);
    const auto status = commandStatusText(id, lastTool, pasteMarkers);
    QCOMPARE(status ? QString::fromStdString(*status) : QString("-"), text);
}

void CommandsTest::acceleratorKeys_data() {
    QTest::addColumn<QKeyCombination>("keys");
    QTest::addColumn<int>("id");  // 0 for none
    QTest::newRow("Ctrl+C") << QKeyCombination(Qt::ControlModifier, Qt::Key_C) << 1112;
    QTest::newRow("Ctrl+O") << QKeyCombination(Qt::ControlModifier, Qt::Key_O) << 1010;
    QTest::newRow("Ctrl+Enter") << QKeyCombination(Qt::ControlModifier, Qt::Key_Return) << 1222;
    QTest::newRow("Ctrl+keypad Enter") << QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter) << 1222;
    QTest::newRow("Alt+Enter") << QKeyCombination(Qt::AltModifier, Qt::Key_Return) << 1031;
    QTest::newRow("Alt+keypad Enter") << QKeyCombination(Qt::AltModifier | Qt::KeypadModifier, Qt::Key_Enter) << 1031;
    QTest::newRow("Ctrl+Tab") << QKeyCombination(Qt::ControlModifier, Qt::Key_Tab) << 1028;
    QTest::newRow("Ctrl+PageUp") << QKeyCombination(Qt::ControlModifier, Qt::Key_PageUp) << 1072;
    QTest::newRow("Ctrl+Up") << QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Up) << 1071;
    QTest::newRow("Ctrl+E") << QKeyCombination(Qt::ControlModifier, Qt::Key_E) << 1115;
    QTest::newRow("Ctrl+Shift+C") << QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_C) << 0;
    QTest::newRow("plain C") << QKeyCombination(Qt::Key_C) << 0;
    QTest::newRow("Ctrl+Z stays with text boxes") << QKeyCombination(Qt::ControlModifier, Qt::Key_Z) << 0;
    QTest::newRow("Ctrl+Insert stays with text boxes") << QKeyCombination(Qt::ControlModifier, Qt::Key_Insert) << 0;
}

void CommandsTest::acceleratorKeys() {
    QFETCH(QKeyCombination, keys);
    QFETCH(int, id);
    QCOMPARE(acceleratorCommand(keys).value_or(0), id);
}

void CommandsTest::filterInQtForm() {
    QCOMPARE(qtFileFilters("Data File (*.dat,*.txt)|*.dat;*.txt|"), QStringList{"Data File (*.dat *.txt)"});
    QCOMPARE(qtFileFilters("Data File (*.dat)|*.dat|"), QStringList{"Data File (*.dat)"});
    QCOMPARE(qtFileFilters("A|*.a|B (*.b)|*.b;*.c|"), (QStringList{"A (*.a)", "B (*.b *.c)"}));
    QCOMPARE(qtFileFilters(""), QStringList{});
}

}  // namespace varnex

QTEST_GUILESS_MAIN(varnex::CommandsTest)
#include "commands_test.moc"
