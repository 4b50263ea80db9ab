// Cutting the serial receive stream: every piece lies inside the buffer, in
// stream order, without overlap, and within the consumed bytes.

#include "FuzzCheck.h"
#include "SerialFraming.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    using SerialFraming::FrameKind;
    constexpr FrameKind Kinds[] = {FrameKind::None, FrameKind::Euler, FrameKind::EM1000, FrameKind::EM3000};
    const FrameKind kind = Kinds[data[0] % 4];
    const FuzzInput input(data + 1, size - 1);
    const QByteArrayView buffer = input.view();
    const SerialFraming::Cut cut = SerialFraming::cutBuffer(buffer, kind);
    FUZZ_CHECK(cut.consumed >= 0 && cut.consumed <= buffer.size());
    qsizetype end = 0;
    for (const SerialFraming::Piece &piece : cut.pieces) {
        FUZZ_CHECK(piece.begin >= end && piece.size > 0 && piece.begin + piece.size <= cut.consumed);
        end = piece.begin + piece.size;
        const QByteArrayView bytes = buffer.sliced(piece.begin, piece.size);
        if (piece.kind == SerialFraming::Piece::Frame) {
            FUZZ_CHECK(piece.size == SerialFraming::frameSize(kind));
            FUZZ_CHECK(bytes.startsWith(SerialFraming::frameSync(kind)));
        } else {
            const SerialFraming::ClassifiedLine line = SerialFraming::classifyLine(bytes);
            FUZZ_CHECK(line.begin >= 0 && line.begin <= bytes.size());
        }
    }
    (void)SerialFraming::classifyLine(buffer);
    return 0;
}
