#include "CommandTable.h"

#include <QStringList>

const QList<QByteArray> &GetCommands()
{
    static const QList<QByteArray> commands{
        "$getsrn#", "$getprn#", "$getfrq#", "$getfwv#", "$getbd1#", "$getbd2#", "$getbd3#",
        "$getgps#", "$getprt#", "$getprt#1", "$getprt#2", "$getflg#", "$getrof#", "$getpof#",
        "$getyof#", "$getsrp#", "$getdsp#", "$getsip#", "$getdip#",
    };
    return commands;
}

const QHash<QByteArray, int> &SetCmdMap()
{
    static const QHash<QByteArray, int> cmdMap{
        {"$setsrn#", 0},  {"$setfrq#", 1},  {"$setbd1#", 2},  {"$setbd2#", 3},  {"$setbd3#", 4},
        {"$setgps#", 5},  {"$sethdr#", 6},  {"$setprt#", 7},  {"$setsrp#", 8},  {"$setdsp#", 9},
        {"$setsip#", 10}, {"$setdip#", 11}, {"$setflg#", 12}, {"$setrof#", 13}, {"$setpof#", 14},
        {"$setyof#", 15}, {"$setnor#", 16}, {"$setmxb#", 17}, {"$setmyb#", 18}, {"$setmzb#", 19},
    };
    return cmdMap;
}

namespace CommandTable {

namespace {

const char LineEnd[] = "\r\n";

// Highest priority first.
constexpr SetCommand SendingOrder[] = {
    {FrequencyBit, FrequencySetting},
    {HeaderBit, HeaderSetting},
    {ProtocolBit, ProtocolSetting},
    {SerialNumberBit, SerialNumberSetting},
    {Baud1Bit, Baud1Setting},
    {Baud2Bit, Baud2Setting},
    {Baud3Bit, Baud3Setting},
    {GpsBit, GpsSetting},
    {DeviceAddressBit, DeviceAddressSetting},
    {DestinationAddressBit, DestinationAddressSetting},
    {FlagsBit, FlagsSetting},
    {DeviceUdpPortBit, DeviceUdpPortSetting},
    {LocalUdpPortBit, LocalUdpPortSetting},
    {RollOffsetBit, RollOffsetSetting},
    {PitchOffsetBit, PitchOffsetSetting},
    {YawOffsetBit, YawOffsetSetting},
    {NorthOffsetBit, NorthOffsetSetting},
    {MagXBit, MagXSetting},
    {MagYBit, MagYSetting},
    {MagZBit, MagZSetting},
};

void storeInterfaceGroup(PendingSettings &pending, const QStringList &items)
{
    QString *const texts[] = {&pending.bd1, &pending.bd2, &pending.bd3, &pending.gps, nullptr,
                              &pending.sip, &pending.dip, &pending.srp, &pending.dsp};
    constexpr int DynamicAddressItem = 4;
    for (int i = 0; i < items.size() && i < int(std::size(texts)); ++i) {
        if (i == DynamicAddressItem)
            pending.dynamicAddress = items.at(i).toInt() != 0;
        else
            *texts[i] = items.at(i);
    }
}

void storeOutputSettingsGroup(PendingSettings &pending, const QStringList &items)
{
    QString *const texts[] = {nullptr, &pending.rof, &pending.pof, &pending.yof, &pending.frq};
    constexpr int FlagsItem = 0;
    for (int i = 0; i < items.size() && i < int(std::size(texts)); ++i) {
        if (i == FlagsItem)
            pending.flags = items.at(i).toUInt();
        else
            *texts[i] = items.at(i);
    }
}

void storeCompassGroup(PendingSettings &pending, const QStringList &items)
{
    QString *const texts[] = {&pending.nor, &pending.mxb, &pending.myb, &pending.mzb};
    for (int i = 0; i < items.size() && i < int(std::size(texts)); ++i)
        *texts[i] = items.at(i);
}

} // namespace

SetCommand nextSetCommand(uint32_t mask)
{
    for (const SetCommand &command : SendingOrder) {
        if (mask & command.bit)
            return command;
    }
    return {};
}

QByteArray setCommandHead(int number)
{
    const QHash<QByteArray, int> &map = SetCmdMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value() == number)
            return it.key();
    }
    return {};
}

QByteArray setLine(int number, const QString &value)
{
    return setCommandHead(number) + value.toUtf8() + LineEnd;
}

QByteArray queryLine(int row)
{
    const QList<QByteArray> &commands = GetCommands();
    const qsizetype count = commands.size();
    return commands.at((row % count + count) % count) + LineEnd;
}

void storeSettingsGroup(PendingSettings &pending, int tab, const QString &values)
{
    const QStringList items = values.split(QLatin1Char(';'));
    switch (tab) {
    case InterfaceTab:
        storeInterfaceGroup(pending, items);
        break;
    case OutputSettingsTab:
        storeOutputSettingsGroup(pending, items);
        break;
    case CompassTab:
        storeCompassGroup(pending, items);
        break;
    default:
        break; // the output protocol travels with its own request
    }
}

QString protocolFormatText(const std::array<uint8_t, 4> &format, int slot)
{
    return QStringLiteral("%1.%2.%3.%4:%5").arg(format[0]).arg(format[1]).arg(format[2]).arg(format[3]).arg(slot);
}

QString flagsText(uint32_t flags)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg((flags >> 24) & 0xFF)
        .arg((flags >> 16) & 0xFF)
        .arg((flags >> 8) & 0xFF)
        .arg(flags & 0xFF);
}

QString offsetText(const QString &text)
{
    QString result = text;
    return result.replace(QLatin1Char(','), QLatin1Char('.'));
}

uint16_t portNumber(const QString &text)
{
    return text.toUShort();
}

bool isUnknownBaudRate(const QString &text)
{
    return text.contains(QLatin1String("unknown"));
}

} // namespace CommandTable
