#include "Worker.h"
#include "WorkerProbe.h"

#include <QtEndian>
#include <QtTest>

#include <cstring>

namespace {

using Field = OutputDataType::Field;

// A worker with a stopped timer and a serial link as if a port were open and
// the settings read-out had finished; no display update is due yet.
void prepare(Worker &w, uint32_t protocolValue)
{
    WorkerProbe::stopTimer(w);
    WorkerProbe::fakeSerialLink(w, true);
    WorkerProbe::setReadingSettings(w, false);
    WorkerProbe::setProtocolValue(w, protocolValue);
    WorkerProbe::setDisplayDue(w, false);
}

QByteArray eulerFrame(bool bigEndian, float roll, float pitch, float yaw)
{
    QByteArray frame = QByteArray::fromHex("FAFF320C");
    for (float value : {roll, pitch, yaw}) {
        quint32 bits;
        std::memcpy(&bits, &value, sizeof bits);
        char bytes[4];
        if (bigEndian)
            qToBigEndian(bits, bytes);
        else
            qToLittleEndian(bits, bytes);
        frame.append(bytes, 4);
    }
    return frame.append('\x55');
}

QByteArray emFrame(char firstSync, qint16 roll, qint16 pitch, qint16 heave, quint16 heading)
{
    QByteArray frame;
    frame.append(firstSync).append('\x90');
    for (quint16 word : {quint16(roll), quint16(pitch), quint16(heave), heading}) {
        char bytes[2];
        qToLittleEndian(word, bytes);
        frame.append(bytes, 2);
    }
    return frame;
}

// The fields a test expects, as "index=text".
QStringList filledFields(const OutputDataType &sample)
{
    QStringList fields;
    for (int i = 0; i < OutputDataType::FieldCount; ++i) {
        if (!sample.field[size_t(i)].isEmpty())
            fields << QStringLiteral("%1=%2").arg(i).arg(sample.field[size_t(i)]);
    }
    return fields;
}

const QStringList AttitudeFields{"0=-02.50", "1=+01.50", "2=123.4"};

} // namespace

class TestWorkerDecoders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void samplesThroughReceivePath_data();
    void samplesThroughReceivePath();
    void noDecodingWhile_data();
    void noDecodingWhile();
    void rawDataClearsMask();
    void headerCapturedAfterReadout();
};

void TestWorkerDecoders::initTestCase()
{
    registerDeviceMetaTypes();
}

void TestWorkerDecoders::samplesThroughReceivePath_data()
{
    QTest::addColumn<uint>("protocol");
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<uint>("mask");
    QTest::addColumn<QString>("header"); // null: no header report

    const QStringList tss{"0=-01.23", "1=+04.56", "11=-0.120"};
    QTest::newRow("TSS1") << 3u << QByteArray(":0000 -0012U-0123 00456\r\n") << tss << 0xC2u << QString();
    QTest::newRow("TSS3, hex F and lower-case status") << 5u << QByteArray(":00F0 -0012f-0123 00456\r\n") << tss
                                                       << 0xC2u << QString();
    QTest::newRow("TSS1, heave only") << 3u << QByteArray(":0000 -0012\r\n") << QStringList{"11=-0.120"} << 0x02u
                                      << QString();
    QTest::newRow("TOG") << 6u << QByteArray("HD123.4 PI+01.50 RO-02.50\r\n")
                         << QStringList{"0=-02.50", "1=+01.50", "2=123.4"} << 0xE0u << QString();
    QTest::newRow("ISH") << 7u << QByteArray("$PISH,123.4,+01.50,-02.50*5A\r\n") << AttitudeFields << 0xE0u
                         << QString();
    QTest::newRow("PRDID") << 15u << QByteArray("$PRDID,+01.50,-02.50,123.4*4F\r\n") << AttitudeFields << 0xE0u
                           << QString();
    QTest::newRow("PRDID, short line wraps") << 15u << QByteArray("$PRDID,+01.50\r\n")
                                             << QStringList{"0=$PRDID", "1=+01.50", "2=+01.50"} << 0xE0u << QString();
    QTest::newRow("EulerL") << 8u << eulerFrame(false, 1.5f, -2.25f, 359.9f)
                            << QStringList{"0=+01.50", "1=-02.25", "2=+359.9"} << 0xE0u << QString();
    QTest::newRow("EulerB") << 9u << eulerFrame(true, 1.5f, -2.25f, 359.9f)
                            << QStringList{"0=+01.50", "1=-02.25", "2=+359.9"} << 0xE0u << QString();
    const QStringList em{"0=+01.50", "1=-02.00", "2=+009.0", "11=+0.120"};
    QTest::newRow("EM1000") << 13u << emFrame('\x00', 150, -200, 12, 900) << em << 0xE2u << QString();
    QTest::newRow("EM3000") << 14u << emFrame('\x90', 150, -200, 12, 900) << em << 0xE2u << QString();
    QTest::newRow("UPX") << 4u << QByteArray("$PUPX,1,2,3\r\n") << QStringList{} << 0u << QString();
    QTest::newRow("custom with header") << 0xE0000014u << QByteArray("HDR+1.50,-2.00,123.4\r\n")
                                        << QStringList{"0=+1.50", "1=-2.00", "2=123.4"} << 0u << QStringLiteral("HDR");
    QTest::newRow("custom without header") << 0xC0000013u << QByteArray("-1.50,+2.00\r\n")
                                           << QStringList{"0=-1.50", "1=+2.00"} << 0u << QStringLiteral("");
    QTest::newRow("custom, unsigned first part is the header") << 0xC0000014u << QByteArray("12.5,3.0\r\n")
                                                               << QStringList{"0=3.0", "1=12.5"} << 0u
                                                               << QStringLiteral("12.5");
    QTest::newRow("custom, both signs split at the first") << 0xC0000014u << QByteArray("ID-1.0+2.0,x\r\n")
                                                           << QStringList{"0=-1.0+2.0", "1=x"} << 0u
                                                           << QStringLiteral("ID");
    QTest::newRow("custom, counter and checksum") << 0x00180014u << QByteArray("$C+17,5A\r\n")
                                                  << QStringList{"19=+17", "20=5A"} << 0u << QStringLiteral("$C");
}

