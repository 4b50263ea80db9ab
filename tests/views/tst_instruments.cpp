#include "AttitudeMeter.h"
#include "InstrumentDial.h"
#include "eCompass.h"

#include <QScreen>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

QImage snapshot(RasterWindow &window)
{
    if (!window.isVisible()) {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return QImage();
    }
    window.renderNow();
    return window.screen()->grabWindow(window.winId()).toImage();
}

// The colour at a point given in dial units.
QColor at(const QImage &image, QPointF dial)
{
    const double scale = InstrumentDial::pixelsPerUnit(image.size());
    const QPointF pixel = QPointF(image.width() / 2, image.height() / 2) + dial * scale;
    return image.pixelColor(pixel.toPoint());
}

// One channel clearly above another, through the tints of the glass highlight.
bool dominated(int strong, int weak)
{
    return strong > weak + 20;
}

bool isSky(const QColor &c)
{
    return dominated(c.blue(), c.red());
}

bool isGround(const QColor &c)
{
    return dominated(c.red(), c.blue());
}

bool isYellow(const QColor &c)
{
    return dominated(c.red(), c.blue()) && dominated(c.green(), c.blue());
}

bool isRed(const QColor &c)
{
    return dominated(c.red(), c.blue()) && dominated(c.red(), c.green());
}

bool isBlue(const QColor &c)
{
    return dominated(c.blue(), c.red()) && dominated(c.blue(), c.green());
}

bool isGreen(const QColor &c)
{
    return dominated(c.green(), c.red()) && dominated(c.green(), c.blue());
}

QImage attitude(float roll, float pitch, QSize size = QSize(400, 400))
{
    AttitudeMeter meter;
    meter.resize(size);
    meter.roll = roll;
    meter.pitch = pitch;
    return snapshot(meter);
}

QImage compass(double heading)
{
    eCompass window;
    window.heading = heading;
    return snapshot(window);
}

QString describe(const QColor &c)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

} // namespace

class TestInstruments : public QObject
{
    Q_OBJECT

private slots:
    void windowsAreSetUp();

    void groundChord_data();
    void groundChord();
    void pitchLadderOffset_data();
    void pitchLadderOffset();
    void rollPointerRotation();
    void headingArcSpan_data();
    void headingArcSpan();
    void headingTextOrigin_data();
    void headingTextOrigin();
    void nonFiniteAnglesAreZero();
    void sixteenthsStayInsideInt();
    void dialScale();

    void levelHorizonSplitsSkyAndGround();
    void pitchMovesTheHorizon();
    void rollTiltsTheHorizon();
    void rollPointerFollowsRollWithItsNotch();
    void dialIsCentredInAWideWindow();
    void compassNeedleAndArc();
    void nonFiniteAttitudeDrawsLevel_data();
    void nonFiniteAttitudeDrawsLevel();
    void nonFiniteHeadingDrawsNorth_data();
    void nonFiniteHeadingDrawsNorth();
    void absurdAnglesRender();
};

void TestInstruments::windowsAreSetUp()
{
    AttitudeMeter meter;
    QCOMPARE(meter.title(), QStringLiteral("Attitude Meter"));
    QCOMPARE(meter.size(), QSize(400, 400));
    QCOMPARE(meter.minimumSize(), QSize(50, 50));
    QCOMPARE(meter.roll, 0.0f);
    QCOMPARE(meter.pitch, 0.0f);

    eCompass heading;
    QCOMPARE(heading.title(), QStringLiteral("Heading"));
    QCOMPARE(heading.size(), QSize(400, 400));
    QCOMPARE(heading.minimumSize(), QSize(50, 50));
    QCOMPARE(heading.heading, 0.0);
}

