// The main window's construction, widget priming, shut-down, event overrides
// and about box.

#include "MainWindow.h"
#include "ui_mainwindow.h"

#include "Console.h"
#include "ContentWidths.h"
#include "DecimalRangeValidator.h"
#include "DialogAutoDetect.h"
#include "DialogChart.h"
#include "ElidingLabel.h"
#include "EditTexts.h"
#include "MessageBox.h"
#include "ProtocolChoice.h"
#include "ProtocolLabels.h"
#include "ResourcePaths.h"
#include "SettingsDialog.h"
#include "SettingsValues.h"
#include "SharedTables.h"
#include "TabLayoutGuard.h"
#include "Worker.h"

#include <QBasicTimer>
#include <QCloseEvent>
#include <QDateTime>
#include <QDebug>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QThread>
#include <QTransform>

namespace {

constexpr int LedFrameSteps = 4;
constexpr qreal LedStepDegrees = 90.0;
constexpr int BuildWordSize = 64;
constexpr int HeaderMaxLength = 8;
constexpr int TextPointSize = 12;
constexpr int ReadoutPointSize = 13;
constexpr int AboutPointSize = 11;
constexpr int AboutLogoSize = 64;
constexpr int AboutTopOffset = 80;

const QString TextFamily = QStringLiteral("Open Sans");
const QString ReadoutFamily = QStringLiteral("Source Code Pro");

const char CloseEventLine[] = "msg Info : From main : closeEvent ";
const char LoggerCloseLine[] = "msg Info : From main : logger_file.close";

const char AboutText[] =
    "<br><b>Orvanta</b> is terminal software that uses the serial port and/or Ethernet for "
    "testing, configuring and logging data with the IMU.</br>"
    "<br>Orvanta can be downloaded and used free of charge.</br>"
    "<br>Get the latest version from the <a href=\"https://varnelo.example/download\">Varnelo "
    "download centre</a>.</br>"
    "<br>All rights reserved by Varnelo, %1</br>";

const QList<int> FrequencyItems{1, 2, 4, 5, 10, 20, 25, 50, 100};

QFont textFont()
{
    return QFont(TextFamily, TextPointSize, QFont::Medium);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    ui = new Ui::MainWindow;
    m_console = new Console;
    m_messageBox = new MessageBox;
    m_buildText = tr("<center>Build %1.%2-MAC</center>").arg(QStringLiteral(QT_VERSION_STR)).arg(BuildWordSize);
    m_settingsDialog = new SettingsDialog;
    m_dialogAutoDetect = new DialogAutoDetect;

    ui->setupUi(this);
    ui->action3D_Viewer->setEnabled(false);
    setupStatusGroupBox();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    setMouseTracking(false);
    progressBar->hide();
    ui->actionQuit->setEnabled(true);
    ui->actionConfigure->setEnabled(true);
    labelSerialPort->setText(QStringLiteral("<font color='Blue'> Serial Port </font>"));
    labelEthernet->setText(QStringLiteral("<font color='Blue'> Ethernet </font>"));
    setWindowTitle(tr("Orvanta"));
    showStatusMessage(tr("Disconnected"));
    showEthernetStatusMessage(tr("Disconnected"));
    for (QLabel *label : std::initializer_list<QLabel *>{labelSerialPort, labelSerialPortStatus, labelEthernet,
                                                         labelEthernetStatus})
        label->setFont(textFont());
    setupLedFrames();
    ui->verticalLayout_Console->addWidget(m_console);
    enableAllButtons(false);
    initActionsConnections();
    ui->tabWidget->setCurrentIndex(0);
    new TabLayoutGuard(ui->tabWidget);

    primeBaudRateBoxes();
    primeProtocolWidgets();
    primeAddressEdits();
    forgetIdentity();
    ui->lcdNumberHeave->display(QStringLiteral("0.00"));
    applyFonts();
    fitToFont();

    setupChart();
    m_timer = new QBasicTimer;
    m_timer->start(m_timerPeriod, Qt::PreciseTimer, this);
    startWorker();
    startEventLog();
}

MainWindow::~MainWindow()
{
    m_timer->stop();
    delete m_settingsDialog;
    m_settings = nullptr;
    stopWorkerThread();
    errorLoggerWrite(LoggerCloseLine);
    delete ui;

    // The worker's thread has ended: what lived in it can go now.
    delete m_worker;
    delete m_workerThread;
    delete m_dialogChart;
    delete m_dialogAutoDetect;
    delete m_messageBox;
    delete m_timer;
}

void MainWindow::setupLedFrames()
{
    m_ledFrames.clear();
    QTransform transform;
    for (int step = 0; step < LedFrameSteps; ++step) {
        transform.rotate(LedStepDegrees, Qt::ZAxis);
        for (const char *picture : {ResourcePaths::GreenLed, ResourcePaths::GreenLed45})
            m_ledFrames.append(QPixmap(QString::fromLatin1(picture)).transformed(transform, Qt::SmoothTransformation));
    }
}

// Baud-rate boxes and GPS choice of the Interface tab.
void MainWindow::primeBaudRateBoxes()
{
    for (QComboBox *box : {ui->RS232BaudRateBox, ui->RS422BaudRateBox, ui->GPSRS232BaudRateBox})
        populateBaudRateComboBox(box);
    ui->radioButtonActiveAll->setChecked(true);
}

// Frequency list of the Output Settings tab; protocol names and header of the Output Protocol tab.
void MainWindow::primeProtocolWidgets()
{
    ui->IMUfreqBox->addItem(tr("custom"));
    for (int frequency : FrequencyItems)
        ui->IMUfreqBox->addItem(QString::number(frequency), frequency);
    ui->IMUfreqBox->setCurrentIndex(0);

    for (const QString &name : ProtocolChoice::itemTexts())
        ui->ComboBoxHeader->addItem(tr(qPrintable(name)));
    ui->ComboBoxHeader->setCurrentIndex(0);
    ui->ComboBoxHeader->setEditable(true);
    ui->ComboBoxHeader->clearEditText();
    ui->ComboBoxHeader->lineEdit()->setMaxLength(HeaderMaxLength);
    ui->ComboBoxHeader->setEnabled(false);
    ui->label_Protocol->setText(ProtocolLabels::Header);
    on_pushButtonClearAllPrtParameters_clicked();
    EnableAllPrtParameters(false);
}

// UDP port and address edits of the Interface tab: validators and initial texts.
void MainWindow::primeAddressEdits()
{
    ui->lineEditIMUUdpPort->setValidator(new DecimalRangeValidator(EditTexts::MaxPortEditNumber, this));
    ui->lineEditIMUUdpPort->setText(QString::number(m_imuUdpPort));
    ui->lineEditLocalUdpPort->setValidator(new DecimalRangeValidator(EditTexts::MaxPortEditNumber, this));
    ui->lineEditLocalUdpPort->setText(QString::number(m_localUdpPort));

    ui->radioButtonDynamicIP->setChecked(false);
    ui->radioButtonDynamicIP->setEnabled(false);
    const QList<QLineEdit *> deviceOctets{ui->lineEditIMUIP4_3, ui->lineEditIMUIP4_2, ui->lineEditIMUIP4_1,
                                          ui->lineEditIMUIP4_0};
    for (QLineEdit *edit : deviceOctets)
        edit->setEnabled(false);
    const QList<QLineEdit *> destinationOctets{ui->lineEditDstIP4_0, ui->lineEditDstIP4_1, ui->lineEditDstIP4_2,
                                               ui->lineEditDstIP4_3};
    for (QLineEdit *edit : deviceOctets + destinationOctets)
        edit->setValidator(new DecimalRangeValidator(SettingsValues::MaxOctet, this));
}

// Fonts of the tabs and group boxes, the removal of the tabs this program does
// not show, and the read-out fonts.
void MainWindow::applyFonts()
{
    const QList<QWidget *> textWidgets{
        ui->tabWidget,           ui->groupBoxSelectParameters, ui->groupBoxAngularMotion,
        ui->groupBoxLinearMotion, ui->groupBoxExtraParameters, ui->groupBoxOutputPrtActions,
        ui->groupBoxAngles,      ui->groupBoxAngRate,          ui->groupBoxLinearAcc,
        ui->groupBoxHeave,       ui->groupBoxAngOffsets,       ui->groupBoxFlags,
        ui->groupBoxFreq};
    for (QWidget *widget : textWidgets)
        widget->setFont(textFont());

    removeTabsTitled(tr("Statistics"));
    removeTabsTitled(tr("Heading"));

    const QFont readoutFont(ReadoutFamily, ReadoutPointSize, QFont::Medium);
    for (QLabel *label : readoutLabels())
        label->setFont(readoutFont);
}

// The form's sizes suit a screen where a point is a pixel. Where points are
// larger, the status captions, the texts of the central area and the window
// grow so that no text is cut: the window opens at the size its content
// asks for and cannot be made smaller than its content needs.
void MainWindow::fitToFont()
{
    for (QLabel *caption : {labelSerialPort, labelEthernet}) {
        const int width = caption->sizeHint().width();
        caption->setMinimumWidth(qMax(caption->minimumWidth(), width));
        caption->setMaximumWidth(qMax(caption->maximumWidth(), width));
    }
    ContentWidths::widenToContent(ui->centralWidget);
    setMinimumSize(minimumSize().expandedTo(minimumSizeHint()));
    resize(size().expandedTo(sizeHint()));
}

void MainWindow::removeTabsTitled(const QString &title)
{
    for (int index = 0; index < ui->tabWidget->count(); ++index) {
        if (ui->tabWidget->tabText(index) == title) {
            ui->tabWidget->setTabEnabled(index, false);
            ui->tabWidget->removeTab(index);
        }
    }
}

void MainWindow::setupChart()
{
    m_settings = m_settingsDialog->currentSettings();
    if (m_settings->DataDisplayFlag.size() < DialogChart::SelectionBits)
        m_settings->DataDisplayFlag = QBitArray(DialogChart::SelectionBits);

    m_dialogChart = new DialogChart;
    m_dialogChart->DataDisplayFlag = m_settings->DataDisplayFlag;
    m_dialogChart->SetupPlot();
    m_dialogChart->updateTheme(static_cast<QChart::ChartTheme>(m_settings->chartTheme));
}

void MainWindow::startWorker()
{
    m_worker = new Worker;
    m_workerThread = new QThread;
    m_worker->moveToThread(m_workerThread);
    connectWorker();
    m_workerThread->start(QThread::HighPriority);
}

// The worker's stop runs to its end in the worker's thread before the thread is
// asked to quit, whatever the worker was busy with: a stop still queued behind a
// long job would otherwise be dropped with the thread's event loop, losing the
// tail of the data log and leaving the serial port open.
void MainWindow::stopWorkerThread()
{
    if (m_workerThread->isRunning())
        QMetaObject::invokeMethod(m_worker, &Worker::stopWorker, Qt::BlockingQueuedConnection);
    m_workerThread->quit();
    m_workerThread->wait();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    errorLoggerWrite(CloseEventLine);
    m_dialogChart->close();
    m_settings->DataDisplayFlag = m_dialogChart->DataDisplayFlag;
    m_settingsDialog->saveSettings();
    emit signalStopWorker();
    m_compass.close();
    m_compass.destroy();
    m_attitudeMeter.close();
    m_attitudeMeter.destroy();
    event->accept();
}

void MainWindow::timerEvent(QTimerEvent *event)
{
    if (!m_timer || event->timerId() != m_timer->timerId()) {
        QMainWindow::timerEvent(event);
        return;
    }
    event->accept();
    rotateLabel();
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    setFocus(Qt::OtherFocusReason);
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    event->accept();
}

void MainWindow::on_actionClear_triggered()
{
    m_console->dropGathered();
    m_console->clear();
}

void MainWindow::about()
{
    const QString version = tr("<center>Version %1</center>").arg(versionString);
    const QString description = tr(AboutText).arg(QDate::currentDate().year());

    QMessageBox box(this);
    box.setWindowTitle(tr("About IMU Orvanta"));
    box.setTextFormat(Qt::RichText);
    box.setText(version + m_buildText + description);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse
                               | Qt::LinksAccessibleByKeyboard);
    box.setFont(QFont(TextFamily, AboutPointSize, QFont::Medium));
    box.setIconPixmap(QPixmap(QString::fromLatin1(ResourcePaths::MakerLogo))
                          .scaled(AboutLogoSize, AboutLogoSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    box.move(x() + width() / 4, y() + AboutTopOffset);
    box.exec();
}
