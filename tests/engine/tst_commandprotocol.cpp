#include "AnswerParser.h"
#include "CommandTable.h"

#include <QtTest>

using namespace CommandTable;
using AnswerParser::AnswerKey;

Q_DECLARE_METATYPE(AnswerParser::AnswerKey)

namespace {

using Format = std::array<uint8_t, 4>;

// The optional text as a row value: "-" for nothing.
QString shown(const std::optional<QString> &text)
{
    return text.value_or(QStringLiteral("-"));
}

QString joined(const std::optional<QList<QByteArray>> &parts)
{
    return parts ? QString::fromLatin1(parts->join('|')) : QStringLiteral("-");
}

} // namespace

// The command table and the answer parser: the lists the device protocol is
// made of, the answer codes, the payload readers and the set-line value texts.
class TestCommandProtocol : public QObject
{
    Q_OBJECT

private slots:
    void commandLists()
    {
        const QList<QByteArray> readout{
            "$getsrn#", "$getprn#", "$getfrq#", "$getfwv#", "$getbd1#", "$getbd2#", "$getbd3#",
            "$getgps#", "$getprt#", "$getprt#1", "$getprt#2", "$getflg#", "$getrof#", "$getpof#",
            "$getyof#", "$getsrp#", "$getdsp#", "$getsip#", "$getdip#",
        };
        QCOMPARE(GetCommands(), readout);

        const QHash<QByteArray, int> heads{
            {"$setsrn#", 0},  {"$setfrq#", 1},  {"$setbd1#", 2},  {"$setbd2#", 3},  {"$setbd3#", 4},
            {"$setgps#", 5},  {"$sethdr#", 6},  {"$setprt#", 7},  {"$setsrp#", 8},  {"$setdsp#", 9},
            {"$setsip#", 10}, {"$setdip#", 11}, {"$setflg#", 12}, {"$setrof#", 13}, {"$setpof#", 14},
            {"$setyof#", 15}, {"$setnor#", 16}, {"$setmxb#", 17}, {"$setmyb#", 18}, {"$setmzb#", 19},
        };
        QCOMPARE(SetCmdMap(), heads);
        for (auto it = heads.cbegin(); it != heads.cend(); ++it)
            QCOMPARE(setCommandHead(it.value()), it.key());
        QCOMPARE(setCommandHead(NoSetting), QByteArray());
        QCOMPARE(setCommandHead(20), QByteArray());

        QCOMPARE(queryRow(AnswerKey::SerialNumber), 0);
        QCOMPARE(queryRow(AnswerKey::Protocol), 8);
        QCOMPARE(queryRow(AnswerKey::DeviceAddress), 17);
        QCOMPARE(queryRow(AnswerKey::NorthOffset), -1);
        QCOMPARE(queryLine(19), QByteArray("$getsrn#\r\n"));
        QCOMPARE(queryLine(-1), QByteArray("$getdip#\r\n"));
        QCOMPARE(setLine(FrequencySetting, QStringLiteral("100")), QByteArray("$setfrq#100\r\n"));
    }

    // Every pending bit goes out once, highest priority first, and is named by
    // its head in that order; bits no setting owns are never picked.
    void sendingOrder()
    {
        const QList<int> expected{FrequencySetting,   HeaderSetting,        ProtocolSetting,
                                  SerialNumberSetting, Baud1Setting,        Baud2Setting,
                                  Baud3Setting,       GpsSetting,           DeviceAddressSetting,
                                  DestinationAddressSetting, FlagsSetting,  DeviceUdpPortSetting,
                                  LocalUdpPortSetting, RollOffsetSetting,   PitchOffsetSetting,
                                  YawOffsetSetting,   NorthOffsetSetting,   MagXSetting,
                                  MagYSetting,        MagZSetting};
        uint32_t mask = 0xFFFFFFFF;
        QList<int> sent;
        for (SetCommand command = nextSetCommand(mask); command.isValid(); command = nextSetCommand(mask)) {
            QCOMPARE(setCommandHead(command.number).isEmpty(), false);
            mask &= ~command.bit;
            sent << command.number;
        }
        QCOMPARE(sent, expected);
        QCOMPARE(mask, uint32_t(0x8 | 0x2000 | 0xFFC00000));
        QVERIFY(!nextSetCommand(0).isValid());
        QCOMPARE(nextSetCommand(MagZBit | PitchOffsetBit).number, int(PitchOffsetSetting));

        QCOMPARE(setCommandHeads(0xFFFFFFFF).size(), expected.size());
        QCOMPARE(setCommandHeads(Baud1Bit | FrequencyBit | 0x8), (QList<QByteArray>{"$setfrq#", "$setbd1#"}));
        QCOMPARE(setCommandHeads(0x8 | 0x2000), QList<QByteArray>());
    }

