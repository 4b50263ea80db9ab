#include "OutputDecoder.h"
#include "PtyDevice.h"
#include "SerialTestSettings.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

#include <functional>

#include <sys/ioctl.h>

namespace {

const QByteArray WriteLog("msg Info : Worker : serial->write : ");
const QByteArray Probe("$getsrn#");
constexpr int Rates = int(BaudRateTable.size());

// A worker, its tick driven by hand, and two device doubles on pseudo-terminals.
// settle() lets the serial traffic settle: every line the worker wrote has reached
// a double, and every line a double sent has reached the worker.
class Link
{
public:
    Link()
        : written(&worker, &Worker::signalErrorLoggerWrite)
        , buttons(&worker, &Worker::enableAllButtons)
        , status(&worker, &Worker::showStatusMessage)
        , progress(&worker, &Worker::setProgressBar)
        , done(&worker, &Worker::signalAutoDetectSerialPortDone)
        , box(&worker, &Worker::showMessageBox)
    {
        WorkerProbe::stopTimer(worker);
        QObject::connect(&worker, &Worker::m_consoleDisplayData, [this] { ++m_shown; });
        QObject::connect(&worker, &Worker::signalErrorLoggerWrite,
                         [this](const QByteArray &line) { m_writes += line.startsWith(WriteLog) ? 1 : 0; });
    }

    // Opens the first double's port at 115200 8N1.
    void open()
    {
        worker.openSerialPort(serialTestSettings(device.portName()));
        buttons.clear();
        status.clear();
    }

    // Runs one tick and returns the line it wrote to the port, or an empty text.
    QByteArray tick()
    {
        const qsizetype before = written.size();
        worker.tick();
        for (qsizetype i = before; i < written.size(); ++i) {
            const QByteArray line = written.at(i).at(0).toByteArray();
            if (line.startsWith(WriteLog))
                return line.mid(WriteLog.size());
        }
        return {};
    }

    // Sends a line to the worker, counted so that settle() waits for it.
    void send(PtyDevice &from, const QByteArray &line)
    {
        ++m_sent;
        from.send(line);
    }

    bool settle()
    {
        return QTest::qWaitFor([this] {
            return device.receivedLines().size() + other.receivedLines().size() == m_writes && m_shown == m_sent;
        }, 5000);
    }

    // Ticks until auto-detection has finished.
    bool detect()
    {
        for (int i = 0; i < 2000 && WorkerProbe::autoDetectRunning(worker); ++i) {
            tick();
            if (!settle())
                return false;
        }
        return !WorkerProbe::autoDetectRunning(worker);
    }

    // The ports auto-detection found, as "name@rate"; it reports once.
    QStringList found() const
    {
        QStringList ports;
        const QList<QVariant> report = done.value(0, {QVariant(), QVariant()});
        const auto names = report.at(0).value<QList<QString>>();
        for (qsizetype i = 0; i < names.size(); ++i)
            ports << names.at(i) + "@" + QString::number(report.at(1).value<QList<int>>().at(i));
        return ports;
    }

