#include "AttitudeMeter.h"
#include "InstrumentDial.h"
#include "eCompass.h"

#include <QPainter>
#include <QScreen>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr int IntMin = std::numeric_limits<int>::min();
// Large enough for the roll pointer's notch to span several pixels.
constexpr int Side = 900;

enum Instrument { Attitude, Compass };
// Colours told apart by their dominant channels, through the tints of the glass highlight.
enum class Ink { Sky, Ground, Yellow, Red, Blue, Green };

// The instrument at the given angles: roll and pitch, or heading.
QImage drawn(Instrument instrument, double a, double b = 0)
{
    AttitudeMeter meter;
    meter.roll = float(a);
    meter.pitch = float(b);
    eCompass compass;
    compass.heading = a;
    RasterWindow &window = instrument == Attitude ? static_cast<RasterWindow &>(meter) : compass;
    window.resize(Side, Side);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return QImage();
    window.renderNow();
    return window.screen()->grabWindow(window.winId()).toImage();
}

bool shows(const QColor &c, Ink ink)
{
    const auto above = [](int strong, int weak) { return strong > weak + 20; };
    switch (ink) {
    case Ink::Sky: return above(c.blue(), c.red());
    case Ink::Ground: return above(c.red(), c.blue());
    case Ink::Yellow: return above(c.red(), c.blue()) && above(c.green(), c.blue());
    case Ink::Red: return above(c.red(), c.blue()) && above(c.red(), c.green());
    case Ink::Blue: return above(c.blue(), c.red()) && above(c.blue(), c.green());
    case Ink::Green: return above(c.green(), c.red()) && above(c.green(), c.blue());
    }
    return false;
}

// Points in dial units; roll 20 turns the pointer 50 dial degrees; arc probes lie 57.5 degrees from north.
struct Probe { const char *what; Instrument instrument; double a, b; QPointF point; Ink ink; bool shown; };

const Probe Probes[] = {
    {"level: sky left", Attitude, 0, 0, {-60, -15}, Ink::Sky, true},
    {"level: ground right", Attitude, 0, 0, {60, 15}, Ink::Ground, true},
    {"pitch 10 raises the ground", Attitude, 0, 10, {-60, -10}, Ink::Ground, true},
    {"pitch 10: sky above it", Attitude, 0, 10, {60, -25}, Ink::Sky, true},
    {"pitch -10 lowers the sky", Attitude, 0, -10, {60, 10}, Ink::Sky, true},
    {"pitch -10: ground below it", Attitude, 0, -10, {60, 25}, Ink::Ground, true},
    {"roll 30: left end up", Attitude, 30, 0, {-60, -15}, Ink::Ground, true},
    {"roll 30: right end down", Attitude, 30, 0, {60, 15}, Ink::Sky, true},
    {"pointer tip", Attitude, 0, 0, {0, -82}, Ink::Yellow, true},
    {"pointer barb", Attitude, 0, 0, {-4, -79.3}, Ink::Yellow, true},
    {"pointer notch stays unfilled", Attitude, 0, 0, {0, -79}, Ink::Yellow, false},
    {"roll 20 turns the pointer to its label", Attitude, 20, 0, {62.8, -52.7}, Ink::Yellow, true},
    {"north: red half up", Compass, 0, 0, {0, -40}, Ink::Red, true},
    {"north: blue half down", Compass, 0, 0, {0, 40}, Ink::Blue, true},
    {"north: arc stub", Compass, 0, 0, {4, -93}, Ink::Green, true},
    {"north: no arc further right", Compass, 0, 0, {78.4, -50}, Ink::Green, false},
    {"east: red half right", Compass, 90, 0, {40, 0}, Ink::Red, true},
    {"east: blue half left", Compass, 90, 0, {-40, 0}, Ink::Blue, true},
    {"east: arc clockwise from north", Compass, 90, 0, {78.4, -50}, Ink::Green, true},
    {"east: no arc on the left", Compass, 90, 0, {-78.4, -50}, Ink::Green, false},
};

} // namespace

class TestInstruments : public QObject
{
    Q_OBJECT

private slots:
    void pixels_data()
    {
        QTest::addColumn<int>("probe");
        for (int index = 0; index < int(std::size(Probes)); ++index)
            QTest::newRow(Probes[index].what) << index;
    }

    void pixels()
    {
        QFETCH(int, probe);
        const Probe &p = Probes[probe];
        const QImage image = drawn(p.instrument, p.a, p.b);
        QVERIFY(!image.isNull());
        const double scale = InstrumentDial::pixelsPerUnit(image.size());
        const QColor colour = image.pixelColor((QPointF(Side / 2, Side / 2) + p.point * scale).toPoint());
        QVERIFY2(shows(colour, p.ink) == p.shown, qPrintable(colour.name()));
    }

