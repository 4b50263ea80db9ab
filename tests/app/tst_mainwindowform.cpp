#include "ui_mainwindow.h"

#include <QMainWindow>
#include <QtTest>

#include <memory>

// The main window form as the rest of the program finds it.
class TestMainWindowForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void objectsTheProgramUsesExist();
    void everyActionIconLoads();
    void spinBoxRanges();

private:
    std::unique_ptr<QMainWindow> m_window;
};

void TestMainWindowForm::init()
{
    m_window = std::make_unique<QMainWindow>();
    Ui::MainWindow().setupUi(m_window.get());
}

void TestMainWindowForm::cleanup()
{
    m_window.reset();
}

void TestMainWindowForm::objectsTheProgramUsesExist()
{
    const QList<QPair<const char *, QStringList>> classes{
        {"QAction", {"actionAbout", "actionConnect", "actionInfoIMU", "actionConfigure", "actionClear", "actionQuit",
                     "actionEthernetConnect", "actionHaltSerialPort", "actionReadSettings", "actionChartViewer",
                     "actionHeading", "action3D_Viewer", "actionAttitudeMeter", "actionSelectFile",
                     "actionDataLogging"}},
        {"QToolBar", {"infoToolBar"}},
        {"QVBoxLayout", {"verticalLayout_Console"}},
        {"QTabWidget", {"tabWidget"}},
        {"QWidget", {"tabSettings", "tabOutputSettings", "tabOutputProtocol", "tabHeading"}},
        {"QGroupBox", {"groupBox_GPS_RadioButtons", "groupBoxEthernet", "groupBoxFreq", "groupBoxFlags",
                       "groupBoxAngOffsets", "groupBoxSelectParameters", "groupBoxAngularMotion",
                       "groupBoxLinearMotion", "groupBoxExtraParameters", "groupBoxOutputPrtActions", "groupBoxAngles",
                       "groupBoxAngRate", "groupBoxLinearAcc", "groupBoxHeave", "groupBox_Status"}},
        {"QComboBox", {"RS232BaudRateBox", "RS422BaudRateBox", "GPSRS232BaudRateBox", "IMUfreqBox", "ComboBoxHeader"}},
        {"QRadioButton", {"radioButtonActiveAll", "radioButtonActiveRS232", "radioButtonActive422",
                          "radioButtonActiveGPS232", "radioButtonDynamicIP"}},
        {"QLineEdit", {"lineEditIMUIP4_0", "lineEditIMUIP4_1", "lineEditIMUIP4_2", "lineEditIMUIP4_3",
                       "lineEditIMUUdpPort", "lineEditDstIP4_0", "lineEditDstIP4_1", "lineEditDstIP4_2",
                       "lineEditDstIP4_3", "lineEditLocalUdpPort"}},
        {"QPushButton", {"pushButtonApplyChangesIMU", "pushButtonApplyChangesIMUOutputSettings",
                         "pushButtonSelectAllPrtParameters", "pushButtonClearAllPrtParameters",
                         "pushButtonApplyProtocol", "pushButtonApplyChangesCompass"}},
        {"QCheckBox", {"checkBoxInvRoll", "checkBoxInvPitch", "checkBoxInvYaw", "checkBoxPositiveYaw",
                       "checkBoxInvHv", "checkBoxRoll", "checkBoxPitch", "checkBoxYaw", "checkBoxRrate",
                       "checkBoxPrate", "checkBoxYrate", "checkBoxHeave", "checkBoxHvVel", "checkBoxAx",
                       "checkBoxAy", "checkBoxAz", "checkBoxChecksum", "checkBoxCounter"}},
        {"QDoubleSpinBox", {"doubleSpinBoxRof", "doubleSpinBoxPof", "doubleSpinBoxYof", "doubleSpinBoxNorthOffset",
                            "doubleSpinBoxXgauss", "doubleSpinBoxYgauss", "doubleSpinBoxZgauss"}},
        {"QLabel", {"label_Protocol", "labelRoll", "labelPitch", "labelYaw", "labelRollRate", "labelPitchRate",
                    "labelYawRate", "labelAx", "labelAy", "labelAz"}},
        {"QLCDNumber", {"lcdNumberHeave"}},
    };
    for (const auto &[className, names] : classes) {
        for (const QString &name : names) {
            const QList<QObject *> found = m_window->findChildren<QObject *>(name);
            QVERIFY2(found.size() == 1 && QLatin1String(found.first()->metaObject()->className()) == className,
                     qPrintable(name));
        }
    }
}

void TestMainWindowForm::everyActionIconLoads()
{
    int named = 0;
    for (const QAction *action : m_window->findChildren<QAction *>()) {
        if (action->objectName().isEmpty())
            continue;
        ++named;
        QVERIFY2(!action->icon().pixmap(QSize(25, 25)).isNull(), qPrintable(action->objectName()));
    }
    QCOMPARE(named, 15);
}

void TestMainWindowForm::spinBoxRanges()
{
    struct Range { const char *name; double minimum; double maximum; double step; int decimals; };
    const Range ranges[] = {
        {"doubleSpinBoxRof", -90, 90, 0.01, 2},          {"doubleSpinBoxPof", -90, 90, 0.01, 2},
        {"doubleSpinBoxYof", -90, 90, 0.01, 2},          {"doubleSpinBoxNorthOffset", -360, 360, 0.1, 1},
        {"doubleSpinBoxXgauss", -4, 4, 0.01, 2},         {"doubleSpinBoxYgauss", -4, 4, 0.01, 2},
        {"doubleSpinBoxZgauss", -4, 4, 0.01, 2},
    };
    for (const Range &range : ranges) {
        const auto *box = m_window->findChild<QDoubleSpinBox *>(QLatin1String(range.name));
        QVERIFY2(box, range.name);
        QCOMPARE(box->minimum(), range.minimum);
        QCOMPARE(box->maximum(), range.maximum);
        QCOMPARE(box->singleStep(), range.step);
        QCOMPARE(box->decimals(), range.decimals);
    }
}

QTEST_MAIN(TestMainWindowForm)
#include "tst_mainwindowform.moc"