    PtyDevice device;
    PtyDevice other;
    Worker worker;
    QSignalSpy written;
    QSignalSpy buttons;
    QSignalSpy status;
    QSignalSpy progress;
    QSignalSpy done;
    QSignalSpy box;

private:
    qsizetype m_writes = 0;
    int m_sent = 0;
    int m_shown = 0;
};

// What the worker records for a double found at a rate: its port name less "/dev/".
QString foundAt(const PtyDevice &device, int rate)
{
    return device.portName().mid(QStringLiteral("/dev/").size()) + "@" + QString::number(rate);
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}


// Runs the event loop until done() holds, without the fixed sleeps of
// QTest::qWaitFor: a stream of short round trips stays fast.
bool waitFor(const std::function<bool()> &done, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    QTimer wake; // the loop never sleeps for good
    wake.start(10);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A unit's answer to a read-out query, its slot 0 set to protocol.
QByteArray answerTo(const QByteArray &query, uint32_t protocol)
{
    static const QHash<QByteArray, QByteArray> payloads{
        {"srn", "VRNAB1234565678"}, {"prn", "VRN12345"}, {"frq", "200"}, {"fwv", "V6.01.0215"},
        {"bd1", "115200"}, {"bd2", "9600"}, {"bd3", "4800"}, {"gps", "RS232"}, {"flg", "0.0.0.33"},
        {"rof", "1.5"}, {"pof", "-0.25"}, {"yof", "2.5"}, {"srp", "8088"}, {"dsp", "8080"},
        {"sip", "10.0.0.5"}, {"dip", "10.0.0.1"}};
    QByteArray payload = payloads.value(query.mid(4, 3));
    if (query == "$getprt#") {
        QByteArrayList format;
        for (int shift = 24; shift >= 0; shift -= 8)
            format << QByteArray::number((protocol >> shift) & 0xFF);
        payload = format.join('.') + ":0";
    } else if (query.startsWith("$getprt#")) {
        payload = "0.0.0.0:" + query.right(1);
    }
    return "$" + query.mid(4, 3) + "#" + payload + "\r\n";
}

// An EulerB frame: the sync, roll, pitch and yaw as big-endian floats, one more byte.
QByteArray eulerFrame(float roll, float pitch, float yaw)
{
    QByteArray frame = QByteArray::fromHex("FAFF320C");
    for (float value : {roll, pitch, yaw}) {
        char bytes[4];
        qToBigEndian(value, bytes);
        frame.append(bytes, 4);
    }
    return frame + QByteArray(1, '\0');
}

// Plays a unit that streams one sample again and again: a sample goes ahead of
// every answer to a read-out query, on the same line where it is a frame.
class SampleUnit
{
public:
    SampleUnit(PtyDevice &device, uint32_t protocol, const QByteArray &sample)
    {
        QObject::connect(&device, &PtyDevice::lineReceived, &m_context, [&device, protocol, sample](const QByteArray &query) {
            device.send(sample + answerTo(query, protocol));
        });
    }

private:
    QObject m_context; // ends the answers with the unit
};

// Plays a unit that streams binary frames, ten per tick as a 200 Hz stream
// does against the 50 ms tick, and answers every read-out query at once,
// between two frames. Half of the frames carry a CR LF, half a false sync,
// at random places among their data bytes.
class StreamingUnit
{
public:
    StreamingUnit(PtyDevice &device, uint32_t protocol)
        : m_device(device)
        , m_sync(SerialFraming::frameSync(SerialFraming::frameKindFor(protocol)).toByteArray())
        , m_frameSize(SerialFraming::frameSize(SerialFraming::frameKindFor(protocol)))
        , m_protocol(protocol)
        , m_random(protocol)
    {
        QObject::connect(&device, &PtyDevice::lineReceived, [this](const QByteArray &query) {
            send(answerTo(query, m_protocol));
            m_framesLeft = m_random.bounded(FramesPerTick + 1);
            sendFrames(m_framesLeft);
        });
    }

    static constexpr int FramesPerTick = 10;

    // The frames of this tick that did not follow the last answer.
    void streamBeforeQuery() { sendFrames(FramesPerTick - m_framesLeft); }

    qint64 bytesSent() const { return m_sent.size(); }
    QByteArray sent() const { return m_sent; }

private:
    QByteArray frame()
    {
        QByteArray data(m_frameSize - m_sync.size(), Qt::Uninitialized);
        for (char &byte : data)
            byte = char(m_random.bounded(256));
        if (m_random.bounded(2))
            data.replace(m_random.bounded(int(data.size()) - m_sync.size() + 1), m_sync.size(), m_sync);
        if (m_random.bounded(2))
            data.replace(m_random.bounded(int(data.size()) - 1), 2, "\r\n");
        return m_sync + data;
    }

    void sendFrames(int count)
    {
        QByteArray frames;
        for (int i = 0; i < count; ++i)
            frames += frame();
        send(frames);
    }

    void send(const QByteArray &bytes)
    {
        m_device.send(bytes);
        m_sent += bytes;
    }

    PtyDevice &m_device;
    const QByteArray m_sync;
    const qsizetype m_frameSize;
    const uint32_t m_protocol;
    QRandomGenerator m_random;
    int m_framesLeft = 0;
    QByteArray m_sent;
};

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private:
    // Runs a read-out against a unit that answers every query, then has the
    // unit send sample once the tick allows a display report; true when the
    // read-out ended and the sample was reported.
    static bool readOutAndSample(Link &link, PtyDevice &unit, const QByteArray &sample)
    {
        const QByteArray answerLog("msg Info : Worker : readSerialData : cmdProcessor : ");
        const auto answers = [&link, &answerLog] {
            return std::count_if(link.written.cbegin(), link.written.cend(), [&answerLog](const QList<QVariant> &line) {
                return line.at(0).toByteArray().startsWith(answerLog);
            });
        };
        QSignalSpy done(&link.worker, &Worker::signalClearAllSetFalgs);
        QSignalSpy samples(&link.worker, &Worker::signalDispalyOutputData);
        const qsizetype before = answers();
        for (qsizetype row = 1; row <= GetCommands().size(); ++row) {
            link.tick();
            if (!waitFor([&] { return answers() == before + row; }))
                return false;
        }
        if (done.size() != 1)
            return false;
        link.tick();
        samples.clear();
        unit.send(sample);
        return waitFor([&samples] { return !samples.isEmpty(); });
    }

private slots:
    void initTestCase()
    {
        registerDeviceMetaTypes();
        QLoggingCategory::setFilterRules(QStringLiteral("orvanta.engine.debug=false")); // frame bytes quoting heads are traced
        QVERIFY(m_dir.isValid());
    }

    // One query per tick, in order; the read-out ends after a sweep only once the
    // part number and the serial id are known, and starts over otherwise.
    void readout()
    {
        Link link;
        link.open();
        const QStringList partNrs{"VRN12345", "", "VRN12345"}, serialIds{"", "5678", "5678"};
        for (int sweep = 0; sweep < 3; ++sweep) {
            WorkerProbe::identity(link.worker).partNr = partNrs.at(sweep);
            WorkerProbe::identity(link.worker).serialId = serialIds.at(sweep);
            QByteArrayList sent;
            for (int i = 0; i < 19; ++i)
                sent << link.tick();
            QCOMPARE(sent, GetCommands());
            QCOMPARE(link.buttons.size(), sweep == 2 ? 1 : 0);
        }
        QCOMPARE(link.tick(), QByteArray());
        QTRY_COMPARE(link.device.receivedLines().size(), 3 * 19);
    }

    void setStep_data()
    {
        QTest::addColumn<uint>("mask");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("values");
        QTest::addColumn<QByteArrayList>("lines"); // per tick; empty when the tick sends nothing
        QTest::addColumn<int>("haltedTicks"); // run first, with the console halted
        const auto row = [](const char *name, uint mask, int tab, const char *values, const QByteArrayList &lines,
                            int haltedTicks = 0) {
            QTest::newRow(name) << mask << tab << QString::fromLatin1(values) << lines << haltedTicks;
        };
        row("frequency, protocol, address", 0x43, 1, "0;0;0;0;200",
            {"$setfrq#200", "$setprt#0.0.0.9:0", "$setsip#10.0.0.5"});
        row("interface group in order", 0x3C0F0, 0, "115200", {"$setbd1#115200", "$setbd2#9600", "$setbd3#4800",
            "$setgps#RS232", "$setsip#10.0.0.5", "$setdip#10.0.0.1", "$setsrp#0", "$setdsp#8081"});
        row("unknown baud rate not sent", 0xC000, 0, "unknown;9600", {"", "$setbd2#9600"});
        row("output settings", 0xF01, 1, "16909060;1,5;-0,25;2.5;50",
            {"$setfrq#50", "$setflg#1.2.3.4", "$setrof#1.5", "$setpof#-0.25", "$setyof#2.5"});
        row("compass", 0x3C0000, 3, "1.5;0.1;0.2;0.3", {"$setnor#1.5", "$setmxb#0.1", "$setmyb#0.2", "$setmzb#0.3"});
        row("header before protocol", 0x1002, 2, "", {"$sethdr#HDR", "$setprt#0.0.0.9:0"});
        row("serial number never sent", 0x5, 1, "0;0;0;0;10", {"$setfrq#10", ""});
        row("bits without a setting", 0x2008, 2, "", {""});
        // Nothing may be written while the console is halted: settings wait for it to run again.
        row("halted console keeps settings pending", 0x4001, 0, "9600", {"$setfrq#", "$setbd1#9600"}, 5);
    }

    // One pending setting per tick, in sending order, with its exact line text.
    void setStep()
    {
        QFETCH(uint, mask);
        QFETCH(int, tab);
        QFETCH(QString, values);
        QFETCH(QByteArrayList, lines);
        QFETCH(int, haltedTicks);
        Link link;
        link.open();
        WorkerProbe::setReadingSettings(link.worker, false);
        WorkerProbe::protocol(link.worker, 0).header = QStringLiteral("HDR");
        link.worker.getProtocolFormat({0, 0, 0, 9}, QString(), 0);
        link.worker.getIMUsettingsFlag(0, 0, "115200;9600;4800;RS232;0;10.0.0.5;10.0.0.1;70000;8081");
        link.worker.getIMUsettingsFlag(int(mask), tab, values);
        link.worker.consoleHalt(true);
        for (int i = 0; i < haltedTicks; ++i)
            QCOMPARE(link.tick(), QByteArray());
        link.worker.consoleHalt(false);
        QByteArrayList sent;
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(link.buttons.size(), 0);
            sent << link.tick();
        }
        QCOMPARE(sent, lines);
        QCOMPARE(link.buttons.size(), 1); // done, right after the last one
        sent.removeAll(QByteArray());
        QTRY_COMPARE(link.device.receivedLines(), sent);
    }

