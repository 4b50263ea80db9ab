// Decode throughput of the serial output-protocol decoders: samples per second
// on one core, for every protocol that carries values. Not a test; run it by hand
// on a release build (bench_decoders [seconds per protocol]).

#include "OutputDecoder.h"
#include "SampleInputs.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr double GoalSamplesPerSecond = 500000.0;
constexpr int InputCount = 1024;
constexpr double DefaultSecondsPerProtocol = 0.5;
// The worker hands a copy of the record to the display at most once per tick,
// after which the next texts cannot reuse their buffers. Copying every 10th
// sample is far more often than a real device stream causes.
constexpr int SamplesPerDisplayCopy = 10;

// Decodes the inputs round and round for the given time; returns samples per second.
double measure(const SampleInputs::Protocol &protocol, const QList<QByteArray> &inputs, double seconds)
{
    OutputDataType sample;
    OutputProtocolType slot;
    slot.format = protocol.format;
    slot.value = protocol.value;
    bool headerCapturePending = false;
    const bool custom = OutputDecoder::isCustomSelection(protocol.value);

    OutputDataType shown;
    QElapsedTimer timer;
    timer.start();
    qint64 samples = 0;
    do {
        for (qsizetype i = 0; i < inputs.size(); ++i) {
            if (custom)
                OutputDecoder::decodeCustom(inputs[i], slot, sample, headerCapturePending);
            else
                OutputDecoder::decodePredefined(protocol.value, inputs[i], sample, slot.mask);
            if (i % SamplesPerDisplayCopy == 0)
                shown = sample;
        }
        samples += inputs.size();
    } while (timer.nsecsElapsed() < qint64(seconds * 1e9));
    return double(samples) * 1e9 / double(timer.nsecsElapsed());
}

} // namespace

int main(int argc, char *argv[])
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : DefaultSecondsPerProtocol;
    std::printf("%-18s %14s %10s  goal %.0f/s\n", "protocol", "samples/s", "ns/sample", GoalSamplesPerSecond);
    bool allMet = true;
    for (const SampleInputs::Protocol &protocol : SampleInputs::Protocols) {
        QList<QByteArray> inputs;
        for (int i = 0; i < InputCount; ++i)
            inputs << protocol.makeInput();
        const double rate = measure(protocol, inputs, seconds);
        const bool met = rate >= GoalSamplesPerSecond;
        allMet = allMet && met;
        std::printf("%-18s %14.0f %10.1f  %s\n", protocol.name, rate, 1e9 / rate, met ? "ok" : "BELOW GOAL");
    }
    return allMet ? EXIT_SUCCESS : EXIT_FAILURE;
}
