#include "ApplicationStartup.h"
#include "MainWindow.h"
#include "ResourcePaths.h"
#include "SerialPortFilter.h"
#include "SharedTables.h"
#include "ui_mainwindow.h"

#include <QtTest>
#include <QtWidgets>

using SerialPortFilter::Platform;
Q_DECLARE_METATYPE(SerialPortFilter::Platform)

// The small pieces the windows stand on: version text, port filter, fonts, pictures and the main window form.
class TestAppBasics : public QObject
{
    Q_OBJECT

private slots:
    void versionText_data()
    {
        QTest::addColumn<QString>("compilerDate");
        QTest::addColumn<QString>("monthDay");
        const QStringList months{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        for (int i = 0; i < months.size(); ++i)
            QTest::newRow(qPrintable(months.at(i))) << months.at(i) + " 25 2026"
                                                    << QString("%1.25").arg(i + 1, 2, 10, QChar('0'));
        QTest::newRow("single-digit day") << "Sep  3 2026" << "09.03";
    }

    void versionText()
    {
        QFETCH(QString, compilerDate);
        QTEST(monthDayFromCompilerDate(compilerDate), "monthDay");
    }

    void portFilter_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("description");
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<bool>("listed");
        const auto mac = Platform::MacOS, lnx = Platform::Linux;
        QTest::newRow("mac call-out device") << "/dev/cu.x" << "" << mac << true;
        QTest::newRow("mac call-out, upper case") << "/DEV/CU.x" << "" << mac << true;
        QTest::newRow("mac call-in device") << "/dev/tty.usbserial" << "" << mac << false;
        QTest::newRow("linux usb serial") << "/dev/ttyUSB0" << "" << lnx << true;
        QTest::newRow("linux cu") << "/dev/cu.x" << "" << lnx << true;
        QTest::newRow("linux pseudo terminal") << "/dev/pts/3" << "" << lnx << true;
        QTest::newRow("linux bluetooth") << "/dev/rfcomm0" << "" << lnx << true;
        QTest::newRow("linux on-board uart") << "/dev/ttyAMA0" << "" << lnx << true;
        QTest::newRow("mac bluetooth") << "/dev/cu.Bluetooth-Incoming-Port" << "" << mac << true;
        QTest::newRow("mac bluetooth call-in") << "/dev/tty.Bluetooth-Incoming-Port" << "" << mac << false;
        QTest::newRow("jig cable on bluetooth") << "/dev/rfcomm1" << "C232HM" << lnx << false;
        QTest::newRow("jig cable") << "/dev/ttyUSB0" << "C232HM-DDHSL-0" << lnx << false;
        QTest::newRow("lower-case cable name") << "/dev/ttyUSB0" << "c232hm" << lnx << true;
    }

    void portFilter()
    {
        QFETCH(QString, location);
        QFETCH(QString, description);
        QFETCH(Platform, platform);
        QTEST(SerialPortFilter::isListed(location, description, platform), "listed");
    }

    void fontsAndPicturesLoad()
    {
        QVERIFY(QFile::exists(":/fonts/Open_Sans/OpenSans-Light.ttf"));
        loadApplicationFonts();
        // Both families with more than one face each, not one face alone.
        for (const QString family : {"Open Sans", "Source Code Pro"})
            QVERIFY2(QFontDatabase::styles(family).size() > 1, qPrintable(QFontDatabase::families().join(", ")));
        QVERIFY(QFontDatabase::isFixedPitch("Source Code Pro"));
        for (const char *path : ResourcePaths::Images)
            QVERIFY2(!QImage(QString::fromLatin1(path)).isNull(), path);
    }

    // The form as the rest of the program finds it: the objects the window's slots
    // are connected to by name, icons, spin-box ranges.
    void mainWindowForm()
    {
        QMainWindow window;
        Ui::MainWindow().setupUi(&window);
        // Each "on_<object>_<signal>" slot: exactly one object of that name, with that signal.
        const QMetaObject &meta = MainWindow::staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QByteArray slot = meta.method(i).methodSignature();
            if (!slot.startsWith("on_"))
                continue;
            const qsizetype open = slot.indexOf('(');
            const qsizetype split = slot.lastIndexOf('_', open);
            const QList<QObject *> found = window.findChildren<QObject *>(QString::fromLatin1(slot.mid(3, split - 3)));
            QVERIFY2(found.size() == 1, slot.constData());
            QVERIFY2(found.first()->metaObject()->indexOfSignal(slot.mid(split + 1)) >= 0, slot.constData());
        }
        for (const QAction *action : window.findChildren<QAction *>(QRegularExpression(".")))
            QVERIFY2(!action->icon().pixmap(QSize(25, 25)).isNull(), qPrintable(action->objectName()));

        // Spin boxes by name, then minimum, maximum, step and decimals.
        const std::tuple<const char *, double, double, double, int> ranges[] = {
            {"Rof Pof Yof", -90, 90, 0.01, 2}, {"NorthOffset", -360, 360, 0.1, 1},
            {"Xgauss Ygauss Zgauss", -4, 4, 0.01, 2}};
        for (const auto &[names, minimum, maximum, step, decimals] : ranges) {
            for (const QString &name : QString(names).split(' ')) {
                const auto *box = window.findChild<QDoubleSpinBox *>("doubleSpinBox" + name);
                QVERIFY2(box && box->minimum() == minimum && box->maximum() == maximum && box->singleStep() == step
                             && box->decimals() == decimals, qPrintable(name));
            }
        }
    }
};

QTEST_MAIN(TestAppBasics)
#include "tst_appbasics.moc"
