// Discovery by broadcast on the real default ports, inside a network namespace
// the test makes itself, so the ports are free and no broadcast leaves the machine.

#include "NetNamespace.h"
#include "UdpDevice.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QUdpSocket>
#include <QtTest>

namespace {
constexpr int Timeout = 5000;
}

class TestUdpDiscovery : public QObject
{
    Q_OBJECT

public:
    explicit TestUdpDiscovery(const QString &refused) : m_refused(refused) {}

private slots:
    void initTestCase()
    {
        if (!m_refused.isEmpty())
            QSKIP(qPrintable("no network namespace for the discovery tests (" + m_refused + ")"));
        registerDeviceMetaTypes();
        QLoggingCategory::setFilterRules(QStringLiteral("orvanta.engine.debug=false"));
    }

    // The unit on the other end of the veth pair hears the broadcast on the
    // default device port, answers to the default local port, and is then
    // asked for its settings at its own address.
    void broadcastFindsDevice()
    {
        UdpDevice device(QHostAddress(QHostAddress::AnyIPv4), Worker::DefaultDeviceUdpPort);
        QVERIFY(device.isBound());
        device.record.address = {10, 77, 0, 2};
        Worker worker;
        WorkerProbe::stopTimer(worker);
        worker.EthernetConnectTriggered(true, QHostAddress(NetNamespace::HostAddress),
                                        QHostAddress(NetNamespace::BroadcastAddress));
        QCOMPARE(WorkerProbe::udpSocket(worker)->localPort(), Worker::DefaultLocalUdpPort);
        worker.udpTimerTask();
        QTRY_COMPARE_WITH_TIMEOUT(device.received().size(), 1, Timeout);
        QCOMPARE(device.received().first().bytes, QByteArray("READ$QUORVX#0000   scan for IMU   "));
        QCOMPARE(device.received().first().senderPort, Worker::DefaultLocalUdpPort);
        QTRY_VERIFY_WITH_TIMEOUT(!WorkerProbe::scanning(worker), Timeout);
        QCOMPARE(WorkerProbe::deviceAddress(worker), QHostAddress(NetNamespace::DeviceAddress));

        worker.readUserSettings();
        worker.udpTimerTask();
        QTRY_COMPARE_WITH_TIMEOUT(device.received().size(), 2, Timeout);
        QVERIFY(device.received().last().bytes.startsWith("READ$QUORVX#0000   Read IMU Settings  00"));
    }

private:
    QString m_refused;
};

int main(int argc, char **argv)
{
    const QString refused = NetNamespace::enter();
    QCoreApplication app(argc, argv);
    TestUdpDiscovery test(refused);
    return NetNamespace::finish(QTest::qExec(&test, argc, argv), refused);
}

#include "tst_udpdiscovery.moc"
