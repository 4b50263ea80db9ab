#include "ui_mainwindow.h"

#include <QMainWindow>
#include <QTabBar>
#include <QtTest>

#include <memory>

// The main window form as the rest of the program finds it: every named object
// with its class, the actions with their pictures and texts, the tool bars, the
// ranges of the number boxes and the state right after setupUi.
class TestMainWindowForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void namedObjects_data();
    void namedObjects();
    void actions_data();
    void actions();
    void actionIconsShowTheirPictures_data();
    void actionIconsShowTheirPictures();
    void toolBars_data();
    void toolBars();
    void spinBoxRanges_data();
    void spinBoxRanges();
    void windowAndCentralArea();
    void stateRightAfterSetup();
    void tabPagesInOrder();
    void addressEditsAreColouredByRole();
    void compassButtonsShowTheCompassIcon();
    void focusFollowsTheFormOrder();
    void tabBarHidesWithOnePageLeft();
    void rendersTheWholeWindow();

private:
    template<typename T>
    T *child(const char *name) const
    {
        T *object = m_window->findChild<T *>(QString::fromLatin1(name));
        if (!object)
            qFatal("form object %s missing", name);
        return object;
    }

    std::unique_ptr<QMainWindow> m_window;
    std::unique_ptr<Ui::MainWindow> m_ui;
};

void TestMainWindowForm::init()
{
    m_window = std::make_unique<QMainWindow>();
    m_ui = std::make_unique<Ui::MainWindow>();
    m_ui->setupUi(m_window.get());
}

void TestMainWindowForm::cleanup()
{
    m_ui.reset();
    m_window.reset();
}

