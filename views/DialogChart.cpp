// The chart window: form, plot set-up, series choice, theme and the real-time plotting of samples.
#include "DialogChart.h"

#include "DisplayNumber.h"
#include "RangeLimitAxis.h"
#include "RangeLimitAxisRect.h"
#include "ui_DialogChart.h"

#include <QCloseEvent>
#include "ViewsLogging.h"

#include <QDebug>
#include <QRandomGenerator>

#include <cmath>

namespace {

constexpr double InitialTimeSpan = 60.0;
constexpr float AngleLimit = 360.0f;
constexpr float LinearLimit = 10.0f;
constexpr double AngleRange = 1.0;
constexpr double LinearRange = 0.1;
constexpr qreal CheckedAlpha = 1.0;
constexpr qreal UncheckedAlpha = 0.2;

// A graph this long keeps only the kept time span of points.
constexpr int TrimThreshold = 1024;
constexpr double MillisecondsPerSecond = 1000.0;
constexpr float HeaveMargin = 0.001f;
constexpr float HeaveVelocityMargin = 0.01f;
constexpr float AccMargin = 0.1f;
constexpr float AngleMargin = 0.1f;
constexpr float AngleRateMargin = 1.0f;

// The test signal: a slow sine with noise of a few thousandths.
constexpr float SinePhaseScale = 0.5233334f;
constexpr float SineAmplitude = 0.28924853f;
constexpr qint32 NoiseModulus = 8192;
constexpr qint32 NoiseOffset = 4096;
constexpr float NoiseScale = 5.021537f / 1000.0f / 4096.0f;
constexpr float SimulationStep = 0.1f;

struct ThemeColours
{
    QRgb window;
    QRgb text;
};

// Window and text colours, indexed by the chart theme number.
constexpr std::array<ThemeColours, 7> ThemeTable{{
    {0xF0F0F0, 0x404044}, // Light
    {0x006286, 0xD6D6D6}, // Blue Cerulean
    {0x121218, 0xD6D6D6}, // Dark
    {0x9E8965, 0x404044}, // Brown Sand
    {0x018BBA, 0x404044}, // Blue NCS
    {0xFFAB03, 0x181818}, // High Contrast
    {0xCEE7F0, 0x404044}, // Blue Icy
}};

ThemeColours themeColours(int theme)
{
    if (theme < 0 || theme >= static_cast<int>(ThemeTable.size()))
        return ThemeTable.front();
    return ThemeTable[static_cast<std::size_t>(theme)];
}

QColor svgColour(const char *name)
{
    return QColor::fromString(QLatin1String(name));
}

void addGraph(QCustomPlot *plot, QPen &pen, const QColor &colour)
{
    plot->addGraph();
    pen.setColor(colour);
    plot->graph()->setPen(pen);
}

void showSubGrids(QCustomPlot *plot)
{
    plot->xAxis->grid()->setSubGridVisible(true);
    plot->yAxis->grid()->setSubGridVisible(true);
}

} // namespace

DialogChart::DialogChart(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::DialogChart>())
    , rollColor(svgColour("purple"))
    , pitchColor(svgColour("chocolate"))
    , yawColor(0xFF1493)
    , rollRateColor(0x9400D3)
    , pitchRateColor(0xDA70D6)
    , yawRateColor(0xFF4500)
{
    m_ui->setupUi(this);
    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
    // The stock axes know no zoom limits: give every plot the limited ones.
    // A replot draws into the plot's buffer at once; the library would also
    // repaint the widget at once, and that repaint is left to the event loop
    // instead, where the repaints of several samples coalesce.
    for (QCustomPlot *plot : {m_ui->linearDataPlot, m_ui->linearAccDataPlot, m_ui->angularDataPlot,
                              m_ui->angularRateDataPlot}) {
        RangeLimitAxisRect::install(plot);
        plot->setPlottingHint(QCP::phImmediateRefresh, false);
    }
}

DialogChart::~DialogChart() = default;

