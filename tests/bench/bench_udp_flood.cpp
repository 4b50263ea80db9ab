// The whole program under a flood on its local UDP port: anything on the
// network may send to it, as fast as the loopback carries datagrams. The real
// main window, shown offscreen, connects Ethernet through its action inside a
// network namespace of the benchmark's own; a thread of the benchmark then
// sends one kind of datagram to 127.0.0.1 at the program's local port, and
// after the flood's time, while it still sends, the user's Disconnect is
// triggered. The flood ends when the worker runs the Disconnect.
//
// Per kind of datagram it reports the datagrams sent and those the worker took
// per second, the worst event-loop gap of the main thread (the longest time
// between two firings of a 5 ms timer, from the start of the flood until the
// loop is calm again) and how long after the flood it became calm, how late
// the main thread ran the Disconnect's trigger and how long the worker then
// took to run it, and how fast the event log (errorLogger.txt beside the
// program) grew.
//
// Kinds: answer (a valid settings answer of a model with Ethernet), short (the
// answer token and a few bytes), long (a valid answer of about 64 KB), sample
// (84-byte output datagrams), garbage (datagrams of random sizes and bytes
// that are neither).
//
// Where the program cannot keep up, a run may take minutes, several GB of
// memory and several GB of event log; the flood is cut short, and the row says
// so, before either has grown by 4 GB.
//
// Usage: bench_udp_flood [--seconds N] [--kinds answer,short,long,sample,garbage]
//   --seconds: how long the flood runs before the Disconnect (default 3).
// Not a test; run it by hand on a release build.

#include "ApplicationStartup.h"
#include "DeviceTypes.h"
#include "MainWindowProbe.h"
#include "NetNamespace.h"
#include "UdpDatagrams.h"
#include "UdpDevice.h"
#include "Worker.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int DefaultSeconds = 3;
constexpr int ProbeIntervalMs = 5;
constexpr int PollMs = 5;
constexpr int CapMs = 60000; // the longest wait for a connect or for a calm event loop
// How long the flood goes on after the Disconnect's trigger while the worker
// has not run it; kept short, since a flood of long answers can grow the event
// log by a gigabyte a second. The sender stops by itself after twice that,
// past the flood's time, should the main thread not get round to stopping it.
constexpr int DisconnectCapMs = 20000;
constexpr int SenderCapMs = 2 * DisconnectCapMs;
// A program that cannot keep up lets the main thread's queue and the event log
// grow without bound under some floods: the sender stops early, and says so, once the process's
// resident memory or the event log has grown by this much during the flood.
constexpr int GrowthLimitGb = 4;
constexpr qint64 GrowthLimitBytes = qint64(GrowthLimitGb) << 30;
constexpr int LimitCheckMs = 20;
constexpr int CalmGapMs = 50; // a gap up to this counts as a calm event loop
constexpr int CalmMs = 500;   // how long the loop stays calm before the next row
constexpr uint8_t EthernetHardwareId = 31;
constexpr int LongTrailerBytes = 65000;
constexpr char ShortAnswerTail[] = "abc";
constexpr int GarbageDatagrams = 64;
constexpr int GarbageMaxBytes = 1400;
constexpr quint32 GarbageSeed = 20240611;
constexpr float SampleWord = 1.5f;
const char *const EventLogName = "/errorLogger.txt";

enum class Kind { Answer, Short, Long, Sample, Garbage };
const QList<QByteArray> KindNames{"answer", "short", "long", "sample", "garbage"};

struct Options
{
    int seconds = DefaultSeconds;
    QList<Kind> kinds{Kind::Answer, Kind::Short, Kind::Long, Kind::Sample, Kind::Garbage};
};

// One row of the table; a figure left empty was not reached within its cap.
struct Row
{
    Kind kind = Kind::Answer;
    double sentPerSecond = 0;
    double takenPerSecond = 0;
    double worstGapMs = 0;
    std::optional<double> calmAfterMs;
    double triggerLateMs = 0;
    std::optional<double> disconnectMs;
    bool floodedAtTrigger = true; // else the flood was cut short before the Disconnect
    double eventLogKbPerSecond = 0;
    QByteArray cutShort;
};

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// ---- What is sent ------------------------------------------------------------------------

// A unit of a model with Ethernet: the window keeps the Ethernet action
// enabled for it, so that the user can still Disconnect.
DeviceRecord ethernetUnit()
{
    DeviceRecord record;
    record.hardwareId = EthernetHardwareId;
    return record;
}

QByteArray longAnswer()
{
    DeviceRecord record = ethernetUnit();
    record.trailer = QByteArray(LongTrailerBytes, 'x');
    return record.toAnswer();
}