void TestMainWindowForm::namedObjects_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");

    struct Named { const char *name; const char *className; };
    const Named objects[] = {
        {"centralWidget", "QWidget"}, {"gridLayout_22", "QGridLayout"},
        {"verticalLayout_Console", "QVBoxLayout"}, {"tabWidget", "QTabWidget"},
        {"tabSettings", "QWidget"}, {"gridLayout_2", "QGridLayout"},
        {"groupBoxSerialSettings", "QGroupBox"}, {"gridLayout_9", "QGridLayout"},
        {"groupBox_17", "QGroupBox"}, {"gridLayout_29", "QGridLayout"}, {"labelSN_2", "QLabel"},
        {"RS232BaudRateBox", "QComboBox"}, {"labelFWID_2", "QLabel"},
        {"RS422BaudRateBox", "QComboBox"}, {"labelFWID_3", "QLabel"},
        {"GPSRS232BaudRateBox", "QComboBox"}, {"groupBox_GPS_RadioButtons", "QGroupBox"},
        {"gridLayout_30", "QGridLayout"}, {"radioButtonActiveAll", "QRadioButton"},
        {"radioButtonActiveRS232", "QRadioButton"}, {"radioButtonActive422", "QRadioButton"},
        {"radioButtonActiveGPS232", "QRadioButton"}, {"groupBoxEthernet", "QGroupBox"},
        {"gridLayout_31", "QGridLayout"}, {"label_IP_Adresses", "QLabel"},
        {"label_PortNr", "QLabel"}, {"label_IP_Assignment", "QLabel"}, {"label_IMU_IP", "QLabel"},
        {"lineEditIMUIP4_0", "QLineEdit"}, {"label_dot1", "QLabel"},
        {"lineEditIMUIP4_1", "QLineEdit"}, {"label_dot2", "QLabel"},
        {"lineEditIMUIP4_2", "QLineEdit"}, {"label_dot3", "QLabel"},
        {"lineEditIMUIP4_3", "QLineEdit"}, {"lineEditIMUUdpPort", "QLineEdit"},
        {"radioButtonDynamicIP", "QRadioButton"}, {"label_TargetIP", "QLabel"},
        {"lineEditDstIP4_0", "QLineEdit"}, {"label_dot4", "QLabel"},
        {"lineEditDstIP4_1", "QLineEdit"}, {"label_dot5", "QLabel"},
        {"lineEditDstIP4_2", "QLineEdit"}, {"label_dot6", "QLabel"},
        {"lineEditDstIP4_3", "QLineEdit"}, {"lineEditLocalUdpPort", "QLineEdit"},
        {"groupBoxInterfaceAction", "QGroupBox"}, {"gridLayout_10", "QGridLayout"},
        {"pushButtonApplyChangesIMU", "QPushButton"}, {"tabOutputSettings", "QWidget"},
        {"gridLayout_3", "QGridLayout"}, {"groupBoxOutputParameters", "QGroupBox"},
        {"gridLayout_16", "QGridLayout"}, {"groupBoxFreq", "QGroupBox"},
        {"gridLayout_13", "QGridLayout"}, {"IMUfreqBox", "QComboBox"},
        {"groupBoxFlags", "QGroupBox"}, {"gridLayout_12", "QGridLayout"},
        {"checkBoxInvRoll", "QCheckBox"}, {"checkBoxInvPitch", "QCheckBox"},
        {"checkBoxInvYaw", "QCheckBox"}, {"checkBoxPositiveYaw", "QCheckBox"},
        {"checkBoxInvHv", "QCheckBox"}, {"groupBoxAngOffsets", "QGroupBox"},
        {"gridLayout_14", "QGridLayout"}, {"horizontalLayout_40", "QHBoxLayout"},
        {"label_2", "QLabel"}, {"doubleSpinBoxRof", "QDoubleSpinBox"},
        {"horizontalLayout_41", "QHBoxLayout"}, {"label_6", "QLabel"},
        {"doubleSpinBoxPof", "QDoubleSpinBox"}, {"horizontalLayout_42", "QHBoxLayout"},
        {"label_8", "QLabel"}, {"doubleSpinBoxYof", "QDoubleSpinBox"},
        {"groupBoxOutputSettingsActions", "QGroupBox"}, {"gridLayout_15", "QGridLayout"},
        {"pushButtonApplyChangesIMUOutputSettings", "QPushButton"},
        {"tabOutputProtocol", "QWidget"}, {"gridLayout_4", "QGridLayout"},
        {"groupBoxSelectParameters", "QGroupBox"}, {"gridLayout_6", "QGridLayout"},
        {"groupBoxAngularMotion", "QGroupBox"}, {"gridLayout_20", "QGridLayout"},
        {"gridLayout_24", "QGridLayout"}, {"checkBoxRoll", "QCheckBox"},
        {"checkBoxPitch", "QCheckBox"}, {"checkBoxYaw", "QCheckBox"},
        {"gridLayout_25", "QGridLayout"}, {"checkBoxRrate", "QCheckBox"},
        {"checkBoxPrate", "QCheckBox"}, {"checkBoxYrate", "QCheckBox"},
        {"groupBoxLinearMotion", "QGroupBox"}, {"gridLayout_21", "QGridLayout"},
        {"gridLayout_26", "QGridLayout"}, {"checkBoxHeave", "QCheckBox"},
        {"checkBoxHvVel", "QCheckBox"}, {"horizontalLayout_20", "QHBoxLayout"},
        {"checkBoxAx", "QCheckBox"}, {"checkBoxAy", "QCheckBox"}, {"checkBoxAz", "QCheckBox"},
        {"groupBoxExtraParameters", "QGroupBox"}, {"gridLayout", "QGridLayout"},
        {"checkBoxChecksum", "QCheckBox"}, {"checkBoxCounter", "QCheckBox"}, {"line_5", "QFrame"},
        {"label_Protocol", "QLabel"}, {"ComboBoxHeader", "QComboBox"},
        {"groupBoxOutputPrtActions", "QGroupBox"}, {"gridLayout_5", "QGridLayout"},
        {"pushButtonSelectAllPrtParameters", "QPushButton"},
        {"pushButtonClearAllPrtParameters", "QPushButton"},
        {"pushButtonApplyProtocol", "QPushButton"}, {"tabData", "QWidget"},
        {"gridLayout_7", "QGridLayout"}, {"groupBoxAngles", "QGroupBox"},
        {"verticalLayout_3", "QVBoxLayout"}, {"verticalLayout", "QVBoxLayout"},
        {"labelRoll", "QLabel"}, {"labelPitch", "QLabel"}, {"labelYaw", "QLabel"},
        {"groupBoxAngRate", "QGroupBox"}, {"verticalLayout_4", "QVBoxLayout"},
        {"verticalLayout_5", "QVBoxLayout"}, {"labelRollRate", "QLabel"},
        {"labelPitchRate", "QLabel"}, {"labelYawRate", "QLabel"},
        {"groupBoxLinearAcc", "QGroupBox"}, {"verticalLayout_6", "QVBoxLayout"},
        {"verticalLayout_7", "QVBoxLayout"}, {"labelAx", "QLabel"}, {"labelAy", "QLabel"},
        {"labelAz", "QLabel"}, {"groupBoxHeave", "QGroupBox"}, {"verticalLayout_8", "QVBoxLayout"},
        {"lcdNumberHeave", "QLCDNumber"}, {"tabStatistics", "QWidget"}, {"tabHeading", "QWidget"},
        {"gridLayout_8", "QGridLayout"}, {"groupBox_Mag", "QGroupBox"},
        {"gridLayout_17", "QGridLayout"}, {"label_9", "QLabel"},
        {"doubleSpinBoxNorthOffset", "QDoubleSpinBox"}, {"label_10", "QLabel"},
        {"doubleSpinBoxXgauss", "QDoubleSpinBox"}, {"label_11", "QLabel"},
        {"doubleSpinBoxYgauss", "QDoubleSpinBox"}, {"label_12", "QLabel"},
        {"doubleSpinBoxZgauss", "QDoubleSpinBox"}, {"groupBox_MagCalib", "QGroupBox"},
        {"gridLayout_18", "QGridLayout"}, {"toolButtonStartCompassCalibration", "QToolButton"},
        {"toolButtonResetCompass", "QToolButton"}, {"toolButtonDisableCompass", "QToolButton"},
        {"groupBox_MagAction", "QGroupBox"}, {"gridLayout_19", "QGridLayout"},
        {"pushButtonApplyChangesCompass", "QPushButton"}, {"groupBox_Status", "QGroupBox"},
        {"mainToolBar", "QToolBar"}, {"ScreenToolBar", "QToolBar"}, {"infoToolBar", "QToolBar"},
        {"actionAbout", "QAction"}, {"actionConnect", "QAction"}, {"actionInfoIMU", "QAction"},
        {"actionConfigure", "QAction"}, {"actionClear", "QAction"}, {"actionQuit", "QAction"},
        {"actionEthernetConnect", "QAction"}, {"actionHaltSerialPort", "QAction"},
        {"actionReadSettings", "QAction"}, {"actionChartViewer", "QAction"},
        {"actionHeading", "QAction"}, {"action3D_Viewer", "QAction"},
        {"actionAttitudeMeter", "QAction"}, {"actionSelectFile", "QAction"},
        {"actionDataLogging", "QAction"},
    };
    for (const Named &object : objects)
        QTest::newRow(object.name) << QString::fromLatin1(object.name) << QString::fromLatin1(object.className);
}