void TestInstruments::groundChord_data()
{
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("pitch");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("span");

    QTest::newRow("level: lower half") << 0.0f << 0.0f << -2880 << 2880;
    QTest::newRow("roll 20") << 20.0f << 0.0f << -3200 << 2880;
    QTest::newRow("pitch -10") << 0.0f << -10.0f << -2720 << 2560;
    QTest::newRow("pitch 10") << 0.0f << 10.0f << -3040 << 3200;
    QTest::newRow("roll 60 unclamped") << 60.0f << 0.0f << -3840 << 2880;
    QTest::newRow("truncated toward zero") << 0.3f << 0.03f << -2885 << 2880;
    QTest::newRow("pitch -90 closes the chord") << 0.0f << -90.0f << -1440 << 0;
}

void TestInstruments::groundChord()
{
    QFETCH(float, roll);
    QFETCH(float, pitch);
    QFETCH(int, start);
    QFETCH(int, span);
    QCOMPARE(InstrumentDial::groundChordStart(roll, pitch), start);
    QCOMPARE(InstrumentDial::groundChordSpan(pitch), span);
}

void TestInstruments::pitchLadderOffset_data()
{
    QTest::addColumn<float>("pitch");
    QTest::addColumn<float>("offset");

    QTest::newRow("level") << 0.0f << 0.0f;
    QTest::newRow("pitch -10 moves 13.5 down") << -10.0f << -13.5f;
    QTest::newRow("pitch 10 moves 15 up") << 10.0f << 15.0f;
    QTest::newRow("pitch 30") << 30.0f << 45.0f;
}

void TestInstruments::pitchLadderOffset()
{
    QFETCH(float, pitch);
    QFETCH(float, offset);
    QVERIFY(qFuzzyCompare(1.0f + InstrumentDial::pitchLadderOffset(pitch, 100), 1.0f + offset));
}

void TestInstruments::rollPointerRotation()
{
    QCOMPARE(InstrumentDial::rollPointerRotation(0.0f), 0.0f);
    QCOMPARE(InstrumentDial::rollPointerRotation(20.0f), 50.0f);
    QCOMPARE(InstrumentDial::rollPointerRotation(60.0f), 150.0f);
    QCOMPARE(InstrumentDial::rollPointerRotation(-50.0f), -125.0f);
}

void TestInstruments::headingArcSpan_data()
{
    QTest::addColumn<double>("heading");
    QTest::addColumn<int>("span");

    QTest::newRow("north: a short stub") << 0.0 << 32;
    QTest::newRow("one degree") << 1.0 << 16;
    QTest::newRow("two degrees: nothing") << 2.0 << 0;
    QTest::newRow("east: 88 degrees clockwise") << 90.0 << -1408;
    QTest::newRow("359.9: almost a circle") << 359.9 << -5726;
    QTest::newRow("-5: 7 degrees anticlockwise") << -5.0 << 112;
    QTest::newRow("400: beyond a full circle") << 400.0 << -6368;
    QTest::newRow("huge is held at int") << 1e12 << std::numeric_limits<int>::min();
}

void TestInstruments::headingArcSpan()
{
    QFETCH(double, heading);
    QFETCH(int, span);
    QCOMPARE(InstrumentDial::headingArcSpan(heading), span);
}

void TestInstruments::headingTextOrigin_data()
{
    QTest::addColumn<double>("heading");
    QTest::addColumn<QPointF>("origin");

    QTest::newRow("0.0") << 0.0 << QPointF(-8, -50);
    QTest::newRow("9.99") << 9.99 << QPointF(-8, -50);
    QTest::newRow("10") << 10.0 << QPointF(-10, -50);
    QTest::newRow("90.0") << 90.0 << QPointF(-10, -50);
    QTest::newRow("99.9") << 99.9 << QPointF(-10, -50);
    QTest::newRow("100") << 100.0 << QPointF(-12, -50);
    QTest::newRow("359.9") << 359.9 << QPointF(-12, -50);
    QTest::newRow("-5.0") << -5.0 << QPointF(-8, -50);
    QTest::newRow("400.0") << 400.0 << QPointF(-12, -50);
    QTest::newRow("not a number") << NaN << QPointF(-12, -50);
}

void TestInstruments::headingTextOrigin()
{
    QFETCH(double, heading);
    QFETCH(QPointF, origin);
    QCOMPARE(InstrumentDial::headingTextOrigin(heading), origin);
}

