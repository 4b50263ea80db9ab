#include "SharedTables.h"

#include <QComboBox>
#include <QtTest>

class TestSharedTables : public QObject
{
    Q_OBJECT

private slots:
    void monthDay_data();
    void monthDay();
    void versionTextOfThisBuild();
    void baudRateBoxFromEmpty();
    void baudRateBoxAppendsBehindExistingItems();
};

void TestSharedTables::monthDay_data()
{
    QTest::addColumn<QString>("compilerDate");
    QTest::addColumn<QString>("monthDay");

    const QStringList months{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < months.size(); ++i) {
        const QString expected = QStringLiteral("%1.15").arg(i + 1, 2, 10, QLatin1Char('0'));
        QTest::newRow(qPrintable(months.at(i))) << months.at(i) + QStringLiteral(" 15 2026") << expected;
    }
    QTest::newRow("single-digit day") << QStringLiteral("Sep  3 2026") << QStringLiteral("09.03");
    QTest::newRow("Christmas") << QStringLiteral("Dec 25 2026") << QStringLiteral("12.25");
    QTest::newRow("first of the month") << QStringLiteral("Oct  1 2026") << QStringLiteral("10.01");
}

void TestSharedTables::monthDay()
{
    QFETCH(QString, compilerDate);
    QTEST(monthDayFromCompilerDate(compilerDate), "monthDay");
}

void TestSharedTables::versionTextOfThisBuild()
{
    QCOMPARE(versionString, QStringLiteral("6.") + buildMonthDay);
    QVERIFY2(QRegularExpression(QStringLiteral("^6\\.(0[1-9]|1[0-2])\\.(0[1-9]|[12][0-9]|3[01])$"))
                 .match(versionString).hasMatch(),
             qPrintable(versionString));
}

void TestSharedTables::baudRateBoxFromEmpty()
{
    QComboBox box;
    populateBaudRateComboBox(&box);

    const QList<uint> rates{4800, 9600, 19200, 38400, 57600, 115200, 128000, 230400};
    QCOMPARE(box.count(), rates.size() + 1);
    for (int i = 0; i < rates.size(); ++i) {
        QCOMPARE(box.itemText(i), QString::number(rates.at(i)));
        QCOMPARE(box.itemData(i).toUInt(), rates.at(i));
    }
    QCOMPARE(box.itemText(8), QStringLiteral("unknown"));
    QVERIFY(!box.itemData(8).isValid());
    QCOMPARE(box.currentIndex(), 8);
}

void TestSharedTables::baudRateBoxAppendsBehindExistingItems()
{
    QComboBox box;
    box.addItems({QStringLiteral("a"), QStringLiteral("b")});
    populateBaudRateComboBox(&box);
    QCOMPARE(box.count(), 11);
    QCOMPARE(box.itemText(0), QStringLiteral("a"));
    QCOMPARE(box.itemText(2), QStringLiteral("4800"));
    QCOMPARE(box.currentText(), QStringLiteral("unknown"));
}

QTEST_MAIN(TestSharedTables)
#include "tst_sharedtables.moc"