    void answerKey_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<AnswerKey>("key");
        QTest::addColumn<QByteArray>("payload");
        const std::pair<const char *, AnswerKey> codes[] = {
            {"echocmd", AnswerKey::EchoCommand}, {"srn", AnswerKey::SerialNumber},
            {"prn", AnswerKey::PartNumber},       {"fwv", AnswerKey::FirmwareVersion},
            {"frq", AnswerKey::Frequency},        {"bd1", AnswerKey::Baud1},
            {"bd2", AnswerKey::Baud2},            {"bd3", AnswerKey::Baud3},
            {"gps", AnswerKey::Gps},              {"prt", AnswerKey::Protocol},
            {"hdr", AnswerKey::Header},           {"hd1", AnswerKey::Header},
            {"hd2", AnswerKey::Header},           {"flg", AnswerKey::Flags},
            {"rof", AnswerKey::RollOffset},       {"pof", AnswerKey::PitchOffset},
            {"yof", AnswerKey::YawOffset},        {"nor", AnswerKey::NorthOffset},
            {"mxb", AnswerKey::MagX},             {"myb", AnswerKey::MagY},
            {"mzb", AnswerKey::MagZ},             {"srp", AnswerKey::DeviceUdpPort},
            {"dsp", AnswerKey::LocalUdpPort},     {"sip", AnswerKey::DeviceAddress},
            {"dip", AnswerKey::DestinationAddress},
        };
        for (const auto &[code, key] : codes)
            QTest::addRow("%s", code) << "$" + QByteArray(code) + "#42\r\n" << key << QByteArray("42");
        QTest::newRow("set echo") << QByteArray("$setfrq#100") << AnswerKey::Frequency << QByteArray("100");
        QTest::newRow("spaces around") << QByteArray("  $ flg# 0.0.0.1 \r\n") << AnswerKey::Flags << QByteArray(" 0.0.0.1");
        QTest::newRow("payload with hash") << QByteArray("$hdr#A#B") << AnswerKey::Header << QByteArray("A#B");
        QTest::newRow("key only in payload") << QByteArray("$xyz#frq#") << AnswerKey::None << QByteArray("frq#");
        QTest::newRow("unknown code") << QByteArray("$abc#1") << AnswerKey::None << QByteArray("1");
        QTest::newRow("no hash") << QByteArray("$frq 100") << AnswerKey::None << QByteArray("$frq 100");
        QTest::newRow("empty") << QByteArray() << AnswerKey::None << QByteArray();
        QTest::newRow("binary") << QByteArray("\xFA\xFF\x00$\x90#", 6) << AnswerKey::None << QByteArray();
    }

    void answerKey()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, payload);
        const AnswerParser::Answer answer = AnswerParser::splitAnswer(line);
        QTEST(AnswerParser::findAnswerKey(answer.code), "key");
        QCOMPARE(answer.payload, payload);
    }

    void identity_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("firmware");
        QTest::newRow("maker serial")
            << QByteArray("VRN0120230512345") << "01|202305|1234" << "VRN0120230512345" << "VRN0120230512345";
        QTest::newRow("plain serial") << QByteArray("0120230") << "-" << "-" << "-";
        QTest::newRow("eight bytes") << QByteArray("AB123456") << "AB|123456|" << "-" << "-";
        QTest::newRow("maker prefix only") << QByteArray("VRN") << "-" << "-" << "-";
        QTest::newRow("ten bytes") << QByteArray("V1.2.3-abc") << "V1|.2.3-a|bc" << "-" << "V1.2.3-abc";
        QTest::newRow("empty") << QByteArray() << "-" << "-" << "-";
    }

    void identity()
    {
        QFETCH(QByteArray, payload);
        const auto fields = AnswerParser::parseSerialNumber(payload);
        const QString serial = fields ? QStringList{fields->hardwareId, fields->date, fields->serialId}.join('|')
                                      : QStringLiteral("-");
        QTEST(serial, "serial");
        QTEST(shown(AnswerParser::parsePartNumber(payload)), "part");
        QTEST(shown(AnswerParser::parseFirmwareVersion(payload)), "firmware");
    }

    void numbersAndAddresses_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("port");
        QTest::addColumn<double>("floating");
        QTest::addColumn<int>("gps");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("destination");
        QTest::newRow("port") << QByteArray("8088") << 8088 << 8088.0 << 0 << "-" << "-";
        QTest::newRow("port too large") << QByteArray("65536") << 0 << 65536.0 << 0 << "-" << "-";
        QTest::newRow("negative") << QByteArray("-2.25") << 0 << -2.25 << 0 << "-" << "-";
        QTest::newRow("not a number") << QByteArray("abc") << 0 << 0.0 << 0 << "-" << "-";
        QTest::newRow("gps rs422") << QByteArray("RS422") << 0 << 0.0 << 1 << "-" << "-";
        QTest::newRow("no gps") << QByteArray("NOGPS") << 0 << 0.0 << 2 << "-" << "-";
        QTest::newRow("address") << QByteArray("192.168.0.100") << 0 << 0.0 << 0 << "192|168|0|100"
                                 << "192|168|0|100";
        QTest::newRow("address with commas") << QByteArray("192,168.0,120") << 0 << 0.0 << 0 << "-"
                                             << "192|168|0|120";
        QTest::newRow("short address") << QByteArray("10.0.1") << 0 << 0.0 << 0 << "-" << "-";
        QTest::newRow("empty") << QByteArray() << 0 << 0.0 << 0 << "-" << "-";
        // What is no finite number reads as 0.
        for (const char *text : {"nan", "inf", "-inf", "1e999"})
            QTest::newRow(text) << QByteArray(text) << 0 << 0.0 << 0 << "-" << "-";
    }

    void numbersAndAddresses()
    {
        QFETCH(QByteArray, payload);
        QTEST(int(AnswerParser::parseUint16(payload)), "port");
        QTEST(AnswerParser::parseFloating(payload), "floating");
        QTEST(int(AnswerParser::parseGpsInput(payload)), "gps");
        QTEST(joined(AnswerParser::parseDeviceAddress(payload)), "device");
        QTEST(joined(AnswerParser::parseDestinationAddress(payload)), "destination");
        QCOMPARE(AnswerParser::isNullAddress(payload), false);
        QVERIFY(AnswerParser::isNullAddress("0.0.0.0"));
    }

    // The flags word travels as four dotted bytes both ways.
    void flagsRoundTrip_data()
    {
        QTest::addColumn<uint>("flags");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0u << "0.0.0.0";
        QTest::newRow("low byte") << 0x21u << "0.0.0.33";
        QTest::newRow("every byte") << 0x01020304u << "1.2.3.4";
        QTest::newRow("all bits") << 0xFFFFFFFFu << "255.255.255.255";
    }

    void flagsRoundTrip()
    {
        QFETCH(uint, flags);
        QFETCH(QString, text);
        QCOMPARE(flagsText(flags), text);
        QCOMPARE(AnswerParser::parseFlags(text.toLatin1()), std::optional<uint32_t>(flags));
        QCOMPARE(AnswerParser::parseFlags(text.toLatin1().replace('.', '-')), std::optional<uint32_t>(flags));
    }

    void flagsRejected()
    {
        QCOMPARE(AnswerParser::parseFlags(""), std::nullopt);
        QCOMPARE(AnswerParser::parseFlags("33"), std::nullopt);
        QCOMPARE(AnswerParser::parseFlags("1.2.3"), std::nullopt);
    }

    // The protocol format travels as "b0.b1.b2.b3:slot"; a slot past the last reads as 0.
    void protocolRoundTrip_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("slotRead");
        QTest::newRow("custom slot 0") << Format{128, 0, 0, 20} << 0 << "128.0.0.20:0" << 0;
        QTest::newRow("slot 1") << Format{0, 0, 0, 5} << 1 << "0.0.0.5:1" << 1;
        QTest::newRow("slot 2") << Format{255, 255, 255, 240} << 2 << "255.255.255.240:2" << 2;
        QTest::newRow("slot past the last") << Format{1, 2, 3, 4} << 3 << "1.2.3.4:3" << 0;
    }

    void protocolRoundTrip()
    {
        QFETCH(Format, format);
        QFETCH(int, slot);
        QFETCH(QString, text);
        QCOMPARE(protocolFormatText(format, slot), text);
        const auto answer = AnswerParser::parseProtocol(text.toLatin1());
        QVERIFY(answer);
        QCOMPARE(answer->format, format);
        QTEST(int(answer->slot), "slotRead");
        const auto commas = AnswerParser::parseProtocol(text.toLatin1().replace('.', ','));
        QVERIFY(commas);
        QCOMPARE(commas->format, format);
    }

    void protocolRejected()
    {
        QCOMPARE(AnswerParser::parseProtocol("").has_value(), false);
        QCOMPARE(AnswerParser::parseProtocol("1234").has_value(), false);
        QCOMPARE(AnswerParser::parseProtocol("1.2.3").has_value(), false);
        const auto noSlot = AnswerParser::parseProtocol("1.2.3.4");
        QVERIFY(noSlot);
        QCOMPARE(int(noSlot->slot), 0);
    }

    // A group's ";"-joined values are stored, then each setting is sent with its
    // value text ("-" when it is not sent at all).
    void groupStoreAndValueTexts_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("values");
        QTest::addColumn<int>("setting");
        QTest::addColumn<QString>("text");
        const QString interface = QStringLiteral("9600;115200;unknown;RS232;0;192.168.0.100;192.168.0.120;8088;8080");
        QTest::newRow("baud 1") << int(InterfaceTab) << interface << int(Baud1Setting) << "9600";
        QTest::newRow("baud 2") << int(InterfaceTab) << interface << int(Baud2Setting) << "115200";
        QTest::newRow("unknown baud not sent") << int(InterfaceTab) << interface << int(Baud3Setting) << "-";
        QTest::newRow("gps") << int(InterfaceTab) << interface << int(GpsSetting) << "RS232";
        QTest::newRow("device address") << int(InterfaceTab) << interface << int(DeviceAddressSetting)
                                        << "192.168.0.100";
        QTest::newRow("destination") << int(InterfaceTab) << interface << int(DestinationAddressSetting)
                                     << "192.168.0.120";
        QTest::newRow("device port") << int(InterfaceTab) << interface << int(DeviceUdpPortSetting) << "8088";
        QTest::newRow("local port") << int(InterfaceTab) << interface << int(LocalUdpPortSetting) << "8080";
        QTest::newRow("dynamic address")
            << int(InterfaceTab) << "9600;9600;9600;RS232;1;10.0.0.9" << int(DeviceAddressSetting) << "0.0.0.0";
        QTest::newRow("port out of range")
            << int(InterfaceTab) << "9600;9600;9600;RS232;0;1.2.3.4;5.6.7.8;65536;-1" << int(DeviceUdpPortSetting)
            << "0";
        QTest::newRow("short interface list") << int(InterfaceTab) << "4800" << int(Baud1Setting) << "4800";

        const QString output = QStringLiteral("33;1,5;0.00;-2.25;100");
        QTest::newRow("flags") << int(OutputSettingsTab) << output << int(FlagsSetting) << "0.0.0.33";
        QTest::newRow("roll comma") << int(OutputSettingsTab) << output << int(RollOffsetSetting) << "1.5";
        QTest::newRow("pitch") << int(OutputSettingsTab) << output << int(PitchOffsetSetting) << "0.00";
        QTest::newRow("yaw") << int(OutputSettingsTab) << output << int(YawOffsetSetting) << "-2.25";
        QTest::newRow("frequency") << int(OutputSettingsTab) << output << int(FrequencySetting) << "100";

        const QString compass = QStringLiteral("5;1.50;0.00;-2.25;100");
        QTest::newRow("north") << int(CompassTab) << compass << int(NorthOffsetSetting) << "5";
        QTest::newRow("mag x") << int(CompassTab) << compass << int(MagXSetting) << "1.50";
        QTest::newRow("mag y") << int(CompassTab) << compass << int(MagYSetting) << "0.00";
        QTest::newRow("mag z") << int(CompassTab) << compass << int(MagZSetting) << "-2.25";
        QTest::newRow("compass leaves frequency") << int(CompassTab) << compass << int(FrequencySetting) << "";

        QTest::newRow("serial number never sent") << int(InterfaceTab) << interface << int(SerialNumberSetting)
                                                  << "-";
        QTest::newRow("protocol tab stores nothing") << int(OutputProtocolTab) << output << int(FlagsSetting)
                                                     << "0.0.0.0";
        QTest::newRow("unknown number") << int(InterfaceTab) << interface << 20 << "-";
    }

    void groupStoreAndValueTexts()
    {
        QFETCH(int, tab);
        QFETCH(QString, values);
        QFETCH(int, setting);
        PendingSettings pending;
        storeSettingsGroup(pending, tab, values);
        QTEST(shown(settingValue(setting, pending, ProtocolRequest{})), "text");
    }

    // A port setting goes out as the decimal port; a pending text that is no
    // port goes out as 0, the port the UDP link then takes too.
    void portSetLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sent");
        const auto row = [](const char *name, const char *text, const char *sent) {
            QTest::newRow(name) << QString::fromLatin1(text) << QString::fromLatin1(sent);
        };
        row("empty", "", "0");
        row("0", "0", "0");
        row("8080", "8080", "8080");
        row("highest", "65535", "65535");
        row("above 65535", "65536", "0");
        row("leading zero is decimal", "010", "10");
        row("plus sign", "+5", "0");
        row("leading blank", " 5", "0");
        row("letter", "5a", "0");
        row("eleven digits", "99999999999", "0");
    }

    void portSetLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, sent);
        PendingSettings pending;
        pending.srp = pending.dsp = text;
        QCOMPARE(int(portToSend(text)), sent.toInt());
        QCOMPARE(settingValue(DeviceUdpPortSetting, pending, ProtocolRequest{}), sent);
        QCOMPARE(setLine(LocalUdpPortSetting, *settingValue(LocalUdpPortSetting, pending, ProtocolRequest{})),
                 QByteArray("$setdsp#") + sent.toLatin1() + "\r\n");
    }

    void protocolAndHeaderTexts()
    {
        const ProtocolRequest request{{128, 0, 1, 3}, 2, QStringLiteral("$PXYZ")};
        const PendingSettings pending;
        QCOMPARE(settingValue(ProtocolSetting, pending, request), QStringLiteral("128.0.1.3:2"));
        QCOMPARE(settingValue(HeaderSetting, pending, request), QStringLiteral("$PXYZ"));
    }
};

QTEST_GUILESS_MAIN(TestCommandProtocol)
#include "tst_commandprotocol.moc"