void TestMainWindowForm::namedObjects()
{
    QFETCH(QString, name);
    QFETCH(QString, className);

    const QList<QObject *> found = m_window->findChildren<QObject *>(name);
    QCOMPARE(found.size(), 1);
    QCOMPARE(QString::fromLatin1(found.first()->metaObject()->className()), className);
}

void TestMainWindowForm::actions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("checkable");

    QTest::newRow("About") << "actionAbout" << "&About" << "About program" << "Alt+A" << false;
    QTest::newRow("Connect") << "actionConnect" << "Connect" << "Connect to serial port" << "Ctrl+O" << true;
    QTest::newRow("InfoIMU") << "actionInfoIMU" << "&InfoIMU" << "IMU Factory Information" << "Ctrl+D" << false;
    QTest::newRow("Configure") << "actionConfigure" << "&Configure" << "Configure serial port" << "Alt+C" << false;
    QTest::newRow("Clear") << "actionClear" << "C&lear" << "Clear data" << "Alt+L" << false;
    QTest::newRow("Quit") << "actionQuit" << "&Quit" << "Quit" << "Ctrl+Q" << false;
    QTest::newRow("EthernetConnect") << "actionEthernetConnect" << "EthernetConnect" << "Connect Ethernet" << "" << true;
    QTest::newRow("HaltSerialPort") << "actionHaltSerialPort" << "haltSerialPort" << "Halt Terminal Window" << "" << true;
    QTest::newRow("ReadSettings") << "actionReadSettings" << "ReadSettings" << "Read IMU Settings" << "" << false;
    QTest::newRow("ChartViewer") << "actionChartViewer" << "ChartViewer" << "Chart Viewer" << "" << false;
    QTest::newRow("Heading") << "actionHeading" << "Heading" << "Heading/Yaw" << "" << false;
    QTest::newRow("3D_Viewer") << "action3D_Viewer" << "3D Viewer" << "3D Viewer" << "" << false;
    QTest::newRow("AttitudeMeter") << "actionAttitudeMeter" << "AttitudeMeter" << "Attitude Meter" << "" << false;
    QTest::newRow("SelectFile") << "actionSelectFile" << "Select File" << "select file" << "" << false;
    QTest::newRow("DataLogging") << "actionDataLogging" << "Data logging" << "start data logging" << "" << true;
}