void TestInstruments::nonFiniteAnglesAreZero()
{
    QCOMPARE(InstrumentDial::finiteAngle(NaN), 0.0);
    QCOMPARE(InstrumentDial::finiteAngle(Inf), 0.0);
    QCOMPARE(InstrumentDial::finiteAngle(-Inf), 0.0);
    QCOMPARE(InstrumentDial::finiteAngle(-12.5), -12.5);
    QCOMPARE(InstrumentDial::finiteAngle(400.0), 400.0);
}

void TestInstruments::sixteenthsStayInsideInt()
{
    QCOMPARE(InstrumentDial::toSixteenths(1e30), std::numeric_limits<int>::max());
    QCOMPARE(InstrumentDial::toSixteenths(-1e30), std::numeric_limits<int>::min());
    QCOMPARE(InstrumentDial::toSixteenths(NaN), 0);
    QCOMPARE(InstrumentDial::toSixteenths(Inf), 0);
    QCOMPARE(InstrumentDial::toSixteenths(-0.05), 0);
    QCOMPARE(InstrumentDial::groundChordStart(1e38f, 1e38f), std::numeric_limits<int>::min());
}

void TestInstruments::dialScale()
{
    QCOMPARE(InstrumentDial::pixelsPerUnit(QSize(800, 400)), 400 / 225.0);
    QCOMPARE(InstrumentDial::pixelsPerUnit(QSize(225, 900)), 1.0);
}

void TestInstruments::levelHorizonSplitsSkyAndGround()
{
    const QImage image = attitude(0, 0);
    QVERIFY(!image.isNull());
    for (const QPointF point : {QPointF(-60, -15), QPointF(60, -15), QPointF(0, -62)})
        QVERIFY2(isSky(at(image, point)), qPrintable(describe(at(image, point))));
    for (const QPointF point : {QPointF(-60, 15), QPointF(60, 15), QPointF(-30, 70)})
        QVERIFY2(isGround(at(image, point)), qPrintable(describe(at(image, point))));
    // Outside the bezel the window stays white.
    QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));
}

void TestInstruments::pitchMovesTheHorizon()
{
    // Positive pitch raises the ground chord's ends by the pitch angle.
    const QImage up = attitude(0, 10);
    QVERIFY2(isGround(at(up, QPointF(-60, -10))), qPrintable(describe(at(up, QPointF(-60, -10)))));
    QVERIFY(isGround(at(up, QPointF(60, -10))));
    QVERIFY(isSky(at(up, QPointF(60, -25))));

    const QImage down = attitude(0, -10);
    QVERIFY(isSky(at(down, QPointF(-60, 10))));
    QVERIFY(isSky(at(down, QPointF(60, 10))));
    QVERIFY(isGround(at(down, QPointF(60, 25))));
}

void TestInstruments::rollTiltsTheHorizon()
{
    // Roll turns the horizon clockwise on screen: left end up, right end down.
    const QImage image = attitude(30, 0);
    QVERIFY2(isGround(at(image, QPointF(-60, -15))), qPrintable(describe(at(image, QPointF(-60, -15)))));
    QVERIFY(isSky(at(image, QPointF(60, 15))));
    QVERIFY(isSky(at(image, QPointF(-60, -50))));
    QVERIFY(isGround(at(image, QPointF(60, 50))));
}

void TestInstruments::rollPointerFollowsRollWithItsNotch()
{
    // A large window so that the pointer's notch spans several pixels.
    const QImage level = attitude(0, 0, QSize(900, 900));
    QVERIFY2(isYellow(at(level, QPointF(0, -82))), qPrintable(describe(at(level, QPointF(0, -82)))));
    QVERIFY2(isYellow(at(level, QPointF(-4, -79.3))), qPrintable(describe(at(level, QPointF(-4, -79.3)))));
    // The notch between the two barbs is not filled.
    QVERIFY2(!isYellow(at(level, QPointF(0, -79))), qPrintable(describe(at(level, QPointF(0, -79)))));

    // Roll 20 turns the pointer 50 dial degrees right, to the 20 label.
    const QImage rolled = attitude(20, 0, QSize(900, 900));
    const double angle = qDegreesToRadians(50.0);
    const QPointF tip(82 * std::sin(angle), -82 * std::cos(angle));
    QVERIFY2(isYellow(at(rolled, tip)), qPrintable(describe(at(rolled, tip))));
    QVERIFY(!isYellow(at(rolled, QPointF(0, -82))));
}

