#include "EthernetInterfaces.h"

namespace EthernetInterfaces {

QList<Interface> fromSystem(const QList<QNetworkInterface> &interfaces)
{
    QList<Interface> copies;
    for (const QNetworkInterface &interface : interfaces)
        copies.append({interface.flags(), interface.addressEntries()});
    return copies;
}

QList<QNetworkAddressEntry> usableEntries(const QList<Interface> &interfaces)
{
    QList<QNetworkAddressEntry> usable;
    for (const Interface &interface : interfaces) {
        if (!interface.flags.testFlag(QNetworkInterface::IsUp) || interface.flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : interface.entries) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                usable.append(entry);
        }
    }
    return usable;
}

std::optional<QNetworkAddressEntry> entryAtRow(const QList<QNetworkAddressEntry> &entries, int row)
{
    if (row < 0 || row >= entries.size())
        return std::nullopt;
    return entries[row];
}

} // namespace EthernetInterfaces