void DialogChart::SetupPlot()
{
    QPen pen(QBrush(rollColor, Qt::SolidPattern), 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    setupAngularPlot(m_ui->angularDataPlot, pen, {rollColor, pitchColor, yawColor});
    setupAngularPlot(m_ui->angularRateDataPlot, pen, {rollRateColor, pitchRateColor, yawRateColor});
    setupLinearPlots(pen);

    QSharedPointer<QCPAxisTickerTime> timeTicker(new QCPAxisTickerTime);
    timeTicker->setTimeFormat(QStringLiteral("%h:%m:%s"));
    for (QCustomPlot *plot : {m_ui->angularDataPlot, m_ui->angularRateDataPlot, m_ui->linearDataPlot,
                              m_ui->linearAccDataPlot})
        plot->xAxis->setTicker(timeTicker);

    setupAxes(m_ui->angularDataPlot, "angle time", AngleLimit, "angle value", AngleRange);
    setupAxes(m_ui->angularRateDataPlot, "anglur rate time", AngleLimit, "anglur rate value", AngleRange);
    setupAxes(m_ui->linearDataPlot, "acc time", LinearLimit, "acc value", LinearRange);
    setupAxes(m_ui->linearAccDataPlot, "Hv time", LinearLimit, "Hv value", LinearRange);

    setupLabels();
    setupCheckBoxes();
}

void DialogChart::setupAngularPlot(QCustomPlot *plot, QPen &pen, const std::array<QColor, 3> &colours)
{
    plot->setNoAntialiasingOnDrag(true);
    plot->clearGraphs();
    for (const QColor &colour : colours)
        addGraph(plot, pen, colour);
}

void DialogChart::setupLinearPlots(QPen &pen)
{
    QCustomPlot *heave = m_ui->linearAccDataPlot;
    heave->clearGraphs();
    heave->addGraph();
    heave->setNoAntialiasingOnDrag(true);
    pen.setColor(svgColour("magenta"));
    heave->graph(0)->setPen(pen);
    addGraph(heave, pen, svgColour("yellow"));
    showSubGrids(heave);

    // The acceleration plot keeps antialiasing while it is dragged.
    QCustomPlot *acceleration = m_ui->linearDataPlot;
    acceleration->clearGraphs();
    for (const char *name : {"cyan", "green", "blue"})
        addGraph(acceleration, pen, svgColour(name));
    showSubGrids(acceleration);
}

void DialogChart::setupAxes(QCustomPlot *plot, const char *timeName, float valueLimit, const char *valueName,
                            double valueRange)
{
    plot->xAxis->setRange(0, InitialTimeSpan, Qt::AlignLeft);
    RangeLimitAxis::of(plot->xAxis)->setRangeLimit(limitStart, limitAdvance, QString::fromLatin1(timeName));
    plot->xAxis->setLabel(QStringLiteral("Time (hh.mm.ss)"));

    RangeLimitAxis::of(plot->yAxis)->setRangeLimit(-valueLimit, valueLimit, QString::fromLatin1(valueName));
    plot->yAxis->setRange(-valueRange, valueRange);

    plot->setSelectionRectMode(QCP::srmZoom);
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectPlottables);
    showSubGrids(plot);
}

std::array<DialogChart::Series, DialogChart::SeriesCount> DialogChart::series() const
{
    return {{
        {m_ui->checkBoxRoll, rollColor},
        {m_ui->checkBoxPitch, pitchColor},
        {m_ui->checkBoxYaw, yawColor},
        {m_ui->checkBoxRrate, rollRateColor},
        {m_ui->checkBoxPrate, pitchRateColor},
        {m_ui->checkBoxYrate, yawRateColor},
        {m_ui->checkBoxHeave, QColor(Qt::magenta)},
        {m_ui->checkBoxHvVel, QColor(Qt::yellow)},
        {m_ui->checkBoxAx, QColor(Qt::cyan)},
        {m_ui->checkBoxAy, QColor(Qt::green)},
        {m_ui->checkBoxAz, QColor(Qt::blue)},
    }};
}

