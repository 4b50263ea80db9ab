// The whole program on the serial road, at the full rate of a 230400-baud line:
// the real main window showing its read-outs, with its worker thread and data logging on, connected
// through a pseudo-terminal to a device double that answers the read-out and
// then streams TSS1 lines or EulerB frames, by default writing each sample on
// its own as a unit does. The device double runs in a process of its own, so
// that only the program's own work is measured.
//
// Each stream runs side by side in several variants, each in a process of its
// own: the engine alone (the worker in its thread, decoding every sample, with
// its reports counted in the main thread), the main window, the main window
// with the chart window (every series on), and optionally with the instruments
// too; on the offscreen platform and on the xcb platform against an X server
// (Xvfb) that the benchmark starts, whose own CPU time is counted as well.
//
// Per run it reports the program's CPU time (user + system, getrusage) per
// second of stream, the X server's, resident memory at the start and the end
// of the stream, samples decoded by the worker, samples shown by the window,
// console lines received and the console's edits, and the bytes the data log
// lost against what the device sent. At the end a summary gives the median of
// the repeated runs, each variant's cost as a ratio to the engine alone, and
// the goals.
//
// Usage: bench_serial_road [--seconds N] [--repeat N] [--soak] [--protocol NAME] [--rate BYTES_PER_S]
//                          [--chunk-ms N] [--variants LIST] [--platforms LIST] [--screenshot FILE]
//   --repeat runs every variant N times (interleaved) and summarises medians.
//   --soak runs each stream for an hour and prints resident memory every minute.
//   --chunk-ms: the device double writes the stream in one chunk every N ms
//     instead of each sample on its own.
//   --variants: comma-separated among engine, window, charts, views (charts
//     and both instruments); default engine,window,charts.
//   --platforms: comma-separated among xcb and offscreen; default both.
//   --screenshot streams a smooth EM3000 motion under Xvfb, lays the windows
//     out side by side and saves a picture of the screen instead of reporting.
// Not a test; run it by hand on a release build.

#include "ApplicationStartup.h"
#include "Console.h"
#include "DeviceDouble.h"
#include "DialogChart.h"
#include "MainWindowProbe.h"
#include "SampleInputs.h"
#include "SerialTestSettings.h"
#include "Worker.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QScreen>
#include <QSettings>
#include <QSocketNotifier>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int LineBytesPerSecond = 230400 / 10; // 8N1: ten bits a byte
constexpr int DefaultSeconds = 30;
constexpr int SoakSeconds = 3600;
constexpr int SoakReportSeconds = 60;
constexpr int DrainTimeoutMs = 10000;
constexpr int MemoryGoalMb = 5;
constexpr double ChartGoalMsPerSecond = 60.0; // what the chart window may add
constexpr int SampleWritePaceMs = 1;          // per-sample writes: every sample due by then, each on its own
constexpr int BufferSize = 256;
constexpr qint64 CompareChunk = 1 << 20;
constexpr int ScreenshotSamplesPerSecond = 50;
constexpr int ScreenshotFrameBytes = 10;
constexpr int ScreenshotSeconds = 20;
constexpr int WindowGap = 8;
constexpr int ScreenshotWidth = 1200;
constexpr int DataTab = 3;
const char *const XvfbScreen = "1920x1080x24";

enum class Variant { Engine, Window, Charts, Views };
const QList<QByteArray> VariantNames{"engine", "window", "charts", "views"};

struct Options
{
    int seconds = DefaultSeconds;
    int repeat = 1;
    int rate = LineBytesPerSecond;
    int chunkMs = 0; // 0: each sample on its own
    bool soak = false;
    QList<Variant> variants{Variant::Engine, Variant::Window, Variant::Charts};
    QList<QByteArray> platforms{"xcb", "offscreen"};
    QList<QByteArray> protocols{"TSS1", "EulerB"};
    QString screenshot;
};

// One run's figures, handed from the run's process to the benchmark's.
struct Result
{
    double cpu = 0;     // ms of CPU per second of stream
    double xserver = 0; // the X server's, when the benchmark runs one
    double growth = 0;  // MB of resident memory over the stream
    qint64 lost = 0;
};

