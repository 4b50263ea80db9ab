// Numbers and values texts of the settings panel.

#include "SettingsValues.h"

#include "DeviceTypes.h"

#include <limits>

namespace SettingsValues {

namespace {
const QString DynamicAddress = QStringLiteral("0.0.0.0");
const QLatin1Char Separator(';');
constexpr uint32_t MaxOctetField = std::numeric_limits<uint16_t>::max();

// An octet's byte of the datagram: the low 8 bits of its 16-bit field.
uint8_t octetByte(QStringView text)
{
    const std::optional<uint32_t> value = decimalField(text);
    return value && *value <= MaxOctetField ? uint8_t(*value) : 0;
}
} // namespace

std::optional<uint32_t> decimalField(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    uint64_t value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + uint64_t(c.unicode() - '0');
        if (value > std::numeric_limits<uint32_t>::max())
            return std::nullopt;
    }
    return uint32_t(value);
}

std::optional<uint16_t> portNumber(QStringView text)
{
    const std::optional<uint32_t> value = decimalField(text);
    if (!value || *value > MaxPort)
        return std::nullopt;
    return uint16_t(*value);
}

bool isFrequencyText(QStringView text)
{
    const std::optional<uint32_t> value = decimalField(text);
    return value && *value >= MinFrequency && *value <= MaxFrequency;
}

uint32_t frequencyNumber(QStringView text)
{
    return decimalField(text).value_or(0);
}

QString octetText(const QString &text)
{
    const std::optional<uint32_t> value = decimalField(text);
    return value ? QString::number(*value) : text;
}

QString addressText(const QStringList &octets)
{
    QStringList parts;
    for (const QString &octet : octets)
        parts.append(octetText(octet));
    return parts.join(QLatin1Char('.'));
}

bool isValidAddress(const QStringList &octets)
{
    if (octets.size() != AddressOctets)
        return false;
    for (const QString &octet : octets) {
        const std::optional<uint32_t> value = decimalField(octet);
        if (!value || *value > MaxOctet)
            return false;
    }
    return true;
}

std::array<uint8_t, 4> addressBytes(const QStringList &octets)
{
    std::array<uint8_t, 4> bytes{};
    for (int i = 0; i < AddressOctets && i < octets.size(); ++i)
        bytes[size_t(i)] = octetByte(octets.at(i));
    return bytes;
}

uint32_t imuFlagsWord(const FlagBoxes &boxes)
{
    const auto bitIf = [](bool on, uint32_t bit) { return on ? bit : 0u; };
    return bitIf(boxes.invertRoll, ImuFlags::InvertRoll) | bitIf(boxes.invertPitch, ImuFlags::InvertPitch)
           | bitIf(boxes.invertYaw, ImuFlags::InvertYaw) | bitIf(boxes.invertHeave, ImuFlags::InvertHeave)
           | bitIf(boxes.dynamicAddress, ImuFlags::DynamicIp) | bitIf(boxes.positiveYaw, ImuFlags::PositiveYaw);
}

FlagBoxes flagBoxes(uint32_t word)
{
    FlagBoxes boxes;
    boxes.invertRoll = word & ImuFlags::InvertRoll;
    boxes.invertPitch = word & ImuFlags::InvertPitch;
    boxes.invertYaw = word & ImuFlags::InvertYaw;
    boxes.invertHeave = word & ImuFlags::InvertHeave;
    boxes.dynamicAddress = word & ImuFlags::DynamicIp;
    boxes.positiveYaw = word & ImuFlags::PositiveYaw;
    return boxes;
}

QString decimalText(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString deviceAddressText(bool dynamicAddress, const QStringList &octets)
{
    return dynamicAddress ? DynamicAddress : addressText(octets);
}

QString interfaceValuesText(const InterfaceValues &values)
{
    return QStringList{values.rs232Baud,
                       values.rs422Baud,
                       values.gps232Baud,
                       QStringLiteral("0"),
                       values.dynamicAddress ? QStringLiteral("1") : QStringLiteral("0"),
                       deviceAddressText(values.dynamicAddress, values.deviceOctets),
                       addressText(values.destinationOctets),
                       values.deviceUdpPort,
                       values.localUdpPort}
        .join(Separator);
}

QString outputSettingsValuesText(const OutputSettingsValues &values)
{
    return QStringList{QString::number(values.flags), decimalText(values.rollOffset, values.decimals),
                       decimalText(values.pitchOffset, values.decimals),
                       decimalText(values.yawOffset, values.decimals), values.frequency}
        .join(Separator);
}

QString compassValuesText(const CompassValues &values)
{
    return QStringList{decimalText(values.northOffset, values.northDecimals),
                       decimalText(values.xGauss, values.gaussDecimals),
                       decimalText(values.yGauss, values.gaussDecimals),
                       decimalText(values.zGauss, values.gaussDecimals)}
        .join(Separator);
}

QString protocolValuesText(const QString &header, const std::array<uint8_t, 4> &format)
{
    QStringList fields{header};
    for (uint8_t byte : format)
        fields.append(QString::number(byte));
    fields.append(QStringLiteral("0"));
    return fields.join(Separator);
}

} // namespace SettingsValues
