#include "SampleInputs.h"

#include <QRandomGenerator>
#include <QString>
#include <QtEndian>

#include <cstdlib>
#include <cstring>

namespace {

QRandomGenerator random(2024);

double angle(double range)
{
    return random.bounded(2.0 * range) - range;
}

template <typename... Args>
QByteArray printed(const char *format, Args... args)
{
    return QString::asprintf(format, args...).toLatin1();
}

int hundredths(int range)
{
    return random.bounded(-range, range + 1);
}

QByteArray tssLine(char status)
{
    const int heave = hundredths(9999);
    const int roll = hundredths(9999);
    const int pitch = hundredths(9999);
    return printed(":%06X %c%04d%c%c%04d %c%04d\r\n", random.bounded(0x1000000), heave < 0 ? '-' : ' ',
                   std::abs(heave), status, roll < 0 ? '-' : ' ', std::abs(roll), pitch < 0 ? '-' : ' ',
                   std::abs(pitch));
}

QByteArray eulerFrame(bool bigEndian)
{
    QByteArray frame("\xFA\xFF\x32\x0C", 4);
    for (float value : {float(angle(180)), float(angle(90)), float(random.bounded(360.0))}) {
        quint32 bits;
        std::memcpy(&bits, &value, sizeof(bits));
        char bytes[4];
        if (bigEndian)
            qToBigEndian(bits, bytes);
        else
            qToLittleEndian(bits, bytes);
        frame.append(bytes, 4);
    }
    return frame.append('\0');
}

QByteArray emFrame(char firstSync)
{
    QByteArray frame;
    frame.append(firstSync).append('\x90');
    for (int word : {hundredths(18000), hundredths(9000), hundredths(1000), random.bounded(36000)}) {
        char bytes[2];
        qToLittleEndian(quint16(word), bytes);
        frame.append(bytes, 2);
    }
    return frame;
}

QByteArray togLine()
{
    return printed("HD%05.1f PI%+05.1f RO%+05.1f\r\n", random.bounded(360.0), angle(90), angle(180));
}

QByteArray ishLine()
{
    return printed("$PISH,%.2f,%+.2f,%+.2f*5A\r\n", random.bounded(360.0), angle(90), angle(180));
}

QByteArray prdidLine()
{
    return printed("$PRDID,%+06.2f,%+06.2f,%06.2f*4F\r\n", angle(90), angle(180), random.bounded(360.0));
}

QByteArray threeFieldsLine()
{
    return printed("HDR%+.2f,%+.2f,%.1f\r\n", angle(180), angle(90), random.bounded(360.0));
}

QByteArray allFieldsLine()
{
    QByteArray line("$HDR");
    for (int i = 0; i < 13; ++i)
        line += printed(i == 0 ? "%+.2f" : ",%+.3f", angle(100));
    return line + "\r\n";
}

} // namespace

namespace SampleInputs {

const std::array<Protocol, 11> Protocols{{
    {"TSS1", 3, [] { return tssLine('U'); }},
    {"TSS3", 5, [] { return tssLine('h'); }},
    {"TOG", 6, togLine},
    {"ISH", 7, ishLine},
    {"PRDID", 15, prdidLine},
    {"EulerL", 8, [] { return eulerFrame(false); }},
    {"EulerB", 9, [] { return eulerFrame(true); }},
    {"EM1000", 13, [] { return emFrame('\x00'); }},
    {"EM3000", 14, [] { return emFrame('\x90'); }},
    {"custom, 3 fields", 0xE0000014, threeFieldsLine, {0xE0, 0x00, 0x00, 0x14}},
    {"custom, 13 fields", 0xFFF80014, allFieldsLine, {0xFF, 0xF8, 0x00, 0x14}},
}};

} // namespace SampleInputs
