// The 84-byte output datagram of the UDP link: decoded when it holds 84 bytes,
// untouched otherwise; its line is exactly the eleven field texts, and each
// text is what the general display-number formatting makes of the float.

#include "DisplayNumber.h"
#include "FuzzCheck.h"
#include "UdpDatagrams.h"

#include <QStringList>

namespace {
constexpr std::array<int, 11> LineFields{0, 1, 2, 3, 4, 5, 11, 14, 15, 16, 17};
constexpr std::array<int, 11> Decimals{2, 2, 1, 2, 2, 2, 3, 2, 4, 4, 4};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    OutputDataType sample;
    sample.field.fill(QStringLiteral("old"));
    QString line;
    const bool decoded = UdpDatagrams::decodeOutputDatagram(input.view(), sample, line);
    FUZZ_CHECK(decoded == (input.view().size() >= UdpDatagrams::OutputDatagramSize));
    if (decoded) {
        const QStringList texts = line.split(QLatin1Char(','));
        FUZZ_CHECK(texts.size() == int(LineFields.size()));
        QString expected;
        for (size_t i = 0; i < LineFields.size(); ++i) {
            FUZZ_CHECK(texts[qsizetype(i)] == sample.field[size_t(LineFields[i])]);
            const float value = UdpDatagrams::getFloatFromDatagram(input.raw(), 8 + 4 * LineFields[i]);
            writeDisplayNumber(expected, double(value), Decimals[i], Decimals[i] == 4 ? 7 : DisplayNumberWidth);
            FUZZ_CHECK(expected == texts[qsizetype(i)]);
        }
        FUZZ_CHECK(sample.field[OutputDataType::FrameCounter] == QStringLiteral("old"));
    } else {
        FUZZ_CHECK(line.isEmpty() && sample.field[0] == QStringLiteral("old"));
    }
    const int offset = size ? int(int8_t(data[0])) : 0;
    const auto words = UdpDatagrams::decodeOutputData(input.raw(), offset);
    for (size_t k = UdpDatagrams::OutputWordsInDatagram; k < words.size(); ++k)
        FUZZ_CHECK(words[k] == 0);
    (void)UdpDatagrams::getFloatFromDatagram(input.raw(), offset);
    (void)UdpDatagrams::classify(input.view());
    return 0;
}
