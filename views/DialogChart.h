#ifndef DIALOGCHART_H
#define DIALOGCHART_H

#include <QBitArray>
#include <QChart>
#include <QColor>
#include <QDialog>

#include <array>
#include <memory>

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
    struct Series
    {
        QCheckBox *box;
        QColor colour;
    };

    // The boxes in bit order, each with its legend colour.
    std::array<Series, SeriesCount> series() const;

    void setupAngularPlot(QCustomPlot *plot, QPen &pen, const std::array<QColor, 3> &colours);
    void setupLinearPlots(QPen &pen);
    void setupAxes(QCustomPlot *plot, const char *timeName, float valueLimit, const char *valueName,
                   double valueRange);
    void setupLabels();
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
};

#endif // DIALOGCHART_H
