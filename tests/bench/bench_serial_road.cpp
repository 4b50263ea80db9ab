// The whole program on the serial road, at the full rate of a 230400-baud line:
// the real main window (offscreen), its worker thread, the chart window with
// every series on and both instruments open, data logging on, connected through
// a pseudo-terminal to a device double that answers the read-out and then
// streams TSS1 lines or EulerB frames. The device double runs in a process of
// its own, so that only the program's own work is measured.
//
// Per run it reports the program's CPU time (user + system, getrusage) per
// second of stream, resident memory at the start and the end of the stream,
// samples decoded by the worker, samples shown by the window, console lines
// shown, and the bytes the data log lost against what the device sent.
//
// Usage: bench_serial_road [--seconds N] [--soak] [--protocol NAME] [--rate BYTES_PER_S] [--chunk-ms N]
//                          [--without-views] [--screenshot FILE]
//   --soak runs each stream for an hour and prints resident memory every minute.
//   --chunk-ms: the device double writes the stream in one chunk every N ms (default 5).
//   --without-views leaves the chart window and the instruments closed.
//   --screenshot streams a smooth EM3000 motion, lays the windows out side by
//   side and saves a picture of the screen instead of reporting (for a real
//   display such as Xvfb: QT_QPA_PLATFORM=xcb).
// Not a test; run it by hand on a release build.

#include "ApplicationStartup.h"
#include "Console.h"
#include "DeviceDouble.h"
#include "DialogChart.h"
#include "MainWindowProbe.h"
#include "SampleInputs.h"
#include "Worker.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTabWidget>
#include <QTimer>
#include <QtEndian>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <memory>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int LineBytesPerSecond = 230400 / 10; // 8N1: ten bits a byte
constexpr int DefaultSeconds = 60;
constexpr int SoakSeconds = 3600;
constexpr int SoakReportSeconds = 60;
constexpr int DrainTimeoutMs = 10000;
constexpr int MemoryGoalMb = 5;
constexpr double CpuGoalMsPerSecond = 100.0; // 10 % of one core
constexpr int BufferSize = 256;
constexpr qint64 CompareChunk = 1 << 20;
constexpr int ScreenshotSamplesPerSecond = 50;
constexpr int ScreenshotFrameBytes = 10;
constexpr int ScreenshotSeconds = 20;
constexpr int WindowGap = 8;
constexpr int ScreenshotWidth = 1200;
constexpr int DataTab = 3;

struct Options
{
    int seconds = DefaultSeconds;
    int rate = LineBytesPerSecond;
    int chunkMs = DeviceDouble::DefaultPaceMs;
    bool soak = false;
    bool views = true;
    QList<QByteArray> protocols{"TSS1", "EulerB"};
    QString screenshot;
};

// What the terminal-program reference costs on the same stream, in ms of CPU per second.
double referenceCpuMs(const QByteArray &protocol)
{
    return protocol == "TSS1" ? 62.0 : 150.0;
}

// EM3000 frames of a slow, smooth motion: a sea state for the picture.
QByteArray smoothMotionFrame()
{
    static int step = 0;
    const double t = ++step / double(ScreenshotSamplesPerSecond);
    const auto word = [](double value) { return quint16(qint16(qRound(value * 100.0))); };
    QByteArray frame("\x90\x90", 2);
    for (quint16 value : {word(8.0 * std::sin(t * 0.9)), word(4.0 * std::sin(t * 0.6 + 1.0)),
                          word(1.5 * std::sin(t * 0.45)), quint16(qRound(100.0 * (120.0 + 15.0 * std::sin(t * 0.2))))}) {
        char bytes[2];
        qToLittleEndian(value, bytes);
        frame.append(bytes, 2);
    }
    return frame;
}

const SampleInputs::Protocol &protocolNamed(const QByteArray &name)
{
    for (const SampleInputs::Protocol &protocol : SampleInputs::Protocols) {
        if (name == protocol.name)
            return protocol;
    }
    std::fprintf(stderr, "unknown protocol %s\n", name.constData());
    std::exit(EXIT_FAILURE);
}

QByteArray protocolAnswer(uint32_t value)
{
    return QStringLiteral("%1.%2.%3.%4:0")
        .arg(value >> 24).arg((value >> 16) & 0xFF).arg((value >> 8) & 0xFF).arg(value & 0xFF).toLatin1();
}

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? double(fields.at(1).toLongLong()) * double(sysconf(_SC_PAGESIZE)) / (1 << 20) : 0.0;
}

