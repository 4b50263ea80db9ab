#include "CommandTable.h"

#include <QtTest>

using namespace CommandTable;

class TestCommandTable : public QObject
{
    Q_OBJECT

private slots:
    void queryTable();
    void settingTable();
    void sendingOrder_data();
    void sendingOrder();
    void settingsGroups_data();
    void settingsGroups();
};

void TestCommandTable::queryTable()
{
    const QList<QByteArray> expected{"$getsrn#", "$getprn#",  "$getfrq#",  "$getfwv#", "$getbd1#", "$getbd2#", "$getbd3#",
                                     "$getgps#", "$getprt#",  "$getprt#1", "$getprt#2", "$getflg#", "$getrof#", "$getpof#",
                                     "$getyof#", "$getsrp#",  "$getdsp#",  "$getsip#", "$getdip#"};
    QCOMPARE(GetCommands(), expected);
    QCOMPARE(&GetCommands(), &GetCommands());
    QCOMPARE(queryLine(0), QByteArray("$getsrn#\r\n"));
    QCOMPARE(queryLine(19), QByteArray("$getsrn#\r\n"));
    QCOMPARE(queryLine(-1), QByteArray("$getdip#\r\n"));
}

void TestCommandTable::settingTable()
{
    const QByteArrayList heads{"$setsrn#", "$setfrq#", "$setbd1#", "$setbd2#", "$setbd3#", "$setgps#", "$sethdr#",
                               "$setprt#", "$setsrp#", "$setdsp#", "$setsip#", "$setdip#", "$setflg#", "$setrof#",
                               "$setpof#", "$setyof#", "$setnor#", "$setmxb#", "$setmyb#", "$setmzb#"};
    QCOMPARE(SetCmdMap().size(), heads.size());
    for (int number = 0; number < heads.size(); ++number) {
        QCOMPARE(SetCmdMap().value(heads.at(number), -1), number);
        QCOMPARE(setCommandHead(number), heads.at(number));
    }
    QVERIFY(setCommandHead(20).isEmpty());
}

void TestCommandTable::sendingOrder_data()
{
    QTest::addColumn<uint>("mask");
    QTest::addColumn<QList<int>>("numbers");

    QTest::newRow("every bit") << 0xFFFFFFFFu
                               << QList<int>{1, 6, 7, 0, 2, 3, 4, 5, 10, 11, 12, 8, 9, 13, 14, 15, 16, 17, 18, 19};
    QTest::newRow("frequency, protocol, address") << 0x43u << QList<int>{1, 7, 10};
    QTest::newRow("baud rates") << 0x1C000u << QList<int>{2, 3, 4};
    QTest::newRow("bits that select nothing") << (0x8u | 0x2000u | 0x400000u | 0x80000000u) << QList<int>{};
}

void TestCommandTable::sendingOrder()
{
    QFETCH(uint, mask);
    QList<int> numbers;
    for (SetCommand command = nextSetCommand(mask); command.isValid(); command = nextSetCommand(mask)) {
        numbers << command.number;
        mask &= ~command.bit;
    }
    QTEST(numbers, "numbers");
}

void TestCommandTable::settingsGroups_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QStringList>("stored"); // bd1 bd2 bd3 gps sip dip srp dsp rof pof yof frq nor mxb myb mzb
    QTest::addColumn<bool>("dynamicAddress");
    QTest::addColumn<uint>("flags");

    const QStringList before{"b1", "b2", "b3", "g", "s", "d", "sp", "dp", "r", "p", "y", "f", "n", "x", "yb", "z"};
    QTest::newRow("interface") << 0 << "9600;unknown;4800;0;0;10.0.0.2;10.0.0.1;8088;8080"
                               << QStringList{"9600", "unknown", "4800", "0", "10.0.0.2", "10.0.0.1", "8088", "8080",
                                              "r", "p", "y", "f", "n", "x", "yb", "z"}
                               << false << 7u;
    QTest::newRow("interface, dynamic address") << 0 << "a;b;c;d;1;e;f;g;h"
                                                << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "r", "p", "y",
                                                               "f", "n", "x", "yb", "z"}
                                                << true << 7u;
    QTest::newRow("output settings") << 1 << "33;1,5;-2.0;;200"
                                     << QStringList{"b1", "b2", "b3", "g", "s", "d", "sp", "dp", "1,5", "-2.0", "",
                                                    "200", "n", "x", "yb", "z"}
                                     << true << 33u;
    QTest::newRow("flags no number") << 1 << "4294967296" << before << true << 0u;
    QTest::newRow("compass") << 3 << "1.5;2;3;4"
                             << QStringList{"b1", "b2", "b3", "g", "s", "d", "sp", "dp", "r", "p", "y", "f", "1.5", "2",
                                            "3", "4"}
                             << true << 7u;
    QTest::newRow("output protocol stores nothing") << 2 << "1;2;3;4;5" << before << true << 7u;
    QTest::newRow("short list keeps the rest") << 0 << "115200" << QStringList{"115200"} + before.mid(1) << true << 7u;
    QTest::newRow("dynamic switch no number") << 0 << "a;b;c;d;on" << QStringList{"a", "b", "c", "d"} + before.mid(4)
                                              << false << 7u;
}

void TestCommandTable::settingsGroups()
{
    QFETCH(int, tab);
    QFETCH(QString, values);

    PendingSettings pending{"b1", "b2", "b3", "g", true, "s", "d", "sp", "dp", "r", "p", "y", "f", "n", "x", "yb", "z", 7};
    storeSettingsGroup(pending, tab, values);

    const QStringList stored{pending.bd1, pending.bd2, pending.bd3, pending.gps, pending.sip, pending.dip,
                             pending.srp, pending.dsp, pending.rof, pending.pof, pending.yof, pending.frq,
                             pending.nor, pending.mxb, pending.myb, pending.mzb};
    QTEST(stored, "stored");
    QTEST(pending.dynamicAddress, "dynamicAddress");
    QTEST(uint(pending.flags), "flags");
}

QTEST_GUILESS_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
