#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "ActionRules.h"
#include "AttitudeMeter.h"
#include "DeviceTypes.h"
#include "EthernetSettingsDatagram.h"
#include "ReadoutTexts.h"
#include "SendableSettings.h"
#include "SettingsMarkers.h"
#include "SettingsValues.h"
#include "Worker.h"
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
class ElidingLabel;
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
class QWindow;
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

    // --- Settings panel (MainWindowSettingsPanel.cpp)
    void ApplyEthernetSettings(unsigned int tab);
    uint32_t GetIMUFlagsValue() const;

    // --- Display: decoded display and clearing (MainWindowDisplay.cpp)
    // The read-outs under the two selection bytes dataFlg points to, and the instruments.
    void updateDataDisplay(OutputDataType data, uchar *dataFlg);
    // Every read-out back to its text for no value.
    void clearDataDisplay();

signals:
    // --- Wiring: requests to the worker (MainWindowWiring.cpp)
    void signalStopWorker();
    void signalConsoleHalt(bool halt);

    // --- Actions
    void signalOpenSerialPort(const UserSettingsType &settings);
    void signalCloseSerialPort();
    void signalRefreshSerialPort();
    void signalConfigureSerialPortDone(bool changed);
    void signalStartDataLogging(bool start, const QString &fileName);

    // --- Settings panel
    void signalReadUserSettings();
    void signalSendIMUsettingsFlag(int mask, int tab, const QString &values);
    void signalResetUdpSocket(unsigned short port);
    void signalScanVeltoIMU(bool scan);

    // --- Protocol tab: the four format bytes travel as a copy.
    void signalSetProtocolFormat(std::array<uint8_t, 4> format, const QString &header, uint8_t slot);

    // --- Ethernet
    void signalSendUdpCmdDatagram(const QString &address, const QByteArray &datagram, unsigned int type);
    void signalEthernetConnectTriggered(bool connect, const QHostAddress &address, const QHostAddress &broadcast);

public slots:
    // --- Construction
    void about();

    // --- Status
    void dataCapturingStatus(bool on);
    void settingsConfirmed(bool confirmed);
    void errorLoggerWrite(const QByteArray &message);
    void setProgressBar(int state, int value);
    void cubeVeiwStatusChanged();
    void fillStatisticalData();

    // --- Actions: serial connect, disconnect, configure, halt, auto-detect result,
    // worker messages, action states (MainWindowActions.cpp)
    void serialPortConnectAction();
    void refreshSerialPort();
    void configureSerialPort();
    void haltSerialPortAction();
    void openSerialPort();
    void closeSerialPort();
    // The worker could not open the serial port, or closed it on an error.
    void serialPortLost();
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

    // --- Actions: view windows, log file, data logging (MainWindowToolActions.cpp)
    // The worker could not open or write the data log: the reason for the warning that follows.
    void dataLogFailed(const QString &fileName, const QString &reason);

    // --- Device identity: model features and the factory-info box (MainWindowIdentity.cpp)
    void enableSpecialHardwareFeature(const FactorySettingsT &fsettings);
    // An identity the worker reports, taken only while the link it was read on is in use.
    void identityOfLink(const FactorySettingsT &fsettings, uint32_t link);
    void ImuFactoryInformation();

    // --- Device values: the worker's reports written back into the settings widgets
    // (MainWindowDeviceValues.cpp)
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

    // --- Protocol tab (MainWindowProtocolTab.cpp)
    void ProcessProtocolParameters(const OutputProtocolType &record, uint8_t slot);
    void protocolHeaderSetText(const QString &type, const QString &header);
    void EnableAllPrtParameters(bool enable);

    // --- Display (MainWindowDisplay.cpp)
    // Shows one decoded sample in the read-outs and the instruments, then feeds
    // the four charts (heave, acceleration, angles, angular rates).
    void dispalyOutputData(OutputDataType data, OutputProtocolType protocol);
    // A sample the worker reports, shown only while the link it came in on is in use.
    void displayOutputDataOfLink(const OutputDataType &data, const OutputProtocolType &protocol, uint32_t link);
    // Chooses the two field-selection bytes for the link and output slot 0.
    void OutputDataDisplay(OutputDataType data, OutputProtocolType protocol);

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
    // tabs, change markers, the Apply slots, the read action (MainWindowSettingsPanel.cpp).
    // Edits only set change markers; Apply sends them.
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

    // --- Device values: worker-to-widget setters, IMU flags, clearing the change
    // markers (MainWindowDeviceValues.cpp)

    // --- Protocol tab: protocol reports, header, combo and check-box slots, protocol
    // Apply (MainWindowProtocolTab.cpp)
    void on_pushButtonApplyProtocol_clicked();
    void on_pushButtonSelectAllPrtParameters_clicked();
    void on_pushButtonClearAllPrtParameters_clicked();
    void on_ComboBoxHeader_activated(int index);
    void on_ComboBoxHeader_editTextChanged(const QString &text);

    // --- Actions: view windows, log file, data logging (MainWindowToolActions.cpp)
    void on_actionChartViewer_triggered();
    void on_actionHeading_triggered();
    void on_actionAttitudeMeter_triggered();
    void on_actionSelectFile_triggered();
    void on_actionDataLogging_triggered(bool checked);

    // --- Display: decoded display and clearing (MainWindowDisplay.cpp)

    // --- Ethernet: the settings datagram's widgets, Ethernet connect, interface
    // choice (MainWindowEthernet.cpp)
    void on_actionEthernetConnect_triggered();

