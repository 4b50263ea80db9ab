#ifndef SETTINGSVALUES_H
#define SETTINGSVALUES_H

// The settings panel's numbers and texts without widgets: decimal fields of
// the edits, ports, address octets, the flags word, and the ";"-joined values text of
// each settings group that travels with a set request.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

namespace SettingsValues {

constexpr uint32_t MaxPort = 65535;
constexpr uint32_t MaxOctet = 255;
constexpr int AddressOctets = 4;
constexpr uint32_t MinFrequency = 1;
constexpr uint32_t MaxFrequency = 500;

// A decimal number of digits only, never octal ("010" -> 10); nothing for
// empty text, signs, other characters or a value beyond 32 bits.
std::optional<uint32_t> decimalField(QStringView text);

// A port: a decimal number of digits only from 0 to 65535, never octal
// ("010" -> 10); nothing for empty text, signs, blanks, other characters or a
// value above 65535. 0 is a port: a local port of 0 lets the system choose.
std::optional<uint16_t> portNumber(QStringView text);

// Text of a whole number from 1 to 500.
bool isFrequencyText(QStringView text);

// The frequency item's number, 0 when the text is not a 32-bit number ("custom").
uint32_t frequencyNumber(QStringView text);

// An octet in its decimal form ("010" -> "10"); other text as it stands.
QString octetText(const QString &text);

// The four octet texts in decimal form, joined by ".".
QString addressText(const QStringList &octets);

// Four octets, each a number from 0 to 255.
bool isValidAddress(const QStringList &octets);

// The bytes of the settings datagram: each octet read as a number that fits
// 16 bits (else 0), of which the low 8 bits.
std::array<uint8_t, 4> addressBytes(const QStringList &octets);

// The flags word and the boxes it is built from.
struct FlagBoxes
{
    bool invertRoll = false;
    bool invertPitch = false;
    bool invertYaw = false;
    bool invertHeave = false;
    bool dynamicAddress = false;
    bool positiveYaw = false;
};
uint32_t imuFlagsWord(const FlagBoxes &boxes);
FlagBoxes flagBoxes(uint32_t word);

// A spin box value as it shows with the given decimals ("." as decimal point).
QString decimalText(double value, int decimals);

// Interface group: bd1, bd2, bd3, gps "0", dynamic switch, device address
// ("0.0.0.0" when dynamic), destination address, device port, local port.
struct InterfaceValues
{
    QString rs232Baud, rs422Baud, gps232Baud;
    bool dynamicAddress = false;
    QStringList deviceOctets, destinationOctets;
    QString deviceUdpPort, localUdpPort;
};
QString interfaceValuesText(const InterfaceValues &values);

// The device address the settings go to: "0.0.0.0" when dynamic.
QString deviceAddressText(bool dynamicAddress, const QStringList &octets);

// Output-settings group: flags word, roll, pitch, yaw offset texts, frequency text.
struct OutputSettingsValues
{
    uint32_t flags = 0;
    double rollOffset = 0.0, pitchOffset = 0.0, yawOffset = 0.0;
    int decimals = 2;
    QString frequency;
};
QString outputSettingsValuesText(const OutputSettingsValues &values);

// Compass group: north offset (one decimal), X, Y, Z bias (two decimals).
struct CompassValues
{
    double northOffset = 0.0, xGauss = 0.0, yGauss = 0.0, zGauss = 0.0;
    int northDecimals = 1, gaussDecimals = 2;
};
QString compassValuesText(const CompassValues &values);

// Output-protocol group: header, the four format bytes, then "0".
QString protocolValuesText(const QString &header, const std::array<uint8_t, 4> &format);

} // namespace SettingsValues

#endif // SETTINGSVALUES_H
