#include "SerialFraming.h"
#include "SerialPortName.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace SerialFraming;

Q_DECLARE_METATYPE(SerialFraming::FrameKind)

namespace {

// A 17-byte EulerB frame whose payload bytes are seed, seed+1, ...
QByteArray euler(char seed)
{
    QByteArray frame = QByteArray::fromHex("FAFF320C");
    for (int i = 0; i < 13; ++i)
        frame.append(char(seed + i));
    return frame;
}

QByteArray em(const char *syncHex, char seed)
{
    QByteArray frame = QByteArray::fromHex(syncHex);
    for (int i = 0; i < 8; ++i)
        frame.append(char(seed + i));
    return frame;
}

// Pieces as "L:" + text or "F:" + hex, for readable comparisons.
QStringList describe(QByteArrayView buffer, const Cut &cut)
{
    QStringList pieces;
    for (const Piece &piece : cut.pieces) {
        const QByteArray bytes = buffer.sliced(piece.begin, piece.size).toByteArray();
        pieces << (piece.kind == Piece::Line ? "L:" + QString::fromLatin1(bytes) : "F:" + QString::fromLatin1(bytes.toHex()));
    }
    return pieces;
}

QString line(const char *text)
{
    return QStringLiteral("L:") + QLatin1String(text);
}

QString frame(const QByteArray &bytes)
{
    return QStringLiteral("F:") + QString::fromLatin1(bytes.toHex());
}

} // namespace

class TestSerialFraming : public QObject
{
    Q_OBJECT

private slots:
    void cutBuffer_data();
    void cutBuffer();
    void chunkingDoesNotMatter_data();
    void chunkingDoesNotMatter();
    void randomBytesStayInBounds();
    void classifyLine_data();
    void classifyLine();
    void frameKinds();
    void displayPortName_data();
    void displayPortName();
};

void TestSerialFraming::cutBuffer_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<FrameKind>("kind");
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QByteArray>("rest");

    const auto none = FrameKind::None;
    const auto eul = FrameKind::Euler;
    const auto em3 = FrameKind::EM3000;
    const QByteArray f1 = euler(1), f2 = euler(20), f3 = euler(40);

    QTest::newRow("two lines, in order") << QByteArray("$frq#100\r\nabc\r\n") << none
                                         << QStringList{line("$frq#100\r\n"), line("abc\r\n")} << QByteArray();
    QTest::newRow("line without its end waits") << QByteArray("$frq#1") << none << QStringList{} << QByteArray("$frq#1");
    QTest::newRow("two bytes after the last line") << QByteArray("abc\r\nxy") << none << QStringList{line("abc\r\n")}
                                                   << QByteArray("xy");
    QTest::newRow("bare line end") << QByteArray("\r\n") << none << QStringList{line("\r\n")} << QByteArray();
    QTest::newRow("lone CR is text") << QByteArray("a\rb\r\n\r") << none << QStringList{line("a\rb\r\n")}
                                     << QByteArray("\r");
    QTest::newRow("text mode ignores syncs") << f1 + "\r\n" << none << QStringList{"L:" + QString::fromLatin1(f1 + "\r\n")}
                                             << QByteArray();

    QTest::newRow("three frames") << f1 + f2 + f3 << eul << QStringList{frame(f1), frame(f2), frame(f3)} << QByteArray();
    QTest::newRow("noise before the first sync") << "12345" + f1 + f2 + f3 << eul
                                                 << QStringList{frame(f1), frame(f2), frame(f3)} << QByteArray();
    QTest::newRow("answer and frame in one read") << "$prn#VRN12345\r\n" + f1 << eul
                                                  << QStringList{line("$prn#VRN12345\r\n"), frame(f1)} << QByteArray();
    QTest::newRow("frame, answer, frame") << f1 + "$frq#100\r\n" + f2 << eul
                                          << QStringList{frame(f1), line("$frq#100\r\n"), frame(f2)} << QByteArray();
    QTest::newRow("frame tail not arrived") << f1 + f2.left(10) << eul << QStringList{frame(f1)} << f2.left(10);
    QTest::newRow("split sync waits") << f1 + f2.left(2) << eul << QStringList{frame(f1)} << f2.left(2);

    QByteArray withCrLf = euler(1);
    withCrLf[8] = '\r';
    withCrLf[9] = '\n';
    QTest::newRow("CR LF inside a frame") << withCrLf + "ok\r\n" << eul << QStringList{frame(withCrLf), line("ok\r\n")}
                                          << QByteArray();
    QTest::newRow("CR LF inside an unfinished frame") << withCrLf.left(12) << eul << QStringList{} << withCrLf.left(12);
    QTest::newRow("unfinished line before a sync is noise") << "$frq#1" + f1 << eul << QStringList{frame(f1)}
                                                            << QByteArray();

    const QByteArray p = em("9090", 1), q = em("9090", 30);
    QTest::newRow("EM3000 steady stream") << p + q << em3 << QStringList{frame(p), frame(q)} << QByteArray();
    QTest::newRow("EM3000 tail not arrived") << p + q.left(6) << em3 << QStringList{frame(p)} << q.left(6);
    QTest::newRow("EM3000 answer between frames") << p + "$frq#100\r\n" + q << em3
                                                  << QStringList{frame(p), line("$frq#100\r\n"), frame(q)} << QByteArray();
    const QByteArray syncInBody = QByteArray::fromHex("9090019090020304050607");
    QTest::newRow("EM3000 sync inside a body") << syncInBody.left(10) << em3 << QStringList{frame(syncInBody.left(10))}
                                               << QByteArray();
    const QByteArray m = em("0090", 5);
    QTest::newRow("EM1000 frame") << "x" + m + m << FrameKind::EM1000 << QStringList{frame(m), frame(m)} << QByteArray();
    QTest::newRow("EM1000 ignores EM3000 sync") << p << FrameKind::EM1000 << QStringList{} << p;
}

