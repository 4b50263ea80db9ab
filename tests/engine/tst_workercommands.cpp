#include "CommandTable.h"
#include "PtyDevice.h"
#include "SerialTestSettings.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QtTest>

namespace {

const QByteArray WriteLog("msg Info : Worker : serial->write : ");
const QString InterfaceValues("115200;9600;4800;RS232;0;10.0.0.5;10.0.0.1;70000;8081");

// A worker linked to a device double, its tick driven by hand. Lines written
// to the port are seen at once in the event log and on the wire once the
// event loop has run.
class Bench
{
public:
    Bench()
        : written(&worker, &Worker::signalErrorLoggerWrite)
        , buttons(&worker, &Worker::enableAllButtons)
        , finished(&worker, &Worker::signalClearAllSetFalgs)
    {
        WorkerProbe::stopTimer(worker);
        worker.openSerialPort(serialTestSettings(device.portName()));
        buttons.clear();
    }

    // Runs one tick and returns the line it wrote, or an empty text.
    QByteArray tick()
    {
        written.clear();
        worker.tick();
        for (const QList<QVariant> &args : written) {
            const QByteArray line = args.at(0).toByteArray();
            if (line.startsWith(WriteLog))
                return line.mid(WriteLog.size());
        }
        return {};
    }

    void knowIdentity()
    {
        WorkerProbe::identity(worker).partNr = QStringLiteral("VRN12345");
        WorkerProbe::identity(worker).serialId = QStringLiteral("5678");
    }

    PtyDevice device;
    Worker worker;
    QSignalSpy written;
    QSignalSpy buttons;
    QSignalSpy finished;
};

} // namespace

class TestWorkerCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDeviceMetaTypes(); }
    void readoutSweepsUntilIdentityKnown();
    void readoutRepeatsWithoutIdentity();
    void haltedReadoutAdvancesWithoutWriting_data();
    void haltedReadoutAdvancesWithoutWriting();
    void setStep_data();
    void setStep();
    void dynamicAddressWaitsAndRereads();
    void haltedConsoleKeepsSettingsPending();
    void readoutRunsBeforePendingSettings();
    void protocolFormat();
};

void TestWorkerCommands::readoutSweepsUntilIdentityKnown()
{
    Bench bench;
    bench.device.setAnswer("$getsrn#", "$srn#VRNAB1234565678");
    bench.device.setAnswer("$getprn#", "$prn#VRN12345");

    for (int row = 0; row < 19; ++row) {
        QCOMPARE(bench.finished.size(), 0);
        QCOMPARE(bench.tick(), GetCommands().at(row));
        QTRY_COMPARE(bench.device.receivedLines().size(), row + 1);
        if (row == 1) // the device's answers are in before the sweep ends
            QTRY_VERIFY(!WorkerProbe::identity(bench.worker).partNr.isEmpty());
    }
    QCOMPARE(bench.device.receivedLines(), GetCommands());
    QCOMPARE(bench.finished.size(), 1);
    QCOMPARE(bench.buttons.size(), 1);
    QCOMPARE(bench.buttons.at(0).at(0).toBool(), true);
    QVERIFY(!WorkerProbe::readingSettings(bench.worker));
    QCOMPARE(WorkerProbe::settingsIterator(bench.worker), 0);
    QVERIFY(WorkerProbe::headerCapturePending(bench.worker));
    QCOMPARE(bench.tick(), QByteArray()); // idle
}

void TestWorkerCommands::readoutRepeatsWithoutIdentity()
{
    Bench bench;
    WorkerProbe::identity(bench.worker).serialId = QStringLiteral("5678"); // but no part number
    for (int i = 0; i < 40; ++i)
        QCOMPARE(bench.tick(), GetCommands().at(i % 19));
    QVERIFY(WorkerProbe::readingSettings(bench.worker));
    QCOMPARE(bench.finished.size(), 0);
}

void TestWorkerCommands::haltedReadoutAdvancesWithoutWriting_data()
{
    QTest::addColumn<bool>("identityKnown");
    QTest::newRow("identity known") << true;
    QTest::newRow("identity unknown") << false;
}

