#include "ApplicationStartup.h"

#include <QFontDatabase>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QtTest>

// What main() sets up before the main window exists: the compiled-in fonts and
// the default OpenGL surface format.
class TestApplicationStartup : public QObject
{
    Q_OBJECT

private slots:
    void fontsAreLoaded();
    void defaultSurfaceFormat();
};

void TestApplicationStartup::fontsAreLoaded()
{
    QVERIFY(QFile::exists(QStringLiteral(":/fonts/Open_Sans/OpenSans-Light.ttf")));
    QVERIFY(!QDir(QStringLiteral(":/fonts/Source_Code_Pro")).entryList({QStringLiteral("*.ttf")}).isEmpty());

    loadApplicationFonts();

    const QStringList families = QFontDatabase::families();
    QVERIFY2(families.contains(QStringLiteral("Open Sans")), qPrintable(families.join(", ")));
    QVERIFY2(families.contains(QStringLiteral("Source Code Pro")), qPrintable(families.join(", ")));
    // The light face and the regular faces of both families are there, not one face alone.
    QVERIFY(QFontDatabase::styles(QStringLiteral("Open Sans")).size() > 1);
    QVERIFY(QFontDatabase::styles(QStringLiteral("Source Code Pro")).size() > 1);
    QVERIFY(QFontDatabase::isFixedPitch(QStringLiteral("Source Code Pro")));
}

void TestApplicationStartup::defaultSurfaceFormat()
{
    setDefaultSurfaceFormat();

    const QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    QCOMPARE(format.depthBufferSize(), 24);
    QCOMPARE(format.stencilBufferSize(), 8);
    QCOMPARE(format.samples(), 4);
    if (QOpenGLContext::openGLModuleType() == QOpenGLContext::LibGL) {
        QCOMPARE(format.version(), qMakePair(4, 3));
        QCOMPARE(format.profile(), QSurfaceFormat::CoreProfile);
    } else {
        QCOMPARE(format.version(), QSurfaceFormat().version());
        QCOMPARE(format.profile(), QSurfaceFormat().profile());
    }
}

QTEST_MAIN(TestApplicationStartup)
#include "tst_applicationstartup.moc"
