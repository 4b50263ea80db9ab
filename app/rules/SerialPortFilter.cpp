#include "SerialPortFilter.h"

#include <QSerialPortInfo>

namespace {

const QString NotAvailable = QStringLiteral("N/A");
const QString ExcludedCable = QStringLiteral("C232HM");

QString textOrNotAvailable(const QString &text)
{
    return text.isEmpty() ? NotAvailable : text;
}

QString identifierText(quint16 identifier)
{
    return identifier == 0 ? NotAvailable : QString::number(identifier, 16);
}

// A macOS host lists every serial device twice, as its call-in and its
// call-out node; only the call-out node is offered. Other hosts list each once.
const QString CalloutLocation = QStringLiteral("/dev/cu");

} // namespace

namespace SerialPortFilter {

Platform hostPlatform()
{
#ifdef Q_OS_MACOS
    return Platform::MacOS;
#else
    return Platform::Linux;
#endif
}

bool isListed(const QString &systemLocation, const QString &description, Platform platform)
{
    if (description.contains(ExcludedCable, Qt::CaseSensitive))
        return false;
    return platform != Platform::MacOS || systemLocation.startsWith(CalloutLocation, Qt::CaseInsensitive);
}

QList<SerialPortEntry> availablePorts()
{
    QList<SerialPortEntry> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        ports.append({info.portName(), info.description(), info.manufacturer(), info.serialNumber(),
                      info.systemLocation(), info.vendorIdentifier(), info.productIdentifier()});
    }
    return ports;
}

QStringList portDetails(const SerialPortEntry &port)
{
    return {port.portName,
            textOrNotAvailable(port.description),
            textOrNotAvailable(port.manufacturer),
            textOrNotAvailable(port.serialNumber),
            port.systemLocation,
            identifierText(port.vendorIdentifier),
            identifierText(port.productIdentifier)};
}

} // namespace SerialPortFilter
