#include "DisplayNumber.h"
#include "OutputDecoder.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

using Field = OutputDataType::Field;
using Texts = QMap<int, QString>;

namespace {

const QString Untouched = QStringLiteral("old");

OutputDataType prefilledSample()
{
    OutputDataType sample;
    sample.field.fill(Untouched);
    return sample;
}

// Every field not named in expected still holds its earlier text.
bool fieldsMatch(const OutputDataType &sample, const Texts &expected)
{
    for (int i = 0; i < OutputDataType::FieldCount; ++i) {
        const QString want = expected.value(i, Untouched);
        if (sample.field[size_t(i)] != want) {
            qWarning("field %d: got \"%s\", expected \"%s\"", i, qPrintable(sample.field[size_t(i)]),
                     qPrintable(want));
            return false;
        }
    }
    return true;
}

// An exact-size heap copy, so that the sanitizer catches any read past the end.
class ExactBytes
{
public:
    explicit ExactBytes(QByteArrayView bytes)
        : m_bytes(new char[size_t(bytes.size())])
        , m_size(bytes.size())
    {
        if (m_size > 0)
            std::memcpy(m_bytes.get(), bytes.data(), size_t(m_size));
    }
    QByteArrayView view() const { return QByteArrayView(m_bytes.get(), m_size); }

private:
    std::unique_ptr<char[]> m_bytes;
    qsizetype m_size;
};

OutputDecoder::Result decodePredefined(uint32_t value, QByteArrayView data, OutputDataType &sample, uint32_t &mask)
{
    const ExactBytes bytes(data);
    return OutputDecoder::decodePredefined(value, bytes.view(), sample, mask);
}

std::optional<QString> decodeCustom(QByteArrayView line, OutputProtocolType &slot, OutputDataType &sample,
                                    bool &headerCapturePending)
{
    const ExactBytes bytes(line);
    return OutputDecoder::decodeCustom(bytes.view(), slot, sample, headerCapturePending);
}

// The display text as QString::arg makes it, the reference for the fast formatter.
QString referenceText(double value, int decimals, int width)
{
    QString text = QStringLiteral("%1").arg(value, width, 'f', decimals, QLatin1Char('0'));
    if (text.startsWith(QLatin1Char('0')))
        text[0] = QLatin1Char('+');
    return text;
}

const QByteArray EulerSync("\xFA\xFF\x32\x0C", 4);

QByteArray eulerFrame(float roll, float pitch, float yaw, bool bigEndian)
{
    QByteArray frame = EulerSync;
    for (float value : {roll, pitch, yaw}) {
        quint32 bits;
        std::memcpy(&bits, &value, sizeof(bits));
        char bytes[4];
        if (bigEndian)
            qToBigEndian(bits, bytes);
        else
            qToLittleEndian(bits, bytes);
        frame.append(bytes, 4);
    }
    frame.append('\x55');
    return frame;
}

QByteArray emFrame(char firstSync, qint16 roll, qint16 pitch, qint16 heave, quint16 heading)
{
    QByteArray frame;
    frame.append(firstSync).append('\x90');
    for (quint16 word : {quint16(roll), quint16(pitch), quint16(heave), heading}) {
        char bytes[2];
        qToLittleEndian(word, bytes);
        frame.append(bytes, 2);
    }
    return frame;
}

const Texts EulerExample{{Field::Roll, "+01.50"}, {Field::Pitch, "-02.25"}, {Field::Yaw, "+359.9"}};
const Texts EmExample{{Field::Roll, "+01.50"}, {Field::Pitch, "-02.00"}, {Field::Heave, "+0.120"},
                      {Field::Yaw, "+009.0"}};
const Texts TssExample{{Field::Heave, "-0.120"}, {Field::Roll, "-01.23"}, {Field::Pitch, "+04.56"}};

constexpr uint32_t CustomValue = 0xC0400014; // a custom selection with header

} // namespace

