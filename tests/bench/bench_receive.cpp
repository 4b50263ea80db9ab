// Measures the serial receive path on realistic streams read in 128-byte
// chunks: first the framing codec alone (cutting and classifying), then the
// worker's whole path without anyone listening to its signals.
// Prints lines or frames per second on one core.

#include "SerialFraming.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

namespace {

constexpr qsizetype ChunkSize = 128;
constexpr qint64 MinimumRunMs = 400;

struct Stream
{
    const char *name;
    uint32_t protocol;
    QByteArray bytes;
    qsizetype pieces; // lines and frames in one pass
};

Stream textStream()
{
    QByteArray bytes;
    for (int i = 0; i < 2000; ++i)
        bytes += ":00" + QByteArray::number(i % 100).rightJustified(2, '0') + " -0012U-0123 00456\r\n";
    return {"TSS1 text lines", 3, bytes, 2000};
}

Stream eulerStream()
{
    QByteArray bytes;
    const QByteArray frame = QByteArray::fromHex("FAFF320C3FC00000C01000004453E66600");
    for (int i = 0; i < 2000; ++i) {
        bytes += frame;
        if (i % 100 == 99)
            bytes += "$frq#100\r\n";
    }
    return {"EulerB frames + answers", 9, bytes, 2020};
}

Stream emStream()
{
    QByteArray bytes;
    const QByteArray frame = QByteArray::fromHex("90909600380F0C008403");
    for (int i = 0; i < 3000; ++i)
        bytes += frame;
    return {"EM3000 frames", 14, bytes, 3000};
}

// Runs pass() until enough time has gone by; returns passes per second.
double rate(const std::function<void()> &pass)
{
    QElapsedTimer timer;
    timer.start();
    qint64 passes = 0;
    do {
        pass();
        ++passes;
    } while (timer.elapsed() < MinimumRunMs);
    return double(passes) * 1000.0 / double(timer.elapsed());
}

void codecPass(const Stream &stream, qsizetype *sink)
{
    const SerialFraming::FrameKind kind = SerialFraming::frameKindFor(stream.protocol);
    QByteArray buffer;
    for (qsizetype pos = 0; pos < stream.bytes.size(); pos += ChunkSize) {
        buffer.append(stream.bytes.mid(pos, ChunkSize));
        const SerialFraming::Cut cut = SerialFraming::cutBuffer(buffer, kind);
        for (const SerialFraming::Piece &piece : cut.pieces) {
            if (piece.kind == SerialFraming::Piece::Line)
                *sink += SerialFraming::classifyLine(QByteArrayView(buffer).sliced(piece.begin, piece.size)).lineClass;
        }
        *sink += cut.pieces.size();
        buffer.remove(0, cut.consumed);
    }
}

void workerPass(Worker &worker, const Stream &stream)
{
    for (qsizetype pos = 0; pos < stream.bytes.size(); pos += ChunkSize)
        WorkerProbe::receive(worker, stream.bytes.mid(pos, ChunkSize));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("%-26s %18s %18s\n", "stream", "codec /s", "worker path /s");
    for (const Stream &stream : {textStream(), eulerStream(), emStream()}) {
        qsizetype sink = 0;
        const double codec = rate([&] { codecPass(stream, &sink); }) * double(stream.pieces);

        Worker worker;
        WorkerProbe::stopTimer(worker);
        WorkerProbe::fakeSerialLink(worker, true);
        WorkerProbe::setReadingSettings(worker, false);
        WorkerProbe::setProtocolValue(worker, stream.protocol);
        const double path = rate([&] { workerPass(worker, stream); }) * double(stream.pieces);

        std::printf("%-26s %15.2f M %15.2f M%s\n", stream.name, codec / 1e6, path / 1e6, sink < 0 ? "!" : "");
    }
    return 0;
}