void DialogChart::setupLabels()
{
    QFont font(QStringLiteral("Open Sans"), 9, QFont::Normal);
    font.setPointSize(13);

    QPalette palette = m_ui->checkBoxRoll->palette();
    for (const Series &entry : series()) {
        palette.setBrush(QPalette::WindowText, entry.colour);
        palette.setBrush(QPalette::Window, entry.colour);
        palette.setBrush(QPalette::Base, entry.colour);
        entry.box->setFont(font);
        entry.box->setPalette(palette);
    }
    fitSeriesRowsToText();
}

// The form's box sizes suit a screen where a point is a pixel. Where the legend
// font is larger, let each box, and the row that holds it, grow to its text.
void DialogChart::fitSeriesRowsToText()
{
    for (const Series &entry : series()) {
        const QSize text = entry.box->sizeHint();
        entry.box->setMinimumWidth(qMax(entry.box->minimumWidth(), text.width()));
        entry.box->setMaximumSize(entry.box->maximumSize().expandedTo(text));
    }
    for (QGroupBox *row : {m_ui->groupBoxLnr, m_ui->groupBoxAng})
        row->setMaximumHeight(qMax(row->maximumHeight(), row->sizeHint().height()));
}

void DialogChart::setupCheckBoxes()
{
    ensureSelectionSize();
    qCDebug(lcViews) << "DataDisplayFlag :" << DataDisplayFlag;
    const auto boxes = series();
    for (int bit = 0; bit < SeriesCount; ++bit) {
        QCheckBox *box = boxes[static_cast<std::size_t>(bit)].box;
        box->setChecked(DataDisplayFlag.testBit(bit));
        applySeriesState(static_cast<SeriesBit>(bit), box->checkState());
    }
}

void DialogChart::ensureSelectionSize()
{
    // A stored selection that is too short would be indexed past its end.
    if (DataDisplayFlag.size() < SelectionBits)
        DataDisplayFlag = QBitArray(SelectionBits);
}

void DialogChart::applySeriesState(SeriesBit bit, int state)
{
    ensureSelectionSize();
    const bool checked = state == Qt::Checked;
    DataDisplayFlag.setBit(bit, checked);

    // The indicator shows the series colour, solid when on and faint when off.
    QCheckBox *box = series()[bit].box;
    QPalette palette = box->palette();
    QColor base = palette.color(QPalette::Base);
    base.setAlphaF(checked ? CheckedAlpha : UncheckedAlpha);
    palette.setBrush(QPalette::Base, base);
    box->setPalette(palette);
}

bool DialogChart::isActive() const
{
    return activeStatus;
}

void DialogChart::setActiveStatus(bool active)
{
    activeStatus = active;
    for (QCustomPlot *plot : {m_ui->linearDataPlot, m_ui->angularDataPlot}) {
        for (int index = 0; index < plot->graphCount(); ++index)
            plot->graph(index)->data()->clear();
    }
}

void DialogChart::done(int result)
{
    setActiveStatus(false);
    QDialog::done(result);
}

void DialogChart::closeEvent(QCloseEvent *event)
{
    setActiveStatus(false);
    event->accept();
}

void DialogChart::updateTheme(QChart::ChartTheme theme)
{
    if (theme == currentTheme)
        return;
    currentTheme = theme;

    const ThemeColours colours = themeColours(theme);
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window, QColor(colours.window));
    palette.setBrush(QPalette::WindowText, QColor(colours.text));
    setPalette(palette);
}

void DialogChart::on_checkBoxRoll_stateChanged(int arg1)
{
    applySeriesState(RollBit, arg1);
}

void DialogChart::on_checkBoxPitch_stateChanged(int arg1)
{
    applySeriesState(PitchBit, arg1);
}

void DialogChart::on_checkBoxYaw_stateChanged(int arg1)
{
    applySeriesState(YawBit, arg1);
}

void DialogChart::on_checkBoxHeave_stateChanged(int arg1)
{
    applySeriesState(HeaveBit, arg1);
}

void DialogChart::on_checkBoxHvVel_stateChanged(int arg1)
{
    applySeriesState(HeaveVelocityBit, arg1);
}

