#include "DisplayNumber.h"
#include "PaceLimit.h"
#include "SettingsAnswer.h"
#include "UdpDatagrams.h"
#include "UdpDevice.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cstring>

#include <limits>
#include <memory>

namespace {

// An exact-size heap copy, so that the sanitizer catches any read past its end.
class ExactCopy
{
public:
    explicit ExactCopy(const QByteArray &bytes) : m_data(new char[size_t(qMax<qsizetype>(bytes.size(), 1))]), m_size(bytes.size())
    {
        std::copy(bytes.begin(), bytes.end(), m_data.get());
    }
    QByteArrayView view() const { return QByteArrayView(m_data.get(), m_size); }

private:
    std::unique_ptr<char[]> m_data;
    qsizetype m_size;
};

std::array<float, 19> words(std::initializer_list<std::pair<int, float>> values)
{
    std::array<float, 19> out{};
    for (const auto &[word, value] : values)
        out[size_t(word)] = value;
    return out;
}

QString decodedLine(const QByteArray &datagram)
{
    OutputDataType sample;
    QString line;
    return UdpDatagrams::decodeOutputDatagram(ExactCopy(datagram).view(), sample, line) ? line : QStringLiteral("none");
}

// The texts of roll, yaw, heave and Az when every word of a datagram holds value.
QStringList textsOf(float value)
{
    std::array<float, 19> all;
    all.fill(value);
    OutputDataType sample;
    QString line;
    UdpDatagrams::decodeOutputDatagram(outputDatagram(all), sample, line);
    return {sample.field[OutputDataType::Roll], sample.field[OutputDataType::Yaw], sample.field[OutputDataType::Heave],
            sample.field[OutputDataType::Az]};
}

// The same through the general display-number formatting.
QStringList generalTextsOf(float value)
{
    QStringList texts;
    for (const auto &[decimals, width] : {std::pair{2, 6}, {1, 6}, {3, 6}, {4, 7}}) {
        QString text;
        writeDisplayNumber(text, double(value), decimals, width);
        texts << text;
    }
    return texts;
}

const QString ZeroLine = QStringLiteral("+00.00,+00.00,+000.0,+00.00,+00.00,+00.00,+0.000,+00.00,+0.0000,+0.0000,+0.0000");

} // namespace

class TestUdpCodecs : public QObject
{
    Q_OBJECT

private slots:
    void messageNumbers_data()
    {
        QTest::addColumn<uint>("number");
        QTest::addColumn<QByteArray>("four");
        QTest::addColumn<QByteArray>("two");
        QTest::addColumn<uint>("next");
        QTest::newRow("42") << 42u << QByteArray("002a") << QByteArray("2a") << 43u;
        QTest::newRow("254") << 254u << QByteArray("00fe") << QByteArray("fe") << 255u;
        QTest::newRow("255 wraps") << 255u << QByteArray("00ff") << QByteArray("ff") << 0u;
        QTest::newRow("beyond wraps") << 300u << QByteArray("012c") << QByteArray("12c") << 0u;
    }
    void messageNumbers()
    {
        QFETCH(uint, number);
        QTEST(UdpDatagrams::messageNumber4(number), "four");
        QTEST(UdpDatagrams::messageNumber2(number), "two");
        QTEST(UdpDatagrams::nextMessageNumber(number), "next");
    }

