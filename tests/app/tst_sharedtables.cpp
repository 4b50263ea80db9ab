#include "SharedTables.h"

#include <QtTest>

class TestSharedTables : public QObject
{
    Q_OBJECT

private slots:
    void versionText_data();
    void versionText();
};

void TestSharedTables::versionText_data()
{
    QTest::addColumn<QString>("compilerDate");
    QTest::addColumn<QString>("monthDay");

    const QStringList months{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < months.size(); ++i) {
        QTest::newRow(qPrintable(months.at(i)))
            << months.at(i) + " 25 2026" << QStringLiteral("%1.25").arg(i + 1, 2, 10, QChar('0'));
    }
    QTest::newRow("single-digit day") << QStringLiteral("Sep  3 2026") << QStringLiteral("09.03");
}

void TestSharedTables::versionText()
{
    QFETCH(QString, compilerDate);
    QTEST(monthDayFromCompilerDate(compilerDate), "monthDay");
    // This build's own version text.
    QVERIFY2(QRegularExpression(QStringLiteral("^6\\.(0[1-9]|1[0-2])\\.[0-3][0-9]$")).match(versionString).hasMatch(),
             qPrintable(versionString));
}

QTEST_APPLESS_MAIN(TestSharedTables)
#include "tst_sharedtables.moc"