void writeLine(int fd, const QByteArray &line)
{
    const QByteArray bytes = line + '\n';
    if (::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        std::perror("bench_serial_road: pipe");
}

// ---- The device double's process --------------------------------------------------------

// Tells the window process its port, answers the read-out, streams for the
// given time once the first read-out is through ("S" at the start, "E bytes
// samples" at the end), and ends when the window process closes the control pipe.
int runDevice(const Options &options, const QByteArray &protocol, const QString &sentPath, int statusFd, int controlFd)
{
    int argc = 1;
    char name[] = "device";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const SampleInputs::Protocol &stream = protocolNamed(protocol);

    DeviceDouble device;
    device.setKeepSentBytes(false);
    device.configuration()["prt"] = protocolAnswer(stream.value);
    QFile sent(sentPath);
    if (!sent.open(QIODevice::WriteOnly))
        return EXIT_FAILURE;
    QObject::connect(&device, &DeviceDouble::bytesSent, [&sent](const QByteArray &bytes) { sent.write(bytes); });

    QTimer end;
    end.setSingleShot(true);
    QObject::connect(&device, &DeviceDouble::readoutAnswered, [&] {
        if (device.streaming() || end.isActive() || device.samplesStreamed() > 0)
            return;
        if (options.screenshot.isEmpty())
            device.startStreaming(stream.makeInput, options.rate, options.chunkMs);
        else
            device.startStreaming(smoothMotionFrame, ScreenshotSamplesPerSecond * ScreenshotFrameBytes);
        writeLine(statusFd, "S");
        end.start(options.seconds * 1000);
    });
    QObject::connect(&end, &QTimer::timeout, [&] {
        device.stopStreaming();
        sent.flush();
        writeLine(statusFd, "E " + QByteArray::number(device.sentCount()) + " "
                                + QByteArray::number(device.samplesStreamed()));
    });
    QSocketNotifier control(controlFd, QSocketNotifier::Read);
    QObject::connect(&control, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    writeLine(statusFd, device.portName().toLatin1());
    return app.exec();
}

// ---- The program's process --------------------------------------------------------------

struct Counters
{
    std::atomic<qint64> decoded{0};
    qint64 shown = 0;
    qint64 consoleLines = 0;
};

struct Figures
{
    double cpuAtStart = 0, cpuAtEnd = 0;
    double rssAtStart = 0, rssAtEnd = 0, rssMax = 0;
    qint64 wallStart = 0, wallEnd = 0;
    qint64 sentBytes = 0, streamedSamples = 0;
    qint64 decodedAtStart = 0, shownAtStart = 0, linesAtStart = 0;
};

void countWork(MainWindow &window, Counters &counters)
{
    Worker *worker = MainWindowProbe::worker(window);
    QObject::connect(worker, &Worker::m_consoleInsertPlainText, worker, [&counters] { ++counters.decoded; },
                     Qt::DirectConnection);
    QObject::connect(worker, &Worker::m_consoleDisplayData, worker, [&counters](const QByteArray &, int type) {
        counters.decoded += type == SerialFraming::DataLine ? 1 : 0;
    }, Qt::DirectConnection);
    QObject::connect(worker, &Worker::signalDispalyOutputData, &window, [&counters] { ++counters.shown; });
    QObject::connect(MainWindowProbe::console(window), &QPlainTextEdit::textChanged, &window,
                     [&counters] { ++counters.consoleLines; });
}

// The chart window with every series on, and both instruments.
void openViews(MainWindow &window)
{
    for (const char *name : {"actionChartViewer", "actionAttitudeMeter", "actionHeading"})
        window.findChild<QAction *>(QLatin1String(name))->trigger();
    for (QCheckBox *box : MainWindowProbe::chart(window)->findChildren<QCheckBox *>())
        box->setChecked(true);
}

// Compares the data log with what the device sent: the bytes missing from the
// log, or -1 when the log differs from the device's bytes.
qint64 lostBytes(const QString &logPath, const QString &sentPath)
{
    QFile log(logPath), sent(sentPath);
    if (!log.open(QIODevice::ReadOnly) || !sent.open(QIODevice::ReadOnly))
        return -1;
    while (!log.atEnd()) {
        if (log.read(CompareChunk) != sent.read(CompareChunk))
            return -1;
    }
    return sent.size() - log.size();
}

void report(const Options &options, const QByteArray &protocol, const Figures &f, const Counters &c, qint64 lost)
{
    const double seconds = double(f.wallEnd - f.wallStart) / 1000.0;
    const double cpu = (f.cpuAtEnd - f.cpuAtStart) / seconds;
    const double growth = f.rssAtEnd - f.rssAtStart;
    std::printf("%-7s stream %.1f s at %.0f bytes/s, a chunk every %d ms, %s\n", protocol.constData(), seconds,
                double(f.sentBytes) / seconds, options.chunkMs,
                options.views ? "chart window and instruments open" : "no chart window, no instruments");
    std::printf("  CPU per second of stream   %7.1f ms   goal < %.0f ms, reference terminal %.0f ms  %s\n", cpu,
                CpuGoalMsPerSecond, referenceCpuMs(protocol),
                cpu < CpuGoalMsPerSecond && cpu < referenceCpuMs(protocol) ? "ok" : "ABOVE GOAL");
    std::printf("  resident memory            %7.1f MB at start, %.1f MB at end, %.1f MB at most (%+.1f MB)  %s\n",
                f.rssAtStart, f.rssAtEnd, f.rssMax, growth, growth < MemoryGoalMb ? "ok" : "GREW");
    std::printf("  samples streamed           %7lld\n", static_cast<long long>(f.streamedSamples));
    std::printf("  samples decoded            %7lld\n", static_cast<long long>(c.decoded - f.decodedAtStart));
    std::printf("  samples shown              %7lld\n", static_cast<long long>(c.shown - f.shownAtStart));
    std::printf("  console lines shown        %7lld\n", static_cast<long long>(c.consoleLines - f.linesAtStart));
    std::printf("  data log: lost bytes       %7lld   of %lld sent  %s\n", static_cast<long long>(lost),
                static_cast<long long>(f.sentBytes), lost == 0 ? "ok" : "LOST OR DIFFERENT");
    std::fflush(stdout);
}

class WindowRun
{
public:
    WindowRun(const Options &options, const QByteArray &protocol, const QTemporaryDir &dir, int statusFd)
        : m_options(options), m_protocol(protocol), m_dir(dir), m_status(statusFd, QSocketNotifier::Read)
    {
        m_clock.start();
        QObject::connect(&m_status, &QSocketNotifier::activated, [this] { readStatus(); });
        QObject::connect(&m_memory, &QTimer::timeout, [this] { sampleMemory(); });
        m_window.show();
        countWork(m_window, m_counters);
        if (m_options.views)
            openViews(m_window);
        if (!m_options.screenshot.isEmpty())
            layOutWindows();
        MainWindowProbe::chooseLogFile(m_window, logPath());
        m_window.findChild<QAction *>(QStringLiteral("actionDataLogging"))->trigger();
    }

    QString logPath() const { return m_dir.filePath(QStringLiteral("data.log")); }
    QString sentPath() const { return m_dir.filePath(QStringLiteral("sent.bin")); }

private:
    void readStatus()
    {
        char buffer[BufferSize];
        const ssize_t n = ::read(int(m_status.socket()), buffer, sizeof buffer);
        if (n <= 0)
            return;
        m_pending.append(buffer, n);
        for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
            const QByteArray line = m_pending.left(end);
            m_pending.remove(0, end + 1);
            handleStatus(line);
        }
    }

    void handleStatus(const QByteArray &line)
    {
        if (line.startsWith("/dev/"))
            connectTo(QString::fromLatin1(line));
        else if (line == "S")
            streamStarted();
        else if (line.startsWith("E "))
            streamEnded(line.split(' '));
    }

    void connectTo(const QString &port)
    {
        MainWindowProbe::choosePort(m_window, port, BaudRateTable.back());
        m_window.findChild<QAction *>(QStringLiteral("actionConnect"))->trigger();
    }

    void streamStarted()
    {
        m_figures.wallStart = m_clock.elapsed();
        m_figures.cpuAtStart = cpuMs();
        m_figures.rssAtStart = m_figures.rssMax = residentMb();
        m_figures.decodedAtStart = m_counters.decoded;
        m_figures.shownAtStart = m_counters.shown;
        m_figures.linesAtStart = m_counters.consoleLines;
        m_memory.start(m_options.soak ? SoakReportSeconds * 1000 : 1000);
    }

    void sampleMemory()
    {
        const double rss = residentMb();
        m_figures.rssMax = qMax(m_figures.rssMax, rss);
        if (m_options.soak)
            std::printf("  %6.0f s  resident %.1f MB\n", double(m_clock.elapsed() - m_figures.wallStart) / 1000.0, rss);
        std::fflush(stdout);
    }

    void streamEnded(const QList<QByteArray> &fields)
    {
        m_figures.wallEnd = m_clock.elapsed();
        m_figures.cpuAtEnd = cpuMs();
        m_figures.rssAtEnd = residentMb();
        m_memory.stop();
        m_figures.sentBytes = fields.value(1).toLongLong();
        m_figures.streamedSamples = fields.value(2).toLongLong();
        // The tail of the stream reaches the log; then logging stops and the window goes.
        m_status.setEnabled(false);
        QElapsedTimer drain;
        drain.start();
        while (QFileInfo(logPath()).size() < m_figures.sentBytes && drain.elapsed() < DrainTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        m_window.findChild<QAction *>(QStringLiteral("actionDataLogging"))->trigger();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        if (m_options.screenshot.isEmpty())
            report(m_options, m_protocol, m_figures, m_counters, lostBytes(logPath(), sentPath()));
        else
            saveScreen();
        m_window.close();
        QCoreApplication::quit();
    }

    // The main window showing its read-outs, the chart window below it, the two
    // instruments stacked on its right.
    void layOutWindows()
    {
        m_window.findChild<QTabWidget *>(QStringLiteral("tabWidget"))->setCurrentIndex(DataTab);
        m_window.move(0, 0);
        const QRect main = m_window.frameGeometry();
        MainWindowProbe::chart(m_window)->move(0, main.bottom() + WindowGap);
        AttitudeMeter &meter = MainWindowProbe::attitudeMeter(m_window);
        meter.setPosition(main.right() + WindowGap, 0);
        MainWindowProbe::compass(m_window).setPosition(main.right() + WindowGap, meter.height() + WindowGap);
    }

    QRect screenUsed()
    {
        return m_window.frameGeometry()
            .united(MainWindowProbe::chart(m_window)->frameGeometry())
            .united(MainWindowProbe::attitudeMeter(m_window).frameGeometry())
            .united(MainWindowProbe::compass(m_window).frameGeometry());
    }

    void saveScreen()
    {
        const QRect used = screenUsed();
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, used.right() + 1,
                                                                           used.bottom() + 1);
        // Scaled down and in 256 colours, to keep the picture small.
        const QImage picture = screen.scaledToWidth(qMin(screen.width(), ScreenshotWidth), Qt::SmoothTransformation)
                                   .toImage()
                                   .convertToFormat(QImage::Format_Indexed8);
        std::printf("%s: %s\n", qPrintable(m_options.screenshot),
                    picture.save(m_options.screenshot) ? "saved" : "NOT SAVED");
        std::fflush(stdout);
    }

    const Options &m_options;
    const QByteArray m_protocol;
    const QTemporaryDir &m_dir;
    QSocketNotifier m_status;
    QByteArray m_pending;
    MainWindow m_window;
    Counters m_counters;
    Figures m_figures;
    QElapsedTimer m_clock;
    QTimer m_memory;
};

int runWindow(const Options &options, const QByteArray &protocol)
{
    QTemporaryDir dir;
    int status[2], control[2];
    if (!dir.isValid() || ::pipe(status) != 0 || ::pipe(control) != 0)
        return EXIT_FAILURE;
    const QString sentPath = dir.filePath(QStringLiteral("sent.bin"));
    const pid_t device = fork();
    if (device == 0) {
        ::close(status[0]);
        ::close(control[1]);
        std::_Exit(runDevice(options, protocol, sentPath, status[1], control[0]));
    }
    ::close(status[1]);
    ::close(control[0]);

    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    int argc = 1;
    char name[] = "bench_serial_road";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    registerDeviceMetaTypes();
    setDefaultSurfaceFormat();
    loadApplicationFonts();
    int result = EXIT_SUCCESS;
    {
        WindowRun run(options, protocol, dir, status[0]);
        result = app.exec();
    }
    ::close(control[1]); // the device double ends
    ::waitpid(device, nullptr, 0);
    return result;
}

Options parse(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        const QByteArray value = i + 1 < argc ? QByteArray(argv[i + 1]) : QByteArray();
        if (arg == "--soak") {
            options.soak = true;
            options.seconds = SoakSeconds;
        } else if (arg == "--seconds" && !value.isEmpty()) {
            options.seconds = value.toInt();
            ++i;
        } else if (arg == "--chunk-ms" && !value.isEmpty()) {
            options.chunkMs = value.toInt();
            ++i;
        } else if (arg == "--without-views") {
            options.views = false;
        } else if (arg == "--rate" && !value.isEmpty()) {
            options.rate = value.toInt();
            ++i;
        } else if (arg == "--screenshot" && !value.isEmpty()) {
            options.screenshot = QString::fromLocal8Bit(value);
            options.protocols = {"EM3000"};
            options.seconds = ScreenshotSeconds;
            ++i;
        } else if (arg == "--protocol" && !value.isEmpty()) {
            options.protocols = {value};
            ++i;
        } else {
            std::fprintf(stderr,
                         "usage: %s [--seconds N] [--soak] [--protocol NAME] [--rate BYTES] [--chunk-ms N] "
                         "[--without-views] [--screenshot FILE]\n",
                         argv[0]);
            std::exit(EXIT_FAILURE);
        }
    }
    return options;
}

} // namespace

// Each run gets a program process of its own, so that one run's memory does not
// count in the next.
int main(int argc, char **argv)
{
    const Options options = parse(argc, argv);
    int failures = 0;
    for (const QByteArray &protocol : options.protocols) {
        const pid_t run = fork();
        if (run == 0)
            std::_Exit(runWindow(options, protocol));
        int status = 0;
        ::waitpid(run, &status, 0);
        failures += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
