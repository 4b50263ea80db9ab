// What an Apply sends for address groups the edits hold no address for.

#include "SendableSettings.h"

#include "DeviceTypes.h"
#include "SettingsValues.h"

namespace SendableSettings {

namespace {
constexpr int AddressOctets = 4;
constexpr int BitsPerOctet = 8;
} // namespace

QStringList octetTexts(uint32_t address)
{
    QStringList texts;
    for (int octet = AddressOctets - 1; octet >= 0; --octet)
        texts << QString::number((address >> (octet * BitsPerOctet)) & SettingsValues::MaxOctet);
    return texts;
}

QStringList sendableOctets(const QStringList &typed, const QStringList &reported)
{
    return SettingsValues::isValidAddress(typed) ? typed : reported;
}

bool shouldZeroDeviceAddress(bool automaticChecked, bool addressChanged, uint32_t heldFlags)
{
    return automaticChecked && addressChanged && !(heldFlags & ImuFlags::DynamicIp);
}

} // namespace SendableSettings
