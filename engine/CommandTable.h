#ifndef COMMANDTABLE_H
#define COMMANDTABLE_H

// The sending half of the serial command protocol: the read-out queries, the
// setting heads, the order in which pending settings go out and the texts
// they are sent with. Pure functions and constant tables, all built from one
// table of the device's command codes.

#include "AnswerParser.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The 19 read-out queries, in read-out order (without line end).
const QList<QByteArray> &GetCommands();

// Setting head -> setting number.
const QHash<QByteArray, int> &SetCmdMap();

namespace CommandTable {

// Setting numbers of SetCmdMap().
enum SettingNumber {
    NoSetting = -1,
    SerialNumberSetting = 0,
    FrequencySetting = 1,
    Baud1Setting = 2,
    Baud2Setting = 3,
    Baud3Setting = 4,
    GpsSetting = 5,
    HeaderSetting = 6,
    ProtocolSetting = 7,
    DeviceUdpPortSetting = 8,
    LocalUdpPortSetting = 9,
    DeviceAddressSetting = 10,
    DestinationAddressSetting = 11,
    FlagsSetting = 12,
    RollOffsetSetting = 13,
    PitchOffsetSetting = 14,
    YawOffsetSetting = 15,
    NorthOffsetSetting = 16,
    MagXSetting = 17,
    MagYSetting = 18,
    MagZSetting = 19,
};

// Settings-mask bits, shared with the main window's Apply buttons.
enum SettingsBit : uint32_t {
    NoBit = 0,
    FrequencyBit = 0x1,
    ProtocolBit = 0x2,
    SerialNumberBit = 0x4,
    DeviceUdpPortBit = 0x10,
    LocalUdpPortBit = 0x20,
    DeviceAddressBit = 0x40,
    DestinationAddressBit = 0x80,
    FlagsBit = 0x100,
    RollOffsetBit = 0x200,
    PitchOffsetBit = 0x400,
    YawOffsetBit = 0x800,
    HeaderBit = 0x1000,
    Baud1Bit = 0x4000,
    Baud2Bit = 0x8000,
    Baud3Bit = 0x10000,
    GpsBit = 0x20000,
    NorthOffsetBit = 0x40000,
    MagXBit = 0x80000,
    MagYBit = 0x100000,
    MagZBit = 0x200000,
};

// Tab numbers of the settings groups.
enum SettingsTab { InterfaceTab = 0, OutputSettingsTab = 1, OutputProtocolTab = 2, CompassTab = 3 };

// One command code of the device, as it appears in a query ("$get" code "#"),
// a setting ("$set" code "#") and an answer (code "#").
struct CommandRow
{
    const char *code;
    // Rank in the read-out (the order of GetCommands()), or NotRead.
    int readout;
    SettingNumber setting;
    SettingsBit bit;
    AnswerParser::AnswerKey answer;
    // Queries in the read-out: one, or one per protocol slot ("#", "#1", "#2").
    int querySlots;
};

inline constexpr int NotRead = -1;

// Every command code; the settable ones first, highest sending priority first.
const QList<CommandRow> &commandRows();

// Position of a code's first query in GetCommands(), or -1.
int queryRow(AnswerParser::AnswerKey answer);

struct SetCommand
{
    uint32_t bit = 0;
    int number = -1;
    bool isValid() const { return bit != 0; }
};

// The first pending setting in sending order, or an invalid command when no
// bit of the mask selects one.
SetCommand nextSetCommand(uint32_t mask);

// The head of a setting number; empty when unknown.
QByteArray setCommandHead(int number);

// The heads of the settings a mask selects, in sending order.
QList<QByteArray> setCommandHeads(uint32_t mask);

// One complete "$set" line: head, value as UTF-8, line end.
QByteArray setLine(int number, const QString &value);

// The read-out query of a row (taken modulo the row count), with its line end.
QByteArray queryLine(int row);

// Values the worker keeps until their setting is sent.
struct PendingSettings
{
    QString bd1, bd2, bd3, gps;
    bool dynamicAddress = false;
    QString sip, dip, srp, dsp;
    QString rof, pof, yof, frq;
    QString nor, mxb, myb, mzb;
    uint32_t flags = 0;
};

// Stores the ";"-joined values of one settings group. Items missing from a
// short list leave their pending values as they were.
void storeSettingsGroup(PendingSettings &pending, int tab, const QString &values);

// What the protocol and header set lines are built from.
struct ProtocolRequest
{
    std::array<uint8_t, 4> format{};
    int slot = 0;
    QString header;
};

// The value text of a setting's set line, from the pending values; nothing
// when the setting is not to be sent (the serial number, an unknown baud rate).
std::optional<QString> settingValue(int number, const PendingSettings &pending, const ProtocolRequest &protocol);

// Value texts of the set lines.
QString protocolFormatText(const std::array<uint8_t, 4> &format, int slot); // 128.0.0.20:0
QString flagsText(uint32_t flags);                                          // 0.0.0.33
QString offsetText(const QString &text);                                    // 1,5 -> 1.5
// A pending port text as the set line and the UDP link take it: a text that is
// no port (SettingsValues::portNumber) goes out as NoPort.
inline constexpr uint16_t NoPort = 0;
uint16_t portToSend(const QString &text);
bool isUnknownBaudRate(const QString &text);

} // namespace CommandTable

#endif // COMMANDTABLE_H
