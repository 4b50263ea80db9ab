#ifndef UDPDATAGRAMS_H
#define UDPDATAGRAMS_H

// Wire formats of the UDP link: the datagrams sent to the device (discovery,
// settings request, settings datagram with its message number) and the 84-byte
// output datagram the device streams. Pure functions: bytes in, bytes or texts
// out; the worker decides when to send and where the results go.

#include "DeviceTypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace UdpDatagrams {

// Token that opens every datagram sent, and the one that opens a settings answer.
inline constexpr QByteArrayView Token("$QUORVX#");
inline constexpr QByteArrayView AnswerToken("$QUORVX#ANS#");
inline constexpr QByteArrayView ReadMark("READ");

inline constexpr qsizetype DiscoveryDatagramSize = 34;
inline constexpr qsizetype SettingsRequestCommandSize = 38;
inline constexpr qsizetype SettingsRequestSize = 60;
inline constexpr qsizetype OutputDatagramSize = 84;
inline constexpr qsizetype OutputHeaderSize = 8;
// Words of the raw output record; the datagram fills the first eighteen.
inline constexpr int OutputWordCount = 27;
inline constexpr int OutputWordsInDatagram = 18;

// The message number runs from 0 to this and then starts again at 0.
inline constexpr uint32_t MessageNumberMaximum = 255;

uint32_t nextMessageNumber(uint32_t msgNr);
// Lower-case hexadecimal, right-justified with "0": 42 gives "002a" and "2a".
QByteArray messageNumber4(uint32_t msgNr);
QByteArray messageNumber2(uint32_t msgNr);

// "READ$QUORVX#" + 4-digit number + "   scan for IMU   " (34 bytes).
QByteArray discoveryDatagram(uint32_t msgNr);
// The first 38 bytes of a settings request: "READ$QUORVX#" + 4-digit number + "   Read IMU Settings  ".
QByteArray settingsRequestCommand(uint32_t msgNr);
// A settings request as sent: the command + 2-digit number + "   read from IMU    ".
QByteArray settingsRequestPayload(const QByteArray &command, uint32_t msgNr);
// A settings datagram as sent: the datagram + 2-digit number.
QByteArray settingsDatagramPayload(const QByteArray &datagram, uint32_t msgNr);

// The datagram a read delivered into buffer: its first count bytes; nothing
// for a failed read (count below 0).
std::optional<QByteArray> readResult(QByteArray buffer, qint64 count);

// What a received datagram is: a settings answer begins with the answer token;
// output data is any other datagram of exactly 84 bytes; the rest is dropped.
enum class Kind { SettingsAnswer, OutputData, Other };
Kind classify(QByteArrayView datagram);

// The big-endian float whose four bytes start at offset; 0 when they do not all exist.
float getFloatFromDatagram(const QByteArray &data, int offset);
// Words 0 to 17 hold the eighteen big-endian 32-bit words from offset when the
// array holds them all; every other word (and every word otherwise) is 0.
std::array<uint32_t, OutputWordCount> decodeOutputData(const QByteArray &data, int offset);

// Decodes an output datagram into its eleven sample fields (the others are left
// alone) and writes their display texts, joined by ",", into line. A datagram
// shorter than 84 bytes touches nothing and returns false.
bool decodeOutputDatagram(QByteArrayView datagram, OutputDataType &sample, QString &line);

} // namespace UdpDatagrams

#endif // UDPDATAGRAMS_H
