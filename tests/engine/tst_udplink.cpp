#include "EthernetSettingsDatagram.h"
#include "PtyDevice.h"
#include "SerialTestSettings.h"
#include "UdpDevice.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#include <memory>
#include <type_traits>

namespace {

constexpr int Timeout = 5000;
const QString UnconfirmedEvent =
    QStringLiteral("event(msg Error : Worker : UDP sendSetCmdDatagram : not confirmed by the IMU, settings dropped)");
const QString NotSentEvent =
    QStringLiteral("event(msg Error : Worker : UDP sendSetCmdDatagram : not sent to the IMU, settings dropped)");
const QString NotSentLeftEvent = QStringLiteral(
    "event(msg Error : Worker : UDP sendSetCmdDatagram : not sent to the IMU when the link was left, settings dropped)");

QString text(const QString &value) { return value; }
QString text(const QByteArray &value) { return QString::fromLatin1(value); }
QString text(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }
QString text(double value) { return QString::number(value); }
template <typename T>
std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, QString> text(T value) { return QString::number(value); }
QString text(const QList<QByteArray> &parts) { return text(parts.join('.')); }
QString text(const OutputDataType &sample) { return sample.field[OutputDataType::Roll]; }
QString text(const OutputProtocolType &p)
{
    return QByteArray(reinterpret_cast<const char *>(p.format.data()), 4).toHex() + "/" + QString::number(p.value);
}
QString text(const FactorySettingsT &f)
{
    return QStringList{f.partNr, f.serialNumber, f.hardwareId, f.date, f.serialId, f.fwVersion}.join('/');
}

// The worker's reports, as "name(arguments)" in emission order.
class Log
{
public:
    explicit Log(Worker &w)
    {
        add(w, &Worker::showEthernetStatusMessage, "ethernet");
        add(w, &Worker::enableAllButtons, "buttons");
        add(w, &Worker::signalSettingsConfirmed, "confirmed");
        add(w, &Worker::signalActionsSetChecked, "checked");
        add(w, &Worker::signalErrorLoggerWrite, "event");
        add(w, &Worker::m_consoleDisplayData, "console");
        add(w, &Worker::signalDispalyOutputData, "display");
        add(w, &Worker::m_uiLineEditIMUUdpPortSetText, "udp");
        add(w, &Worker::m_uiLineEditLocalUdpPortSetText, "local");
        add(w, &Worker::m_uiLineEditIMUIP4SetText, "ip");
        add(w, &Worker::m_uiLineEditDstIP4SetText, "dst");
        add(w, &Worker::signalProcessIMUFlags, "flags");
        add(w, &Worker::signalProcessProtocolParameters, "protocol");
        add(w, &Worker::signalProtocolHeaderSetText, "header");
        add(w, &Worker::m_uiBaudRateBoxSetIndex, "baud");
        add(w, &Worker::m_uiIMUfreqBoxSetIndex, "frequency");
        add(w, &Worker::m_uiDoubleSpinBoxOffsetSetValue, "offset");
        add(w, &Worker::signalEnableSpecialHardwareFeature, "identity");
    }

    QStringList entries;

    QStringList named(const QString &name) const { return entries.filter(QRegularExpression('^' + name + "\\(")); }
    QStringList take()
    {
        QStringList taken;
        taken.swap(entries);
        return taken;
    }

private:
    template <typename... Args>
    void add(Worker &w, void (Worker::*signal)(Args...), const char *name)
    {
        QObject::connect(&w, signal, [this, name](const std::decay_t<Args> &...args) {
            entries << name + ("(" + QStringList{text(args)...}.join(',') + ")");
        });
    }
};

quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QHostAddress::AnyIPv4), 0);
    return probe.localPort();
}

// A settings datagram as the main window builds it: 66 bytes, the flags word in its place,
// a signature of its own in the last four bytes.
QByteArray settingsDatagram(uint32_t flags, uint16_t counter)
{
    QByteArray datagram("$QUORVX#");
    datagram.append(QByteArray::fromHex("0000050a"));
    datagram.append(54, '\0');
    qToBigEndian(flags, datagram.data() + EthernetSettingsDatagram::FlagsOffset);
    qToBigEndian(uint16_t(0xBEEF), datagram.data() + 62);
    qToBigEndian(counter, datagram.data() + 64);
    return datagram;
}

bool isSettingsDatagram(const QByteArray &bytes)
{
    return bytes.size() == 68 && bytes.startsWith("$QUORVX#");
}

// A worker whose chosen reads fail, after taking their datagram off the
// socket or, when takesDatagram is false, leaving it there.
class FailingReadWorker : public Worker
{
public:
    QList<int> failingReads; // counted from 0
    bool takesDatagram = true;
    int reads = 0;

protected:
    qint64 readUdpDatagram(QByteArray &buffer) override
    {
        const bool fails = failingReads.contains(reads++);
        if (fails && !takesDatagram)
            return -1;
        const qint64 count = Worker::readUdpDatagram(buffer);
        return fails ? -1 : count;
    }
};

// A worker with a stopped tick, its UDP ports on free ports of 127.0.0.1, and
// a device double that answers from 127.0.0.1.
template <typename LinkWorker>
struct LinkWith
{
    LinkWith()
    {
        WorkerProbe::stopTimer(worker);
        const quint16 local = freePort();
        WorkerProbe::setDefaultUdpPorts(worker, local, device.port());
        device.record.destinationPort = local;
    }

    void connect() { worker.EthernetConnectTriggered(true, QHostAddress::LocalHost, QHostAddress::LocalHost); }
    void run(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            worker.udpTimerTask();
    }
    // Whole ticks, waits included.
    void ticks(int times)
    {
        for (int i = 0; i < times; ++i)
            worker.tick();
    }
    // Connected, found by discovery and rebound: the linked state.
    bool bringUp()
    {
        connect();
        run();
        if (!QTest::qWaitFor([this] { return WorkerProbe::rebindRequest(worker); }, Timeout))
            return false;
        run();
        log.take();
        device.clear();
        return WorkerProbe::udpBound(worker) && !WorkerProbe::scanning(worker);
    }
    quint16 localPort() { return WorkerProbe::udpSocket(worker)->localPort(); }
    void sendToWorker(const QByteArray &bytes) { device.send(bytes, QHostAddress::LocalHost, localPort()); }
    int settingsDatagramsReceived() const
    {
        int count = 0;
        for (const UdpDevice::Received &datagram : device.received())
            count += isSettingsDatagram(datagram.bytes) ? 1 : 0;
        return count;
    }

