// Writes the seed corpus of every fuzz target into <folder>/<target>/: valid
// inputs of each kind, so the fuzzer starts from what the device really sends.

#include "SampleInputs.h"
#include "UdpDatagrams.h"
#include "UdpDevice.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cstdio>

namespace {

bool write(const QDir &folder, const QString &target, const QList<QByteArray> &seeds)
{
    if (!folder.mkpath(target))
        return false;
    for (qsizetype i = 0; i < seeds.size(); ++i) {
        QFile file(folder.filePath(QStringLiteral("%1/seed-%2").arg(target).arg(i)));
        if (!file.open(QIODevice::WriteOnly) || file.write(seeds[i]) != seeds[i].size())
            return false;
    }
    return true;
}

QList<QByteArray> settingsAnswers()
{
    DeviceRecord record;
    QList<QByteArray> seeds{record.toAnswer()};
    record.partNumberBlock = false;
    seeds << record.toAnswer();
    record.firmware.clear();
    record.trailer = QByteArray::fromHex("beef0001");
    seeds << record.toAnswer() << record.toAnswer().left(50);
    return seeds;
}

QList<QByteArray> outputDatagrams()
{
    return {outputDatagram({1.5f, -1.5f, 359.94f, 0, 0, 0, 0, 0, 0, 0, 0, 0.012f, 0, 0, 2, 0.1f, -0.2f, -9.81f}),
            outputDatagram({}), UdpDatagrams::discoveryDatagram(42)};
}

// Each serial sample with its protocol value in front, for the decoder target;
// with a frame kind byte in front, for the framing target.
void serialSamples(QList<QByteArray> &decoder, QList<QByteArray> &framing)
{
    for (const SampleInputs::Protocol &protocol : SampleInputs::Protocols) {
        QByteArray value(4, '\0');
        qToBigEndian(protocol.value, value.data());
        const QByteArray sample = protocol.makeInput();
        decoder << value + sample;
        framing << char(framing.size() % 4) + sample + sample + "$frq#100\r\n";
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QList<QByteArray> decoder;
    QList<QByteArray> framing;
    serialSamples(decoder, framing);
    const QList<QByteArray> answers{"$frq#100\r\n", "$sip#192.168.0.100", "$prt#1.0.0.0.20:0", "$ser#72023142",
                                    "$prn#VRNAB1234565678", "$flg#0.0.0.33", "$rof#-1.50"};
    const bool ok = write(folder, QStringLiteral("fuzz_settings_answer"), settingsAnswers())
                    && write(folder, QStringLiteral("fuzz_output_datagram"), outputDatagrams())
                    && write(folder, QStringLiteral("fuzz_serial_framing"), framing)
                    && write(folder, QStringLiteral("fuzz_output_decoder"), decoder)
                    && write(folder, QStringLiteral("fuzz_answer_parser"), answers);
    return ok ? 0 : 1;
}
