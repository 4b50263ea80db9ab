#ifndef SENDABLESETTINGS_H
#define SENDABLESETTINGS_H

// What the settings panel's Apply sends for the address groups and port edits:
// a group typed wrong or an emptied port edit is not sent; where the settings
// datagram must carry it anyway, it carries what the device reported last. And
// when the datagram's device address goes out as zeros.

#include <QStringList>
#include <QStringView>

#include <cstdint>

namespace SendableSettings {

// The four octets of an IPv4 address held as a number, most significant first.
QStringList octetTexts(uint32_t address);

// What an address group of the settings datagram carries: the typed octets
// when they are an address, else the ones the device reported last.
QStringList sendableOctets(const QStringList &typed, const QStringList &reported);

// A port edit holds a port to send (SettingsValues::portNumber). An emptied
// edit does not.
bool isSendablePort(QStringView text);

// What a port of the settings datagram carries: the typed port when the edit
// holds one, else the one the device reported last.
uint16_t sendablePort(QStringView text, uint16_t reported);

// The device address goes out as four zero bytes only when the user switches
// the device to automatic addressing: Automatic checked, the address marked
// changed, and the flags last held for the device without dynamic addressing.
bool shouldZeroDeviceAddress(bool automaticChecked, bool addressChanged, uint32_t heldFlags);

} // namespace SendableSettings

#endif // SENDABLESETTINGS_H
