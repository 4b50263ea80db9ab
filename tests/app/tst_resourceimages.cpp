#include "ResourcePaths.h"

#include <QImage>
#include <QtTest>

class TestResourceImages : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureLoads();
};

void TestResourceImages::everyPictureLoads()
{
    for (const char *path : ResourcePaths::Images)
        QVERIFY2(!QImage(QString::fromLatin1(path)).isNull(), path);
}

QTEST_MAIN(TestResourceImages)
#include "tst_resourceimages.moc"
