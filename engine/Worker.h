#ifndef WORKER_H
#define WORKER_H

#include "AnswerParser.h"
#include "CommandTable.h"
#include "DeviceTypes.h"
#include "PaceLimit.h"
#include "SerialFraming.h"
#include "SettingsAnswer.h"
#include "StatisticsFilter.h"
#include "WorkerTick.h"

#include <QBasicTimer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

class QUdpSocket;

// The device I/O engine. Lives in a thread of its own, owns the serial port,
// the UDP socket and the data log, and drives everything from one 50 ms tick,
// but for the look at the open data log's file, which has a timer of its own.
class Worker : public QObject
{
    Q_OBJECT

public:
    explicit Worker(QObject *parent = nullptr);
    ~Worker() override;

    // Interface mode bits.
    enum InterfaceMode : uint32_t {
        NoLink = 0,
        EthernetMode = 0x1,
        SerialMode = 0x2,
    };

    // The link of a sample reported without one: whichever link is in use.
    static constexpr uint32_t AnyLink = EthernetMode | SerialMode;

    // Action bits of signalEnableActions and signalActionsSetChecked.
    enum ActionBits : int {
        ConnectActions = 0x1, // connect, Ethernet connect and halt
        ConnectAction = 0x2,
        ConfigureAction = 0x4,
        EthernetConnectAction = 0x8,
        HaltAction = 0x10,
    };

    // The "which" of the baud-rate, offset and gauss reports: 0 to 2 name one of
    // the three boxes, AllBoxes all three at once.
    static constexpr int ReportBoxes = 3;
    static constexpr int AllBoxes = ReportBoxes;

    // UDP ports the link starts with: the program's own and the device's.
    static constexpr uint16_t DefaultLocalUdpPort = UdpPortDefaults::Local;
    static constexpr uint16_t DefaultDeviceUdpPort = UdpPortDefaults::Device;
    static constexpr int StatisticsFilterCount = 13;
    // Runs of the UDP task between two discovery datagrams.
    static constexpr uint32_t DiscoveryInterval = 10;
    // A unit's pace of settings answers, with room for a burst: so many at
    // once, then one per interval.
    static constexpr int SettingsAnswerAllowance = 20;
    static constexpr std::chrono::milliseconds SettingsAnswerInterval{100};
    // Datagrams read in one round of the socket's readyRead.
    static constexpr int DatagramsPerRound = 64;
    // How often the open data log is looked at for its removal.
    static constexpr int LogFileCheckIntervalMs = 500;

    // Modes of setProgressBar during auto-detection.
    enum ProgressMode : int {
        ProgressFailed = -1,
        ProgressStart = 0,
        ProgressDone = 1,
        ProgressStep = 2,
    };

    // One run of the tick; the timer calls it every 50 ms.
    void tick();

    // Converts a wait in milliseconds into wait ticks.
    uint setSleepDogValue_ms(uint ms) const;

    void resetStatisticsFilters();
    void AddStatisticsXX(const OutputDataType &sample);

