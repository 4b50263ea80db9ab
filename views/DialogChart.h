#ifndef DIALOGCHART_H
#define DIALOGCHART_H

#include <QBitArray>
#include <QChart>
#include <QColor>
#include <QDialog>
#include <QElapsedTimer>

#include "DeviceTypes.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QCustomPlot;
class QPen;

namespace Ui {
class DialogChart;
}

// The chart window: four real-time plots (accelerations, heave, angles,
// angular rates) and eleven check boxes that choose the drawn series and
// serve as the legend, each box in its series' colour.
class DialogChart : public QDialog
{
    Q_OBJECT

public:
    // Bits of DataDisplayFlag, one per series; bits 11 to 15 are unassigned and kept.
    enum SeriesBit {
        RollBit,
        PitchBit,
        YawBit,
        RollRateBit,
        PitchRateBit,
        YawRateBit,
        HeaveBit,
        HeaveVelocityBit,
        AxBit,
        AyBit,
        AzBit,
        SeriesCount
    };
    static constexpr int SelectionBits = 16;

    explicit DialogChart(QWidget *parent = nullptr);
    ~DialogChart() override;

    // Graphs, pens, time tickers, ranges, limits and interactions of the four
    // plots, then the boxes from DataDisplayFlag. Assign DataDisplayFlag first.
    void SetupPlot();

    // True while the window is open and takes samples.
    bool isActive() const;
    // Opening activates the window, closing deactivates it; both empty the
    // acceleration and angle graphs.
    void setActiveStatus(bool active);

    // Every way of closing the window (Escape included) deactivates it.
    void done(int result) override;

    // Milliseconds of a monotonic clock, the source of every plot's keys.
    using Clock = std::function<qint64()>;
    // Replaces the window's own monotonic clock (tests and benchmarks drive keys with it).
    void setClock(Clock clock);

    // One decoded sample into one plot: while the window is active and a box
    // of the plot is checked, the checked series get a point keyed by the
    // seconds since the plot's first accepted sample; old points go, the time
    // limits slide, the value range grows, the time range follows and the plot
    // replots at once.
    void RealtimeHeaveDataPlot(OutputDataType data);
    void RealtimeAccDataPlot(OutputDataType data);
    void RealtimeAngDataPlot(OutputDataType data);
    void RealtimeAngRateDataPlot(OutputDataType data);

    // Widens the plot's value range so that value lies inside it by margin.
    void setNewRange(QCustomPlot *plot, float value, float margin);
    // True when a series of the acceleration, angle or angular-rate plot is checked.
    bool isCheckedLnrParameters() const;
    bool isCheckedAngParameters() const;
    bool isCheckedAngRateParameters() const;
    // A test feed: one sine-based sample into the four plots, the phase then
    // advancing by 0.1.
    void RealtimeDataPlotSimulation();
    // A test signal: a sine of t with a little random noise.
    static float RawGeneratorSine(float t);

    // The series selection; the main window assigns it and saves it at shut-down.
    QBitArray DataDisplayFlag;

public slots:
    void updateTheme(QChart::ChartTheme theme);

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_checkBoxRoll_stateChanged(int arg1);
    void on_checkBoxPitch_stateChanged(int arg1);
    void on_checkBoxYaw_stateChanged(int arg1);
    void on_checkBoxHeave_stateChanged(int arg1);
    void on_checkBoxHvVel_stateChanged(int arg1);
    void on_checkBoxAx_stateChanged(int arg1);
    void on_checkBoxAy_stateChanged(int arg1);
    void on_checkBoxAz_stateChanged(int arg1);
    void on_checkBoxRrate_stateChanged(int arg1);
    void on_checkBoxPrate_stateChanged(int arg1);
    void on_checkBoxYrate_stateChanged(int arg1);

private:
    friend class DialogChartProbe;

    struct Series
    {
        QCheckBox *box;
        QColor colour;
    };

    // The four plots, in the order of their time origins.
    enum PlotIndex { HeavePlot, AccPlot, AngPlot, AngRatePlot, PlotCount };

    // One series of a plot: its box, its sample field and its value margin.
    struct Channel
    {
        QCheckBox *box;
        int field;
        float margin;
    };

    // What one plot takes from a sample.
    struct PlotRow
    {
        PlotIndex index;
        QCustomPlot *plot;
        std::array<Channel, 3> channels;
        int channelCount;
        const char *limitName;
    };

    PlotRow plotRow(PlotIndex index) const;
    void plotSample(const PlotRow &row, const OutputDataType &data);
    static bool anyChecked(const PlotRow &row);
    double takeKey(PlotIndex index);
    void trimGraphs(QCustomPlot *plot, double key) const;
    void slideTimeLimit(QCustomPlot *plot, double key, const char *limitName) const;
    static void followKey(QCustomPlot *plot, double key);

    // The boxes in bit order, each with its legend colour.
    std::array<Series, SeriesCount> series() const;

    void setupAngularPlot(QCustomPlot *plot, QPen &pen, const std::array<QColor, 3> &colours);
    void setupLinearPlots(QPen &pen);
    void setupAxes(QCustomPlot *plot, const char *timeName, float valueLimit, const char *valueName,
                   double valueRange);
    void setupLabels();
    void fitSeriesRowsToText();
    void setupCheckBoxes();
    void ensureSelectionSize();
    void applySeriesState(SeriesBit bit, int state);

    std::unique_ptr<Ui::DialogChart> m_ui;

    QColor rollColor;
    QColor pitchColor;
    QColor yawColor;
    QColor rollRateColor;
    QColor pitchRateColor;
    QColor yawRateColor;

    bool activeStatus = false;
    int currentTheme = 0;
    float limitAdvance = 600.0f;
    float limitStart = 0.0f;
    float keptTimeSpan = 300.0f;

    // Time origin of each plot, set by its first accepted sample and never reset.
    std::array<std::optional<qint64>, PlotCount> m_origins;
    QElapsedTimer m_elapsed;
    Clock m_clock;
    float m_simulationPhase = 0.0f;
};

#endif // DIALOGCHART_H
