#include "CommandTable.h"
#include "EthernetSettingsDatagram.h"
#include "SettingsValues.h"

#include <QtEndian>
#include <QtTest>

#include <optional>

using namespace SettingsValues;

namespace {

// CRC-16/X-25 bit by bit, written from its definition (reflected 0x1021, init and xorout 0xFFFF).
uint16_t crcX25(QByteArrayView bytes)
{
    uint16_t crc = 0xFFFF;
    for (char byte : bytes) {
        crc ^= uint8_t(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0x8408) : uint16_t(crc >> 1);
    }
    return uint16_t(crc ^ 0xFFFF);
}

EthernetSettingsFields sampleFields()
{
    EthernetSettingsFields fields;
    fields.deviceUdpPort = 8088;
    fields.localUdpPort = 8080;
    fields.deviceAddress = {192, 168, 0, 100};
    fields.destinationAddress = {192, 168, 0, 120};
    fields.flags = 0x21;
    fields.protocolFormat = {0, 0, 0, 3};
    fields.baudCodes = {5, 1, 8};
    fields.frequency = 0x10064; // only the low 16 bits go out
    fields.rollOffset = 1.5;
    fields.pitchOffset = -1.5;
    fields.yawOffset = 0.1;
    fields.header = QStringLiteral("ABC");
    fields.northOffset = -0.1;
    return fields;
}

QByteArray hex(const char *text) { return QByteArray::fromHex(text); }

} // namespace

class TestSettingsValues : public QObject
{
    Q_OBJECT

private slots:
    // Every field at its offset, big-endian, offsets in 1/65536 degree rounded away from zero;
    // the CRC agrees with an independent X-25; the counter keeps its low 16 bits.
    void datagramLayout()
    {
        const QByteArray datagram = buildEthernetSettingsDatagram(sampleFields(), 0x12345);
        QCOMPARE(datagram.size(), EthernetSettingsDatagram::Size);
        const QByteArray expected = QByteArray("$QUORVX#") + hex("0000050A") + hex("1F98") + hex("1F90")
            + hex("C0A80064") + hex("C0A80078") + hex("00000021") + hex("00000003") + hex("05010800") + hex("0064")
            + hex("00018000") + hex("FFFE8000") + hex("0000199A") + QByteArray("ABC\0\0\0\0\0", 8) + hex("FFFFE666");
        QCOMPARE(datagram.left(EthernetSettingsDatagram::ChecksumOffset).toHex(), expected.toHex());
        QCOMPARE(qFromBigEndian<uint16_t>(datagram.constData() + EthernetSettingsDatagram::ChecksumOffset),
                 crcX25(expected));
        QCOMPARE(datagram.right(2).toHex(), QByteArray("2345"));
        QCOMPARE(buildEthernetSettingsDatagram(sampleFields(), 0x10000).right(2).toHex(), QByteArray("0000"));
    }

