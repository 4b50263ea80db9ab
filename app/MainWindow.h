#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "ActionRules.h"
#include "AttitudeMeter.h"
#include "DeviceTypes.h"
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
class QWindow;
class SettingsDialog;
class Worker;

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
    // Link in use, tested as bits.
    enum ConnectionMode : uint32_t {
        NoLink = 0,
        EthernetLink = 0x1,
        SerialLink = 0x2,
    };

    // States of the auto-detection progress bar.
    enum ProgressState {
        ProgressHidden = -1,
        ProgressStarted = 0,
        ProgressFinished = 1,
        ProgressStep = 2,
    };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Status text, LED and connect-action tool tip of one link.
    void showStatusMessage(const QString &message);
    void showEthernetStatusMessage(const QString &message);

    // One tick of the logging indicator.
    void rotateLabel();

    // Enables or disables the five settings buttons.
    void enableAllButtons(bool enable);

signals:
    void signalStopWorker();
    void signalReadUserSettings();

    // Actions
    void signalOpenSerialPort(const UserSettingsType &settings);
    void signalCloseSerialPort();
    void signalRefreshSerialPort();
    void signalConfigureSerialPortDone(bool changed);
    void signalConsoleHalt(bool halt);
    void signalStartDataLogging(bool start, const QString &fileName);

public slots:
    void about();
    void dataCapturingStatus(bool on);
    void errorLoggerWrite(const QByteArray &message);
    void setProgressBar(int state, int value);
    void cubeVeiwStatusChanged();
    void fillStatisticalData();

    // Actions
    void serialPortConnectAction();
    void refreshSerialPort();
    void configureSerialPort();
    void haltSerialPortAction();
    void openSerialPort();
    void closeSerialPort();
    void autoDetectSerialPortDone(const QList<QString> &detectedPortName, const QList<int> &detectedBaudRate,
                                  int timeElapsed);
    void clearAllSetFalgs();
    void showMessageBox(const QString &title, const QString &text);
    void m_consoleDisplayData(const QByteArray &data, int type, bool autoDetecting);
    void m_consoleInsertPlainText(const QByteArray &text);
    void displayWorkerMessage(const QString &message, uint timeout, bool error);
    void enableAllButtonsSlot(bool enable);
    void enableAllActionsSlot(bool enable, int bits);
    void actionsSetCheckedSlot(bool checked, int bits);
    // The worker could not open or write the data log: the reason for the warning that follows.
    void dataLogFailed(const QString &fileName, const QString &reason);

    // Device identity
    void enableSpecialHardwareFeature(const FactorySettingsT &fsettings);
    void ImuFactoryInformation();

protected:
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_actionClear_triggered();

    // Actions
    void on_actionChartViewer_triggered();
    void on_actionHeading_triggered();
    void on_actionAttitudeMeter_triggered();
    void on_actionSelectFile_triggered();
    void on_actionDataLogging_triggered(bool checked);

private:
    friend class MainWindowProbe;

    // The LED and status label of the link whose bit is set, serial first;
    // both null while no link is up.
    struct LinkWidgets
    {
        QLabel *led = nullptr;
        QLabel *status = nullptr;
    };

    void setupStatusGroupBox();
    void initActionsConnections();
    void setupLedFrames();
    void primeBaudRateBoxes();
    void primeProtocolWidgets();
    void primeAddressEdits();
    void applyFonts();
    void fitToFont();
    void removeTabsTitled(const QString &title);
    void setupChart();
    void startWorker();
    void connectWorker();
    void stopWorkerThread();
    void startEventLog();
    LinkWidgets activeLinkWidgets() const;
    QString logFileSuffix() const;

    // Actions
    void resetLink();
    QAction *linkAction(ActionRules::LinkAction action) const;
    void showInstrument(QWindow &window);
    bool confirmOverwrite(const QString &fileName);
    void setDataLoggingAction(bool logging);
    void checkLoggingReply(bool on);
    void clearDataDisplay();

    // Status strip
    QGridLayout *gridLayoutStatusGrpBox = nullptr;
    QLabel *labelSerialPort = nullptr;
    QLabel *label_SerialLed = nullptr;
    QLabel *labelSerialPortStatus = nullptr;
    QProgressBar *progressBar = nullptr;
    QLabel *labelEthernet = nullptr;
    QLabel *label_EthernetLed = nullptr;
    QLabel *labelEthernetStatus = nullptr;

    eCompass m_compass;
    AttitudeMeter m_attitudeMeter;

    QThread *m_workerThread = nullptr;
    Worker *m_worker = nullptr;

    uint32_t m_connectionMode = NoLink;
    QFile logger_file;
    bool m_capturing = false;
    QString m_buildText;

    Ui::MainWindow *ui = nullptr;
    Console *m_console = nullptr;
    MessageBox *m_messageBox = nullptr;
    QBasicTimer *m_timer = nullptr;
    int32_t m_timerPeriod = 100;
    int32_t m_ledStepTicks = 5;
    SettingsDialog *m_settingsDialog = nullptr;
    UserSettingsType *m_settings = nullptr;
    DialogChart *m_dialogChart = nullptr;
    FactorySettingsT factorysettings;
    DialogAutoDetect *m_dialogAutoDetect = nullptr;

    QList<QPixmap> m_ledFrames;
    uint16_t m_localUdpPort = 8080;
    uint16_t m_imuUdpPort = 8088;

    // Logging indicator: ticks since the last step, and steps so far (shared by both links).
    int32_t m_ledTickCount = 0;
    int32_t m_ledFrameIndex = 0;

    // Change markers of the settings panel cleared by a link reset.
    bool m_rs232BaudChanged = false;
    bool m_rs422BaudChanged = false;
    bool m_gps232BaudChanged = false;
    bool m_gpsPortChanged = false;
    bool m_frequencyChanged = false;
    bool m_imuAddressChanged = false;
    bool m_rescanNeeded = false;
    bool m_imuPortChanged = false;
    bool m_localPortChanged = false;

    // Why the worker's data log failed last, for the warning shown when logging ends unasked;
    // and the logging requests the worker has not answered yet.
    QString m_dataLogFailure;
    int m_loggingRepliesPending = 0;
};

#endif // MAINWINDOW_H
