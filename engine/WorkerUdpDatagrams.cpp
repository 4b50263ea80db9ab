// The worker's side of the UDP datagrams it receives: the settings answer,
// brought into the worker's records and the main window's widgets, and the
// output datagram, decoded into the sample record.

#include "OutputDecoder.h"
#include "ProtocolLabels.h"
#include "UdpDatagrams.h"
#include "Worker.h"


// An answer too short to hold its whole record is not trusted with anything,
// not even a confirmation; the caller still counts it as a sign of life.
QString Worker::processUdpCmdDatagrams(const QByteArray &datagram, bool process)
{
    if (!process)
        return {};
    const std::optional<SettingsAnswer::Record> record = SettingsAnswer::parse(datagram);
    if (!record) {
        emit signalErrorLoggerWrite("msg Error : Worker : processUdpCmdDatagrams : short settings answer of "
                                    + QByteArray::number(datagram.size()) + " bytes");
        return {};
    }
    if (m_setDatagramPending && !confirmsPendingDatagram(datagram))
        return {};
    applyAnswerLink(*record);
    applyAnswerSettings(*record);
    applyAnswerIdentity(*record);
    m_settingsRereadCount = 0;
    emit signalErrorLoggerWrite("msg Info : Worker : processUdpCmdDatagrams : "
                                + SettingsAnswer::trailerExcerpt(record->trailer));
    return m_deviceAddress.toString() + QStringLiteral(" @ ") + QString::number(m_deviceUdpPort)
           + QStringLiteral(" -> ") + QString::number(m_localUdpPort);
}

bool Worker::confirmsPendingDatagram(const QByteArray &answer)
{
    if (!SettingsAnswer::confirms(answer, m_setDatagramSignature))
        return false;
    m_setDatagramPending = false;
    readIMUsettings = false;
    m_waitTicks = 0;
    m_setDatagramResends = 0;
    emit enableAllButtons(true);
    emit signalSettingsConfirmed(true);
    return true;
}

void Worker::applyAnswerLink(const SettingsAnswer::Record &record)
{
    m_deviceUdpPort = record.devicePort;
    if (record.destinationPort != m_localUdpPort) {
        m_rebindRequest = true;
        m_localUdpPort = record.destinationPort;
    }
    emit m_uiLineEditIMUUdpPortSetText(QString::number(m_deviceUdpPort));
    emit m_uiLineEditLocalUdpPortSetText(QString::number(m_localUdpPort));
    const QString address = SettingsAnswer::addressText(record.deviceAddress);
    if (address != m_deviceAddress.toString())
        m_deviceAddress = QHostAddress(address);
    emit m_uiLineEditIMUIP4SetText(SettingsAnswer::octetTexts(record.deviceAddress));
    emit m_uiLineEditDstIP4SetText(SettingsAnswer::octetTexts(record.destinationAddress));
}

void Worker::applyAnswerSettings(const SettingsAnswer::Record &record)
{
    UserSettings.flags = record.flags;
    emit signalProcessIMUFlags(record.flags);
    m_protocol[0].header = record.header;
    for (uint8_t slot = 0; slot < OutputProtocolSlotCount; ++slot) {
        m_protocol[slot].format = record.formats[slot];
        calculateProtocolValue(slot);
    }
    emit signalProcessProtocolParameters(m_protocol[0], 0);
    const bool predefined = !OutputDecoder::isCustomSelection(m_protocol[0].value);
    emit signalProtocolHeaderSetText(predefined ? QString(ProtocolLabels::Protocol) : QString(ProtocolLabels::Header),
                                     m_protocol[0].header);
    for (int i = 0; i < SettingsAnswer::BaudCodeCount; ++i)
        UserSettings.baudCode[i] = record.baudCodes[size_t(i)];
    emit m_uiBaudRateBoxSetIndex(AllBoxes, QByteArray::number(record.baudCodes[0]));
    UserSettings.frequency = record.frequency;
    emit m_uiIMUfreqBoxSetIndex(QString::number(record.frequency));
    UserSettings.rollOffset = record.offsets[0];
    UserSettings.pitchOffset = record.offsets[1];
    UserSettings.yawOffset = record.offsets[2];
    emit m_uiDoubleSpinBoxOffsetSetValue(AllBoxes, UserSettings.rollOffset);
}

void Worker::applyAnswerIdentity(const SettingsAnswer::Record &record)
{
    if (record.partNr)
        factorysettings.partNr = *record.partNr;
    factorysettings.fwVersion = record.fwVersion;
    factorysettings.date = QString::number(record.date);
    factorysettings.hardwareId = QString::number(record.hardwareId);
    factorysettings.serialId = QString::number(record.serial);
    factorysettings.serialNumber = SettingsAnswer::serialNumber(record);
    reportIdentity();
}

QString Worker::processUdpDatagrams(const QByteArray &datagram, bool process)
{
    if (!process || !m_udpBound)
        return {};
    QString line;
    if (!UdpDatagrams::decodeOutputDatagram(datagram, m_outputData, line))
        return {};
    emitDisplayIfDue();
    return line;
}

float Worker::getParameterValue(const QByteArray &data, int offset) const
{
    return SettingsAnswer::parameterValue(data, offset);
}

float Worker::getParameterValue16(const QByteArray &data, int offset) const
{
    return SettingsAnswer::parameterValue16(data, offset);
}
