#include "Worker.h"
#include "WorkerProbe.h"

#include <QRandomGenerator>
#include <QtTest>

#include <type_traits>

namespace {

QString text(const QString &value) { return value; }
QString text(const QByteArray &value) { return QString::fromLatin1(value); }
QString text(double value) { return QString::number(value); }
template <typename T>
std::enable_if_t<std::is_integral_v<T>, QString> text(T value) { return QString::number(value); }
QString text(const QList<QByteArray> &parts) { return text(parts.join('.')); }
QString text(const OutputDataType &sample) { return sample.field[OutputDataType::Roll]; }
QString text(const OutputProtocolType &p) { return QByteArray(reinterpret_cast<const char *>(p.format.data()), 4).toHex(); }
QString text(const FactorySettingsT &f)
{
    return QStringList{f.partNr, f.serialNumber, f.hardwareId, f.date, f.serialId, f.fwVersion}.join('/');
}

// The worker's reports on what it received, as "name(arguments)" in emission order.
class Log
{
public:
    explicit Log(Worker &w)
    {
        add(w, &Worker::m_consoleDisplayData, "console");
        add(w, &Worker::m_consoleInsertPlainText, "hex");
        add(w, &Worker::signalDispalyOutputData, "display");
        add(w, &Worker::showStatusMessage, "status");
        add(w, &Worker::enableAllButtons, "buttons");
        add(w, &Worker::signalEnableSpecialHardwareFeature, "identity");
        add(w, &Worker::m_uiIMUfreqBoxSetIndex, "frequency");
        add(w, &Worker::m_uiBaudRateBoxSetIndex, "baud");
        add(w, &Worker::radioButtonGPS, "gps");
        add(w, &Worker::signalProcessProtocolParameters, "protocol");
        add(w, &Worker::signalProcessIMUFlags, "flags");
        add(w, &Worker::m_uiDoubleSpinBoxOffsetSetValue, "offset");
        add(w, &Worker::doubleSpinBoxNorthOffsetSetValue, "north");
        add(w, &Worker::doubleSpinBoxGaussSetValue, "gauss");
        add(w, &Worker::m_uiLineEditIMUUdpPortSetText, "udp");
        add(w, &Worker::m_uiLineEditLocalUdpPortSetText, "local");
        add(w, &Worker::m_uiLineEditIMUIP4SetText, "ip");
        add(w, &Worker::m_uiLineEditDstIP4SetText, "dst");
    }

    QStringList entries;

private:
    template <typename... Args>
    void add(Worker &w, void (Worker::*signal)(Args...), const char *name)
    {
        QObject::connect(&w, signal, [this, name](const std::decay_t<Args> &...args) {
            entries << name + ("(" + QStringList{text(args)...}.join(',') + ")");
        });
    }
};

// A worker with a stopped timer and a serial link as if a port were open.
void prepare(Worker &w, bool reading, uint32_t protocolValue)
{
    WorkerProbe::stopTimer(w);
    WorkerProbe::fakeSerialLink(w, true);
    WorkerProbe::setReadingSettings(w, reading);
    WorkerProbe::setProtocolValue(w, protocolValue);
    WorkerProbe::setDisplayDue(w, true);
}

// The device's answer to a read-out query: its identity, the protocol, or else a long text.
QByteArray answerTo(int row, uint32_t protocolValue)
{
    const QByteArray payload = row == 8 ? "0.0.0." + QByteArray::number(protocolValue) + ":0" : "VRNAB1234565678";
    return "$" + CommandTable::queryLine(row).mid(4, 3) + "#" + payload + "\r\n";
}

} // namespace