// Random sizes and bytes, kept only where the program takes them for neither
// an answer nor a sample; the same ones on every run.
QList<QByteArray> garbage()
{
    QRandomGenerator random(GarbageSeed);
    QList<QByteArray> datagrams;
    while (datagrams.size() < GarbageDatagrams) {
        QByteArray bytes(random.bounded(1, GarbageMaxBytes + 1), Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(random.bounded(256));
        if (UdpDatagrams::classify(bytes) == UdpDatagrams::Kind::Other)
            datagrams << bytes;
    }
    return datagrams;
}

// The datagrams a flood of the kind cycles through.
QList<QByteArray> floodDatagrams(Kind kind)
{
    switch (kind) {
    case Kind::Answer:
        return {ethernetUnit().toAnswer()};
    case Kind::Short:
        return {UdpDatagrams::AnswerToken.toByteArray() + ShortAnswerTail};
    case Kind::Long:
        return {longAnswer()};
    case Kind::Sample: {
        std::array<float, 19> words;
        words.fill(SampleWord);
        return {outputDatagram(words)};
    }
    case Kind::Garbage:
        return garbage();
    }
    return {};
}

qint64 eventLogSize()
{
    return QFileInfo(QCoreApplication::applicationDirPath() + QLatin1String(EventLogName)).size();
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// What a flood may grow without bound.
struct Footprint
{
    qint64 memory = residentBytes();
    qint64 eventLog = eventLogSize();
};

// Why the flood must stop before its time, if it must.
QByteArray limitReached(const Footprint &atStart)
{
    const Footprint now;
    const QByteArray limit = " grew by over " + QByteArray::number(GrowthLimitGb) + " GB";
    if (now.memory - atStart.memory > GrowthLimitBytes)
        return "resident memory" + limit;
    if (now.eventLog - atStart.eventLog > GrowthLimitBytes)
        return "the event log" + limit;
    return {};
}

// The program's local UDP port on the loopback.
sockaddr_in programAddress()
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(Worker::DefaultLocalUdpPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// ---- The sender --------------------------------------------------------------------------

// Sends datagrams to the program's local port on 127.0.0.1 from a thread of
// its own, as fast as the loopback takes them, until told to stop, until its
// time limit or until a limit of the machine is reached. A send the system
// refuses (full buffers) is not counted and is tried again with the next
// datagram.
class Flood
{
public:
    struct Result
    {
        qint64 sent = 0;
        Clock::time_point start;
        Clock::time_point end;
        QByteArray cutShort; // the limit that ended the flood early, if one did

        double seconds() const { return msBetween(start, end) / 1000.0; }
    };

    ~Flood() { finish(); }

    void start(const QList<QByteArray> &datagrams, std::chrono::milliseconds limit)
    {
        m_stop = false;
        m_result = {};
        m_thread = std::thread([this, datagrams, limit] { run(datagrams, limit); });
    }
    // Safe from any thread.
    void stop() { m_stop = true; }
    Result finish()
    {
        stop();
        if (m_thread.joinable())
            m_thread.join();
        return m_result;
    }

private:
    void run(const QList<QByteArray> &datagrams, std::chrono::milliseconds limit)
    {
        const Footprint atStart;
        m_result.start = m_result.end = Clock::now();
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        if (fd < 0) {
            m_result.cutShort = QByteArray("no socket: ") + std::strerror(errno);
            return;
        }
        const sockaddr_in to = programAddress();
        const Clock::time_point end = m_result.start + limit;
        Clock::time_point check = m_result.start;
        for (qsizetype i = 0; !m_stop && Clock::now() < end; i = (i + 1) % datagrams.size()) {
            if (Clock::now() >= check) {
                m_result.cutShort = limitReached(atStart);
                if (!m_result.cutShort.isEmpty())
                    break;
                check += std::chrono::milliseconds(LimitCheckMs);
            }
            const QByteArray &bytes = datagrams.at(i);
            if (::sendto(fd, bytes.constData(), size_t(bytes.size()), 0, reinterpret_cast<const sockaddr *>(&to),
                         sizeof to)
                == bytes.size())
                ++m_result.sent;
        }
        m_result.end = Clock::now();
        if (!m_stop && m_result.cutShort.isEmpty())
            m_result.cutShort = "the sender's own time limit";
        ::close(fd);
    }

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    Result m_result; // the thread's own until it is joined
};

// ---- The main thread's side --------------------------------------------------------------

// The main thread's event loop as a user feels it: a precise timer, and the
// longest time between two of its firings since the last restart.
class GapProbe
{
public:
    GapProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(ProbeIntervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { fired(); });
        restart();
        m_timer.start();
    }

    void restart()
    {
        m_last = m_calmSince = Clock::now();
        m_worstMs = 0;
    }
    double worstMs() const { return m_worstMs; }
    // Since when no gap has been longer than a calm one.
    Clock::time_point calmSince() const { return m_calmSince; }
    bool calmFor(int ms) const { return msBetween(m_calmSince, Clock::now()) >= ms; }

private:
    void fired()
    {
        const Clock::time_point now = Clock::now();
        const double gap = msBetween(m_last, now);
        m_last = now;
        m_worstMs = std::max(m_worstMs, gap);
        if (gap > CalmGapMs)
            m_calmSince = now;
    }

    QTimer m_timer;
    Clock::time_point m_last;
    Clock::time_point m_calmSince;
    double m_worstMs = 0;
};

// Runs the main thread's event loop until done() holds or capMs have gone by;
// whether done() holds.
bool waitUntil(const std::function<bool()> &done, int capMs)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(capMs);
    const auto over = [&] { return done() || Clock::now() >= end; };
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (over())
            loop.quit();
    });
    poll.start(PollMs);
    if (!over())
        loop.exec();
    return done();
}