class TestOutputDecoder : public QObject
{
    Q_OBJECT

private slots:
    void displayNumber_data();
    void displayNumber();
    void displayNumberMatchesQt();
    void displayNumberReusesAndDetaches();
    void binaryFrames_data();
    void binaryFrames();
    void tssLines_data();
    void tssLines();
    void textFieldProtocols_data();
    void textFieldProtocols();
    void undecodedValues_data();
    void undecodedValues();
    void textLineSelection_data();
    void textLineSelection();
    void customLines_data();
    void customLines();
    void headerCapturedOnce();
    void hostileInputNeverCrashes_data();
    void hostileInputNeverCrashes();
    void longAndAbsurdInput();
};

void TestOutputDecoder::displayNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");

    QTest::newRow("1.5") << 1.5 << 2 << 6 << "+01.50";
    QTest::newRow("12.34") << 12.34 << 2 << 6 << "+12.34";
    QTest::newRow("123.45 fills the width") << 123.45 << 2 << 6 << "123.45";
    QTest::newRow("-1.5") << -1.5 << 2 << 6 << "-01.50";
    QTest::newRow("0.5, 3 decimals") << 0.5 << 3 << 6 << "+0.500";
    QTest::newRow("5.0, 1 decimal") << 5.0 << 1 << 6 << "+005.0";
    QTest::newRow("zero") << 0.0 << 2 << 6 << "+00.00";
    QTest::newRow("yaw 359.94") << 359.94 << 1 << 6 << "+359.9";
    QTest::newRow("yaw -359.94") << -359.94 << 1 << 6 << "-359.9";
    QTest::newRow("heave 0.012") << 0.012 << 3 << 6 << "+0.012";
    QTest::newRow("heave 12.5") << 12.5 << 3 << 6 << "12.500";
    QTest::newRow("Az 9.81, width 7") << 9.81 << 4 << 7 << "+9.8100";
    QTest::newRow("Az -9.81, width 7") << -9.81 << 4 << 7 << "-9.8100";
    QTest::newRow("zero, width 7") << 0.0 << 4 << 7 << "+0.0000";
    QTest::newRow("longer than the width") << -12345.678 << 2 << 6 << "-12345.68";
    QTest::newRow("exact tie rounds away from zero") << 0.125 << 2 << 6 << "+00.13";
    QTest::newRow("negative exact tie") << -1.25 << 1 << 6 << "-001.3";
    QTest::newRow("tie carrying into a new digit") << 99.5 << 0 << 6 << "+00100";
    QTest::newRow("rounding carries") << 99.996 << 2 << 6 << "100.00";
    QTest::newRow("negative zero shows no minus") << -0.0 << 2 << 6 << "+00.00";
    QTest::newRow("tiny negative keeps its minus") << -0.001 << 2 << 6 << "-00.00";
    QTest::newRow("point regardless of locale") << 1234.5 << 1 << 6 << "1234.5";
}

void TestOutputDecoder::displayNumber()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(int, width);
    QFETCH(QString, text);

    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QString result;
    writeDisplayNumber(result, value, decimals, width);
    QLocale::setDefault(previous);
    QCOMPARE(result, text);
}

// The fast formatter gives exactly the texts QString::arg gives.
void TestOutputDecoder::displayNumberMatchesQt()
{
    QRandomGenerator random(4711);
    QList<double> values{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), 1e300, -1e300,
                         double(std::numeric_limits<float>::max()), double(std::numeric_limits<float>::lowest()),
                         std::numeric_limits<double>::denorm_min()};
    for (int i = 0; i < 4000; ++i) {
        const quint32 bits = random.generate();
        float any;
        std::memcpy(&any, &bits, sizeof(any));
        values << double(any);
        values << double(float(qint16(random.bounded(-32768, 32768))) / 100.0f);
        values << random.bounded(2000.0) - 1000.0;
        // Values half-way between two texts of 0 to 4 decimals.
        const int decimals = random.bounded(5);
        values << std::ldexp(double(2 * random.bounded(-100000, 100000) + 1), -(decimals + 1));
    }
    for (const double value : values) {
        for (int decimals = 0; decimals <= 4; ++decimals) {
            for (const int width : {6, 7}) {
                QString text;
                writeDisplayNumber(text, value, decimals, width);
                const QString expected = referenceText(value, decimals, width);
                if (text != expected)
                    QFAIL(qPrintable(QStringLiteral("%1 (%2 decimals, width %3): %4 instead of %5")
                                         .arg(value, 0, 'g', 17).arg(decimals).arg(width).arg(text, expected)));
            }
        }
    }
}