    // UDP link
    void udpTimerTask();
    void initSocket();
    QString processUdpCmdDatagrams(const QByteArray &datagram, bool process);
    QString processUdpDatagrams(const QByteArray &datagram, bool process);
    float getParameterValue(const QByteArray &data, int offset) const;
    float getParameterValue16(const QByteArray &data, int offset) const;

signals:
    void signalProcessIMUFlags(uint32_t flags);
    void showStatusMessage(const QString &message);
    void showEthernetStatusMessage(const QString &message);
    void workerSendMessage(const QString &message, uint timeout, bool error);
    void showMessageBox(const QString &title, const QString &text);
    void enableAllButtons(bool enable);
    void signalEnableActions(bool enable, int mask);
    void signalActionsSetChecked(bool checked, int mask);
    void signalConfigureSerialPort();
    void m_consoleDisplayData(const QByteArray &line, int type, bool detecting);
    void m_consoleInsertPlainText(const QByteArray &text);
    void m_uiLineEditIMUUdpPortSetText(const QString &port);
    void m_uiLineEditLocalUdpPortSetText(const QString &port);
    void m_uiLineEditIMUIP4SetText(const QList<QByteArray> &octets);
    void m_uiLineEditDstIP4SetText(const QList<QByteArray> &octets);
    void m_uiIMUfreqBoxSetIndex(const QString &frequency);
    void m_uiBaudRateBoxSetIndex(int box, const QByteArray &rate);
    void radioButtonGPS(int input);
    void m_uiDoubleSpinBoxOffsetSetValue(int axis, double value);
    void signalProtocolHeaderSetText(const QString &label, const QString &header);
    void EnableAllPrtParameters(bool enable);
    void signalProcessProtocolParameters(const OutputProtocolType &protocol, uint8_t index);
    // The identity, and the link (interface mode) it was read on.
    void signalEnableSpecialHardwareFeature(const FactorySettingsT &identity, uint32_t link = AnyLink);
    void doubleSpinBoxNorthOffsetSetValue(double value);
    void doubleSpinBoxGaussSetValue(int axis, double value);
    void setProgressBar(int mode, int value);
    void signalAutoDetectSerialPortDone(const QList<QString> &ports, const QList<int> &baudRates, int elapsedMs);
    // The latest sample, output slot 0, and the link (interface mode) the sample came in on.
    void signalDispalyOutputData(const OutputDataType &sample, const OutputProtocolType &protocol,
                                 uint32_t link = AnyLink);
    void signalStartDataCapturing(bool logging);
    // The data log could not be opened or written; sent before the signalStartDataCapturing(false) it causes.
    void signalDataLogFailed(const QString &fileName, const QString &reason);
    void signalErrorLoggerWrite(const QByteArray &line);
    void signalClearAllSetFalgs();
    // The serial link the window asked for is not up: the port could not be opened, or the
    // open link was closed on a port error (the unit unplugged, the line hung up).
    void signalSerialPortLost();
    // A settings datagram was confirmed (true), or dropped without the unit's confirmation (false).
    void signalSettingsConfirmed(bool confirmed);

public slots:
    void refreshSerialPort();
    void configureSerialPort(bool changed);
    void openSerialPort(const UserSettingsType &settings);
    void setAutoDetect(const QList<QString> &portNames, int combinations);
    void closeSerialPort();
    void handleError(QSerialPort::SerialPortError error);
    void readSerialData();
    void readUserSettings();
    uint32_t getProtocolFormat(const std::array<uint8_t, 4> &format, const QString &header, uint8_t id);
    uint32_t calculateProtocolValue(uint8_t id);
    void getIMUsettingsFlag(int mask, int tab, const QString &values);
    void stopWorker();
    void startDataLogging(bool start, const QString &fileName);
    void consoleHalt(bool on);
    void setStatisticsTime(int minutes);

    // UDP link
    void sendSetCmdDatagram(const QByteArray &datagram);
    void sendGetCmdDatagram(const QByteArray &command);
    void sendUdpCmdDatagram(const QString &address, const QByteArray &datagram, unsigned int type);
    void EthernetConnectTriggered(bool connect, const QHostAddress &address, const QHostAddress &broadcast);
    void processUdpSocketIP4PendingDatagrams();
    void resetUdpSocketSlot(quint16 port);
    void scanVeltoIMUSlot(bool on);

protected:
    void timerEvent(QTimerEvent *event) override;
    // Reads the next pending datagram into buffer (sized to it); the byte
    // count, or -1 when the read failed.
    virtual qint64 readUdpDatagram(QByteArray &buffer);

private:
    friend class WorkerProbe;

    // The fed statistics channels, by filter index.
    enum StatisticsChannel { HeaveFilter, AxFilter, AyFilter, AzFilter, RollFilter, PitchFilter, YawFilter };

    void setInterfaceMode(uint32_t mode);
    bool linkIsUp() const;
    void forgetLastUnit();
    void serialTick();
    void fillStatisticsList();

    // Serial link
    void serialPortOpened(const UserSettingsType &settings);
    void serialPortOpenFailed();
    void writeSerialData(const QByteArray &data);

