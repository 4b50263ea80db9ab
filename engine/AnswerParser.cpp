#include "AnswerParser.h"

#include "CommandTable.h"
#include "DeviceTypes.h"

#include <cmath>

namespace AnswerParser {

namespace {

// Answer keys (code "#") in the command table's order.
const QList<std::pair<QByteArray, AnswerKey>> &answerKeys()
{
    static const QList<std::pair<QByteArray, AnswerKey>> keys = [] {
        QList<std::pair<QByteArray, AnswerKey>> list;
        for (const CommandTable::CommandRow &row : CommandTable::commandRows())
            list.append({QByteArray(row.code) + '#', row.answer});
        return list;
    }();
    return keys;
}

constexpr qsizetype MinimumSerialNumberBytes = 8;
constexpr qsizetype MinimumPartNumberBytes = 8;
constexpr qsizetype MinimumFirmwareBytes = 10;
constexpr qsizetype HardwareIdLength = 2;
constexpr qsizetype DateLength = 6;
constexpr qsizetype SerialIdLength = 4;

constexpr qsizetype FormatBytes = 4;
constexpr qsizetype PartsWithSlot = 5;
constexpr uint8_t LastSlot = OutputProtocolSlotCount - 1;
constexpr int AddressParts = 4;
constexpr int FlagsParts = 4;

uint32_t parseUint32(const QByteArray &text)
{
    return text.toUInt();
}

} // namespace

Answer splitAnswer(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    const qsizetype hash = trimmed.indexOf('#');
    if (hash < 0)
        return {QByteArray(), trimmed};
    return {trimmed.left(hash + 1).trimmed(), trimmed.mid(hash + 1)};
}

AnswerKey findAnswerKey(const QByteArray &code)
{
    for (const auto &[key, answer] : answerKeys()) {
        if (code.contains(key))
            return answer;
    }
    return AnswerKey::None;
}

std::optional<SerialNumberFields> parseSerialNumber(const QByteArray &payload)
{
    if (payload.size() < MinimumSerialNumberBytes)
        return std::nullopt;
    const QByteArray number = payload.startsWith(MakerPrefix) ? payload.mid(MakerPrefix.size()) : payload;
    SerialNumberFields fields;
    fields.serialNumber = QString::fromUtf8(number);
    fields.hardwareId = fields.serialNumber.left(HardwareIdLength);
    fields.date = fields.serialNumber.mid(HardwareIdLength, DateLength);
    fields.serialId = fields.serialNumber.mid(HardwareIdLength + DateLength, SerialIdLength);
    return fields;
}

std::optional<QString> parsePartNumber(const QByteArray &payload)
{
    if (payload.size() < MinimumPartNumberBytes || !payload.startsWith(MakerPrefix))
        return std::nullopt;
    return QString::fromUtf8(payload);
}

std::optional<QString> parseFirmwareVersion(const QByteArray &payload)
{
    if (payload.size() < MinimumFirmwareBytes)
        return std::nullopt;
    return QString::fromUtf8(payload);
}

GpsInput parseGpsInput(const QByteArray &payload)
{
    if (payload.contains("RS232"))
        return GpsRs232;
    if (payload.contains("RS422"))
        return GpsRs422;
    if (payload.contains("NOGPS"))
        return NoGps;
    return GpsRs232;
}

std::optional<ProtocolAnswer> parseProtocol(const QByteArray &payload)
{
    if (payload.isEmpty() || !(payload.contains(',') || payload.contains('.') || payload.contains(':')))
        return std::nullopt;
    QByteArray text = payload;
    text.replace(':', '.').replace(',', '.');
    const QList<QByteArray> parts = text.split('.');
    if (parts.size() < FormatBytes)
        return std::nullopt;

    ProtocolAnswer answer;
    for (qsizetype k = 0; k < FormatBytes; ++k)
        answer.format[k] = uint8_t(parseUint16(parts.at(k)));
    if (parts.size() == PartsWithSlot) {
        const auto slot = uint8_t(parseUint16(parts.at(FormatBytes)));
        answer.slot = slot > LastSlot ? 0 : slot;
    }
    return answer;
}

std::optional<uint32_t> parseFlags(const QByteArray &payload)
{
    if (payload.isEmpty() || !(payload.contains('.') || payload.contains('-')))
        return std::nullopt;
    QByteArray text = payload;
    const QList<QByteArray> parts = text.replace('-', '.').split('.');
    if (parts.size() < FlagsParts)
        return std::nullopt;
    return (parseUint32(parts.at(0)) << 24) | (parseUint32(parts.at(1)) << 16) | (parseUint32(parts.at(2)) << 8)
           | parseUint32(parts.at(3));
}

uint16_t parseUint16(const QByteArray &payload)
{
    return payload.toUShort();
}

double parseFloating(const QByteArray &payload)
{
    bool ok = false;
    const double value = payload.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0; // "nan" and "inf" are no decimal numbers
}

bool isNullAddress(const QByteArray &payload)
{
    return payload.contains("0.0.0.0");
}

std::optional<QList<QByteArray>> parseDeviceAddress(const QByteArray &payload)
{
    if (!payload.contains('.'))
        return std::nullopt;
    const QList<QByteArray> parts = payload.split('.');
    if (parts.size() < AddressParts)
        return std::nullopt;
    return parts;
}

std::optional<QList<QByteArray>> parseDestinationAddress(const QByteArray &payload)
{
    if (!payload.contains('.'))
        return std::nullopt;
    QByteArray text = payload;
    const QList<QByteArray> parts = text.replace(',', '.').split('.');
    if (parts.size() < AddressParts)
        return std::nullopt;
    return parts;
}

} // namespace AnswerParser