class TestWorker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerDeviceMetaTypes();
        QLoggingCategory::setFilterRules(QStringLiteral("orvanta.engine.debug=false")); // unrecognised input is traced
    }

    // A wait of 500 ms suspends everything for exactly 5 ticks; without a link
    // the display is never armed.
    void tickOrder()
    {
        Worker worker;
        prepare(worker, false, 0);
        WorkerProbe::setDisplayDue(worker, false);
        WorkerProbe::setWaitTicks(worker, worker.setSleepDogValue_ms(500));
        for (int i = 0; i < 5; ++i)
            worker.tick();
        QVERIFY(!WorkerProbe::displayDue(worker));
        worker.tick();
        QVERIFY(WorkerProbe::displayDue(worker));
        WorkerProbe::setDisplayDue(worker, false);
        WorkerProbe::fakeSerialLink(worker, false);
        worker.tick();
        QVERIFY(!WorkerProbe::displayDue(worker));
    }

    void receive_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<uint>("protocol");
        QTest::addColumn<bool>("reading");
        QTest::addColumn<bool>("halted");
        QTest::addColumn<int>("silentTicks"); // ticks run before
        const auto row = [](const char *name, const QByteArrayList &chunks, const QStringList &entries,
                            uint protocol = 0, bool reading = false, bool halted = false, int silentTicks = 0) {
            QTest::newRow(name) << chunks << entries << protocol << reading << halted << silentTicks;
        };
        // With the console halted only the answer reports are left.
        const auto answer = [&](const char *name, const QByteArray &lines, const QStringList &reports) {
            row(name, {lines}, reports, 0, false, true);
        };
        const auto hex = [](const QByteArray &frame) { return "hex(" + frame.toHex().toUpper() + "\r\n)"; };
        const QByteArray tss(":0000 -0012U-0123 00456\r\n"), f1 = QByteArray::fromHex("FAFF320C") + QByteArray(13, 0x3F);
        QByteArray crLf = f1;
        crLf.replace(10, 2, "\r\n");

        row("data lines decoded, one display per tick", {tss + "abc\r\n"},
            {"console(" + tss + ",2,0)", "display(-01.23,00000003,2)", "console(abc\r\n,2,0)"}, 3);
        row("read-out: data hidden, not decoded", {tss}, {"display(,00000003,2)"}, 3, true);
        row("halted console: nothing shown, still decoded", {"$frq#1\r\nerror\r\n" + tss},
            {"frequency(1)", "display(-01.23,00000003,2)"}, 3, false, true);
        row("EulerL text lines not decoded", {"abc\r\n"}, {"console(abc\r\n,2,0)"}, 8);
        row("no frames during read-out", {f1 + "$frq#5\r\n"}, {"console($frq#5\r\n,1,0)", "frequency(5)"}, 9, true);
        row("answer and frame split across reads", {"$frq#1", "00\r\n" + crLf.left(9), crLf.mid(9) + "ab"},
            {"console($frq#100\r\n,1,0)", "frequency(100)", hex(crLf), "display(+00.75,00000009,2)"}, 9);
        row("4096 bytes waiting", {QByteArray(4000, 'x'), QByteArray(96, 'y')}, {});
        row("4097 bytes overflow", {QByteArray(4000, 'x'), QByteArray(97, 'y')},
            {"status(Rx Buffer Overflow)", "buttons(0)"});
        row("100 silent ticks", {"x"}, {}, 0, false, false, 100);
        row("101 silent ticks restart the read-out", {"x"}, {"buttons(0)"}, 0, false, false, 101);
        answer("4096-byte line", "$frq#" + QByteArray(4089, '9') + "\r\n", {"frequency(" + QByteArray(4089, '9') + ")"});
        answer("srn, 12 characters", "$srn#VRNAB1234565678\r\n", {"identity(/AB1234565678/AB/123456/5678/,2)"});
        answer("srn without prefix", "$srn#ABCDEFGH\r\n", {"identity(/ABCDEFGH/AB/CDEFGH//,2)"});
        answer("srn too short", "$srn#VRN1234\r\n", {});
        answer("prn", "$prn#VRN12345\r\n$prn#12345678\r\n", {"identity(VRN12345/////,2)"});
        answer("fwv", "$fwv#V6.01.0215\r\n$fwv#6.01.0215\r\n", {"identity(/////V6.01.0215,2)"});
        answer("frq, payload as it stands", "$frq# 100\r\n", {"frequency( 100)"});
        answer("bd3", "$bd3#unknown\r\n", {"baud(2,unknown)"});
        answer("gps", "$gps#RS422\r\n$gps#NOGPS\r\n$gps#x\r\n", {"gps(1)", "gps(2)", "gps(0)"});
        answer("prt, custom in slot 1", "$prt#128.0.0.20:1\r\n$prt#1,0,0,20,2\r\n",
               {"protocol(80000014,1)", "protocol(01000014,2)"});
        answer("prt, slot above 2 is slot 0", "$prt#0.0.0.3.7\r\n", {"protocol(00000003,0)"});
        answer("prt, byte keeps its low 8 bits", "$prt#300.0.0.1:0\r\n", {"protocol(2c000001,0)"});
        answer("prt, three parts", "$prt#1.2.3\r\n", {});
        answer("hdr, echo and unknown ignored", "$hdr#ABC\r\n$echocmd#$setfrq#50\r\n$xyz#1\r\n", {});
        answer("flg", "$flg#0-0-0-33\r\n$flg#1.2.3.4.5\r\n$flg#1.2.3\r\n", {"flags(33)", "flags(16909060)"});
        answer("offsets", "$rof#1.5\r\n$pof#-0.25\r\n$yof#abc\r\n", {"offset(0,1.5)", "offset(1,-0.25)", "offset(2,0)"});
        answer("compass", "$nor#-3.5\r\n$mzb#1e999\r\n", {"north(-3.5)", "gauss(2,0)"});
        answer("udp ports", "$srp#8090\r\n$dsp#abc\r\n", {"udp(8090)", "local(abc)"});
        answer("sip", "$sip#192.168.0.100\r\n$sip#192.168\r\n", {"ip(192.168.0.100)"});
        answer("sip, null address asked once more", "$sip#0.0.0.0\r\n$sip#0.0.0.0\r\n", {"ip(0.0.0.0)"});
        answer("dip", "$dip#10.0.0,1\r\n$dip#10,0,0,1\r\n", {"dst(10.0.0.1)"});
    }

    void receive()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(uint, protocol);
        QFETCH(bool, reading);
        QFETCH(bool, halted);
        QFETCH(int, silentTicks);
        Worker worker;
        prepare(worker, reading, protocol);
        worker.consoleHalt(halted);
        for (int i = 0; i < silentTicks; ++i)
            worker.tick();
        Log log(worker);
        for (const QByteArray &chunk : chunks)
            WorkerProbe::receive(worker, chunk);
        QTEST(log.entries, "entries");
        // An overflow or a long silence restarts the read-out.
        QCOMPARE(WorkerProbe::readingSettings(worker), reading || log.entries.contains(QStringLiteral("buttons(0)")));
    }

    // A protocol value that names no decoder is traced with the function and its line.
    void unrecognisedProtocolTraced()
    {
        Worker worker;
        prepare(worker, false, 2);
        QLoggingCategory::setFilterRules(QStringLiteral("orvanta.engine.debug=true"));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral(
            R"(^void Worker::processPredefinedProtocols\(uint, const QByteArray ?&\) \| Line : \d+ : )"
            R"(Unrecognised Output Protcol ID 2$)")));
        WorkerProbe::receive(worker, "abc\r\n");
        QLoggingCategory::setFilterRules(QStringLiteral("orvanta.engine.debug=false"));
    }

    void answersBehindFrameBytes_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<uint>("protocol"); // of slot 0; FF FF FF FF: nothing reported yet
        QTest::addColumn<bool>("reading");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QByteArrayList>("events");
        const auto row = [](const char *name, const QByteArray &line, uint protocol, bool reading,
                            const QStringList &entries, const QByteArrayList &events = {}) {
            QTest::newRow(name) << line << protocol << reading << entries << events;
        };
        const QByteArray rejected("cmd error $prt#0.0.0.9:0 rejected"), frequency("error: $frq#5000");
        const QByteArray custom("HDR+1.50,$flg#0.0.0.33\r\n"), behind("\x01\x02$frq#5\r\n");
        const QByteArray errorEvent("msg Error : Worker : readSerialData : ");
        const QByteArray answerEvent("msg Info : Worker : readSerialData : cmdProcessor : $frq#5");
        const QStringList answered{"console($frq#5\r\n,1,0)", "frequency(5)"};
        const uint eulerB = ProtocolValue::EulerB, em3000 = ProtocolValue::EM3000, unset = 0xFFFFFFFF;

        // Device reports that quote a command stay errors, in any stream.
        for (const uint protocol : {eulerB, uint(ProtocolValue::RawData)}) {
            for (const QByteArray &error : {rejected, frequency}) {
                row(qPrintable(QStringLiteral("%1, protocol %2").arg(QString::fromLatin1(error)).arg(protocol)),
                    error + "\r\n", protocol, protocol == eulerB, {"console(" + error + "\r\n,0,0)"},
                    {errorEvent + error});
            }
        }
        row("custom line quoting the flags", custom, 0x80400014, false,
            {"console(" + custom + ",2,0)", "display(+1.50,80400014,2)"});
        // Answers behind frame bytes are found wherever frames stream.
        row("behind frame bytes, EulerB read-out", behind, eulerB, true, answered, {answerEvent});
        row("behind frame bytes, EM3000 stream", behind, em3000, false, answered, {answerEvent});
        row("behind frame bytes, read-out before the protocol is known", behind, unset, true, answered, {answerEvent});
        row("behind bytes, TSS1 read-out", behind, ProtocolValue::TSS1, true, {"display(,00000003,2)"});
        row("behind bytes, raw data", behind, ProtocolValue::RawData, false,
            {"console(" + behind + ",2,0)", "display(,00000001,2)"});
    }

    // What a line that quotes an answer head is taken for, and what it changes.
    void answersBehindFrameBytes()
    {
        QFETCH(QByteArray, line);
        QFETCH(uint, protocol);
        QFETCH(bool, reading);
        Worker worker;
        prepare(worker, reading, protocol);
        const uint32_t flags = UserSettings.flags;
        Log log(worker);
        QSignalSpy events(&worker, &Worker::signalErrorLoggerWrite);
        WorkerProbe::receive(worker, line);
        QTEST(log.entries, "entries");
        QByteArrayList written;
        for (const QList<QVariant> &event : events)
            written << event.at(0).toByteArray();
        QTEST(written, "events");
        QCOMPARE(WorkerProbe::protocol(worker, 0).value, protocol);
        QCOMPARE(UserSettings.flags, flags);
    }

    void streamingDeviceCompletesReadout_data()
    {
        QTest::addColumn<uint>("protocol");
        QTest::addColumn<bool>("known"); // slot 0 holds it already: a read-out asked for again
        for (uint protocol : {8u, 9u, 13u, 14u}) {
            QTest::addRow("protocol %u, fresh link", protocol) << protocol << false;
            QTest::addRow("protocol %u, read again", protocol) << protocol << true;
        }
    }

    // A device streaming frames at 100 Hz answers each query between two frames
    // of the 50 ms tick; each tick's bytes arrive split at a random place.
    void streamingDeviceCompletesReadout()
    {
        QFETCH(uint, protocol);
        QFETCH(bool, known);
        const SerialFraming::FrameKind kind = SerialFraming::frameKindFor(protocol);
        const QByteArray sync = SerialFraming::frameSync(kind).toByteArray();
        const QByteArray frame = sync + "\x11\r\n" + QByteArray(SerialFraming::frameSize(kind) - sync.size() - 3, 1);
        Worker worker;
        prepare(worker, true, protocol);
        if (!known)
            WorkerProbe::protocol(worker, 0) = OutputProtocolType(); // nothing reported yet
        Log log(worker);
        QRandomGenerator random(protocol);
        const auto tickWithStream = [&](const QByteArray &answer) {
            const QByteArray chunk = frame + frame + frame + answer + frame + frame;
            const int split = random.bounded(1, int(chunk.size()));
            WorkerProbe::receive(worker, chunk.left(split));
            WorkerProbe::receive(worker, chunk.mid(split));
            worker.tick();
        };
        int ticks = 0;
        for (; WorkerProbe::readingSettings(worker) && ticks < 100; ++ticks)
            tickWithStream(ticks == 0 ? QByteArray() : answerTo(WorkerProbe::settingsIterator(worker) - 1, protocol));
        QCOMPARE(ticks, 19); // the identity is known early, so the first sweep completes
        QCOMPARE(WorkerProbe::protocol(worker, 0).value, protocol);
        QCOMPARE(log.entries.filter(QStringLiteral("hex")).size(), 0);

        log.entries.clear();
        tickWithStream("$frq#50\r\n"); // from now on frames are cut and answers still come through
        QCOMPARE(log.entries.filter(QStringLiteral("hex")).size(), 5);
        QCOMPARE(log.entries.filter(QStringLiteral("frequency(50)")).size(), 1);
        QCOMPARE(log.entries.filter(QStringLiteral("console")).size(), 1);
    }

    // Random bytes and nonsense answers (short, long, absurd numbers) from the
    // device in every framing mode and with every decoder.
    void randomInputNeverCrashes()
    {
        static const char alphabet[] = "\r\n\x90\x00\xFA\xFF\x32\x0C$#.:-,0123456789";
        const QByteArrayList payloads{"", ".", ":", ",", "-", "....", "99999999999999999999.9.9.9:99999999999",
                                      "1e999999", "nan", QByteArray(4000, '9'), QByteArray("\x00\xff.\x80", 4)};
        QRandomGenerator random(3);
        for (uint protocol : {0u, 1u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 13u, 14u, 15u, 19u, 20u, 0xFFF80014u}) {
            Worker worker;
            prepare(worker, false, protocol);
            for (int i = 0; i < 300; ++i) {
                QByteArray chunk(random.bounded(i % 50 == 0 ? 6000 : 200), Qt::Uninitialized);
                for (char &byte : chunk)
                    byte = alphabet[random.bounded(int(sizeof alphabet - 1))];
                chunk += "\r\n$" + GetCommands().at(random.bounded(19)).mid(4, 3) + "#"
                         + payloads.at(random.bounded(int(payloads.size()))) + "\r\n";
                WorkerProbe::receive(worker, chunk);
                QVERIFY(WorkerProbe::rxBuffer(worker).size() <= SerialFraming::RxBufferLimit);
                WorkerProbe::setReadingSettings(worker, i % 3 == 0);
                WorkerProbe::setWaitTicks(worker, 0);
            }
        }
    }

    // Records travel from the worker's thread to this one as intact copies.
    void recordsCrossThreadsIntact()
    {
        QThread thread;
        auto *worker = new Worker;
        worker->moveToThread(&thread);
        connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        thread.start();
        OutputDataType sample;
        for (int i = 0; i < OutputDataType::FieldCount; ++i)
            sample.field[size_t(i)] = QStringLiteral("+%1.25").arg(i);
        const OutputProtocolType protocol{{0x80, 0x08, 0x00, 0x14}, 0x82, 0x80080014, QStringLiteral("$HDR"), true};
        const auto describe = [](const OutputDataType &s, const OutputProtocolType &p) {
            return QStringList(s.field.cbegin(), s.field.cend()) << text(p) << text(p.mask) << text(p.value) << p.header;
        };
        QStringList received;
        connect(worker, &Worker::signalDispalyOutputData, this,
                [&](const OutputDataType &s, const OutputProtocolType &p) { received = describe(s, p); });
        QMetaObject::invokeMethod(worker, [=] { emit worker->signalDispalyOutputData(sample, protocol); });
        QTRY_COMPARE(received, describe(sample, protocol));
        QMetaObject::invokeMethod(worker, &Worker::stopWorker, Qt::BlockingQueuedConnection);
        thread.quit();
        QVERIFY(thread.wait(5000));
    }
};

QTEST_GUILESS_MAIN(TestWorker)
#include "tst_worker.moc"
