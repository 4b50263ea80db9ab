#include "DisplayNumber.h"

#include <QLatin1Char>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Enough for every float magnitude with a handful of decimals; larger values
// take the slow path through QString::arg.
constexpr int DigitBufferSize = 96;

// True when magnitude lies exactly half-way between two texts with the given
// number of decimals, that is when magnitude * 2^(decimals + 1) is an odd integer.
bool isExactTie(double magnitude, int decimals)
{
    const double scaled = std::ldexp(magnitude, decimals + 1);
    return std::isfinite(scaled) && std::fmod(scaled, 2.0) == 1.0;
}

// Adds one unit in the last place to the decimal text buf[0, length).
// Returns the new length (one more when the carry runs out of the leading digit).
int incrementLastDigit(char *buf, int length)
{
    for (int i = length - 1; i >= 0; --i) {
        if (buf[i] == '.')
            continue;
        if (buf[i] != '9') {
            ++buf[i];
            return length;
        }
        buf[i] = '0';
    }
    std::memmove(buf + 1, buf, size_t(length));
    buf[0] = '1';
    return length + 1;
}

// Fixed-notation digits of a finite, non-negative magnitude; exact ties round
// away from zero. Returns the length, or -1 when the buffer is too small.
int fixedDigits(char *buf, double magnitude, int decimals)
{
    const bool tie = isExactTie(magnitude, decimals);
    const int precision = tie ? decimals + 1 : decimals;
    // Keep one byte free for a carry out of the leading digit.
    const auto [end, error] = std::to_chars(buf, buf + DigitBufferSize - 1, magnitude,
                                            std::chars_format::fixed, precision);
    if (error != std::errc())
        return -1;
    int length = int(end - buf);
    if (!tie)
        return length;
    // The exact text ends in "5" one place further: drop it (and a bare point) and round up.
    length -= decimals == 0 ? 2 : 1;
    return incrementLastDigit(buf, length);
}

void markUnsigned(QString &text)
{
    if (text.startsWith(QLatin1Char('0')))
        text[0] = QLatin1Char('+');
}

} // namespace

void writeDisplayNumber(QString &text, double value, int decimals, int width)
{
    Q_ASSERT(decimals >= 0);
    char digits[DigitBufferSize];
    const int length = std::isfinite(value) ? fixedDigits(digits, std::fabs(value), decimals) : -1;
    if (length < 0) {
        text = QStringLiteral("%1").arg(value, width, 'f', decimals, QLatin1Char('0'));
        markUnsigned(text);
        return;
    }

    const bool negative = value < 0;
    const int signLength = negative ? 1 : 0;
    const int padding = std::max(0, width - signLength - length);
    text.resize(signLength + padding + length);
    QChar *out = text.data();
    if (negative)
        *out++ = QLatin1Char('-');
    out = std::fill_n(out, padding, QLatin1Char('0'));
    for (int i = 0; i < length; ++i)
        out[i] = QLatin1Char(digits[i]);
    markUnsigned(text);
}

double readDisplayNumber(QStringView text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

float readDisplayFloat(QStringView text)
{
    const double value = readDisplayNumber(text);
    return std::fabs(value) <= double(std::numeric_limits<float>::max()) ? float(value) : 0.0f;
}