    LinkWorker worker;
    UdpDevice device;
    Log log{worker};
};
using Link = LinkWith<Worker>;

// Leaves the Ethernet link the way the row names: the user's Disconnect, the
// serial side's close (Configure), a serial port opened, or a new connection.
void leaveLink(Link &link, int way, const QString &serialPort)
{
    switch (way) {
    case 0:
        link.worker.EthernetConnectTriggered(false, QHostAddress::Any, QHostAddress::Broadcast);
        break;
    case 1:
        link.worker.refreshSerialPort();
        break;
    case 3:
        link.worker.openSerialPort(serialTestSettings(serialPort));
        break;
    default:
        link.worker.EthernetConnectTriggered(true, QHostAddress::LocalHost, QHostAddress::LocalHostIPv6);
        break;
    }
}

// Holds a UDP port of 127.0.0.1's any-address without sharing it, so that the worker cannot bind it.
struct PortBlocker
{
    explicit PortBlocker(quint16 port) { socket.bind(QHostAddress(QHostAddress::AnyIPv4), port, QAbstractSocket::DontShareAddress); }
    QUdpSocket socket;
};

// The worker's reports of a bind of port that failed, as bindFailures shows them.
bool reportsBindFailure(const QStringList &reports, quint16 port)
{
    return reports.filter(QStringLiteral("ethernet(Disconnected: UDP port %1 could not be bound: ").arg(port)).size() == 1
           && reports.filter(QStringLiteral("event(msg Error : Worker : UDP bind : port %1 : ").arg(port)).size() == 1
           && reports.endsWith(QStringLiteral("checked(false,8)"));
}

} // namespace

class TestUdpLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerDeviceMetaTypes();
        QLoggingCategory::setFilterRules(QStringLiteral("orvanta.engine.debug=false"));
    }

    // Connect, discovery from the default port, the device's answer ends the
    // search and the next run rebinds; the answer's reports come in their order.
    void connectFindsDeviceAndRebinds()
    {
        Link link;
        link.connect();
        // The serial link is closed first.
        QCOMPARE(link.log.take(), (QStringList{"checked(false,6)", "buttons(false)", "ethernet(Connected)"}));
        QCOMPARE(WorkerProbe::interfaceMode(link.worker), uint32_t(Worker::EthernetMode));

        link.run();
        QTRY_COMPARE_WITH_TIMEOUT(link.device.received().size(), 1, Timeout);
        const UdpDevice::Received discovery = link.device.received().first();
        QCOMPARE(discovery.bytes, QByteArray("READ$QUORVX#0000   scan for IMU   "));
        QCOMPARE(discovery.senderPort, link.localPort());

        QTRY_VERIFY_WITH_TIMEOUT(!WorkerProbe::scanning(link.worker), Timeout);
        const QString port = QString::number(link.device.port());
        const QString local = QString::number(link.localPort());
        QCOMPARE(link.log.take(),
                 (QStringList{"ethernet(Scaning For IMU)", "buttons(false)", "udp(" + port + ")", "local(" + local + ")",
                              "ip(127.0.0.1)", "dst(127.0.0.1)", "flags(33)", "protocol(80000014/2147483668,0)",
                              "header(HEADER,ABC" + QString(5, QChar(0)) + ")", "baud(3,5)", "frequency(100)", "offset(3,-2)",
                              "identity(VRN3ABCDEF12XYZ/72023142/7/20231/42/1.2.3,1)",
                              "event(msg Info : Worker : processUdpCmdDatagrams : ready)",
                              "console($QUORVX#ANS#127.0.0.1 @ " + port + " -> " + local + "\r\n,1,false)", "buttons(true)"}));
        QCOMPARE(WorkerProbe::deviceAddress(link.worker), QHostAddress(QHostAddress::LocalHost));
        QVERIFY(WorkerProbe::rebindRequest(link.worker));
        QVERIFY(WorkerProbe::headerCapturePending(link.worker));

        link.run();
        QCOMPARE(link.log.take(), (QStringList{"ethernet(Reset Conecction)", "ethernet(Connected)", "buttons(true)"}));
        QVERIFY(WorkerProbe::udpBound(link.worker));
        QCOMPARE(link.localPort(), WorkerProbe::localUdpPort(link.worker));
    }

    void answerFields_data()
    {
        QTest::addColumn<uint>("format");
        QTest::addColumn<QString>("label");
        QTest::newRow("value 18") << 18u << "Protocol";
        QTest::newRow("value 19") << 19u << "HEADER";
        QTest::newRow("high bit set") << 0x80000013u << "HEADER";
    }
    void answerFields()
    {
        QFETCH(uint, format);
        Link link;
        QVERIFY(link.bringUp());
        DeviceRecord record = link.device.record;
        record.formats[0] = format;
        record.partNumberBlock = false;
        record.serial = 5;
        UserSettings.flags = 0;
        link.sendToWorker(record.toAnswer());
        QTRY_VERIFY_WITH_TIMEOUT(!link.log.named("identity").isEmpty(), Timeout);
        QFETCH(QString, label);
        QVERIFY(link.log.named("header").first().startsWith("header(" + label + ","));
        QCOMPARE(WorkerProbe::protocol(link.worker, 0).value, format);
        QCOMPARE(UserSettings.flags, 0x21u);
        QCOMPARE(UserSettings.baudCode[2], 2u);
        QCOMPARE(UserSettings.yawOffset, 1.5);
        // Without the block the part number stays; a small serial gives a short serial number.
        QCOMPARE(link.log.named("identity").first(), QStringLiteral("identity(VRN3ABCDEF12XYZ/7202315/7/20231/5/1.2.3,1)"));
    }

    // The device address after a settings datagram follows the datagram's own
    // flags, whatever the shared settings record says meanwhile.
    void settingsDatagramAddress_data()
    {
        QTest::addColumn<uint>("datagramFlags");
        QTest::addColumn<uint>("sharedFlags");
        QTest::addColumn<QString>("address");
        QTest::newRow("static address") << 0x21u << 0x10u << "127.0.0.2";
        QTest::newRow("dynamic address") << 0x10u << 0x0u << "127.0.0.1";
    }
    void settingsDatagramAddress()
    {
        QFETCH(uint, datagramFlags);
        QFETCH(uint, sharedFlags);
        Link link;
        QVERIFY(link.bringUp());
        link.device.answering = false;
        UserSettings.flags = sharedFlags;
        const QByteArray datagram = settingsDatagram(datagramFlags, 1);
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.2"), datagram, 0);
        QTRY_COMPARE_WITH_TIMEOUT(link.device.received().size(), 1, Timeout);
        QCOMPARE(link.device.received().first().bytes, datagram + "01");
        QTEST(WorkerProbe::deviceAddress(link.worker).toString(), "address");
        QCOMPARE(WorkerProbe::pendingDeviceAddress(link.worker), QStringLiteral("127.0.0.2"));
        QVERIFY(WorkerProbe::setDatagramPending(link.worker));
        QVERIFY(WorkerProbe::readingSettings(link.worker));
        QCOMPARE(WorkerProbe::waitTicks(link.worker), 12u);
        QCOMPARE(link.log.named("event").last(), "event(msg Info : Worker : UDP sendSetCmdDatagram : " + QString::fromLatin1(datagram + "01") + ")");
        // Other types are not handled.
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.3"), datagram, 1);
        QCOMPARE(WorkerProbe::pendingDeviceAddress(link.worker), QStringLiteral("127.0.0.2"));
    }

    // A confirming answer ends the pending state before it is taken like any
    // other; an answer that does not confirm changes nothing.
    void confirmation()
    {
        Link link;
        QVERIFY(link.bringUp());
        link.device.confirming = false;
        const quint16 devicePort = link.device.port();
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 7), 0);
        QTRY_COMPARE_WITH_TIMEOUT(link.settingsDatagramsReceived(), 1, Timeout);
        link.log.take();

        DeviceRecord other = link.device.record;
        other.devicePort = 1234;
        link.sendToWorker(other.toAnswer());
        QTRY_VERIFY_WITH_TIMEOUT(WorkerProbe::ethernetWatchdog(link.worker) == 0 && !link.log.named("console").isEmpty(), Timeout);
        QCOMPARE(link.log.take(), QStringList{"console($QUORVX#ANS#\r\n,1,false)"});
        QVERIFY(WorkerProbe::setDatagramPending(link.worker));
        QCOMPARE(WorkerProbe::deviceUdpPort(link.worker), devicePort);

        DeviceRecord confirming = link.device.record;
        confirming.trailer = " ok " + QByteArray::fromHex("beef0007");
        WorkerProbe::setWaitTicks(link.worker, 5);
        link.sendToWorker(confirming.toAnswer());
        QTRY_VERIFY_WITH_TIMEOUT(!WorkerProbe::setDatagramPending(link.worker), Timeout);
        QVERIFY(QTest::qWaitFor([&] { return !link.log.named("console").isEmpty(); }, Timeout));
        QCOMPARE(link.log.entries.mid(0, 2), (QStringList{"buttons(true)", "confirmed(true)"}));
        QCOMPARE(link.log.entries.size(), 15);
        QCOMPARE(WorkerProbe::waitTicks(link.worker), 0u);
        QVERIFY(!WorkerProbe::readingSettings(link.worker));
    }

    // Without a confirmation the datagram goes out again on runs 10, 20 ... 100,
    // each followed by a settings request, and is given up on run 101.
    void resendsThenGivesUp()
    {
        Link link;
        QVERIFY(link.bringUp());
        link.device.confirming = false;
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 9), 0);
        QTRY_COMPARE_WITH_TIMEOUT(link.settingsDatagramsReceived(), 1, Timeout);
        for (int run = 1; run <= 100; ++run) {
            link.run();
            const int expected = 1 + run / 10;
            if (run % 10 == 0 || run == 1) {
                // The request that follows is answered; the answer keeps the watchdog quiet.
                QTRY_COMPARE_WITH_TIMEOUT(link.settingsDatagramsReceived(), expected, Timeout);
                QTRY_COMPARE_WITH_TIMEOUT(WorkerProbe::ethernetWatchdog(link.worker), 0u, Timeout);
            }
            QVERIFY2(WorkerProbe::setDatagramPending(link.worker), qPrintable(QString::number(run)));
        }
        QCOMPARE(link.settingsDatagramsReceived(), 11);
        QCOMPARE(link.device.receivedStartingWith("READ$QUORVX#").size(), 11);
        link.log.take();
        link.run();
        QVERIFY(!WorkerProbe::setDatagramPending(link.worker));
        QVERIFY(WorkerProbe::scanning(link.worker));
        QVERIFY(!WorkerProbe::readingSettings(link.worker));
        QCOMPARE(link.log.take(), (QStringList{"confirmed(false)", UnconfirmedEvent}));
        link.run(20);
        QTest::qWait(50);
        QCOMPARE(link.settingsDatagramsReceived(), 11);
        QCOMPARE(link.log.named("ethernet").first(), QStringLiteral("ethernet(Scaning For IMU)"));
        QVERIFY(!link.log.entries.contains(UnconfirmedEvent));
    }

    // Settings dropped unconfirmed by the search a silent device starts are
    // reported once, and the status texts stay the link's own; the next
    // confirmed datagram is reported too.
    void unconfirmedSettingsReported()
    {
        Link link;
        QVERIFY(link.bringUp());
        link.device.answering = false;
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 11), 0);
        link.run(int(100 - WorkerProbe::ethernetWatchdog(link.worker)));
        QCOMPARE(link.log.named("ethernet").last(), QStringLiteral("ethernet(Reset Conecction)"));
        QVERIFY(link.log.named("confirmed").isEmpty());
        link.run();
        QCOMPARE(link.log.named("event").filter("not confirmed"), QStringList{UnconfirmedEvent});
        QCOMPARE(link.log.named("confirmed"), QStringList{"confirmed(false)"});
        QCOMPARE(link.log.named("ethernet").last(), QStringLiteral("ethernet(Scaning For IMU)"));
        // The runs took no time: the silent unit reads what they sent it before it
        // answers again, as it would have over their five seconds.
        QTRY_VERIFY_WITH_TIMEOUT(!link.device.hasPendingDatagrams(), Timeout);

        link.device.answering = true;
        link.run(int(Worker::DiscoveryInterval));
        QTRY_VERIFY_WITH_TIMEOUT(!WorkerProbe::scanning(link.worker), Timeout);
        link.log.take();
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 12), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!WorkerProbe::setDatagramPending(link.worker), Timeout);
        QCOMPARE(link.log.named("confirmed"), QStringList{"confirmed(true)"});
        QCOMPARE(link.log.named("event").filter("not confirmed"), QStringList{});
    }

    // 100 silent runs reset the socket to the default local port and search again.
    void watchdogResetsToDefaultPort()
    {
        Link link;
        QVERIFY(link.bringUp());
        link.device.answering = false;
        const quint16 defaultPort = link.localPort();
        const quint16 other = freePort();
        link.worker.resetUdpSocketSlot(other);
        QCOMPARE(WorkerProbe::waitTicks(link.worker), 10u);
        link.run();
        QCOMPARE(link.localPort(), other);
        link.log.take();
        link.run(int(99 - WorkerProbe::ethernetWatchdog(link.worker)));
        QVERIFY(link.log.named("ethernet").isEmpty());
        link.run();
        QCOMPARE(link.log.take(), QStringList{"ethernet(Reset Conecction)"});
        QCOMPARE(link.localPort(), defaultPort);
        QVERIFY(WorkerProbe::scanning(link.worker));
        QVERIFY(WorkerProbe::udpBound(link.worker));
        link.run(10);
        QTRY_COMPARE_WITH_TIMEOUT(link.device.receivedStartingWith("READ$QUORVX#").size(), 1, Timeout);
        QVERIFY(link.device.received().first().bytes.endsWith("scan for IMU   "));
    }

    // Each datagram is decoded and reaches the console and the data log; the
    // read-outs get at most one per tick.
    void outputDatagramsGatedPerTick()
    {
        Link link;
        QVERIFY(link.bringUp());
        QTemporaryDir dir;
        const QString logName = dir.filePath(QStringLiteral("udp.log"));
        link.worker.startDataLogging(true, logName);
        WorkerProbe::setDisplayDue(link.worker, true);
        const QByteArray datagram = outputDatagram({1.5f, -1.5f, 359.94f});
        for (int i = 0; i < 3; ++i)
            link.sendToWorker(datagram);
        QTRY_COMPARE_WITH_TIMEOUT(link.log.named("console").size(), 3, Timeout);
        QCOMPARE(link.log.named("display").size(), 1);
        QVERIFY(link.log.named("display").first().endsWith(QStringLiteral(",1)"))); // came in on the Ethernet link
        WorkerProbe::setWaitTicks(link.worker, 0);
        link.worker.tick();
        link.sendToWorker(datagram);
        link.sendToWorker(datagram);
        QTRY_COMPARE_WITH_TIMEOUT(link.log.named("console").size(), 5, Timeout);
        QCOMPARE(link.log.named("display").size(), 2);
        const QString line = QStringLiteral("+01.50,-01.50,+359.9,+00.00,+00.00,+00.00,+0.000,+00.00,+0.0000,+0.0000,+0.0000\r\n");
        QCOMPARE(link.log.named("console").first(), "console(" + line + ",2,false)");
        link.worker.startDataLogging(false, QString());
        QFile log(logName);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), line.repeated(5).toUtf8());
    }

    // The fields of a serial session's sample that no output datagram carries
    // (here a custom selection's frame counter) are gone once the Ethernet link starts.
    void ethernetSessionStartsWithAnEmptySample()
    {
        PtyDevice serialPort;
        Link link;
        link.worker.openSerialPort(serialTestSettings(serialPort.portName()));
        WorkerProbe::setReadingSettings(link.worker, false);
        WorkerProbe::setProtocolValue(link.worker, 0x80100000); // roll and the frame counter
        WorkerProbe::receive(link.worker, "HDR+01.25,42\r\n");
        QVERIFY(!WorkerProbe::outputData(link.worker).field[OutputDataType::FrameCounter].isEmpty());

        QVERIFY(link.bringUp());
        QSignalSpy samples(&link.worker, &Worker::signalDispalyOutputData);
        WorkerProbe::setDisplayDue(link.worker, true);
        link.sendToWorker(outputDatagram({1.5f, -1.5f, 359.94f}));
        QTRY_COMPARE_WITH_TIMEOUT(samples.size(), 1, Timeout);
        const OutputDataType sample = samples.first().at(0).value<OutputDataType>();
        QCOMPARE(sample.field[OutputDataType::Roll], QStringLiteral("+01.50"));
        QCOMPARE(sample.field[OutputDataType::FrameCounter], QString());
    }

    // A device streaming at 200 datagrams a second with the tick running.
    void outputStreamWithRunningTick()
    {
        Worker worker;
        UdpDevice device;
        const quint16 local = freePort();
        WorkerProbe::setDefaultUdpPorts(worker, local, device.port());
        device.answering = false;
        Log log(worker);
        worker.EthernetConnectTriggered(true, QHostAddress::LocalHost, QHostAddress::LocalHost);
        QElapsedTimer elapsed;
        elapsed.start();
        constexpr int Count = 200;
        QTimer sender;
        int sent = 0;
        connect(&sender, &QTimer::timeout, &sender, [&] {
            device.send(outputDatagram({float(sent)}), QHostAddress::LocalHost, local);
            if (++sent == Count)
                sender.stop();
        });
        sender.start(5);
        QTRY_COMPARE_WITH_TIMEOUT(log.named("console").size(), Count, 4 * Timeout);
        const int displays = log.named("display").size();
        QVERIFY(displays >= 1);
        QVERIFY2(displays <= elapsed.elapsed() / 40 + 2, qPrintable(QString::number(displays)));
    }

    // Datagrams that are neither a complete answer nor output data are dropped;
    // each still shows the device is alive, and an answer ends a search.
    void malformedDatagrams_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<bool>("endsSearch");
        QTest::addColumn<QString>("event");
        const QByteArray answer = DeviceRecord().toAnswer();
        QTest::newRow("empty") << QByteArray() << false << "";
        QTest::newRow("83 bytes") << QByteArray(83, '\x7f') << false << "";
        QTest::newRow("85 bytes") << QByteArray(85, '\x7f') << false << "";
        QTest::newRow("token cut short") << answer.left(11) << false << "";
        for (const int length : {12, 13, 40, 70, 71, 85, 90, 91}) {
            QTest::addRow("answer of %d bytes", length)
                << answer.left(length) << true
                << QStringLiteral("event(msg Error : Worker : processUdpCmdDatagrams : short settings answer of %1 bytes)").arg(length);
        }
        QRandomGenerator random(15);
        for (int i = 0; i < 6; ++i) {
            QByteArray bytes(random.bounded(1, 300), Qt::Uninitialized);
            for (char &byte : bytes)
                byte = char(random.bounded(256));
            if (bytes.size() == 84)
                bytes.append('x');
            QTest::addRow("random %d", i) << bytes << false << "";
        }
    }
    void malformedDatagrams()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(QString, event);
        Link link;
        link.device.answering = false;
        link.connect();
        link.run(5);
        link.log.take();
        link.sendToWorker(datagram);
        QTRY_COMPARE_WITH_TIMEOUT(WorkerProbe::ethernetWatchdog(link.worker), 0u, Timeout);
        QTEST(!WorkerProbe::scanning(link.worker), "endsSearch");
        QVERIFY(WorkerProbe::deviceAddress(link.worker).isNull());
        const QStringList expected = event.isEmpty() ? QStringList()
                                                     : QStringList{event, "console($QUORVX#ANS#\r\n,1,false)", "buttons(true)"};
        QCOMPARE(link.log.take(), expected);
    }

    // A port that cannot be bound is reported, with the port and the reason,
    // and the Ethernet action unchecks; the stored port stays what was asked for.
    void bindFailures()
    {
        Link link;
        QVERIFY(link.bringUp());
        const quint16 taken = freePort();
        auto blocker = std::make_unique<QUdpSocket>();
        QVERIFY(blocker->bind(QHostAddress(QHostAddress::AnyIPv4), taken, QAbstractSocket::DontShareAddress));

        link.worker.resetUdpSocketSlot(taken);
        link.run();
        const QStringList reports = link.log.take();
        QCOMPARE(reports.size(), 4);
        QCOMPARE(reports[0], QStringLiteral("ethernet(Reset Conecction)"));
        QVERIFY2(reports[1].startsWith(QStringLiteral("ethernet(Disconnected: UDP port %1 could not be bound: ").arg(taken)), qPrintable(reports[1]));
        QVERIFY(reports[2].startsWith(QStringLiteral("event(msg Error : Worker : UDP bind : port %1 : ").arg(taken)));
        QCOMPARE(reports[3], QStringLiteral("checked(false,8)"));
        QVERIFY(!WorkerProbe::udpBound(link.worker));
        QCOMPARE(WorkerProbe::localUdpPort(link.worker), taken);

        // A connect while the port is still taken fails the same way, and says nothing of port 0.
        link.connect();
        QVERIFY(link.log.named("ethernet").last().startsWith(QStringLiteral("ethernet(Disconnected: UDP port %1").arg(taken)));
        QVERIFY(link.log.named("local").isEmpty());
        QCOMPARE(link.log.named("checked").last(), QStringLiteral("checked(false,8)"));
        link.log.take();

        blocker.reset();
        link.connect();
        QCOMPARE(link.log.named("ethernet"), QStringList{"ethernet(Connected)"});
        QCOMPARE(link.localPort(), taken);
    }

    // One message number for every kind of datagram; it wraps after 255.
    void messageNumberShared()
    {
        Link link;
        QVERIFY(link.bringUp());
        link.device.answering = false;
        WorkerProbe::setMsgNr(link.worker, 255);
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 3), 0);
        link.run();
        QTRY_COMPARE_WITH_TIMEOUT(link.device.received().size(), 2, Timeout);
        QVERIFY(link.device.received()[0].bytes.endsWith("ff"));
        const QByteArray request = link.device.received()[1].bytes;
        QCOMPARE(request, QByteArray("READ$QUORVX#0000   Read IMU Settings  00   read from IMU    "));
        QCOMPARE(WorkerProbe::msgNr(link.worker), 1u);
        QCOMPARE(WorkerProbe::waitTicks(link.worker), 10u);
        QVERIFY(!WorkerProbe::headerCapturePending(link.worker));
        QCOMPARE(link.log.named("buttons").last(), QStringLiteral("buttons(true)"));
    }

    // While searching nothing but discovery goes out; the refusals are logged.
    void refusedWhileSearching()
    {
        Link link;
        link.device.answering = false;
        link.connect();
        link.log.take();
        const QByteArray datagram = settingsDatagram(0x21, 4);
        link.worker.sendSetCmdDatagram(datagram);
        QCOMPARE(link.log.take(), (QStringList{"buttons(false)", "event(msg Error : Worker : UDP sendSetCmdDatagram : " + QString::fromLatin1(datagram) + ")"}));
        link.worker.sendGetCmdDatagram(QByteArray("READ"));
        QCOMPARE(link.log.take(), QStringList{"event(msg Error : Worker : UDP sendGetCmdDatagram : )"});
        QVERIFY(!WorkerProbe::readingSettings(link.worker));
        QCOMPARE(WorkerProbe::msgNr(link.worker), 0u);
        // The pending datagram is dropped by the next run, which searches.
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), datagram, 0);
        QVERIFY(WorkerProbe::setDatagramPending(link.worker));
        link.run();
        QVERIFY(!WorkerProbe::setDatagramPending(link.worker));
        QTRY_COMPARE_WITH_TIMEOUT(link.device.received().size(), 1, Timeout);
        QVERIFY(link.device.received().first().bytes.startsWith("READ$QUORVX#0000   scan"));
    }

    // Disconnect keeps what the link learnt; the UDP task then does nothing.
    void disconnectStopsTheTask()
    {
        Link link;
        QVERIFY(link.bringUp());
        link.worker.EthernetConnectTriggered(false, QHostAddress::Any, QHostAddress::Broadcast);
        QCOMPARE(link.log.take(), (QStringList{"ethernet(Disconnected)", "buttons(false)"}));
        QCOMPARE(WorkerProbe::interfaceMode(link.worker), uint32_t(Worker::NoLink));
        QVERIFY(!WorkerProbe::udpBound(link.worker));
        QCOMPARE(WorkerProbe::deviceAddress(link.worker), QHostAddress(QHostAddress::LocalHost));
        link.run(120);
        link.worker.tick();
        QVERIFY(link.log.entries.isEmpty());
    }

    // Waits asked for by the slots, and the settings re-read after 2000 quiet runs.
    void waitsAndReread()
    {
        Link link;
        QVERIFY(link.bringUp());
        link.device.answering = false;
        link.worker.scanVeltoIMUSlot(false);
        QCOMPARE(WorkerProbe::waitTicks(link.worker), 0u);
        link.worker.scanVeltoIMUSlot(true);
        QCOMPARE(WorkerProbe::waitTicks(link.worker), 10u);
        link.worker.scanVeltoIMUSlot(false);
        WorkerProbe::setSettingsRereadCount(link.worker, 1999);
        link.run();
        QVERIFY(!WorkerProbe::readingSettings(link.worker));
        link.run();
        QVERIFY(WorkerProbe::readingSettings(link.worker));
        link.run();
        QTRY_COMPARE_WITH_TIMEOUT(link.device.receivedStartingWith("READ$QUORVX#").size(), 1, Timeout);
        QVERIFY(link.device.received().first().bytes.contains("Read IMU Settings"));
    }

    // The ports and the address a settings answer reports are the ones the
    // link uses from then on; a system-chosen local port is taken over as bound.
    void answerMovesTheLink()
    {
        Link link;
        QVERIFY(link.bringUp());
        UdpDevice moved;
        moved.answering = false;
        DeviceRecord record = link.device.record;
        record.devicePort = moved.port();
        link.sendToWorker(record.toAnswer());
        QTRY_COMPARE_WITH_TIMEOUT(WorkerProbe::deviceUdpPort(link.worker), moved.port(), Timeout);
        WorkerProbe::setReadingSettings(link.worker, true);
        link.run();
        QTRY_COMPARE_WITH_TIMEOUT(moved.receivedStartingWith("READ$QUORVX#").size(), 1, Timeout);
        QVERIFY(moved.received().first().bytes.contains("Read IMU Settings"));

        link.worker.resetUdpSocketSlot(0);
        link.run();
        const quint16 bound = link.localPort();
        QVERIFY(bound != 0);
        QCOMPARE(link.log.named("local").last(), "local(" + QString::number(bound) + ")");
        QCOMPARE(WorkerProbe::localUdpPort(link.worker), bound);
        // An answer naming the bound port asks for no rebind.
        record.destinationPort = bound;
        link.sendToWorker(record.toAnswer());
        QTRY_VERIFY_WITH_TIMEOUT(!link.log.named("identity").isEmpty(), Timeout);
        QVERIFY(!WorkerProbe::rebindRequest(link.worker));
    }

    // A device that reports the unset address 0.0.0.0 cannot be asked for its
    // settings; the refused request starts a new search.
    void unsetAddressRestartsSearch()
    {
        Link link;
        QVERIFY(link.bringUp());
        DeviceRecord record = link.device.record;
        record.address = {0, 0, 0, 0};
        link.device.answering = false;
        link.sendToWorker(record.toAnswer());
        QTRY_COMPARE_WITH_TIMEOUT(WorkerProbe::deviceAddress(link.worker), QHostAddress(QStringLiteral("0.0.0.0")), Timeout);
        WorkerProbe::setReadingSettings(link.worker, true);
        link.run();
        QVERIFY(WorkerProbe::scanning(link.worker));
        link.device.clear();
        link.run(10);
        QTRY_COMPARE_WITH_TIMEOUT(link.device.receivedStartingWith("READ$QUORVX#").size(), 1, Timeout);
        QVERIFY(link.device.received().first().bytes.endsWith("scan for IMU   "));
    }

    // A search or a watchdog reset that cannot bind the default port leaves the
    // link unbound, says why, sends nothing and stops the UDP task.
    void bindFailureWhileSearching_data()
    {
        QTest::addColumn<bool>("watchdog");
        QTest::newRow("search") << false;
        QTest::newRow("watchdog") << true;
    }
    void bindFailureWhileSearching()
    {
        QFETCH(bool, watchdog);
        Link link;
        QVERIFY(link.bringUp());
        link.device.answering = false;
        const quint16 defaultPort = link.localPort();
        link.worker.resetUdpSocketSlot(freePort());
        link.run();
        QVERIFY(link.localPort() != defaultPort);
        PortBlocker blocker(defaultPort);
        QCOMPARE(blocker.socket.state(), QAbstractSocket::BoundState);
        link.log.take();
        link.device.clear();
        if (watchdog) {
            link.run(int(100 - WorkerProbe::ethernetWatchdog(link.worker)));
        } else {
            link.worker.scanVeltoIMUSlot(true);
            link.run(int(Worker::DiscoveryInterval));
        }
        QVERIFY(!WorkerProbe::udpBound(link.worker));
        const QStringList reports = link.log.take();
        QVERIFY2(reportsBindFailure(reports, defaultPort), qPrintable(reports.join('|')));
        for (int i = 0; i < 30; ++i) {
            WorkerProbe::setWaitTicks(link.worker, 0);
            link.worker.tick();
        }
        QTest::qWait(50);
        QVERIFY(link.device.received().isEmpty());
        QVERIFY(link.log.entries.isEmpty());
    }

    // A datagram the socket does not take is reported with the reason and not
    // shown as sent: no message number used, no address moved, no buttons.
    void failedWrites()
    {
        Link link;
        QVERIFY(link.bringUp());
        link.device.answering = false;
        const uint32_t number = WorkerProbe::msgNr(link.worker);
        // The worker's one event line says which write failed; the message number stays.
        const auto failedOnce = [&link, number](const QString &operation) {
            const QStringList events = link.log.named("event");
            link.log.take();
            return events.size() == 1 && WorkerProbe::msgNr(link.worker) == number
                   && events.first().startsWith("event(msg Error : Worker : UDP " + operation + " : write failed : ");
        };
        QByteArray tooLarge = settingsDatagram(0x21, 5);
        tooLarge.insert(EthernetSettingsDatagram::ChecksumOffset, QByteArray(70000, '\0'));
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.2"), tooLarge, 0);
        QCOMPARE(link.log.entries.size(), 1);
        QVERIFY(failedOnce("sendSetCmdDatagram"));
        QCOMPARE(WorkerProbe::deviceAddress(link.worker), QHostAddress(QHostAddress::LocalHost));

        WorkerProbe::setDeviceAddress(link.worker, QHostAddress(QHostAddress::LocalHostIPv6));
        link.run();
        QCOMPARE(link.log.entries.size(), 1);
        QVERIFY(failedOnce("sendGetCmdDatagram"));
        QVERIFY(!WorkerProbe::readingSettings(link.worker));

        // A new connection ends the session: the settings that never went out and
        // both runs of failed writes with it; the new search has nothing to drop.
        link.worker.EthernetConnectTriggered(true, QHostAddress::LocalHost, QHostAddress::LocalHostIPv6);
        QCOMPARE(link.log.named("event").filter(" when the link was left"), QStringList{NotSentLeftEvent});
        QCOMPARE(link.log.named("event").filter("link left after 1 failed writes").size(), 2);
        link.log.take();
        link.run(int(Worker::DiscoveryInterval));
        QVERIFY(failedOnce("discovery"));

        // A run of failures is logged at its start and when the link is left.
        link.run(3 * int(Worker::DiscoveryInterval));
        QVERIFY(link.log.named("event").isEmpty());
        link.worker.EthernetConnectTriggered(true, QHostAddress::LocalHost, QHostAddress::LocalHost);
        QCOMPARE(link.log.named("event"), QStringList{"event(msg Info : Worker : UDP discovery : link left after 4 failed writes)"});
        link.log.take();
        link.run(int(Worker::DiscoveryInterval));
        QVERIFY(link.log.named("event").isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(link.device.receivedStartingWith("READ$QUORVX#").size(), 1, Timeout);
    }

    // Sending works again within the session: the run ends with a line of its own.
    void failedWritesWrittenAgain()
    {
        Link link;
        link.device.answering = false;
        link.worker.EthernetConnectTriggered(true, QHostAddress::LocalHost, QHostAddress::LocalHostIPv6);
        link.run(4 * int(Worker::DiscoveryInterval));
        QCOMPARE(link.log.named("event").size(), 1);
        link.log.take();
        WorkerProbe::setDiscoveryTarget(link.worker, QHostAddress(QHostAddress::LocalHost));
        link.run(int(Worker::DiscoveryInterval));
        QCOMPARE(link.log.named("event"), QStringList{"event(msg Info : Worker : UDP discovery : written again after 4 failed writes)"});
    }

    // What a session leaves open ends with it, however the link is left: an
    // Apply not yet confirmed is neither resent nor reported in the next
    // session, and the next session's failing writes are logged anew.
    void sessionEndsWithTheLink_data()
    {
        QTest::addColumn<int>("leave");
        QTest::newRow("disconnect") << 0;
        QTest::newRow("serial port closed") << 1;
        QTest::newRow("new connection") << 2;
        QTest::newRow("serial port opened") << 3;
    }
    void sessionEndsWithTheLink()
    {
        QFETCH(int, leave);
        PtyDevice serialPort;
        Link link;
        QVERIFY(link.bringUp());
        link.device.confirming = false;
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 9), 0);
        QTRY_COMPARE_WITH_TIMEOUT(link.settingsDatagramsReceived(), 1, Timeout);
        WorkerProbe::setDiscoveryTarget(link.worker, QHostAddress(QHostAddress::LocalHostIPv6));
        link.worker.scanVeltoIMUSlot(true); // a search whose broadcasts have no route
        link.device.answering = false;
        link.log.take();
        link.run(int(Worker::DiscoveryInterval));
        QCOMPARE(link.log.named("event").filter("write failed").size(), 1);
        QVERIFY(link.log.take().contains("confirmed(false)")); // the search dropped the Apply
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 10), 0);
        QVERIFY(WorkerProbe::setDatagramPending(link.worker));

        leaveLink(link, leave, serialPort.portName());
        QVERIFY(!WorkerProbe::setDatagramPending(link.worker));
        QCOMPARE(link.log.named("event").filter(" when the link was left"), QStringList{NotSentLeftEvent});
        QCOMPARE(link.log.named("event").filter("UDP discovery : link left after").size(), 1);
        QVERIFY(link.log.named("confirmed").isEmpty());

        link.log.take();
        link.device.clear();
        link.worker.EthernetConnectTriggered(true, QHostAddress::LocalHost, QHostAddress::LocalHostIPv6);
        link.run(3 * int(Worker::DiscoveryInterval));
        QCOMPARE(link.log.named("event").filter("UDP discovery : write failed").size(), 1);
        QVERIFY(link.log.named("confirmed").isEmpty());
        QVERIFY(link.log.named("event").filter("dropped").isEmpty());
        QTest::qWait(50);
        QCOMPARE(link.settingsDatagramsReceived(), 0);
    }

    // Whatever the last session, serial or Ethernet, left armed (a rebind, a
    // wait, a learnt address, an identity), the next connection finds its own
    // unit: until one answers, every run searches, a scan-off request or an
    // Apply sends nothing to the last unit, and nothing says "Connected" again
    // or enables the Apply buttons. Its unit's identity is its own.
    void nextSessionFindsItsOwnUnit_data()
    {
        QTest::addColumn<QString>("left");
        QTest::newRow("a rebind asked for by the answer that ended the search") << "rebind";
        QTest::newRow("within a new local port's wait") << "local port";
        QTest::newRow("within an Apply's wait") << "apply";
        QTest::newRow("a serial session within an address wait") << "serial";
    }
    void nextSessionFindsItsOwnUnit()
    {
        QFETCH(QString, left);
        Link link;
        PtyDevice serialPort;
        if (left == QStringLiteral("rebind")) {
            link.connect();
            link.run();
            QTRY_VERIFY_WITH_TIMEOUT(WorkerProbe::rebindRequest(link.worker), Timeout);
        } else if (left == QStringLiteral("serial")) {
            link.worker.openSerialPort(serialTestSettings(serialPort.portName()));
            serialPort.send("$sip#0.0.0.0\r\n");
            WorkerProbe::setDeviceAddress(link.worker, QHostAddress(QHostAddress::LocalHost));
        } else {
            QVERIFY(link.bringUp());
            link.device.confirming = false;
            if (left == QStringLiteral("apply"))
                link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 9), 0);
            else
                link.worker.resetUdpSocketSlot(freePort());
        }
        QTRY_VERIFY_WITH_TIMEOUT(WorkerProbe::waitTicks(link.worker) > 0 || left == QStringLiteral("rebind"), Timeout);
        link.worker.EthernetConnectTriggered(false, QHostAddress::Any, QHostAddress::Broadcast);

        link.device.answering = false;
        QTRY_VERIFY_WITH_TIMEOUT(!link.device.hasPendingDatagrams(), Timeout);
        link.device.clear();
        link.log.take();
        link.connect();
        const int runs = 2 * int(Worker::DiscoveryInterval);
        link.ticks(runs);
        QCOMPARE(link.log.named("ethernet"),
                 QStringList{"ethernet(Connected)"} + QStringList(runs, QStringLiteral("ethernet(Scaning For IMU)")));
        link.worker.scanVeltoIMUSlot(false); // as an interface Apply asks
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 10), 0);
        link.ticks(3 * runs);
        QTRY_VERIFY_WITH_TIMEOUT(link.device.received().size() >= 4, Timeout);
        for (const UdpDevice::Received &datagram : link.device.received())
            QVERIFY2(datagram.bytes.endsWith("   scan for IMU   "), datagram.bytes.constData());
        QVERIFY(link.log.named("ethernet").filter(QRegularExpression("Connected|Reset")).size() == 1);
        QVERIFY(!link.log.named("buttons").contains(QStringLiteral("buttons(true)")));

        link.device.answering = true;
        link.device.record.partNumberBlock = false;
        link.ticks(int(Worker::DiscoveryInterval));
        QTRY_COMPARE_WITH_TIMEOUT(link.log.named("identity"), QStringList{"identity(/72023142/7/20231/42/1.2.3,1)"}, Timeout);
    }

    // Answers faster than a unit answers, whatever they hold, are left out
    // whole beyond the allowance: no line of their own in the event log or the
    // console, no report to the window. Each run of them is named when it
    // starts and counted when an answer is handled again or the link is left;
    // a trailer reaches the event log as a bounded excerpt.
    void answersBeyondAUnitsPace_data()
    {
        QTest::addColumn<QByteArray>("answer");
        DeviceRecord record;
        QTest::newRow("valid") << record.toAnswer();
        QTest::newRow("short") << record.toAnswer().left(40);
        record.trailer = QByteArray(300, 'x');
        QTest::newRow("long trailer") << record.toAnswer();
    }
    void answersBeyondAUnitsPace()
    {
        QFETCH(QByteArray, answer);
        Link link;
        QVERIFY(link.bringUp());
        link.device.answering = false;
        const int flood = Worker::SettingsAnswerAllowance + 10;
        const auto floodWorker = [&] {
            for (int i = 0; i < flood; ++i)
                link.sendToWorker(answer);
            return QTest::qWaitFor([&] { return !WorkerProbe::udpSocket(link.worker)->hasPendingDatagrams(); });
        };
        const auto handled = [&] {
            return link.log.named("event").filter("processUdpCmdDatagrams : ").size()
                   - link.log.named("event").filter("left out").size();
        };
        QVERIFY(floodWorker());
        const int first = handled();
        // The bring-up's answer took one of the allowance, and the flood may take a refill's time.
        QVERIFY2(first > 0 && first <= Worker::SettingsAnswerAllowance + 1, qPrintable(QString::number(first)));
        QCOMPARE(link.log.named("console").size(), first);
        for (const QString &line : link.log.named("event"))
            QVERIFY2(line.size() < 200, qPrintable(line));
        QCOMPARE(link.log.named("event").filter("left out"),
                 QStringList{"event(msg Error : Worker : processUdpCmdDatagrams : answers faster than an IMU answers left out)"});

        QTest::qWait(2 * int(Worker::SettingsAnswerInterval.count()));
        link.log.take();
        link.sendToWorker(answer);
        QTRY_COMPARE_WITH_TIMEOUT(handled(), 1, Timeout);
        QCOMPARE(link.log.named("event").first(),
                 QStringLiteral("event(msg Info : Worker : processUdpCmdDatagrams : answers handled again after %1 left out)")
                     .arg(flood - first));

        QVERIFY(floodWorker());
        const int second = handled() - 1;
        link.worker.EthernetConnectTriggered(false, QHostAddress::Any, QHostAddress::Broadcast);
        QCOMPARE(link.log.named("event").filter("link left"),
                 QStringList{QStringLiteral("event(msg Info : Worker : processUdpCmdDatagrams : link left after %1 answers left out)")
                                 .arg(flood - second)});
    }

    // A round of the socket's readyRead reads a bounded number of datagrams,
    // so that a flood cannot keep the worker from its queued requests; the
    // next round reads on.
    void roundsOfReadsBounded()
    {
        LinkWith<FailingReadWorker> link;
        link.device.answering = false;
        link.connect();
        const int sent = 3 * Worker::DatagramsPerRound / 2;
        for (int i = 0; i < sent; ++i)
            link.sendToWorker(outputDatagram({float(i)}));
        link.log.take();
        link.worker.processUdpSocketIP4PendingDatagrams();
        QCOMPARE(link.worker.reads, Worker::DatagramsPerRound);
        QTRY_COMPARE_WITH_TIMEOUT(link.log.named("console").size(), sent, Timeout);
    }

    // A datagram refused while the worker searches is dropped by the search as
    // never sent, not as unconfirmed by the unit.
    void refusedWhileSearchingNotSent()
    {
        Link link;
        link.device.answering = false;
        link.connect();
        link.worker.sendUdpCmdDatagram(QStringLiteral("127.0.0.1"), settingsDatagram(0x21, 9), 0);
        QVERIFY(link.log.named("event").first().startsWith("event(msg Error : Worker : UDP sendSetCmdDatagram : $QUORVX#"));
        link.log.take();
        link.run();
        QCOMPARE(link.log.named("event").filter("settings dropped"), QStringList{NotSentEvent});
        QCOMPARE(link.log.named("confirmed"), QStringList{"confirmed(false)"});
    }

    // A failed read ends its round, whether or not it took its datagram off the
    // socket; the socket's next readyRead reads what is still pending.
    void failedReadEndsTheRound_data()
    {
        QTest::addColumn<bool>("takesDatagram");
        QTest::addColumn<QStringList>("rolls");
        QTest::newRow("datagram taken") << true << QStringList{"+01.00", "+03.00"};
        QTest::newRow("nothing taken") << false << QStringList{"+01.00", "+02.00", "+03.00"};
    }
    void failedReadEndsTheRound()
    {
        QFETCH(bool, takesDatagram);
        QFETCH(QStringList, rolls);
        LinkWith<FailingReadWorker> link;
        link.device.answering = false;
        link.connect();
        link.worker.failingReads = {1};
        link.worker.takesDatagram = takesDatagram;
        for (const float roll : {1.0f, 2.0f, 3.0f})
            link.sendToWorker(outputDatagram({roll}));
        QTRY_VERIFY_WITH_TIMEOUT(WorkerProbe::udpSocket(link.worker)->hasPendingDatagrams(), Timeout);
        link.log.take();
        link.worker.processUdpSocketIP4PendingDatagrams();
        QCOMPARE(link.worker.reads, 2);
        QCOMPARE(link.log.named("console").size(), 1);

        QTRY_COMPARE_WITH_TIMEOUT(link.log.named("console").size(), rolls.size(), Timeout);
        QStringList shown;
        for (const QString &line : link.log.named("console"))
            shown << line.mid(QStringLiteral("console(").size(), rolls.first().size());
        QCOMPARE(shown, rolls);
    }
};

QTEST_GUILESS_MAIN(TestUdpLink)
#include "tst_udplink.moc"
