#ifndef MAINWINDOWPROBE_H
#define MAINWINDOWPROBE_H

#include "MainWindow.h"

#include <QBasicTimer>

// Test-side access to the main window's private state: the link mode that the
// connection actions set, the objects it owns, the logging indicator and the
// settings panel's change markers and protocol format.
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
    static eCompass &compass(MainWindow &w) { return w.m_compass; }
    static AttitudeMeter &attitudeMeter(MainWindow &w) { return w.m_attitudeMeter; }

    // Settings panel
    static SettingsMarkers &markers(MainWindow &w) { return w.m_markers; }
    static std::array<uint8_t, 4> protocolFormat(const MainWindow &w) { return w.m_protocolFormat; }
    static const OutputProtocolType &outputProtocol(const MainWindow &w, int slot) { return w.m_outputProtocol[slot]; }

    // Actions
    static uint32_t connectionMode(const MainWindow &w) { return w.m_connectionMode; }
    static Console *console(MainWindow &w) { return w.m_console; }
};

#endif // MAINWINDOWPROBE_H