// The goal for the main window on the given stream, in ms of CPU per second.
double windowGoalMs(const QByteArray &protocol)
{
    return protocol == "TSS1" ? 100.0 : 150.0;
}

// What a generic serial terminal program costs on the same stream, in ms of CPU per second.
double referenceCpuMs(const QByteArray &protocol)
{
    return protocol == "TSS1" ? 62.0 : 148.0;
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

// CPU time (user + system) of another process, from /proc; 0 when unknown.
double processCpuMs(pid_t pid)
{
    if (pid <= 0)
        return 0.0;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0.0;
    const QByteArray text = stat.readAll();
    // Fields after the command's closing parenthesis: state is field 3, utime 14, stime 15.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0.0;
    const double ticks = double(fields.at(11).toLongLong() + fields.at(12).toLongLong());
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
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

void startStream(DeviceDouble &device, const Options &options, const SampleInputs::Protocol &stream)
{
    if (!options.screenshot.isEmpty()) {
        device.startStreaming(smoothMotionFrame, ScreenshotSamplesPerSecond * ScreenshotFrameBytes);
        return;
    }
    device.setSampleWrites(options.chunkMs == 0);
    device.startStreaming(stream.makeInput, options.rate, options.chunkMs == 0 ? SampleWritePaceMs : options.chunkMs);
}

// Tells the program's process its port, answers the read-out, streams for the
// given time once the first read-out is through ("S" at the start, "E bytes
// samples" at the end), and ends when the program's process closes the control pipe.
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
        startStream(device, options, stream);
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
    qint64 consoleEdits = 0;
};

struct Figures
{
    double cpuAtStart = 0, cpuAtEnd = 0;
    double xAtStart = 0, xAtEnd = 0;
    double rssAtStart = 0, rssAtEnd = 0, rssMax = 0;
    qint64 wallStart = 0, wallEnd = 0;
    qint64 sentBytes = 0, streamedSamples = 0;
    Counters atStart;
};

// Counts the worker's decoded samples in its own thread, and what reaches the
// main thread (receiver) as console lines and shown samples.
void countWork(Worker *worker, QObject *receiver, Counters &counters)
{
    QObject::connect(worker, &Worker::m_consoleInsertPlainText, worker, [&counters] { ++counters.decoded; },
                     Qt::DirectConnection);
    QObject::connect(worker, &Worker::m_consoleDisplayData, worker, [&counters](const QByteArray &, int type) {
        counters.decoded += type == SerialFraming::DataLine ? 1 : 0;
    }, Qt::DirectConnection);
    QObject::connect(worker, &Worker::signalDispalyOutputData, receiver, [&counters] { ++counters.shown; });
    QObject::connect(worker, &Worker::m_consoleDisplayData, receiver, [&counters] { ++counters.consoleLines; });
    QObject::connect(worker, &Worker::m_consoleInsertPlainText, receiver, [&counters] { ++counters.consoleLines; });
}

// The chart window with every series on, and both instruments when asked for.
void openViews(MainWindow &window, bool instruments)
{
    window.findChild<QAction *>(QStringLiteral("actionChartViewer"))->trigger();
    if (instruments) {
        for (const char *name : {"actionAttitudeMeter", "actionHeading"})
            window.findChild<QAction *>(QLatin1String(name))->trigger();
    }
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

QByteArray describe(const Options &options, Variant variant)
{
    const QByteArray writes = options.chunkMs == 0 ? QByteArray("each sample written on its own")
                                                   : "a chunk every " + QByteArray::number(options.chunkMs) + " ms";
    return VariantNames.at(int(variant)) + ", " + qgetenv("QT_QPA_PLATFORM") + ", " + writes;
}

Result report(const Options &options, const QByteArray &protocol, Variant variant, const Figures &f,
              const Counters &c, qint64 lost)
{
    const double seconds = double(f.wallEnd - f.wallStart) / 1000.0;
    Result result;
    result.cpu = (f.cpuAtEnd - f.cpuAtStart) / seconds;
    result.xserver = (f.xAtEnd - f.xAtStart) / seconds;
    result.growth = f.rssAtEnd - f.rssAtStart;
    result.lost = lost;
    std::printf("%-7s stream %.1f s at %.0f bytes/s (%s)\n", protocol.constData(), seconds,
                double(f.sentBytes) / seconds, describe(options, variant).constData());
    std::printf("  CPU per second of stream   %7.1f ms   (X server %.1f ms)\n", result.cpu, result.xserver);
    std::printf("  resident memory            %7.1f MB at start, %.1f MB at end, %.1f MB at most (%+.1f MB)  %s\n",
                f.rssAtStart, f.rssAtEnd, f.rssMax, result.growth, result.growth < MemoryGoalMb ? "ok" : "GREW");
    std::printf("  samples streamed           %7lld\n", static_cast<long long>(f.streamedSamples));
    std::printf("  samples decoded            %7lld\n", static_cast<long long>(c.decoded - f.atStart.decoded));
    std::printf("  samples shown              %7lld\n", static_cast<long long>(c.shown - f.atStart.shown));
    std::printf("  console lines received     %7lld in %lld edits\n",
                static_cast<long long>(c.consoleLines - f.atStart.consoleLines),
                static_cast<long long>(c.consoleEdits - f.atStart.consoleEdits));
    std::printf("  data log: lost bytes       %7lld   of %lld sent  %s\n", static_cast<long long>(lost),
                static_cast<long long>(f.sentBytes), lost == 0 ? "ok" : "LOST OR DIFFERENT");
    std::fflush(stdout);
    return result;
}

// The program's side of one run: the main window (or, for the engine alone, a
// worker in its thread), connected to the device double, logging the stream.
class StreamRun
{
public:
    StreamRun(const Options &options, const QByteArray &protocol, Variant variant, const QTemporaryDir &dir,
              int statusFd, int resultFd, pid_t xserver)
        : m_options(options), m_protocol(protocol), m_variant(variant), m_dir(dir)
        , m_status(statusFd, QSocketNotifier::Read), m_resultFd(resultFd), m_xserver(xserver)
    {
        m_clock.start();
        QObject::connect(&m_status, &QSocketNotifier::activated, [this] { readStatus(); });
        QObject::connect(&m_memory, &QTimer::timeout, [this] { sampleMemory(); });
        if (variant == Variant::Engine)
            startEngine();
        else
            startWindow();
    }

    ~StreamRun()
    {
        if (m_thread.isRunning()) {
            QMetaObject::invokeMethod(m_worker.get(), &Worker::stopWorker, Qt::BlockingQueuedConnection);
            m_thread.quit();
            m_thread.wait();
        }
    }

    QString logPath() const { return m_dir.filePath(QStringLiteral("data.log")); }
    QString sentPath() const { return m_dir.filePath(QStringLiteral("sent.bin")); }

private:
    void startEngine()
    {
        m_worker = std::make_unique<Worker>();
        m_worker->moveToThread(&m_thread);
        countWork(m_worker.get(), &m_context, m_counters);
        m_thread.start(QThread::HighPriority);
        setLogging(true);
    }

    void startWindow()
    {
        m_window = std::make_unique<MainWindow>();
        // The read-outs in view, as a user watching the stream has them.
        m_window->findChild<QTabWidget *>(QStringLiteral("tabWidget"))->setCurrentIndex(DataTab);
        m_window->show();
        countWork(MainWindowProbe::worker(*m_window), m_window.get(), m_counters);
        QObject::connect(MainWindowProbe::console(*m_window), &QPlainTextEdit::textChanged, m_window.get(),
                         [this] { ++m_counters.consoleEdits; });
        if (m_variant != Variant::Window)
            openViews(*m_window, m_variant == Variant::Views || !m_options.screenshot.isEmpty());
        if (!m_options.screenshot.isEmpty())
            layOutWindows();
        MainWindowProbe::chooseLogFile(*m_window, logPath());
        setLogging(true);
    }

    void setLogging(bool on)
    {
        if (m_window) {
            m_window->findChild<QAction *>(QStringLiteral("actionDataLogging"))->trigger();
            return;
        }
        QMetaObject::invokeMethod(m_worker.get(), [worker = m_worker.get(), on, path = logPath()] {
            worker->startDataLogging(on, path);
        });
    }

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
        if (m_window) {
            MainWindowProbe::choosePort(*m_window, port, BaudRateTable.back());
            m_window->findChild<QAction *>(QStringLiteral("actionConnect"))->trigger();
            return;
        }
        UserSettingsType settings = serialTestSettings(port);
        settings.baudRate = BaudRateTable.back();
        settings.stringBaudRate = QString::number(settings.baudRate);
        QMetaObject::invokeMethod(m_worker.get(), [worker = m_worker.get(), settings] {
            worker->openSerialPort(settings);
        });
    }

    void streamStarted()
    {
        m_figures.wallStart = m_clock.elapsed();
        m_figures.cpuAtStart = cpuMs();
        m_figures.xAtStart = processCpuMs(m_xserver);
        m_figures.rssAtStart = m_figures.rssMax = residentMb();
        m_figures.atStart.decoded = qint64(m_counters.decoded);
        m_figures.atStart.shown = m_counters.shown;
        m_figures.atStart.consoleLines = m_counters.consoleLines;
        m_figures.atStart.consoleEdits = m_counters.consoleEdits;
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
        m_figures.xAtEnd = processCpuMs(m_xserver);
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
        setLogging(false);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        bool done = true;
        if (m_options.screenshot.isEmpty())
            sendResult(report(m_options, m_protocol, m_variant, m_figures, m_counters,
                              lostBytes(logPath(), sentPath())));
        else
            done = saveScreen();
        if (m_window)
            m_window->close();
        QCoreApplication::exit(done ? EXIT_SUCCESS : EXIT_FAILURE);
    }

    void sendResult(const Result &result)
    {
        writeLine(m_resultFd, QByteArray::number(result.cpu) + ' ' + QByteArray::number(result.xserver) + ' '
                                  + QByteArray::number(result.growth) + ' ' + QByteArray::number(result.lost));
    }

    // The main window showing its read-outs, the chart window below it, the two
    // instruments stacked on its right.
    void layOutWindows()
    {
        m_window->move(0, 0);
        const QRect main = m_window->frameGeometry();
        MainWindowProbe::chart(*m_window)->move(0, main.bottom() + WindowGap);
        AttitudeMeter &meter = MainWindowProbe::attitudeMeter(*m_window);
        meter.setPosition(main.right() + WindowGap, 0);
        MainWindowProbe::compass(*m_window).setPosition(main.right() + WindowGap, meter.height() + WindowGap);
    }

    QRect screenUsed()
    {
        return m_window->frameGeometry()
            .united(MainWindowProbe::chart(*m_window)->frameGeometry())
            .united(MainWindowProbe::attitudeMeter(*m_window).frameGeometry())
            .united(MainWindowProbe::compass(*m_window).frameGeometry());
    }

    // Whether the picture was saved.
    bool saveScreen()
    {
        const QRect used = screenUsed();
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, used.right() + 1,
                                                                           used.bottom() + 1);
        // Scaled down and in 256 colours, to keep the picture small.
        const QImage picture = screen.scaledToWidth(qMin(screen.width(), ScreenshotWidth), Qt::SmoothTransformation)
                                   .toImage()
                                   .convertToFormat(QImage::Format_Indexed8);
        const bool saved = picture.save(m_options.screenshot);
        std::printf("%s: %s\n", qPrintable(m_options.screenshot), saved ? "saved" : "NOT SAVED");
        std::fflush(stdout);
        return saved;
    }

    const Options &m_options;
    const QByteArray m_protocol;
    const Variant m_variant;
    const QTemporaryDir &m_dir;
    QSocketNotifier m_status;
    const int m_resultFd;
    const pid_t m_xserver;
    QByteArray m_pending;
    QObject m_context; // the engine's reports arrive here, in the main thread
    QThread m_thread;
    std::unique_ptr<Worker> m_worker;
    std::unique_ptr<MainWindow> m_window;
    Counters m_counters;
    Figures m_figures;
    QElapsedTimer m_clock;
    QTimer m_memory;
};

