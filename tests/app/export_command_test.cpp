// File > Export in a running desktop: the dialog it shows, the three formats at their sizes through
// the one picture writer, and the failures that leave no file behind.
#include <QBuffer>
#include <QImageReader>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>
#include <filesystem>

#include "app/export_command.h"
#include "desktop_fixture.h"
#include "panels/axis_panel.h"
#include "panels/parameter_panels.h"
#include "shell/commands.h"

namespace varnex {

using testing::DesktopFixture;
using testing::kRunData;
using testing::kStandardConfiguration;

namespace {

double firstNumber(const QByteArray& bytes, const QString& pattern) {
    const QRegularExpressionMatch match = QRegularExpression(pattern).match(QString::fromLatin1(bytes));
    return match.hasMatch() ? match.captured(1).toDouble() : -1;
}

QByteArray fileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A desktop on run.dat whose Export dialog answers name (relative to the folder, or empty: cancel) and
// remembers what it was asked.
struct ExportFixture {
    explicit ExportFixture(const std::string& configuration = kStandardConfiguration) {
        f.write("run.dat", kRunData);
        f.start(f.path("run.dat"), configuration.c_str());
        f.desktop().dialogs().save = [this](const SaveDialogRequest& request) {
            asked = request;
            return answer.empty() ? std::string() : f.path(answer);
        };
    }
    bool run(const std::string& name) {
        answer = name;
        f.desktop().actions().runCommand(command::kExport);
        return !name.empty() && std::filesystem::exists(f.path(name));
    }
    DesktopFixture f;
    std::string answer;
    SaveDialogRequest asked;
};

}  // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT
private slots:
    void dialogProposesThePngBesideTheData();
    void writesEachFormatAtItsSize_data();
    void writesEachFormatAtItsSize();
    void failuresAreMessagesAndLeaveNoFile_data();
    void failuresAreMessagesAndLeaveNoFile();
    void panelsAreAppliedFirst();
};

void ExportCommandTest::dialogProposesThePngBesideTheData() {
    const SaveDialogRequest request = exportDialogRequest("/data/runs/cooling.run.dat");
    QCOMPARE(request.folder, std::string("/data/runs"));
    QCOMPARE(request.proposedName, std::string("cooling.run.png"));
    QCOMPARE(request.defaultExtension, std::string("png"));
    QCOMPARE(qtFileFilters(request.filter),
             (QStringList{"PNG Image (*.png)", "SVG Picture (*.svg)", "PDF Document (*.pdf)"}));
    QVERIFY(request.confirmOverwrite);

    ExportFixture e;
    QVERIFY(!e.run(""));  // cancelled: nothing written, nothing said
    QCOMPARE(e.asked.proposedName, std::string("run.png"));
    QCOMPARE(QDir(QString::fromStdString(e.asked.folder)), QDir(QString::fromStdString(e.f.path(""))));
    QVERIFY(e.f.boxes.messages().empty());
}

void ExportCommandTest::writesEachFormatAtItsSize_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("configuration");  // added to the standard one
    QTest::addColumn<int>("pixels");             // PNG side; 0 for the vector formats
    QTest::newRow("png, default size") << "graph.png" << "" << 1000;
    QTest::newRow("png, export size=") << "graph.PNG" << "export size=240\n" << 240;
    QTest::newRow("png, smallest size") << "graph.png" << "export size=1\n" << 1;
    QTest::newRow("png, size out of range ignored") << "graph.png" << "export size=10001\n" << 1000;
    QTest::newRow("svg") << "graph.svg" << "print width=12.5\n" << 0;
    QTest::newRow("pdf") << "graph.pdf" << "print width=12.5\n" << 0;
}

void ExportCommandTest::writesEachFormatAtItsSize() {
    QFETCH(QString, name);
    QFETCH(QString, configuration);
    QFETCH(int, pixels);
    ExportFixture e(std::string(kStandardConfiguration) + configuration.toStdString());
    QVERIFY(e.run(name.toStdString()));
    QVERIFY(e.f.boxes.messages().empty());
    const double printwMm = e.f.document().printw * 10;
    const QByteArray bytes = fileBytes(e.f.path(name.toStdString()));
    if (name.endsWith("png", Qt::CaseInsensitive)) {
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer, "PNG");
        QCOMPARE(reader.size(), QSize(pixels, pixels));
    } else if (name.endsWith("svg")) {
        QCOMPARE(printwMm, 125.0);
        QVERIFY(std::abs(firstNumber(bytes, R"(width="([0-9.]+)mm")") - printwMm) <= 0.01);
        QVERIFY(std::abs(firstNumber(bytes, R"(height="([0-9.]+)mm")") - printwMm) <= 0.01);
    } else {
        QVERIFY(bytes.startsWith("%PDF"));
        const double side = firstNumber(bytes, R"(/MediaBox \[0 0 +([0-9.]+) )");
        QVERIFY2(std::abs(side / (72 / 25.4) - printwMm) <= 0.01, qPrintable(QString::number(side)));
    }
}

void ExportCommandTest::failuresAreMessagesAndLeaveNoFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");  // the start of the message
    QTest::newRow("unknown extension") << "graph.gif" << "Unknown picture format of \"";
    QTest::newRow("no such folder") << "missing/graph.png" << "";
}

void ExportCommandTest::failuresAreMessagesAndLeaveNoFile() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    ExportFixture e;
    QVERIFY(!e.run(name.toStdString()));
    QCOMPARE(e.f.boxes.messages().size(), std::size_t{1});
    const QString text = QString::fromStdString(e.f.boxes.messages()[0].text);
    QVERIFY2(text.startsWith(message), qPrintable(text));
    QVERIFY2(text.contains(QString::fromStdString(std::filesystem::path(name.toStdString()).filename().string())),
             qPrintable(text));
    // No partial file either.
    for (const auto& entry : std::filesystem::directory_iterator(e.f.path(""))) {
        QVERIFY2(!entry.path().filename().string().starts_with("graph"), entry.path().c_str());
    }
}

void ExportCommandTest::panelsAreAppliedFirst() {
    // A width typed into the axis panel but not yet drawn decides the exported size.
    ExportFixture e;
    QLineEdit* width = e.f.desktop().panels().axis().edit(301);  // print width
    QVERIFY(width);
    QCOMPARE(width->text(), QString("15"));
    width->setText("9");
    QVERIFY(e.run("typed.svg"));
    QCOMPARE(e.f.document().printw, 9.0);
    QVERIFY(std::abs(firstNumber(fileBytes(e.f.path("typed.svg")), R"(width="([0-9.]+)mm")") - 90) <= 0.01);
}

}  // namespace varnex

QTEST_MAIN(varnex::ExportCommandTest)
#include "export_command_test.moc"
