#include "DisplayNumber.h"
#include "ExpFilter.h"
#include "OutputDecoder.h"
#include "SerialFraming.h"
#include "StatisticsFilter.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

using namespace SerialFraming;
using OutputDecoder::Result;

Q_DECLARE_METATYPE(SerialFraming::FrameKind)

namespace {

const QString Untouched = QStringLiteral("old");
constexpr uint32_t MaskBefore = 0x100;

// The pieces cut from a buffer: "F:" + hex for a frame, "L" + class + ":" + the
// classified text for a line.
QStringList describe(QByteArrayView buffer, const Cut &cut)
{
    QStringList pieces;
    for (const Piece &piece : cut.pieces) {
        const QByteArrayView bytes = buffer.sliced(piece.begin, piece.size);
        const ClassifiedLine line = classifyLine(bytes);
        if (piece.kind == Piece::Frame)
            pieces << "F:" + bytes.toByteArray().toHex();
        else
            pieces << "L" + QByteArray::number(line.lineClass) + ":" + bytes.sliced(line.begin).toByteArray();
    }
    return pieces;
}

// Decodes an exact-size heap copy of input, so that the sanitizer catches any read
// past its end. Returns the fields written as "index=text", after the header a
// custom line reports as "H=text".
QStringList decodeCopy(uint32_t value, QByteArrayView input, uint32_t &mask, Result &result)
{
    const std::unique_ptr<char[]> copy(new char[size_t(input.size())]);
    std::copy(input.begin(), input.end(), copy.get());
    const QByteArrayView bytes(copy.get(), input.size());
    OutputDataType sample;
    sample.field.fill(Untouched);
    QStringList written;
    result = Result::Decoded;
    if (OutputDecoder::isCustomSelection(value)) {
        OutputProtocolType slot;
        qToBigEndian(value, slot.format.data());
        bool pending = true;
        written << "H=" + OutputDecoder::decodeCustom(bytes, slot, sample, pending).value_or("not reported");
        if (OutputDecoder::decodeCustom(bytes, slot, sample, pending) || pending || slot.mask != 0)
            written << QStringLiteral("header captured twice or mask changed");
    } else {
        result = OutputDecoder::decodePredefined(value, bytes, sample, mask);
    }
    for (int i = 0; i < OutputDataType::FieldCount; ++i) {
        if (sample.field[size_t(i)] != Untouched)
            written << QStringLiteral("%1=%2").arg(i).arg(sample.field[size_t(i)]);
    }
    return written;
}

} // namespace

class TestCodecs : public QObject
{
    Q_OBJECT

private slots:
    void cutBuffer_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<FrameKind>("kind");
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QByteArray>("rest");
        const auto row = [](const char *name, const QByteArray &buffer, FrameKind kind, const QStringList &pieces,
                            const QByteArray &rest = {}) { QTest::newRow(name) << buffer << kind << pieces << rest; };
        const auto eul = FrameKind::Euler, none = FrameKind::None;
        const QByteArray f1 = QByteArray::fromHex("FAFF320C") + QByteArray(13, 'a'), p = "\x90\x90" + QByteArray(8, 1);
        QByteArray crLf = f1;
        crLf.replace(8, 2, "\r\n");
        const QString F1 = "F:" + f1.toHex(), P = "F:" + p.toHex(), CrLf = "F:" + crLf.toHex();

        row("lines, the rest waits", "$frq#1\r\na\rb\r\nxy", none, {"L1:$frq#1\r\n", "L2:a\rb\r\n"}, "xy");
        row("line classes", "$echocmd#$setfrq#5\r\n$getsrn#\r\ngyro error\r\n\r\n", none,
            {"L1:$echocmd#$setfrq#5\r\n", "L2:$getsrn#\r\n", "L0:gyro error\r\n", "L3:\r\n"});
        row("noise before a sync", "123" + f1 + f1, eul, {F1, F1});
        row("answer and frame in one read", "$frq#1\r\n" + f1, eul, {"L1:$frq#1\r\n", F1});
        row("frame tail not arrived", f1 + f1.left(10), eul, {F1}, f1.left(10));
        row("CR LF inside a frame", crLf + "ok\r\n", eul, {CrLf, "L2:ok\r\n"});
        row("CR LF inside an unfinished frame", crLf.left(12), eul, {}, crLf.left(12));
        row("unfinished line before a sync is noise", "$frq#1" + f1, eul, {F1});
        row("EM3000, answer between frames", p + "$frq#1\r\n" + p, FrameKind::EM3000, {P, "L1:$frq#1\r\n", P});
        row("EM1000 ignores the EM3000 sync", p, FrameKind::EM1000, {}, p);

