#include "ReadoutTexts.h"
#include "Worker.h"

#include <QTest>

using namespace ReadoutTexts;

namespace {

OutputDataType sample()
{
    OutputDataType data;
    const std::pair<int, const char *> fields[] = {
        {OutputDataType::Roll, "+01.50"},      {OutputDataType::Pitch, "-02.25"},    {OutputDataType::Yaw, "+359.9"},
        {OutputDataType::RollRate, "+00.10"},  {OutputDataType::PitchRate, "-00.20"}, {OutputDataType::YawRate, "+00.30"},
        {OutputDataType::Heave, "-0.120"},     {OutputDataType::HeaveVelocity, "+0.010"},
        {OutputDataType::Ax, "+0.981"},        {OutputDataType::Ay, "-0.050"},       {OutputDataType::Az, "+9.810"}};
    for (const auto &[field, text] : fields)
        data.field[std::size_t(field)] = QString::fromLatin1(text);
    return data;
}

// The heave display and the nine labels, joined by "|".
QString joined(const Readouts &texts)
{
    return texts.heave + QLatin1Char('|') + QStringList(texts.labels.begin(), texts.labels.end()).join(QLatin1Char('|'));
}

} // namespace

// Which values a sample carries under the link and protocol in use, and the read-out texts.
class TestReadoutTexts : public QObject
{
    Q_OBJECT

private slots:
    void selection_data()
    {
        QTest::addColumn<uint>("linkMode");
        QTest::addColumn<uint>("value");
        QTest::addColumn<uint>("mask");
        QTest::addColumn<bool>("cleared");
        QTest::addColumn<uint>("bytes"); // first byte in the high half
        QTest::addColumn<bool>("showAll");
        const uint serial = Worker::SerialMode, ethernet = Worker::EthernetMode;
        const auto row = [](const char *name, uint mode, int value, uint mask, bool cleared, uint bytes, bool all) {
            QTest::newRow(name) << mode << uint(value) << mask << cleared << bytes << all;
        };
        // The slot's format bytes are 0xC0, 0x80 in every row.
        row("serial, unknown protocol (all 0xFF)", serial, -1, 0xC2, true, 0, false);
        row("serial, reserved -2", serial, -2, 0xC2, true, 0, false);
        row("serial, reserved -16", serial, -16, 0xC2, true, 0, false);
        row("serial, -17 reads the format", serial, -17, 0xC2, false, 0xC080, false);
        row("serial, 0 reads the mask", serial, 0, 0x0000, false, 0x0000, false);
        row("serial, mask bytes low first", serial, 9, 0xABCD20E0, false, 0xE020, false);
        row("serial, 18 reads the mask", serial, 18, 0x80E4, false, 0xE480, false);
        row("serial, custom 19 reads the format", serial, 19, 0xC2, false, 0xC080, false);
        row("Ethernet shows all, reserved or not", ethernet, -1, 0, false, 0xC080, true);
        row("Ethernet, TSS1 reads the format", ethernet, 3, 0xC2, false, 0xC080, true);
        row("no link reads the format", 0, 3, 0xC2, false, 0xC080, false);
        row("both bits: serial rule and show-all", serial | ethernet, 3, 0xC2, false, 0xC200, true);
        row("both bits, reserved", serial | ethernet, -5, 0xC2, true, 0, false);
    }

    void selection()
    {
        QFETCH(uint, linkMode);
        QFETCH(uint, value);
        QFETCH(uint, mask);
        QFETCH(uint, bytes);
        QFETCH(bool, showAll);
        OutputProtocolType protocol;
        protocol.format = {0xC0, 0x80, 0x12, 0x34};
        protocol.value = value;
        protocol.mask = mask;
        const std::optional<Selection> selection = readoutSelection(linkMode, protocol);
        QTEST(!selection.has_value(), "cleared");
        if (!selection)
            return;
        QCOMPARE(uint(selection->bytes[0] << 8 | selection->bytes[1]), bytes);
        QCOMPARE(selection->showAll, showAll);
    }

    void texts_data()
    {
        QTest::addColumn<uint>("bytes");
        QTest::addColumn<bool>("showAll");
        QTest::addColumn<QString>("expected");
        QTest::newRow("TSS1: roll, pitch, heave")
            << 0xC200u << false
            << "-0.120|Roll  : +01.50|Pitch : -02.25|Yaw   : NA|Roll  : NA|Pitch : NA|Yaw   : NA|Ax : NA|Ay : NA|Az : NA";
        QTest::newRow("custom 0xC0 0x80: roll, pitch, Ax")
            << 0xC080u << false
            << "88.88|Roll  : +01.50|Pitch : -02.25|Yaw   : NA|Roll  : NA|Pitch : NA|Yaw   : NA|Ax : +0.981|Ay : NA|Az : NA";
        QTest::newRow("yaw, rates, Ay, Az")
            << 0x3C60u << false
            << "88.88|Roll  : NA|Pitch : NA|Yaw   : +359.9|Roll  : +00.10|Pitch : -00.20|Yaw   : +00.30|Ax : NA|Ay : -0.050|Az : +9.810";
        QTest::newRow("nothing selected; counter and checksum show nothing")
            << 0x0118u << false
            << "88.88|Roll  : NA|Pitch : NA|Yaw   : NA|Roll  : NA|Pitch : NA|Yaw   : NA|Ax : NA|Ay : NA|Az : NA";
        const QString all =
            "-0.120|Roll  : +01.50|Pitch : -02.25|Yaw   : +359.9|Roll  : +00.10|Pitch : -00.20|Yaw   : +00.30|Ax : +0.981|Ay : -0.050|Az : +9.810";
        QTest::newRow("every bit") << 0xFFFFu << false << all;
        QTest::newRow("show-all with no bit") << 0x0000u << true << all;
    }

    void texts()
    {
        QFETCH(uint, bytes);
        QFETCH(bool, showAll);
        Selection selection;
        selection.bytes = {uint8_t(bytes >> 8), uint8_t(bytes)};
        selection.showAll = showAll;
        QTEST(joined(readoutTexts(sample(), selection)), "expected");
    }

    // A selected value shows whatever text it has, empty or "NA" included.
    void valuesShownAsTheyCame()
    {
        OutputDataType data;
        data.field[OutputDataType::Roll] = QStringLiteral("NA");
        const Readouts texts = readoutTexts(data, Selection{{0xFF, 0xFF}, false});
        QCOMPARE(texts.heave, QString());
        QCOMPARE(texts.labels[Roll], QStringLiteral("Roll  : NA"));
        QCOMPARE(texts.labels[Az], QStringLiteral("Az : "));
    }

    // Cleared yaw texts have two blanks where shown ones have three.
    void cleared()
    {
        QCOMPARE(joined(clearedReadoutTexts()),
                 QStringLiteral("88.88|Roll  : NA|Pitch : NA|Yaw  : NA|Roll  : NA|Pitch : NA|Yaw  : NA|Ax : NA|Ay : NA|Az : NA"));
    }
};

QTEST_APPLESS_MAIN(TestReadoutTexts)
#include "tst_readouttexts.moc"