    // Lines of the old protocol that arrive between a custom request and its
    // "$set" lines never become the header; a protocol answer leaves the capture armed.
    void customRequestEndsTheHeaderCapture()
    {
        Link link;
        link.open();
        WorkerProbe::setReadingSettings(link.worker, false);
        WorkerProbe::setProtocolValue(link.worker, 6); // TOG
        link.send(link.device, "$prt#0.0.0.6:0\r\n");
        QVERIFY(link.settle());
        QVERIFY(WorkerProbe::headerCapturePending(link.worker));

        QSignalSpy headers(&link.worker, &Worker::signalProtocolHeaderSetText);
        link.worker.getProtocolFormat({0xC0, 0, 0, 0}, QStringLiteral("WH"), 0);
        link.worker.getIMUsettingsFlag(0x1002, 2, QStringLiteral("WH;192;0;0;0;0"));
        link.send(link.device, "HD+123.4,PI+05.6,RO-07.8\r\n");
        QVERIFY(link.settle());
        QCOMPARE(link.tick(), QByteArray("$sethdr#WH"));
        QCOMPARE(link.tick(), QByteArray("$setprt#192.0.0.0:0"));
        QCOMPARE(headers.count(), 0);
    }

    void protocolRequestOutlivesAReadout_data()
    {
        QTest::addColumn<bool>("afterSilence");
        QTest::newRow("read settings before the header line") << false;
        QTest::newRow("answer after a silence, between the lines") << true;
    }