// The text is written in place, shorter or longer than before, without touching copies.
void TestOutputDecoder::displayNumberReusesAndDetaches()
{
    QString text = QStringLiteral("a previous, longer text");
    const QString copy = text;
    writeDisplayNumber(text, 1.5, 2);
    QCOMPARE(text, QStringLiteral("+01.50"));
    QCOMPARE(copy, QStringLiteral("a previous, longer text"));
    writeDisplayNumber(text, 1234567.0, 3);
    QCOMPARE(text, QStringLiteral("1234567.000"));
    writeDisplayNumber(text, -2.0, 1);
    QCOMPARE(text, QStringLiteral("-002.0"));
}

void TestOutputDecoder::binaryFrames_data()
{
    QTest::addColumn<uint>("value");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("decoded");
    QTest::addColumn<Texts>("texts");

    const bool big = true;
    QTest::newRow("EulerB") << 9u << eulerFrame(1.5f, -2.25f, 359.9f, big) << true << EulerExample;
    QTest::newRow("EulerL") << 8u << eulerFrame(1.5f, -2.25f, 359.9f, !big) << true << EulerExample;
    QTest::newRow("EulerL with trailing bytes") << 8u << eulerFrame(1.5f, -2.25f, 359.9f, !big) + "xyz" << true
                                                << EulerExample;
    QTest::newRow("EulerL of 16 bytes") << 8u << eulerFrame(1.5f, -2.25f, 359.9f, !big).left(16) << false << Texts{};
    QTest::newRow("EulerB without sync") << 9u << QByteArray(17, '\x0C') << false << Texts{};
    QTest::newRow("EulerB sync alone") << 9u << EulerSync << false << Texts{};
    QTest::newRow("EM1000") << 13u << emFrame('\x00', 150, -200, 12, 900) << true << EmExample;
    QTest::newRow("EM3000") << 14u << emFrame('\x90', 150, -200, 12, 900) << true << EmExample;
    QTest::newRow("EM3000 with the EM1000 sync") << 14u << emFrame('\x00', 150, -200, 12, 900) << false << Texts{};
    QTest::newRow("EM1000 with the EM3000 sync") << 13u << emFrame('\x90', 150, -200, 12, 900) << false << Texts{};
    QTest::newRow("EM1000 of 9 bytes") << 13u << emFrame('\x00', 150, -200, 12, 900).left(9) << false << Texts{};
    QTest::newRow("EM3000 sync alone") << 14u << QByteArray("\x90\x90", 2) << false << Texts{};
    QTest::newRow("EM extremes, heading unsigned")
        << 13u << emFrame('\x00', -32768, 32767, -32768, 65535) << true
        << Texts{{Field::Roll, "-327.68"}, {Field::Pitch, "327.67"}, {Field::Heave, "-327.680"},
                 {Field::Yaw, "+655.3"}};
    QTest::newRow("empty frame") << 9u << QByteArray() << false << Texts{};
}

// Binary frames: texts of fields 0, 1, 2 (and 11 for EM), mask bits ORed in.
void TestOutputDecoder::binaryFrames()
{
    QFETCH(uint, value);
    QFETCH(QByteArray, frame);
    QFETCH(bool, decoded);
    QFETCH(Texts, texts);

    OutputDataType sample = prefilledSample();
    const uint32_t before = 0x00010001;
    uint32_t mask = before;
    const auto result = decodePredefined(value, frame, sample, mask);

    QCOMPARE(result, decoded ? OutputDecoder::Result::Decoded : OutputDecoder::Result::Ignored);
    QVERIFY(fieldsMatch(sample, texts));
    uint32_t bits = 0;
    if (decoded)
        bits = texts.contains(Field::Heave) ? 0xE2 : 0xE0;
    QCOMPARE(mask, before | bits);
}