void TestMainWindowForm::actions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QString, shortcut);
    QFETCH(bool, checkable);

    const QAction *action = m_window->findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->parent(), static_cast<QObject *>(m_window.get()));
    QCOMPARE(action->text(), text);
    // An action without a tool tip of its own shows its text without the mnemonic.
    QCOMPARE(action->toolTip(), toolTip);
    QCOMPARE(action->shortcut(), QKeySequence(shortcut));
    QCOMPARE(action->isCheckable(), checkable);
    QVERIFY(!action->isChecked());
    QVERIFY(action->isEnabled());
    QVERIFY(action->isVisible());
    QCOMPARE(action->priority(), QAction::NormalPriority);
}

void TestMainWindowForm::actionIconsShowTheirPictures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("offPicture");
    QTest::addColumn<QString>("onPicture");

    const QString none;
    QTest::newRow("About") << "actionAbout" << ":/images/Help.png" << none;
    QTest::newRow("Connect") << "actionConnect" << ":/images/disconnectSerial.png" << ":/images/connectSerial.png";
    QTest::newRow("InfoIMU") << "actionInfoIMU" << ":/images/infoicon.png" << none;
    QTest::newRow("Configure") << "actionConfigure" << ":/images/serial-port-config.png" << none;
    QTest::newRow("Clear") << "actionClear" << ":/images/clear.png" << none;
    QTest::newRow("Quit") << "actionQuit" << ":/images/application-exit.png" << none;
    QTest::newRow("EthernetConnect") << "actionEthernetConnect" << ":/images/disconnectEth2.png" << ":/images/connectEth2.png";
    QTest::newRow("HaltSerialPort") << "actionHaltSerialPort" << ":/images/play.png" << ":/images/pause.png";
    QTest::newRow("ReadSettings") << "actionReadSettings" << ":/images/update-icon-blue-button-.png" << none;
    QTest::newRow("ChartViewer") << "actionChartViewer" << ":/images/charticon.png" << none;
    QTest::newRow("Heading") << "actionHeading" << ":/images/safari-icon.png" << none;
    QTest::newRow("3D_Viewer") << "action3D_Viewer" << ":/images/oceanicon.png" << none;
    QTest::newRow("AttitudeMeter") << "actionAttitudeMeter" << ":/images/attitudeMeter.png" << none;
    QTest::newRow("SelectFile") << "actionSelectFile" << ":/images/open.png" << none;
    QTest::newRow("DataLogging") << "actionDataLogging" << ":/images/data-file-icon.png" << ":/images/Data-Capture.png";
}

