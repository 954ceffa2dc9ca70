// Reading numbers and value lists out of the calculator's text fields, and printing results back.
#pragma once

#include <vector>

#include <QDate>
#include <QString>

namespace FormText {

// The program's own texts are written in UTF-8 in the sources.
inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}

// The toolkit's locale-independent conversion; a text that is not a number reads as 0, while
// "nan" and "inf" keep their values.
double readNumber(const QString& text);
// The percent fields hold percent; the engine wants fractions.
double readPercent(const QString& text);
// Decimal integer; 0 when the text is none (or does not fit an int).
int readInt(const QString& text);

// The number before the first "_" of a per-date list (the whole text when there is none).
double readFirstValue(const QString& text);
// A "_"-joined list, empty parts kept and read as 0. A single value stands for every date, so it
// is repeated up to `count` entries; longer lists are kept as they are.
std::vector<double> readValueList(const QString& text, std::size_t count);

// yyyyMMdd as an integer; 0 for an invalid date.
int dateNumber(const QDate& date);

// Fixed notation with `decimals` decimals; the count is clamped so that a typed 10^9 cannot
// make a gigabyte of zeros.
QString fixed(double value, int decimals);
// General format with six significant digits.
QString general6(double value);

}  // namespace FormText
