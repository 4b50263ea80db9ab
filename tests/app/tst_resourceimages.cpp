#include "ResourcePaths.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QtTest>

// The pictures and shaders compiled into the program.
class TestResourceImages : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureLoads_data();
    void everyPictureLoads();
    void everyShaderIsReadable_data();
    void everyShaderIsReadable();
    void ledFramesShareOneSize();
    void ledWithoutSuffixIsFound();
    void turnedLedDiffersFromLed();
    void modelPicturesAreLandscape();
};

void TestResourceImages::everyPictureLoads_data()
{
    QTest::addColumn<QString>("path");
    for (const char *path : ResourcePaths::Images)
        QTest::newRow(path) << QString::fromLatin1(path);
}

void TestResourceImages::everyPictureLoads()
{
    QFETCH(QString, path);
    QVERIFY(path.startsWith(QStringLiteral(":/images/")));
    QVERIFY(path.endsWith(QStringLiteral(".png")));

    const QImage picture(path);
    QVERIFY(!picture.isNull());
    QVERIFY(picture.hasAlphaChannel());
    // A painted picture, not an empty canvas: a good part of it is covered.
    qint64 covered = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            covered += qAlpha(picture.pixel(x, y)) > 0;
    QVERIFY(covered * 10 > qint64(picture.width()) * picture.height());
}

void TestResourceImages::everyShaderIsReadable_data()
{
    QTest::addColumn<QString>("path");
    for (const char *path : ResourcePaths::Shaders)
        QTest::newRow(path) << QString::fromLatin1(path);
}

void TestResourceImages::everyShaderIsReadable()
{
    QFETCH(QString, path);
    QFile shader(path);
    QVERIFY(shader.open(QIODevice::ReadOnly | QIODevice::Text));
    QVERIFY(shader.readAll().contains("void main()"));
}

void TestResourceImages::ledFramesShareOneSize()
{
    const QSize size = QImage(ResourcePaths::GreenLed).size();
    QVERIFY(!size.isEmpty());
    QCOMPARE(size.width(), size.height());
    for (const char *path : {ResourcePaths::GreenLed45, ResourcePaths::RedLed, ResourcePaths::OrangeLed})
        QCOMPARE(QImage(path).size(), size);
}

void TestResourceImages::ledWithoutSuffixIsFound()
{
    // The logging animation names the turned LED without its suffix.
    const QPixmap bySuffixSearch(QStringLiteral(":/images/green-led-45"));
    QVERIFY(!bySuffixSearch.isNull());
    QCOMPARE(bySuffixSearch.toImage(), QPixmap(ResourcePaths::GreenLed45).toImage());
}

void TestResourceImages::turnedLedDiffersFromLed()
{
    const QImage led = QImage(ResourcePaths::GreenLed).convertToFormat(QImage::Format_ARGB32);
    const QImage turned = QImage(ResourcePaths::GreenLed45).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(led != turned);
}

void TestResourceImages::modelPicturesAreLandscape()
{
    for (const char *path : {ResourcePaths::ModelDravona, ResourcePaths::ModelQuorvex, ResourcePaths::ModelOem}) {
        const QImage picture(path);
        QVERIFY2(picture.width() > picture.height(), path);
    }
    const QImage logo(ResourcePaths::MakerLogo);
    QCOMPARE(logo.width(), logo.height());
    QVERIFY(logo.width() >= 80);
}

QTEST_MAIN(TestResourceImages)
#include "tst_resourceimages.moc"
