#include "AnswerParser.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QtTest>

using namespace AnswerParser;

Q_DECLARE_METATYPE(AnswerParser::AnswerKey)

namespace {

// Every report of the answer parser, as text in emission order.
class AnswerLog
{
public:
    explicit AnswerLog(Worker &w)
    {
        QObject::connect(&w, &Worker::signalEnableSpecialHardwareFeature, [this](const FactorySettingsT &f) {
            add("identity", {f.partNr, f.serialNumber, f.hardwareId, f.date, f.serialId, f.fwVersion});
        });
        QObject::connect(&w, &Worker::m_uiIMUfreqBoxSetIndex, [this](const QString &f) { add("frequency", {f}); });
        QObject::connect(&w, &Worker::m_uiBaudRateBoxSetIndex, [this](int box, const QByteArray &rate) {
            add("baud", {QString::number(box), rate});
        });
        QObject::connect(&w, &Worker::radioButtonGPS, [this](int input) { add("gps", {QString::number(input)}); });
        QObject::connect(&w, &Worker::signalProcessProtocolParameters, [this](const OutputProtocolType &p, uint8_t slot) {
            const QByteArray format(reinterpret_cast<const char *>(p.format.data()), 4);
            add("protocol", {QString::number(slot), format.toHex(), QString::number(p.value),
                             QString::number(p.enabled), p.header, QString::number(p.mask)});
        });
        QObject::connect(&w, &Worker::signalProcessIMUFlags, [this](uint32_t f) { add("flags", {QString::number(f)}); });
        QObject::connect(&w, &Worker::m_uiDoubleSpinBoxOffsetSetValue, [this](int axis, double v) {
            add("offset", {QString::number(axis), QString::number(v)});
        });
        QObject::connect(&w, &Worker::doubleSpinBoxNorthOffsetSetValue,
                         [this](double v) { add("north", {QString::number(v)}); });
        QObject::connect(&w, &Worker::doubleSpinBoxGaussSetValue, [this](int axis, double v) {
            add("gauss", {QString::number(axis), QString::number(v)});
        });
        QObject::connect(&w, &Worker::m_uiLineEditIMUUdpPortSetText, [this](const QString &p) { add("udp", {p}); });
        QObject::connect(&w, &Worker::m_uiLineEditLocalUdpPortSetText, [this](const QString &p) { add("local", {p}); });
        QObject::connect(&w, &Worker::m_uiLineEditIMUIP4SetText, [this](const QList<QByteArray> &parts) {
            add("ip", QStringList(parts.cbegin(), parts.cend()));
        });
        QObject::connect(&w, &Worker::m_uiLineEditDstIP4SetText, [this](const QList<QByteArray> &parts) {
            add("dst", QStringList(parts.cbegin(), parts.cend()));
        });
    }

    QStringList entries;

private:
    void add(const char *name, const QStringList &args) { entries << name + ("(" + args.join(',') + ")"); }
};

} // namespace

class TestAnswerParser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDeviceMetaTypes(); }
    void answerKeys_data();
    void answerKeys();
    void answerRows_data();
    void answerRows();
    void answersUpdateWorkerRecords();
    void nullAddressAsksOnceMore();
    void badAnswersDoNoHarm();
};

void TestAnswerParser::answerKeys_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<AnswerKey>("key");
    QTest::newRow("echo first") << QByteArray("$echocmd#") << AnswerKey::EchoCommand;
    QTest::newRow("echoed set head") << QByteArray("$setfrq#") << AnswerKey::Frequency;
    QTest::newRow("serial number") << QByteArray("$srn#") << AnswerKey::SerialNumber;
    QTest::newRow("header slot 1") << QByteArray("$hd1#") << AnswerKey::Header;
    QTest::newRow("case-sensitive") << QByteArray("$FRQ#") << AnswerKey::None;
    QTest::newRow("no key") << QByteArray("$xyz#") << AnswerKey::None;
    QTest::newRow("empty code") << QByteArray() << AnswerKey::None;
}

void TestAnswerParser::answerKeys()
{
    QFETCH(QByteArray, code);
    QTEST(findAnswerKey(code), "key");
}