    // A sample may carry any number: what is not finite draws as 0, and absurd
    // angles draw without harm, their arc angles held inside int.
    void badAngles()
    {
        const QImage level = drawn(Attitude, 0, 0);
        QCOMPARE(drawn(Attitude, NaN, 0), level);
        QCOMPARE(drawn(Attitude, 0, NaN), level);
        QCOMPARE(drawn(Attitude, Inf, -Inf), level);
        // A heading that is no number leaves the needle north, and its text says so.
        const QImage north = drawn(Compass, 0);
        for (const double heading : {NaN, -Inf}) {
            const QImage unknown = drawn(Compass, heading);
            QVERIFY(unknown != north);
            const double scale = InstrumentDial::pixelsPerUnit(north.size());
            for (const QPointF point : {QPointF(0, -40), QPointF(0, 40), QPointF(4, -93)}) {
                const QPoint pixel = (QPointF(Side / 2, Side / 2) + point * scale).toPoint();
                QCOMPARE(unknown.pixel(pixel), north.pixel(pixel));
            }
        }

        QVERIFY(!drawn(Attitude, 3e38, -3e38).isNull());
        QVERIFY(!drawn(Compass, 1e300).isNull());
        QCOMPARE(InstrumentDial::toSixteenths(1e30), std::numeric_limits<int>::max());
        QCOMPARE(InstrumentDial::toSixteenths(-1e30), IntMin);
        QCOMPARE(InstrumentDial::toSixteenths(NaN), 0);
        QCOMPARE(InstrumentDial::groundChordStart(1e38f, 1e38f), IntMin);
        QCOMPARE(InstrumentDial::headingArcSpan(1e12), IntMin);
    }

    void headingText_data()
    {
        QTest::addColumn<double>("heading");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPointF>("origin");
        QTest::newRow("0") << 0.0 << "0.0" << QPointF(-8, -50);
        QTest::newRow("-5") << -5.0 << "-5.0" << QPointF(-8, -50);
        QTest::newRow("90") << 90.0 << "90.0" << QPointF(-10, -50);
        QTest::newRow("359.9") << 359.9 << "359.9" << QPointF(-12, -50);
        QTest::newRow("400") << 400.0 << "400.0" << QPointF(-12, -50);
        QTest::newRow("not a number") << NaN << "nan" << QPointF(-12, -50);
        QTest::newRow("infinite") << Inf << "inf" << QPointF(-12, -50);
        QTest::newRow("minus infinite") << -Inf << "-inf" << QPointF(-8, -50);
    }

    // The heading value and where it stands; a heading that is no number never reads as 0.
    void headingText()
    {
        QFETCH(double, heading);
        QTEST(InstrumentDial::headingText(heading), "text");
        QTEST(InstrumentDial::headingTextOrigin(heading), "origin");
    }

    void rimPoint_data()
    {
        QTest::addColumn<float>("angle");
        QTest::addColumn<QPointF>("point");
        QTest::newRow("0: 9 o'clock") << 0.0f << QPointF(-93, 0);
        QTest::newRow("30") << 30.0f << QPointF(-80.5404, -46.5);
        QTest::newRow("90: 12 o'clock") << 90.0f << QPointF(0, -93);
        QTest::newRow("180: 3 o'clock") << 180.0f << QPointF(93, 0);
        QTest::newRow("-90: 6 o'clock") << -90.0f << QPointF(0, 93);
    }

    // The rim point of the horizon circle at an angle from 9 o'clock towards 12.
    void rimPoint()
    {
        QFETCH(float, angle);
        QFETCH(QPointF, point);
        AttitudeMeter meter;
        const QPointF rim = meter.getPoint(angle, QRectF(-93, -93, 186, 186));
        QVERIFY2(QLineF(rim, point).length() < 1e-3, qPrintable(QStringLiteral("%1 %2").arg(rim.x()).arg(rim.y())));
    }

    // A degree mark runs from the rim a tenth of the way towards the centre.
    void degreeMark()
    {
        AttitudeMeter meter;
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.translate(100, 100);
        painter.setPen(QPen(Qt::white, 3));
        meter.drawDegree(&painter, QRectF(-93, -93, 186, 186), 90);
        painter.end();
        QCOMPARE(image.pixelColor(100, 100 - 88), QColor(Qt::white));
        QCOMPARE(image.pixelColor(100, 100 - 80), QColor(Qt::black));
        QCOMPARE(image.pixelColor(100 - 88, 100), QColor(Qt::black));
    }
};

QTEST_MAIN(TestInstruments)
#include "tst_instruments.moc"
