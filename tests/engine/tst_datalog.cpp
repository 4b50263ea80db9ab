#include "PtyDevice.h"
#include "SerialTestSettings.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <sys/ioctl.h>

namespace {

constexpr int PendingWaitMs = 5000;

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray eulerFrame(char seed)
{
    return QByteArray::fromHex("FAFF320C") + QByteArray(13, seed);
}

// Waits, without running the event loop, until the port's input queue holds
// bytes bytes: the device's data has arrived but the worker has not read it.
bool waitForPendingInput(QSerialPort *port, int bytes)
{
    QDeadlineTimer deadline(PendingWaitMs);
    int pending = 0;
    while (!deadline.hasExpired()) {
        if (::ioctl(port->handle(), FIONREAD, &pending) == 0 && pending >= bytes)
            return pending == bytes;
        QThread::msleep(1);
    }
    return false;
}

} // namespace

class TestDataLog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startAndStop_data();
    void startAndStop();
    void rawBytesWhateverTheReceivePathDoes();
    void streamLoggedWithoutLosingTheTail_data();
    void streamLoggedWithoutLosingTheTail();

private:
    QTemporaryDir m_dir;
};

void TestDataLog::initTestCase()
{
    registerDeviceMetaTypes();
    QVERIFY(m_dir.isValid());
}

void TestDataLog::startAndStop_data()
{
    QTest::addColumn<bool>("recording"); // file A taken before the request, "1" logged to it
    QTest::addColumn<bool>("start");
    QTest::addColumn<QString>("name"); // relative to the test folder
    QTest::addColumn<bool>("capturing");
    QTest::addColumn<QByteArray>("contentA"); // after "2" is received
    QTest::addColumn<QByteArray>("contentB"); // B holds "old" before the request

    const QString unopenable = QStringLiteral("no-such-folder/B");
    QTest::newRow("start empties an existing file") << false << true << "B" << true << QByteArray() << QByteArray("2");
    QTest::newRow("start, empty name") << false << true << "" << false << QByteArray() << QByteArray("old");
    QTest::newRow("start, file cannot be opened") << false << true << unopenable << false << QByteArray()
                                                  << QByteArray("old");
    QTest::newRow("stop while idle") << false << false << "" << false << QByteArray() << QByteArray("old");
    QTest::newRow("stop") << true << false << "" << false << QByteArray("1") << QByteArray("old");
    QTest::newRow("start again, empty name") << true << true << "" << true << QByteArray("12") << QByteArray("old");
    QTest::newRow("start again, other file") << true << true << "B" << true << QByteArray("1") << QByteArray("2");
    QTest::newRow("start again, same file") << true << true << "A" << true << QByteArray("2") << QByteArray("old");
    QTest::newRow("start again, file cannot be opened") << true << true << unopenable << false << QByteArray("1")
                                                        << QByteArray("old");
}

void TestDataLog::startAndStop()
{
    QFETCH(bool, recording);
    QFETCH(bool, start);
    QFETCH(QString, name);
    QFETCH(bool, capturing);

    const QString pathA = m_dir.filePath(QStringLiteral("A"));
    const QString pathB = m_dir.filePath(QStringLiteral("B"));
    QFile::remove(pathA);
    writeFile(pathB, "old");

    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::fakeSerialLink(worker, true);
    if (recording) {
        worker.startDataLogging(true, pathA);
        WorkerProbe::receive(worker, "1");
    }
    QSignalSpy state(&worker, &Worker::signalStartDataCapturing);

    worker.startDataLogging(start, name.isEmpty() ? name : m_dir.filePath(name));
    QCOMPARE(state.size(), 1);
    QCOMPARE(state.at(0).at(0).toBool(), capturing);
    QCOMPARE(WorkerProbe::logging(worker), capturing);

    WorkerProbe::receive(worker, "2");
    QTEST(fileContent(pathA), "contentA");
    QTEST(fileContent(pathB), "contentB");
}

