// The sending half of the serial command protocol: the settings read-out, the
// store of pending settings and the step that sends one of them per tick.

#include "Worker.h"

#include <QMutexLocker>
#include <QtEndian>

namespace {
// After the device is told to take its address by itself, wait before reading it back.
constexpr uint AddressChangeWaitMs = 2500;
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
    const std::optional<QString> cmdValue = CommandTable::settingValue(command.number, m_pending, m_protocolRequest);
    if (cmdValue && (m_interfaceMode & SerialMode))
        writeSerialData(CommandTable::setLine(command.number, *cmdValue));
    noteSentSetting(command.number);
}

// Settings not yet written belong to the serial session they were applied in:
// the next one, maybe with another unit on the port, must not send them
// unasked. The event log names them once. The pending texts may stay: a text
// goes out only under its bit, and the request that sets a bit brings its
// group's texts with it; the output protocol's format and header come with
// the protocol request that the window sends just before its bits.
void Worker::dropUnsentSettings()
{
    logDroppedSettings(IMUsettingsFlag, "when the port was closed");
    IMUsettingsFlag = 0;
}

void Worker::logDroppedSettings(uint32_t mask, const QByteArray &when)
{
    const QList<QByteArray> heads = CommandTable::setCommandHeads(mask);
    if (heads.isEmpty())
        return;
    emit signalErrorLoggerWrite("msg Error : Worker : SendIMUsetCommands : " + heads.join(", ")
                                + " not sent to the IMU " + when + ", settings dropped");
}

// What sending a setting changes in the worker's own records.
void Worker::noteSentSetting(int number)
{
    using namespace CommandTable;
    switch (number) {
    case ProtocolSetting:
        m_protocol[m_protocolRequest.slot].mask = 0;
        break;
    case DeviceUdpPortSetting:
        m_deviceUdpPort = portToSend(m_pending.srp);
        break;
    case LocalUdpPortSetting:
        m_localUdpPort = portToSend(m_pending.dsp);
        break;
    case DeviceAddressSetting:
        noteSentDeviceAddress();
        break;
    default:
        break;
    }
}

// A device told to take its address by itself is read back after a wait.
void Worker::noteSentDeviceAddress()
{
    if (m_pending.dynamicAddress) {
        m_waitTicks = setSleepDogValue_ms(AddressChangeWaitMs);
        readIMUsettings = true;
        return;
    }
    m_deviceAddress = QHostAddress(m_pending.sip);
}

// Settings that arrive with no port open (the unit went away before the window
// saw it) belong to no session: they are dropped, as at the port's close.
void Worker::getIMUsettingsFlag(int mask, int tab, const QString &values)
{
    QMutexLocker locker(&m_mutex);
    if (!m_serialConnected) {
        logDroppedSettings(uint32_t(mask), "with no port open");
        return;
    }
    IMUsettingsFlag |= uint32_t(mask);
    CommandTable::storeSettingsGroup(m_pending, tab, values);
}

// The window's protocol request. The unit streams its old protocol until it has
// taken the request, and none of those lines may pass for the new custom header:
// the request ends a pending header capture (the next read-out arms it again).
// The set lines go out from a copy of the request: the answers of a read-out
// that runs before them move the slots to what the unit reports.
uint32_t Worker::getProtocolFormat(const std::array<uint8_t, 4> &format, const QString &header, uint8_t id)
{
    m_headerCapturePending = false;
    const uint32_t value = storeProtocolFormat(format, header, id);
    if (id < m_protocol.size())
        m_protocolRequest = {m_protocol[id].format, id, m_protocol[0].header};
    return value;
}

uint32_t Worker::storeProtocolFormat(const std::array<uint8_t, 4> &format, const QString &header, uint8_t id)
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
