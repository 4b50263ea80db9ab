// The Ethernet connection of the main window: which interface entries qualify,
// and, inside a network namespace the test makes itself, the action against
// the real interfaces of that namespace.

#include "EthernetInterfaces.h"
#include "NetNamespace.h"

#include <QtTest>
#include <QtWidgets>

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

Q_DECLARE_METATYPE(QList<EthernetInterfaces::Interface>)

class TestEthernet : public QObject
{
    Q_OBJECT

public:
    explicit TestEthernet(const QString &refused) : m_refused(refused) {}

private slots:
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
        QTest::newRow("loopback only") << QList<Interface>{loopback} << QStringList{};
        QTest::newRow("one up") << QList<Interface>{loopback, eth0} << QStringList{"192.168.0.5"};
        // Running and broadcast flags are not looked at; every IPv4 entry counts, in order.
        QTest::newRow("two interfaces in order") << QList<Interface>{eth1, down, eth0}
                                                 << QStringList{"10.0.0.2", "10.0.1.2", "192.168.0.5"};
        QTest::newRow("down is skipped") << QList<Interface>{down} << QStringList{};
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
        QTest::newRow("first") << 0 << "10.0.0.2";
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

private:
    QString m_refused;
};

int main(int argc, char **argv)
{
    const QString refused = NetNamespace::enter();
    QApplication app(argc, argv);
    TestEthernet test(refused);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ethernet.moc"
