#ifndef MAINWINDOWPROBE_H
#define MAINWINDOWPROBE_H

#include "MainWindow.h"

#include <QBasicTimer>
#include <QCheckBox>
#include <QLabel>

// Test-side access to the main window's private state: the link mode that the
// connection actions set, the objects it owns, the logging indicator, the
// settings panel's change markers and protocol format, and the window's own
// lists of widgets.
class MainWindowProbe
{
public:
    // A named widget or action of the window; a missing one ends the test at once.
    template <typename T = QWidget>
    static T *child(const MainWindow &w, const char *name)
    {
        T *found = w.findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no child %s", name);
        return found;
    }

    static void setConnectionMode(MainWindow &w, uint32_t mode) { w.setConnectionMode(mode); }
    static uint32_t connectionMode(const MainWindow &w) { return w.m_connectionMode; }
    static UserSettingsType &settings(MainWindow &w) { return *w.m_settings; }

    // The settings dialog lists only the host's serial ports: a test puts the
    // path of its pseudo-terminal into the live record, as a choice in the
    // dialog would.
    static void choosePort(MainWindow &w, const QString &path, int baudRate = 115200)
    {
        w.m_settings->portName = path;
        w.m_settings->baudRate = baudRate;
        w.m_settings->stringBaudRate = QString::number(baudRate);
    }
    static void chooseLogFile(MainWindow &w, const QString &path) { w.m_settings->fileName = path; }
    static DialogChart *chart(MainWindow &w) { return w.m_dialogChart; }
    static SettingsDialog *settingsDialog(MainWindow &w) { return w.m_settingsDialog; }
    static QThread *workerThread(MainWindow &w) { return w.m_workerThread; }
    static Worker *worker(MainWindow &w) { return w.m_worker; }
    static Console *console(MainWindow &w) { return w.m_console; }
    static const QList<QPixmap> &ledFrames(const MainWindow &w) { return w.m_ledFrames; }
    static int timerId(const MainWindow &w) { return w.m_timer->timerId(); }
    static eCompass &compass(MainWindow &w) { return w.m_compass; }
    static AttitudeMeter &attitudeMeter(MainWindow &w) { return w.m_attitudeMeter; }

    // Settings panel
    static SettingsMarkers &markers(MainWindow &w) { return w.m_markers; }
    static std::array<uint8_t, 4> protocolFormat(const MainWindow &w) { return w.m_protocolFormat; }
    static const OutputProtocolType &outputProtocol(const MainWindow &w, int slot) { return w.m_outputProtocol[slot]; }

    // The protocol tab's field boxes, roll first, as the window lists them.
    static QList<QCheckBox *> fieldBoxes(const MainWindow &w)
    {
        QList<QCheckBox *> boxes;
        for (const MainWindow::FieldBox &field : w.fieldBoxes())
            boxes << field.box;
        return boxes;
    }

    // Display: the nine read-out labels in the order of their texts.
    static std::array<QLabel *, ReadoutTexts::LabelCount> readoutLabels(const MainWindow &w)
    {
        return w.readoutLabels();
    }
};

#endif // MAINWINDOWPROBE_H
