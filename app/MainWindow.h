#ifndef MAINWINDOW_H
#define MAINWINDOW_H

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

    // Decoded display
public slots:
    // Shows one decoded sample in the read-outs and the instruments, then feeds
    // the four charts (heave, acceleration, angles, angular rates).
    void dispalyOutputData(OutputDataType data, OutputProtocolType protocol);
    // Chooses the two field-selection bytes for the link and output slot 0.
    void OutputDataDisplay(OutputDataType data, OutputProtocolType protocol);

public:
    // The read-outs under the two selection bytes dataFlg points to, and the instruments.
    void updateDataDisplay(OutputDataType data, uchar *dataFlg);
    // Every read-out back to its text for no value.
    void clearDataDisplay();

signals:
    void signalStopWorker();
    void signalReadUserSettings();
    void signalConsoleHalt(bool halt);

public slots:
    void about();
    void dataCapturingStatus(bool on);
    void errorLoggerWrite(const QByteArray &message);
    void setProgressBar(int state, int value);

protected:
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_actionClear_triggered();

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
};

#endif // MAINWINDOW_H
