#include "DialogChart.h"
#include "RangeLimitAxis.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTest>

namespace {

struct BoxInfo
{
    const char *name;
    const char *text;
    QRgb colour;
};

// The eleven boxes in bit order with their legend colours.
const BoxInfo Boxes[DialogChart::SeriesCount] = {
    {"checkBoxRoll", "Roll", 0x800080},       {"checkBoxPitch", "Pitch", 0xD2691E},
    {"checkBoxYaw", "Yaw", 0xFF1493},         {"checkBoxRrate", "Roll Rate", 0x9400D3},
    {"checkBoxPrate", "Pitch Rate", 0xDA70D6}, {"checkBoxYrate", "Yaw Rate", 0xFF4500},
    {"checkBoxHeave", "Heave", 0xFF00FF},     {"checkBoxHvVel", "Hv Velocity", 0xFFFF00},
    {"checkBoxAx", "Ax", 0x00FFFF},           {"checkBoxAy", "Ay", 0x00FF00},
    {"checkBoxAz", "Az", 0x0000FF},
};

QBitArray bits(std::initializer_list<int> set, int size = DialogChart::SelectionBits)
{
    QBitArray array(size);
    for (const int bit : set)
        array.setBit(bit);
    return array;
}

QCheckBox *box(const DialogChart &dialog, int bit)
{
    return dialog.findChild<QCheckBox *>(QLatin1String(Boxes[bit].name));
}

QCustomPlot *plot(const DialogChart &dialog, const char *name)
{
    return dialog.findChild<QCustomPlot *>(QLatin1String(name));
}

void fillGraphs(QCustomPlot *target)
{
    for (int index = 0; index < target->graphCount(); ++index) {
        target->graph(index)->addData(1.0, 2.0);
        target->graph(index)->addData(2.0, 3.0);
    }
}

int pointCount(QCustomPlot *target)
{
    int count = 0;
    for (int index = 0; index < target->graphCount(); ++index)
        count += target->graph(index)->dataCount();
    return count;
}

struct PlotSetup
{
    const char *name;
    int graphs;
    float valueLimit;
    double valueRange;
    bool plainDrag;
};

const PlotSetup Plots[] = {
    {"angularDataPlot", 3, 360.0f, 1.0, true},
    {"angularRateDataPlot", 3, 360.0f, 1.0, true},
    {"linearDataPlot", 3, 10.0f, 0.1, false},
    {"linearAccDataPlot", 2, 10.0f, 0.1, true},
};

} // namespace

class TestDialogChart : public QObject
{
    Q_OBJECT

private slots:
    void formHasItsObjectsAndTexts();
    void setupBuildsGraphsAxesAndLimits();
    void storedBitsCheckTheBoxesAndTints();
    void togglingABoxFlipsOnlyItsBit();
    void shortSelectionBecomesSixteenClearedBits();
    void themeColours_data();
    void themeColours();
    void sameThemeTwiceChangesNothing();
    void activationClearsAccelerationAndAngles();
    void everyWayOfClosingDeactivates_data();
    void everyWayOfClosingDeactivates();
};

