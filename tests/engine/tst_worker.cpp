#include "Worker.h"
#include "WorkerProbe.h"

#include <QtTest>

class TestWorker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void waitUnit_data();
    void waitUnit();
    void tickOrder_data();
    void tickOrder();
    void readUserSettingsRestartsSweep();
    void stopWorkerEndsTheTick();
    void consoleHaltAndStatisticsWindow();
    void recordsCrossThreadsIntact();
};

void TestWorker::initTestCase()
{
    registerDeviceMetaTypes();
}

void TestWorker::waitUnit_data()
{
    QTest::addColumn<uint>("ms");
    QTest::addColumn<uint>("ticks");
    QTest::newRow("auto-detect wait") << 500u << 5u;
    QTest::newRow("re-query wait") << 1000u << 10u;
    QTest::newRow("address change wait") << 2500u << 25u;
    QTest::newRow("below one unit") << 99u << 0u;
    QTest::newRow("zero") << 0u << 0u;
}

void TestWorker::waitUnit()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    QFETCH(uint, ms);
    QTEST(worker.setSleepDogValue_ms(ms), "ticks");
}

void TestWorker::tickOrder_data()
{
    QTest::addColumn<bool>("linkUp");
    QTest::addColumn<bool>("detecting");
    QTest::addColumn<uint>("waitMs");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<bool>("displayDue");
    QTest::addColumn<uint>("silence");

    // A wait suspends everything for exactly its number of ticks.
    QTest::newRow("wait 500, 5 ticks") << true << false << 500u << 5 << false << 0u;
    QTest::newRow("wait 500, 6 ticks") << true << false << 500u << 6 << true << 1u;
    QTest::newRow("wait 500, 8 ticks") << true << false << 500u << 8 << true << 3u;
    // Without a link only the wait and detection run: the display is never armed.
    QTest::newRow("no link") << false << false << 0u << 4 << false << 0u;
    QTest::newRow("no link after wait") << false << false << 500u << 10 << false << 0u;
    // While detection runs, the link tasks stand still.
    QTest::newRow("detecting") << true << true << 0u << 3 << false << 0u;
    QTest::newRow("serial link") << true << false << 0u << 1 << true << 1u;
}

void TestWorker::tickOrder()
{
    QFETCH(bool, linkUp);
    QFETCH(bool, detecting);
    QFETCH(uint, waitMs);
    QFETCH(int, ticks);

    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::fakeSerialLink(worker, linkUp);
    WorkerProbe::setAutoDetectRunning(worker, detecting);
    WorkerProbe::setReadingSettings(worker, false);
    WorkerProbe::setWaitTicks(worker, worker.setSleepDogValue_ms(waitMs));

    for (int i = 0; i < ticks; ++i)
        worker.tick();

    QTEST(WorkerProbe::displayDue(worker), "displayDue");
    QTEST(WorkerProbe::serialSilence(worker), "silence");
    QCOMPARE(WorkerProbe::waitTicks(worker), worker.setSleepDogValue_ms(waitMs) > uint(ticks)
                                                 ? worker.setSleepDogValue_ms(waitMs) - ticks
                                                 : 0u);
}

void TestWorker::readUserSettingsRestartsSweep()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::setReadingSettings(worker, false);
    WorkerProbe::setSettingsIterator(worker, 7);
    WorkerProbe::setMsgNr(worker, 42);

    QSignalSpy buttons(&worker, &Worker::enableAllButtons);
    worker.readUserSettings();

    QVERIFY(WorkerProbe::readingSettings(worker));
    QCOMPARE(WorkerProbe::settingsIterator(worker), 0);
    QCOMPARE(WorkerProbe::msgNr(worker), 0u);
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons.at(0).at(0).toBool(), false);
}

void TestWorker::stopWorkerEndsTheTick()
{
    Worker worker;
    QVERIFY(WorkerProbe::timerActive(worker));
    worker.stopWorker();
    QVERIFY(!WorkerProbe::timerActive(worker));
}

void TestWorker::consoleHaltAndStatisticsWindow()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    QVERIFY(!WorkerProbe::consoleHalted(worker));
    worker.consoleHalt(true);
    QVERIFY(WorkerProbe::consoleHalted(worker));
    worker.consoleHalt(false);
    QVERIFY(!WorkerProbe::consoleHalted(worker));

    QCOMPARE(WorkerProbe::statisticsTime(worker), 1);
    worker.setStatisticsTime(15);
    QCOMPARE(WorkerProbe::statisticsTime(worker), 15);
}

void TestWorker::recordsCrossThreadsIntact()
{
    QThread thread;
    auto *worker = new Worker;
    worker->moveToThread(&thread);
    connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    thread.start();

    OutputDataType sample;
    for (int i = 0; i < OutputDataType::FieldCount; ++i)
        sample.field[i] = QStringLiteral("+%1.25").arg(i);
    OutputProtocolType protocol;
    protocol.format = {0x80, 0x08, 0x00, 0x14};
    protocol.mask = 0x82;
    protocol.value = 0x80080014;
    protocol.header = QStringLiteral("$HDR");
    protocol.enabled = true;
    FactorySettingsT identity;
    identity.partNr = QStringLiteral("P-100");
    identity.serialId = QStringLiteral("0042");

    OutputDataType receivedSample;
    OutputProtocolType receivedProtocol;
    FactorySettingsT receivedIdentity;
    QThread *senderThread = nullptr;
    connect(worker, &Worker::signalDispalyOutputData, this,
            [&](const OutputDataType &s, const OutputProtocolType &p) {
                receivedSample = s;
                receivedProtocol = p;
                senderThread = QThread::currentThread();
            });
    connect(worker, &Worker::signalEnableSpecialHardwareFeature, this,
            [&](const FactorySettingsT &f) { receivedIdentity = f; });

    QMetaObject::invokeMethod(worker, [=] {
        emit worker->signalDispalyOutputData(sample, protocol);
        emit worker->signalEnableSpecialHardwareFeature(identity);
    });
    QTRY_COMPARE(receivedIdentity.serialId, identity.serialId);

    QCOMPARE(senderThread, QThread::currentThread());
    QCOMPARE(receivedSample.field, sample.field);
    QCOMPARE(receivedProtocol.format, protocol.format);
    QCOMPARE(receivedProtocol.mask, protocol.mask);
    QCOMPARE(receivedProtocol.value, protocol.value);
    QCOMPARE(receivedProtocol.header, protocol.header);
    QCOMPARE(receivedProtocol.enabled, true);
    QCOMPARE(receivedIdentity.partNr, identity.partNr);

    QMetaObject::invokeMethod(worker, &Worker::stopWorker, Qt::BlockingQueuedConnection);
    thread.quit();
    QVERIFY(thread.wait(5000));
}

QTEST_GUILESS_MAIN(TestWorker)
#include "tst_worker.moc"
