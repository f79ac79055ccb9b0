// The recorded pictures of small graphs, compared whole with the dumps kept beside them in
// tests/data/golden (NAME.dat gives NAME.dump). A change of drawing shows here as a diff a reviewer can
// read. To accept a deliberate change, run with VARNEX_UPDATE_GOLDEN=1 and review the new dumps.
#include <QDir>
#include <QFile>
#include <QtTest>
#include <sstream>

#include "app/batch/batch.h"

class GoldenPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void dumps_data() {
        QTest::addColumn<QString>("dataFile");
        const QDir dir(QStringLiteral(VARNEX_TEST_DATA "/golden"));
        for (const QString& name : dir.entryList({"*.dat"}, QDir::Files, QDir::Name)) {
            QTest::newRow(name.toUtf8().constData()) << dir.filePath(name);
        }
    }

    void dumps() {
        QFETCH(QString, dataFile);
        std::ostringstream out;
        std::ostringstream err;
        // No configuration beside this program: the built-in defaults, whatever the build installs.
        const auto code = varnex::runBatch({"--dump-picture", dataFile.toStdString()}, "/nonexistent/varnexw32",
                                           out, err);
        QVERIFY(code.has_value());
        QCOMPARE(*code, 0);
        const QString dumpFile = dataFile.chopped(4) + ".dump";
        const QByteArray actual = QByteArray::fromStdString(out.str());
        if (qEnvironmentVariableIsSet("VARNEX_UPDATE_GOLDEN")) {
            QFile file(dumpFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(actual);
            return;
        }
        QFile file(dumpFile);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(dumpFile + " is missing"));
        const QList<QByteArray> expected = file.readAll().split('\n');
        const QList<QByteArray> lines = actual.split('\n');
        for (qsizetype i = 0; i < std::min(expected.size(), lines.size()); ++i) {
            QVERIFY2(lines[i] == expected[i],
                     qPrintable(QString("line %1: got \"%2\", expected \"%3\"")
                                    .arg(i + 1)
                                    .arg(QString::fromUtf8(lines[i]), QString::fromUtf8(expected[i]))));
        }
        QCOMPARE(lines.size(), expected.size());
    }
};

QTEST_MAIN(GoldenPicturesTest)
#include "tst_golden_pictures.moc"
