#ifndef SETTINGSANSWER_H
#define SETTINGSANSWER_H

// The settings answer of the UDP link: the device's whole configuration and
// identity in one big-endian record after the token "$QUORVX#ANS#". Pure
// functions: the record is read field by field with a length check before each
// field, so a short answer yields nothing and nothing is read past its end.

#include "DeviceTypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace SettingsAnswer {

using Octets = std::array<uint8_t, 4>;

inline constexpr qsizetype PartNumberBlockSize = 14;
inline constexpr qsizetype SignatureSize = 4;
inline constexpr int OffsetCount = 3;
inline constexpr int BaudCodeCount = 3;
// The most of a trailer an event-log line carries.
inline constexpr qsizetype TrailerExcerptSize = 64;
// Offsets are sent in hundredths of a degree.
inline constexpr double OffsetScale = 100.0;

struct Record
{
    Octets deviceAddress{};
    Octets destinationAddress{};
    uint8_t hardwareId = 0;
    uint32_t date = 0;
    uint16_t serial = 0;
    uint16_t devicePort = 0;
    uint16_t destinationPort = 0;
    uint32_t flags = 0;
    QString header; // all eight bytes, NULs included
    std::array<std::array<uint8_t, 4>, OutputProtocolSlotCount> formats{};
    std::array<uint8_t, BaudCodeCount> baudCodes{};
    uint16_t frequency = 0;
    std::array<double, OffsetCount> offsets{}; // degrees, rounded to single precision
    std::optional<QString> partNr;             // only when the answer carries the block
    QString fwVersion;
    QByteArray trailer; // whatever follows the data-length byte
};

// The record of an answer (with or without its leading token); nothing when the
// answer ends before its data-length byte.
std::optional<Record> parse(QByteArrayView answer);

// True when the answer's last four bytes equal the signature.
bool confirms(QByteArrayView answer, QByteArrayView signature);

// "a.b.c.d" without leading zeros, and the four octets as decimal texts.
QString addressText(const Octets &octets);
QList<QByteArray> octetTexts(const Octets &octets);
// Hardware id, date and serial as decimal texts, joined without padding.
QString serialNumber(const Record &record);

// The trailer as the event log shows it: trimmed of white space at either end;
// one longer than TrailerExcerptSize is cut there and followed by its length,
// for example "xxxx ... (65000 bytes)".
QByteArray trailerExcerpt(const QByteArray &trailer);

// Fixed-point numbers at offset: 16.16 signed, and signed hundredths; 0 when
// the bytes do not all exist.
float parameterValue(QByteArrayView data, qsizetype offset);
float parameterValue16(QByteArrayView data, qsizetype offset);

} // namespace SettingsAnswer

#endif // SETTINGSANSWER_H