void TestAnswerParser::answerRows_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("reports");

    QTest::newRow("srn, 12 characters") << QByteArray("$srn#VRNAB1234565678\r\n")
                                        << QStringList{"identity(,AB1234565678,AB,123456,5678,)"};
    QTest::newRow("srn, 11 characters") << QByteArray("$srn#VRNAB123456567\r\n")
                                        << QStringList{"identity(,AB123456567,AB,123456,567,)"};
    QTest::newRow("srn without prefix") << QByteArray("$srn#ABCDEFGH\r\n") << QStringList{"identity(,ABCDEFGH,AB,CDEFGH,,)"};
    QTest::newRow("srn too short") << QByteArray("$srn#VRN1234\r\n") << QStringList{};
    QTest::newRow("prn without prefix") << QByteArray("$prn#12345678\r\n") << QStringList{};
    QTest::newRow("prn") << QByteArray("$prn#VRN12345\r\n") << QStringList{"identity(VRN12345,,,,,)"};
    QTest::newRow("fwv") << QByteArray("$fwv#V6.01.0215\r\n") << QStringList{"identity(,,,,,V6.01.0215)"};
    QTest::newRow("fwv too short") << QByteArray("$fwv#6.01.0215\r\n") << QStringList{};
    QTest::newRow("frq") << QByteArray("$frq#100\r\n") << QStringList{"frequency(100)"};
    QTest::newRow("payload not trimmed again") << QByteArray("$frq# 100\r\n") << QStringList{"frequency( 100)"};
    QTest::newRow("bd1") << QByteArray("$bd1#115200\r\n") << QStringList{"baud(0,115200)"};
    QTest::newRow("bd2") << QByteArray("$bd2#9600\r\n") << QStringList{"baud(1,9600)"};
    QTest::newRow("bd3") << QByteArray("$bd3#unknown\r\n") << QStringList{"baud(2,unknown)"};
    QTest::newRow("gps RS232") << QByteArray("$gps#RS232\r\n") << QStringList{"gps(0)"};
    QTest::newRow("gps RS422") << QByteArray("$gps#RS422\r\n") << QStringList{"gps(1)"};
    QTest::newRow("gps none") << QByteArray("$gps#NOGPS\r\n") << QStringList{"gps(2)"};
    QTest::newRow("gps other") << QByteArray("$gps#x\r\n") << QStringList{"gps(0)"};
    QTest::newRow("prt custom slot 1") << QByteArray("$prt#128.0.0.20:1\r\n")
                                       << QStringList{"protocol(1,80000014,2147483668,1,,0)"};
    QTest::newRow("prt comma slot") << QByteArray("$prt#128,0,0,20,1\r\n")
                                    << QStringList{"protocol(1,80000014,2147483668,1,,0)"};
    QTest::newRow("prt slot above 2") << QByteArray("$prt#0.0.0.3.7\r\n") << QStringList{"protocol(0,00000003,3,1,,0)"};
    QTest::newRow("prt slot low byte") << QByteArray("$prt#0.0.0.9:258\r\n") << QStringList{"protocol(2,00000009,9,1,,0)"};
    QTest::newRow("prt six parts") << QByteArray("$prt#0.0.0.9.1.1\r\n") << QStringList{"protocol(0,00000009,9,1,,0)"};
    QTest::newRow("prt byte low 8 bits") << QByteArray("$prt#300.0.0.1:0\r\n")
                                         << QStringList{"protocol(0,2c000001,738197505,1,,0)"};
    QTest::newRow("prt no numbers") << QByteArray("$prt#a.b.c.99999\r\n") << QStringList{"protocol(0,00000000,0,0,,0)"};
    QTest::newRow("prt none") << QByteArray("$prt#0.0.0.0\r\n") << QStringList{"protocol(0,00000000,0,0,,0)"};
    QTest::newRow("prt short") << QByteArray("$prt#1.2.3\r\n") << QStringList{};
    QTest::newRow("prt no separator") << QByteArray("$prt#1234\r\n") << QStringList{};
    QTest::newRow("hdr") << QByteArray("$hdr#ABC\r\n") << QStringList{};
    QTest::newRow("flg") << QByteArray("$flg#0-0-0-33\r\n") << QStringList{"flags(33)"};
    QTest::newRow("flg further parts ignored") << QByteArray("$flg#1.2.3.4.5\r\n") << QStringList{"flags(16909060)"};
    QTest::newRow("flg huge part") << QByteArray("$flg#99999999999.0.0.1\r\n") << QStringList{"flags(1)"};
    QTest::newRow("flg three parts") << QByteArray("$flg#1.2.3\r\n") << QStringList{};
    QTest::newRow("flg no separator") << QByteArray("$flg#33\r\n") << QStringList{};
    QTest::newRow("rof") << QByteArray("$rof#1.5\r\n") << QStringList{"offset(0,1.5)"};
    QTest::newRow("pof") << QByteArray("$pof#-0.25\r\n") << QStringList{"offset(1,-0.25)"};
    QTest::newRow("yof no number") << QByteArray("$yof#abc\r\n") << QStringList{"offset(2,0)"};
    QTest::newRow("yof too big") << QByteArray("$yof#1e999\r\n") << QStringList{"offset(2,0)"};
    QTest::newRow("nor") << QByteArray("$nor#-3.5\r\n") << QStringList{"north(-3.5)"};
    QTest::newRow("mxb") << QByteArray("$mxb#0.1\r\n") << QStringList{"gauss(0,0.1)"};
    QTest::newRow("myb") << QByteArray("$myb#0.2\r\n") << QStringList{"gauss(1,0.2)"};
    QTest::newRow("mzb") << QByteArray("$mzb#0.3\r\n") << QStringList{"gauss(2,0.3)"};
    QTest::newRow("srp") << QByteArray("$srp#8090\r\n") << QStringList{"udp(8090)"};
    QTest::newRow("dsp no number") << QByteArray("$dsp#abc\r\n") << QStringList{"local(abc)"};
    QTest::newRow("sip") << QByteArray("$sip#192.168.0.100\r\n") << QStringList{"ip(192,168,0,100)"};
    QTest::newRow("sip short") << QByteArray("$sip#192.168\r\n") << QStringList{};
    QTest::newRow("dip with comma") << QByteArray("$dip#10.0.0,1\r\n") << QStringList{"dst(10,0,0,1)"};
    QTest::newRow("dip five parts") << QByteArray("$dip#0.10.0.0.1\r\n") << QStringList{"dst(0,10,0,0,1)"};
    QTest::newRow("dip without dot") << QByteArray("$dip#10,0,0,1\r\n") << QStringList{};
    QTest::newRow("echo") << QByteArray("$echocmd#$setfrq#50\r\n") << QStringList{};
    QTest::newRow("unknown code") << QByteArray("$xyz#1\r\n") << QStringList{};
    QTest::newRow("two answers in one read") << QByteArray("$frq#50\r\n$bd1#9600\r\n")
                                             << QStringList{"frequency(50)", "baud(0,9600)"};
}