void TestDialogChart::formHasItsObjectsAndTexts()
{
    DialogChart dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("DialogChart"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Charts"));
    QCOMPARE(dialog.size(), QSize(1000, 500));
    QCOMPARE(dialog.findChild<QGroupBox *>("groupBoxLnr")->title(), QStringLiteral(" Linear Motion"));
    QCOMPARE(dialog.findChild<QGroupBox *>("groupBoxAng")->title(), QStringLiteral(" Angular Motion"));
    for (int bit = 0; bit < DialogChart::SeriesCount; ++bit) {
        QVERIFY2(box(dialog, bit), Boxes[bit].name);
        QCOMPARE(box(dialog, bit)->text(), QString::fromLatin1(Boxes[bit].text));
    }
    for (const PlotSetup &setup : Plots) {
        QVERIFY2(plot(dialog, setup.name), setup.name);
        QCOMPARE(plot(dialog, setup.name)->minimumSize(), QSize(450, 100));
    }
    QVERIFY(!dialog.isActive());
    QVERIFY(!dialog.testAttribute(Qt::WA_DeleteOnClose));
}

void TestDialogChart::setupBuildsGraphsAxesAndLimits()
{
    DialogChart dialog;
    dialog.DataDisplayFlag = bits({});
    dialog.SetupPlot();

    QSharedPointer<QCPAxisTicker> sharedTicker = plot(dialog, "angularDataPlot")->xAxis->ticker();
    QVERIFY(sharedTicker.dynamicCast<QCPAxisTickerTime>());
    QCOMPARE(sharedTicker.dynamicCast<QCPAxisTickerTime>()->timeFormat(), QStringLiteral("%h:%m:%s"));

    for (const PlotSetup &setup : Plots) {
        QCustomPlot *target = plot(dialog, setup.name);
        QCOMPARE(target->graphCount(), setup.graphs);
        QCOMPARE(target->noAntialiasingOnDrag(), setup.plainDrag);
        QCOMPARE(target->selectionRectMode(), QCP::srmZoom);
        QCOMPARE(target->interactions(), QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectPlottables);
        QCOMPARE(target->xAxis->ticker(), sharedTicker);
        QCOMPARE(target->xAxis->label(), QStringLiteral("Time (hh.mm.ss)"));
        QVERIFY(target->yAxis->label().isEmpty());
        QVERIFY(target->xAxis->grid()->subGridVisible());
        QVERIFY(target->yAxis->grid()->subGridVisible());

        QCOMPARE(target->xAxis->range(), QCPRange(0, 60));
        QCOMPARE(target->yAxis->range(), QCPRange(-setup.valueRange, setup.valueRange));
        RangeLimitAxis *time = RangeLimitAxis::of(target->xAxis);
        RangeLimitAxis *value = RangeLimitAxis::of(target->yAxis);
        QVERIFY(time && value);
        QCOMPARE(time->rangeLimitLower(), 0.0f);
        QCOMPARE(time->rangeLimitUpper(), 600.0f);
        QCOMPARE(value->rangeLimitLower(), -setup.valueLimit);
        QCOMPARE(value->rangeLimitUpper(), setup.valueLimit);
    }
}

void TestDialogChart::storedBitsCheckTheBoxesAndTints()
{
    DialogChart dialog;
    const QBitArray stored = bits({DialogChart::RollBit, DialogChart::AxBit, 12, 15});
    dialog.DataDisplayFlag = stored;
    dialog.SetupPlot();

    for (int bit = 0; bit < DialogChart::SeriesCount; ++bit) {
        QCheckBox *target = box(dialog, bit);
        const bool on = bit == DialogChart::RollBit || bit == DialogChart::AxBit;
        QCOMPARE(target->isChecked(), on);

        const QColor base = target->palette().color(QPalette::Base);
        QCOMPARE(base.rgb(), QColor(Boxes[bit].colour).rgb());
        QVERIFY2(qAbs(base.alphaF() - (on ? 1.0 : 0.2)) < 0.01, Boxes[bit].name);
        QCOMPARE(target->palette().color(QPalette::WindowText), QColor(Boxes[bit].colour));
        QCOMPARE(target->font().family(), QStringLiteral("Open Sans"));
        QCOMPARE(target->font().pointSize(), 13);
    }
    QCOMPARE(dialog.DataDisplayFlag, stored);

    // The Ay legend is brighter than its curve.
    QCOMPARE(box(dialog, DialogChart::AyBit)->palette().color(QPalette::WindowText), QColor(0x00FF00));
    const QPen ayPen = plot(dialog, "linearDataPlot")->graph(1)->pen();
    QCOMPARE(ayPen.color(), QColor(0x008000));
    QVERIFY(ayPen.isCosmetic());
}

void TestDialogChart::togglingABoxFlipsOnlyItsBit()
{
    DialogChart dialog;
    const QBitArray stored = bits({DialogChart::AyBit, 11, 13, 14});
    dialog.DataDisplayFlag = stored;
    dialog.SetupPlot();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCheckBox *ay = box(dialog, DialogChart::AyBit);
    ay->click();
    QVERIFY(!dialog.DataDisplayFlag.testBit(DialogChart::AyBit));
    QVERIFY(qAbs(ay->palette().color(QPalette::Base).alphaF() - 0.2) < 0.01);
    QBitArray expected = stored;
    expected.clearBit(DialogChart::AyBit);
    QCOMPARE(dialog.DataDisplayFlag, expected);

    ay->click();
    QCOMPARE(dialog.DataDisplayFlag, stored);
    QCOMPARE(ay->palette().color(QPalette::Base).alphaF(), 1.0);
    QCOMPARE(ay->palette().color(QPalette::Base).rgb(), QColor(0x00FF00).rgb());

    // Every box drives its own bit.
    for (int bit = 0; bit < DialogChart::SeriesCount; ++bit) {
        const bool before = dialog.DataDisplayFlag.testBit(bit);
        box(dialog, bit)->click();
        QVERIFY2(dialog.DataDisplayFlag.testBit(bit) != before, Boxes[bit].name);
    }
    for (int bit = 11; bit < DialogChart::SelectionBits; ++bit)
        QCOMPARE(dialog.DataDisplayFlag.testBit(bit), stored.testBit(bit));
}

void TestDialogChart::shortSelectionBecomesSixteenClearedBits()
{
    DialogChart dialog;
    dialog.DataDisplayFlag = bits({DialogChart::RollBit}, 5);
    dialog.SetupPlot();
    QCOMPARE(dialog.DataDisplayFlag, bits({}));
    for (int bit = 0; bit < DialogChart::SeriesCount; ++bit)
        QVERIFY(!box(dialog, bit)->isChecked());

    // A short array assigned later is not indexed past its end either.
    dialog.DataDisplayFlag = QBitArray();
    box(dialog, DialogChart::AzBit)->setChecked(true);
    QCOMPARE(dialog.DataDisplayFlag, bits({DialogChart::AzBit}));
}

void TestDialogChart::themeColours_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("text");

    QTest::newRow("Blue Cerulean") << 1 << QColor(0x006286) << QColor(0xD6D6D6);
    QTest::newRow("Dark") << 2 << QColor(0x121218) << QColor(0xD6D6D6);
    QTest::newRow("Brown Sand") << 3 << QColor(0x9E8965) << QColor(0x404044);
    QTest::newRow("Blue NCS") << 4 << QColor(0x018BBA) << QColor(0x404044);
    QTest::newRow("High Contrast") << 5 << QColor(0xFFAB03) << QColor(0x181818);
    QTest::newRow("Blue Icy") << 6 << QColor(0xCEE7F0) << QColor(0x404044);
    QTest::newRow("next value gives Light") << 7 << QColor(0xF0F0F0) << QColor(0x404044);
    QTest::newRow("negative gives Light") << -1 << QColor(0xF0F0F0) << QColor(0x404044);
}

