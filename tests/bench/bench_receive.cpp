// Measures the serial receive path on realistic streams of every protocol that
// carries values, read in 128-byte chunks, with an answer line among every
// hundred samples: first the framing codec alone (cutting and classifying),
// then the worker's whole path (framing, console texts, decoding into the
// sample record) without anyone listening to its signals. Then the UDP output
// datagrams: the codec alone, and the worker's processUdpDatagrams (decoding,
// display texts and the output line).
// Prints samples per second on one core; run it by hand on a release build.

#include "SampleInputs.h"
#include "SerialFraming.h"
#include "UdpDatagrams.h"
#include "Worker.h"
#include "WorkerProbe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr double GoalSamplesPerSecond = 500000.0;
constexpr qsizetype ChunkSize = 128;
constexpr qint64 MinimumRunMs = 400;
constexpr int SampleCount = 2000;
constexpr int SamplesPerAnswer = 100;
constexpr double GoalDatagramsPerSecond = 1000000.0;
constexpr int DatagramCount = 1000;

QByteArray streamOf(const SampleInputs::Protocol &protocol)
{
    QByteArray bytes;
    for (int i = 1; i <= SampleCount; ++i) {
        bytes += protocol.makeInput();
        if (i % SamplesPerAnswer == 0)
            bytes += "$frq#100\r\n";
    }
    return bytes;
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

void codecPass(const QByteArray &stream, SerialFraming::FrameKind kind, qsizetype *sink)
{
    QByteArray buffer;
    for (qsizetype pos = 0; pos < stream.size(); pos += ChunkSize) {
        buffer.append(stream.mid(pos, ChunkSize));
        const SerialFraming::Cut cut = SerialFraming::cutBuffer(buffer, kind);
        for (const SerialFraming::Piece &piece : cut.pieces) {
            if (piece.kind == SerialFraming::Piece::Line)
                *sink += SerialFraming::classifyLine(QByteArrayView(buffer).sliced(piece.begin, piece.size)).lineClass;
        }
        *sink += cut.pieces.size();
        buffer.remove(0, cut.consumed);
    }
}

void workerPass(Worker &worker, const QByteArray &stream)
{
    for (qsizetype pos = 0; pos < stream.size(); pos += ChunkSize)
        WorkerProbe::receive(worker, stream.mid(pos, ChunkSize));
}

// Output datagrams with values over the ranges the unit reports.
QList<QByteArray> datagrams()
{
    QRandomGenerator random(84);
    QList<QByteArray> list;
    for (int i = 0; i < DatagramCount; ++i) {
        QByteArray datagram(UdpDatagrams::OutputDatagramSize, '\0');
        for (qsizetype offset = UdpDatagrams::OutputHeaderSize; offset < datagram.size(); offset += 4)
            qToBigEndian(float(random.bounded(720.0) - 360.0), datagram.data() + offset);
        list << datagram;
    }
    return list;
}

// Returns whether the goal was met.
bool benchmarkDatagrams()
{
    const QList<QByteArray> list = datagrams();
    OutputDataType sample;
    QString line;
    qsizetype sink = 0;
    const double codec = rate([&] {
        for (const QByteArray &datagram : list) {
            UdpDatagrams::decodeOutputDatagram(datagram, sample, line);
            sink += line.size();
        }
    }) * DatagramCount;

    Worker worker;
    WorkerProbe::stopTimer(worker);
    WorkerProbe::fakeUdpLink(worker, true);
    const double path = rate([&] {
        for (const QByteArray &datagram : list)
            sink += worker.processUdpDatagrams(datagram, true).size();
    }) * DatagramCount;

    const bool met = path >= GoalDatagramsPerSecond && sink > 0;
    std::printf("\n%-18s %16s %18s  goal %.0f/s\n", "UDP", "codec datagrams/s", "worker datagrams/s",
                GoalDatagramsPerSecond);
    std::printf("%-18s %16.0f %18.0f  %s\n", "output datagram", codec, path, met ? "ok" : "BELOW GOAL");
    return met;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("%-18s %16s %18s  goal %.0f/s\n", "protocol", "codec samples/s", "worker samples/s",
                GoalSamplesPerSecond);
    bool allMet = true;
    for (const SampleInputs::Protocol &protocol : SampleInputs::Protocols) {
        const QByteArray stream = streamOf(protocol);
        qsizetype sink = 0;
        const SerialFraming::FrameKind kind = SerialFraming::frameKindFor(protocol.value);
        const double codec = rate([&] { codecPass(stream, kind, &sink); }) * SampleCount;

        Worker worker;
        WorkerProbe::stopTimer(worker);
        WorkerProbe::fakeSerialLink(worker, true);
        WorkerProbe::setReadingSettings(worker, false);
        WorkerProbe::setProtocolValue(worker, protocol.value);
        const double path = rate([&] { workerPass(worker, stream); }) * SampleCount;

        // A path that decoded nothing would be fast for the wrong reason.
        const bool decoded = !WorkerProbe::outputData(worker).field[OutputDataType::Roll].isEmpty();
        const bool met = path >= GoalSamplesPerSecond && decoded;
        allMet = allMet && met;
        std::printf("%-18s %16.0f %18.0f  %s%s\n", protocol.name, codec, path,
                    met ? "ok" : decoded ? "BELOW GOAL" : "NOT DECODED", sink < 0 ? "!" : "");
    }
    allMet = benchmarkDatagrams() && allMet;
    return allMet ? EXIT_SUCCESS : EXIT_FAILURE;
}
