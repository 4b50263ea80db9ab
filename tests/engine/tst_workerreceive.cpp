#include "CommandTable.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// What the receive path passes on: console lines "C<type>:", frame hex "H:",
// event-log lines "E:" and display updates "D", in order.
class ReceiveLog
{
public:
    explicit ReceiveLog(Worker &w)
    {
        QObject::connect(&w, &Worker::m_consoleDisplayData, [this](const QByteArray &line, int type, bool) {
            entries << QStringLiteral("C%1:").arg(type) + QString::fromLatin1(line);
        });
        QObject::connect(&w, &Worker::m_consoleInsertPlainText,
                         [this](const QByteArray &hex) { entries << "H:" + QString::fromLatin1(hex); });
        QObject::connect(&w, &Worker::signalErrorLoggerWrite,
                         [this](const QByteArray &line) { entries << "E:" + QString::fromLatin1(line); });
        QObject::connect(&w, &Worker::signalDispalyOutputData,
                         [this](const OutputDataType &, const OutputProtocolType &) { entries << "D"; });
        QObject::connect(&w, &Worker::showStatusMessage, [this](const QString &text) { statuses << text; });
    }

    int count(const QString &prefix) const
    {
        return int(std::count_if(entries.cbegin(), entries.cend(), [&](const QString &e) { return e.startsWith(prefix); }));
    }

    QStringList entries;
    QStringList statuses;
};

QByteArray eulerFrame(char seed, bool crLf = false)
{
    QByteArray frame = QByteArray::fromHex("FAFF320C") + QByteArray(13, seed);
    if (crLf)
        frame.replace(6, 2, "\r\n");
    return frame;
}

QString hexEntry(const QByteArray &frame)
{
    return "H:" + QString::fromLatin1(frame.toHex().toUpper()) + "\r\n";
}

// A worker with a stopped timer and a serial link as if a port were open.
void prepare(Worker &w, bool reading, uint32_t protocolValue = 0)
{
    WorkerProbe::stopTimer(w);
    WorkerProbe::fakeSerialLink(w, true);
    WorkerProbe::setReadingSettings(w, reading);
    if (protocolValue != 0)
        WorkerProbe::setProtocolValue(w, protocolValue);
    WorkerProbe::setDisplayDue(w, true);
}

// The device's answer to each read-out query.
QByteArray answerTo(int row, uint32_t protocolValue)
{
    const QByteArrayList payloads{"VRNAB1234565678", "VRN12345", "100", "V6.01.0215", "5", "5", "5", "RS232",
                                  "0.0.0." + QByteArray::number(protocolValue) + ":0", "0.0.0.0:1", "0.0.0.0:2",
                                  "0.0.0.33", "0.5", "-0.5", "1.0", "8088", "8080", "10.0.0.2", "10.0.0.1"};
    const QByteArray code = GetCommands().at(row).mid(4, 3);
    return "$" + code + "#" + payloads.at(row) + "\r\n";
}

} // namespace

class TestWorkerReceive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDeviceMetaTypes(); }
    void linesAndFrames_data();
    void linesAndFrames();
    void splitAcrossReads();
    void overflow_data();
    void overflow();
    void silenceRestartsReadout_data();
    void silenceRestartsReadout();
    void streamingDeviceCompletesReadout_data();
    void streamingDeviceCompletesReadout();
    void detectionNotesAnsweringPort();
    void randomInputNeverCrashes();
};

void TestWorkerReceive::linesAndFrames_data()
{
    QTest::addColumn<QByteArray>("chunk");
    QTest::addColumn<bool>("reading");
    QTest::addColumn<bool>("halted");
    QTest::addColumn<uint>("protocol");
    QTest::addColumn<QStringList>("entries");

    const QString answerLog = "E:msg Info : Worker : readSerialData : cmdProcessor : ";
    const QByteArray f1 = eulerFrame(1), f2 = eulerFrame(2), crLf = eulerFrame(3, true);

    QTest::newRow("answer") << QByteArray("$frq#100\r\n") << false << false << 0u
                            << QStringList{"C1:$frq#100\r\n", answerLog + "$frq#100"};
    QTest::newRow("error line") << QByteArray(" gyro error \r\n") << false << false << 0u
                                << QStringList{"C0: gyro error \r\n", "E:msg Error : Worker : readSerialData : gyro error"};
    QTest::newRow("data line, one display per tick") << QByteArray("abc\r\nd\r\n") << false << false << 0u
                                                     << QStringList{"C2:abc\r\n", "D", "C2:d\r\n"};
    QTest::newRow("data hidden during read-out") << QByteArray("abc\r\n") << true << false << 0u << QStringList{"D"};
    QTest::newRow("short line dropped") << QByteArray("\r\n") << false << false << 0u << QStringList{};
    QTest::newRow("halted console") << QByteArray("$frq#1\r\nerror\r\nabc\r\n") << false << true << 0u
                                    << QStringList{answerLog + "$frq#1", "E:msg Error : Worker : readSerialData : error",
                                                   "D"};
    QTest::newRow("EulerB frames") << f1 + f2 << false << false << 9u << QStringList{hexEntry(f1), "D", hexEntry(f2)};
    QTest::newRow("EulerL text not decoded") << QByteArray("abc\r\n") << false << false << 8u
                                             << QStringList{"C2:abc\r\n"};
    QTest::newRow("halted frames still decoded") << f1 << false << true << 9u << QStringList{"D"};
    QTest::newRow("no frames during read-out") << f1 << true << false << 9u << QStringList{};
    QTest::newRow("answer and frame in one read") << "$frq#7\r\n" + f1 << false << false << 9u
                                                  << QStringList{"C1:$frq#7\r\n", answerLog + "$frq#7", hexEntry(f1), "D"};
    QTest::newRow("CR LF inside a frame") << crLf << false << false << 9u << QStringList{hexEntry(crLf), "D"};
    QTest::newRow("answer behind frame bytes in read-out") << f1 + "$frq#5\r\n" << true << false << 9u
                                                           << QStringList{"C1:$frq#5\r\n", answerLog + "$frq#5"};
}

