#include "PtyDevice.h"
#include "SerialTestSettings.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QtTest>

namespace {

// The link's reports to the main window, as text in emission order.
class LinkLog
{
public:
    explicit LinkLog(Worker &w)
    {
        QObject::connect(&w, &Worker::signalActionsSetChecked, [this](bool on, int mask) {
            entries << QStringLiteral("checked(%1,%2)").arg(on).arg(mask);
        });
        QObject::connect(&w, &Worker::signalEnableActions, [this](bool on, int mask) {
            entries << QStringLiteral("enabled(%1,%2)").arg(on).arg(mask);
        });
        QObject::connect(&w, &Worker::enableAllButtons,
                         [this](bool on) { entries << QStringLiteral("buttons(%1)").arg(on); });
        QObject::connect(&w, &Worker::showStatusMessage, [this](const QString &text) { entries << "status(" + text + ")"; });
        QObject::connect(&w, &Worker::showMessageBox, [this](const QString &title, const QString &text) {
            entries << "box(" + title + ")";
            boxText = text;
        });
        QObject::connect(&w, &Worker::signalConfigureSerialPort, [this] { entries << QStringLiteral("configure"); });
    }

    QStringList entries;
    QString boxText;
};

const QStringList ClosedReports{"checked(0,6)", "enabled(1,4)", "buttons(0)", "status(Disconnected)"};

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDeviceMetaTypes(); }
    void openAndClose();
    void openFailure_data();
    void openFailure();
    void writeAndRead();
    void portErrors_data();
    void portErrors();
    void hangUpClosesTheLink();
    void refreshAsksForConfiguration();
    void configureSerialPort_data();
    void configureSerialPort();
    void stopWorkerClosesThePort();
};

void TestSerialLink::openAndClose()
{
    PtyDevice device;
    QVERIFY(device.isValid());
    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::setReadingSettings(worker, false);
    WorkerProbe::setSettingsIterator(worker, 9);
    WorkerProbe::setHeaderCapturePending(worker, false);
    LinkLog log(worker);

    worker.openSerialPort(serialTestSettings(device.portName()));
    const QString shownName = device.portName().mid(QStringLiteral("/dev/").size());
    QCOMPARE(log.entries, (QStringList{"checked(0,4)", "checked(1,2)", "buttons(0)",
                                       "status(Connected to " + shownName + " : 115200, 8, None, 1)"}));
    QVERIFY(WorkerProbe::serialPort(worker)->isOpen());
    QCOMPARE(device.baudRate(), 115200);
    QVERIFY(WorkerProbe::serialConnected(worker));
    QCOMPARE(WorkerProbe::interfaceMode(worker), uint32_t(Worker::SerialMode));
    QVERIFY(WorkerProbe::readingSettings(worker));
    QCOMPARE(WorkerProbe::settingsIterator(worker), 0);
    QVERIFY(WorkerProbe::headerCapturePending(worker));
    QCOMPARE(WorkerProbe::statisticsTime(worker), 7);

    log.entries.clear();
    WorkerProbe::receive(worker, "partial");
    worker.closeSerialPort();
    QCOMPARE(log.entries, ClosedReports);
    QVERIFY(!WorkerProbe::serialPort(worker)->isOpen());
    QVERIFY(!WorkerProbe::serialConnected(worker));
    QCOMPARE(WorkerProbe::interfaceMode(worker), uint32_t(Worker::NoLink));
    QVERIFY(WorkerProbe::rxBuffer(worker).isEmpty());

    log.entries.clear();
    WorkerProbe::setAutoDetectRunning(worker, true);
    worker.closeSerialPort();
    QCOMPARE(log.entries.at(1), QStringLiteral("enabled(0,4)"));
}

void TestSerialLink::openFailure_data()
{
    QTest::addColumn<bool>("busy");
    QTest::newRow("no such port") << false;
    QTest::newRow("port open elsewhere") << true;
}

void TestSerialLink::openFailure()
{
    QFETCH(bool, busy);
    PtyDevice device;
    Worker other;
    WorkerProbe::stopTimer(other);
    if (busy)
        other.openSerialPort(serialTestSettings(device.portName()));

    Worker worker;
    WorkerProbe::stopTimer(worker);
    LinkLog log(worker);
    worker.openSerialPort(serialTestSettings(busy ? device.portName() : QStringLiteral("/dev/imu-test-no-such-port")));

    QVERIFY(log.entries.contains(QStringLiteral("box(Error Message)")));
    QVERIFY(log.boxText.endsWith(QStringLiteral("\r\nPort is Open by another thread or software!...")));
    QVERIFY(log.boxText.size() > int(qstrlen("\r\nPort is Open by another thread or software!...")));
    QCOMPARE(log.entries.last(), QStringLiteral("status(Open error)"));
    QVERIFY(!WorkerProbe::serialConnected(worker));
    QCOMPARE(WorkerProbe::interfaceMode(worker), uint32_t(Worker::NoLink));
}