void DialogChart::on_checkBoxAx_stateChanged(int arg1)
{
    applySeriesState(AxBit, arg1);
}

void DialogChart::on_checkBoxAy_stateChanged(int arg1)
{
    applySeriesState(AyBit, arg1);
}

void DialogChart::on_checkBoxAz_stateChanged(int arg1)
{
    applySeriesState(AzBit, arg1);
}

void DialogChart::on_checkBoxRrate_stateChanged(int arg1)
{
    applySeriesState(RollRateBit, arg1);
}

void DialogChart::on_checkBoxPrate_stateChanged(int arg1)
{
    applySeriesState(PitchRateBit, arg1);
}

void DialogChart::on_checkBoxYrate_stateChanged(int arg1)
{
    applySeriesState(YawRateBit, arg1);
}

void DialogChart::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void DialogChart::RealtimeHeaveDataPlot(OutputDataType data)
{
    plotSample(plotRow(HeavePlot), data);
}

void DialogChart::RealtimeAccDataPlot(OutputDataType data)
{
    plotSample(plotRow(AccPlot), data);
}

void DialogChart::RealtimeAngDataPlot(OutputDataType data)
{
    plotSample(plotRow(AngPlot), data);
}

void DialogChart::RealtimeAngRateDataPlot(OutputDataType data)
{
    plotSample(plotRow(AngRatePlot), data);
}

DialogChart::PlotRow DialogChart::plotRow(PlotIndex index) const
{
    using F = OutputDataType;
    const Ui::DialogChart &ui = *m_ui;
    switch (index) {
    case HeavePlot:
        return {index, ui.linearAccDataPlot,
                {{{ui.checkBoxHeave, F::Heave, HeaveMargin}, {ui.checkBoxHvVel, F::HeaveVelocity, HeaveVelocityMargin}}},
                2, "Hv time"};
    case AccPlot:
        return {index, ui.linearDataPlot,
                {{{ui.checkBoxAx, F::Ax, AccMargin}, {ui.checkBoxAy, F::Ay, AccMargin}, {ui.checkBoxAz, F::Az, AccMargin}}},
                3, "Acc time"};
    case AngPlot:
        return {index, ui.angularDataPlot,
                {{{ui.checkBoxRoll, F::Roll, AngleMargin}, {ui.checkBoxPitch, F::Pitch, AngleMargin},
                  {ui.checkBoxYaw, F::Yaw, AngleMargin}}},
                3, "angle time"};
    case AngRatePlot:
    case PlotCount:
        break;
    }
    return {AngRatePlot, ui.angularRateDataPlot,
            {{{ui.checkBoxRrate, F::RollRate, AngleRateMargin}, {ui.checkBoxPrate, F::PitchRate, AngleRateMargin},
              {ui.checkBoxYrate, F::YawRate, AngleRateMargin}}},
            3, "angular Rate time"};
}

bool DialogChart::anyChecked(const PlotRow &row)
{
    for (int i = 0; i < row.channelCount; ++i) {
        if (row.channels[std::size_t(i)].box->isChecked())
            return true;
    }
    return false;
}

void DialogChart::plotSample(const PlotRow &row, const OutputDataType &data)
{
    if (!activeStatus || !anyChecked(row))
        return;
    QCustomPlot *plot = row.plot;
    const double key = takeKey(row.index);
    trimGraphs(plot, key);
    slideTimeLimit(plot, key, row.limitName);
    for (int i = 0; i < row.channelCount && i < plot->graphCount(); ++i) {
        const Channel &channel = row.channels[std::size_t(i)];
        if (!channel.box->isChecked())
            continue;
        const float value = readDisplayFloat(data.field[std::size_t(channel.field)]);
        plot->graph(i)->addData(key, value);
        setNewRange(plot, value, channel.margin);
    }
    followKey(plot, key);
    plot->replot(QCustomPlot::rpRefreshHint);
}

