#ifndef DISPLAYNUMBER_H
#define DISPLAYNUMBER_H

#include <QString>
#include <QStringView>

// Width of a displayed number unless a decoder asks for another one.
inline constexpr int DisplayNumberWidth = 6;

// Writes the display text of a decoded value into text, reusing its buffer:
// fixed notation with the given number of decimals and "." as decimal point
// whatever the locale, zero-padded to width (the zeros follow a minus sign),
// then a leading "0" turned into "+". Exact ties round away from zero and a
// negative zero shows no minus, as QString::arg(value, width, 'f', decimals, '0') does:
// 1.5 with 2 decimals gives "+01.50", -1.5 "-01.50", 123.45 "123.45".
void writeDisplayNumber(QString &text, double value, int decimals, int width = DisplayNumberWidth);

// Reads a display text back into its value: "+01.50" gives 1.5, "-00.42"
// -0.42. A text that holds no finite number ("NA", "", a non-finite value's
// text, anything else) gives 0.
double readDisplayNumber(QStringView text);

// The same in single precision; a value beyond its range is no number and gives 0.
float readDisplayFloat(QStringView text);

#endif // DISPLAYNUMBER_H
