// The serial output-protocol decoders: any protocol value from the first four
// bytes, then the line or frame; a custom line reports its header only once.

#include "FuzzCheck.h"
#include "OutputDecoder.h"

#include <QtEndian>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const uint32_t value = qFromBigEndian<uint32_t>(data);
    const FuzzInput input(data + 4, size - 4);
    OutputDataType sample;
    uint32_t mask = 0;
    (void)OutputDecoder::decodePredefined(value, input.view(), sample, mask);
    OutputProtocolType slot;
    qToBigEndian(value, slot.format.data());
    slot.value = value;
    (void)OutputDecoder::decodesTextLines(slot);
    bool pending = true;
    (void)OutputDecoder::decodeCustom(input.view(), slot, sample, pending);
    FUZZ_CHECK(!OutputDecoder::decodeCustom(input.view(), slot, sample, pending));
    return 0;
}