void TestWorkerCommands::haltedReadoutAdvancesWithoutWriting()
{
    QFETCH(bool, identityKnown);
    Bench bench;
    if (identityKnown)
        bench.knowIdentity();
    bench.worker.consoleHalt(true);
    for (int i = 0; i < 19; ++i)
        QCOMPARE(bench.tick(), QByteArray());
    QCOMPARE(WorkerProbe::readingSettings(bench.worker), !identityKnown);
    QCOMPARE(bench.finished.size(), identityKnown ? 1 : 0);
}

void TestWorkerCommands::setStep_data()
{
    QTest::addColumn<uint>("mask");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QByteArrayList>("lines"); // per tick; empty when the tick sends nothing

    QTest::newRow("frequency, protocol, address") << 0x43u << 1 << "0;0;0;0;200"
                                                  << QByteArrayList{"$setfrq#200", "$setprt#0.0.0.9:0",
                                                                    "$setsip#10.0.0.5"};
    QTest::newRow("interface group in order") << 0x3C0F0u << 0 << InterfaceValues
                                              << QByteArrayList{"$setbd1#115200", "$setbd2#9600", "$setbd3#4800",
                                                                "$setgps#RS232", "$setsip#10.0.0.5",
                                                                "$setdip#10.0.0.1", "$setsrp#0", "$setdsp#8081"};
    QTest::newRow("unknown baud rate dropped") << 0xC000u << 0 << "unknown;9600;;;0"
                                               << QByteArrayList{"", "$setbd2#9600"};
    QTest::newRow("output settings") << 0xF01u << 1 << "16909060;1,5;-0,25;2.5;50"
                                     << QByteArrayList{"$setfrq#50", "$setflg#1.2.3.4", "$setrof#1.5",
                                                       "$setpof#-0.25", "$setyof#2.5"};
    QTest::newRow("compass") << 0x3C0000u << 3 << "1.5;0.1;0.2;0.3"
                             << QByteArrayList{"$setnor#1.5", "$setmxb#0.1", "$setmyb#0.2", "$setmzb#0.3"};
    QTest::newRow("header before protocol") << 0x1002u << 2 << "" << QByteArrayList{"$sethdr#HDR", "$setprt#0.0.0.9:0"};
    QTest::newRow("serial number is never sent") << 0x5u << 1 << "0;0;0;0;10" << QByteArrayList{"$setfrq#10", ""};
    QTest::newRow("bits without a setting") << 0x2008u << 2 << "" << QByteArrayList{""};
}

void TestWorkerCommands::setStep()
{
    QFETCH(uint, mask);
    QFETCH(int, tab);
    QFETCH(QString, values);
    QFETCH(QByteArrayList, lines);

    Bench bench;
    WorkerProbe::setReadingSettings(bench.worker, false);
    WorkerProbe::protocol(bench.worker, 0).header = QStringLiteral("HDR");
    WorkerProbe::protocol(bench.worker, 0).mask = 0x80;
    bench.worker.getProtocolFormat({0, 0, 0, 9}, QString(), 0);
    bench.worker.getIMUsettingsFlag(0, 0, InterfaceValues);
    bench.worker.getIMUsettingsFlag(int(mask), tab, values);

    QByteArrayList sent;
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(bench.buttons.size(), 0);
        sent << bench.tick();
    }
    QCOMPARE(sent, lines);
    QCOMPARE(WorkerProbe::settingsMask(bench.worker), 0u);
    QCOMPARE(bench.buttons.size(), 1); // done, right after the last one
    QCOMPARE(bench.buttons.at(0).at(0).toBool(), true);
    QVERIFY(!WorkerProbe::readingSettings(bench.worker));

    sent.removeAll(QByteArray());
    QTRY_COMPARE(bench.device.receivedLines(), sent);
    if (mask & CommandTable::ProtocolBit)
        QCOMPARE(WorkerProbe::protocol(bench.worker, 0).mask, 0u);
    if (mask & CommandTable::DeviceAddressBit)
        QCOMPARE(WorkerProbe::deviceAddress(bench.worker), QHostAddress(QStringLiteral("10.0.0.5")));
    if (mask & CommandTable::DeviceUdpPortBit) {
        QCOMPARE(WorkerProbe::deviceUdpPort(bench.worker), uint16_t(0));
        QCOMPARE(WorkerProbe::localUdpPort(bench.worker), uint16_t(8081));
    }
}

