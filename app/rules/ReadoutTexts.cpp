// Selection of the carried values and the texts of the decoded-data read-outs.
#include "ReadoutTexts.h"

#include "Worker.h"

namespace ReadoutTexts {

namespace {

constexpr int32_t FirstReservedValue = -16;
constexpr int32_t LastReservedValue = -1;
constexpr int32_t LastPredefinedValue = 18;
constexpr int BitsPerByte = 8;
constexpr uint8_t HeaveFlag = 0x02;

const QString HeaveCleared = QStringLiteral("88.88");
const QString NotCarried = QStringLiteral("NA");

// One label: the field it shows, its selection bit, and its texts.
struct LabelRow
{
    int field;
    int byte;
    uint8_t flag;
    const char *prefix;
    const char *cleared;
};

// The yaw labels lose a blank when cleared.
constexpr std::array<LabelRow, LabelCount> Rows{{
    {OutputDataType::Roll, 0, 0x80, "Roll  : ", "Roll  : NA"},
    {OutputDataType::Pitch, 0, 0x40, "Pitch : ", "Pitch : NA"},
    {OutputDataType::Yaw, 0, 0x20, "Yaw   : ", "Yaw  : NA"},
    {OutputDataType::RollRate, 0, 0x10, "Roll  : ", "Roll  : NA"},
    {OutputDataType::PitchRate, 0, 0x08, "Pitch : ", "Pitch : NA"},
    {OutputDataType::YawRate, 0, 0x04, "Yaw   : ", "Yaw  : NA"},
    {OutputDataType::Ax, 1, 0x80, "Ax : ", "Ax : NA"},
    {OutputDataType::Ay, 1, 0x40, "Ay : ", "Ay : NA"},
    {OutputDataType::Az, 1, 0x20, "Az : ", "Az : NA"},
}};

bool isSelected(const Selection &selection, int byte, uint8_t flag)
{
    return selection.showAll || (selection.bytes[std::size_t(byte)] & flag) != 0;
}

} // namespace

std::optional<Selection> readoutSelection(uint32_t linkMode, const OutputProtocolType &protocol)
{
    Selection selection;
    selection.showAll = (linkMode & Worker::EthernetMode) != 0;
    selection.bytes = {protocol.format[0], protocol.format[1]};
    if ((linkMode & Worker::SerialMode) == 0)
        return selection;

    const auto value = static_cast<int32_t>(protocol.value);
    if (value >= FirstReservedValue && value <= LastReservedValue)
        return std::nullopt;
    if (value >= 0 && value <= LastPredefinedValue)
        selection.bytes = {uint8_t(protocol.mask), uint8_t(protocol.mask >> BitsPerByte)};
    return selection;
}

Readouts readoutTexts(const OutputDataType &sample, const Selection &selection)
{
    Readouts texts;
    texts.heave = isSelected(selection, 0, HeaveFlag) ? sample.field[OutputDataType::Heave] : HeaveCleared;
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const LabelRow &row = Rows[i];
        const QString &value = isSelected(selection, row.byte, row.flag) ? sample.field[std::size_t(row.field)]
                                                                         : NotCarried;
        texts.labels[i] = QLatin1String(row.prefix) + value;
    }
    return texts;
}

Readouts clearedReadoutTexts()
{
    Readouts texts;
    texts.heave = HeaveCleared;
    for (std::size_t i = 0; i < Rows.size(); ++i)
        texts.labels[i] = QLatin1String(Rows[i].cleared);
    return texts;
}

} // namespace ReadoutTexts