// The icon's picture for a state, at the picture's own size.
static QImage iconPicture(const QIcon &icon, QIcon::State state, const QSize &size)
{
    return icon.pixmap(size, QIcon::Normal, state).toImage().convertToFormat(QImage::Format_ARGB32);
}

void TestMainWindowForm::actionIconsShowTheirPictures()
{
    QFETCH(QString, name);
    QFETCH(QString, offPicture);
    QFETCH(QString, onPicture);

    const QIcon icon = m_window->findChild<QAction *>(name)->icon();
    const QImage off = QImage(offPicture).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!off.isNull(), qPrintable(offPicture));
    QCOMPARE(iconPicture(icon, QIcon::Off, off.size()), off);

    // Without a picture of its own the On state shows the Off picture.
    const QImage on = onPicture.isEmpty() ? off : QImage(onPicture).convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!on.isNull(), qPrintable(onPicture));
    QCOMPARE(iconPicture(icon, QIcon::On, on.size()), on);
    QVERIFY(off != on || onPicture.isEmpty());
}

void TestMainWindowForm::toolBars_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("contents");
    QTest::addColumn<QSize>("iconSize");
    QTest::addColumn<QString>("windowTitle");

    QTest::newRow("main") << "mainToolBar"
                          << QStringList{"actionConfigure", "actionConnect", "|", "actionEthernetConnect", "|",
                                         "actionSelectFile", "|", "actionDataLogging", "|", "actionChartViewer",
                                         "|", "actionHeading", "|", "actionAttitudeMeter", "|",
                                         "action3D_Viewer", "|", "actionReadSettings"}
                          << QSize(32, 25) << QString();
    QTest::newRow("screen") << "ScreenToolBar" << QStringList{"actionHaltSerialPort", "|", "actionClear"}
                            << QSize(25, 25) << "toolBar";
    QTest::newRow("info") << "infoToolBar" << QStringList{"actionInfoIMU", "actionAbout"}
                          << QSize(25, 25) << "toolBar";
}

void TestMainWindowForm::toolBars()
{
    QFETCH(QString, name);
    QFETCH(QStringList, contents);
    QFETCH(QSize, iconSize);
    QFETCH(QString, windowTitle);

    const QToolBar *bar = m_window->findChild<QToolBar *>(name);
    QVERIFY(bar);
    QStringList shown;
    for (const QAction *action : bar->actions())
        shown << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    QCOMPARE(shown, contents);
    QCOMPARE(bar->iconSize(), iconSize);
    QCOMPARE(bar->windowTitle(), windowTitle);
    QCOMPARE(m_window->toolBarArea(const_cast<QToolBar *>(bar)), Qt::TopToolBarArea);
    QVERIFY(bar->isMovable());
    QVERIFY(bar->isFloatable());
}

void TestMainWindowForm::spinBoxRanges_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("decimals");

    QTest::newRow("roll offset") << "doubleSpinBoxRof" << -90.0 << 90.0 << 0.01 << 2;
    QTest::newRow("pitch offset") << "doubleSpinBoxPof" << -90.0 << 90.0 << 0.01 << 2;
    QTest::newRow("yaw offset") << "doubleSpinBoxYof" << -90.0 << 90.0 << 0.01 << 2;
    QTest::newRow("north offset") << "doubleSpinBoxNorthOffset" << -360.0 << 360.0 << 0.1 << 1;
    QTest::newRow("x bias") << "doubleSpinBoxXgauss" << -4.0 << 4.0 << 0.01 << 2;
    QTest::newRow("y bias") << "doubleSpinBoxYgauss" << -4.0 << 4.0 << 0.01 << 2;
    QTest::newRow("z bias") << "doubleSpinBoxZgauss" << -4.0 << 4.0 << 0.01 << 2;
}

