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
};

#endif // WORKERPROBE_H