        // A false sync in the tail of a frame the framer did not see begin: the
        // answer that follows is taken instead of the "frame" that would cut it.
        const QByteArray dip("$dip#10.0.0.1\r\n");
        row("answer behind a false sync", "\x01\x02" + f1.left(4) + "ab" + dip + f1, eul, {"L1:" + dip, F1});
        row("answer behind a false sync, EM3000", "\x01\x90\x90\x02" + dip + p, FrameKind::EM3000, {"L1:" + dip, P});
        row("answer behind a false sync, line end not yet arrived", f1.left(6) + dip.left(13), eul, {},
            f1.left(6) + dip.left(13));
        row("answer head not yet told", f1.left(13) + "$fr", eul, {}, f1.left(13) + "$fr");
        const QByteArray headInData = f1.left(4) + "$frq#12345678", noHead = f1.left(13) + "$frq";
        row("head in frame data, next sync before any line end", headInData + f1 + "\r\n", eul,
            {"F:" + headInData.toHex(), F1, "L3:\r\n"});
        row("no head in frame data", noHead + "x" + f1, eul, {"F:" + noHead.toHex(), F1});
    }

    void classifyLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("behindFrameBytes"); // answers may stand behind frame bytes
        QTest::addColumn<QByteArray>("classified");
        const auto row = [](const char *name, const QByteArray &line, bool behind, const QByteArray &classified) {
            QTest::newRow(name) << line << behind << classified;
        };
        for (const bool behind : {false, true}) {
            const QByteArray mode = behind ? " in a frame stream" : " in a text stream";
            const auto named = [&](const char *name) { return QByteArray(name + mode); };
            row(named("answer"), "$frq#100\r\n", behind, "1:$frq#100\r\n");
            row(named("long code"), "$echocmd#$setfrq#5\r\n", behind, "1:$echocmd#$setfrq#5\r\n");
            row(named("hash at index 7"), "$getsrn#\r\n", behind, "2:$getsrn#\r\n");
            row(named("error quoting a command"), "cmd error $prt#0.0.0.9:0 rejected\r\n", behind,
                "0:cmd error $prt#0.0.0.9:0 rejected\r\n");
            row(named("error before a frequency"), "error: $frq#5000\r\n", behind, "0:error: $frq#5000\r\n");
            row(named("capitalised Error"), "Error\r\n", behind, "2:Error\r\n");
            row(named("answer holding error"), "$frq#error\r\n", behind, "1:$frq#error\r\n");
            row(named("one character"), "x\r\n", behind, "2:x\r\n");
            row(named("bare line end"), "\r\n", behind, "3:\r\n");
        }
        const QByteArray residue = QByteArray::fromHex("FAFF320C") + "\x01$";
        row("custom line quoting flags", "HDR+1.50,$flg#0.0.0.33\r\n", false, "2:HDR+1.50,$flg#0.0.0.33\r\n");
        row("answer behind frame bytes", residue + "$srn#1\r\n", true, "1:$srn#1\r\n");
        row("answer behind bytes that look like a head", "$\x01\x02\x03#\x04$dip#1\r\n", true, "1:$dip#1\r\n");
        row("answer behind frame bytes after a query echo", "$getsrn#$frq#1\r\n", true, "1:$frq#1\r\n");
        row("no head behind frame bytes", residue + "$z\r\n", true, "2:" + residue + "$z\r\n");
        row("frame bytes before an answer in a text stream", residue + "$srn#1\r\n", false,
            "2:" + residue + "$srn#1\r\n");
    }

    // "class:text" of a line, the text beginning where its class begins.
    void classifyLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, behindFrameBytes);
        const ClassifiedLine classified = SerialFraming::classifyLine(line, behindFrameBytes);
        QTEST(QByteArray::number(classified.lineClass) + ":" + line.mid(classified.begin), "classified");
    }

    void cutBuffer()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(FrameKind, kind);
        const Cut cut = SerialFraming::cutBuffer(buffer, kind);
        QTEST(describe(buffer, cut), "pieces");
        QTEST(buffer.mid(cut.consumed), "rest");
    }

    // Random streams rich in syncs and line ends: every piece lies within the
    // buffer, and however the stream is split into reads the same pieces come out.
    void randomStreamsInAnyChunks()
    {
        static const char alphabet[] = "\r\n\x90\x00\xFA\xFF\x32\x0C$#x";
        QRandomGenerator random(7);
        for (FrameKind kind : {FrameKind::None, FrameKind::Euler, FrameKind::EM1000, FrameKind::EM3000}) {
            for (int run = 0; run < 100; ++run) {
                QByteArray stream(random.bounded(600), Qt::Uninitialized);
                for (char &byte : stream)
                    byte = random.bounded(3) ? alphabet[random.bounded(11)] : char(random.generate());
                const Cut whole = SerialFraming::cutBuffer(stream, kind);
                QVERIFY(whole.consumed >= 0 && whole.consumed <= stream.size());
                for (const Piece &piece : whole.pieces) {
                    QVERIFY(piece.begin >= 0 && piece.begin + piece.size <= whole.consumed);
                    const QByteArrayView bytes = QByteArrayView(stream).sliced(piece.begin, piece.size);
                    QVERIFY(piece.kind == Piece::Frame ? bytes.startsWith(frameSync(kind)) : bytes.endsWith("\r\n"));
                }
                QStringList pieces;
                QByteArray buffer;
                for (qsizetype pos = 0, n = 0; pos < stream.size(); pos += n) {
                    n = random.bounded(1, 40);
                    buffer += stream.mid(pos, n);
                    const Cut cut = SerialFraming::cutBuffer(buffer, kind);
                    pieces += describe(buffer, cut);
                    buffer.remove(0, cut.consumed);
                }
                QCOMPARE(pieces, describe(stream, whole));
            }
        }
    }

    // Each binary protocol's frame, however the stream carries it, is cut whole
    // and decoded; its sync on another protocol's stream is no frame of it.
    void cutFramesDecode_data()
    {
        QTest::addColumn<uint>("value");
        QTest::addColumn<QByteArray>("sync");
        QTest::newRow("EulerL") << uint(ProtocolValue::EulerL) << QByteArray("\xFA\xFF\x32\x0C");
        QTest::newRow("EulerB") << uint(ProtocolValue::EulerB) << QByteArray("\xFA\xFF\x32\x0C");
        QTest::newRow("EM1000") << uint(ProtocolValue::EM1000) << QByteArray("\x00\x90", 2);
        QTest::newRow("EM3000") << uint(ProtocolValue::EM3000) << QByteArray("\x90\x90");
    }

    void cutFramesDecode()
    {
        QFETCH(uint, value);
        QFETCH(QByteArray, sync);
        const FrameKind kind = frameKindFor(value);
        QCOMPARE(frameSync(kind), QByteArrayView(sync));
        const QByteArray frame = sync + QByteArray(frameSize(kind) - sync.size(), '\x01');
        const QByteArray stream = "$frq#100\r\n" + frame + frame.left(frame.size() - 1);
        const Cut cut = SerialFraming::cutBuffer(stream, kind);
        QCOMPARE(cut.pieces.size(), 2);
        const Piece piece = cut.pieces.at(1);
        QCOMPARE(piece.kind, Piece::Frame);
        QCOMPARE(stream.mid(piece.begin, piece.size), frame);
        OutputDataType sample;
        uint32_t mask = 0;
        QCOMPARE(OutputDecoder::decodePredefined(value, frame, sample, mask), Result::Decoded);
        QCOMPARE(OutputDecoder::decodePredefined(value, frame.chopped(1), sample, mask), Result::Ignored);
    }

    // The fast formatter writes the texts QString::arg makes ("." as decimal point
    // whatever the locale, exact ties away from zero), in place, leaving copies alone.
    // Each text reads back as the value rounded to its decimals (within half a unit
    // in the last place), or as 0 when the value is no finite number; single
    // precision gives 0 beyond its range.
    void displayNumber()
    {
        const double values[] = {std::nan(""), INFINITY, -INFINITY, 1e300, std::numeric_limits<float>::lowest(),
                                 std::numeric_limits<double>::denorm_min(), -0.0, -0.001, 0.125, -1.25, 99.5, 99.995,
                                 2.675, 0.5, 327.67, double(655.35f), -12345.678, 9.81, 1234567.0};
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QString text = QStringLiteral("a previous, longer text");
        const QString copy = text;
        for (const double value : values) {
            for (int decimals = 0; decimals <= 4; ++decimals) {
                for (const int width : {6, 7}) {
                    QString reference = QStringLiteral("%1").arg(value, width, 'f', decimals, QLatin1Char('0'));
                    if (reference.startsWith(QLatin1Char('0')))
                        reference[0] = QLatin1Char('+');
                    writeDisplayNumber(text, value, decimals, width);
                    QCOMPARE(text, reference);
                    const double read = ::readDisplayNumber(text);
                    if (!std::isfinite(value)) {
                        QCOMPARE(read, 0.0);
                        continue;
                    }
                    const double halfStep = 0.5 * std::pow(10.0, -decimals);
                    QVERIFY2(std::fabs(read - value) <= halfStep * (1 + 1e-9) + std::fabs(value) * 1e-15,
                             qPrintable(text));
                    const bool fitsFloat = std::fabs(read) <= double(std::numeric_limits<float>::max());
                    QCOMPARE(readDisplayFloat(text), fitsFloat ? float(read) : 0.0f);
                }
            }
        }
        QCOMPARE(copy, QStringLiteral("a previous, longer text"));
        QLocale::setDefault(QLocale::c());
    }

    void readDisplayNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const auto row = [](const char *text, double expected) {
            QTest::newRow(*text ? text : "empty") << QString::fromLatin1(text) << expected;
        };
        row("+01.50", 1.5);
        row("-00.42", -0.42);
        row("88.88", 88.88);
        for (const char *text : {"NA", "", "1,5", "0x10", "+00nan", "+0-inf", "inf", "nan", "1e400"})
            row(text, 0.0);
    }

    // Display texts read back into numbers; a text that holds no finite number gives 0.
    void readDisplayNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(::readDisplayNumber(text), expected);
        QCOMPARE(readDisplayFloat(text), float(expected));
    }

    void decode_data()
    {
        QTest::addColumn<uint>("value");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("written");
        QTest::addColumn<uint>("mask");
        const auto row = [](const char *name, uint value, const QByteArray &input, const char *written, uint mask) {
            QTest::newRow(name) << value << input << QString::fromLatin1(written) << mask;
        };
        const char *euler = "0=+01.50 1=-02.25 2=+359.9", *tss = "0=-01.23 1=+04.56 11=-0.120";
        const char *text = "0=+02.3 1=-01.2 2=123.4";
        // Floats 1.5, -2.25 and 359.9, big- and little-endian; EM words 150, -200, 12, 900 and extremes.
        const QByteArray eulerB = QByteArray::fromHex("FAFF320C 3FC00000 C0100000 43B3F333 55");
        const QByteArray eulerL = QByteArray::fromHex("FAFF320C 0000C03F 000010C0 33F3B343 55");
        const QByteArray em = QByteArray::fromHex("9600 38FF 0C00 8403");
        const QByteArray extremes = QByteArray::fromHex("0080 FF7F 0080 FFFF");
        row("EulerB", 9, eulerB, euler, 0x1E0);
        row("EulerL", 8, eulerL, euler, 0x1E0);
        row("EulerL of 16 bytes", 8, eulerL.left(16), "", MaskBefore);
        row("EM1000", 13, QByteArray::fromHex("0090") + em, "0=+01.50 1=-02.00 2=+009.0 11=+0.120", 0x1E2);
        row("EM3000 extremes", 14, QByteArray::fromHex("9090") + extremes, "0=-327.68 1=327.67 2=+655.3 11=-327.680", 0x1E2);
        row("EM3000 with the EM1000 sync", 14, QByteArray::fromHex("0090") + em, "", MaskBefore);
        row("TSS1, status U", 3, ":0000 -0012U-0123 00456\r\n", tss, 0x1C2);
        row("TSS3, status F after a hex field holding F", 5, ":00FF0F -0012F-0123 00456", tss, 0x1C2);
        row("lower-case f, hex field with F", 3, ":00FFE0 -0012f-0123 -0456", "0=-01.23 1=-04.56 11=-0.120", 0x1C2);
        row("plus signs, status g", 5, ":0000 +0250g+1234 -0042", "0=+12.34 1=-00.42 11=+2.500", 0x1C2);
        row("TSS heave only", 3, ":0000 -0012U\r\n", "11=-0.120", 0x102);
        row("TSS heave and roll", 5, ":0000 -0012U-0123", "0=-01.23 11=-0.120", 0x182);
        row("TSS lead field only", 3, ":0000\r\n", "", MaskBefore);
        row("TOG", 6, "HD123.4 PI-01.2 RO+02.3\r\n", text, 0x1E0);
        row("ISH", 7, "$PISH,123.4,-01.2,+02.3*5A\r\n", text, 0x1E0);
        row("PRDID", 15, "$PRDID,-01.2,+02.3,123.4*4F\r\n", text, 0x1E0);
        row("PRDID, short line wraps", 15, "$PRDID,1.0", "0=$PRDID 1=1.0 2=1.0", 0x1E0);
        row("UPX", 4, "$PUPX,1,2,3", "", MaskBefore);
        row("raw data clears the mask", 1, "1,2,3", "", 0);
        row("custom, header before the sign", 0xC0000014, "HDR+1.50,-2.00\r\n", "H=HDR 0=+1.50 1=-2.00", MaskBefore);
        row("custom, no sign: all header", 0xC0000014, "12.5,3.0", "H=12.5 0=3.0 1=12.5", MaskBefore);
        row("custom, leading sign: no header", 0xC0000013, "-1.50,+2.00", "H= 0=-1.50 1=+2.00", MaskBefore);
        row("custom, both signs, plus first", 0xC0000014, "AB+1-2,3", "H=AB 0=+1-2 1=3", MaskBefore);
        row("custom, both signs, minus first", 0xC0000014, "AB-1+2,3", "H=AB 0=-1+2 1=3", MaskBefore);
        row("custom, fewer parts wrap round", 0xE0000014, "H+1,2", "H=H 0=+1 1=2 2=+1", MaskBefore);
        row("custom, every field in order", 0xFFF80014, "$HDR+1,2,3,4,5,6,7,8,9,10,11,12,13\r\n",
            "H=$HDR 0=+1 1=2 2=3 3=4 4=5 5=6 11=7 14=8 15=9 16=10 17=11 19=12 20=13", MaskBefore);
    }

    // A decoder writes only its fields; the mask takes the decoded bits (custom lines leave it).
    void decode()
    {
        QFETCH(uint, value);
        QFETCH(QByteArray, input);
        QFETCH(uint, mask);
        uint32_t decodedMask = MaskBefore;
        Result result;
        const QString written = decodeCopy(value, input, decodedMask, result).join(QLatin1Char(' '));
        QTEST(written, "written");
        QCOMPARE(decodedMask, mask);
        const bool ignored = written.isEmpty() && mask == MaskBefore;
        QCOMPARE(result, mask == 0 ? Result::Unrecognised : ignored ? Result::Ignored : Result::Decoded);
    }

    // Random bytes rich in what the decoders look at, lines of the receive buffer's
    // size and absurd numbers: no crash, no read past the end, no stray field written.
    void hostileInput()
    {
        static const QByteArray alphabet(":R0123456789+-.,;* eEUuHhGgFfn\r\n\x00\x90\xFA\xFF\x32\x0C\xC3\xB0", 38);
        const QByteArray digits(4000, '9');
        const QByteArrayList starts{"", ":", ":R", "$PRDID,", "\xFA\xFF\x32\x0C", QByteArray(1, 0) + "\x90", "\x90\x90"};
        const QByteArrayList fixed{QByteArray(4096, ','), ":0 -" + digits + "U" + digits + " -" + digits,
                                   ":0 -99999999999U1e39 nan", digits + "+" + digits, "\xFA\xFF\x32\x0C" + digits};
        QRandomGenerator random(1);
        for (uint32_t value : {1u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 13u, 14u, 15u, 0xFFF80014u}) {
            for (int round = 0; round < 1000; ++round) {
                QByteArray input = round < fixed.size() ? fixed.at(round) : starts.at(random.bounded(7));
                const int length = random.bounded(8) == 0 ? random.bounded(600) : random.bounded(40);
                for (int i = 0; i < length; ++i)
                    input.append(random.bounded(4) ? alphabet.at(random.bounded(38)) : char(random.generate()));
                uint32_t mask = 0;
                Result result;
                for (const QString &field : decodeCopy(value, input, mask, result)) {
                    const int index = field.section(QLatin1Char('='), 0, 0).toInt();
                    QVERIFY(OutputDecoder::isCustomSelection(value) || QList<int>({0, 1, 2, 11}).contains(index));
                }
            }
        }
    }

    void filterWorkedExamples()
    {
        StatisticsFilter filter;
        for (unsigned int n = 1; n <= 3; ++n)
            filter.add(double(n), n);
        QCOMPARE(filter.mean, 2.0);
        QCOMPARE(filter.previousMean, 1.5);
        QCOMPARE(filter.minimum, 1.0);
        QCOMPARE(filter.maximum, 3.0);
        QCOMPARE(filter.meanOfSquares, 14.0 / 3.0);
        QCOMPARE(filter.rms, std::sqrt(14.0 / 3.0));
        QCOMPARE(filter.M2, 2.0);
        QCOMPARE(filter.standardDeviation, std::sqrt(2.0 / 3.0));
        ExpFilter lowPass{0.0, 0.5}, highPass{0.0, 0.5}, unity;
        unity.set_tbase(0.002);
        QCOMPARE(QList<double>({lowPass.lp_add(2), lowPass.lp_add(2), highPass.hp_add(2), unity.lp_add(7.25)}),
                 QList<double>({1.0, 1.5, 1.0, 7.25}));
    }
};

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