    // Receive path
    void receiveSerialChunk(const QByteArray &chunk);
    void receivePendingSerialInput();
    void checkSerialSilence();
    void discardOverflowingBuffer();
    void processReceiveBuffer();
    void handleFrame(const QByteArray &frame);
    void handleLine(const QByteArray &line);
    bool answersMayFollowFrameBytes() const;
    void showReceivedLine(const QByteArray &line, SerialFraming::LineClass lineClass);
    void noteDetectedPort();
    void dispatchAnswer(const QByteArray &answer);
    void dispatchDataLine(const QByteArray &line);
    void emitDisplayIfDue();
    void restartSettingsReadout();

    // Output-protocol decoders
    void processOutputData(const QByteArray &line);
    void processPredefinedProtocols(uint value, const QByteArray &data);

    // Auto-detection
    void autoDetectSensor();
    void endConsoleHalt();
    void startAutoDetectSweep();
    void finishAutoDetect();
    void sendAutoDetectProbe();
    void MoveToNxtSerialPortBaudRate();
    void autoDetectPortOpened();
    int autoDetectProgressMaximum() const;
    qint64 autoDetectElapsedMs() const;

    // Data log
    void closeDataLog();
    void writeDataLog(const QByteArray &bytes);
    void checkDataLogFile();
    // Stops logging for the reason operation met, and says so.
    void stopDataLogOnError(const QByteArray &operation, const QString &reason);

    // UDP link
    void connectEthernet(const QHostAddress &address, const QHostAddress &broadcast);
    void forgetLastEthernetUnit();
    void disconnectEthernet();
    void resetUdpSocket();
    bool bindUdpSocket(uint16_t port);
    void reportUdpPortIfMoved();
    bool deviceAddressUsable() const;
    bool writeUdpDatagram(const QByteArray &payload, const QHostAddress &to, quint16 port, const QByteArray &operation);
    void noteUdpWriteFailed(const QByteArray &operation, const QByteArray &reason);
    void noteUdpWriteSucceeded(const QByteArray &operation);
    void advanceMessageNumber();
    void searchForDevice();
    void resendSetDatagram();
    void dropUnconfirmedSetDatagram();
    QByteArray unconfirmedSettingsState() const;
    void endEthernetSession();
    void requestSettings();
    void checkEthernetWatchdog();
    void serveRebindRequest();
    void countSettingsReread();
    void receiveUdpDatagram(const QByteArray &datagram);
    bool admitSettingsAnswer();
    void handleSettingsAnswer(const QByteArray &answer);
    void handleOutputDatagram(const QByteArray &datagram);
    bool confirmsPendingDatagram(const QByteArray &answer);
    void applyAnswerLink(const SettingsAnswer::Record &record);
    void applyAnswerSettings(const SettingsAnswer::Record &record);
    void applyAnswerIdentity(const SettingsAnswer::Record &record);

    // Command protocol
    // Slot id takes the format; its value, and the header for a custom value.
    uint32_t storeProtocolFormat(const std::array<uint8_t, 4> &format, const QString &header, uint8_t id);
    void sendSettingsQuery();
    void finishSettingsReadout();
    void sendPendingSetting();
    void SendIMUsetCommands();
    void dropUnsentSettings();
    void logDroppedSettings(uint32_t mask, const QByteArray &when);
    void noteSentSetting(int number);
    void noteSentDeviceAddress();

    // Answer parser
    void cmdProcessor();
    void processAnswer(const QByteArray &line);
    void emitAnswerValue(AnswerParser::AnswerKey key, const QByteArray &payload);
    void storeSerialNumber(const QByteArray &payload);
    void storePartNumber(const QByteArray &payload);
    void storeFirmwareVersion(const QByteArray &payload);
    void reportIdentity();
    void processProtocolAnswer(const QByteArray &payload);
    void processFlagsAnswer(const QByteArray &payload);
    void processDeviceAddressAnswer(const QByteArray &payload);
    void processDestinationAddressAnswer(const QByteArray &payload);

    // Tick
    int m_tickInterval = WorkerTick::IntervalMs;
    QBasicTimer m_tickTimer;

    QMutex m_mutex;

    FactorySettingsT factorysettings;