    void headerField_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("three letters") << "ABC" << QByteArray("ABC\0\0\0\0\0", 8);
        QTest::newRow("none: predefined protocol") << QString() << QByteArray(8, '\0');
        QTest::newRow("eight") << "ABCDEFGH" << QByteArray("ABCDEFGH");
        QTest::newRow("ten: cut") << "ABCDEFGHIJ" << QByteArray("ABCDEFGH");
        // Seven ASCII letters and a two-byte letter: the letter does not fit and is left out whole.
        QTest::newRow("cut on a character") << QString::fromUtf8("ABCDEFG\xc3\xa9") << QByteArray("ABCDEFG\0", 8);
        QTest::newRow("four two-byte letters") << QString::fromUtf8("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9")
                                               << QByteArray("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9");
        QTest::newRow("surrogate pair kept whole") << QString::fromUtf8("ABCDEF\xf0\x9f\x98\x80")
                                                   << QByteArray("ABCDEF\0\0", 8);
    }

    // Whatever the header, the datagram stays 66 bytes and the north offset stays in place.
    void headerField()
    {
        QFETCH(QString, header);
        QFETCH(QByteArray, field);
        EthernetSettingsFields fields = sampleFields();
        fields.header = header;
        const QByteArray datagram = buildEthernetSettingsDatagram(fields, 1);
        QCOMPARE(datagram.size(), EthernetSettingsDatagram::Size);
        QCOMPARE(datagram.mid(50, 8).toHex(), field.toHex());
        QCOMPARE(datagram.mid(58, 4).toHex(), QByteArray("ffffe666"));
    }

    void decimalFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("field"); // -1: no number
        const auto row = [](const char *text, qint64 field) {
            QTest::newRow(*text ? text : "empty") << QString::fromLatin1(text) << field;
        };
        row("010", 10); // leading zero is decimal
        row("65536", 65536);
        row("4294967295", 4294967295);
        row("4294967296", -1);
        for (const char *text : {"+5", "-5", "", "12a", " 1"})
            row(text, -1);
    }

    void decimalFields()
    {
        QFETCH(QString, text);
        const std::optional<uint32_t> value = decimalField(text);
        QTEST(value ? qint64(*value) : -1, "field");
    }

    void portNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("port"); // -1: no port
        const auto row = [](const char *name, const char *text, int port) {
            QTest::newRow(name) << QString::fromLatin1(text) << port;
        };
        row("empty", "", -1);
        row("0: the system chooses", "0", 0);
        row("8080", "8080", 8080);
        row("highest", "65535", 65535);
        row("above 65535", "65536", -1);
        row("leading zero is decimal", "010", 10);
        row("plus sign", "+5", -1);
        row("minus sign", "-5", -1);
        row("leading blank", " 5", -1);
        row("trailing blank", "5 ", -1);
        row("letter", "5a", -1);
        row("hexadecimal", "0x10", -1);
        row("eleven digits", "99999999999", -1);
        row("beyond 32 bits by a 16-bit remainder", "4295032831", -1); // 0x1_0000_FFFF
    }

    void portNumbers()
    {
        QFETCH(QString, text);
        const std::optional<uint16_t> port = portNumber(text);
        QTEST(port ? int(*port) : -1, "port");
    }

    void frequencyTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<uint>("number");
        QTest::newRow("custom") << "custom" << false << 0u;
        QTest::newRow("0") << "0" << false << 0u;
        QTest::newRow("1") << "1" << true << 1u;
        QTest::newRow("500") << "500" << true << 500u;
        QTest::newRow("501") << "501" << false << 501u;
        QTest::newRow("empty") << "" << false << 0u;
    }

    void frequencyTexts()
    {
        QFETCH(QString, text);
        QTEST(isFrequencyText(text), "valid");
        QTEST(frequencyNumber(text), "number");
    }

    void addresses_data()
    {
        QTest::addColumn<QStringList>("octets");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << QStringList{"192", "168", "0", "100"} << "192.168.0.100" << true << hex("C0A80064");
        QTest::newRow("leading zeros are decimal")
            << QStringList{"192", "168", "001", "010"} << "192.168.1.10" << true << hex("C0A8010A");
        QTest::newRow("empty octet") << QStringList{"192", "168", "", "7"} << "192.168..7" << false << hex("C0A80007");
        QTest::newRow("octet above 255") << QStringList{"192", "300", "0", "1"} << "192.300.0.1" << false
                                         << hex("C02C0001");
        QTest::newRow("three octets") << QStringList{"10", "0", "0"} << "10.0.0" << false << hex("0A000000");
        // Beyond 16 bits an octet's field is 0, not its low 8 bits (65836 is 0x1012C).
        QTest::newRow("octet above 65535") << QStringList{"192", "65836", "65535", "1"} << "192.65836.65535.1"
                                           << false << hex("C000FF01");
    }

    void addresses()
    {
        QFETCH(QStringList, octets);
        QFETCH(QByteArray, bytes);
        QTEST(addressText(octets), "text");
        QTEST(isValidAddress(octets), "valid");
        const std::array<uint8_t, 4> field = addressBytes(octets);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(field.data()), 4).toHex(), bytes.toHex());
        QCOMPARE(deviceAddressText(true, octets), QStringLiteral("0.0.0.0"));
    }

    void flagsWordRoundTrip()
    {
        for (uint32_t word = 0; word < 0x40; ++word)
            QCOMPARE(imuFlagsWord(flagBoxes(word)), word);
        QCOMPARE(imuFlagsWord(flagBoxes(0xFFFFFFC0)), 0u);
        FlagBoxes boxes;
        boxes.dynamicAddress = boxes.positiveYaw = true;
        QCOMPARE(imuFlagsWord(boxes), 0x30u);
    }

    // Each values text is read back by the worker's group store into the same values.
    void valuesTextsRoundTrip()
    {
        CommandTable::PendingSettings pending;
        InterfaceValues interface{QStringLiteral("115200"), QStringLiteral("9600"), QStringLiteral("unknown"),
                                  false, {"10", "0", "0", "07"}, {"192", "168", "000", "120"},
                                  QStringLiteral("8088"), QStringLiteral("8081")};
        QCOMPARE(interfaceValuesText(interface), QStringLiteral("115200;9600;unknown;0;0;10.0.0.7;192.168.0.120;8088;8081"));
        interface.dynamicAddress = true;
        const QString dynamic = interfaceValuesText(interface);
        CommandTable::storeSettingsGroup(pending, CommandTable::InterfaceTab, dynamic);
        QVERIFY(pending.dynamicAddress);
        QCOMPARE(pending.sip, QStringLiteral("0.0.0.0"));
        QCOMPARE(pending.dip, QStringLiteral("192.168.0.120"));
        QCOMPARE(pending.dsp, QStringLiteral("8081"));

        const OutputSettingsValues output{5, 1.5, 0.0, -2.25, 2, QStringLiteral("100")};
        QCOMPARE(outputSettingsValuesText(output), QStringLiteral("5;1.50;0.00;-2.25;100"));
        CommandTable::storeSettingsGroup(pending, CommandTable::OutputSettingsTab, outputSettingsValuesText(output));
        QCOMPARE(pending.flags, 5u);
        QCOMPARE(pending.yof, QStringLiteral("-2.25"));
        QCOMPARE(pending.frq, QStringLiteral("100"));

        const CompassValues compass{-12.25, 0.5, -4.0, 1.0, 1, 2};
        QCOMPARE(compassValuesText(compass), QStringLiteral("-12.3;0.50;-4.00;1.00"));
        QCOMPARE(protocolValuesText(QString(), {0, 0, 0, 3}), QStringLiteral(";0;0;0;3;0"));
        QCOMPARE(protocolValuesText(QStringLiteral("HDR"), {192, 128, 0, 0}), QStringLiteral("HDR;192;128;0;0;0"));
    }

};

QTEST_GUILESS_MAIN(TestSettingsValues)
#include "tst_settingsvalues.moc"