void TestWorkerCommands::dynamicAddressWaitsAndRereads()
{
    Bench bench;
    WorkerProbe::setReadingSettings(bench.worker, false);
    bench.worker.getIMUsettingsFlag(0x41, 0, "a;b;c;d;1");
    bench.worker.getIMUsettingsFlag(0, 1, "0;0;0;0;25");
    // Frequency first, then the address: the last pending setting, so no re-read.
    QCOMPARE(bench.tick(), QByteArray("$setfrq#25"));
    QCOMPARE(bench.tick(), QByteArray("$setsip#0.0.0.0"));
    QCOMPARE(WorkerProbe::waitTicks(bench.worker), 25u);
    QVERIFY(!WorkerProbe::readingSettings(bench.worker));

    // With a setting still pending, the read-out runs after the wait and before it.
    bench.worker.getIMUsettingsFlag(0xC0, 0, "a;b;c;d;1;e;10.0.0.1");
    WorkerProbe::setWaitTicks(bench.worker, 0);
    QCOMPARE(bench.tick(), QByteArray("$setsip#0.0.0.0"));
    QVERIFY(WorkerProbe::readingSettings(bench.worker));
    for (uint i = 0; i < 25; ++i)
        QCOMPARE(bench.tick(), QByteArray());
    QCOMPARE(bench.tick(), GetCommands().at(0));
}

void TestWorkerCommands::haltedConsoleKeepsSettingsPending()
{
    Bench bench;
    WorkerProbe::setReadingSettings(bench.worker, false);
    bench.worker.getIMUsettingsFlag(0x4001, 0, "9600");
    bench.worker.consoleHalt(true);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(bench.tick(), QByteArray());
    QCOMPARE(WorkerProbe::settingsMask(bench.worker), 0x4001u);
    QCOMPARE(bench.buttons.size(), 0);

    bench.worker.consoleHalt(false);
    QCOMPARE(bench.tick(), QByteArray("$setfrq#"));
    QCOMPARE(bench.tick(), QByteArray("$setbd1#9600"));
    QCOMPARE(bench.buttons.size(), 1);
    QTRY_COMPARE(bench.device.receivedLines(), (QByteArrayList{"$setfrq#", "$setbd1#9600"}));
}

void TestWorkerCommands::readoutRunsBeforePendingSettings()
{
    Bench bench;
    bench.knowIdentity();
    bench.worker.getIMUsettingsFlag(0x1, 1, "0;0;0;0;100");
    for (int row = 0; row < 19; ++row)
        QCOMPARE(bench.tick(), GetCommands().at(row));
    QCOMPARE(bench.finished.size(), 1);
    QCOMPARE(bench.tick(), QByteArray("$setfrq#100"));
}

void TestWorkerCommands::protocolFormat()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    QCOMPARE(worker.getProtocolFormat({128, 0, 0, 20}, QStringLiteral("HDR"), 2), 0x80000014u);
    QCOMPARE(WorkerProbe::protocolId(worker), uint8_t(2));
    QCOMPARE(WorkerProbe::protocol(worker, 2).header, QStringLiteral("HDR"));
    QVERIFY(WorkerProbe::protocol(worker, 2).enabled);

    QCOMPARE(worker.getProtocolFormat({0, 0, 0, 19}, QStringLiteral("NEW"), 2), 19u);
    QCOMPARE(WorkerProbe::protocol(worker, 2).header, QStringLiteral("HDR")); // below 20 the header stays
    QCOMPARE(worker.getProtocolFormat({0, 0, 0, 0}, QString(), 2), 0u);
    QVERIFY(!WorkerProbe::protocol(worker, 2).enabled);

    // A default slot reads all bits set once computed.
    QCOMPARE(WorkerProbe::protocol(worker, 1).value, 0u);
    QCOMPARE(worker.calculateProtocolValue(1), 0xFFFFFFFFu);
    QVERIFY(WorkerProbe::protocol(worker, 1).enabled);

    // A slot number past the three slots changes nothing.
    QCOMPARE(worker.getProtocolFormat({0, 0, 0, 3}, QString(), 3), 0u);
    QCOMPARE(WorkerProbe::protocolId(worker), uint8_t(2));
    QCOMPARE(worker.calculateProtocolValue(200), 0u);
}

QTEST_GUILESS_MAIN(TestWorkerCommands)
#include "tst_workercommands.moc"
