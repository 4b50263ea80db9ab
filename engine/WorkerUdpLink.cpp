// The worker's UDP link: connecting and disconnecting, the socket and its
// binds, the datagrams sent to the device, the per-tick UDP task with its
// discovery, resends and watchdog, and the dispatch of received datagrams.

#include "EthernetSettingsDatagram.h"
#include "UdpDatagrams.h"
#include "Worker.h"

#include "EngineLogging.h"

#include <QDebug>
#include <QUdpSocket>
#include <QtEndian>

namespace {
// Waits asked for by the link, in milliseconds of the wait unit.
constexpr uint SocketResetWaitMs = 1000;
constexpr uint SetDatagramWaitMs = 1200;
constexpr uint SettingsRequestWaitMs = 1000;
// Runs of the UDP task: between resends, before giving up, of silence, between re-reads.
constexpr uint32_t ResendInterval = 10;
constexpr uint32_t ResendLimit = 100;
constexpr uint32_t WatchdogLimit = 99;
constexpr uint32_t SettingsRereadLimit = 2000;
constexpr int DisconnectTimeoutMs = 30000;
const QHostAddress UnsetDeviceAddress(QStringLiteral("0.0.0.0"));

// Whether sending this settings datagram moves the device to the address it
// gives: only while the datagram's own flags leave dynamic addressing off.
bool movesDeviceAddress(const QByteArray &datagram)
{
    using EthernetSettingsDatagram::FlagsOffset;
    if (datagram.size() < FlagsOffset + qsizetype(sizeof(uint32_t)))
        return false;
    const uint32_t flags = qFromBigEndian<uint32_t>(datagram.constData() + FlagsOffset);
    return (flags & ImuFlags::DynamicIp) == 0;
}
} // namespace

void Worker::initSocket()
{
    udpSocketIP4 = new QUdpSocket(this);
    connect(udpSocketIP4, &QUdpSocket::readyRead, this, &Worker::processUdpSocketIP4PendingDatagrams);
    m_scanning = true;
    m_localUdpPort = m_defaultLocalUdpPort;
    m_deviceUdpPort = m_defaultDeviceUdpPort;
    m_deviceAddress = QHostAddress();
}

void Worker::EthernetConnectTriggered(bool connect, const QHostAddress &address, const QHostAddress &broadcast)
{
    if (connect)
        connectEthernet(address, broadcast);
    else
        disconnectEthernet();
}

void Worker::connectEthernet(const QHostAddress &address, const QHostAddress &broadcast)
{
    closeSerialPort();
    resetUdpSocket();
    forgetLastUnit();
    forgetLastEthernetUnit();
    m_scanning = true;
    m_interfaceAddress = address;
    m_discoveryTarget = broadcast;
    qCDebug(lcEngine) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "$connect#" << address << broadcast;
    if (!bindUdpSocket(m_localUdpPort))
        return;
    setInterfaceMode(EthernetMode);
    emit showEthernetStatusMessage(tr("Connected"));
    if (m_localUdpPort != udpSocketIP4->localPort())
        emit m_uiLineEditLocalUdpPortSetText(QString::number(udpSocketIP4->localPort()));
}

// Each connection finds its unit afresh, even where the last session (or a
// serial one) learnt an address: until a unit answers, a scan-off request does
// not end the search and nothing but discovery goes out. A rebind the last
// session asked for is not this session's either: only its own unit's answer
// rebinds and says "Connected". The discovery counter, the message number and
// the ports carry over.
void Worker::forgetLastEthernetUnit()
{
    m_deviceAddress = QHostAddress();
    m_rebindRequest = false;
}

void Worker::disconnectEthernet()
{
    m_scanning = false;
    m_udpBound = false;
    emit showEthernetStatusMessage(tr("Disconnected"));
    emit enableAllButtons(false);
    setInterfaceMode(NoLink);
    resetUdpSocket();
}

// What a session of the Ethernet link leaves open ends with it: a settings
// datagram the unit has not confirmed is neither resent nor reported later, and
// a run of failed writes is closed, so that the next session logs its own.
void Worker::endEthernetSession()
{
    if (m_setDatagramPending) {
        m_setDatagramPending = false;
        emit signalErrorLoggerWrite("msg Error : Worker : UDP sendSetCmdDatagram : "
                                    + unconfirmedSettingsState() + " when the link was left, settings dropped");
    }
    for (auto run = m_failedUdpWrites.cbegin(); run != m_failedUdpWrites.cend(); ++run)
        emit signalErrorLoggerWrite("msg Info : Worker : UDP " + run.key() + " : link left after "
                                    + QByteArray::number(run.value()) + " failed writes");
    m_failedUdpWrites.clear();
    if (const quint64 leftOut = m_settingsAnswerPace.endRun())
        emit signalErrorLoggerWrite("msg Info : Worker : processUdpCmdDatagrams : link left after "
                                    + QByteArray::number(leftOut) + " answers left out");
}

