#ifndef SERIALPORTFILTER_H
#define SERIALPORTFILTER_H

#include <QList>
#include <QString>
#include <QStringList>

// What the settings dialog knows about one serial port of the host.
struct SerialPortEntry
{
    QString portName;
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString systemLocation;
    quint16 vendorIdentifier = 0;
    quint16 productIdentifier = 0;
};

// Which serial ports the program offers: every port the host lists (on macOS
// only the call-out node of each device), never the USB-to-MPSSE cable the
// production jig uses.
namespace SerialPortFilter {

enum class Platform { MacOS, Linux };

// The platform this program was built for.
Platform hostPlatform();

// True when a port at this system location with this description is offered.
bool isListed(const QString &systemLocation, const QString &description,
              Platform platform = hostPlatform());

// Every serial port the host reports, in its order, unfiltered.
QList<SerialPortEntry> availablePorts();

// The seven texts kept with a listed port: name, description, manufacturer,
// serial number, location, vendor and product identifier ("N/A" where unknown).
QStringList portDetails(const SerialPortEntry &port);

} // namespace SerialPortFilter

#endif // SERIALPORTFILTER_H
