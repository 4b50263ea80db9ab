#ifndef MAINWINDOWPROBE_H
#define MAINWINDOWPROBE_H

#include "MainWindow.h"

#include <QBasicTimer>

// Test-side access to the main window's private state: the link mode that the
// connection actions set, the objects it owns and the logging indicator.
class MainWindowProbe
{
public:
    static void setConnectionMode(MainWindow &w, uint32_t mode) { w.m_connectionMode = mode; }
    static DialogChart *chart(MainWindow &w) { return w.m_dialogChart; }
    static SettingsDialog *settingsDialog(MainWindow &w) { return w.m_settingsDialog; }
    static QThread *workerThread(MainWindow &w) { return w.m_workerThread; }
    static Worker *worker(MainWindow &w) { return w.m_worker; }
    static const QList<QPixmap> &ledFrames(const MainWindow &w) { return w.m_ledFrames; }
    static int timerId(const MainWindow &w) { return w.m_timer->timerId(); }

    // Actions
    static uint32_t connectionMode(const MainWindow &w) { return w.m_connectionMode; }
    static Console *console(MainWindow &w) { return w.m_console; }
    static DialogAutoDetect *autoDetectDialog(MainWindow &w) { return w.m_dialogAutoDetect; }
    static QWindow &compass(MainWindow &w) { return w.m_compass; }
    static QWindow &attitudeMeter(MainWindow &w) { return w.m_attitudeMeter; }
    // The nine change markers a link reset clears.
    static QList<bool *> linkMarkers(MainWindow &w)
    {
        return {&w.m_rs232BaudChanged, &w.m_rs422BaudChanged, &w.m_gps232BaudChanged,
                &w.m_gpsPortChanged,   &w.m_frequencyChanged, &w.m_imuAddressChanged,
                &w.m_rescanNeeded,     &w.m_imuPortChanged,   &w.m_localPortChanged};
    }
};

#endif // MAINWINDOWPROBE_H