// Seconds since the plot's first accepted sample, in double precision so that
// keys keep millisecond resolution over runs of many days.
double DialogChart::takeKey(PlotIndex index)
{
    const qint64 now = m_clock();
    std::optional<qint64> &origin = m_origins[std::size_t(index)];
    if (!origin)
        origin = now;
    return double(now - *origin) / MillisecondsPerSecond;
}

// Long graphs, checked or not, keep only the last kept time span of points.
void DialogChart::trimGraphs(QCustomPlot *plot, double key) const
{
    if (key <= keptTimeSpan)
        return;
    for (int i = 0; i < plot->graphCount(); ++i) {
        QCPGraph *graph = plot->graph(i);
        if (graph->dataCount() >= TrimThreshold)
            graph->data()->removeBefore(key - keptTimeSpan);
    }
}

// Moves the time axis's zoom limits ahead in steps of limitAdvance, the lower
// one trailing the old upper one by keptTimeSpan, until the key lies inside:
// a plot fed again after a long pause catches up in this one call.
void DialogChart::slideTimeLimit(QCustomPlot *plot, double key, const char *limitName) const
{
    RangeLimitAxis *axis = RangeLimitAxis::of(plot->xAxis);
    const double upper = axis->rangeLimitUpper();
    if (!(key > upper))
        return;
    const double steps = std::ceil((key - upper) / limitAdvance);
    const double newUpper = upper + steps * limitAdvance;
    axis->setRangeLimit(float(newUpper - limitAdvance - keptTimeSpan), float(newUpper),
                        QString::fromLatin1(limitName));
}

// A key at or past the time range's end moves the range to end at the key, keeping its width.
void DialogChart::followKey(QCustomPlot *plot, double key)
{
    const QCPRange range = plot->xAxis->range();
    if (key < range.upper)
        return;
    const float width = float(range.size());
    plot->xAxis->setRange(key - width, key);
}

void DialogChart::setNewRange(QCustomPlot *plot, float value, float margin)
{
    const QCPRange range = plot->yAxis->range();
    const bool below = value <= range.lower;
    const bool above = value >= range.upper;
    if (below || above)
        plot->yAxis->setRange(below ? double(value) - margin : range.lower, above ? double(value) + margin : range.upper);
}

bool DialogChart::isCheckedLnrParameters() const
{
    return m_ui->checkBoxAx->isChecked() || m_ui->checkBoxAy->isChecked() || m_ui->checkBoxAz->isChecked();
}

bool DialogChart::isCheckedAngParameters() const
{
    return m_ui->checkBoxRoll->isChecked() || m_ui->checkBoxPitch->isChecked() || m_ui->checkBoxYaw->isChecked();
}

bool DialogChart::isCheckedAngRateParameters() const
{
    return m_ui->checkBoxRrate->isChecked() || m_ui->checkBoxPrate->isChecked() || m_ui->checkBoxYrate->isChecked();
}

float DialogChart::RawGeneratorSine(float t)
{
    const auto r = static_cast<qint32>(QRandomGenerator::global()->generate());
    const qint32 n = r % NoiseModulus - NoiseOffset;
    return std::sin(t * SinePhaseScale) * SineAmplitude + float(n) * NoiseScale;
}

void DialogChart::RealtimeDataPlotSimulation()
{
    const float x = RawGeneratorSine(m_simulationPhase);
    const float c = std::cos(x);
    OutputDataType data;
    const auto put = [&data](int field, float value) {
        data.field[std::size_t(field)] = QString::number(value, 'g', 6);
    };
    using F = OutputDataType;
    for (const int base : {int(F::Roll), int(F::RollRate)}) {
        put(base, x);
        put(base + 1, x + 0.1f);
        put(base + 2, x + 0.2f);
    }
    put(F::Heave, 5.0f * x);
    put(F::HeaveVelocity, x);
    put(F::Ax, c);
    put(F::Ay, c + 0.1f);
    put(F::Az, c + 0.2f);

    RealtimeHeaveDataPlot(data);
    RealtimeAccDataPlot(data);
    RealtimeAngDataPlot(data);
    RealtimeAngRateDataPlot(data);
    m_simulationPhase += SimulationStep;
}