    // A read-out that starts while a custom request waits takes the unit's
    // protocol answers into the slots (slot 0 custom without its header, the
    // last answer for slot 2); the request's two lines still go out as asked.
    void protocolRequestOutlivesAReadout()
    {
        QFETCH(bool, afterSilence);
        constexpr int SilentTicks = 101; // more than 100 serial ticks without input
        const QHash<QByteArray, QByteArray> answers{{"$getprt#", "$prt#192.128.0.0:0\r\n"},
                                                    {"$getprt#1", "$prt#0.0.0.1:1\r\n"},
                                                    {"$getprt#2", "$prt#0.0.0.1:2\r\n"}};
        Link link;
        link.open();
        WorkerProbe::setReadingSettings(link.worker, false);
        WorkerProbe::identity(link.worker).partNr = QStringLiteral("VRN12345");
        WorkerProbe::identity(link.worker).serialId = QStringLiteral("0042");
        for (int i = 0; afterSilence && i < SilentTicks; ++i)
            QCOMPARE(link.tick(), QByteArray());

        link.worker.getProtocolFormat({0xE2, 0, 0, 0}, QStringLiteral("WH"), 0);
        link.worker.getIMUsettingsFlag(0x1002, 2, QStringLiteral("WH;226;0;0;0;0"));
        QByteArrayList sent;
        if (afterSilence) {
            sent << link.tick();
            link.send(link.device, "$hdr#WH\r\n"); // ends the silence
            QVERIFY(link.settle());
        } else {
            link.worker.readUserSettings();
        }
        QVERIFY(WorkerProbe::readingSettings(link.worker));
        for (const QByteArray &query : GetCommands()) {
            QCOMPARE(link.tick(), query);
            if (answers.contains(query)) {
                link.send(link.device, answers.value(query));
                QVERIFY(link.settle());
            }
        }
        QCOMPARE(WorkerProbe::protocol(link.worker, 0).value, 0xC0800000u);
        QCOMPARE(WorkerProbe::protocol(link.worker, 0).header, QString());
        QCOMPARE(WorkerProbe::protocolId(link.worker), 2);
        while (sent.size() < 2)
            sent << link.tick();
        QCOMPARE(sent, (QByteArrayList{"$sethdr#WH", "$setprt#226.0.0.0:0"}));
        QCOMPARE(link.tick(), QByteArray());
    }

    // The device's line hangs up (a read error): the port is closed once, with
    // "Disconnected", closing the dead port starts no further close, and the
    // link is reported lost (a close asked for is not).
    void hangUpClosesTheLink()
    {
        Link link;
        QSignalSpy lost(&link.worker, &Worker::signalSerialPortLost);
        link.open();
        link.worker.closeSerialPort();
        link.open();
        QSignalSpy errors(WorkerProbe::serialPort(link.worker), &QSerialPort::errorOccurred);
        link.device.hangUp();
        QTRY_COMPARE(link.status.size(), 1);
        QCOMPARE(link.status.at(0).at(0).toString(), QStringLiteral("Disconnected"));
        QCOMPARE(errors.size(), 1);
        QVERIFY(!WorkerProbe::serialPort(link.worker)->isOpen());
        QCOMPARE(lost.size(), 1);
    }

    void closingDropsUnsentSettings_data()
    {
        QTest::addColumn<bool>("hangUp");
        QTest::addColumn<bool>("appliedAfterLoss"); // the settings reach the worker once the port is gone
        QTest::addColumn<QByteArray>("named");
        const QByteArray atClose("msg Error : Worker : SendIMUsetCommands : $setbd1#, $setbd2# "
                                 "not sent to the IMU when the port was closed, settings dropped");
        QTest::newRow("line hung up, another port opened") << true << false << atClose;
        QTest::newRow("port opened again while open") << false << false << atClose;
        QTest::newRow("line hung up, then settings applied") << true << true
            << QByteArray("msg Error : Worker : SendIMUsetCommands : $setfrq#, $setbd1#, $setbd2# "
                          "not sent to the IMU with no port open, settings dropped");
    }