void TestMainWindowForm::spinBoxRanges()
{
    QFETCH(QString, name);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, step);
    QFETCH(int, decimals);

    QDoubleSpinBox *box = m_window->findChild<QDoubleSpinBox *>(name);
    QVERIFY(box);
    QCOMPARE(box->minimum(), minimum);
    QCOMPARE(box->maximum(), maximum);
    QCOMPARE(box->singleStep(), step);
    QCOMPARE(box->decimals(), decimals);

    // Entries beyond the range stop at its ends.
    box->setValue(maximum * 10);
    QCOMPARE(box->value(), maximum);
    box->setValue(minimum * 10);
    QCOMPARE(box->value(), minimum);
}

void TestMainWindowForm::windowAndCentralArea()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Simple Terminal"));
    QCOMPARE(m_window->size(), QSize(890, 550));
    QCOMPARE(m_window->minimumSize(), QSize(800, 550));
    QCOMPARE(m_window->locale(), QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(m_window->centralWidget(), m_ui->centralWidget);

    QCOMPARE(m_ui->gridLayout_22->itemAtPosition(0, 0)->layout(), static_cast<QLayout *>(m_ui->verticalLayout_Console));
    QCOMPARE(m_ui->gridLayout_22->itemAtPosition(1, 0)->widget(), static_cast<QWidget *>(m_ui->tabWidget));
    QCOMPARE(m_ui->gridLayout_22->itemAtPosition(2, 0)->widget(), static_cast<QWidget *>(m_ui->groupBox_Status));
    QCOMPARE(m_ui->verticalLayout_Console->count(), 0);
    QCOMPARE(m_ui->verticalLayout_Console->spacing(), 1);
    QCOMPARE(m_ui->groupBox_Status->title(), QString());
    QCOMPARE(m_ui->groupBox_Status->maximumHeight(), 35);
    QCOMPARE(m_ui->tabWidget->maximumHeight(), 250);
    QCOMPARE(m_ui->tabWidget->font().pointSize(), 12);
    QCOMPARE(m_ui->tabWidget->elideMode(), Qt::ElideMiddle);
}

void TestMainWindowForm::stateRightAfterSetup()
{
    for (QComboBox *box : {m_ui->IMUfreqBox, m_ui->ComboBoxHeader}) {
        QCOMPARE(box->count(), 0);
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), QString());
    }
    QCOMPARE(m_ui->IMUfreqBox->maxCount(), 500);
    QCOMPARE(m_ui->IMUfreqBox->maxVisibleItems(), 15);
    QCOMPARE(m_ui->ComboBoxHeader->maxCount(), 100);
    QCOMPARE(m_ui->ComboBoxHeader->maxVisibleItems(), 25);
    QCOMPARE(m_ui->ComboBoxHeader->insertPolicy(), QComboBox::InsertAtCurrent);

    for (QLineEdit *edit : {m_ui->lineEditDstIP4_0, m_ui->lineEditDstIP4_1, m_ui->lineEditDstIP4_2,
                            m_ui->lineEditDstIP4_3})
        QCOMPARE(edit->text(), QStringLiteral("255"));
    for (QLineEdit *edit : {m_ui->lineEditIMUIP4_0, m_ui->lineEditIMUIP4_1, m_ui->lineEditIMUIP4_2,
                            m_ui->lineEditIMUIP4_3}) {
        QCOMPARE(edit->text(), QString());
        QCOMPARE(edit->maxLength(), 3);
        QVERIFY(!edit->hasFrame());
    }
    for (QLineEdit *edit : {m_ui->lineEditIMUUdpPort, m_ui->lineEditLocalUdpPort}) {
        QCOMPARE(edit->text(), QStringLiteral("65535"));
        QCOMPARE(edit->maxLength(), 5);
    }

    QVERIFY(m_ui->radioButtonDynamicIP->isChecked());
    QVERIFY(m_ui->radioButtonActiveAll->isChecked());
    QVERIFY(m_ui->radioButtonActiveAll->isEnabled());
    for (QRadioButton *button : {m_ui->radioButtonActiveRS232, m_ui->radioButtonActive422,
                                 m_ui->radioButtonActiveGPS232}) {
        QVERIFY(!button->isEnabled());
        QVERIFY(!button->isChecked());
    }
    QCOMPARE(m_ui->lcdNumberHeave->digitCount(), 5);
    QCOMPARE(m_ui->lcdNumberHeave->segmentStyle(), QLCDNumber::Flat);
    QVERIFY(m_ui->lcdNumberHeave->smallDecimalPoint());
}