// The file takes the bytes as read, whatever becomes of them: frames cut or
// not, console halted, read-out running, buffer overflowing.
void TestDataLog::rawBytesWhateverTheReceivePathDoes()
{
    const QString path = m_dir.filePath(QStringLiteral("raw.dat"));
    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::fakeSerialLink(worker, true);
    WorkerProbe::setProtocolValue(worker, ProtocolValue::EM3000);
    worker.consoleHalt(true);
    worker.startDataLogging(true, path);

    const QList<QByteArray> chunks{"\x90\x90" + QByteArray(8, '\x01'), "$frq#10", "0\r\nerror\r\n\r\n", "ab\x90",
                                   QByteArray(5000, '\x90'), "\x90" + QByteArray(8, '\x02')};
    QByteArray sent;
    for (const QByteArray &chunk : chunks) {
        WorkerProbe::setReadingSettings(worker, sent.size() % 2 == 0);
        WorkerProbe::receive(worker, chunk);
        sent += chunk;
        QCOMPARE(fileContent(path), sent);
    }
}

void TestDataLog::streamLoggedWithoutLosingTheTail_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("stop logging") << "stop logging";
    QTest::newRow("close the port") << "close port";
    QTest::newRow("stop the worker") << "stop worker";
}

// A device double streams frames, answers, data lines, noise and an overflow
// through a pseudo-terminal; the file ends up holding exactly what it sent.
// Closing the port or stopping the worker while the last bytes still wait in
// the port's queue logs them too.
void TestDataLog::streamLoggedWithoutLosingTheTail()
{
    QFETCH(QString, end);
    const QString path = m_dir.filePath(QStringLiteral("stream.dat"));
    writeFile(path, "an older recording");

    PtyDevice device;
    QVERIFY(device.isValid());
    Worker worker;
    WorkerProbe::stopTimer(worker);
    worker.openSerialPort(serialTestSettings(device.portName()));
    QVERIFY(WorkerProbe::serialConnected(worker));
    WorkerProbe::setReadingSettings(worker, false);
    WorkerProbe::setProtocolValue(worker, ProtocolValue::EulerB);
    QSignalSpy status(&worker, &Worker::showStatusMessage);
    QSignalSpy frames(&worker, &Worker::m_consoleInsertPlainText);
    worker.startDataLogging(true, path);

    const QByteArray stream = eulerFrame(1) + "$frq#100\r\n" + eulerFrame(2) + eulerFrame(3) + "gyro error\r\n"
                              + "\x01\x02noise\xFF" + eulerFrame(4) + "$PRDID,+01.50,-02.50,123.4*4F\r\n";
    device.send(stream);
    QTRY_COMPARE(fileContent(path), stream);
    QCOMPARE(frames.size(), 4);

    const QByteArray overflow(5000, 'x');
    device.send(overflow);
    QTRY_COMPARE(fileContent(path), stream + overflow);
    QVERIFY(status.contains(QList<QVariant>{QStringLiteral("Rx Buffer Overflow")}));
    QVERIFY(WorkerProbe::readingSettings(worker)); // the overflow restarted the read-out;
    WorkerProbe::setReadingSettings(worker, false); // let it be over, so frames are cut again

    const QByteArray tail = eulerFrame(5) + "$frq#50\r\n" + "data,1,2\r\n" + "partial";
    device.send(tail);
    const QByteArray sent = stream + overflow + tail;
    if (end == QStringLiteral("stop logging")) {
        QTRY_COMPARE(fileContent(path), sent);
        worker.startDataLogging(false, QString());
        device.send("after the stop\r\n");
        QTRY_VERIFY(WorkerProbe::rxBuffer(worker).isEmpty());
    } else {
        QVERIFY(waitForPendingInput(WorkerProbe::serialPort(worker), int(tail.size())));
        if (end == QStringLiteral("close port"))
            worker.closeSerialPort();
        else
            worker.stopWorker();
    }
    QCOMPARE(fileContent(path), sent);
    QCOMPARE(frames.size(), 5); // the last bytes went through the receive path as well
}

QTEST_GUILESS_MAIN(TestDataLog)
#include "tst_datalog.moc"