void pause(int ms)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    waitUntil([end] { return Clock::now() >= end; }, ms);
}

// The main window connected over Ethernet, with the worker's link reports
// seen in the worker's own thread as it makes them.
class FloodBench
{
public:
    FloodBench(MainWindow &window, int seconds)
        : m_action(MainWindowProbe::child<QAction>(window, "actionEthernetConnect")), m_seconds(seconds)
    {
        Worker *worker = MainWindowProbe::worker(window);
        QObject::connect(worker, &Worker::showEthernetStatusMessage, &m_reports,
                         [this](const QString &text) { linkReported(text); }, Qt::DirectConnection);
        QObject::connect(worker, &Worker::m_consoleDisplayData, &m_reports, [this] { ++m_taken; },
                         Qt::DirectConnection);
    }

    // The Ethernet action's Connect; whether the worker reported it connected in time.
    bool connect()
    {
        const int before = m_connected;
        m_action->trigger();
        return waitUntil([&] { return m_connected > before; }, CapMs);
    }

    // One flood, ended by the user's Disconnect; the event loop is calm again when it returns.
    Row measure(Kind kind)
    {
        Row row;
        row.kind = kind;
        const qint64 logBefore = eventLogSize();
        const Flood::Result flood = floodUntilDisconnect(kind, row);
        row.sentPerSecond = double(flood.sent) / flood.seconds();
        row.takenPerSecond = double(m_taken) / flood.seconds();
        row.cutShort = flood.cutShort;
        settle(flood.end, row);
        row.eventLogKbPerSecond = double(eventLogSize() - logBefore) / 1024.0 / flood.seconds();
        return row;
    }

private:
    // Floods until the worker has run the Disconnect triggered after the
    // flood's time, or until the cap.
    Flood::Result floodUntilDisconnect(Kind kind, Row &row)
    {
        m_disconnectedAt = Clock::time_point::rep(0);
        m_taken = 0;
        m_probe.restart();
        const Clock::time_point start = Clock::now();
        m_flood.start(floodDatagrams(kind), std::chrono::milliseconds(m_seconds * 1000 + SenderCapMs));
        pause(m_seconds * 1000);
        const Clock::time_point trigger = Clock::now();
        row.triggerLateMs = msBetween(start, trigger) - m_seconds * 1000;
        m_action->trigger(); // unchecks: the user's Disconnect
        if (waitUntil([this] { return m_disconnectedAt != 0; }, DisconnectCapMs))
            row.disconnectMs = msBetween(trigger, Clock::time_point(Clock::duration(m_disconnectedAt.load())));
        const Flood::Result flood = m_flood.finish();
        row.floodedAtTrigger = flood.end > trigger;
        return flood;
    }

    // Lets the queues drain: waits until the event loop has been calm for a while.
    void settle(Clock::time_point floodEnd, Row &row)
    {
        if (waitUntil([this] { return m_probe.calmFor(CalmMs); }, CapMs))
            row.calmAfterMs = std::max(0.0, msBetween(floodEnd, m_probe.calmSince()));
        row.worstGapMs = m_probe.worstMs();
    }

    // In the worker's thread: the Disconnect ends the flood at once, whatever the main thread is doing.
    void linkReported(const QString &text)
    {
        if (text == QLatin1String("Connected"))
            ++m_connected;
        if (text != QLatin1String("Disconnected"))
            return;
        m_disconnectedAt = Clock::now().time_since_epoch().count();
        m_flood.stop();
    }

    QAction *m_action;
    const int m_seconds;
    GapProbe m_probe;
    Flood m_flood;
    std::atomic<int> m_connected{0};
    std::atomic<qint64> m_taken{0}; // answers and samples the worker passed to the console
    std::atomic<Clock::time_point::rep> m_disconnectedAt{0}; // 0: not yet
    QObject m_reports; // ends the connection to the worker's reports first
};

// ---- Output and options ------------------------------------------------------------------