void Worker::resetUdpSocketSlot(quint16 port)
{
    m_localUdpPort = port;
    m_rebindRequest = true;
    m_waitTicks = setSleepDogValue_ms(SocketResetWaitMs);
}

void Worker::scanVeltoIMUSlot(bool on)
{
    m_scanning = on;
    if (on)
        m_waitTicks = setSleepDogValue_ms(SocketResetWaitMs);
}

void Worker::resetUdpSocket()
{
    udpSocketIP4->abort();
    if (udpSocketIP4->state() >= QAbstractSocket::ConnectedState)
        udpSocketIP4->waitForDisconnected(DisconnectTimeoutMs);
}

// A failed bind leaves the link dead until the next connect request: say so,
// with the port and the reason, and let the Ethernet action uncheck.
bool Worker::bindUdpSocket(uint16_t port)
{
    m_udpBound = udpSocketIP4->bind(QHostAddress(QHostAddress::AnyIPv4), port, QAbstractSocket::ShareAddress);
    if (m_udpBound)
        return true;
    const QString reason = udpSocketIP4->errorString();
    emit showEthernetStatusMessage(tr("Disconnected: UDP port %1 could not be bound: %2").arg(port).arg(reason));
    emit signalErrorLoggerWrite("msg Error : Worker : UDP bind : port " + QByteArray::number(port) + " : "
                                + reason.toUtf8());
    endEthernetSession();
    emit signalActionsSetChecked(false, EthernetConnectAction);
    return false;
}

bool Worker::deviceAddressUsable() const
{
    return !m_deviceAddress.isNull() && m_deviceAddress != UnsetDeviceAddress;
}

// A datagram counts as sent only when the socket took all of it; a failed or
// short write is reported with its reason.
bool Worker::writeUdpDatagram(const QByteArray &payload, const QHostAddress &to, quint16 port,
                              const QByteArray &operation)
{
    const qint64 written = udpSocketIP4->writeDatagram(payload, to, port);
    if (written == payload.size()) {
        noteUdpWriteSucceeded(operation);
        return true;
    }
    const QByteArray reason = written < 0 ? udpSocketIP4->errorString().toUtf8()
                                          : "only " + QByteArray::number(written) + " of "
                                                + QByteArray::number(payload.size()) + " bytes written";
    noteUdpWriteFailed(operation, reason);
    return false;
}

// A run of failed writes is logged once, at its first failure: a link that
// cannot reach the network retries every few ticks for as long as it runs.
void Worker::noteUdpWriteFailed(const QByteArray &operation, const QByteArray &reason)
{
    if (m_failedUdpWrites[operation]++ == 0)
        emit signalErrorLoggerWrite("msg Error : Worker : UDP " + operation + " : write failed : " + reason);
}

void Worker::noteUdpWriteSucceeded(const QByteArray &operation)
{
    const quint64 failed = m_failedUdpWrites.take(operation);
    if (failed > 0)
        emit signalErrorLoggerWrite("msg Info : Worker : UDP " + operation + " : written again after "
                                    + QByteArray::number(failed) + " failed writes");
}

void Worker::advanceMessageNumber()
{
    msgNr = UdpDatagrams::nextMessageNumber(msgNr);
}

void Worker::sendUdpCmdDatagram(const QString &address, const QByteArray &datagram, unsigned int type)
{
    if (type != 0)
        return;
    m_setDatagram = datagram;
    m_setDatagramSignature = datagram.right(SettingsAnswer::SignatureSize);
    m_pending.sip = address;
    m_setDatagramSent = false;
    sendSetCmdDatagram(datagram);
    m_setDatagramResends = 0;
    m_setDatagramPending = true;
    readIMUsettings = true;
    m_waitTicks = setSleepDogValue_ms(SetDatagramWaitMs);
}