void TestWorkerReceive::linesAndFrames()
{
    QFETCH(QByteArray, chunk);
    QFETCH(bool, reading);
    QFETCH(bool, halted);
    QFETCH(uint, protocol);

    Worker worker;
    prepare(worker, reading, protocol);
    worker.consoleHalt(halted);
    ReceiveLog log(worker);
    WorkerProbe::receive(worker, chunk);
    QTEST(log.entries, "entries");
}

void TestWorkerReceive::splitAcrossReads()
{
    Worker worker;
    prepare(worker, false, 9);
    ReceiveLog log(worker);
    const QByteArray frame = eulerFrame(4, true);

    WorkerProbe::receive(worker, "$frq#1");
    WorkerProbe::receive(worker, "00\r\n" + frame.left(9));
    QCOMPARE(log.count("C1:$frq#100\r\n"), 1);
    QCOMPARE(log.count("H:"), 0);
    QCOMPARE(WorkerProbe::rxBuffer(worker), frame.left(9));

    WorkerProbe::receive(worker, frame.mid(9) + "ab");
    QCOMPARE(log.entries.filter("H:"), QStringList{hexEntry(frame)});
    QCOMPARE(WorkerProbe::rxBuffer(worker), QByteArray("ab"));
}

void TestWorkerReceive::overflow_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<bool>("detecting");
    QTest::addColumn<bool>("overflow");
    QTest::addColumn<bool>("restarted");
    QTest::newRow("4096 bytes are kept") << 4096 << false << false << false;
    QTest::newRow("4097 bytes overflow") << 4097 << false << true << true;
    QTest::newRow("overflow while detecting") << 4097 << true << true << false;
}

void TestWorkerReceive::overflow()
{
    QFETCH(int, bytes);
    QFETCH(bool, detecting);
    QFETCH(bool, overflow);

    Worker worker;
    prepare(worker, false);
    ReceiveLog log(worker);

    // A line of exactly 4096 bytes is handled whole.
    WorkerProbe::receive(worker, "$frq#" + QByteArray(4089, '9') + "\r\n");
    QCOMPARE(log.count("C1:$frq#999"), 1);

    WorkerProbe::setSettingsIterator(worker, 5);
    WorkerProbe::setHeaderCapturePending(worker, false);
    WorkerProbe::setAutoDetectRunning(worker, detecting);
    QSignalSpy buttons(&worker, &Worker::enableAllButtons);

    WorkerProbe::receive(worker, QByteArray(bytes - 100, 'x'));
    WorkerProbe::receive(worker, QByteArray(100, 'y'));

    QCOMPARE(log.statuses.contains(QStringLiteral("Rx Buffer Overflow")), overflow);
    QCOMPARE(WorkerProbe::rxBuffer(worker).size(), overflow ? 0 : bytes);
    QCOMPARE(buttons.size(), overflow ? 1 : 0);
    QTEST(WorkerProbe::readingSettings(worker), "restarted");
    QTEST(WorkerProbe::headerCapturePending(worker), "restarted");
    QCOMPARE(WorkerProbe::settingsIterator(worker), WorkerProbe::readingSettings(worker) ? 0 : 5);
}

void TestWorkerReceive::silenceRestartsReadout_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<bool>("restarted");
    QTest::newRow("100 silent ticks") << 100 << false;
    QTest::newRow("101 silent ticks") << 101 << true;
}

void TestWorkerReceive::silenceRestartsReadout()
{
    QFETCH(int, ticks);
    Worker worker;
    prepare(worker, false);
    WorkerProbe::setSettingsIterator(worker, 4);
    for (int i = 0; i < ticks; ++i)
        worker.tick();
    QSignalSpy buttons(&worker, &Worker::enableAllButtons);

    WorkerProbe::receive(worker, "x");
    QTEST(WorkerProbe::readingSettings(worker), "restarted");
    QCOMPARE(buttons.size(), WorkerProbe::readingSettings(worker) ? 1 : 0);
    QCOMPARE(WorkerProbe::settingsIterator(worker), WorkerProbe::readingSettings(worker) ? 0 : 4);
    QCOMPARE(WorkerProbe::serialSilence(worker), 0u);
}