void TestDialogChart::themeColours()
{
    QFETCH(int, theme);
    QFETCH(QColor, window);
    QFETCH(QColor, text);

    DialogChart dialog;
    dialog.updateTheme(static_cast<QChart::ChartTheme>(theme));
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        QCOMPARE(dialog.palette().color(group, QPalette::Window), window);
        QCOMPARE(dialog.palette().color(group, QPalette::WindowText), text);
    }
    // The group box titles follow the dialog; the boxes keep their own colours.
    QCOMPARE(dialog.findChild<QGroupBox *>("groupBoxAng")->palette().color(QPalette::WindowText), text);
}

void TestDialogChart::sameThemeTwiceChangesNothing()
{
    DialogChart dialog;
    const QPalette platform = dialog.palette();

    // Light is the theme the dialog starts with: applying it changes nothing.
    dialog.updateTheme(QChart::ChartThemeLight);
    QCOMPARE(dialog.palette(), platform);

    dialog.updateTheme(QChart::ChartThemeBlueCerulean);
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(0x006286));
    QPalette marked = dialog.palette();
    marked.setColor(QPalette::Window, Qt::red);
    dialog.setPalette(marked);
    dialog.updateTheme(QChart::ChartThemeBlueCerulean);
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(Qt::red));

    dialog.updateTheme(QChart::ChartThemeLight);
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(0xF0F0F0));
    QCOMPARE(dialog.palette().color(QPalette::WindowText), QColor(0x404044));
}

void TestDialogChart::activationClearsAccelerationAndAngles()
{
    DialogChart dialog;
    dialog.DataDisplayFlag = bits({});
    dialog.SetupPlot();
    const char *names[] = {"linearDataPlot", "angularDataPlot", "linearAccDataPlot", "angularRateDataPlot"};

    for (const bool active : {true, false}) {
        for (const char *name : names)
            fillGraphs(plot(dialog, name));
        dialog.setActiveStatus(active);
        QCOMPARE(dialog.isActive(), active);
        QCOMPARE(pointCount(plot(dialog, "linearDataPlot")), 0);
        QCOMPARE(pointCount(plot(dialog, "angularDataPlot")), 0);
        QVERIFY(pointCount(plot(dialog, "linearAccDataPlot")) > 0);
        QVERIFY(pointCount(plot(dialog, "angularRateDataPlot")) > 0);
    }
}

void TestDialogChart::everyWayOfClosingDeactivates_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Escape key") << QStringLiteral("escape");
    QTest::newRow("close()") << QStringLiteral("close");
    QTest::newRow("reject()") << QStringLiteral("reject");
    QTest::newRow("accept()") << QStringLiteral("accept");
}

void TestDialogChart::everyWayOfClosingDeactivates()
{
    QFETCH(QString, way);

    DialogChart dialog;
    dialog.DataDisplayFlag = bits({DialogChart::RollBit});
    dialog.SetupPlot();

    // Twice: the window opens and activates again after it was closed.
    for (int round = 0; round < 2; ++round) {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.setActiveStatus(true);
        fillGraphs(plot(dialog, "angularDataPlot"));

        if (way == QLatin1String("escape"))
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (way == QLatin1String("close"))
            QVERIFY(dialog.close());
        else if (way == QLatin1String("reject"))
            dialog.reject();
        else
            dialog.accept();

        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.isActive());
        QCOMPARE(pointCount(plot(dialog, "angularDataPlot")), 0);
    }
}

QTEST_MAIN(TestDialogChart)
#include "tst_dialogchart.moc"
