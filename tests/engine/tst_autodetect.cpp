#include "PtyDevice.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QtTest>

#include <memory>

namespace {

const QByteArray Probe("$getsrn#");
const QString MissingPort = QStringLiteral("/dev/imu-test-no-such-port");
constexpr int RateCount = int(BaudRateTable.size());
constexpr int StepWaitMs = 5000;

// The port name the worker records: the device path less "/dev/".
QString recordedName(const PtyDevice &device)
{
    return device.portName().mid(QStringLiteral("/dev/").size());
}

// Drives a detection tick by tick. After each tick it lets the serial traffic
// settle: every line the worker wrote has reached its device double, and every
// line a double sent has reached the worker, so no step outruns the devices.
class Detection
{
    Worker &m_worker;

public:
    explicit Detection(Worker &w)
        : m_worker(w)
        , progress(&w, &Worker::setProgressBar)
        , done(&w, &Worker::signalAutoDetectSerialPortDone)
        , box(&w, &Worker::showMessageBox)
    {
        WorkerProbe::stopTimer(w);
        QObject::connect(&w, &Worker::signalErrorLoggerWrite, [this](const QByteArray &line) {
            if (line.startsWith("msg Info : Worker : serial->write : "))
                ++m_written;
        });
        QObject::connect(&w, &Worker::m_consoleDisplayData, [this](const QByteArray &, int, bool detecting) {
            QVERIFY(detecting);
            ++m_shown;
        });
        QObject::connect(&w, &Worker::showStatusMessage, [this](const QString &text) {
            if (text.startsWith(QStringLiteral("Detecting on ")))
                openings << text;
        });
    }

    // A device double on one of the ports; answersOn decides, for each line
    // the worker writes to it, whether it answers.
    void addDevice(PtyDevice &device, std::function<bool(const QByteArray &)> answersOn = {})
    {
        m_devices << &device;
        if (!answersOn)
            return;
        QObject::connect(&device, &PtyDevice::lineReceived, [this, &device, answersOn](const QByteArray &line) {
            if (answersOn(line))
                send(device, "$srn#VRNAB1234565678\r\n");
        });
    }

    // Sends a line to the worker, counted so that settle() waits for it.
    void send(PtyDevice &device, const QByteArray &line)
    {
        ++m_sent;
        device.send(line);
    }

    bool settle()
    {
        return QTest::qWaitFor(
            [this] {
                int received = 0;
                for (const PtyDevice *device : std::as_const(m_devices))
                    received += int(device->receivedLines().size());
                return received == m_written && m_shown == m_sent;
            },
            StepWaitMs);
    }

    // Ticks until detection has finished; false if it did not within maxTicks.
    bool run(int maxTicks = 2000)
    {
        for (int i = 0; i < maxTicks; ++i) {
            if (!WorkerProbe::autoDetectRunning(m_worker))
                return true;
            m_worker.tick();
            if (!settle())
                return false;
        }
        return false;
    }

    QList<int> progressValues(int mode) const
    {
        QList<int> values;
        for (const QList<QVariant> &call : progress) {
            if (call.at(0).toInt() == mode)
                values << call.at(1).toInt();
        }
        return values;
    }

    QSignalSpy progress;
    QSignalSpy done;
    QSignalSpy box;
    QStringList openings;

private:
    QList<PtyDevice *> m_devices;
    int m_written = 0;
    int m_sent = 0;
    int m_shown = 0;
};

QList<int> oneToN(int n)
{
    QList<int> values;
    for (int i = 1; i <= n; ++i)
        values << i;
    return values;
}

QStringList openingsOf(const QString &port, int rates)
{
    QStringList texts;
    for (int i = 0; i < rates; ++i)
        texts << QStringLiteral("Detecting on %1 : %2, 8, None, 1").arg(port).arg(BaudRateTable[size_t(i)]);
    return texts;
}

} // namespace

class TestAutoDetect : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDeviceMetaTypes(); }
    void findsDeviceOnSecondPortAt38400();
    void streamingDeviceFoundBeforeAnyProbe();
    void nothingFound();
    void emptyPortListFinishesAtOnce();
    void timeOutReportsWhatWasFound();
};

// A missing path, a silent device, and a device that answers only at 38400.
void TestAutoDetect::findsDeviceOnSecondPortAt38400()
{
    PtyDevice silent, answering;
    QVERIFY(silent.isValid() && answering.isValid());
    Worker worker;
    Detection detection(worker);
    detection.addDevice(silent);
    detection.addDevice(answering, [&](const QByteArray &line) { return line == Probe && answering.baudRate() == 38400; });
    worker.consoleHalt(true);

    const QList<QString> ports{MissingPort, silent.portName(), answering.portName()};
    worker.setAutoDetect(ports, int(ports.size()) * RateCount);
    QVERIFY(detection.run());

    QCOMPARE(detection.done.size(), 1);
    QCOMPARE(detection.done.at(0).at(0).value<QList<QString>>(), QList<QString>{recordedName(answering)});
    QCOMPARE(detection.done.at(0).at(1).value<QList<int>>(), QList<int>{38400});
    QCOMPARE(detection.box.size(), 0);

    // Every rate of the silent port with three probes each, then four rates
    // of the answering one until its first answer; the missing path is skipped.
    QCOMPARE(silent.receivedLines(), QList<QByteArray>(3 * RateCount, Probe));
    QCOMPARE(answering.receivedLines(), QList<QByteArray>(3 * 3 + 1, Probe));
    QCOMPARE(detection.openings, openingsOf(silent.portName(), RateCount) + openingsOf(answering.portName(), 4));

    const int maximum = 3 * int(ports.size()) * RateCount;
    QCOMPARE(detection.progress.first(), (QList<QVariant>{Worker::ProgressStart, maximum}));
    QCOMPARE(detection.progressValues(Worker::ProgressStep), oneToN(3 * RateCount + 3 * 3 + 1));
    QCOMPARE(detection.progress.last(), (QList<QVariant>{Worker::ProgressDone, maximum}));
    QVERIFY(detection.progressValues(Worker::ProgressFailed).isEmpty());

    QVERIFY(!WorkerProbe::consoleHalted(worker));
    QVERIFY(!WorkerProbe::readingSettings(worker));
    QVERIFY(!WorkerProbe::serialPort(worker)->isOpen());
    QVERIFY(!WorkerProbe::serialConnected(worker));
}