void TestOutputDecoder::tssLines_data()
{
    QTest::addColumn<uint>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Texts>("texts");

    QTest::newRow("TSS1 with U") << 3u << QByteArray(":0000 -0012U-0123 00456\r\n") << TssExample;
    QTest::newRow("TSS3 with U") << 5u << QByteArray(":0000 -0012U-0123 00456\r\n") << TssExample;
    QTest::newRow("F status after a hex field holding F")
        << 3u << QByteArray(":00FF0F -0012F-0123 00456\r\n") << TssExample;
    QTest::newRow("lower-case u") << 3u << QByteArray(":0A0B0C -0012u-0123 00456\r\n") << TssExample;
    QTest::newRow("lower-case f, hex field with F")
        << 3u << QByteArray(":00FFE0 -0012f-0123 -0456\r\n")
        << Texts{{Field::Heave, "-0.120"}, {Field::Roll, "-01.23"}, {Field::Pitch, "-04.56"}};
    QTest::newRow("blank signs, status H")
        << 3u << QByteArray(":00FFE0  0012H 0123  0456\r\n")
        << Texts{{Field::Heave, "+0.120"}, {Field::Roll, "+01.23"}, {Field::Pitch, "+04.56"}};
    QTest::newRow("plus signs, lower-case g")
        << 5u << QByteArray(":0000 +0250g+1234 -0042\r\n")
        << Texts{{Field::Heave, "+2.500"}, {Field::Roll, "+12.34"}, {Field::Pitch, "-00.42"}};
    QTest::newRow("R after the colon") << 3u << QByteArray(":R0000 -0012U-0123 00456\r\n") << TssExample;
    QTest::newRow("blank instead of status") << 3u << QByteArray(":0000 -0012 -0123 00456\r\n") << TssExample;
    QTest::newRow("decimal heave") << 3u << QByteArray(":0000 -12.5U-0123 00456\r\n")
                                   << Texts{{Field::Heave, "-0.125"}, {Field::Roll, "-01.23"},
                                            {Field::Pitch, "+04.56"}};
    QTest::newRow("not a number reads 0")
        << 3u << QByteArray(":0000 abc -0123 00456\r\n")
        << Texts{{Field::Heave, "+0.000"}, {Field::Roll, "-01.23"}, {Field::Pitch, "+04.56"}};
    QTest::newRow("lead field only") << 3u << QByteArray(":0000\r\n") << Texts{};
    QTest::newRow("heave only") << 3u << QByteArray(":0000 -0012U\r\n") << Texts{{Field::Heave, "-0.120"}};
    QTest::newRow("heave and roll")
        << 5u << QByteArray(":0000 -0012U-0123\r\n") << Texts{{Field::Heave, "-0.120"}, {Field::Roll, "-01.23"}};
    QTest::newRow("colon alone") << 3u << QByteArray(":\r\n") << Texts{};
    QTest::newRow("separators only") << 3u << QByteArray(" ,;* ,\r\n") << Texts{};
    QTest::newRow("empty") << 3u << QByteArray() << Texts{};
}

// TSS: heave, roll and pitch in hundredths; a short line decodes what it holds.
void TestOutputDecoder::tssLines()
{
    QFETCH(uint, value);
    QFETCH(QByteArray, line);
    QFETCH(Texts, texts);

    OutputDataType sample = prefilledSample();
    const uint32_t before = 0x100;
    uint32_t mask = before;
    const auto result = decodePredefined(value, line, sample, mask);

    QCOMPARE(result, texts.isEmpty() ? OutputDecoder::Result::Ignored : OutputDecoder::Result::Decoded);
    QVERIFY(fieldsMatch(sample, texts));
    uint32_t bits = 0;
    bits |= texts.contains(Field::Heave) ? DataFieldFlags::Heave : 0;
    bits |= texts.contains(Field::Roll) ? DataFieldFlags::Roll : 0;
    bits |= texts.contains(Field::Pitch) ? DataFieldFlags::Pitch : 0;
    QCOMPARE(mask, before | bits);
}

