// The main window's status strip, its LEDs and logging indicator, the progress
// bar and the event log.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "AppLogging.h"
#include "ElidingLabel.h"
#include "ResourcePaths.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

namespace {

constexpr int LedSize = 22;
constexpr int StatusRow = 0;
constexpr int TextMargin = 2;
constexpr int ProgressMinimumWidth = 200;
constexpr int ProgressMaximumWidth = 350;
constexpr int FullProgress = 100;

const char EventLogName[] = "/errorLogger.txt";
const char EventLogStart[] = "msg Info : statrt debug data Logging @ ";

const QString DisconnectedText = QStringLiteral("Disconnected");
const QString ConnectedText = QStringLiteral("Connected");
const QString SettingsNotConfirmedNote = QStringLiteral(": Settings Not Confirmed");

// Columns of the status strip.
enum StatusColumn {
    SerialCaptionColumn,
    SerialLedColumn,
    SerialStatusColumn,
    ProgressColumn,
    SeparatorColumn,
    EthernetCaptionColumn,
    EthernetLedColumn,
    EthernetStatusColumn,
};

template <typename Label = QLabel>
Label *statusLabel(QWidget *parent, const char *name, QSize minimum, QSize maximum)
{
    auto *label = new Label(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumSize(minimum);
    label->setMaximumSize(maximum);
    return label;
}

QLabel *ledLabel(QWidget *parent, const char *name)
{
    QLabel *led = statusLabel(parent, name, QSize(LedSize, LedSize), QSize(LedSize, LedSize));
    led->setFrameShadow(QFrame::Sunken);
    led->setScaledContents(true);
    led->setAlignment(Qt::AlignCenter);
    led->setMargin(0);
    return led;
}

// LED picture of a status text; "Disconnected" is looked for before "Connected".
QPixmap ledPictureFor(const QString &message)
{
    if (message.contains(DisconnectedText))
        return QPixmap(QString::fromLatin1(ResourcePaths::RedLed));
    if (message.contains(ConnectedText))
        return QPixmap(QString::fromLatin1(ResourcePaths::GreenLed));
    return QPixmap(QString::fromLatin1(ResourcePaths::OrangeLed));
}

// Plain text as the strip's markup shows it as written: its markup characters
// escaped, and every blank that begins or ends it or follows another blank a
// no-break space, which markup neither folds into a blank beside it (the green
// file name starts with one) nor drops.
QString markupOf(const QString &text)
{
    const QString escaped = text.toHtmlEscaped();
    QString markup;
    bool afterBlank = true;
    for (qsizetype at = 0; at < escaped.size(); ++at) {
        const bool blank = escaped.at(at) == QLatin1Char(' ');
        const bool kept = blank && (afterBlank || at + 1 == escaped.size());
        markup += kept ? QStringLiteral("&nbsp;") : QString(escaped.at(at));
        afterBlank = blank;
    }
    return markup;
}

} // namespace

void MainWindow::setupStatusGroupBox()
{
    QGroupBox *box = ui->groupBox_Status;
    box->setContentsMargins(0, 0, 0, 0);
    gridLayoutStatusGrpBox = new QGridLayout(box);
    gridLayoutStatusGrpBox->setSpacing(1);
    gridLayoutStatusGrpBox->setContentsMargins(5, 0, 5, 0);

    labelSerialPort = statusLabel(box, "labelSerialPort", QSize(65, 25), QSize(66, 32));
    labelSerialPort->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    labelSerialPort->setMargin(TextMargin);

    label_SerialLed = ledLabel(box, "label_SerialLed");
    label_SerialLed->setIndent(-1);

    labelSerialPortStatus = statusLabel<ElidingLabel>(box, "labelSerialPortStatus", QSize(150, 25), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    labelSerialPortStatus->setMargin(TextMargin);
    labelSerialPortStatus->setTextFormat(Qt::RichText);

    progressBar = new QProgressBar(box);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setMinimumWidth(ProgressMinimumWidth);
    progressBar->setMaximumWidth(ProgressMaximumWidth);
    progressBar->setValue(FullProgress);
    progressBar->setAlignment(Qt::AlignCenter);

    auto *line = new QFrame(box);
    line->setObjectName(QStringLiteral("line"));
    line->setMinimumSize(1, 22);
    line->setMaximumSize(2, 32);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setLineWidth(1);

    labelEthernet = statusLabel(box, "labelEthernet", QSize(56, 25), QSize(60, 32));
    labelEthernet->setAlignment(Qt::AlignRight | Qt::AlignHCenter | Qt::AlignVCenter);

    label_EthernetLed = ledLabel(box, "label_EthernetLed");

    labelEthernetStatus = statusLabel<ElidingLabel>(box, "labelEthernetStatus", QSize(250, 25), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    labelEthernetStatus->setFrameShadow(QFrame::Plain);
    labelEthernetStatus->setMargin(TextMargin);
    labelEthernetStatus->setTextFormat(Qt::RichText);

    const std::pair<QWidget *, StatusColumn> cells[] = {
        {labelSerialPort, SerialCaptionColumn},   {label_SerialLed, SerialLedColumn},
        {labelSerialPortStatus, SerialStatusColumn}, {progressBar, ProgressColumn},
        {line, SeparatorColumn},                  {labelEthernet, EthernetCaptionColumn},
        {label_EthernetLed, EthernetLedColumn},   {labelEthernetStatus, EthernetStatusColumn},
    };
    for (const auto &[widget, column] : cells)
        gridLayoutStatusGrpBox->addWidget(widget, StatusRow, column, 1, 1, Qt::AlignVCenter);

    const QList<QWidget *> stackingOrder{label_EthernetLed, progressBar,     labelSerialPortStatus,
                                         labelEthernetStatus, label_SerialLed, labelSerialPort,
                                         line,              labelEthernet};
    for (QWidget *widget : stackingOrder)
        widget->raise();
}

void MainWindow::showStatusMessage(const QString &message)
{
    m_serialStatus = {message, false};
    showStatusTexts();
    label_SerialLed->setPixmap(ledPictureFor(message));
    ui->actionConnect->setToolTip(message.contains(DisconnectedText) ? tr("Connect to serial port")
                                                                     : tr("Disconnect serial port"));
}

void MainWindow::showEthernetStatusMessage(const QString &message)
{
    m_ethernetStatus = {message, false};
    showStatusTexts();
    label_EthernetLed->setPixmap(ledPictureFor(message));
    ui->actionEthernetConnect->setToolTip(message.contains(DisconnectedText) ? tr("Connect Ethernet")
                                                                             : tr("Disconnect Ethernet"));
    qCDebug(lcApp) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << message;
}

// A report that comes after the link was left belongs to no session the
// window shows.
void MainWindow::settingsConfirmed(bool confirmed)
{
    if (!ethernetInUse())
        return;
    m_settingsUnconfirmed = !confirmed;
    showStatusTexts();
}

// The one place the two status texts are made: each link's last status text,
// the note of settings dropped unconfirmed on the Ethernet link, and the log
// file's name where the logging indicator has put it. The labels show markup
// for the name's colour; every part of plain text is written into it as text.
void MainWindow::showStatusTexts()
{
    const auto composed = [this](const LinkStatus &status, const QString &note) {
        return markupOf(status.text + note) + (status.logFileShown ? logFileSuffix() : QString());
    };
    labelSerialPortStatus->setText(composed(m_serialStatus, QString()));
    labelEthernetStatus->setText(
        composed(m_ethernetStatus, m_settingsUnconfirmed ? SettingsNotConfirmedNote : QString()));
}

// The link in use; its status text takes the strip's free room, the idle
// link's keeps the width its text needs. With no link both share the room.
void MainWindow::setConnectionMode(uint32_t mode)
{
    m_connectionMode = mode;
    const bool noLink = mode == Worker::NoLink;
    labelSerialPortStatus->setTakesRoom(serialInUse() || noLink);
    labelEthernetStatus->setTakesRoom((ethernetInUse() && !serialInUse()) || noLink);
}

// The one reading of which link is in use: the link mode, not the actions'
// checks, which lead the mode while a connect waits on the interface list and
// follow the worker's reports. Where both bits are set, the serial link is the
// one whose status takes the room and shows the logging indicator.
bool MainWindow::serialInUse() const
{
    return (m_connectionMode & Worker::SerialMode) != 0;
}

bool MainWindow::ethernetInUse() const
{
    return (m_connectionMode & Worker::EthernetMode) != 0;
}

// Whether the link of a worker report (its interface mode bits) is the one in use.
bool MainWindow::linkInUse(uint32_t link) const
{
    return ((link & Worker::SerialMode) && serialInUse()) || ((link & Worker::EthernetMode) && ethernetInUse());
}

MainWindow::LinkWidgets MainWindow::activeLinkWidgets()
{
    if (serialInUse())
        return {label_SerialLed, &m_serialStatus};
    if (ethernetInUse())
        return {label_EthernetLed, &m_ethernetStatus};
    return {};
}

// The green log file name that follows the active link's status text while logging runs.
QString MainWindow::logFileSuffix() const
{
    return tr("<font color=green> , %1</font>").arg(markupOf(QFileInfo(m_settings->fileName).fileName()));
}

void MainWindow::rotateLabel()
{
    if (!m_capturing || m_connectionMode == Worker::NoLink)
        return;
    if (m_ledTickCount++ < m_ledStepTicks)
        return;
    m_ledTickCount = 0;

    const LinkWidgets link = activeLinkWidgets();
    link.led->setPixmap(m_ledFrames.at(m_ledFrameIndex++ % m_ledFrames.size()));
    if (!link.status->logFileShown) {
        link.status->logFileShown = true;
        showStatusTexts();
    }
}

// Logging that stops takes the file name away from both links: the link that
// showed it may have been left meanwhile.
void MainWindow::dataCapturingStatus(bool on)
{
    m_capturing = on;
    ui->actionSelectFile->setEnabled(!on);

    const LinkWidgets link = activeLinkWidgets();
    if (on && link.status)
        link.status->logFileShown = true;
    if (!on)
        m_serialStatus.logFileShown = m_ethernetStatus.logFileShown = false;
    showStatusTexts();
    checkLoggingReply(on);
}

// The event log holds the current run only: it is emptied and given its first line.
void MainWindow::startEventLog()
{
    logger_file.setFileName(QCoreApplication::applicationDirPath() + QLatin1String(EventLogName));
    if (!logger_file.open(QIODevice::WriteOnly))
        return;
    logger_file.write(EventLogStart + QDateTime::currentDateTime().toString(Qt::TextDate).toLocal8Bit() + "\r\n");
    logger_file.close();
}

// One line of the event log; the file is open only while the line is written.
void MainWindow::errorLoggerWrite(const QByteArray &message)
{
    if (!logger_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        qCDebug(lcApp) << "Error : Cannot save file : " << logger_file.errorString();
        return;
    }
    logger_file.write(message + " @ " + QDateTime::currentDateTime().toString(Qt::TextDate).toLocal8Bit() + "\r\n");
    logger_file.close();
}

void MainWindow::setProgressBar(int state, int value)
{
    switch (state) {
    case Worker::ProgressStart:
        labelSerialPortStatus->hide();
        progressBar->setValue(0);
        progressBar->setRange(0, value);
        progressBar->show();
        break;
    case Worker::ProgressDone:
    case Worker::ProgressStep:
        progressBar->setValue(value);
        break;
    case Worker::ProgressFailed:
        progressBar->hide();
        labelSerialPortStatus->show();
        break;
    default:
        break;
    }
}

void MainWindow::enableAllButtons(bool enable)
{
    for (QPushButton *button : {ui->pushButtonApplyChangesIMU, ui->pushButtonApplyProtocol,
                                ui->pushButtonApplyChangesIMUOutputSettings, ui->pushButtonSelectAllPrtParameters,
                                ui->pushButtonClearAllPrtParameters})
        button->setEnabled(enable);
}

// Connected to nothing.
void MainWindow::cubeVeiwStatusChanged()
{
    qCDebug(lcApp) << Q_FUNC_INFO << "| Line :" << __LINE__ << ":" << "closing cube";
}

// Connected to nothing.
void MainWindow::fillStatisticalData()
{
}
