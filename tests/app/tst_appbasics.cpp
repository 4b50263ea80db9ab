#include "ApplicationStartup.h"
#include "MainWindow.h"
#include "ResourcePaths.h"
#include "SharedTables.h"
#include "ui_mainwindow.h"

#include <QtTest>
#include <QtWidgets>

// The small pieces the windows stand on: version text, fonts, pictures and the main window form.
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
