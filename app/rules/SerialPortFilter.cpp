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

QString locationPrefix(SerialPortFilter::Platform platform)
{
    return platform == SerialPortFilter::Platform::MacOS ? QStringLiteral("/dev/cu")
                                                         : QStringLiteral("/dev/tty");
}

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
    return systemLocation.startsWith(locationPrefix(platform), Qt::CaseInsensitive)
        && !description.contains(ExcludedCable, Qt::CaseSensitive);
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