private:
    friend class MainWindowProbe;

    // A link's status text as last given, and whether the logging indicator
    // has put the log file's name after it.
    struct LinkStatus
    {
        QString text;
        bool logFileShown = false;
    };

    // The LED and status of the link whose bit is set, serial first; both
    // null while no link is up.
    struct LinkWidgets
    {
        QLabel *led = nullptr;
        LinkStatus *status = nullptr;
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
    void showStatusTexts();
    void setConnectionMode(uint32_t mode);
    bool serialInUse() const;
    bool ethernetInUse() const;
    bool linkInUse(uint32_t link) const;
    LinkWidgets activeLinkWidgets();
    QString logFileSuffix() const;

    // --- Actions
    void leaveEthernetForSerial();
    void leaveSerialForEthernet();
    void leaveLink();
    void closeSerialLink();
    void leaveSerialLink();
    void followHaltAction();
    QAction *linkAction(ActionRules::LinkAction action) const;
    void showInstrument(QWindow &window);
    bool confirmOverwrite(const QString &fileName);
    void setDataLoggingAction(bool logging);
    void checkLoggingReply(bool on);

    // --- Settings panel
    QList<QLineEdit *> deviceOctetEdits() const;
    QList<QLineEdit *> destinationOctetEdits() const;
    static QStringList editTexts(const QList<QLineEdit *> &edits);
    void cleanEditInput(QLineEdit *edit, const QString &text);
    void addressOctetEdited(QLineEdit *edit, const QString &text, bool &marker);
    bool portEditAccepted(QLineEdit *edit);
    bool addressSendable(bool changed, const QList<QLineEdit *> &edits, const QString &name);
    SettingsMarkerMasks::SendableChecks checkChangedValues();
    void emitInterfaceValues(uint32_t mask);

    // --- Device values
    void forgetReportedDeviceAddress();
    static void rememberReportedOctets(const QList<QLineEdit *> &edits, QStringList &reported);
    static void rememberReportedPort(const QString &text, uint16_t &reported);
    QList<QComboBox *> baudRateBoxes() const;
    static void selectBaudRate(QComboBox *box, const QString &rate);
    QList<QDoubleSpinBox *> offsetSpinBoxes() const;

    // --- Protocol tab
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

    // --- Display: the nine read-out labels in the order their texts come, and showing the texts.
    using ReadoutLabels = std::array<QLabel *, ReadoutTexts::LabelCount>;
    ReadoutLabels readoutLabels() const;
    void showReadouts(const ReadoutTexts::Readouts &texts);
    void showInstruments(const OutputDataType &data);

    // --- Device identity: the identity shown, and the Ethernet features the model gates
    void takeIdentity(const FactorySettingsT &fsettings);
    void forgetIdentity();
    void setEthernetFeaturesEnabled(bool enabled);

    // --- Ethernet
    EthernetSettingsFields readEthernetSettingsFields(const QStringList &deviceOctets) const;
    uint8_t baudCodeToSend(int which) const;
    static void mirrorSentSettings(const EthernetSettingsFields &fields);
    void disconnectEthernet();
    std::optional<QNetworkAddressEntry> chooseNetworkEntry();

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
    ElidingLabel *labelSerialPortStatus = nullptr;
    QProgressBar *progressBar = nullptr;
    QLabel *labelEthernet = nullptr;
    QLabel *label_EthernetLed = nullptr;
    ElidingLabel *labelEthernetStatus = nullptr;

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
    LinkStatus m_serialStatus;
    LinkStatus m_ethernetStatus;
    // The unit dropped a settings datagram unconfirmed: the Ethernet status
    // says so until it confirms one or the link is left.
    bool m_settingsUnconfirmed = false;

    // --- Members: link and device
    uint32_t m_connectionMode = Worker::NoLink; // Worker::InterfaceMode bits
    FactorySettingsT factorysettings;
    // The UDP ports as the device reported them last (the defaults before any
    // report): what a datagram carries for an emptied port edit.
    uint16_t m_localUdpPort = Worker::DefaultLocalUdpPort;
    uint16_t m_imuUdpPort = Worker::DefaultDeviceUdpPort;

    // --- Members: settings panel
    SettingsMarkers m_markers;

    // --- Members: protocol tab: the device's three output slots, and the format the tab stands for.
    OutputProtocolSlots m_outputProtocol;
    std::array<uint8_t, 4> m_protocolFormat{};

    // --- Members: Ethernet
    uint32_t m_datagramCounter = 0;
    // The address groups as the device reported them last (the settings image's
    // defaults before any report): what a datagram carries for a group typed wrong.
    QStringList m_reportedDeviceOctets = SendableSettings::octetTexts(AddressDefaults::Device);
    QStringList m_reportedDestinationOctets = SendableSettings::octetTexts(AddressDefaults::Destination);

    // --- Members: data logging: why the worker's data log failed last, for the warning shown
    // when logging ends unasked; the logging requests the worker has not answered yet; and the
    // existing file the save dialog has just confirmed overwriting, good for one recording.
    QString m_dataLogFailure;
    int m_loggingRepliesPending = 0;
    QString m_overwriteConfirmedFile;
};

#endif // MAINWINDOW_H
