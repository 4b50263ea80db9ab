#include "DialogChart.h"

#include <QCheckBox>
#include <QTest>
#include <qcustomplot.h>

namespace {

// The boxes in bit order.
const char *const BoxNames[DialogChart::SeriesCount] = {
    "checkBoxRoll",  "checkBoxPitch", "checkBoxYaw", "checkBoxRrate", "checkBoxPrate", "checkBoxYrate",
    "checkBoxHeave", "checkBoxHvVel", "checkBoxAx",  "checkBoxAy",    "checkBoxAz"};

QBitArray bits(std::initializer_list<int> set, int size = DialogChart::SelectionBits)
{
    QBitArray array(size);
    for (const int bit : set)
        array.setBit(bit);
    return array;
}

QCheckBox *box(const DialogChart &dialog, int bit)
{
    return dialog.findChild<QCheckBox *>(QLatin1String(BoxNames[bit]));
}

// The box is checked and its indicator solid while its series is drawn; unchecked and faint otherwise.
bool shows(const DialogChart &dialog, int bit, bool on)
{
    const qreal alpha = box(dialog, bit)->palette().color(QPalette::Base).alphaF();
    return box(dialog, bit)->isChecked() == on && qAbs(alpha - (on ? 1.0 : 0.2)) < 0.01;
}

QList<QCPGraph *> graphs(const DialogChart &dialog, const char *plot)
{
    return dialog.findChild<QCustomPlot *>(QLatin1String(plot))->findChildren<QCPGraph *>();
}

int pointCount(const DialogChart &dialog, const char *plot)
{
    int count = 0;
    for (const QCPGraph *graph : graphs(dialog, plot))
        count += graph->dataCount();
    return count;
}

void fill(const DialogChart &dialog, const char *plot)
{
    for (QCPGraph *graph : graphs(dialog, plot))
        graph->addData(1.0, 2.0);
}

} // namespace

class TestDialogChart : public QObject
{
    Q_OBJECT

private slots:
    void selectionDrivesBoxesAndTints();
    void shortSelectionBecomesSixteenClearedBits();
    void sameThemeTwiceChangesNothing();
    void activationClearsAccelerationAndAngles();
    void everyWayOfClosingDeactivates_data();
    void everyWayOfClosingDeactivates();
};

void TestDialogChart::selectionDrivesBoxesAndTints()
{
    DialogChart dialog;
    const QBitArray stored = bits({DialogChart::RollBit, DialogChart::AxBit, 11, 13, 15});
    dialog.DataDisplayFlag = stored;
    dialog.SetupPlot();
    for (int bit = 0; bit < DialogChart::SeriesCount; ++bit)
        QVERIFY2(shows(dialog, bit, stored.testBit(bit)), BoxNames[bit]);

    // Each box flips its own bit and tint; the unassigned bits 11 to 15 are kept.
    for (const bool back : {false, true}) {
        for (int bit = 0; bit < DialogChart::SeriesCount; ++bit) {
            box(dialog, bit)->click();
            QCOMPARE(dialog.DataDisplayFlag.testBit(bit), stored.testBit(bit) == back);
            QVERIFY2(shows(dialog, bit, stored.testBit(bit) == back), BoxNames[bit]);
        }
        for (int bit = DialogChart::SeriesCount; bit < DialogChart::SelectionBits; ++bit)
            QCOMPARE(dialog.DataDisplayFlag.testBit(bit), stored.testBit(bit));
    }
}

// A stored selection may be shorter than 16 bits: it is never indexed past its end.
void TestDialogChart::shortSelectionBecomesSixteenClearedBits()
{
    DialogChart dialog;
    dialog.DataDisplayFlag = bits({DialogChart::RollBit}, 5);
    dialog.SetupPlot();
    QCOMPARE(dialog.DataDisplayFlag, bits({}));

    dialog.DataDisplayFlag = QBitArray();
    box(dialog, DialogChart::AzBit)->setChecked(true);
    QCOMPARE(dialog.DataDisplayFlag, bits({DialogChart::AzBit}));
}

void TestDialogChart::sameThemeTwiceChangesNothing()
{
    DialogChart dialog;
    dialog.updateTheme(QChart::ChartThemeBlueCerulean);
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(0x006286));
    QPalette marked = dialog.palette();
    marked.setColor(QPalette::Window, Qt::red);
    dialog.setPalette(marked);
    dialog.updateTheme(QChart::ChartThemeBlueCerulean);
    QCOMPARE(dialog.palette().color(QPalette::Window), QColor(Qt::red));
}

void TestDialogChart::activationClearsAccelerationAndAngles()
{
    DialogChart dialog;
    dialog.DataDisplayFlag = bits({});
    dialog.SetupPlot();
    const char *names[] = {"linearDataPlot", "angularDataPlot", "linearAccDataPlot", "angularRateDataPlot"};
    for (const bool active : {true, false}) {
        for (const char *name : names)
            fill(dialog, name);
        dialog.setActiveStatus(active);
        QCOMPARE(dialog.isActive(), active);
        QCOMPARE(pointCount(dialog, "linearDataPlot"), 0);
        QCOMPARE(pointCount(dialog, "angularDataPlot"), 0);
        QVERIFY(pointCount(dialog, "linearAccDataPlot") > 0);
        QVERIFY(pointCount(dialog, "angularRateDataPlot") > 0);
    }
}

void TestDialogChart::everyWayOfClosingDeactivates_data()
{
    QTest::addColumn<QString>("way");
    for (const char *way : {"Escape", "close", "reject", "accept"})
        QTest::newRow(way) << QString::fromLatin1(way);
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
        fill(dialog, "angularDataPlot");

        if (way == QLatin1String("Escape"))
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (way == QLatin1String("close"))
            QVERIFY(dialog.close());
        else if (way == QLatin1String("reject"))
            dialog.reject();
        else
            dialog.accept();

        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.isActive());
        QCOMPARE(pointCount(dialog, "angularDataPlot"), 0);
    }
}

QTEST_MAIN(TestDialogChart)
#include "tst_dialogchart.moc"