void TestMainWindowForm::tabPagesInOrder()
{
    const QStringList titles{"Interface", "Output Settings", "Output Protocol", "Data", "Statistics", "Heading"};
    const QList<QWidget *> pages{m_ui->tabSettings, m_ui->tabOutputSettings, m_ui->tabOutputProtocol,
                                 m_ui->tabData, m_ui->tabStatistics, m_ui->tabHeading};
    QCOMPARE(m_ui->tabWidget->count(), titles.size());
    for (int index = 0; index < titles.size(); ++index) {
        QCOMPARE(m_ui->tabWidget->widget(index), pages.at(index));
        QCOMPARE(m_ui->tabWidget->tabText(index), titles.at(index));
    }
    QCOMPARE(m_ui->tabWidget->currentIndex(), 0);

    // The statistics page is blank.
    QVERIFY(!m_ui->tabStatistics->layout());
    QVERIFY(m_ui->tabStatistics->findChildren<QWidget *>().isEmpty());
}

void TestMainWindowForm::addressEditsAreColouredByRole()
{
    const QColor device(170, 255, 255);
    const QColor destination(170, 255, 127);
    const QColor disabled(240, 240, 240);

    const QList<QPair<QLineEdit *, QColor>> edits{
        {m_ui->lineEditIMUIP4_0, device}, {m_ui->lineEditIMUIP4_3, device},
        {m_ui->lineEditDstIP4_0, destination}, {m_ui->lineEditDstIP4_3, destination}};
    for (const auto &[edit, colour] : edits) {
        const QPalette palette = edit->palette();
        QCOMPARE(palette.color(QPalette::Active, QPalette::Base), colour);
        QCOMPARE(palette.color(QPalette::Inactive, QPalette::Base), colour);
        QCOMPARE(palette.color(QPalette::Disabled, QPalette::Base), disabled);
        QVERIFY(edit->font().underline());
    }
}

void TestMainWindowForm::compassButtonsShowTheCompassIcon()
{
    const QImage picture = QImage(":/images/ecompassicon.png").convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!picture.isNull());
    for (QToolButton *button : {m_ui->toolButtonStartCompassCalibration, m_ui->toolButtonResetCompass,
                                m_ui->toolButtonDisableCompass}) {
        QCOMPARE(iconPicture(button->icon(), QIcon::Off, picture.size()), picture);
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(button->iconSize(), QSize(25, 25));
    }
    QCOMPARE(m_ui->toolButtonStartCompassCalibration->text(), QStringLiteral("       Start"));
    QCOMPARE(m_ui->toolButtonDisableCompass->toolTip(),
             QStringLiteral("<html><head/><body><p>disable gyroscope and  magnetometer Integration</p></body></html>"));
}

