#ifndef COMMANDTABLE_H
#define COMMANDTABLE_H

// The sending half of the serial command protocol: the read-out queries, the
// setting heads, the order in which pending settings go out and the texts
// they are sent with. Pure functions and constant tables.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>

// The 19 read-out queries, in read-out order (without line end).
const QList<QByteArray> &GetCommands();

// Setting head -> setting number.
const QHash<QByteArray, int> &SetCmdMap();

namespace CommandTable {

// Setting numbers of SetCmdMap().
enum SettingNumber {
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

struct SetCommand
{
    uint32_t bit = 0;
    int number = -1;
    bool isValid() const { return bit != 0; }
};

// The first pending setting in sending order, or an invalid command when no
// bit of the mask selects one.
SetCommand nextSetCommand(uint32_t mask);

// The head of a setting number, found by walking SetCmdMap(); empty when unknown.
QByteArray setCommandHead(int number);

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

// Value texts of the set lines.
QString protocolFormatText(const std::array<uint8_t, 4> &format, int slot); // 128.0.0.20:0
QString flagsText(uint32_t flags);                                          // 0.0.0.33
QString offsetText(const QString &text);                                    // 1,5 -> 1.5
uint16_t portNumber(const QString &text);                                   // 0 unless 0..65535
bool isUnknownBaudRate(const QString &text);

} // namespace CommandTable

#endif // COMMANDTABLE_H