void TestOutputDecoder::textFieldProtocols_data()
{
    QTest::addColumn<uint>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("roll");
    QTest::addColumn<QString>("pitch");
    QTest::addColumn<QString>("yaw");

    QTest::newRow("TOG") << 6u << QByteArray("HD123.4 PI-01.2 RO+02.3\r\n") << "+02.3" << "-01.2" << "123.4";
    QTest::newRow("TOG, parts shorter than 2") << 6u << QByteArray("X\r\n") << "" << "" << "";
    QTest::newRow("ISH") << 7u << QByteArray("$PISH,123.4,-01.2,+02.3*5A\r\n") << "+02.3" << "-01.2" << "123.4";
    QTest::newRow("ISH, UTF-8 kept") << 7u << QByteArray("$PISH,12.5\xC2\xB0,x,y\r\n") << "y" << "x"
                                     << QStringLiteral("12.5\u00B0");
    QTest::newRow("ISH, empty line") << 7u << QByteArray("\r\n") << "" << "" << "";
    QTest::newRow("PRDID") << 15u << QByteArray("$PRDID,-01.20,+02.30,123.40*4F\r\n") << "+02.30" << "-01.20"
                           << "123.40";
    QTest::newRow("PRDID, short line wraps") << 15u << QByteArray("$PRDID,1.0\r\n") << "$PRDID" << "1.0" << "1.0";
    QTest::newRow("PRDID, empty parts kept") << 15u << QByteArray("$PRDID;;1,2\r\n") << "1" << "" << "2";
}

// TOG, ISH, PRDID: texts as they stand; the low byte of the mask becomes roll, pitch, yaw.
void TestOutputDecoder::textFieldProtocols()
{
    QFETCH(uint, value);
    QFETCH(QByteArray, line);
    QFETCH(QString, roll);
    QFETCH(QString, pitch);
    QFETCH(QString, yaw);

    OutputDataType sample = prefilledSample();
    uint32_t mask = 0xABCD0012;
    QCOMPARE(decodePredefined(value, line, sample, mask), OutputDecoder::Result::Decoded);
    QVERIFY(fieldsMatch(sample, {{Field::Roll, roll}, {Field::Pitch, pitch}, {Field::Yaw, yaw}}));
    QCOMPARE(mask, 0xABCD00E0u);
}

void TestOutputDecoder::undecodedValues_data()
{
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("recognised");

    QTest::newRow("raw data 1") << 1u << false;
    QTest::newRow("raw data -1") << 0xFFFFFFFFu << false;
    QTest::newRow("no protocol 0") << 0u << false;
    for (uint value : {2u, 10u, 11u, 12u, 16u, 17u, 18u})
        QTest::addRow("no protocol %u", value) << value << false;
    QTest::newRow("UPX") << 4u << true;
}

// Raw data and values naming no protocol clear the mask; UPX keeps it; no text changes.
void TestOutputDecoder::undecodedValues()
{
    QFETCH(uint, value);
    QFETCH(bool, recognised);

    OutputDataType sample = prefilledSample();
    uint32_t mask = 0xE2;
    const auto result = decodePredefined(value, ":0000 -0012U-0123 00456\r\n", sample, mask);
    QCOMPARE(result, recognised ? OutputDecoder::Result::Ignored : OutputDecoder::Result::Unrecognised);
    QCOMPARE(mask, recognised ? 0xE2u : 0u);
    QVERIFY(fieldsMatch(sample, {}));
}

void TestOutputDecoder::textLineSelection_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("decodesLines");
    QTest::addColumn<bool>("custom");

    QTest::newRow("unset format") << QByteArray("\xFF\xFF\xFF\xFF", 4) << false << true;
    QTest::newRow("reserved -16") << QByteArray("\xFF\xFF\xFF\xF0", 4) << false << true;
    QTest::newRow("raw data 1") << QByteArray("\x00\x00\x00\x01", 4) << true << false;
    QTest::newRow("TSS1") << QByteArray("\x00\x00\x00\x03", 4) << true << false;
    QTest::newRow("18") << QByteArray("\x00\x00\x00\x12", 4) << true << false;
    QTest::newRow("19") << QByteArray("\x00\x00\x00\x13", 4) << true << true;
    QTest::newRow("custom with header") << QByteArray("\xC0\x40\x00\x14", 4) << true << true;
}

