// The output-protocol choice: item table, report view and Apply request.

#include "ProtocolChoice.h"

#include "CommandTable.h"
#include "DeviceTypes.h"
#include "ProtocolLabels.h"

#include <QtEndian>

namespace ProtocolChoice {

namespace {

struct Row
{
    const char *text;
    int32_t id; // 0: custom selection
};

// Note the crossed order of EulerB and EulerL.
constexpr Row Rows[] = {
    {"custom", 0},
    {"Reserved", 0},
    {"RawData", ProtocolValue::RawData},
    {"TSS1", ProtocolValue::TSS1},
    {"TSS3", ProtocolValue::TSS3},
    {"TOG", ProtocolValue::TOG},
    {"ISH", ProtocolValue::ISH},
    {"EulerB", ProtocolValue::EulerB},
    {"EulerL", ProtocolValue::EulerL},
    {"EM1000", ProtocolValue::EM1000},
    {"EM3000", ProtocolValue::EM3000},
    {"PRDID", ProtocolValue::PRDID},
    {"UPX", ProtocolValue::UPX},
};
constexpr int RowCount = int(std::size(Rows));

constexpr int32_t RawDataDefault = -1;
constexpr int32_t ReservedFirst = -16;
constexpr int32_t ReservedLast = -2;

const char RawDataLabel[] = "Raw Data";
const char ReservedLabel[] = "Reserved";

int predefinedIndex(int32_t value)
{
    for (int index = RawDataItem; index < RowCount; ++index) {
        if (Rows[index].id == value)
            return index;
    }
    return NoItem;
}

} // namespace

const QStringList &itemTexts()
{
    static const QStringList texts = [] {
        QStringList list;
        for (const Row &row : Rows)
            list.append(QString::fromLatin1(row.text));
        return list;
    }();
    return texts;
}

std::optional<uint8_t> protocolId(int index)
{
    if (index < RawDataItem || index >= RowCount)
        return std::nullopt;
    return uint8_t(Rows[index].id);
}

int32_t protocolValue(const std::array<uint8_t, 4> &format)
{
    return qFromBigEndian<int32_t>(format.data());
}

View viewFor(const std::array<uint8_t, 4> &format)
{
    const int32_t value = protocolValue(format);
    View view;
    if (value == RawDataDefault || value == ProtocolValue::RawData) {
        view = {View::Predefined, RawDataItem, QString::fromLatin1(RawDataLabel)};
    } else if (const int index = predefinedIndex(value); index != NoItem) {
        view = {View::Predefined, index, QString(ProtocolLabels::Protocol)};
    } else if (value >= ReservedFirst && value <= ReservedLast) {
        view = {View::Reserved, ReservedItem, QString::fromLatin1(ReservedLabel)};
    } else {
        view = {View::Custom, NoItem, QString(ProtocolLabels::Header), format[0], format[1]};
    }
    return view;
}

Request requestFor(int index, uint8_t byte0, uint8_t byte1)
{
    if (const std::optional<uint8_t> id = protocolId(index))
        return {{0, 0, 0, *id}, CommandTable::ProtocolBit, true};
    return {{byte0, byte1, 0, 0}, CommandTable::ProtocolBit | CommandTable::HeaderBit, false};
}

} // namespace ProtocolChoice
