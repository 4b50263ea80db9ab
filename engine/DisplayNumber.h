#ifndef DISPLAYNUMBER_H
#define DISPLAYNUMBER_H

#include <QString>

// Width of a displayed number unless a decoder asks for another one.
inline constexpr int DisplayNumberWidth = 6;

// Writes the display text of a decoded value into text, reusing its buffer:
// fixed notation with the given number of decimals and "." as decimal point
// whatever the locale, zero-padded to width (the zeros follow a minus sign),
// then a leading "0" turned into "+". Exact ties round away from zero and a
// negative zero shows no minus, as QString::arg(value, width, 'f', decimals, '0') does:
// 1.5 with 2 decimals gives "+01.50", -1.5 "-01.50", 123.45 "123.45".
void writeDisplayNumber(QString &text, double value, int decimals, int width = DisplayNumberWidth);

#endif // DISPLAYNUMBER_H