int runProgram(const Options &options, const QByteArray &protocol, Variant variant, int resultFd, pid_t xserver)
{
    QTemporaryDir dir;
    int status[2], control[2];
    if (!dir.isValid() || ::pipe(status) != 0 || ::pipe(control) != 0)
        return EXIT_FAILURE;
    const QString sentPath = dir.filePath(QStringLiteral("sent.bin"));
    std::fflush(stdout);
    const pid_t device = fork();
    if (device == 0) {
        ::close(status[0]);
        ::close(control[1]);
        std::_Exit(runDevice(options, protocol, sentPath, status[1], control[0]));
    }
    ::close(status[1]);
    ::close(control[0]);

    int argc = 1;
    char name[] = "bench_serial_road";
    char *argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (variant == Variant::Engine)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    registerDeviceMetaTypes();
    if (variant != Variant::Engine) {
        setDefaultSurfaceFormat();
        loadApplicationFonts();
    }
    int result = EXIT_SUCCESS;
    {
        StreamRun run(options, protocol, variant, dir, status[0], resultFd, xserver);
        result = app->exec();
    }
    ::close(control[1]); // the device double ends
    ::waitpid(device, nullptr, 0);
    return result;
}

// ---- The benchmark's process ------------------------------------------------------------

// An X server of the benchmark's own on a free display; its process id, or 0.
pid_t startXvfb()
{
    int ready[2];
    if (::pipe(ready) != 0)
        return 0;
    const pid_t server = fork();
    if (server == 0) {
        ::close(ready[0]);
        const QByteArray fd = QByteArray::number(ready[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.constData(), "-screen", "0", XvfbScreen, "-nolisten", "tcp",
               static_cast<char *>(nullptr));
        std::_Exit(127);
    }
    ::close(ready[1]);
    char buffer[BufferSize] = {};
    const ssize_t n = ::read(ready[0], buffer, sizeof buffer - 1);
    ::close(ready[0]);
    if (n <= 0) {
        std::fprintf(stderr, "bench_serial_road: Xvfb did not start\n");
        ::waitpid(server, nullptr, 0);
        return 0;
    }
    qputenv("DISPLAY", ":" + QByteArray(buffer, n).trimmed());
    return server;
}

void stopXvfb(pid_t server)
{
    if (server <= 0)
        return;
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
}

// Runs one variant in a process of its own, so that one run's memory does not
// count in the next; its result, if it got that far. A screenshot run reports no
// figures: its process ends well once the picture is saved.
std::optional<Result> runVariant(const Options &options, const QByteArray &protocol, Variant variant, pid_t xserver)
{
    int results[2];
    if (::pipe(results) != 0)
        return std::nullopt;
    std::fflush(stdout); // or the child prints it again
    const pid_t run = fork();
    if (run == 0) {
        ::close(results[0]);
        std::_Exit(runProgram(options, protocol, variant, results[1], xserver));
    }
    ::close(results[1]);
    QByteArray line;
    char buffer[BufferSize];
    for (ssize_t n = ::read(results[0], buffer, sizeof buffer); n > 0; n = ::read(results[0], buffer, sizeof buffer))
        line.append(buffer, n);
    ::close(results[0]);
    int status = 0;
    ::waitpid(run, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    if (!options.screenshot.isEmpty())
        return Result{};
    const QList<QByteArray> fields = line.trimmed().split(' ');
    if (fields.size() != 4)
        return std::nullopt;
    return Result{fields.at(0).toDouble(), fields.at(1).toDouble(), fields.at(2).toDouble(), fields.at(3).toLongLong()};
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2.0;
}

using Results = QMap<Variant, QList<Result>>;

double medianOf(const Results &results, Variant variant, double Result::*figure)
{
    QList<double> values;
    for (const Result &result : results.value(variant))
        values.append(result.*figure);
    return median(values);
}

// A cost as a ratio to the engine alone's, or nothing when the engine did not run.
QByteArray engineRatio(double cpu, double engine)
{
    return engine > 0 ? QString::asprintf("x%5.1f engine", cpu / engine).toLatin1() : QByteArray();
}

// One summary line per variant of a stream: medians, ratio to the engine, goals.
void summarise(const Options &options, const QByteArray &platform, const QByteArray &protocol, const Results &results)
{
    const double engine = medianOf(results, Variant::Engine, &Result::cpu);
    const double window = medianOf(results, Variant::Window, &Result::cpu);
    std::printf("Median of the runs, CPU per second of stream (a generic serial terminal: %.0f ms):\n",
                referenceCpuMs(protocol));
    for (Variant variant : options.variants) {
        const double cpu = medianOf(results, variant, &Result::cpu);
        qint64 lost = 0;
        double growth = 0;
        for (const Result &result : results.value(variant)) {
            lost = result.lost != 0 ? result.lost : lost;
            growth = qMax(growth, result.growth);
        }
        QByteArray goal;
        if (platform == "xcb" && variant == Variant::Window)
            goal = cpu <= windowGoalMs(protocol) ? "ok" : "ABOVE GOAL";
        if (platform == "xcb" && variant == Variant::Charts && !std::isnan(window))
            goal = cpu - window <= ChartGoalMsPerSecond ? "ok" : "ABOVE GOAL";
        std::printf("%-9s %-7s %-7s %2lld runs  %7.1f ms  %-13s  X server %6.1f ms  memory %+5.1f MB  "
                    "lost %lld  %s\n",
                    platform.constData(), protocol.constData(), VariantNames.at(int(variant)).constData(),
                    static_cast<long long>(results.value(variant).size()), cpu, engineRatio(cpu, engine).constData(),
                    medianOf(results, variant, &Result::xserver), growth, static_cast<long long>(lost),
                    goal.constData());
    }
}

int runPlatform(const Options &options, const QByteArray &platform)
{
    qputenv("QT_QPA_PLATFORM", platform);
    const pid_t xserver = platform == "xcb" ? startXvfb() : 0;
    if (platform == "xcb" && xserver == 0)
        return 1;
    int failures = 0;
    for (const QByteArray &protocol : options.protocols) {
        Results results;
        for (int i = 0; i < options.repeat; ++i) {
            for (Variant variant : options.variants) {
                const std::optional<Result> result = runVariant(options, protocol, variant, xserver);
                failures += result ? 0 : 1;
                if (result)
                    results[variant].append(*result);
            }
        }
        if (options.screenshot.isEmpty())
            summarise(options, platform, protocol, results);
    }
    stopXvfb(xserver);
    return failures;
}

QList<Variant> variantsNamed(const QByteArray &list)
{
    QList<Variant> variants;
    for (const QByteArray &name : list.split(',')) {
        const qsizetype index = VariantNames.indexOf(name);
        if (index < 0) {
            std::fprintf(stderr, "unknown variant %s\n", name.constData());
            std::exit(EXIT_FAILURE);
        }
        variants.append(Variant(index));
    }
    return variants;
}

[[noreturn]] void usage(const char *program)
{
    std::fprintf(stderr,
                 "usage: %s [--seconds N] [--repeat N] [--soak] [--protocol NAME] [--rate BYTES] [--chunk-ms N] "
                 "[--variants engine,window,charts,views] [--platforms xcb,offscreen] [--screenshot FILE]\n",
                 program);
    std::exit(EXIT_FAILURE);
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
            continue;
        }
        if (value.isEmpty())
            usage(argv[0]);
        ++i;
        if (arg == "--seconds")
            options.seconds = value.toInt();
        else if (arg == "--repeat")
            options.repeat = qMax(1, value.toInt());
        else if (arg == "--chunk-ms")
            options.chunkMs = value.toInt();
        else if (arg == "--rate")
            options.rate = value.toInt();
        else if (arg == "--protocol")
            options.protocols = {value};
        else if (arg == "--variants")
            options.variants = variantsNamed(value);
        else if (arg == "--platforms")
            options.platforms = value.split(',');
        else if (arg == "--screenshot") {
            options.screenshot = QString::fromLocal8Bit(value);
            options.protocols = {"EM3000"};
            options.variants = {Variant::Views};
            options.platforms = {"xcb"};
            options.seconds = ScreenshotSeconds;
        } else
            usage(argv[0]);
    }
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parse(argc, argv);
    int failures = 0;
    for (const QByteArray &platform : options.platforms)
        failures += runPlatform(options, platform);
    return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