// Which lines reach a decoder: none for the unset and reserved formats, custom ones from 19 up.
void TestOutputDecoder::textLineSelection()
{
    QFETCH(QByteArray, format);
    QFETCH(bool, decodesLines);
    QFETCH(bool, custom);

    OutputProtocolType slot;
    std::memcpy(slot.format.data(), format.constData(), slot.format.size());
    slot.value = qFromBigEndian<quint32>(format.constData());
    QCOMPARE(OutputDecoder::decodesTextLines(slot), decodesLines);
    QCOMPARE(OutputDecoder::isCustomSelection(slot.value), custom);
}

void TestOutputDecoder::customLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("firstFlags");
    QTest::addColumn<int>("secondFlags");
    QTest::addColumn<bool>("capture");
    QTest::addColumn<QString>("header");
    QTest::addColumn<Texts>("texts");

    const QByteArray all("$HDR+1,2,3,4,5,6,7,8,9,10,11,12,13\r\n");
    const Texts allTexts{{Field::Roll, "+1"}, {Field::Pitch, "2"}, {Field::Yaw, "3"}, {Field::RollRate, "4"},
                         {Field::PitchRate, "5"}, {Field::YawRate, "6"}, {Field::Heave, "7"},
                         {Field::HeaveVelocity, "8"}, {Field::Ax, "9"}, {Field::Ay, "10"}, {Field::Az, "11"},
                         {Field::FrameCounter, "12"}, {Field::Checksum, "13"}};

    QTest::newRow("header before the first sign")
        << QByteArray("HDR+1.50,-2.00\r\n") << 0xC0 << 0x00 << true << "HDR"
        << Texts{{Field::Roll, "+1.50"}, {Field::Pitch, "-2.00"}};
    QTest::newRow("no sign: first part is the header")
        << QByteArray("12.5,3.0\r\n") << 0xC0 << 0x00 << true << "12.5"
        << Texts{{Field::Roll, "3.0"}, {Field::Pitch, "12.5"}};
    QTest::newRow("leading plus: no header") << QByteArray("+1.50,-2.00\r\n") << 0xC0 << 0x00 << true << ""
                                             << Texts{{Field::Roll, "+1.50"}, {Field::Pitch, "-2.00"}};
    QTest::newRow("leading minus: no header") << QByteArray("-1.50,+2.00\r\n") << 0xC0 << 0x00 << true << ""
                                              << Texts{{Field::Roll, "-1.50"}, {Field::Pitch, "+2.00"}};
    QTest::newRow("both signs, plus first") << QByteArray("AB+1-2,3\r\n") << 0xC0 << 0x00 << true << "AB"
                                            << Texts{{Field::Roll, "+1-2"}, {Field::Pitch, "3"}};
    QTest::newRow("both signs, minus first") << QByteArray("AB-1+2,3\r\n") << 0xC0 << 0x00 << true << "AB"
                                             << Texts{{Field::Roll, "-1+2"}, {Field::Pitch, "3"}};
    QTest::newRow("every field in order") << all << 0xFF << 0xF8 << true << "$HDR" << allTexts;
    QTest::newRow("unassigned bits ignored") << all << 0xFF << 0xFF << true << "$HDR" << allTexts;
    QTest::newRow("second byte only") << QByteArray("H-9.81,7\r\n") << 0x00 << 0x30 << true << "H"
                                      << Texts{{Field::Az, "-9.81"}, {Field::FrameCounter, "7"}};
    QTest::newRow("fewer parts wrap round") << QByteArray("H+1,2\r\n") << 0xE0 << 0x00 << true << "H"
                                            << Texts{{Field::Roll, "+1"}, {Field::Pitch, "2"}, {Field::Yaw, "+1"}};
    QTest::newRow("header alone") << QByteArray("HEADERONLY\r\n") << 0x80 << 0x00 << true << "HEADERONLY"
                                  << Texts{{Field::Roll, "HEADERONLY"}};
    QTest::newRow("capture not armed") << QByteArray("HDR+1.50,-2.00\r\n") << 0xC0 << 0x00 << false << ""
                                       << Texts{{Field::Roll, "+1.50"}, {Field::Pitch, "-2.00"}};
    QTest::newRow("no field selected") << QByteArray("HDR+1\r\n") << 0x00 << 0x00 << true << "HDR" << Texts{};
    QTest::newRow("parts as they stand") << QByteArray("HDR+1.50, -2.00 ,x\r\n") << 0xC0 << 0x00 << true << "HDR"
                                         << Texts{{Field::Roll, "+1.50"}, {Field::Pitch, " -2.00 "}};
    QTest::newRow("UTF-8 header") << QByteArray("Kopf\xC2\xB0+1.0\r\n") << 0x80 << 0x00 << true
                                  << QStringLiteral("Kopf\u00B0") << Texts{{Field::Roll, "+1.0"}};
    QTest::newRow("empty line") << QByteArray("\r\n") << 0x80 << 0x00 << true << "" << Texts{{Field::Roll, ""}};
}

