#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "AttitudeMeter.h"
#include "DeviceTypes.h"
#include "Worker.h"
#include "eCompass.h"

#include <QByteArray>
#include <QChart>
#include <QFile>
#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QString>

#include <cstdint>

class Console;
class DialogAutoDetect;
class DialogChart;
class MessageBox;
class QBasicTimer;
class QGridLayout;
class QLabel;
class QProgressBar;
class QThread;
class SettingsDialog;

namespace Ui {
class MainWindow;
}

// The program's one top-level window. It owns the form, the dialogs, the chart
// and instrument windows and the device worker with its thread, shows the state
// of both links in the status strip and keeps the event log of the current run.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // --- Construction, shut-down, event overrides, about box (MainWindow.cpp)
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // --- Status strip, LEDs, logging indicator, progress bar, event log (MainWindowStatus.cpp)
    // Status text, LED and connect-action tool tip of one link.
    void showStatusMessage(const QString &message);
    void showEthernetStatusMessage(const QString &message);

    // One tick of the logging indicator.
    void rotateLabel();

    // Enables or disables the five settings buttons.
    void enableAllButtons(bool enable);

signals:
    // --- Wiring: requests to the worker (MainWindowWiring.cpp)
    void signalStopWorker();
    void signalReadUserSettings();
    void signalConsoleHalt(bool halt);

public slots:
    // --- Construction
    void about();

    // --- Status
    void dataCapturingStatus(bool on);
    void errorLoggerWrite(const QByteArray &message);
    void setProgressBar(int state, int value);

protected:
    // --- Construction: event overrides
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    // --- Construction
    void on_actionClear_triggered();

    // --- Settings panel: edit handlers of the interface, output-settings and compass
    // tabs, change markers, the Apply slots, the read action (MainWindowSettingsPanel.cpp)

    // --- Device values: worker-to-widget setters, IMU flags, clearing the change
    // markers (MainWindowDeviceValues.cpp)

    // --- Protocol tab: protocol reports, header, combo and check-box slots, protocol
    // Apply (MainWindowProtocolTab.cpp)

    // --- Actions: serial connect, disconnect, configure, halt, auto-detect result,
    // worker messages, action states, view windows, log file, data logging
    // (MainWindowActions.cpp)

    // --- Display: decoded display and clearing, device identity and model features
    // (MainWindowDisplay.cpp)

    // --- Ethernet: the settings datagram's widgets, Ethernet connect, interface
    // choice (MainWindowEthernet.cpp)

private:
    friend class MainWindowProbe;

    // The LED and status label of the link whose bit is set, serial first;
    // both null while no link is up.
    struct LinkWidgets
    {
        QLabel *led = nullptr;
        QLabel *status = nullptr;
    };

    // --- Construction
    void setupLedFrames();
    void primeBaudRateBoxes();
    void primeProtocolWidgets();
    void primeAddressEdits();
    void applyFonts();
    void fitToFont();
    void removeTabsTitled(const QString &title);
    void setupChart();
    void startWorker();
    void stopWorkerThread();

    // --- Wiring
    void connectWorker();
    void initActionsConnections();

    // --- Status
    void setupStatusGroupBox();
    void startEventLog();
    LinkWidgets activeLinkWidgets() const;
    QString logFileSuffix() const;

    // --- Members: form, dialogs, windows and worker
    Ui::MainWindow *ui = nullptr;
    Console *m_console = nullptr;
    MessageBox *m_messageBox = nullptr;
    SettingsDialog *m_settingsDialog = nullptr;
    UserSettingsType *m_settings = nullptr;
    DialogChart *m_dialogChart = nullptr;
    DialogAutoDetect *m_dialogAutoDetect = nullptr;
    eCompass m_compass;
    AttitudeMeter m_attitudeMeter;
    QThread *m_workerThread = nullptr;
    Worker *m_worker = nullptr;
    QString m_buildText;

    // --- Members: status strip
    QGridLayout *gridLayoutStatusGrpBox = nullptr;
    QLabel *labelSerialPort = nullptr;
    QLabel *label_SerialLed = nullptr;
    QLabel *labelSerialPortStatus = nullptr;
    QProgressBar *progressBar = nullptr;
    QLabel *labelEthernet = nullptr;
    QLabel *label_EthernetLed = nullptr;
    QLabel *labelEthernetStatus = nullptr;

    // --- Members: logging indicator and event log
    QBasicTimer *m_timer = nullptr;
    int32_t m_timerPeriod = 100;
    int32_t m_ledStepTicks = 5;
    QList<QPixmap> m_ledFrames;
    // Ticks since the last step, and steps so far (shared by both links).
    int32_t m_ledTickCount = 0;
    int32_t m_ledFrameIndex = 0;
    QFile logger_file;
    bool m_capturing = false;

    // --- Members: link and device
    uint32_t m_connectionMode = Worker::NoLink; // Worker::InterfaceMode bits
    FactorySettingsT factorysettings;
    uint16_t m_localUdpPort = Worker::DefaultLocalUdpPort;
    uint16_t m_imuUdpPort = Worker::DefaultDeviceUdpPort;
};

#endif // MAINWINDOW_H
