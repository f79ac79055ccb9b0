// The clipboard texts of the cursor value and of a data set's points.
#include <QtTest>

#include "document/model.h"
#include "graph/clipboard_text.h"
#include "support/data_sets.h"

namespace varnex {

class ClipboardTextTest : public QObject {
    Q_OBJECT
private slots:
    void cursorValue_data();
    void cursorValue();
    void setDataHasOneFixedWidthLinePerPoint();
};

void ClipboardTextTest::cursorValue_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("what");
    QTest::addColumn<QString>("text");
    QTest::newRow("both") << 1.5 << 200.0 << 0 << QString("1.5\t200");
    QTest::newRow("x only") << 1.5 << 200.0 << 1 << QString("1.5");
    QTest::newRow("y only") << 1.5 << 200.0 << 2 << QString("200");
    QTest::newRow("six digits and exponents") << 1234567.0 << -0.000012345678 << 0
                                              << QString("1.23457e+06\t-1.23457e-05");
    QTest::newRow("unknown choice") << 1.0 << 2.0 << 3 << QString("");
}

void ClipboardTextTest::cursorValue() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, what);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(cursorValueText({x, y}, static_cast<CopiedValue>(what))), text);
}

void ClipboardTextTest::setDataHasOneFixedWidthLinePerPoint() {
    const DataSet set = testing::dataSetOf({1, -0.25, 1e-300}, {200, 3.0e100, -1.0 / 3});
    const std::string text = setDataText(set);
    QCOMPARE(text.size(), std::size_t{153});
    QCOMPARE(QString::fromStdString(text),
             QString("  1.0000000000000000e+00\t  2.0000000000000000e+02\r\n"
                     " -2.5000000000000000e-01\t 2.9999999999999999e+100\r\n"
                     " 1.0000000000000000e-300\t -3.3333333333333331e-01\r\n"));
    DataSet errorBars = testing::dataSetOf({2}, {5});
    errorBars.errorbar = true;  // its error values are not copied
    QCOMPARE(setDataText(errorBars), std::string("  2.0000000000000000e+00\t  5.0000000000000000e+00\r\n"));
    QVERIFY(setDataText(DataSet{}).empty());
}

}  // namespace varnex

QTEST_MAIN(varnex::ClipboardTextTest)
#include "clipboard_text_test.moc"