void TestAnswerParser::answerRows()
{
    QFETCH(QByteArray, line);
    Worker worker;
    WorkerProbe::stopTimer(worker);
    AnswerLog log(worker);
    WorkerProbe::receive(worker, line);
    QTEST(log.entries, "reports");
}

void TestAnswerParser::answersUpdateWorkerRecords()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::protocol(worker, 1).header = QStringLiteral("OLD");
    WorkerProbe::protocol(worker, 1).mask = 0x80;
    WorkerProbe::receive(worker, "$prt#128.0.0.20:1\r\n$flg#0.0.0.33\r\n$srp#70000\r\n$dsp#8081\r\n$sip#10.1.2.3\r\n"
                                 "$srn#VRNAB1234565678\r\n$prn#VRN12345\r\n");

    QCOMPARE(WorkerProbe::protocolId(worker), uint8_t(1));
    QVERIFY(WorkerProbe::protocol(worker, 1).header.isEmpty()); // a custom value takes the empty header
    QCOMPARE(WorkerProbe::protocol(worker, 1).mask, 0u);
    QCOMPARE(UserSettings.flags, 33u);
    QCOMPARE(WorkerProbe::deviceUdpPort(worker), uint16_t(0));
    QCOMPARE(WorkerProbe::localUdpPort(worker), uint16_t(8081));
    QCOMPARE(WorkerProbe::deviceAddress(worker), QHostAddress(QStringLiteral("10.1.2.3")));
    QCOMPARE(WorkerProbe::identity(worker).serialId, QStringLiteral("5678"));
    QCOMPARE(WorkerProbe::identity(worker).partNr, QStringLiteral("VRN12345"));
    UserSettings.flags = 0;
}

void TestAnswerParser::nullAddressAsksOnceMore()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::resetNullAddressCount();
    AnswerLog log(worker);

    WorkerProbe::receive(worker, "$sip#0.0.0.0\r\n");
    QVERIFY(log.entries.isEmpty());
    QCOMPARE(WorkerProbe::waitTicks(worker), 10u);
    QCOMPARE(WorkerProbe::settingsIterator(worker), 17);

    WorkerProbe::setWaitTicks(worker, 0);
    WorkerProbe::setSettingsIterator(worker, 3);
    WorkerProbe::receive(worker, "$sip#0.0.0.0\r\n");
    QCOMPARE(log.entries, QStringList{"ip(0,0,0,0)"});
    QCOMPARE(WorkerProbe::waitTicks(worker), 0u);
    QCOMPARE(WorkerProbe::settingsIterator(worker), 3);

    // A valid address in between does not reset the count.
    WorkerProbe::receive(worker, "$sip#0.0.0.0\r\n$sip#10.0.0.1\r\n$sip#0.0.0.0\r\n");
    QCOMPARE(log.entries.last(), QStringLiteral("ip(0,0,0,0)"));
}

// Nonsense from the device must never crash or read past the end of a payload.
void TestAnswerParser::badAnswersDoNoHarm()
{
    Worker worker;
    WorkerProbe::stopTimer(worker);
    const QByteArrayList codes{"srn", "prn", "fwv", "frq", "bd1", "gps", "prt", "hdr", "flg", "rof",
                               "nor", "mzb", "srp", "dsp", "sip", "dip", "echocmd"};
    const QByteArrayList payloads{"", ".", ":", ",", "-", "....", "99999999999999999999999.9.9.9:99999999999",
                                  "1e999999", "nan", QByteArray(4000, '9'), QByteArray("\x00\xff.\x80", 4), "VRN"};
    for (const QByteArray &code : codes) {
        for (const QByteArray &payload : payloads)
            WorkerProbe::receive(worker, "$" + code + "#" + payload + "\r\n");
    }
    for (int slot = 0; slot < 3; ++slot)
        QVERIFY(WorkerProbe::protocol(worker, slot).value == 0 || WorkerProbe::protocol(worker, slot).enabled);
    QVERIFY(WorkerProbe::rxBuffer(worker).isEmpty());
    UserSettings.flags = 0;
}

QTEST_GUILESS_MAIN(TestAnswerParser)
#include "tst_answerparser.moc"