    // Settings a session has not written end with its port, and settings that
    // arrive after it (the window had not yet seen the loss) are not kept (the
    // window's ways of leaving the link have their own test): the event log
    // names them once, and the next session sends no "$set" line nobody applied in it.
    void closingDropsUnsentSettings()
    {
        QFETCH(bool, hangUp);
        QFETCH(bool, appliedAfterLoss);
        QFETCH(QByteArray, named);
        Link link;
        // Each session's unit has told its identity, so that its read-out ends after one sweep.
        const auto identified = [&link] {
            WorkerProbe::identity(link.worker).partNr = QStringLiteral("VRN12345");
            WorkerProbe::identity(link.worker).serialId = QStringLiteral("0042");
        };
        link.open();
        WorkerProbe::setReadingSettings(link.worker, false);
        identified();
        const auto apply = [&link] { link.worker.getIMUsettingsFlag(0xC001, 0, QStringLiteral("57600;19200")); };
        if (!appliedAfterLoss) {
            apply();
            QCOMPARE(link.tick(), QByteArray("$setfrq#"));
        }
        if (hangUp) {
            link.device.hangUp();
            QTRY_VERIFY(!WorkerProbe::serialPort(link.worker)->isOpen());
        }
        if (appliedAfterLoss)
            apply();
        link.worker.openSerialPort(serialTestSettings((hangUp ? link.other : link.device).portName()));
        QVERIFY(WorkerProbe::serialPort(link.worker)->isOpen());
        identified();
        qsizetype namedLines = 0;
        for (const QList<QVariant> &line : std::as_const(link.written))
            namedLines += line.at(0).toByteArray().startsWith("msg Error : Worker : SendIMUsetCommands : ") ? 1 : 0;
        QCOMPARE(namedLines, 1);
        QVERIFY(std::any_of(link.written.cbegin(), link.written.cend(),
                            [&named](const QList<QVariant> &line) { return line.at(0).toByteArray() == named; }));

        for (const QByteArray &query : GetCommands())
            QCOMPARE(link.tick(), query);
        QCOMPARE(link.tick(), QByteArray());
    }

    void nextSessionStartsFromNothing_data()
    {
        QTest::addColumn<uint>("lastProtocol");
        QTest::addColumn<QByteArray>("lastSample");
        QTest::addColumn<uint>("protocol");
        QTest::addColumn<QByteArray>("sample");
        const QByteArray tss1(":00A2B4 -0150U 0250 -0375\r\n");
        const QByteArray eulerB = eulerFrame(3.25f, -4.5f, 45.5f);
        QTest::newRow("TOG, then TSS1") << uint(ProtocolValue::TOG) << QByteArray("HD123.4 PI+05.6 RO-07.8\r\n")
                                        << uint(ProtocolValue::TSS1) << tss1;
        QTest::newRow("TSS1, then EulerB") << uint(ProtocolValue::TSS1) << tss1 << uint(ProtocolValue::EulerB) << eulerB;
        QTest::newRow("custom, then EulerB") << 0xC0800000u << QByteArray("HDR+02.75,-03.50,+0.125\r\n")
                                             << uint(ProtocolValue::EulerB) << eulerB;
    }

    // A streaming unit is unplugged and another one connected: the new
    // session's read-out finds the unit's protocol, also from answers behind
    // frame bytes, and its samples hold what a program just started decodes
    // from them, nothing of the last unit.
    void nextSessionStartsFromNothing()
    {
        QFETCH(uint, lastProtocol);
        QFETCH(QByteArray, lastSample);
        QFETCH(uint, protocol);
        QFETCH(QByteArray, sample);
        Link link;
        QSignalSpy samples(&link.worker, &Worker::signalDispalyOutputData);
        {
            const SampleUnit last(link.device, lastProtocol, lastSample);
            link.open();
            QVERIFY(readOutAndSample(link, link.device, lastSample));
            QCOMPARE(samples.last().at(1).value<OutputProtocolType>().value, lastProtocol);
            link.device.hangUp();
            QTRY_VERIFY(!WorkerProbe::serialPort(link.worker)->isOpen());
        }
        const SampleUnit next(link.other, protocol, sample);
        link.worker.openSerialPort(serialTestSettings(link.other.portName()));
        QVERIFY(readOutAndSample(link, link.other, sample));

        OutputDataType expected;
        uint32_t mask = 0;
        OutputDecoder::decodePredefined(protocol, sample, expected, mask);
        QCOMPARE(samples.last().at(1).value<OutputProtocolType>().value, protocol);
        QCOMPARE(samples.last().at(0).value<OutputDataType>().field, expected.field);
    }

    // A null device address is asked for once more after a wait, and given up
    // at the second in a row; an address ends the row. The row and the wait
    // belong to the unit: the next session's first query goes out at once, and
    // its unit's first null address is asked for again.
    void nullAddressesOfOneUnit()
    {
        Link link;
        QSignalSpy addresses(&link.worker, &Worker::m_uiLineEditIMUIP4SetText);
        const auto answer = [&link](PtyDevice &unit, const QByteArray &address) {
            link.send(unit, "$sip#" + address + "\r\n");
            return link.settle();
        };
        link.open();
        QVERIFY(answer(link.device, "0.0.0.0"));
        QVERIFY(answer(link.device, "192.168.1.77"));
        QVERIFY(answer(link.device, "0.0.0.0"));
        QCOMPARE(addresses.size(), 1); // the second null answer is the first of a new row
        QVERIFY(WorkerProbe::waitTicks(link.worker) > 0);

        link.worker.openSerialPort(serialTestSettings(link.other.portName()));
        QCOMPARE(link.tick(), GetCommands().first());
        QVERIFY(answer(link.other, "0.0.0.0"));
        QCOMPARE(addresses.size(), 1);
        QCOMPARE(WorkerProbe::settingsIterator(link.worker), int(GetCommands().indexOf("$getsip#")));
        QVERIFY(answer(link.other, "0.0.0.0"));
        QCOMPARE(addresses.last().at(0).value<QList<QByteArray>>(), (QList<QByteArray>{"0", "0", "0", "0"}));
    }

