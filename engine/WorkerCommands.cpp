// The sending half of the serial command protocol: the settings read-out, the
// store of pending settings and the step that sends one of them per tick.

#include "Worker.h"

#include <QMutexLocker>
#include <QtEndian>

namespace {
// After the device is told to take its address by itself, wait before reading it back.
constexpr uint AddressChangeWaitMs = 2500;
const char DynamicAddressText[] = "0.0.0.0";

// A baud rate the device did not report is not sent back to it.
std::optional<QString> baudRateValue(const QString &text)
{
    if (CommandTable::isUnknownBaudRate(text))
        return std::nullopt;
    return text;
}
} // namespace

void Worker::sendSettingsQuery()
{
    if (settingsIterator < 0)
        settingsIterator = 0;
    writeSerialData(CommandTable::queryLine(settingsIterator));
    ++settingsIterator;
    if (settingsIterator < GetCommands().size())
        return;
    settingsIterator = 0;
    if (!factorysettings.partNr.isEmpty() && !factorysettings.serialId.isEmpty())
        finishSettingsReadout();
}

void Worker::finishSettingsReadout()
{
    readIMUsettings = false;
    m_headerCapturePending = true;
    emit enableAllButtons(true);
    emit signalClearAllSetFalgs();
}

void Worker::sendPendingSetting()
{
    SendIMUsetCommands();
    if (IMUsettingsFlag != 0)
        return;
    settingsIterator = 0;
    readIMUsettings = false;
    emit enableAllButtons(true);
}

void Worker::SendIMUsetCommands()
{
    const CommandTable::SetCommand command = CommandTable::nextSetCommand(IMUsettingsFlag);
    if (!command.isValid()) {
        IMUsettingsFlag = 0;
        return;
    }
    IMUsettingsFlag &= ~command.bit;
    const std::optional<QString> cmdValue = setCommandValue(command.number);
    if (cmdValue && (m_interfaceMode & SerialMode))
        writeSerialData(CommandTable::setLine(command.number, *cmdValue));
}

// The value text of a setting; nothing when the setting is not to be sent.
// Some settings also update the worker's own copy of what they change.
std::optional<QString> Worker::setCommandValue(int number)
{
    using namespace CommandTable;
    switch (number) {
    case FrequencySetting:
        return m_pending.frq;
    case HeaderSetting:
        return m_protocol[0].header;
    case ProtocolSetting: {
        const QString text = protocolFormatText(m_protocol[protocolId].format, protocolId);
        m_protocol[protocolId].mask = 0;
        return text;
    }
    case SerialNumberSetting:
        return std::nullopt; // no serial number is ever pending: never overwrite the device's identity
    case Baud1Setting:
        return baudRateValue(m_pending.bd1);
    case Baud2Setting:
        return baudRateValue(m_pending.bd2);
    case Baud3Setting:
        return baudRateValue(m_pending.bd3);
    case GpsSetting:
        return m_pending.gps;
    case DeviceAddressSetting:
        return deviceAddressValue();
    case DestinationAddressSetting:
        return m_pending.dip;
    case FlagsSetting:
        return flagsText(m_pending.flags);
    case DeviceUdpPortSetting:
        m_deviceUdpPort = portNumber(m_pending.srp);
        return QString::number(m_deviceUdpPort);
    case LocalUdpPortSetting:
        m_localUdpPort = portNumber(m_pending.dsp);
        return QString::number(m_localUdpPort);
    case RollOffsetSetting:
        return offsetText(m_pending.rof);
    case PitchOffsetSetting:
        return offsetText(m_pending.pof);
    case YawOffsetSetting:
        return offsetText(m_pending.yof);
    case NorthOffsetSetting:
        return m_pending.nor;
    case MagXSetting:
        return m_pending.mxb;
    case MagYSetting:
        return m_pending.myb;
    case MagZSetting:
        return m_pending.mzb;
    }
    return std::nullopt;
}

QString Worker::deviceAddressValue()
{
    if (m_pending.dynamicAddress) {
        m_waitTicks = setSleepDogValue_ms(AddressChangeWaitMs);
        readIMUsettings = true;
        return QString::fromLatin1(DynamicAddressText);
    }
    m_deviceAddress = QHostAddress(m_pending.sip);
    return m_pending.sip;
}

void Worker::getIMUsettingsFlag(int mask, int tab, const QString &values)
{
    QMutexLocker locker(&m_mutex);
    IMUsettingsFlag |= uint32_t(mask);
    CommandTable::storeSettingsGroup(m_pending, tab, values);
}

uint32_t Worker::getProtocolFormat(const std::array<uint8_t, 4> &format, const QString &header, uint8_t id)
{
    if (id >= m_protocol.size())
        return 0;
    protocolId = id;
    m_protocol[id].format = format;
    const uint32_t value = calculateProtocolValue(id);
    if (value >= uint32_t(ProtocolValue::CustomHeader))
        m_protocol[id].header = header;
    return value;
}

uint32_t Worker::calculateProtocolValue(uint8_t id)
{
    if (id >= m_protocol.size())
        return 0;
    OutputProtocolType &slot = m_protocol[id];
    slot.value = qFromBigEndian<uint32_t>(slot.format.data());
    slot.enabled = slot.value != 0;
    return slot.value;
}