void TestSerialLink::writeAndRead()
{
    PtyDevice device;
    Worker worker;
    WorkerProbe::stopTimer(worker);
    worker.openSerialPort(serialTestSettings(device.portName()));
    QSignalSpy written(&worker, &Worker::signalErrorLoggerWrite);
    QSignalSpy frequency(&worker, &Worker::m_uiIMUfreqBoxSetIndex);

    worker.tick();
    QCOMPARE(written.size(), 1);
    QCOMPARE(written.at(0).at(0).toByteArray(), QByteArray("msg Info : Worker : serial->write : $getsrn#"));
    QTRY_COMPARE(device.receivedLines(), QList<QByteArray>{"$getsrn#"});

    device.send("$frq#100\r\n");
    QTRY_COMPARE(frequency.size(), 1);
    QCOMPARE(frequency.at(0).at(0).toString(), QStringLiteral("100"));

    worker.consoleHalt(true);
    worker.tick();
    worker.consoleHalt(false);
    worker.tick();
    QTRY_COMPARE(device.receivedLines(), (QList<QByteArray>{"$getsrn#", "$getfrq#"}));
    QCOMPARE(written.size(), 3); // the answer's line, and no line for the halted tick
}

void TestSerialLink::portErrors_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<bool>("detecting");
    QTest::addColumn<QStringList>("reports");
    QTest::newRow("no error") << QSerialPort::NoError << false << QStringList{};
    QTest::newRow("device gone") << QSerialPort::ResourceError << false << ClosedReports + QStringList{"box(Critical Error)"};
    QTest::newRow("read error") << QSerialPort::ReadError << false << ClosedReports;
    QTest::newRow("time-out while detecting")
        << QSerialPort::TimeoutError << true
        << QStringList{"checked(0,6)", "enabled(0,4)", "buttons(0)", "status(Disconnected)"};
}

void TestSerialLink::portErrors()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, detecting);
    PtyDevice device;
    Worker worker;
    WorkerProbe::stopTimer(worker);
    worker.openSerialPort(serialTestSettings(device.portName()));
    WorkerProbe::setAutoDetectRunning(worker, detecting);
    LinkLog log(worker);

    worker.handleError(error);
    QTEST(log.entries, "reports");
    QCOMPARE(WorkerProbe::serialPort(worker)->isOpen(), error == QSerialPort::NoError);
    QCOMPARE(WorkerProbe::autoDetectPortDone(worker), detecting);
}

void TestSerialLink::hangUpClosesTheLink()
{
    PtyDevice device;
    Worker worker;
    WorkerProbe::stopTimer(worker);
    worker.openSerialPort(serialTestSettings(device.portName()));
    LinkLog log(worker);
    QSignalSpy errors(WorkerProbe::serialPort(worker), &QSerialPort::errorOccurred);

    device.hangUp();
    QTRY_VERIFY(log.entries.contains(QStringLiteral("status(Disconnected)")));
    QCOMPARE(errors.size(), 1); // closing the dead port raises no further error
    QCOMPARE(log.entries.count(QStringLiteral("status(Disconnected)")), 1);
    QVERIFY(!WorkerProbe::serialPort(worker)->isOpen());
    QVERIFY(!WorkerProbe::serialConnected(worker));
    worker.tick(); // nothing is written to the dead line
}

void TestSerialLink::refreshAsksForConfiguration()
{
    PtyDevice device;
    Worker worker;
    WorkerProbe::stopTimer(worker);
    worker.openSerialPort(serialTestSettings(device.portName()));
    LinkLog log(worker);

    worker.refreshSerialPort();
    QCOMPARE(log.entries, ClosedReports + QStringList{"configure"});
    QVERIFY(!WorkerProbe::serialPort(worker)->isOpen());
}

void TestSerialLink::configureSerialPort_data()
{
    QTest::addColumn<bool>("readingBefore");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("detecting");
    QTest::addColumn<bool>("readingAfter");
    QTest::newRow("unchanged") << false << false << false << false;
    QTest::newRow("changed") << false << true << false << true;
    QTest::newRow("read-out kept") << true << false << false << true;
    QTest::newRow("detecting") << true << true << true << false;
}

void TestSerialLink::configureSerialPort()
{
    QFETCH(bool, readingBefore);
    QFETCH(bool, changed);
    QFETCH(bool, detecting);
    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::setReadingSettings(worker, readingBefore);
    WorkerProbe::setHeaderCapturePending(worker, false);
    WorkerProbe::setAutoDetectRunning(worker, true);
    WorkerProbe::receive(worker, "x\r\n"); // a detected port
    WorkerProbe::setAutoDetectRunning(worker, detecting);

    worker.configureSerialPort(changed);
    QTEST(WorkerProbe::readingSettings(worker), "readingAfter");
    QVERIFY(WorkerProbe::headerCapturePending(worker));
    QVERIFY(WorkerProbe::detectedPortName(worker).isEmpty());
    QVERIFY(WorkerProbe::detectedBaudRate(worker).isEmpty());
}

void TestSerialLink::stopWorkerClosesThePort()
{
    PtyDevice device;
    Worker worker;
    worker.openSerialPort(serialTestSettings(device.portName()));
    worker.stopWorker();
    QVERIFY(!WorkerProbe::serialPort(worker)->isOpen());
    QVERIFY(!WorkerProbe::serialConnected(worker));
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
