#ifndef ETHERNETINTERFACES_H
#define ETHERNETINTERFACES_H

// Which of the host's network address entries the Ethernet link may use: the
// IPv4 entries of interfaces that are up and not loopback, in interface order.
// Pure functions over a plain copy of the interfaces, so any set can be tested.

#include <QList>
#include <QNetworkAddressEntry>
#include <QNetworkInterface>

#include <optional>

namespace EthernetInterfaces {

struct Interface
{
    QNetworkInterface::InterfaceFlags flags;
    QList<QNetworkAddressEntry> entries;
};

QList<Interface> fromSystem(const QList<QNetworkInterface> &interfaces);

QList<QNetworkAddressEntry> usableEntries(const QList<Interface> &interfaces);

// The entry at the row the user chose; nothing when the row lies outside the list.
std::optional<QNetworkAddressEntry> entryAtRow(const QList<QNetworkAddressEntry> &entries, int row);

} // namespace EthernetInterfaces

#endif // ETHERNETINTERFACES_H