void printHeader(const Options &options)
{
    std::printf("Datagrams sent as fast as the loopback takes them to 127.0.0.1:%u for %d s, then the\n"
                "Ethernet action's Disconnect while the flood goes on until the worker runs it.\n"
                "  sent/s      datagrams the sender's thread got through, per second of flood\n"
                "  taken/s     answers and samples the worker read and passed on as console lines,\n"
                "              per second of flood (garbage passes none)\n"
                "  gap ms      worst event-loop gap of the main thread (a %d ms timer), flood and after\n"
                "  calm ms     from the flood's end until the event loop was calm (no gap over %d ms\n"
                "              for %d ms) again; awaited at most %d s\n"
                "  late ms     how late the main thread ran the Disconnect's trigger\n"
                "  disconn ms  from the action's trigger until the worker ran the Disconnect;\n"
                "              awaited at most %d s (\"-\": the flood was over before the trigger;\n"
                "              \">\": a limit stopped the flood before the worker ran it)\n"
                "  log KB/s    growth of the event log, per second of flood\n\n",
                unsigned(Worker::DefaultLocalUdpPort), options.seconds, ProbeIntervalMs, CalmGapMs, CalmMs,
                CapMs / 1000, DisconnectCapMs / 1000);
    std::printf("%-8s %9s %9s %9s %9s %9s %10s %10s\n", "kind", "sent/s", "taken/s", "gap ms", "calm ms",
                "late ms", "disconn ms", "log KB/s");
}

// A duration in ms, or the cap it did not end within.
QByteArray msOrCap(const std::optional<double> &ms, int capMs)
{
    return ms ? QByteArray::number(*ms, 'f', 1) : ">" + QByteArray::number(capMs / 1000) + " s";
}

// The Disconnect's delay: "-" when the flood was over before the trigger, and
// only a lower bound when a limit ended the flood before the worker ran it.
QByteArray disconnectText(const Row &row)
{
    if (!row.floodedAtTrigger)
        return "-";
    const QByteArray text = msOrCap(row.disconnectMs, DisconnectCapMs);
    return row.cutShort.isEmpty() || text.startsWith('>') ? text : ">" + text;
}

void printRow(const Row &row)
{
    const QByteArray disconnect = disconnectText(row);
    std::printf("%-8s %9.0f %9.0f %9.1f %9s %9.1f %10s %10.1f\n", KindNames.at(int(row.kind)).constData(),
                row.sentPerSecond, row.takenPerSecond, row.worstGapMs, msOrCap(row.calmAfterMs, CapMs).constData(),
                row.triggerLateMs, disconnect.constData(), row.eventLogKbPerSecond);
    if (!row.cutShort.isEmpty())
        std::printf("         the flood above was stopped early: %s%s\n", row.cutShort.constData(),
                    row.floodedAtTrigger ? "" : ", before the Disconnect's trigger");
    std::fflush(stdout);
}

[[noreturn]] void usage(const char *program)
{
    std::fprintf(stderr, "usage: %s [--seconds N] [--kinds %s]\n", program, KindNames.join(',').constData());
    std::exit(EXIT_FAILURE);
}

QList<Kind> kindsNamed(const QByteArray &list, const char *program)
{
    QList<Kind> kinds;
    for (const QByteArray &name : list.split(',')) {
        const qsizetype index = KindNames.indexOf(name);
        if (index < 0)
            usage(program);
        kinds << Kind(index);
    }
    return kinds;
}

Options parse(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; i += 2) {
        const QByteArray arg(argv[i]);
        if (i + 1 >= argc)
            usage(argv[0]);
        const QByteArray value(argv[i + 1]);
        if (arg == "--seconds" && value.toInt() > 0)
            options.seconds = value.toInt();
        else if (arg == "--kinds")
            options.kinds = kindsNamed(value, argv[0]);
        else
            usage(argv[0]);
    }
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    if (const QString refused = NetNamespace::enter(); !refused.isEmpty()) {
        std::fprintf(stderr, "bench_udp_flood: no network namespace: %s\n", qPrintable(refused));
        return EXIT_FAILURE;
    }
    // One usable interface: the Ethernet action connects without asking.
    NetNamespace::ip(QStringLiteral("link set v1 down"));
    const Options options = parse(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerDeviceMetaTypes();
    setDefaultSurfaceFormat();
    loadApplicationFonts();
    QTemporaryDir storeDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storeDir.path());

    MainWindow window;
    window.show();
    FloodBench bench(window, options.seconds);
    printHeader(options);
    for (const Kind kind : options.kinds) {
        if (!bench.connect()) {
            std::fprintf(stderr, "bench_udp_flood: the worker did not report the link connected\n");
            return EXIT_FAILURE;
        }
        printRow(bench.measure(kind));
    }
    return EXIT_SUCCESS;
}
