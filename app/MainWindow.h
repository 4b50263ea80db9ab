#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "AttitudeMeter.h"
#include "DeviceTypes.h"
#include "EthernetSettingsDatagram.h"
#include "SettingsMarkers.h"
#include "eCompass.h"

#include <QByteArray>
#include <QChart>
#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QMainWindow>
#include <QNetworkAddressEntry>
#include <QPixmap>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class Console;
class DialogAutoDetect;
class DialogChart;
class MessageBox;
class QBasicTimer;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QLineEdit;
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

    // Settings panel
    void ApplyEthernetSettings(unsigned int tab);
    uint32_t GetIMUFlagsValue() const;

signals:
    void signalStopWorker();
    void signalConsoleHalt(bool halt);

    // Settings panel
    void signalReadUserSettings();
    void signalSendIMUsettingsFlag(int mask, int tab, const QString &values);
    void signalResetUdpSocket(unsigned short port);
    void signalScanVeltoIMU(bool scan);

    // Protocol tab: the four format bytes travel as a copy.
    void signalSetProtocolFormat(std::array<uint8_t, 4> format, const QString &header, uint8_t slot);

    // Ethernet
    void signalSendUdpCmdDatagram(const QString &address, const QByteArray &datagram, unsigned int type);
    void signalEthernetConnectTriggered(bool connect, const QHostAddress &address, const QHostAddress &broadcast);

public slots:
    void about();
    void dataCapturingStatus(bool on);
    void errorLoggerWrite(const QByteArray &message);
    void setProgressBar(int state, int value);

    // Device values: the worker's reports written back into the settings widgets.
    void m_uiLineEditLocalUdpPortSetText(const QString &text);
    void m_uiLineEditIMUUdpPortSetText(const QString &text);
    void m_uiLineEditIMUIP4SetText(const QList<QByteArray> &parts);
    void m_uiLineEditDstIP4SetText(const QList<QByteArray> &parts);
    void m_uiIMUfreqBoxSetIndex(const QString &text);
    void m_uiBaudRateBoxSetIndex(int which, const QByteArray &rate);
    void radioButtonGPS(int input);
    void m_uiDoubleSpinBoxOffsetSetValue(int which, double value);
    void doubleSpinBoxNorthOffsetSetValue(double value);
    void doubleSpinBoxGaussSetValue(int which, double value);
    void ProcessIMUFlags(unsigned int flags);
    void showStatusMessageSlot(const QString &text);
    void showEthernetStatusMessageSlot(const QString &text);

    // Protocol tab
    void ProcessProtocolParameters(const OutputProtocolType &record, uint8_t slot);
    void protocolHeaderSetText(const QString &type, const QString &header);
    void EnableAllPrtParameters(bool enable);

protected:
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_actionClear_triggered();

    // Settings panel: edits only set change markers; Apply sends them.
    void on_RS232BaudRateBox_currentIndexChanged(int index);
    void on_RS422BaudRateBox_currentIndexChanged(int index);
    void on_GPSRS232BaudRateBox_currentIndexChanged(int index);
    void on_lineEditIMUIP4_0_textEdited(const QString &text);
    void on_lineEditIMUIP4_1_textEdited(const QString &text);
    void on_lineEditIMUIP4_2_textEdited(const QString &text);
    void on_lineEditIMUIP4_3_textEdited(const QString &text);
    void on_lineEditDstIP4_0_textEdited(const QString &text);
    void on_lineEditDstIP4_1_textEdited(const QString &text);
    void on_lineEditDstIP4_2_textEdited(const QString &text);
    void on_lineEditDstIP4_3_textEdited(const QString &text);
    void on_lineEditIMUUdpPort_textEdited(const QString &text);
    void on_lineEditLocalUdpPort_textEdited(const QString &text);
    void on_lineEditIMUUdpPort_editingFinished();
    void on_lineEditLocalUdpPort_editingFinished();
    void on_radioButtonDynamicIP_clicked();
    void on_IMUfreqBox_currentIndexChanged(int index);
    void on_IMUfreqBox_editTextChanged(const QString &text);
    void on_checkBoxInvRoll_stateChanged(int state);
    void on_checkBoxInvPitch_stateChanged(int state);
    void on_checkBoxInvYaw_stateChanged(int state);
    void on_checkBoxInvHv_stateChanged(int state);
    void on_checkBoxPositiveYaw_stateChanged(int state);
    void on_doubleSpinBoxRof_editingFinished();
    void on_doubleSpinBoxRof_textChanged(const QString &text);
    void on_doubleSpinBoxPof_editingFinished();
    void on_doubleSpinBoxPof_textChanged(const QString &text);
    void on_doubleSpinBoxYof_editingFinished();
    void on_doubleSpinBoxYof_textChanged(const QString &text);
    void on_doubleSpinBoxNorthOffset_editingFinished();
    void on_doubleSpinBoxXgauss_editingFinished();
    void on_doubleSpinBoxYgauss_editingFinished();
    void on_doubleSpinBoxZgauss_editingFinished();
    void on_pushButtonApplyChangesIMU_clicked();
    void on_pushButtonApplyChangesIMUOutputSettings_clicked();
    void on_pushButtonApplyChangesCompass_clicked();
    void on_actionReadSettings_triggered();

    // Protocol tab
    void on_pushButtonApplyProtocol_clicked();
    void on_pushButtonSelectAllPrtParameters_clicked();
    void on_pushButtonClearAllPrtParameters_clicked();
    void on_ComboBoxHeader_activated(int index);
    void on_ComboBoxHeader_editTextChanged(const QString &text);

    // Ethernet
    void on_actionEthernetConnect_triggered();

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

    // Settings panel
    QList<QLineEdit *> deviceOctetEdits() const;
    QList<QLineEdit *> destinationOctetEdits() const;
    static QStringList editTexts(const QList<QLineEdit *> &edits);
    void cleanEditInput(QLineEdit *edit, const QString &text);
    void addressOctetEdited(QLineEdit *edit, const QString &text, bool &marker);
    bool portEditAccepted(QLineEdit *edit);
    bool addressSendable(bool changed, const QList<QLineEdit *> &edits, const QString &name);
    SettingsMarkerMasks::AddressChecks checkChangedAddresses();
    void emitInterfaceValues(uint32_t mask);

    // Device values
    QList<QComboBox *> baudRateBoxes() const;
    static void selectBaudRate(QComboBox *box, const QString &rate);
    QList<QDoubleSpinBox *> offsetSpinBoxes() const;

    // Protocol tab
    struct FieldBox
    {
        QCheckBox *box;
        int byte;
        uint8_t bit;
    };
    QList<FieldBox> fieldBoxes() const;
    void setAllFieldBoxesChecked(bool checked);
    void showProtocolView(const OutputProtocolType &record);
    QString protocolHeader() const;

    // Ethernet
    EthernetSettingsFields readEthernetSettingsFields();
    uint8_t baudCodeToSend(int which);
    void disconnectEthernet();
    std::optional<QNetworkAddressEntry> chooseNetworkEntry();

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

    // Settings panel
    SettingsMarkers m_markers;

    // Protocol tab: the device's three output slots, and the format the tab stands for.
    std::array<OutputProtocolType, 3> m_outputProtocol;
    std::array<uint8_t, 4> m_protocolFormat{};

    // Ethernet
    uint32_t m_datagramCounter = 0;

    // Logging indicator: ticks since the last step, and steps so far (shared by both links).
    int32_t m_ledTickCount = 0;
    int32_t m_ledFrameIndex = 0;
};

#endif // MAINWINDOW_H
