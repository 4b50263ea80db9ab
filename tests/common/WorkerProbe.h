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
    static uint waitTicks(const Worker &w) { return w.m_waitTicks; }

    static bool displayDue(const Worker &w) { return w.m_displayDue; }
    static void setDisplayDue(Worker &w, bool due) { w.m_displayDue = due; }

    static void fakeSerialLink(Worker &w, bool up)
    {
        w.m_serialConnected = up;
        w.m_interfaceMode = up ? Worker::SerialMode : Worker::NoLink;
    }
    static void setAutoDetectRunning(Worker &w, bool running) { w.m_autoDetectRunning = running; }
    static uint serialSilence(const Worker &w) { return w.m_serialSilence; }

    static bool readingSettings(const Worker &w) { return w.readIMUsettings; }
    static void setReadingSettings(Worker &w, bool on) { w.readIMUsettings = on; }
    static int settingsIterator(const Worker &w) { return w.settingsIterator; }
    static void setSettingsIterator(Worker &w, int row) { w.settingsIterator = row; }
    static uint32_t msgNr(const Worker &w) { return w.msgNr; }
    static void setMsgNr(Worker &w, uint32_t nr) { w.msgNr = nr; }
    static bool consoleHalted(const Worker &w) { return w.m_consoleHalted; }
    static QFile &logFile(Worker &w) { return w.m_logFile; }

    static int statisticsTime(const Worker &w) { return w.m_statisticsTime; }
    static uint32_t statisticsCount(const Worker &w) { return w.m_statisticsCount; }
    static const StatisticsFilter &filter(const Worker &w, int index) { return w.m_statistics[index]; }
    static QList<StatisticsFilter *> filterList(const Worker &w) { return w.m_statisticsList; }
    static const StatisticsFilter *filterAddress(const Worker &w, int index) { return &w.m_statistics[index]; }

    static OutputProtocolType &protocol(Worker &w, int slot) { return w.m_protocol[slot]; }
    static uint8_t protocolId(const Worker &w) { return w.protocolId; }

    // Serial link and receive path
    static QSerialPort *serialPort(Worker &w) { return w.m_serial; }
    static bool serialConnected(const Worker &w) { return w.m_serialConnected; }
    static uint32_t interfaceMode(const Worker &w) { return w.m_interfaceMode; }
    static void receive(Worker &w, const QByteArray &chunk) { w.receiveSerialChunk(chunk); }
    static QByteArray rxBuffer(const Worker &w) { return w.m_rxBuffer; }
    static void setSerialSilence(Worker &w, uint32_t ticks) { w.m_serialSilence = ticks; }
    static bool headerCapturePending(const Worker &w) { return w.m_headerCapturePending; }
    static void setHeaderCapturePending(Worker &w, bool on) { w.m_headerCapturePending = on; }
    static void setProtocolValue(Worker &w, uint32_t value)
    {
        w.m_protocol[0].format = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
        w.calculateProtocolValue(0);
    }

    // Auto-detection state seen by the receive path
    static bool autoDetectPortDone(const Worker &w) { return w.m_autoDetectPortDone; }
    static QList<QString> detectedPortName(const Worker &w) { return w.detectedPortName; }
    static QList<int> detectedBaudRate(const Worker &w) { return w.detectedBaudRate; }
    static bool autoDetectRunning(const Worker &w) { return w.m_autoDetectRunning; }
    // Moves the start of the running detection back, as if ms had gone by.
    static void advanceAutoDetectClock(Worker &w, qint64 ms) { w.m_autoDetectStart -= std::chrono::milliseconds(ms); }

    // Decoders and data log
    static const OutputDataType &outputData(const Worker &w) { return w.m_outputData; }
    static bool logging(const Worker &w) { return w.m_logging; }

    // Command protocol and answers
    static uint32_t settingsMask(const Worker &w) { return w.IMUsettingsFlag; }
    static void setSettingsMask(Worker &w, uint32_t mask) { w.IMUsettingsFlag = mask; }
    static const CommandTable::PendingSettings &pending(const Worker &w) { return w.m_pending; }
    static FactorySettingsT &identity(Worker &w) { return w.factorysettings; }
    static uint16_t deviceUdpPort(const Worker &w) { return w.m_deviceUdpPort; }
    static uint16_t localUdpPort(const Worker &w) { return w.m_localUdpPort; }
    static QHostAddress deviceAddress(const Worker &w) { return w.m_deviceAddress; }
    static void resetNullAddressCount() { Worker::s_nullAddressCount = 0; }
};

#endif // WORKERPROBE_H