void TestSerialFraming::cutBuffer()
{
    QFETCH(QByteArray, buffer);
    QFETCH(FrameKind, kind);

    const Cut cut = SerialFraming::cutBuffer(buffer, kind);
    QTEST(describe(buffer, cut), "pieces");
    QTEST(buffer.mid(cut.consumed), "rest");
}

void TestSerialFraming::chunkingDoesNotMatter_data()
{
    QTest::addColumn<FrameKind>("kind");
    QTest::newRow("text") << FrameKind::None;
    QTest::newRow("Euler") << FrameKind::Euler;
    QTest::newRow("EM1000") << FrameKind::EM1000;
    QTest::newRow("EM3000") << FrameKind::EM3000;
}

// However the stream is split into reads, the same frames and lines come out.
void TestSerialFraming::chunkingDoesNotMatter()
{
    QFETCH(FrameKind, kind);
    const QByteArray sync = frameSync(kind).toByteArray();
    QByteArray stream;
    for (char i = 0; i < 40; ++i) {
        if (kind != FrameKind::None) {
            QByteArray body(frameSize(kind) - sync.size(), char(0x40 + i));
            body.replace(1, 2, "\r\n"); // line ends inside frame data
            stream += sync + body;
        }
        if (i % 3 == 0)
            stream += "$frq#" + QByteArray::number(i) + "\r\n";
    }
    const QStringList whole = describe(stream, SerialFraming::cutBuffer(stream, kind));

    QRandomGenerator random(7);
    for (int run = 0; run < 50; ++run) {
        QStringList pieces;
        QByteArray buffer;
        for (qsizetype pos = 0; pos < stream.size();) {
            const qsizetype n = qMin<qsizetype>(random.bounded(1, 40), stream.size() - pos);
            buffer += stream.mid(pos, n);
            pos += n;
            const Cut cut = SerialFraming::cutBuffer(buffer, kind);
            pieces += describe(buffer, cut);
            buffer.remove(0, cut.consumed);
        }
        QCOMPARE(pieces, whole);
    }
}

void TestSerialFraming::randomBytesStayInBounds()
{
    QRandomGenerator random(11);
    for (FrameKind kind : {FrameKind::None, FrameKind::Euler, FrameKind::EM1000, FrameKind::EM3000}) {
        for (int run = 0; run < 200; ++run) {
            QByteArray buffer(random.bounded(0, 600), Qt::Uninitialized);
            // A small alphabet makes syncs and line ends frequent.
            static const char alphabet[] = "\r\n\x90\x00\xFA\xFF\x32\x0C$#x";
            for (char &byte : buffer)
                byte = alphabet[random.bounded(int(sizeof alphabet - 1))];
            const Cut cut = SerialFraming::cutBuffer(buffer, kind);
            QVERIFY(cut.consumed >= 0 && cut.consumed <= buffer.size());
            qsizetype previousEnd = 0;
            for (const Piece &piece : cut.pieces) {
                QVERIFY(piece.begin >= previousEnd && piece.begin + piece.size <= cut.consumed);
                const QByteArrayView bytes = QByteArrayView(buffer).sliced(piece.begin, piece.size);
                if (piece.kind == Piece::Line) {
                    QVERIFY(bytes.endsWith("\r\n"));
                    const ClassifiedLine classified = SerialFraming::classifyLine(bytes);
                    QVERIFY(classified.begin >= 0 && classified.begin < bytes.size());
                } else {
                    QCOMPARE(bytes.size(), frameSize(kind));
                    QVERIFY(bytes.startsWith(frameSync(kind)));
                }
                previousEnd = piece.begin + piece.size;
            }
        }
    }
}

