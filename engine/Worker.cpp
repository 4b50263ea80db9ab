#include "Worker.h"

#include <QLocale>
#include <QMutexLocker>
#include <QTimerEvent>
#include <QUdpSocket>

Worker::Worker(QObject *parent)
    : QObject(parent)
{
    m_serial = new QSerialPort(this);
    initSocket();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    connect(m_serial, &QSerialPort::errorOccurred, this, &Worker::handleError);
    connect(m_serial, &QSerialPort::readyRead, this, &Worker::readSerialData);

    resetStatisticsFilters();
    fillStatisticsList();

    m_tickTimer.start(m_tickInterval, Qt::CoarseTimer, this);
}

Worker::~Worker()
{
    QMutexLocker locker(&m_mutex);
    m_tickTimer.stop();
    udpSocketIP4->abort();
    delete udpSocketIP4;
    udpSocketIP4 = nullptr;
}

void Worker::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_tickTimer.timerId())
        tick();
    else if (event->timerId() == m_logFileCheckTimer.timerId())
        checkDataLogFile();
    else
        QObject::timerEvent(event);
}

void Worker::tick()
{
    if (m_waitTicks != 0) {
        --m_waitTicks;
        return;
    }
    autoDetectSensor();
    if (!linkIsUp() || m_autoDetectRunning)
        return;
    if (m_interfaceMode & SerialMode)
        serialTick();
    udpTimerTask();
    m_displayDue = true;
}

// Leaving the Ethernet link, for no link or for the serial one, ends its session.
void Worker::setInterfaceMode(uint32_t mode)
{
    if ((m_interfaceMode & EthernetMode) && !(mode & EthernetMode))
        endEthernetSession();
    m_interfaceMode = mode;
}

// The unit of a new session may be another than the last one: the session
// starts as the program does, with no sample fields, no output protocol and no
// identity known until the unit reports its own. No null address has been
// answered yet, and no wait armed for the last unit holds back the session's
// first query or datagram.
void Worker::forgetLastUnit()
{
    m_outputData = OutputDataType();
    m_protocol = OutputProtocolSlots();
    protocolId = 0;
    factorysettings = FactorySettingsT();
    m_nullAddressCount = 0;
    m_waitTicks = 0;
}

bool Worker::linkIsUp() const
{
    return m_serialConnected || m_udpBound;
}

// One command per tick: a query of the settings read-out, or else one pending
// setting. Settings stay pending while the console is halted, since nothing
// may be written to the port then; they go out once it runs again.
void Worker::serialTick()
{
    if (readIMUsettings)
        sendSettingsQuery();
    else if (IMUsettingsFlag != 0 && !m_consoleHalted)
        sendPendingSetting();
    ++m_serialSilence;
}

uint Worker::setSleepDogValue_ms(uint ms) const
{
    return m_waitUnit == 0 ? 0 : ms / m_waitUnit;
}

void Worker::readUserSettings()
{
    {
        QMutexLocker locker(&m_mutex);
        readIMUsettings = true;
        settingsIterator = 0;
        msgNr = 0;
    }
    emit enableAllButtons(false);
}

// The port is closed before the data log, so that what it still held is logged.
void Worker::stopWorker()
{
    QMutexLocker locker(&m_mutex);
    m_tickTimer.stop();
    closeSerialPort();
    closeDataLog();
    udpSocketIP4->abort();
}

void Worker::consoleHalt(bool on)
{
    m_consoleHalted = on;
}

void Worker::setStatisticsTime(int minutes)
{
    m_statisticsTime = minutes;
}