// Custom lines: header split, values in field-flag order, header captured while armed, mask kept.
void TestOutputDecoder::customLines()
{
    QFETCH(QByteArray, line);
    QFETCH(int, firstFlags);
    QFETCH(int, secondFlags);
    QFETCH(bool, capture);
    QFETCH(QString, header);
    QFETCH(Texts, texts);

    OutputProtocolType slot;
    slot.format = {uint8_t(firstFlags), uint8_t(secondFlags), 0x00, 0x14};
    slot.value = CustomValue;
    slot.mask = 0x12345678;
    slot.header = QStringLiteral("previous");
    OutputDataType sample = prefilledSample();
    bool pending = capture;

    const std::optional<QString> reported = decodeCustom(line, slot, sample, pending);

    QVERIFY(fieldsMatch(sample, texts));
    QCOMPARE(slot.mask, 0x12345678u);
    QVERIFY(!pending);
    QCOMPARE(reported.has_value(), capture);
    QCOMPARE(slot.header, capture ? header : QStringLiteral("previous"));
    if (reported)
        QCOMPARE(*reported, header);
}

void TestOutputDecoder::headerCapturedOnce()
{
    OutputProtocolType slot;
    slot.format = {0x80, 0x00, 0x00, 0x14};
    slot.value = 0x80000014;
    OutputDataType sample;
    bool pending = true;

    QCOMPARE(decodeCustom("AAA+1\r\n", slot, sample, pending), std::optional<QString>(QStringLiteral("AAA")));
    QCOMPARE(decodeCustom("BBB+2\r\n", slot, sample, pending), std::nullopt);
    QCOMPARE(slot.header, QStringLiteral("AAA"));
    QCOMPARE(sample.field[Field::Roll], QStringLiteral("+2"));
}

void TestOutputDecoder::hostileInputNeverCrashes_data()
{
    QTest::addColumn<uint>("value");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QList<int>>("fields");

    const QList<int> attitude{Field::Roll, Field::Pitch, Field::Yaw, Field::Heave};
    QTest::newRow("raw data") << 1u << QByteArray() << attitude;
    QTest::newRow("TSS1") << 3u << QByteArray(":") << attitude;
    QTest::newRow("UPX") << 4u << QByteArray() << attitude;
    QTest::newRow("TSS3") << 5u << QByteArray(":R") << attitude;
    QTest::newRow("TOG") << 6u << QByteArray() << attitude;
    QTest::newRow("ISH") << 7u << QByteArray("$PISH,") << attitude;
    QTest::newRow("EulerL") << 8u << EulerSync << attitude;
    QTest::newRow("EulerB") << 9u << EulerSync << attitude;
    QTest::newRow("EM1000") << 13u << QByteArray("\x00\x90", 2) << attitude;
    QTest::newRow("EM3000") << 14u << QByteArray("\x90\x90", 2) << attitude;
    QTest::newRow("PRDID") << 15u << QByteArray("$PRDID,") << attitude;
    QTest::newRow("custom") << CustomValue << QByteArray("HDR")
                            << QList<int>{Field::Roll, Field::Pitch, Field::Yaw, Field::RollRate, Field::PitchRate,
                                          Field::YawRate, Field::Heave, Field::HeaveVelocity, Field::Ax, Field::Ay,
                                          Field::Az, Field::FrameCounter, Field::Checksum};
}