// After a first sample (an EM frame is only complete once the next sync
// arrives), three copies in one read: every one is decoded, the display sees
// the first, and only the next tick lets another one through.
void TestWorkerDecoders::samplesThroughReceivePath()
{
    QFETCH(uint, protocol);
    QFETCH(QByteArray, sample);
    QFETCH(QStringList, fields);
    QFETCH(uint, mask);
    QFETCH(QString, header);

    Worker worker;
    prepare(worker, protocol);
    QSignalSpy display(&worker, &Worker::signalDispalyOutputData);
    QSignalSpy headers(&worker, &Worker::signalProtocolHeaderSetText);

    WorkerProbe::receive(worker, sample);
    QCOMPARE(display.size(), 0);
    worker.tick();
    WorkerProbe::receive(worker, sample + sample + sample);
    QCOMPARE(filledFields(WorkerProbe::outputData(worker)), fields);
    QCOMPARE(WorkerProbe::protocol(worker, 0).mask, uint32_t(mask));
    QCOMPARE(display.size(), 1);
    QCOMPARE(filledFields(display.at(0).at(0).value<OutputDataType>()), fields);
    QCOMPARE(display.at(0).at(1).value<OutputProtocolType>().value, uint32_t(protocol));

    QCOMPARE(headers.size(), header.isNull() ? 0 : 1);
    if (!header.isNull()) {
        QCOMPARE(headers.at(0).at(0).toString(), QStringLiteral("HEADER"));
        QCOMPARE(headers.at(0).at(1).toString(), header);
        QCOMPARE(WorkerProbe::protocol(worker, 0).header, header);
    }

    WorkerProbe::receive(worker, sample);
    QCOMPARE(display.size(), 1);
    worker.tick();
    WorkerProbe::receive(worker, sample + sample);
    QCOMPARE(display.size(), 2);
    QCOMPARE(headers.size(), header.isNull() ? 0 : 1); // captured once only
}

void TestWorkerDecoders::noDecodingWhile_data()
{
    QTest::addColumn<uint>("protocol");
    QTest::addColumn<bool>("reading");
    QTest::addColumn<bool>("detecting");
    QTest::newRow("settings read-out") << 0xE0000014u << true << false;
    QTest::newRow("auto-detection") << 0xE0000014u << false << true;
    QTest::newRow("unset format FF FF FF FF") << 0xFFFFFFFFu << false << false;
    QTest::newRow("reserved value -5") << 0xFFFFFFFBu << false << false;
    QTest::newRow("TSS1 during read-out") << 3u << true << false;
}

void TestWorkerDecoders::noDecodingWhile()
{
    QFETCH(uint, protocol);
    QFETCH(bool, reading);
    QFETCH(bool, detecting);

    Worker worker;
    prepare(worker, protocol);
    WorkerProbe::setReadingSettings(worker, reading);
    WorkerProbe::setAutoDetectRunning(worker, detecting);
    WorkerProbe::protocol(worker, 0).mask = 0x12;
    QSignalSpy headers(&worker, &Worker::signalProtocolHeaderSetText);

    WorkerProbe::receive(worker, "HDR+1.50,-2.00,123.4\r\n:0000 -0012U-0123 00456\r\n");
    QCOMPARE(filledFields(WorkerProbe::outputData(worker)), QStringList{});
    QCOMPARE(WorkerProbe::protocol(worker, 0).mask, 0x12u);
    QCOMPARE(headers.size(), 0);
}

void TestWorkerDecoders::rawDataClearsMask()
{
    Worker worker;
    prepare(worker, 9);
    WorkerProbe::receive(worker, eulerFrame(true, 1.5f, -2.25f, 359.9f));
    const QStringList decoded = filledFields(WorkerProbe::outputData(worker));
    QCOMPARE(WorkerProbe::protocol(worker, 0).mask, 0xE0u);

    WorkerProbe::setProtocolValue(worker, ProtocolValue::RawData);
    QTest::ignoreMessage(QtDebugMsg, "Unrecognised Output Protcol ID");
    WorkerProbe::receive(worker, "-12.5,1.0,2.0\r\n");
    QCOMPARE(WorkerProbe::protocol(worker, 0).mask, 0u);
    QCOMPARE(filledFields(WorkerProbe::outputData(worker)), decoded);
}

// The header is taken from the first custom line after the read-out ends.
void TestWorkerDecoders::headerCapturedAfterReadout()
{
    Worker worker;
    prepare(worker, 0xE0000014u);
    WorkerProbe::setReadingSettings(worker, true);
    WorkerProbe::setHeaderCapturePending(worker, true);
    QSignalSpy headers(&worker, &Worker::signalProtocolHeaderSetText);

    WorkerProbe::receive(worker, "OLD+1,2,3\r\n");
    WorkerProbe::setReadingSettings(worker, false);
    WorkerProbe::receive(worker, "NEW+1,2,3\r\nNEXT+4,5,6\r\n");
    QCOMPARE(headers.size(), 1);
    QCOMPARE(headers.at(0).at(1).toString(), QStringLiteral("NEW"));
    QCOMPARE(WorkerProbe::outputData(worker).field[Field::Roll], QStringLiteral("+4"));
}

QTEST_GUILESS_MAIN(TestWorkerDecoders)
#include "tst_workerdecoders.moc"
