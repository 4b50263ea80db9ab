#ifndef PROTOCOLCHOICE_H
#define PROTOCOLCHOICE_H

// The output-protocol tab without widgets: the item table of the protocol
// choice, what a device report of output slot 0 shows, and what Apply sends.

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace ProtocolChoice {

// Item indexes of the protocol choice.
enum Item : int {
    NoItem = -1,
    CustomItem = 0,
    ReservedItem = 1,
    RawDataItem = 2,
    UpxItem = 12,
};

// The item texts in index order ("custom" to "PRDID", then "UPX").
const QStringList &itemTexts();

// The protocol id Apply sends for an item; nothing for the custom selection.
std::optional<uint8_t> protocolId(int index);

// The signed protocol value of four format bytes read big-endian.
int32_t protocolValue(const std::array<uint8_t, 4> &format);

// What a report of slot 0 shows.
struct View
{
    enum Kind { Predefined, Reserved, Custom };
    Kind kind = Custom;
    int index = NoItem;         // the item to select; NoItem for a custom selection
    QString label;              // the caption beside the choice
    uint8_t byte0 = 0, byte1 = 0; // field boxes to tick (custom selection)
};
View viewFor(const std::array<uint8_t, 4> &format);

// What Apply sends for the selected item and the ticked field boxes.
struct Request
{
    std::array<uint8_t, 4> format{};
    uint32_t mask = 0;
    bool predefined = false;
};
Request requestFor(int index, uint8_t byte0, uint8_t byte1);

} // namespace ProtocolChoice

#endif // PROTOCOLCHOICE_H