void TestInstruments::dialIsCentredInAWideWindow()
{
    const QImage image = attitude(0, 0, QSize(800, 400));
    QCOMPARE(image.size(), QSize(800, 400));
    const double scale = 400 / 225.0;
    const int rim = qRound(100 * scale);
    QCOMPARE(image.pixelColor(400 - rim - 4, 200), QColor(Qt::white));
    QCOMPARE(image.pixelColor(400 + rim + 4, 200), QColor(Qt::white));
    QVERIFY(image.pixelColor(400 - rim + 4, 200) != QColor(Qt::white));
    QVERIFY(image.pixelColor(400 + rim - 4, 200) != QColor(Qt::white));
    QCOMPARE(image.pixelColor(400, 200 - rim - 4), QColor(Qt::white));
    QVERIFY(isSky(at(image, QPointF(-60, -15))));
}

void TestInstruments::compassNeedleAndArc()
{
    const double arcAngle = qDegreesToRadians(32.5);
    const QPointF onArc(93 * std::cos(arcAngle), -93 * std::sin(arcAngle));

    // North: red half up, blue half down, only a stub of arc at the top.
    const QImage north = compass(0);
    QVERIFY2(isRed(at(north, QPointF(0, -40))), qPrintable(describe(at(north, QPointF(0, -40)))));
    QVERIFY2(isBlue(at(north, QPointF(0, 40))), qPrintable(describe(at(north, QPointF(0, 40)))));
    QVERIFY(!isRed(at(north, QPointF(40, 0))));
    QVERIFY2(isGreen(at(north, QPointF(4, -93))), qPrintable(describe(at(north, QPointF(4, -93)))));
    QVERIFY(!isGreen(at(north, onArc)));

    // East: the needle lies across, the arc runs clockwise from north.
    const QImage east = compass(90);
    QVERIFY2(isRed(at(east, QPointF(40, 0))), qPrintable(describe(at(east, QPointF(40, 0)))));
    QVERIFY(isBlue(at(east, QPointF(-40, 0))));
    QVERIFY(!isRed(at(east, QPointF(0, -40))));
    QVERIFY2(isGreen(at(east, onArc)), qPrintable(describe(at(east, onArc))));
    QVERIFY(!isGreen(at(east, QPointF(-onArc.x(), onArc.y()))));
}

void TestInstruments::nonFiniteAttitudeDrawsLevel_data()
{
    QTest::addColumn<float>("roll");
    QTest::addColumn<float>("pitch");

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("roll NaN") << nan << 0.0f;
    QTest::newRow("pitch NaN") << 0.0f << nan;
    QTest::newRow("both infinite") << inf << -inf;
}

void TestInstruments::nonFiniteAttitudeDrawsLevel()
{
    QFETCH(float, roll);
    QFETCH(float, pitch);
    QCOMPARE(attitude(roll, pitch), attitude(0, 0));
}

void TestInstruments::nonFiniteHeadingDrawsNorth_data()
{
    QTest::addColumn<double>("heading");
    QTest::newRow("NaN") << NaN;
    QTest::newRow("+inf") << Inf;
    QTest::newRow("-inf") << -Inf;
}

void TestInstruments::nonFiniteHeadingDrawsNorth()
{
    QFETCH(double, heading);
    QCOMPARE(compass(heading), compass(0));
}

void TestInstruments::absurdAnglesRender()
{
    QVERIFY(!attitude(3e38f, -3e38f).isNull());
    QVERIFY(!compass(1e300).isNull());
    QVERIFY(!compass(-1e300).isNull());
}

QTEST_MAIN(TestInstruments)
#include "tst_instruments.moc"