// Random bytes, biased towards the characters the decoders look at, of random
// length: no crash, no read past the end, no field outside the protocol's written.
void TestOutputDecoder::hostileInputNeverCrashes()
{
    QFETCH(uint, value);
    QFETCH(QByteArray, prefix);
    QFETCH(QList<int>, fields);

    static const QByteArray alphabet(":R0123456789+-.,;* eEUuHhGgFfn\r\n\t\x00\x90\xFA\xFF\x32\x0C\xC3\xB0", 42);
    QRandomGenerator random(value);
    OutputProtocolType slot;
    slot.format = {0xFF, 0xF8, 0x00, 0x14};
    slot.value = value;
    for (int round = 0; round < 3000; ++round) {
        QByteArray input = random.bounded(2) ? prefix : QByteArray();
        const int length = random.bounded(8) == 0 ? random.bounded(600) : random.bounded(40);
        for (int i = 0; i < length; ++i) {
            const bool fromAlphabet = random.bounded(4) != 0;
            input.append(fromAlphabet ? alphabet.at(random.bounded(int(alphabet.size())))
                                      : char(random.bounded(256)));
        }

        OutputDataType sample = prefilledSample();
        uint32_t mask = 0;
        bool pending = random.bounded(2);
        if (OutputDecoder::isCustomSelection(value))
            decodeCustom(input, slot, sample, pending);
        else
            decodePredefined(value, input, sample, mask);

        Texts untouched;
        for (int i = 0; i < OutputDataType::FieldCount; ++i) {
            if (!fields.contains(i))
                untouched.insert(i, Untouched);
        }
        for (auto it = untouched.cbegin(); it != untouched.cend(); ++it)
            QCOMPARE(sample.field[size_t(it.key())], it.value());
    }
}

// Lines at the receive buffer's size limit and numbers no device sends.
void TestOutputDecoder::longAndAbsurdInput()
{
    const QByteArray digits(4000, '9');
    OutputDataType sample;
    uint32_t mask = 0;

    QCOMPARE(decodePredefined(3, ":0000 -" + digits + "U" + digits + " -" + digits + "\r\n", sample, mask),
             OutputDecoder::Result::Decoded);
    QCOMPARE(mask, 0xC2u);
    QCOMPARE(decodePredefined(3, ":0000 -99999999999U1e39 nan\r\n", sample, mask), OutputDecoder::Result::Decoded);
    QVERIFY(sample.field[Field::Heave].startsWith(QLatin1Char('-')));
    QVERIFY(!sample.field[Field::Roll].isEmpty());
    QVERIFY(!sample.field[Field::Pitch].isEmpty());
    QCOMPARE(decodePredefined(15, QByteArray(4096, ','), sample, mask), OutputDecoder::Result::Decoded);
    QCOMPARE(sample.field[Field::Yaw], QString());
    QCOMPARE(decodePredefined(9, EulerSync + QByteArray(4092, '\xFF'), sample, mask), OutputDecoder::Result::Decoded);
    QVERIFY(!sample.field[Field::Roll].isEmpty());

    OutputProtocolType slot;
    slot.format = {0xFF, 0xF8, 0x00, 0x14};
    bool pending = true;
    decodeCustom(QByteArray(4096, ','), slot, sample, pending);
    QCOMPARE(sample.field[Field::Checksum], QString());
    pending = true;
    decodeCustom(digits + "+" + digits, slot, sample, pending);
    QCOMPARE(slot.header, QString::fromLatin1(digits));
    QCOMPARE(sample.field[Field::Checksum], QString::fromLatin1("+" + digits));
}

QTEST_GUILESS_MAIN(TestOutputDecoder)
#include "tst_outputdecoder.moc"