// Lines the device sends by itself prove it as well as an answer would.
void TestAutoDetect::streamingDeviceFoundBeforeAnyProbe()
{
    PtyDevice streaming;
    Worker worker;
    Detection detection(worker);
    detection.addDevice(streaming);
    QObject::connect(&worker, &Worker::showStatusMessage, [&](const QString &text) {
        if (text.startsWith(QStringLiteral("Detecting on ")))
            detection.send(streaming, "$PRDID,+01.50,-02.50,123.4*4F\r\n");
    });

    worker.setAutoDetect({streaming.portName()}, RateCount);
    QVERIFY(detection.run());

    QCOMPARE(detection.done.size(), 1);
    QCOMPARE(detection.done.at(0).at(0).value<QList<QString>>(), QList<QString>{recordedName(streaming)});
    QCOMPARE(detection.done.at(0).at(1).value<QList<int>>(), QList<int>{4800});
    QVERIFY(streaming.receivedLines().isEmpty());
    QVERIFY(detection.progressValues(Worker::ProgressStep).isEmpty());
    // Nothing is decoded while detection runs.
    QVERIFY(WorkerProbe::outputData(worker).field[OutputDataType::Roll].isEmpty());
}

void TestAutoDetect::nothingFound()
{
    PtyDevice silent;
    Worker worker;
    Detection detection(worker);
    detection.addDevice(silent);
    QSignalSpy enabled(&worker, &Worker::signalEnableActions);

    worker.setAutoDetect({silent.portName()}, RateCount);
    QVERIFY(detection.run());

    QCOMPARE(silent.receivedLines().size(), 3 * RateCount);
    QCOMPARE(detection.done.size(), 0);
    QCOMPARE(detection.progress.last(), (QList<QVariant>{Worker::ProgressFailed, 0}));
    QCOMPARE(detection.box.size(), 1);
    QCOMPARE(detection.box.at(0), (QList<QVariant>{QStringLiteral("Error"), QStringLiteral("Couldn't detect the IMU!.")}));
    QVERIFY(enabled.contains(QList<QVariant>{true, int(Worker::ConnectActions)}));
    QVERIFY(!WorkerProbe::serialPort(worker)->isOpen());
}

// An empty port list opens nothing and ends in the first step.
void TestAutoDetect::emptyPortListFinishesAtOnce()
{
    Worker worker;
    Detection detection(worker);
    worker.setAutoDetect({}, 0);
    worker.tick();

    QVERIFY(!WorkerProbe::autoDetectRunning(worker));
    QCOMPARE(detection.progressValues(Worker::ProgressStart), QList<int>{0});
    QCOMPARE(detection.progress.last(), (QList<QVariant>{Worker::ProgressFailed, 0}));
    QCOMPARE(detection.box.size(), 1);
    QCOMPARE(detection.box.at(0).at(1).toString(), QStringLiteral("Couldn't detect the IMU!."));
    QVERIFY(detection.openings.isEmpty());
    QCOMPARE(detection.done.size(), 0);
}

// Once the time is up, the next step ends detection with what was found.
void TestAutoDetect::timeOutReportsWhatWasFound()
{
    PtyDevice answering, silent;
    Worker worker;
    Detection detection(worker);
    detection.addDevice(answering, [](const QByteArray &line) { return line == Probe; });
    detection.addDevice(silent);

    worker.setAutoDetect({answering.portName(), silent.portName()}, 2 * RateCount);
    while (silent.receivedLines().size() < 2) {
        QVERIFY(WorkerProbe::autoDetectRunning(worker));
        worker.tick();
        QVERIFY(detection.settle());
    }
    constexpr qint64 TimeOutMs = 300000;
    WorkerProbe::advanceAutoDetectClock(worker, TimeOutMs + 1);
    const qsizetype steps = detection.progressValues(Worker::ProgressStep).size();
    QVERIFY(detection.run());

    QCOMPARE(detection.progressValues(Worker::ProgressStep).size(), steps);
    QCOMPARE(silent.receivedLines().size(), 2);
    QCOMPARE(detection.done.size(), 1);
    QCOMPARE(detection.done.at(0).at(0).value<QList<QString>>(), QList<QString>{recordedName(answering)});
    QCOMPARE(detection.done.at(0).at(1).value<QList<int>>(), QList<int>{4800});
    QVERIFY(detection.done.at(0).at(2).toInt() > TimeOutMs);
    QVERIFY(!WorkerProbe::serialPort(worker)->isOpen());
}

QTEST_GUILESS_MAIN(TestAutoDetect)
#include "tst_autodetect.moc"