void TestMainWindowForm::focusFollowsTheFormOrder()
{
    const QList<QWidget *> order{
        m_ui->tabWidget, m_ui->RS232BaudRateBox, m_ui->RS422BaudRateBox, m_ui->GPSRS232BaudRateBox,
        m_ui->radioButtonActiveRS232, m_ui->radioButtonActive422, m_ui->radioButtonActiveGPS232,
        m_ui->lineEditIMUIP4_0, m_ui->lineEditIMUIP4_1, m_ui->lineEditIMUIP4_2, m_ui->lineEditIMUIP4_3,
        m_ui->lineEditIMUUdpPort, m_ui->lineEditDstIP4_0, m_ui->lineEditDstIP4_1, m_ui->lineEditDstIP4_2,
        m_ui->lineEditDstIP4_3, m_ui->lineEditLocalUdpPort, m_ui->radioButtonDynamicIP,
        m_ui->pushButtonApplyChangesIMU, m_ui->IMUfreqBox, m_ui->checkBoxInvRoll, m_ui->checkBoxInvYaw,
        m_ui->checkBoxInvHv, m_ui->checkBoxInvPitch, m_ui->checkBoxPositiveYaw, m_ui->doubleSpinBoxRof,
        m_ui->doubleSpinBoxPof, m_ui->doubleSpinBoxYof, m_ui->pushButtonApplyChangesIMUOutputSettings,
        m_ui->pushButtonApplyChangesCompass, m_ui->checkBoxRoll, m_ui->checkBoxPitch, m_ui->checkBoxYaw,
        m_ui->checkBoxHeave, m_ui->checkBoxHvVel, m_ui->checkBoxRrate, m_ui->checkBoxPrate,
        m_ui->checkBoxYrate, m_ui->checkBoxAx, m_ui->checkBoxAy, m_ui->checkBoxAz, m_ui->checkBoxChecksum,
        m_ui->checkBoxCounter, m_ui->ComboBoxHeader, m_ui->pushButtonSelectAllPrtParameters,
        m_ui->pushButtonClearAllPrtParameters, m_ui->pushButtonApplyProtocol, m_ui->doubleSpinBoxNorthOffset,
        m_ui->doubleSpinBoxXgauss, m_ui->doubleSpinBoxYgauss, m_ui->doubleSpinBoxZgauss,
        m_ui->toolButtonStartCompassCalibration, m_ui->toolButtonResetCompass, m_ui->toolButtonDisableCompass};

    // Walking the focus chain from the tab widget meets the widgets in this order;
    // parts of compound widgets, such as the tab widget's pages, may lie between.
    QHash<QWidget *, int> position;
    QWidget *widget = m_ui->tabWidget;
    do {
        position.insert(widget, position.size());
        widget = widget->nextInFocusChain();
    } while (widget != m_ui->tabWidget);

    for (int index = 1; index < order.size(); ++index)
        QVERIFY2(position.value(order.at(index - 1)) < position.value(order.at(index)),
                 qPrintable(order.at(index)->objectName()));
}

void TestMainWindowForm::tabBarHidesWithOnePageLeft()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTabBar *bar = m_ui->tabWidget->tabBar();
    QVERIFY(bar->isVisible());
    while (m_ui->tabWidget->count() > 1)
        m_ui->tabWidget->removeTab(m_ui->tabWidget->count() - 1);
    QVERIFY(bar->isHidden());
}

void TestMainWindowForm::rendersTheWholeWindow()
{
    const QPixmap shot = m_window->grab();
    QCOMPARE(shot.size(), QSize(890, 550));
    // Every page fits into the tab widget's height limit.
    for (QWidget *page : {m_ui->tabSettings, m_ui->tabOutputSettings, m_ui->tabOutputProtocol,
                          m_ui->tabData, m_ui->tabHeading})
        QVERIFY2(page->minimumSizeHint().height() <= m_ui->tabWidget->maximumHeight(),
                 qPrintable(page->objectName()));
}

QTEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"
