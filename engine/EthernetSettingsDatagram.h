#ifndef ETHERNETSETTINGSDATAGRAM_H
#define ETHERNETSETTINGSDATAGRAM_H

// The 66-byte binary settings datagram of the UDP link: every setting of the
// settings panel at once, big-endian, closed by a CRC-16 and a counter.
// A pure function of a plain record of the field values.

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

struct EthernetSettingsFields
{
    uint16_t deviceUdpPort = 0;
    uint16_t localUdpPort = 0;
    std::array<uint8_t, 4> deviceAddress{};      // all zero under the dynamic-address rule
    std::array<uint8_t, 4> destinationAddress{};
    uint32_t flags = 0;
    std::array<uint8_t, 4> protocolFormat{};
    std::array<uint8_t, 3> baudCodes{};          // RS-232, RS-422, GPS RS-232
    uint32_t frequency = 0;                       // only the low 16 bits are sent
    double rollOffset = 0.0;                      // degrees
    double pitchOffset = 0.0;
    double yawOffset = 0.0;
    QString header;                               // empty unless a custom selection
    double northOffset = 0.0;
};

namespace EthernetSettingsDatagram {

constexpr int Size = 66;
constexpr int ChecksumOffset = 62;
constexpr int HeaderBytes = 8;
// Where the big-endian flags word sits.
constexpr qsizetype FlagsOffset = 24;

// Degrees as 16.16 fixed point, rounded away from zero (0.1 -> 6554, -0.1 -> -6554).
int32_t fixedPoint(double degrees);

// The header's UTF-8 form, cut at HeaderBytes on a character boundary.
QByteArray headerBytes(const QString &header);

} // namespace EthernetSettingsDatagram

// The datagram; counter is the datagram counter after its increment (low 16 bits sent).
QByteArray buildEthernetSettingsDatagram(const EthernetSettingsFields &fields, uint32_t counter);

#endif // ETHERNETSETTINGSDATAGRAM_H
