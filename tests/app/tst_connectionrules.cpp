// The connection rules without widgets: which serial ports the settings dialog
// offers, and which network address entries the Ethernet link may use.

#include "EthernetInterfaces.h"
#include "SerialPortFilter.h"

#include <QtTest>

namespace {

using Flags = QNetworkInterface::InterfaceFlags;

QNetworkAddressEntry entry(const char *address, const char *broadcast = nullptr)
{
    QNetworkAddressEntry e;
    e.setIp(QHostAddress(QString::fromLatin1(address)));
    if (broadcast)
        e.setBroadcast(QHostAddress(QString::fromLatin1(broadcast)));
    return e;
}

QStringList addresses(const QList<QNetworkAddressEntry> &entries)
{
    QStringList texts;
    for (const QNetworkAddressEntry &e : entries)
        texts << e.ip().toString();
    return texts;
}

const Flags Up(QNetworkInterface::IsUp | QNetworkInterface::IsRunning | QNetworkInterface::CanBroadcast);

} // namespace

using SerialPortFilter::Platform;
Q_DECLARE_METATYPE(SerialPortFilter::Platform)
Q_DECLARE_METATYPE(QList<EthernetInterfaces::Interface>)

class TestConnectionRules : public QObject
{
    Q_OBJECT

private slots:
    void portFilter_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("description");
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<bool>("listed");
        const auto mac = Platform::MacOS, lnx = Platform::Linux;
        QTest::newRow("mac call-out device") << "/dev/cu.x" << "" << mac << true;
        QTest::newRow("mac call-out, upper case") << "/DEV/CU.x" << "" << mac << true;
        QTest::newRow("mac call-in device") << "/dev/tty.usbserial" << "" << mac << false;
        QTest::newRow("linux usb serial") << "/dev/ttyUSB0" << "" << lnx << true;
        QTest::newRow("linux cu") << "/dev/cu.x" << "" << lnx << true;
        QTest::newRow("linux pseudo terminal") << "/dev/pts/3" << "" << lnx << true;
        QTest::newRow("linux bluetooth") << "/dev/rfcomm0" << "" << lnx << true;
        QTest::newRow("linux on-board uart") << "/dev/ttyAMA0" << "" << lnx << true;
        QTest::newRow("mac bluetooth") << "/dev/cu.Bluetooth-Incoming-Port" << "" << mac << true;
        QTest::newRow("mac bluetooth call-in") << "/dev/tty.Bluetooth-Incoming-Port" << "" << mac << false;
        QTest::newRow("jig cable on bluetooth") << "/dev/rfcomm1" << "C232HM" << lnx << false;
        QTest::newRow("jig cable") << "/dev/ttyUSB0" << "C232HM-DDHSL-0" << lnx << false;
        QTest::newRow("lower-case cable name") << "/dev/ttyUSB0" << "c232hm" << lnx << true;
    }

    void portFilter()
    {
        QFETCH(QString, location);
        QFETCH(QString, description);
        QFETCH(Platform, platform);
        QTEST(SerialPortFilter::isListed(location, description, platform), "listed");
    }

    void usableEntries_data()
    {
        using EthernetInterfaces::Interface;
        QTest::addColumn<QList<Interface>>("interfaces");
        QTest::addColumn<QStringList>("expected");
        const Interface loopback{Up | QNetworkInterface::IsLoopBack, {entry("127.0.0.1")}};
        const Interface eth0{Up, {entry("192.168.0.5", "192.168.0.255"), entry("fe80::1")}};
        const Interface eth1{QNetworkInterface::IsUp, {entry("10.0.0.2", "10.0.0.255"), entry("10.0.1.2")}};
        const Interface down{QNetworkInterface::IsRunning | QNetworkInterface::CanBroadcast, {entry("172.16.0.1")}};
        const Interface ipv6Only{Up, {entry("fe80::2"), entry("2001:db8::5")}};
        QTest::newRow("none") << QList<Interface>{} << QStringList{};
        QTest::newRow("loopback skipped") << QList<Interface>{loopback, eth0} << QStringList{"192.168.0.5"};
        // Running and broadcast flags are not looked at; every IPv4 entry of an interface up counts, in order.
        QTest::newRow("two interfaces in order") << QList<Interface>{eth1, down, eth0}
                                                 << QStringList{"10.0.0.2", "10.0.1.2", "192.168.0.5"};
        QTest::newRow("IPv6 only contributes nothing") << QList<Interface>{ipv6Only} << QStringList{};
    }
    void usableEntries()
    {
        QFETCH(QList<EthernetInterfaces::Interface>, interfaces);
        QTEST(addresses(EthernetInterfaces::usableEntries(interfaces)), "expected");
    }

    void entryAtRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("expected");
        QTest::newRow("closed without a choice") << -1 << "none";
        QTest::newRow("second") << 1 << "192.168.0.5";
        QTest::newRow("past the end") << 2 << "none";
    }
    void entryAtRow()
    {
        QFETCH(int, row);
        const QList<QNetworkAddressEntry> entries{entry("10.0.0.2"), entry("192.168.0.5")};
        const auto chosen = EthernetInterfaces::entryAtRow(entries, row);
        QTEST(chosen ? chosen->ip().toString() : QStringLiteral("none"), "expected");
    }
};

QTEST_GUILESS_MAIN(TestConnectionRules)
#include "tst_connectionrules.moc"
