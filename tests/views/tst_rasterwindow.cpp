#include "RasterWindow.h"

#include <QPainter>
#include <QScreen>
#include <QTest>

namespace {

// Records every paint: how often, and the size of the device painted on.
class ProbeWindow : public RasterWindow
{
public:
    int renders = 0;
    QSize deviceSize;

protected:
    void render(QPainter *painter) override
    {
        ++renders;
        deviceSize = QSize(painter->device()->width(), painter->device()->height());
    }
};

QImage grabbed(QWindow &window)
{
    return window.screen()->grabWindow(window.winId()).toImage();
}

} // namespace

class TestRasterWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsHiddenWithItsGeometry();
    void hiddenWindowPaintsNothing();
    void exposedWindowPaints();
    void renderLaterPaintsAtTheNextFrame();
    void resizePaintsAtTheNewSize();
    void defaultContentIsCentredTextOnWhite();
};

void TestRasterWindow::startsHiddenWithItsGeometry()
{
    RasterWindow window;
    QVERIFY(!window.isVisible());
    QCOMPARE(window.geometry(), QRect(100, 100, 300, 300));
}

void TestRasterWindow::hiddenWindowPaintsNothing()
{
    ProbeWindow window;
    window.renderNow();
    QEvent update(QEvent::UpdateRequest);
    QVERIFY(QCoreApplication::sendEvent(&window, &update));
    QCOMPARE(window.renders, 0);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.hide();
    QTRY_VERIFY(!window.isExposed());
    const int before = window.renders;
    window.renderNow();
    QCoreApplication::sendEvent(&window, &update);
    QCOMPARE(window.renders, before);
}

void TestRasterWindow::exposedWindowPaints()
{
    ProbeWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.renders > 0);

    const int before = window.renders;
    window.renderNow();
    QCOMPARE(window.renders, before + 1);
    QCOMPARE(window.deviceSize, window.size());
}

void TestRasterWindow::renderLaterPaintsAtTheNextFrame()
{
    ProbeWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int before = window.renders;
    window.renderLater();
    QCOMPARE(window.renders, before);
    QTRY_VERIFY(window.renders > before);
}

void TestRasterWindow::resizePaintsAtTheNewSize()
{
    ProbeWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(420, 260);
    QTRY_COMPARE(window.deviceSize, QSize(420, 260));
    QCOMPARE(grabbed(window).size(), QSize(420, 260));
}

void TestRasterWindow::defaultContentIsCentredTextOnWhite()
{
    RasterWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.renderNow();
    const QImage image = grabbed(window);
    QCOMPARE(image.size(), QSize(300, 300));
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));
    QCOMPARE(image.pixelColor(297, 297), QColor(Qt::white));

    // The text's ink lies in a band around the centre, balanced left and right.
    int inkLeft = image.width();
    int inkRight = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                QVERIFY2(qAbs(y - 150) < 20, "ink far from the vertical centre");
                inkLeft = qMin(inkLeft, x);
                inkRight = qMax(inkRight, x);
            }
        }
    }
    QVERIFY(inkRight > inkLeft);
    QVERIFY(qAbs((inkLeft + inkRight) / 2 - 150) <= 3);
}

QTEST_MAIN(TestRasterWindow)
#include "tst_rasterwindow.moc"
