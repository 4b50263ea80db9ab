// The device answer parser: every answer line is handled by its code alone,
// whenever it arrives, and brought back into the worker's records and the
// main window's widgets.

#include "Worker.h"

#include "EngineLogging.h"

#include <QDebug>

namespace {
// After a null device address, wait before asking for it again.
constexpr uint AddressRequeryWaitMs = 1000;
constexpr uint32_t NullAddressAnswersGivenUp = 1;
} // namespace

void Worker::cmdProcessor()
{
    while (!m_answerQueue.isEmpty()) {
        const QByteArray line = m_answerQueue.takeFirst().trimmed();
        if (line.contains('$'))
            processAnswer(line);
    }
}

void Worker::processAnswer(const QByteArray &line)
{
    using AnswerParser::AnswerKey;
    const AnswerParser::Answer answer = AnswerParser::splitAnswer(line);
    const AnswerKey key = AnswerParser::findAnswerKey(answer.code);
    switch (key) {
    case AnswerKey::None:
        qCDebug(lcEngine) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "$unrecognised answer#" << answer.code;
        break;
    case AnswerKey::EchoCommand:
    case AnswerKey::Header:
        break;
    case AnswerKey::SerialNumber:
        storeSerialNumber(answer.payload);
        break;
    case AnswerKey::PartNumber:
        storePartNumber(answer.payload);
        break;
    case AnswerKey::FirmwareVersion:
        storeFirmwareVersion(answer.payload);
        break;
    case AnswerKey::Protocol:
        processProtocolAnswer(answer.payload);
        break;
    case AnswerKey::Flags:
        processFlagsAnswer(answer.payload);
        break;
    case AnswerKey::DeviceAddress:
        processDeviceAddressAnswer(answer.payload);
        break;
    case AnswerKey::DestinationAddress:
        processDestinationAddressAnswer(answer.payload);
        break;
    default:
        emitAnswerValue(key, answer.payload);
        break;
    }
}

// Answers that only bring a value back into a widget (and the UDP ports, which
// the worker keeps as well).
void Worker::emitAnswerValue(AnswerParser::AnswerKey key, const QByteArray &payload)
{
    using namespace AnswerParser;
    switch (key) {
    case AnswerKey::Frequency:
        emit m_uiIMUfreqBoxSetIndex(QString::fromUtf8(payload));
        break;
    case AnswerKey::Baud1:
        emit m_uiBaudRateBoxSetIndex(0, payload);
        break;
    case AnswerKey::Baud2:
        emit m_uiBaudRateBoxSetIndex(1, payload);
        break;
    case AnswerKey::Baud3:
        emit m_uiBaudRateBoxSetIndex(2, payload);
        break;
    case AnswerKey::Gps:
        emit radioButtonGPS(parseGpsInput(payload));
        break;
    case AnswerKey::RollOffset:
        emit m_uiDoubleSpinBoxOffsetSetValue(0, parseFloating(payload));
        break;
    case AnswerKey::PitchOffset:
        emit m_uiDoubleSpinBoxOffsetSetValue(1, parseFloating(payload));
        break;
    case AnswerKey::YawOffset:
        emit m_uiDoubleSpinBoxOffsetSetValue(2, parseFloating(payload));
        break;
    case AnswerKey::NorthOffset:
        emit doubleSpinBoxNorthOffsetSetValue(parseFloating(payload));
        break;
    case AnswerKey::MagX:
        emit doubleSpinBoxGaussSetValue(0, parseFloating(payload));
        break;
    case AnswerKey::MagY:
        emit doubleSpinBoxGaussSetValue(1, parseFloating(payload));
        break;
    case AnswerKey::MagZ:
        emit doubleSpinBoxGaussSetValue(2, parseFloating(payload));
        break;
    case AnswerKey::DeviceUdpPort:
        m_deviceUdpPort = parseUint16(payload);
        emit m_uiLineEditIMUUdpPortSetText(QString::fromUtf8(payload));
        break;
    case AnswerKey::LocalUdpPort:
        m_localUdpPort = parseUint16(payload);
        emit m_uiLineEditLocalUdpPortSetText(QString::fromUtf8(payload));
        break;
    default:
        break;
    }
}

void Worker::storeSerialNumber(const QByteArray &payload)
{
    const std::optional<AnswerParser::SerialNumberFields> fields = AnswerParser::parseSerialNumber(payload);
    if (!fields)
        return;
    factorysettings.serialNumber = fields->serialNumber;
    factorysettings.hardwareId = fields->hardwareId;
    factorysettings.date = fields->date;
    factorysettings.serialId = fields->serialId;
    reportIdentity();
}

void Worker::storePartNumber(const QByteArray &payload)
{
    const std::optional<QString> partNr = AnswerParser::parsePartNumber(payload);
    if (!partNr)
        return;
    factorysettings.partNr = *partNr;
    reportIdentity();
}

void Worker::storeFirmwareVersion(const QByteArray &payload)
{
    const std::optional<QString> version = AnswerParser::parseFirmwareVersion(payload);
    if (!version)
        return;
    factorysettings.fwVersion = *version;
    reportIdentity();
}

// The identity goes with the link it was read on: the window takes it only
// while that link is in use (not one read by auto-detection, nor one that
// arrives after the window has left the link).
void Worker::reportIdentity()
{
    emit signalEnableSpecialHardwareFeature(factorysettings, m_interfaceMode);
}

void Worker::processProtocolAnswer(const QByteArray &payload)
{
    const std::optional<AnswerParser::ProtocolAnswer> answer = AnswerParser::parseProtocol(payload);
    if (!answer)
        return;
    storeProtocolFormat(answer->format, QString(), answer->slot);
    m_protocol[answer->slot].mask = 0;
    emit signalProcessProtocolParameters(m_protocol[answer->slot], answer->slot);
}

void Worker::processFlagsAnswer(const QByteArray &payload)
{
    const std::optional<uint32_t> flags = AnswerParser::parseFlags(payload);
    if (!flags)
        return;
    UserSettings.flags = *flags;
    emit signalProcessIMUFlags(*flags);
}

// A device without an address is asked once more after a wait; a second null
// answer in a row is shown as it is. An address ends the row.
void Worker::processDeviceAddressAnswer(const QByteArray &payload)
{
    if (AnswerParser::isNullAddress(payload)) {
        if (++m_nullAddressCount > NullAddressAnswersGivenUp) {
            m_nullAddressCount = 0;
            emit m_uiLineEditIMUIP4SetText({"0", "0", "0", "0"});
            return;
        }
        m_waitTicks = setSleepDogValue_ms(AddressRequeryWaitMs);
        settingsIterator = CommandTable::queryRow(AnswerParser::AnswerKey::DeviceAddress);
        return;
    }
    const std::optional<QList<QByteArray>> parts = AnswerParser::parseDeviceAddress(payload);
    if (!parts)
        return;
    m_nullAddressCount = 0;
    m_deviceAddress = QHostAddress(QString::fromUtf8(payload));
    emit m_uiLineEditIMUIP4SetText(*parts);
}

void Worker::processDestinationAddressAnswer(const QByteArray &payload)
{
    const std::optional<QList<QByteArray>> parts = AnswerParser::parseDestinationAddress(payload);
    if (parts)
        emit m_uiLineEditDstIP4SetText(*parts);
}
