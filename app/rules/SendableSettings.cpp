// What an Apply sends for address groups and ports the edits hold no value for.

#include "SendableSettings.h"

#include "DeviceTypes.h"
#include "SettingsValues.h"

namespace SendableSettings {

namespace {
constexpr int BitsPerOctet = 8;
} // namespace

QStringList octetTexts(uint32_t address)
{
    QStringList texts;
    for (int octet = SettingsValues::AddressOctets - 1; octet >= 0; --octet)
        texts << QString::number((address >> (octet * BitsPerOctet)) & SettingsValues::MaxOctet);
    return texts;
}

QStringList sendableOctets(const QStringList &typed, const QStringList &reported)
{
    return SettingsValues::isValidAddress(typed) ? typed : reported;
}

bool isSendablePort(QStringView text)
{
    return SettingsValues::portNumber(text).has_value();
}

uint16_t sendablePort(QStringView text, uint16_t reported)
{
    return SettingsValues::portNumber(text).value_or(reported);
}

bool shouldZeroDeviceAddress(bool automaticChecked, bool addressChanged, uint32_t heldFlags)
{
    return automaticChecked && addressChanged && !(heldFlags & ImuFlags::DynamicIp);
}

} // namespace SendableSettings
