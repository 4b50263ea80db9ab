#ifndef WORKERPROBE_H
#define WORKERPROBE_H

#include "Worker.h"

// Test-side access to the worker's private state, so tests can drive the
// tick by hand and look at what it changed.
class WorkerProbe
{
public:
    static void stopTimer(Worker &w) { w.m_tickTimer.stop(); }
    static bool timerActive(const Worker &w) { return w.m_tickTimer.isActive(); }

    static void setWaitTicks(Worker &w, uint ticks) { w.m_waitTicks = ticks; }

    static bool displayDue(const Worker &w) { return w.m_displayDue; }
    static void setDisplayDue(Worker &w, bool due) { w.m_displayDue = due; }

    static void fakeSerialLink(Worker &w, bool up)
    {
        w.m_serialConnected = up;
        w.m_interfaceMode = up ? Worker::SerialMode : Worker::NoLink;
    }

    static bool readingSettings(const Worker &w) { return w.readIMUsettings; }
    static void setReadingSettings(Worker &w, bool on) { w.readIMUsettings = on; }
    static int settingsIterator(const Worker &w) { return w.settingsIterator; }
    static bool consoleHalted(const Worker &w) { return w.m_consoleHalted; }
    static QFile &logFile(Worker &w) { return w.m_logFile; }
    static bool logging(const Worker &w) { return w.m_logging; }
    static void writeDataLog(Worker &w, const QByteArray &bytes) { w.writeDataLog(bytes); }
    static int statisticsTime(const Worker &w) { return w.m_statisticsTime; }

    static OutputProtocolType &protocol(Worker &w, int slot) { return w.m_protocol[slot]; }
    static int protocolId(const Worker &w) { return w.protocolId; }
    static void setProtocolValue(Worker &w, uint32_t value)
    {
        w.m_protocol[0].format = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
        w.calculateProtocolValue(0);
    }
    static const OutputDataType &outputData(const Worker &w) { return w.m_outputData; }
    static FactorySettingsT &identity(Worker &w) { return w.factorysettings; }

    // Serial link and receive path
    static QSerialPort *serialPort(Worker &w) { return w.m_serial; }
    static void receive(Worker &w, const QByteArray &chunk) { w.receiveSerialChunk(chunk); }
    static QByteArray rxBuffer(const Worker &w) { return w.m_rxBuffer; }

    // Auto-detection
    static bool autoDetectRunning(const Worker &w) { return w.m_autoDetectRunning; }
    static bool autoDetectTimedOut() { return Worker::s_autoDetectTimedOut; }
    // Moves the start of the running detection back, as if ms had gone by.
    static void advanceAutoDetectClock(Worker &w, qint64 ms) { w.m_autoDetectStart -= std::chrono::milliseconds(ms); }

    // UDP link: the ports the link falls back to, so tests on 127.0.0.1 use ports of their own.
    static void setDefaultUdpPorts(Worker &w, quint16 local, quint16 device)
    {
        w.m_defaultLocalUdpPort = local;
        w.m_defaultDeviceUdpPort = device;
        w.m_localUdpPort = local;
        w.m_deviceUdpPort = device;
    }
    static QUdpSocket *udpSocket(Worker &w) { return w.udpSocketIP4; }
    static void fakeUdpLink(Worker &w, bool up)
    {
        w.m_udpBound = up;
        w.m_interfaceMode = up ? Worker::EthernetMode : Worker::NoLink;
    }
    static uint32_t interfaceMode(const Worker &w) { return w.m_interfaceMode; }
    static uint waitTicks(const Worker &w) { return w.m_waitTicks; }
    static QHostAddress deviceAddress(const Worker &w) { return w.m_deviceAddress; }
    static void setDeviceAddress(Worker &w, const QHostAddress &address) { w.m_deviceAddress = address; }
    static void setDiscoveryTarget(Worker &w, const QHostAddress &address) { w.m_discoveryTarget = address; }
    static quint16 localUdpPort(const Worker &w) { return w.m_localUdpPort; }
    static quint16 deviceUdpPort(const Worker &w) { return w.m_deviceUdpPort; }
    static uint32_t msgNr(const Worker &w) { return w.msgNr; }
    static void setMsgNr(Worker &w, uint32_t number) { w.msgNr = number; }
    static bool scanning(const Worker &w) { return w.m_scanning; }
    static bool udpBound(const Worker &w) { return w.m_udpBound; }
    static bool rebindRequest(const Worker &w) { return w.m_rebindRequest; }
    static bool setDatagramPending(const Worker &w) { return w.m_setDatagramPending; }
    static uint32_t ethernetWatchdog(const Worker &w) { return w.m_ethernetWatchdog; }
    static void setSettingsRereadCount(Worker &w, uint32_t count) { w.m_settingsRereadCount = count; }
    static bool headerCapturePending(const Worker &w) { return w.m_headerCapturePending; }
    static QString pendingDeviceAddress(const Worker &w) { return w.m_pending.sip; }
};

#endif // WORKERPROBE_H
