// The settings panel's rules without widgets: the clean-up and verdict of the
// port and octet edits, the change markers each Apply turns into a mask, what
// the Apply sends for addresses and ports, and the protocol choice.

#include "EditTexts.h"
#include "ProtocolChoice.h"
#include "SendableSettings.h"
#include "SettingsMarkers.h"
#include "SettingsValues.h"

#include <QtTest>

using namespace EditTexts;
using SettingsValues::MaxOctet;
using SettingsValues::MaxPort;

namespace {

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

} // namespace

class TestSettingsRules : public QObject
{
    Q_OBJECT

private slots:
    void editTexts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cleaned");
        QTest::addColumn<int>("octetVerdict");
        QTest::addColumn<int>("portVerdict");
        const int ok = int(EditVerdict::Acceptable), partial = int(EditVerdict::Intermediate),
                  refused = int(EditVerdict::Invalid);
        QTest::newRow("comma removed") << "1,2" << "12" << ok << ok;
        QTest::newRow("plus empties") << "5+" << "" << partial << partial;
        QTest::newRow("plain") << "255" << "255" << ok << ok;
        QTest::newRow("octet too big") << "256" << "256" << refused << ok;
        QTest::newRow("999") << "999" << "999" << refused << ok;
        QTest::newRow("port too big") << "99999" << "99999" << refused << refused;
        QTest::newRow("empty") << "" << "" << partial << partial;
        QTest::newRow("letter") << "1a" << "1a" << refused << refused;
        QTest::newRow("minus") << "-1" << "-1" << refused << refused;
        QTest::newRow("comma hides too big") << "25,6" << "256" << refused << ok;
    }

    void editTexts()
    {
        QFETCH(QString, typed);
        QTEST(cleanedEditText(typed), "cleaned");
        QTEST(int(checkEditText(typed, MaxOctet)), "octetVerdict");
        QTEST(int(checkEditText(typed, MaxPort)), "portVerdict");
    }

    void interfaceMasks_data()
    {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<bool>("addressesValid");
        QTest::addColumn<bool>("portsValid");
        QTest::addColumn<uint>("mask");
        QTest::addColumn<bool>("resetPort");
        QTest::addColumn<bool>("scan");
        QTest::newRow("nothing") << "" << true << true << 0u << false << false;
        QTest::newRow("local port") << "local" << true << true << 0x20u << true << true;
        QTest::newRow("device port") << "port" << true << true << 0x10u << false << true;
        QTest::newRow("baud 1") << "bd1" << true << true << 0x4000u << false << false;
        QTest::newRow("baud 3") << "bd3" << true << true << 0x10000u << false << false;
        QTest::newRow("device address") << "sip" << true << true << 0x40u << false << true;
        QTest::newRow("destination") << "dip" << true << true << 0x80u << false << true;
        QTest::newRow("bad device address held back") << "sip" << false << true << 0u << false << false;
        QTest::newRow("bad destination held back") << "dip bd2" << false << true << 0x8000u << false << false;
        QTest::newRow("emptied local port left out") << "local" << true << false << 0u << false << false;
        QTest::newRow("emptied device port left out") << "port bd1" << true << false << 0x4000u << false << false;
    }

    void interfaceMasks()
    {
        QFETCH(QString, changed);
        QFETCH(bool, addressesValid);
        QFETCH(bool, portsValid);
        QFETCH(bool, resetPort);
        QFETCH(bool, scan);
        SettingsMarkers markers;
        markers.m_localPortChanged = changed.contains("local");
        markers.m_imuPortChanged = changed.contains("port");
        markers.m_rs232BaudChanged = changed.contains("bd1");
        markers.m_rs422BaudChanged = changed.contains("bd2");
        markers.m_gps232BaudChanged = changed.contains("bd3");
        markers.m_imuAddressChanged = changed.contains("sip");
        markers.m_dstAddressChanged = changed.contains("dip");
        const SettingsMarkerMasks::SendableChecks checks{addressesValid, addressesValid, portsValid, portsValid};
        const uint32_t taken = SettingsMarkerMasks::takeInterfaceMask(markers, checks);
        QTEST(taken, "mask");
        QCOMPARE(markers.m_imuAddressChanged, changed.contains("sip")); // still set for the datagram
        const SettingsMarkerMasks::InterfaceFinish finish =
            SettingsMarkerMasks::finishInterfaceApply(markers, taken, checks);
        QCOMPARE(finish.resetPort, resetPort);
        QCOMPARE(finish.scan, scan);
        QVERIFY(!markers.m_localPortChanged && !markers.m_imuPortChanged && !markers.m_rescanNeeded
                && !markers.m_rs232BaudChanged);
        // A held-back address keeps its marker, so the next Apply tells the user again.
        QCOMPARE(markers.m_imuAddressChanged, changed.contains("sip") && !addressesValid);
        QCOMPARE(markers.m_dstAddressChanged, changed.contains("dip") && !addressesValid);
    }

    void otherTabMasks()
    {
        SettingsMarkers markers;
        markers.m_frequencyChanged = markers.m_yawOffsetChanged = markers.m_xGaussChanged = true;
        markers.m_zGaussChanged = markers.m_rs232BaudChanged = markers.m_rescanNeeded = true;
        QCOMPARE(SettingsMarkerMasks::takeOutputSettingsMask(markers), 0x801u);
        QCOMPARE(SettingsMarkerMasks::takeOutputSettingsMask(markers), 0u);
        QCOMPARE(SettingsMarkerMasks::takeCompassMask(markers), 0x280000u);
        QVERIFY(markers.m_rs232BaudChanged);
        markers.m_dstAddressChanged = markers.m_flagsChanged = markers.m_localPortChanged = true;
        SettingsMarkerMasks::clearConnectionMarkers(markers);
        QVERIFY(!markers.m_rs232BaudChanged && !markers.m_rescanNeeded && !markers.m_localPortChanged);
        QVERIFY(markers.m_dstAddressChanged && markers.m_flagsChanged);
    }

    // An address group typed wrong goes out as the device reported it.
    void sendableOctets_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("sent");
        const QStringList reported{"10", "0", "0", "5"};
        QTest::newRow("an address") << QStringList{"192", "168", "000", "7"} << QStringList{"192", "168", "000", "7"};
        QTest::newRow("empty octet") << QStringList{"192", "168", "", "7"} << reported;
        QTest::newRow("octet above 255") << QStringList{"192", "256", "0", "7"} << reported;
        QTest::newRow("three octets") << QStringList{"192", "168", "0"} << reported;
    }

    void sendableOctets()
    {
        QFETCH(QStringList, typed);
        QTEST(SendableSettings::sendableOctets(typed, {"10", "0", "0", "5"}), "sent");
    }

    void octetTexts()
    {
        QCOMPARE(SendableSettings::octetTexts(0xC0A80064u), (QStringList{"192", "168", "0", "100"}));
        QCOMPARE(SendableSettings::octetTexts(0xFF00010Au), (QStringList{"255", "0", "1", "10"}));
    }

    // An emptied port edit is no port: the datagram carries the reported one; an explicit 0 is a port.
    void sendablePorts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sendable");
        QTest::addColumn<int>("sent");
        QTest::newRow("typed") << "9000" << true << 9000;
        QTest::newRow("leading zero") << "09000" << true << 9000;
        QTest::newRow("never octal") << "010" << true << 10;
        QTest::newRow("highest") << "65535" << true << 65535;
        QTest::newRow("explicit 0") << "0" << true << 0;
        QTest::newRow("empty") << "" << false << 8088;
        QTest::newRow("just above 65535") << "65536" << false << 8088;
        QTest::newRow("above 65535") << "70000" << false << 8088;
        QTest::newRow("eleven digits") << "99999999999" << false << 8088;
        QTest::newRow("plus sign") << "+5" << false << 8088;
        QTest::newRow("leading blank") << " 5" << false << 8088;
        QTest::newRow("not a number") << "80a" << false << 8088;
    }

    void sendablePorts()
    {
        QFETCH(QString, text);
        QTEST(SendableSettings::isSendablePort(text), "sendable");
        QTEST(int(SendableSettings::sendablePort(text, 8088)), "sent");
    }

    // Zeros go out as the device address only on the switch to automatic addressing.
    void zeroedDeviceAddress_data()
    {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<bool>("addressChanged");
        QTest::addColumn<uint>("heldFlags");
        QTest::addColumn<bool>("zero");
        QTest::newRow("switching to automatic") << true << true << 0x21u << true;
        QTest::newRow("device already automatic") << true << true << 0x31u << false;
        QTest::newRow("automatic, address not touched") << true << false << 0x0u << false;
        QTest::newRow("fixed address") << false << true << 0x0u << false;
    }

    void zeroedDeviceAddress()
    {
        QFETCH(bool, automatic);
        QFETCH(bool, addressChanged);
        QFETCH(uint, heldFlags);
        QTEST(SendableSettings::shouldZeroDeviceAddress(automatic, addressChanged, heldFlags), "zero");
    }

    void protocolViews_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("label");
        QTest::newRow("default -1") << hex("FFFFFFFF") << int(ProtocolChoice::View::Predefined) << 2 << "Raw Data";
        QTest::newRow("raw 1") << hex("00000001") << int(ProtocolChoice::View::Predefined) << 2 << "Raw Data";
        QTest::newRow("-2") << hex("FFFFFFFE") << int(ProtocolChoice::View::Reserved) << 1 << "Reserved";
        QTest::newRow("-16") << hex("FFFFFFF0") << int(ProtocolChoice::View::Reserved) << 1 << "Reserved";
        QTest::newRow("-17 custom") << hex("FFFFFFEF") << int(ProtocolChoice::View::Custom) << -1 << "HEADER";
        QTest::newRow("TSS1") << hex("00000003") << int(ProtocolChoice::View::Predefined) << 3 << "Protocol";
        QTest::newRow("EulerB 9") << hex("00000009") << int(ProtocolChoice::View::Predefined) << 7 << "Protocol";
        QTest::newRow("EulerL 8") << hex("00000008") << int(ProtocolChoice::View::Predefined) << 8 << "Protocol";
        QTest::newRow("PRDID") << hex("0000000F") << int(ProtocolChoice::View::Predefined) << 11 << "Protocol";
        QTest::newRow("UPX") << hex("00000004") << int(ProtocolChoice::View::Predefined) << 12 << "Protocol";
        QTest::newRow("0") << hex("00000000") << int(ProtocolChoice::View::Custom) << -1 << "HEADER";
        QTest::newRow("19") << hex("00000013") << int(ProtocolChoice::View::Custom) << -1 << "HEADER";
        QTest::newRow("roll, pitch, Ax") << hex("C0800014") << int(ProtocolChoice::View::Custom) << -1 << "HEADER";
    }

    void protocolViews()
    {
        QFETCH(QByteArray, format);
        QFETCH(int, kind);
        QFETCH(int, index);
        QFETCH(QString, label);
        std::array<uint8_t, 4> bytes{};
        std::copy(format.begin(), format.end(), bytes.begin());
        const ProtocolChoice::View view = ProtocolChoice::viewFor(bytes);
        QCOMPARE(int(view.kind), kind);
        QCOMPARE(view.index, index);
        QCOMPARE(view.label, label);
        if (view.kind == ProtocolChoice::View::Custom)
            QCOMPARE(QByteArray().append(char(view.byte0)).append(char(view.byte1)).toHex(), format.left(2).toHex());
    }

    void protocolItems()
    {
        const QStringList items = ProtocolChoice::itemTexts();
        QCOMPARE(items.size(), 13);
        QCOMPARE(items.first(), QStringLiteral("custom"));
        QCOMPARE(items.mid(7, 2), (QStringList{"EulerB", "EulerL"}));
        QCOMPARE(items.last(), QStringLiteral("UPX"));
    }

    void protocolRequests_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<uint>("mask");
        QTest::newRow("custom") << 0 << hex("C0800000") << 0x1002u;
        QTest::newRow("Reserved") << 1 << hex("C0800000") << 0x1002u;
        QTest::newRow("no selection") << -1 << hex("C0800000") << 0x1002u;
        QTest::newRow("RawData") << 2 << hex("00000001") << 0x2u;
        QTest::newRow("TSS1") << 3 << hex("00000003") << 0x2u;
        QTest::newRow("EulerB") << 7 << hex("00000009") << 0x2u;
        QTest::newRow("EulerL") << 8 << hex("00000008") << 0x2u;
        QTest::newRow("EM3000") << 10 << hex("0000000E") << 0x2u;
        QTest::newRow("UPX") << 12 << hex("00000004") << 0x2u;
        QTest::newRow("past the list") << 13 << hex("C0800000") << 0x1002u;
    }

    void protocolRequests()
    {
        QFETCH(int, index);
        QFETCH(QByteArray, format);
        QFETCH(uint, mask);
        const ProtocolChoice::Request request = ProtocolChoice::requestFor(index, 0xC0, 0x80);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(request.format.data()), 4).toHex(), format.toHex());
        QCOMPARE(request.mask, mask);
    }
};

QTEST_GUILESS_MAIN(TestSettingsRules)
#include "tst_settingsrules.moc"
