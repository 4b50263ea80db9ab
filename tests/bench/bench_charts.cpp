// Measures the decoded display with the chart window open and all eleven
// series checked: samples go through MainWindow::dispalyOutputData at the
// worker's display rate of 20 per second of simulated time, the charts' clock
// driven by the simulation. Prints, per simulated hour, the mean and 99th
// percentile cost of one call (read-outs, instruments and the four replots),
// in wall time and in the thread's own processor time (which other load on
// the machine disturbs less), the points held per graph and the process's
// resident memory.
// Run it by hand on a release build: bench_charts [hours, default 8].

#include "DialogChart.h"
#include "DisplayNumber.h"
#include "MainWindowProbe.h"
#include "Worker.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <time.h>
#include <unistd.h>

namespace {

constexpr qint64 SampleIntervalMs = 50;
constexpr qint64 SamplesPerHour = 3600 * 1000 / SampleIntervalMs;
constexpr qint64 SamplesPerTenMinutes = SamplesPerHour / 6;
constexpr int DistinctSamples = 1200;
constexpr double GoalP99Ms = 4.0;
constexpr double GoalMemoryGrowthMb = 5.0;
constexpr double GoalPointsPerGraph = 6000.0;
constexpr double PointsTolerance = 50.0;
constexpr int DefaultHours = 8;

// A minute of varied samples as the decoders format them.
std::vector<OutputDataType> makeSamples()
{
    std::vector<OutputDataType> samples(DistinctSamples);
    for (int i = 0; i < DistinctSamples; ++i) {
        const double t = i * 0.05;
        OutputDataType &data = samples[std::size_t(i)];
        const auto put = [&data](int field, double value, int decimals) {
            writeDisplayNumber(data.field[std::size_t(field)], value, decimals);
        };
        put(OutputDataType::Roll, 5 * std::sin(t * 0.7), 2);
        put(OutputDataType::Pitch, 3 * std::cos(t * 0.5), 2);
        put(OutputDataType::Yaw, 180 + 90 * std::sin(t * 0.01), 1);
        put(OutputDataType::RollRate, 2 * std::cos(t * 0.7), 2);
        put(OutputDataType::PitchRate, 1.5 * std::sin(t * 0.5), 2);
        put(OutputDataType::YawRate, 0.3 * std::sin(t), 2);
        put(OutputDataType::Heave, 0.8 * std::sin(t * 0.3), 3);
        put(OutputDataType::HeaveVelocity, 0.24 * std::cos(t * 0.3), 3);
        put(OutputDataType::Ax, 0.2 * std::sin(t * 1.1), 3);
        put(OutputDataType::Ay, 0.2 * std::cos(t * 0.9), 3);
        put(OutputDataType::Az, 9.81 + 0.1 * std::sin(t * 1.3), 3);
    }
    return samples;
}

// Milliseconds of processor time this thread has used.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

struct Figures
{
    double mean = 0.0;
    double p99 = 0.0;
    double most = 0.0;
};

Figures figuresOf(const std::vector<double> &costs)
{
    Figures figures;
    for (const double cost : costs)
        figures.mean += cost;
    figures.mean /= double(costs.size());
    std::vector<double> sorted = costs;
    const auto p99 = sorted.begin() + std::ptrdiff_t(double(sorted.size()) * 0.99);
    std::nth_element(sorted.begin(), p99, sorted.end());
    figures.p99 = *p99;
    figures.most = *std::max_element(costs.begin(), costs.end());
    return figures;
}

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0.0;
}

int pointsPerGraph(DialogChart *chart)
{
    int most = 0;
    for (QCPGraph *graph : chart->findChildren<QCPGraph *>())
        most = std::max(most, graph->dataCount());
    return most;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("orvanta.*.debug=false"));
    const int hours = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultHours;

    QTemporaryDir storeDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storeDir.path());
    MainWindow window;
    MainWindowProbe::setConnectionMode(window, Worker::SerialMode);
    DialogChart *chart = MainWindowProbe::chart(window);
    qint64 simulatedMs = 0;
    chart->setClock([&simulatedMs] { return simulatedMs; });
    for (QCheckBox *box : chart->findChildren<QCheckBox *>())
        box->setChecked(true);
    chart->show();
    chart->setActiveStatus(true);

    OutputProtocolType protocol;
    protocol.value = 20;
    protocol.format = {0xFF, 0xE0, 0, 0};
    protocol.enabled = true;
    const std::vector<OutputDataType> samples = makeSamples();

    std::printf("%4s %9s %9s %9s %9s %9s %8s %8s\n", "hour", "mean ms", "p99 ms", "max ms", "cpu mean", "cpu p99",
                "points", "RSS MB");
    double memoryAtTenMinutes = 0.0, memoryMost = 0.0, worstP99 = 0.0;
    int points = 0;
    std::vector<double> costs(static_cast<std::size_t>(SamplesPerHour));
    std::vector<double> cpuCosts(costs.size());
    qint64 sample = 0;
    for (int hour = 1; hour <= hours; ++hour) {
        for (std::size_t i = 0; i < costs.size(); ++i) {
            simulatedMs += SampleIntervalMs;
            const OutputDataType &data = samples[std::size_t(sample++ % DistinctSamples)];
            const double cpuStart = threadCpuMs();
            const auto start = std::chrono::steady_clock::now();
            window.dispalyOutputData(data, protocol);
            costs[i] = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            cpuCosts[i] = threadCpuMs() - cpuStart;
            // The screen repaint, coalesced in the event loop between samples.
            QCoreApplication::processEvents();
            if (sample == SamplesPerTenMinutes)
                memoryAtTenMinutes = residentMb();
        }
        const Figures wall = figuresOf(costs);
        const Figures cpu = figuresOf(cpuCosts);
        points = pointsPerGraph(chart);
        const double memory = residentMb();
        memoryMost = std::max(memoryMost, memory);
        worstP99 = std::max(worstP99, cpu.p99);
        std::printf("%4d %9.3f %9.3f %9.3f %9.3f %9.3f %8d %8.1f\n", hour, wall.mean, wall.p99, wall.most, cpu.mean,
                    cpu.p99, points, memory);
        std::fflush(stdout);
    }

    const double growth = memoryMost - memoryAtTenMinutes;
    const bool pointsMet = std::fabs(points - GoalPointsPerGraph) <= PointsTolerance;
    std::printf("RSS at 10 min %.1f MB, growth after %.1f MB (goal <= %.0f); processor p99 worst %.3f ms (goal < %.0f); "
                "points %d (goal about %.0f)\n",
                memoryAtTenMinutes, growth, GoalMemoryGrowthMb, worstP99, GoalP99Ms, points, GoalPointsPerGraph);
    const bool met = worstP99 < GoalP99Ms && growth <= GoalMemoryGrowthMb && pointsMet;
    std::printf("%s\n", met ? "ok" : "BELOW GOAL");
    return met ? EXIT_SUCCESS : EXIT_FAILURE;
}