void TestWorkerReceive::streamingDeviceCompletesReadout_data()
{
    QTest::addColumn<uint>("protocol");
    QTest::addColumn<QByteArray>("sync");
    QTest::addColumn<int>("frameSize");
    QTest::newRow("EulerB") << 9u << QByteArray::fromHex("FAFF320C") << 17;
    QTest::newRow("EulerL") << 8u << QByteArray::fromHex("FAFF320C") << 17;
    QTest::newRow("EM1000") << 13u << QByteArray::fromHex("0090") << 10;
    QTest::newRow("EM3000") << 14u << QByteArray::fromHex("9090") << 10;
}

// A device streaming frames at 100 Hz answers each query between two frames of
// the 50 ms tick; the answers arrive split over reads at random places.
void TestWorkerReceive::streamingDeviceCompletesReadout()
{
    QFETCH(uint, protocol);
    QFETCH(QByteArray, sync);
    QFETCH(int, frameSize);

    Worker worker;
    prepare(worker, true); // fresh link: the protocol is not known yet
    ReceiveLog log(worker);
    QSignalSpy finished(&worker, &Worker::signalClearAllSetFalgs);
    QRandomGenerator random(protocol);

    const auto tickWithStream = [&](const QByteArray &answer) {
        QByteArray chunk;
        for (int i = 0; i < 5; ++i) {
            QByteArray body(frameSize - sync.size(), char(0x11 * (i + 1)));
            body.replace(1, 2, "\r\n"); // line ends inside frame data
            chunk += sync + body;
            if (i == 2)
                chunk += answer;
        }
        const qsizetype split = random.bounded(1, int(chunk.size()));
        WorkerProbe::receive(worker, chunk.left(split));
        WorkerProbe::receive(worker, chunk.mid(split));
        worker.tick();
    };

    const int rows = int(GetCommands().size());
    int ticks = 0;
    while (WorkerProbe::readingSettings(worker) && ticks < 100) {
        const int previousRow = (WorkerProbe::settingsIterator(worker) + rows - 1) % rows;
        tickWithStream(ticks == 0 ? QByteArray() : answerTo(previousRow, protocol));
        ++ticks;
    }
    QCOMPARE(ticks, 19); // the identity is known early, so the first sweep completes
    QCOMPARE(finished.size(), 1);
    QCOMPARE(WorkerProbe::protocol(worker, 0).value, protocol);
    QVERIFY(!log.statuses.contains(QStringLiteral("Rx Buffer Overflow")));
    QCOMPARE(log.count("H:"), 0);

    // Once the read-out is over, frames are cut and answers still come through.
    log.entries.clear();
    tickWithStream("$frq#50\r\n");
    QCOMPARE(log.count("H:"), 5);
    QCOMPARE(log.count("C1:$frq#50\r\n"), 1);
    QCOMPARE(log.count("C2:"), 0);
}

void TestWorkerReceive::detectionNotesAnsweringPort()
{
    Worker worker;
    prepare(worker, false);
    WorkerProbe::setAutoDetectRunning(worker, true);
    WorkerProbe::serialPort(worker)->setPortName(QStringLiteral("ttyIMU0"));
    WorkerProbe::serialPort(worker)->setBaudRate(38400);
    QSignalSpy console(&worker, &Worker::m_consoleDisplayData);

    WorkerProbe::receive(worker, "\r\n$frq#1\r\n");
    QCOMPARE(WorkerProbe::detectedPortName(worker), QList<QString>{"ttyIMU0"});
    QCOMPARE(WorkerProbe::detectedBaudRate(worker), QList<int>{38400});
    QVERIFY(WorkerProbe::autoDetectPortDone(worker));
    QCOMPARE(console.size(), 1);
    QCOMPARE(console.at(0).at(2).toBool(), true);
}

// Random bytes from the device in every framing mode and with every decoder.
void TestWorkerReceive::randomInputNeverCrashes()
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); // unrecognised answers and protocols are traced
    QRandomGenerator random(3);
    for (uint protocol : {0u, 1u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 13u, 14u, 15u, 19u, 20u, 0xFFF80014u}) {
        Worker worker;
        prepare(worker, false, protocol);
        for (int i = 0; i < 300; ++i) {
            QByteArray chunk(random.bounded(0, i % 50 == 0 ? 6000 : 200), Qt::Uninitialized);
            static const char alphabet[] = "\r\n\x90\x00\xFA\xFF\x32\x0C$#.:-,0123456789srnprtsipflg";
            for (char &byte : chunk)
                byte = alphabet[random.bounded(int(sizeof alphabet - 1))];
            WorkerProbe::receive(worker, chunk);
            QVERIFY(WorkerProbe::rxBuffer(worker).size() <= SerialFraming::RxBufferLimit);
            WorkerProbe::setReadingSettings(worker, i % 3 == 0);
            WorkerProbe::setWaitTicks(worker, 0);
        }
    }
    UserSettings.flags = 0;
    QLoggingCategory::setFilterRules(QString());
}

QTEST_GUILESS_MAIN(TestWorkerReceive)
#include "tst_workerreceive.moc"