    // A port that cannot be opened leaves no link, and the worker says so
    // before its box and its "Open error" status.
    void openFailureLeavesNoLink()
    {
        Link link;
        QStringList reports;
        QObject::connect(&link.worker, &Worker::signalSerialPortLost, [&reports] { reports << "lost"; });
        QObject::connect(&link.worker, &Worker::showMessageBox, [&reports](const QString &title) { reports << title; });
        QObject::connect(&link.worker, &Worker::showStatusMessage, [&reports](const QString &text) { reports << text; });
        link.worker.openSerialPort(serialTestSettings(QStringLiteral("/dev/no-such-port")));
        QCOMPARE(reports.count("lost"), 1);
        QCOMPARE(reports.mid(reports.indexOf("lost") - 1), (QStringList{"Disconnected", "lost", "Error Message", "Open error"}));
        QCOMPARE(WorkerProbe::interfaceMode(link.worker), uint32_t(Worker::NoLink));
    }

    // A new start while logging closes the old file and truncates the new one.
    void restartLoggingWithAnotherFile()
    {
        const QString pathA = m_dir.filePath(QStringLiteral("A")), pathB = m_dir.filePath(QStringLiteral("B"));
        QFile older(pathB);
        QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5 && older.flush());
        Link link;
        link.open();
        link.worker.startDataLogging(true, pathA);
        WorkerProbe::receive(link.worker, "1");
        link.worker.startDataLogging(true, pathB);
        WorkerProbe::receive(link.worker, "2");
        QCOMPARE(fileContent(pathA), QByteArray("1"));
        QCOMPARE(fileContent(pathB), QByteArray("2"));
        QVERIFY(WorkerProbe::logging(link.worker));
    }

    void loggingFailureStopsLogging_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << "/dev/full" << true << "No space left on device";
        QTest::newRow("missing folder") << "no such folder/run.dat" << false << "No such file or directory";
    }

    // A file that cannot be opened, or a write that fails, ends logging with the file name and the
    // reason, then the off state; a failed write also closes the file and writes an event-log line.
    void loggingFailureStopsLogging()
    {
        QFETCH(QString, path);
        QFETCH(bool, opens);
        QFETCH(QString, reason);
        if (!path.startsWith('/'))
            path = m_dir.filePath(path);
        Link link;
        link.open();
        QList<QString> reports;
        QObject::connect(&link.worker, &Worker::signalDataLogFailed, [&](const QString &file, const QString &why) {
            reports << file << why;
        });
        QObject::connect(&link.worker, &Worker::signalStartDataCapturing, [&](bool on) {
            reports << (on ? "on" : "off");
        });
        link.worker.startDataLogging(true, path);
        link.device.send("bytes to record\r\n");
        QTRY_COMPARE(reports.size(), opens ? 4 : 3);
        const QList<QString> failure{path, reason, "off"};
        QCOMPARE(reports, opens ? QList<QString>{"on"} + failure : failure);
        QVERIFY(!WorkerProbe::logging(link.worker));
        QVERIFY(!WorkerProbe::logFile(link.worker).isOpen());
        const QByteArray line = "msg Error : Worker : writeDataLog : " + path.toLatin1() + " : " + reason.toLatin1();
        const bool logged = std::any_of(link.written.cbegin(), link.written.cend(),
                                        [&](const QList<QVariant> &args) { return args.at(0).toByteArray() == line; });
        QCOMPARE(logged, opens);
        link.device.send("more bytes\r\n");
        QTest::qWait(50);
        QCOMPARE(reports.size(), opens ? 4 : 3); // nothing further is tried
    }

    void streamLoggedWithoutLosingTheTail_data()
    {
        QTest::addColumn<QString>("end");
        QTest::newRow("stop logging") << "stop logging";
        QTest::newRow("close the port") << "close port";
        QTest::newRow("stop the worker") << "stop worker";
    }

    // A device double streams frames, answers, data lines and noise; the file ends up
    // holding exactly what it sent, also when the port is closed or the worker
    // stopped while the last bytes still wait in the port's queue.
    void streamLoggedWithoutLosingTheTail()
    {
        QFETCH(QString, end);
        const QString path = m_dir.filePath(QStringLiteral("stream.dat"));
        Link link;
        link.open();
        WorkerProbe::setReadingSettings(link.worker, false);
        WorkerProbe::setProtocolValue(link.worker, ProtocolValue::EulerB);
        QSignalSpy frames(&link.worker, &Worker::m_consoleInsertPlainText);
        link.worker.startDataLogging(true, path);
        const auto eulerFrame = [](char seed) { return QByteArray::fromHex("FAFF320C") + QByteArray(13, seed); };
        const QByteArray stream = eulerFrame(1) + "$frq#100\r\n" + eulerFrame(2) + "gyro error\r\n\x01\x02noise\xFF"
                                  + eulerFrame(3) + "$PRDID,+01.50,-02.50,123.4*4F\r\n";
        link.device.send(stream);
        QTRY_COMPARE(fileContent(path), stream);
        QCOMPARE(frames.size(), 3);

        const QByteArray tail = eulerFrame(4) + "$frq#50\r\ndata,1,2\r\npartial";
        link.device.send(tail);
        if (end == QStringLiteral("stop logging")) {
            QTRY_COMPARE(fileContent(path), stream + tail);
            link.worker.startDataLogging(false, QString());
            link.device.send("after the stop\r\n");
            QTRY_VERIFY(WorkerProbe::rxBuffer(link.worker).isEmpty());
        } else {
            // Wait, without running the event loop, until the tail waits unread in the port's queue.
            int pending = 0;
            for (QDeadlineTimer deadline(5000); !deadline.hasExpired() && pending < tail.size(); QThread::msleep(1))
                ::ioctl(WorkerProbe::serialPort(link.worker)->handle(), FIONREAD, &pending);
            QCOMPARE(pending, int(tail.size()));
            if (end == QStringLiteral("close port"))
                link.worker.closeSerialPort();
            else
                link.worker.stopWorker();
        }
        QCOMPARE(fileContent(path), stream + tail);
        QCOMPARE(frames.size(), 4); // the last bytes went through the receive path as well
    }

    void readoutsUnderFrameStream_data()
    {
        QTest::addColumn<uint>("protocol");
        QTest::newRow("EulerB") << uint(ProtocolValue::EulerB);
        QTest::newRow("EM3000") << uint(ProtocolValue::EM3000);
    }

    // A hundred read-outs one after the other while the unit streams: every
    // answer reaches its signal, the last one of each read-out included, which
    // arrives once frames are cut again, behind whatever the read-out left of
    // a frame. The frames before a query are sometimes taken in before the
    // tick, sometimes together with the answer.
    void readoutsUnderFrameStream()
    {
        QFETCH(uint, protocol);
        const QString path = m_dir.filePath(QStringLiteral("stream-%1.dat").arg(protocol));
        Link link;
        StreamingUnit unit(link.device, protocol);
        QStringList answers;
        const auto count = [&](auto signal, const char *name) {
            QObject::connect(&link.worker, signal, [&answers, name] { answers << QString::fromLatin1(name); });
        };
        count(&Worker::signalEnableSpecialHardwareFeature, "identity");
        count(&Worker::m_uiIMUfreqBoxSetIndex, "frequency");
        count(&Worker::m_uiBaudRateBoxSetIndex, "baud");
        count(&Worker::radioButtonGPS, "gps");
        count(&Worker::signalProcessProtocolParameters, "protocol");
        count(&Worker::signalProcessIMUFlags, "flags");
        count(&Worker::m_uiDoubleSpinBoxOffsetSetValue, "offset");
        count(&Worker::m_uiLineEditIMUUdpPortSetText, "udp");
        count(&Worker::m_uiLineEditLocalUdpPortSetText, "local");
        count(&Worker::m_uiLineEditIMUIP4SetText, "ip");
        count(&Worker::m_uiLineEditDstIP4SetText, "dst");
        const QStringList oneReadout{"identity", "identity", "frequency", "identity", "baud", "baud", "baud",
                                     "gps", "protocol", "protocol", "protocol", "flags", "offset", "offset",
                                     "offset", "udp", "local", "ip", "dst"};
        QSignalSpy done(&link.worker, &Worker::signalClearAllSetFalgs);
        link.open();
        link.worker.startDataLogging(true, path);
        QFileInfo log(path);
        log.setCaching(false);
        QRandomGenerator random(protocol);

        for (int readout = 0; readout < 100; ++readout) {
            if (readout > 0)
                link.worker.readUserSettings();
            for (qsizetype row = 0; row < oneReadout.size(); ++row) {
                unit.streamBeforeQuery();
                if (random.bounded(4) != 0)
                    QVERIFY(waitFor([&] { return log.size() == unit.bytesSent(); }));
                QCOMPARE(link.tick(), GetCommands().at(row));
                const qsizetype expected = readout * oneReadout.size() + row + 1;
                QVERIFY2(waitFor([&] { return answers.size() >= expected; }),
                         qPrintable(QStringLiteral("read-out %1 lost the answer to %2")
                                        .arg(readout)
                                        .arg(QString::fromLatin1(GetCommands().at(row)))));
            }
            QCOMPARE(done.size(), readout + 1);
        }
        for (int readout = 0; readout < 100; ++readout)
            QCOMPARE(answers.mid(readout * oneReadout.size(), oneReadout.size()), oneReadout);
        QCOMPARE(WorkerProbe::protocol(link.worker, 0).value, protocol);
        QVERIFY(waitFor([&] { return log.size() == unit.bytesSent(); }));
        QCOMPARE(fileContent(path), unit.sent());
    }

    // A path that cannot be opened, a silent device, and a device that answers
    // only at 38400 (the rate as read from the master side of its terminal).
    void detectsDeviceOnSecondPortAt38400()
    {
        Link link;
        PtyDevice &silent = link.device, &answering = link.other;
        QObject::connect(&answering, &PtyDevice::lineReceived, [&](const QByteArray &line) {
            if (line == Probe && answering.baudRate() == 38400)
                link.send(answering, "$srn#VRNAB1234565678\r\n");
        });
        QSignalSpy identities(&link.worker, &Worker::signalEnableSpecialHardwareFeature);
        link.worker.setAutoDetect({QStringLiteral("/dev/imu-none"), silent.portName(), answering.portName()}, 3 * Rates);
        QVERIFY(link.detect());
        QCOMPARE(link.found(), QStringList{foundAt(answering, 38400)});
        // The identity the answer told was read on no link.
        QCOMPARE(identities.size(), 1);
        QCOMPARE(identities.first().at(1).toUInt(), uint(Worker::NoLink));
        // Three probes at every rate of the silent port, then at four rates of the
        // answering one until its first answer; the missing path is skipped.
        QCOMPARE(silent.receivedLines(), QList<QByteArray>(3 * Rates, Probe));
        QCOMPARE(answering.receivedLines(), QList<QByteArray>(3 * 3 + 1, Probe));
        QCOMPARE(link.progress.first(), (QList<QVariant>{Worker::ProgressStart, 3 * 3 * Rates}));
        QCOMPARE(link.progress.last(), (QList<QVariant>{Worker::ProgressDone, 3 * 3 * Rates}));
    }

    void nothingDetected_data()
    {
        QTest::addColumn<bool>("withPort");
        QTest::newRow("silent port") << true;
        QTest::newRow("empty port list") << false;
    }

    void nothingDetected()
    {
        QFETCH(bool, withPort);
        Link link;
        link.worker.setAutoDetect(withPort ? QList<QString>{link.device.portName()} : QList<QString>{}, Rates);
        QVERIFY(link.detect());
        QCOMPARE(link.device.receivedLines().size(), withPort ? 3 * Rates : 0);
        QVERIFY(link.found().isEmpty());
        QCOMPARE(link.progress.last(), (QList<QVariant>{Worker::ProgressFailed, 0}));
        QCOMPARE(link.box.size(), 1);
        QCOMPARE(link.box.at(0).at(1).toString(), QStringLiteral("Couldn't detect the IMU!."));
        QVERIFY(!WorkerProbe::serialPort(link.worker)->isOpen());
    }

    // A wait armed for the unit of the link just left (its null address asked
    // for again) does not hold back detection: its first step opens a port.
    void detectionNotHeldBackByTheLastUnit()
    {
        Link link;
        link.open();
        link.send(link.device, "$sip#0.0.0.0\r\n");
        QVERIFY(link.settle());
        QVERIFY(WorkerProbe::waitTicks(link.worker) > 0);
        link.worker.refreshSerialPort();
        link.worker.setAutoDetect({link.other.portName()}, Rates);
        link.tick();
        QCOMPARE(link.progress.size(), 1);
        QCOMPARE(link.status.last().at(0).toString(),
                 QStringLiteral("Detecting on %1 : 4800, 8, None, 1").arg(link.other.portName()));
    }

    // Lines a device sends by itself prove it as well as an answer would: it is
    // found before any probe. Once the time is up, the next step ends detection.
    void streamingDeviceDetectedThenTimeOut()
    {
        Link link;
        PtyDevice &streaming = link.device, &silent = link.other;
        QObject::connect(&link.worker, &Worker::showStatusMessage, [&](const QString &text) {
            if (text == QStringLiteral("Detecting on %1 : 4800, 8, None, 1").arg(streaming.portName()))
                link.send(streaming, "$PRDID,+01.50,-02.50,123.4*4F\r\n");
        });
        link.worker.setAutoDetect({streaming.portName(), silent.portName()}, 2 * Rates);
        while (silent.receivedLines().size() < 2) {
            link.tick();
            QVERIFY(link.settle());
        }
        WorkerProbe::advanceAutoDetectClock(link.worker, 300001);
        QVERIFY(link.detect());
        QVERIFY(streaming.receivedLines().isEmpty());
        QCOMPARE(silent.receivedLines().size(), 2); // no further step
        QCOMPARE(link.found(), QStringList{foundAt(streaming, 4800)});
        QVERIFY(WorkerProbe::outputData(link.worker).field[OutputDataType::Roll].isEmpty()); // nothing decoded
        QVERIFY(WorkerProbe::autoDetectTimedOut());

        // Detection counted its probes in the read-out's row: a read-out armed
        // now, without opening a port, resumes at the row of the third query.
        link.worker.configureSerialPort(true);
        QVERIFY(WorkerProbe::readingSettings(link.worker));
        QCOMPARE(WorkerProbe::settingsIterator(link.worker), 2);

        // The flag of the time-out stays with the process until a sweep finds nothing.
        link.worker.setAutoDetect({}, 0);
        QVERIFY(link.detect());
        QCOMPARE(link.box.size(), 1);
        QVERIFY(!WorkerProbe::autoDetectTimedOut());
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