void TestSerialFraming::classifyLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("lineClass");
    QTest::addColumn<int>("begin");

    QTest::newRow("# at index 4") << QByteArray("$frq#100\r\n") << int(AnswerLine) << 0;
    QTest::newRow("# at index 8") << QByteArray("$echocmd#$setfrq#50\r\n") << int(AnswerLine) << 0;
    QTest::newRow("# at index 7 is data") << QByteArray("$getsrn#\r\n") << int(DataLine) << 0;
    QTest::newRow("# at index 3 is data") << QByteArray("$ab#1\r\n") << int(DataLine) << 0;
    QTest::newRow("lower-case error") << QByteArray("sensor error 5\r\n") << int(ErrorLine) << 0;
    QTest::newRow("capitalised Error is data") << QByteArray("sensor Error 5\r\n") << int(DataLine) << 0;
    QTest::newRow("answer before error") << QByteArray("$frq#error\r\n") << int(AnswerLine) << 0;
    QTest::newRow("bare line end") << QByteArray("\r\n") << int(ShortLine) << 0;
    QTest::newRow("one character") << QByteArray("x\r\n") << int(DataLine) << 0;
    QTest::newRow("dollar alone") << QByteArray("$\r\n") << int(DataLine) << 0;
    QTest::newRow("head without #") << QByteArray("$PRDID,1,2,3\r\n") << int(DataLine) << 0;

    // Answers behind residue of frames that were not cut out.
    QTest::newRow("answer behind frame bytes") << QByteArray("\xFA\xFF\x32\x0C\x01\x02$srn#VRN12\r\n") << int(AnswerLine)
                                               << 6;
    QTest::newRow("last answer head wins") << QByteArray("x$ab#$dip#1.2.3.4\r\n") << int(AnswerLine) << 5;
    QTest::newRow("later invalid head skipped") << QByteArray("ab$frq#1$z\r\n") << int(AnswerLine) << 2;
    QTest::newRow("residue with # at 7 is data") << QByteArray("\x90\x90$getsrn#\r\n") << int(DataLine) << 0;
    QTest::newRow("lines starting with $ keep their class") << QByteArray("$getsrn#$frq#100\r\n") << int(DataLine) << 0;
}

void TestSerialFraming::classifyLine()
{
    QFETCH(QByteArray, line);
    const ClassifiedLine classified = SerialFraming::classifyLine(line);
    QTEST(int(classified.lineClass), "lineClass");
    QTEST(int(classified.begin), "begin");
}

void TestSerialFraming::frameKinds()
{
    QCOMPARE(frameKindFor(8), FrameKind::Euler);
    QCOMPARE(frameKindFor(9), FrameKind::Euler);
    QCOMPARE(frameKindFor(13), FrameKind::EM1000);
    QCOMPARE(frameKindFor(14), FrameKind::EM3000);
    for (uint32_t value : {0u, 1u, 3u, 15u, 20u, 0xFFFFFFFFu})
        QCOMPARE(frameKindFor(value), FrameKind::None);
}

void TestSerialFraming::displayPortName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("callout prefix") << "cu.usbserial-1" << "usbserial-1";
    QTest::newRow("upper-case prefix kept") << "CU.x" << "CU.x";
    QTest::newRow("plain") << "ttyUSB0" << "ttyUSB0";
    QTest::newRow("prefix only") << "cu." << "";
}

void TestSerialFraming::displayPortName()
{
    QFETCH(QString, name);
    QTEST(::displayPortName(name), "shown");
}

QTEST_GUILESS_MAIN(TestSerialFraming)
#include "tst_serialframing.moc"
