// The settings answer of the UDP link, through the record codec and through the
// worker that stores it. A record one byte short of complete yields nothing, and
// an answer the codec refuses makes the worker report nothing but its length.

#include "FuzzCheck.h"
#include "SettingsAnswer.h"
#include "Worker.h"

#include <QCoreApplication>

namespace {

Worker &worker(int &reports)
{
    static int argc = 1;
    static char name[] = "fuzz_settings_answer";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Worker instance;
    static bool connected = false;
    if (!connected) {
        connected = true;
        QObject::connect(&instance, &Worker::m_uiLineEditIMUUdpPortSetText, [&reports] { ++reports; });
        QObject::connect(&instance, &Worker::signalProcessIMUFlags, [&reports] { ++reports; });
        QObject::connect(&instance, &Worker::signalEnableSpecialHardwareFeature, [&reports] { ++reports; });
        QObject::connect(&instance, &Worker::enableAllButtons, [&reports] { ++reports; });
    }
    return instance;
}

void checkCodec(const FuzzInput &input)
{
    const std::optional<SettingsAnswer::Record> record = SettingsAnswer::parse(input.view());
    if (!record)
        return;
    const QByteArrayView bytes = input.view();
    FUZZ_CHECK(bytes.endsWith(record->trailer));
    FUZZ_CHECK(record->header.size() <= 8);
    // The record ends with its data-length byte: without it the answer is short.
    const QByteArrayView complete = bytes.chopped(record->trailer.size());
    FUZZ_CHECK(SettingsAnswer::parse(complete));
    FUZZ_CHECK(!SettingsAnswer::parse(complete.chopped(1)));
    for (const double offset : record->offsets)
        FUZZ_CHECK(offset >= double(-327.68f) && offset <= double(327.67f));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FuzzInput input(data, size);
    checkCodec(input);
    static int reports = 0;
    Worker &w = worker(reports);
    reports = 0;
    w.processUdpCmdDatagrams(input.raw(), true);
    if (!SettingsAnswer::parse(input.view()))
        FUZZ_CHECK(reports == 0);
    (void)SettingsAnswer::parameterValue(input.view(), size ? data[0] : 0);
    (void)SettingsAnswer::parameterValue16(input.view(), size ? data[0] : 0);
    return 0;
}
