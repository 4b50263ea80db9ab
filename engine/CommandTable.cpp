// The device's command codes in one table, and the query lists, setting heads,
// sending order and value texts built from it.

#include "CommandTable.h"

#include "DeviceTypes.h"
#include "SettingsValues.h"

#include <QStringList>

#include <algorithm>

namespace CommandTable {

namespace {

const char LineEnd[] = "\r\n";
const char DynamicAddressText[] = "0.0.0.0";

using Key = AnswerParser::AnswerKey;

QByteArray queryText(const CommandRow &row, int slot)
{
    const QByteArray query = "$get" + QByteArray(row.code) + '#';
    return slot == 0 ? query : query + QByteArray::number(slot);
}

} // namespace

const QList<CommandRow> &commandRows()
{
    static const QList<CommandRow> rows{
        // code, read-out rank, setting, bit, answer, queries
        {"frq", 2, FrequencySetting, FrequencyBit, Key::Frequency, 1},
        {"hdr", NotRead, HeaderSetting, HeaderBit, Key::Header, 0},
        {"prt", 8, ProtocolSetting, ProtocolBit, Key::Protocol, OutputProtocolSlotCount},
        {"srn", 0, SerialNumberSetting, SerialNumberBit, Key::SerialNumber, 1},
        {"bd1", 4, Baud1Setting, Baud1Bit, Key::Baud1, 1},
        {"bd2", 5, Baud2Setting, Baud2Bit, Key::Baud2, 1},
        {"bd3", 6, Baud3Setting, Baud3Bit, Key::Baud3, 1},
        {"gps", 7, GpsSetting, GpsBit, Key::Gps, 1},
        {"sip", 15, DeviceAddressSetting, DeviceAddressBit, Key::DeviceAddress, 1},
        {"dip", 16, DestinationAddressSetting, DestinationAddressBit, Key::DestinationAddress, 1},
        {"flg", 9, FlagsSetting, FlagsBit, Key::Flags, 1},
        {"srp", 13, DeviceUdpPortSetting, DeviceUdpPortBit, Key::DeviceUdpPort, 1},
        {"dsp", 14, LocalUdpPortSetting, LocalUdpPortBit, Key::LocalUdpPort, 1},
        {"rof", 10, RollOffsetSetting, RollOffsetBit, Key::RollOffset, 1},
        {"pof", 11, PitchOffsetSetting, PitchOffsetBit, Key::PitchOffset, 1},
        {"yof", 12, YawOffsetSetting, YawOffsetBit, Key::YawOffset, 1},
        {"nor", NotRead, NorthOffsetSetting, NorthOffsetBit, Key::NorthOffset, 0},
        {"mxb", NotRead, MagXSetting, MagXBit, Key::MagX, 0},
        {"myb", NotRead, MagYSetting, MagYBit, Key::MagY, 0},
        {"mzb", NotRead, MagZSetting, MagZBit, Key::MagZ, 0},
        {"prn", 1, NoSetting, NoBit, Key::PartNumber, 1},
        {"fwv", 3, NoSetting, NoBit, Key::FirmwareVersion, 1},
        {"echocmd", NotRead, NoSetting, NoBit, Key::EchoCommand, 0},
        {"hd1", NotRead, NoSetting, NoBit, Key::Header, 0},
        {"hd2", NotRead, NoSetting, NoBit, Key::Header, 0},
    };
    return rows;
}

} // namespace CommandTable

const QList<QByteArray> &GetCommands()
{
    using namespace CommandTable;
    static const QList<QByteArray> commands = [] {
        QList<CommandRow> read;
        for (const CommandRow &row : commandRows()) {
            if (row.readout != NotRead)
                read.append(row);
        }
        std::sort(read.begin(), read.end(), [](const CommandRow &a, const CommandRow &b) { return a.readout < b.readout; });
        QList<QByteArray> queries;
        for (const CommandRow &row : read) {
            for (int slot = 0; slot < row.querySlots; ++slot)
                queries.append(queryText(row, slot));
        }
        return queries;
    }();
    return commands;
}

const QHash<QByteArray, int> &SetCmdMap()
{
    using namespace CommandTable;
    static const QHash<QByteArray, int> cmdMap = [] {
        QHash<QByteArray, int> map;
        for (const CommandRow &row : commandRows()) {
            if (row.setting != NoSetting)
                map.insert(setCommandHead(row.setting), row.setting);
        }
        return map;
    }();
    return cmdMap;
}

namespace CommandTable {

namespace {

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

// A baud rate the device did not report is not sent back to it.
std::optional<QString> baudRateValue(const QString &text)
{
    if (isUnknownBaudRate(text))
        return std::nullopt;
    return text;
}

} // namespace

int queryRow(AnswerParser::AnswerKey answer)
{
    for (const CommandRow &row : commandRows()) {
        if (row.answer == answer && row.readout != NotRead)
            return int(GetCommands().indexOf(queryText(row, 0)));
    }
    return -1;
}

SetCommand nextSetCommand(uint32_t mask)
{
    for (const CommandRow &row : commandRows()) {
        if (mask & row.bit)
            return {row.bit, row.setting};
    }
    return {};
}

QByteArray setCommandHead(int number)
{
    for (const CommandRow &row : commandRows()) {
        if (row.setting != NoSetting && row.setting == number)
            return "$set" + QByteArray(row.code) + '#';
    }
    return {};
}

QList<QByteArray> setCommandHeads(uint32_t mask)
{
    QList<QByteArray> heads;
    for (const CommandRow &row : commandRows()) {
        if (mask & row.bit)
            heads << setCommandHead(row.setting);
    }
    return heads;
}

std::optional<QString> settingValue(int number, const PendingSettings &pending, const ProtocolRequest &protocol)
{
    switch (number) {
    case FrequencySetting:
        return pending.frq;
    case HeaderSetting:
        return protocol.header;
    case ProtocolSetting:
        return protocolFormatText(protocol.format, protocol.slot);
    case SerialNumberSetting:
        return std::nullopt; // no serial number is ever pending: never overwrite the device's identity
    case Baud1Setting:
        return baudRateValue(pending.bd1);
    case Baud2Setting:
        return baudRateValue(pending.bd2);
    case Baud3Setting:
        return baudRateValue(pending.bd3);
    case GpsSetting:
        return pending.gps;
    case DeviceAddressSetting:
        return pending.dynamicAddress ? QString::fromLatin1(DynamicAddressText) : pending.sip;
    case DestinationAddressSetting:
        return pending.dip;
    case FlagsSetting:
        return flagsText(pending.flags);
    case DeviceUdpPortSetting:
        return QString::number(portToSend(pending.srp));
    case LocalUdpPortSetting:
        return QString::number(portToSend(pending.dsp));
    case RollOffsetSetting:
        return offsetText(pending.rof);
    case PitchOffsetSetting:
        return offsetText(pending.pof);
    case YawOffsetSetting:
        return offsetText(pending.yof);
    case NorthOffsetSetting:
        return pending.nor;
    case MagXSetting:
        return pending.mxb;
    case MagYSetting:
        return pending.myb;
    case MagZSetting:
        return pending.mzb;
    }
    return std::nullopt;
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

uint16_t portToSend(const QString &text)
{
    return SettingsValues::portNumber(text).value_or(NoPort);
}

bool isUnknownBaudRate(const QString &text)
{
    return text.contains(QLatin1String("unknown"));
}

} // namespace CommandTable