void Worker::sendSetCmdDatagram(const QByteArray &datagram)
{
    if (m_scanning || !deviceAddressUsable()) {
        emit enableAllButtons(false);
        emit signalErrorLoggerWrite("msg Error : Worker : UDP sendSetCmdDatagram : " + datagram);
        return;
    }
    if (!m_udpBound)
        return;
    const QByteArray payload = UdpDatagrams::settingsDatagramPayload(datagram, msgNr);
    if (!writeUdpDatagram(payload, m_deviceAddress, m_deviceUdpPort, "sendSetCmdDatagram"))
        return;
    m_setDatagramSent = true;
    if (movesDeviceAddress(datagram))
        m_deviceAddress = QHostAddress(m_pending.sip);
    advanceMessageNumber();
    emit signalErrorLoggerWrite("msg Info : Worker : UDP sendSetCmdDatagram : " + payload);
}

void Worker::sendGetCmdDatagram(const QByteArray &command)
{
    if (!m_udpBound)
        return;
    if (m_scanning || !deviceAddressUsable()) {
        m_scanning = true;
        emit signalErrorLoggerWrite("msg Error : Worker : UDP sendGetCmdDatagram : ");
        readIMUsettings = false;
        return;
    }
    const QByteArray payload = UdpDatagrams::settingsRequestPayload(command, msgNr);
    readIMUsettings = false;
    if (!writeUdpDatagram(payload, m_deviceAddress, m_deviceUdpPort, "sendGetCmdDatagram"))
        return;
    advanceMessageNumber();
    emit enableAllButtons(true);
    emit signalErrorLoggerWrite("msg Info : Worker : UDP sendGetCmdDatagram : " + payload);
}

void Worker::udpTimerTask()
{
    if (!(m_interfaceMode & EthernetMode))
        return;
    if (m_scanning || m_deviceAddress.isNull())
        searchForDevice();
    else if (m_setDatagramPending)
        resendSetDatagram();
    if (readIMUsettings)
        requestSettings();
    checkEthernetWatchdog();
    if (m_rebindRequest)
        serveRebindRequest();
    countSettingsReread();
}

// Every run of a search says so; every tenth sends a discovery datagram from
// the default local port, and none when that port cannot be bound.
void Worker::searchForDevice()
{
    if (m_setDatagramPending)
        dropUnconfirmedSetDatagram();
    readIMUsettings = false;
    emit showEthernetStatusMessage(QStringLiteral("Scaning For IMU"));
    if (m_discoveryCount++ < DiscoveryInterval - 1)
        return;
    emit enableAllButtons(false);
    m_discoveryCount = 0;
    if (udpSocketIP4->localPort() != m_defaultLocalUdpPort) {
        resetUdpSocket();
        if (!bindUdpSocket(m_defaultLocalUdpPort))
            return;
    }
    const QByteArray discovery = UdpDatagrams::discoveryDatagram(msgNr);
    if (writeUdpDatagram(discovery, m_discoveryTarget, m_defaultDeviceUdpPort, "discovery"))
        advanceMessageNumber();
}

void Worker::resendSetDatagram()
{
    m_settingsRereadCount = 0;
    const uint32_t old = m_setDatagramResends++;
    if (m_setDatagramResends % ResendInterval == 0) {
        sendSetCmdDatagram(m_setDatagram);
        readIMUsettings = true;
    } else if (old >= ResendLimit) {
        readIMUsettings = false;
        m_setDatagramResends = 0;
        dropUnconfirmedSetDatagram();
        m_scanning = true;
    }
}

// A settings datagram given up, or dropped by a search, without the device's
// confirmation: the device may not have taken the settings.
void Worker::dropUnconfirmedSetDatagram()
{
    m_setDatagramPending = false;
    emit signalSettingsConfirmed(false);
    emit signalErrorLoggerWrite("msg Error : Worker : UDP sendSetCmdDatagram : " + unconfirmedSettingsState()
                                + ", settings dropped");
}

// What became of the pending settings datagram: sent and not confirmed, or
// never sent at all (refused while searching, or every write failed).
QByteArray Worker::unconfirmedSettingsState() const
{
    return m_setDatagramSent ? "not confirmed by the IMU" : "not sent to the IMU";
}

void Worker::requestSettings()
{
    sendGetCmdDatagram(UdpDatagrams::settingsRequestCommand(msgNr));
    readIMUsettings = false;
    m_headerCapturePending = false;
    m_waitTicks = setSleepDogValue_ms(SettingsRequestWaitMs);
}

void Worker::checkEthernetWatchdog()
{
    if (m_ethernetWatchdog++ < WatchdogLimit)
        return;
    emit showEthernetStatusMessage(tr("Reset Conecction"));
    m_ethernetWatchdog = 0;
    m_discoveryCount = 0;
    m_scanning = true;
    resetUdpSocket();
    bindUdpSocket(m_defaultLocalUdpPort);
}