    void sentDatagrams_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("discovery 0") << UdpDatagrams::discoveryDatagram(0)
                                     << QByteArray("READ$QUORVX#0000   scan for IMU   ");
        QTest::newRow("request command 42") << UdpDatagrams::settingsRequestCommand(42)
                                            << QByteArray("READ$QUORVX#002a   Read IMU Settings  ");
        QTest::newRow("request 42")
            << UdpDatagrams::settingsRequestPayload(UdpDatagrams::settingsRequestCommand(42), 42)
            << QByteArray("READ$QUORVX#002a   Read IMU Settings  2a   read from IMU    ");
        QTest::newRow("settings datagram 255") << UdpDatagrams::settingsDatagramPayload(QByteArray(66, 'x'), 255)
                                               << QByteArray(66, 'x') + "ff";
    }
    void sentDatagrams()
    {
        QFETCH(QByteArray, datagram);
        QTEST(datagram, "expected");
        QCOMPARE(UdpDatagrams::discoveryDatagram(255).size(), UdpDatagrams::DiscoveryDatagramSize);
        QCOMPARE(UdpDatagrams::settingsRequestCommand(42).size(), UdpDatagrams::SettingsRequestCommandSize);
        QCOMPARE(UdpDatagrams::settingsRequestPayload({}, 0).size() + 38, UdpDatagrams::SettingsRequestSize);
    }

    void readResult_data()
    {
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("expected");
        QTest::newRow("failed read") << qint64(-1) << "none";
        QTest::newRow("empty datagram") << qint64(0) << "";
        QTest::newRow("shorter than the buffer") << qint64(3) << "abc";
        QTest::newRow("whole buffer") << qint64(6) << "abcdef";
        QTest::newRow("more than the buffer") << qint64(9) << "abcdef";
    }
    void readResult()
    {
        QFETCH(qint64, count);
        const std::optional<QByteArray> datagram = UdpDatagrams::readResult(QByteArray("abcdef"), count);
        QTEST(datagram ? QString::fromLatin1(*datagram) : QStringLiteral("none"), "expected");
    }

    void classify_data()
    {
        using Kind = UdpDatagrams::Kind;
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<Kind>("kind");
        const QByteArray token("$QUORVX#ANS#");
        QTest::newRow("empty") << QByteArray() << Kind::Other;
        QTest::newRow("83 bytes") << QByteArray(83, 0) << Kind::Other;
        QTest::newRow("84 bytes") << QByteArray(84, 0) << Kind::OutputData;
        QTest::newRow("85 bytes") << QByteArray(85, 0) << Kind::Other;
        QTest::newRow("84 bytes with the token") << token + QByteArray(72, 0) << Kind::SettingsAnswer;
        QTest::newRow("bare token") << token << Kind::SettingsAnswer;
        QTest::newRow("token cut short") << token.chopped(1) << Kind::Other;
    }
    void classify()
    {
        QFETCH(QByteArray, datagram);
        QTEST(UdpDatagrams::classify(ExactCopy(datagram).view()), "kind");
    }

    // The worked examples of the display texts, one value at a time.
    void outputTexts_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("yaw 359.94") << 2 << 359.94f << int(OutputDataType::Yaw) << "+359.9";
        QTest::newRow("yaw -359.94") << 2 << -359.94f << int(OutputDataType::Yaw) << "-359.9";
        QTest::newRow("Az -9.81") << 17 << -9.81f << int(OutputDataType::Az) << "-9.8100";
        QTest::newRow("heave 0.012") << 11 << 0.012f << int(OutputDataType::Heave) << "+0.012";
        QTest::newRow("heave 12.5") << 11 << 12.5f << int(OutputDataType::Heave) << "12.500";
    }
    void outputTexts()
    {
        QFETCH(int, word);
        QFETCH(float, value);
        QFETCH(int, field);
        OutputDataType sample;
        sample.field.fill(QStringLiteral("old"));
        QString line;
        QVERIFY(UdpDatagrams::decodeOutputDatagram(outputDatagram(words({{word, value}})), sample, line));
        QTEST(sample.field[size_t(field)], "text");
        QCOMPARE(line.split(',').size(), 11);
        // The fields the datagram does not carry keep what they held.
        QCOMPARE(sample.field[OutputDataType::FrameCounter], QStringLiteral("old"));
        QCOMPARE(sample.field[6], QStringLiteral("old"));
    }

    // The datagram decoder's own float formatting gives the texts of the
    // general display-number formatting, at every width and decimals it uses.
    void textsMatchGeneralFormatting_data()
    {
        QTest::addColumn<float>("value");
        const float tiny = std::numeric_limits<float>::denorm_min();
        const std::initializer_list<std::pair<const char *, float>> rows{
            {"zero", 0.0f}, {"negative zero", -0.0f}, {"exact tie 0.125", 0.125f}, {"exact tie -0.125", -0.125f},
            {"tie at 4 decimals", 0.00005f}, {"near tie 0.005", 0.005f}, {"small negative", -0.001f},
            {"9.995", 9.995f}, {"99.995", 99.995f}, {"999.95", 999.95f}, {"2^24", 16777216.0f},
            {"1e11", 1e11f}, {"1e12", 1e12f}, {"max", std::numeric_limits<float>::max()},
            {"lowest", std::numeric_limits<float>::lowest()}, {"denormal", tiny}, {"-denormal", -tiny},
            {"nan", std::numeric_limits<float>::quiet_NaN()}, {"-infinity", -std::numeric_limits<float>::infinity()},
        };
        for (const auto &[name, value] : rows)
            QTest::newRow(name) << value;
    }
    void textsMatchGeneralFormatting()
    {
        QFETCH(float, value);
        QCOMPARE(textsOf(value), generalTextsOf(value));
    }

    // The same for random bit patterns and random values over the angle range.
    void textsMatchGeneralFormattingForRandomValues()
    {
        QRandomGenerator random(1110);
        for (int i = 0; i < 2000; ++i) {
            const uint32_t bits = random.generate();
            float value;
            std::memcpy(&value, &bits, sizeof value);
            if (i % 2)
                value = float(random.bounded(2000.0) - 1000.0);
            if (textsOf(value) != generalTextsOf(value))
                QFAIL(qPrintable(QStringLiteral("%1 is shown as %2, not %3").arg(double(value), 0, 'g', 9)
                                     .arg(textsOf(value).join(' '), generalTextsOf(value).join(' '))));
        }
    }

    void outputLine_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QString>("line");
        QTest::newRow("all zero") << outputDatagram({}) << ZeroLine;
        // Words 6 to 10, 12, 13 and 18 and the header are not read.
        QTest::newRow("unused words") << outputDatagram(words({{6, 1}, {10, 2}, {12, 3}, {13, 4}, {18, 5}})) << ZeroLine;
        QTest::newRow("in table order")
            << outputDatagram(words({{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {11, 7}, {14, 8}, {15, 9}, {16, -1}, {17, -2}}))
            << "+01.00,+02.00,+003.0,+04.00,+05.00,+06.00,+7.000,+08.00,+9.0000,-1.0000,-2.0000";
        QTest::newRow("83 bytes") << outputDatagram({}).left(83) << "none";
        QTest::newRow("85 bytes still decodes its first 84") << outputDatagram({}) + 'x' << ZeroLine;
    }
    void outputLine()
    {
        QFETCH(QByteArray, datagram);
        QTEST(decodedLine(datagram), "line");
    }

    void rawWords_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("offset");
        QTest::addColumn<float>("value");
        QTest::addColumn<uint>("word17");
        const QByteArray datagram = outputDatagram(words({{0, 1.5f}, {17, -9.81f}}));
        QTest::newRow("first word") << datagram << 8 << 1.5f << 0xC11CF5C3u;
        QTest::newRow("last whole word") << datagram << 80 << 0.0f << 0u;
        QTest::newRow("one byte short") << datagram << 81 << 0.0f << 0u;
        QTest::newRow("negative offset") << datagram << -1 << 0.0f << 0u;
        QTest::newRow("empty") << QByteArray() << 0 << 0.0f << 0u;
    }
    void rawWords()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, offset);
        QTEST(UdpDatagrams::getFloatFromDatagram(data, offset), "value");
        const auto decoded = UdpDatagrams::decodeOutputData(data, offset);
        QTEST(decoded[17], "word17");
        for (size_t k = 18; k < decoded.size(); ++k)
            QCOMPARE(decoded[k], 0u);
    }

    void answerRecord_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("partNr");
        QTest::addColumn<double>("roll");
        QTest::addColumn<double>("pitch");
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QByteArray>("trailer");
        DeviceRecord record;
        QTest::newRow("with part number") << record.toAnswer() << "VRN3ABCDEF12XYZ" << -2.0 << 2.0 << "1.2.3" << QByteArray(" ready ");
        record.partNumberBlock = false;
        QTest::newRow("without part number") << record.toAnswer() << "none" << -2.0 << 2.0 << "1.2.3" << QByteArray(" ready ");
        record.offsets = {1, -1, 0};
        record.firmware.clear();
        record.trailer.clear();
        QTest::newRow("empty firmware") << record.toAnswer() << "none" << double(0.01f) << double(-0.01f) << "" << QByteArray();
        QTest::newRow("without token") << record.toAnswer().mid(12) << "none" << double(0.01f) << double(-0.01f) << "" << QByteArray();
    }
    void answerRecord()
    {
        QFETCH(QByteArray, answer);
        const std::optional<SettingsAnswer::Record> record = SettingsAnswer::parse(ExactCopy(answer).view());
        QVERIFY(record);
        QTEST(record->partNr.value_or(QStringLiteral("none")), "partNr");
        QTEST(record->offsets[0], "roll");
        QTEST(record->offsets[1], "pitch");
        QTEST(record->fwVersion, "firmware");
        QTEST(record->trailer, "trailer");
        QCOMPARE(SettingsAnswer::addressText(record->deviceAddress), QStringLiteral("127.0.0.1"));
        QCOMPARE(record->hardwareId, 7);
        QCOMPARE(record->date, 20231u);
        QCOMPARE(record->serial, 42);
        QCOMPARE(SettingsAnswer::serialNumber(*record), QStringLiteral("72023142"));
        QCOMPARE(record->devicePort, 8088);
        QCOMPARE(record->destinationPort, 8080);
        QCOMPARE(record->flags, 0x21u);
        QCOMPARE(record->formats[0], (std::array<uint8_t, 4>{0x80, 0, 0, 0x14}));
        QCOMPARE(record->baudCodes, (std::array<uint8_t, 3>{5, 1, 2}));
        QCOMPARE(record->frequency, 100);
        // Three letters and five NULs make an eight-character header.
        QCOMPARE(record->header, QString::fromUtf8("ABC\0\0\0\0\0", 8));
    }

    void answerNumbers()
    {
        DeviceRecord record;
        record.address = {192, 168, 0, 100};
        record.destination = {10, 0, 0, 255};
        record.hardwareId = 255;
        record.date = 0xFFFFFF;
        record.serial = 5;
        const auto parsed = SettingsAnswer::parse(record.toAnswer());
        QVERIFY(parsed);
        QCOMPARE(SettingsAnswer::addressText(parsed->deviceAddress), QStringLiteral("192.168.0.100"));
        QCOMPARE(SettingsAnswer::octetTexts(parsed->destinationAddress), (QList<QByteArray>{"10", "0", "0", "255"}));
        QCOMPARE(SettingsAnswer::serialNumber(*parsed), QStringLiteral("255167772155"));
    }

    // Every length from the bare token up to one byte short of the full record
    // yields nothing; the full record parses, with or without the block.
    void shortAnswers_data()
    {
        QTest::addColumn<QByteArray>("answer");
        DeviceRecord record;
        record.trailer.clear();
        QTest::newRow("with part number") << record.toAnswer();
        record.partNumberBlock = false;
        QTest::newRow("without part number") << record.toAnswer();
        record.firmware = QByteArray(255, 'f');
        QTest::newRow("longest firmware") << record.toAnswer();
    }
    void shortAnswers()
    {
        QFETCH(QByteArray, answer);
        for (qsizetype length = 12; length < answer.size(); ++length) {
            if (SettingsAnswer::parse(ExactCopy(answer.left(length)).view()))
                QFAIL(qPrintable(QStringLiteral("an answer of %1 bytes was parsed").arg(length)));
        }
        QVERIFY(SettingsAnswer::parse(ExactCopy(answer).view()));
    }

    void confirmation_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<bool>("confirms");
        const QByteArray signature = QByteArray::fromHex("12340007");
        QTest::newRow("ends in it") << "$QUORVX#ANS#...." + signature << signature << true;
        QTest::newRow("differs") << "$QUORVX#ANS#...." + QByteArray::fromHex("12340008") << signature << false;
        QTest::newRow("no signature") << QByteArray("$QUORVX#ANS#") << QByteArray() << false;
        QTest::newRow("short signature") << QByteArray("$QUORVX#ANS#ab") << QByteArray("ab") << false;
    }
    void confirmation()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, signature);
        QTEST(SettingsAnswer::confirms(answer, signature), "confirms");
    }

    void trailerExcerpt_data()
    {
        QTest::addColumn<QByteArray>("trailer");
        QTest::addColumn<QByteArray>("excerpt");
        const QByteArray longest(SettingsAnswer::TrailerExcerptSize, 'x');
        QTest::newRow("a unit's own") << QByteArray(" ready \r\n") << QByteArray("ready");
        QTest::newRow("none") << QByteArray() << QByteArray();
        QTest::newRow("as long as an excerpt") << " " + longest + " " << longest;
        QTest::newRow("one byte longer") << longest + "yz" << longest + " ... (66 bytes)";
        QTest::newRow("a datagram's worth") << QByteArray(65000, 'x') << longest + " ... (65000 bytes)";
    }
    void trailerExcerpt()
    {
        QFETCH(QByteArray, trailer);
        QTEST(SettingsAnswer::trailerExcerpt(trailer), "excerpt");
    }

    // Arrival times in ms, against an allowance of 3 and one event per 100 ms;
    // each event reads "+" let through, "+n" let through ending a run of n
    // turned away, "x" the first turned away of a run, "-" turned away. A run
    // ends only after a whole interval in which nothing was turned away.
    void paceLimit_data()
    {
        QTest::addColumn<QList<int>>("times");
        QTest::addColumn<QStringList>("verdicts");
        QTest::newRow("a unit's pace") << QList<int>{0, 100, 250, 900, 901, 902}
                                       << QStringList{"+", "+", "+", "+", "+", "+"};
        QTest::newRow("a burst, then the pace") << QList<int>{0, 0, 0, 0, 50, 99, 100, 100, 350, 360, 370}
                                                << QStringList{"+", "+", "+", "x", "-", "-", "+", "-", "+4", "+", "x"};
        QTest::newRow("the allowance refills no further")
            << QList<int>{0, 0, 0, 5000, 5000, 5000, 5000} << QStringList{"+", "+", "+", "+", "+", "+", "x"};
        QTest::newRow("an earlier time refills nothing")
            << QList<int>{500, 0, 0, 0, 100} << QStringList{"+", "+", "+", "x", "+1"};
    }
    void paceLimit()
    {
        QFETCH(QList<int>, times);
        PaceLimit pace(3, std::chrono::milliseconds(100));
        const PaceLimit::Clock::time_point start;
        QStringList verdicts;
        for (const int ms : times) {
            const PaceLimit::Verdict verdict = pace.take(start + std::chrono::milliseconds(ms));
            verdicts << (verdict.admitted ? (verdict.runEnded ? "+" + QString::number(verdict.runEnded) : "+")
                                          : (verdict.runStarted ? "x" : "-"));
        }
        QTEST(verdicts, "verdicts");
        QCOMPARE(pace.endRun(), quint64(verdicts.last() == QStringLiteral("x") ? 1 : 0));
        QCOMPARE(pace.endRun(), quint64(0));
    }

    void fixedPoint_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("offset");
        QTest::addColumn<float>("value16");
        QTest::addColumn<float>("value32");
        QTest::newRow("FF 38") << QByteArray::fromHex("ff38") << 0 << -2.0f << 0.0f;
        QTest::newRow("00 C8") << QByteArray::fromHex("00c8") << 0 << 2.0f << 0.0f;
        QTest::newRow("1.5 in 16.16") << QByteArray::fromHex("00018000") << 0 << 0.01f << 1.5f;
        QTest::newRow("-1.5 in 16.16") << QByteArray::fromHex("fffe8000") << 0 << -0.02f << -1.5f;
        QTest::newRow("at an offset") << QByteArray::fromHex("00ff38") << 1 << -2.0f << 0.0f;
        QTest::newRow("past the end") << QByteArray::fromHex("ff") << 0 << 0.0f << 0.0f;
        QTest::newRow("negative offset") << QByteArray::fromHex("ff38") << -1 << 0.0f << 0.0f;
    }
    void fixedPoint()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, offset);
        QTEST(SettingsAnswer::parameterValue16(ExactCopy(bytes).view(), offset), "value16");
        QTEST(SettingsAnswer::parameterValue(ExactCopy(bytes).view(), offset), "value32");
    }
};

QTEST_GUILESS_MAIN(TestUdpCodecs)
#include "tst_udpcodecs.moc"