    // Statistics
    std::array<StatisticsFilter, StatisticsFilterCount> m_statistics;
    QList<StatisticsFilter *> m_statisticsList;
    int m_statisticsTime = 1;
    QElapsedTimer m_statisticsTimer;
    uint32_t m_statisticsCount = 0;

    // Settings waiting to be sent
    CommandTable::PendingSettings m_pending;
    // The window's last protocol request, as the protocol and header lines send it.
    CommandTable::ProtocolRequest m_protocolRequest;

    // Four words set from one constant tuple: the wait unit, two words that
    // nothing reads, and the link mode.
    static constexpr std::array<uint32_t, 4> TickWords{100, 10, 5, NoLink};
    uint32_t m_waitUnit = TickWords[0];
    uint32_t m_unreadWord1 = TickWords[1];
    uint32_t m_unreadWord2 = TickWords[2];
    uint32_t m_interfaceMode = TickWords[3];

    // Serial side
    QSerialPort *m_serial = nullptr;
    QByteArray m_rxBuffer;

    OutputDataType m_outputData;
    OutputProtocolSlots m_protocol;
    // The slot stored last, by a request or an answer.
    uint8_t protocolId = 0;

    QList<QByteArray> m_answerQueue;

    bool m_serialConnected = false;
    bool m_displayDue = false;

    QFile m_logFile;
    // Runs while logging is on: its own, as the tick can be held back for seconds.
    QBasicTimer m_logFileCheckTimer;

    uint32_t IMUsettingsFlag = 0;
    // The row of the next read-out query; auto-detection, during which the
    // read-out is idle, counts its probes at a rate here.
    int32_t settingsIterator = 0;
    uint32_t m_serialSilence = 0;

    // Auto-detection
    QList<QString> detectedPortName;
    QList<QString> m_autoDetectPorts;
    QList<int> detectedBaudRate;
    int m_autoDetectPortIndex = 0;
    int m_autoDetectBaudIndex = 0;
    bool m_autoDetectRunning = false;
    bool m_autoDetectStartPending = false;
    bool m_autoDetectFinished = false;
    bool m_autoDetectPortDone = false;
    std::chrono::steady_clock::time_point m_autoDetectStart;
    int m_autoDetectProgress = 0;
    int m_autoDetectCombinations = 0;

    bool readIMUsettings = true;
    bool m_headerCapturePending = true;

    bool m_logging = false;
    bool m_consoleHalted = false;

    uint32_t m_waitTicks = 0;

    // Null device-address answers in a row in this serial session.
    uint32_t m_nullAddressCount = 0;
    // Whether the time-out ended the last detection sweep; shared by the whole process.
    static bool s_autoDetectTimedOut;

    // UDP link
    QUdpSocket *udpSocketIP4 = nullptr;
    QHostAddress m_deviceAddress;
    QHostAddress m_interfaceAddress{QHostAddress::AnyIPv4};
    QHostAddress m_discoveryTarget{QHostAddress::Broadcast};
    uint16_t m_localUdpPort = DefaultLocalUdpPort;
    uint16_t m_deviceUdpPort = DefaultDeviceUdpPort;
    uint16_t m_defaultLocalUdpPort = DefaultLocalUdpPort;
    uint16_t m_defaultDeviceUdpPort = DefaultDeviceUdpPort;
    uint32_t msgNr = 0;
    uint32_t m_ethernetWatchdog = 0;
    bool m_rebindRequest = false;
    bool m_scanning = true;
    uint32_t m_discoveryCount = DiscoveryInterval;
    bool m_udpBound = false;
    QByteArray m_setDatagram;
    QByteArray m_setDatagramSignature;
    bool m_setDatagramPending = false;
    // Whether the pending settings datagram went out at least once.
    bool m_setDatagramSent = false;
    uint32_t m_setDatagramResends = 0;
    uint32_t m_settingsRereadCount = 0;
    PaceLimit m_settingsAnswerPace{SettingsAnswerAllowance, SettingsAnswerInterval};
    // Failed writes of each operation since its last successful one; an
    // operation is listed only while its writes fail.
    QHash<QByteArray, quint64> m_failedUdpWrites;
};

#endif // WORKER_H