void Worker::serveRebindRequest()
{
    emit showEthernetStatusMessage(tr("Reset Conecction"));
    m_rebindRequest = false;
    resetUdpSocket();
    if (!bindUdpSocket(m_localUdpPort))
        return;
    emit showEthernetStatusMessage(tr("Connected"));
    emit enableAllButtons(true);
    resetStatisticsFilters();
    reportUdpPortIfMoved();
}

// A port the socket did not get as asked (0 lets the system choose) is taken
// over and shown as bound.
void Worker::reportUdpPortIfMoved()
{
    const quint16 bound = udpSocketIP4->localPort();
    if (m_localUdpPort == bound)
        return;
    emit m_uiLineEditLocalUdpPortSetText(QString::number(bound));
    m_localUdpPort = bound;
}

void Worker::countSettingsReread()
{
    if (m_settingsRereadCount++ < SettingsRereadLimit)
        return;
    m_settingsRereadCount = 0;
    readIMUsettings = true;
}

// A failed read ends the round: it may have left its datagram on the socket,
// and reading on would then never end. Nor does a round read more than a
// bounded number of datagrams: under a flood the socket never empties, and the
// requests queued to the worker (a Disconnect) and its tick must get their
// turn. The socket's next readyRead starts a new round with whatever is still
// pending.
void Worker::processUdpSocketIP4PendingDatagrams()
{
    if (!m_udpBound)
        return;
    for (int read = 0; read < DatagramsPerRound && udpSocketIP4->hasPendingDatagrams(); ++read) {
        m_ethernetWatchdog = 0;
        QByteArray buffer(qMax<qint64>(udpSocketIP4->pendingDatagramSize(), 0), Qt::Uninitialized);
        const std::optional<QByteArray> datagram = UdpDatagrams::readResult(buffer, readUdpDatagram(buffer));
        if (!datagram)
            return;
        receiveUdpDatagram(*datagram);
    }
}

qint64 Worker::readUdpDatagram(QByteArray &buffer)
{
    return udpSocketIP4->readDatagram(buffer.data(), buffer.size());
}

void Worker::receiveUdpDatagram(const QByteArray &datagram)
{
    switch (UdpDatagrams::classify(datagram)) {
    case UdpDatagrams::Kind::SettingsAnswer:
        m_settingsRereadCount = 0;
        if ((m_interfaceMode & EthernetMode) && admitSettingsAnswer())
            handleSettingsAnswer(datagram);
        break;
    case UdpDatagrams::Kind::OutputData:
        if (m_interfaceMode & EthernetMode)
            handleOutputDatagram(datagram);
        break;
    case UdpDatagrams::Kind::Other:
        break;
    }
}

// A unit answers at its own pace, a few a second. Anything on the network can
// send to the port, and what comes faster is counted and left out whole, so
// that neither the event log nor the window is flooded; a run of answers left
// out is named in the event log when it starts and when it ends.
bool Worker::admitSettingsAnswer()
{
    const PaceLimit::Verdict verdict = m_settingsAnswerPace.take(PaceLimit::Clock::now());
    if (verdict.runStarted)
        emit signalErrorLoggerWrite(
            "msg Error : Worker : processUdpCmdDatagrams : answers faster than an IMU answers left out");
    if (verdict.runEnded > 0)
        emit signalErrorLoggerWrite("msg Info : Worker : processUdpCmdDatagrams : answers handled again after "
                                    + QByteArray::number(verdict.runEnded) + " left out");
    return verdict.admitted;
}

void Worker::handleSettingsAnswer(const QByteArray &answer)
{
    const QString text = processUdpCmdDatagrams(answer, true);
    if (!m_consoleHalted)
        emit m_consoleDisplayData(answer.first(UdpDatagrams::AnswerToken.size()) + text.toUtf8() + "\r\n",
                                  SerialFraming::AnswerLine, m_autoDetectRunning);
    m_headerCapturePending = true;
    if (!m_scanning)
        return;
    m_rebindRequest = true;
    m_scanning = false;
    emit enableAllButtons(true);
}

void Worker::handleOutputDatagram(const QByteArray &datagram)
{
    const QByteArray line = (processUdpDatagrams(datagram, true) + QStringLiteral("\r\n")).toUtf8();
    if (!m_consoleHalted)
        emit m_consoleDisplayData(line, SerialFraming::DataLine, m_autoDetectRunning);
    writeDataLog(line);
}
