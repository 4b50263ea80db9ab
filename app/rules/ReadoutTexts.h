#ifndef READOUTTEXTS_H
#define READOUTTEXTS_H

#include "DeviceTypes.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The texts of the decoded-data read-outs on the "Data" tab: which values a
// sample carries under the output protocol in use, and what each read-out shows.
namespace ReadoutTexts {

// The nine labels, in the order they are written.
enum Label { Roll, Pitch, Yaw, RollRate, PitchRate, YawRate, Ax, Ay, Az, LabelCount };

// The two field-selection bytes (first and second byte of the field flags),
// and whether every read-out is shown whatever they say.
struct Selection
{
    std::array<uint8_t, 2> bytes{};
    bool showAll = false;
};

// The heave display's text and the nine labels' texts.
struct Readouts
{
    QString heave;
    std::array<QString, LabelCount> labels;
};

// The selection for a sample under output slot 0 on the given link (link-mode
// bits: 1 Ethernet, 2 serial). Empty on the serial link while the slot's
// protocol is a reserved one or not known yet (values -16 to -1): the
// read-outs are then cleared and the instruments left alone.
std::optional<Selection> readoutSelection(uint32_t linkMode, const OutputProtocolType &protocol);

// The read-outs of a sample: a value's text where it is selected (or all are
// shown), "NA" (the heave display "88.88") where it is not.
Readouts readoutTexts(const OutputDataType &sample, const Selection &selection);

// The read-outs with no value at all.
Readouts clearedReadoutTexts();

} // namespace ReadoutTexts

#endif // READOUTTEXTS_H
