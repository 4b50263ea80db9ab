#ifndef OUTPUTDECODER_H
#define OUTPUTDECODER_H

#include "DeviceTypes.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

// Decoders of the output samples the device streams over the serial link.
// Pure functions: one text line or binary frame in, display texts in the
// sample record and decoded-field bits in the slot-0 mask out. A decoder
// writes only the fields it decodes; the others keep their earlier texts.
namespace OutputDecoder {

enum class Result {
    Decoded,      // fields of the sample were written
    Ignored,      // nothing to decode: wrong sync, frame or line too short, UPX
    Unrecognised, // the value names no decodable protocol; the mask was cleared
};

// False for the formats whose text lines are not decoded at all: the reserved
// values -16 to -1 and the unset format FF FF FF FF (last format byte 0xF0 or above).
bool decodesTextLines(const OutputProtocolType &slot);

// True for the custom field selections: values 19 and above, compared unsigned.
bool isCustomSelection(uint32_t value);

// Decodes one text line (CR LF may be included) or one binary frame of the
// predefined protocol value: EulerL/EulerB, EM1000/EM3000 and TSS1/TSS3 OR
// their bits into mask; TOG, ISH and PRDID replace its low byte; UPX leaves it;
// any other value clears it and reports Unrecognised.
Result decodePredefined(uint32_t value, QByteArrayView data, OutputDataType &sample, uint32_t &mask);

// Decodes one custom field-selection line by the field bits of slot.format
// bytes 0 and 1; slot.mask is left alone. When headerCapturePending is set it
// is cleared, the line's header is stored in slot.header and returned, to be
// reported with the caption ProtocolLabels::Header; otherwise nothing is returned.
std::optional<QString> decodeCustom(QByteArrayView line, OutputProtocolType &slot, OutputDataType &sample,
                                    bool &headerCapturePending);

} // namespace OutputDecoder

#endif // OUTPUTDECODER_H
