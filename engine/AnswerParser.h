#ifndef ANSWERPARSER_H
#define ANSWERPARSER_H

// Reading the device's answer lines ("$" code "#" payload): splitting, finding
// the answer's row by its code, and reading the payloads that need more than a
// number. Pure functions; the worker stores the results and reports them.

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace AnswerParser {

struct Answer
{
    QByteArray code;    // "$" ... "#", trimmed; empty when the line has no "#"
    QByteArray payload; // everything after the first "#"
};

// Trims the line and splits it at its first "#".
Answer splitAnswer(const QByteArray &line);

// The answer rows; the command table gives each its key.
enum class AnswerKey {
    None,
    EchoCommand,
    SerialNumber,
    PartNumber,
    FirmwareVersion,
    Frequency,
    Baud1,
    Baud2,
    Baud3,
    Gps,
    Protocol,
    Header,
    Flags,
    RollOffset,
    PitchOffset,
    YawOffset,
    NorthOffset,
    MagX,
    MagY,
    MagZ,
    DeviceUdpPort,
    LocalUdpPort,
    DeviceAddress,
    DestinationAddress,
};

// The row of the first key (in the command table's order) that occurs anywhere in the code.
AnswerKey findAnswerKey(const QByteArray &code);

struct SerialNumberFields
{
    QString serialNumber;
    QString hardwareId;
    QString date;
    QString serialId;
};

std::optional<SerialNumberFields> parseSerialNumber(const QByteArray &payload);
std::optional<QString> parsePartNumber(const QByteArray &payload);
std::optional<QString> parseFirmwareVersion(const QByteArray &payload);

enum GpsInput { GpsRs232 = 0, GpsRs422 = 1, NoGps = 2 };
GpsInput parseGpsInput(const QByteArray &payload);

struct ProtocolAnswer
{
    std::array<uint8_t, 4> format{};
    uint8_t slot = 0;
};
std::optional<ProtocolAnswer> parseProtocol(const QByteArray &payload);

std::optional<uint32_t> parseFlags(const QByteArray &payload);

uint16_t parseUint16(const QByteArray &payload); // 0 unless 0..65535
double parseFloating(const QByteArray &payload); // 0.0 unless a number

// The device reports that it has no address.
bool isNullAddress(const QByteArray &payload);
// The dot-separated parts of an address answer; nothing with fewer than four.
std::optional<QList<QByteArray>> parseDeviceAddress(const QByteArray &payload);
std::optional<QList<QByteArray>> parseDestinationAddress(const QByteArray &payload);

} // namespace AnswerParser

#endif // ANSWERPARSER_H
