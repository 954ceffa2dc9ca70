// The form's texts: numbers read from and written to the text fields of the window, the schedule
// editor and the panels, and dates as the calendar counts them (yyyyMMdd).
#pragma once

#include <optional>
#include <vector>

#include <QDate>
#include <QString>

#include "form_number.h"

namespace FormText {

// The number a text holds by the toolkit's locale-independent conversion, surrounding blanks
// ignored ("nan" and "inf" are numbers); none when the text is not a number.
std::optional<double> number(const QString& text);
// The lenient reading the form keeps: a text that is not a number reads as 0. What the strict
// reading accepts in a field of that unit ("１８％" in a percent field) reads as it does there.
double readNumber(const QString& text, NumberUnit unit = NumberUnit::Plain);
// The percent fields hold percent; the engine wants fractions.
double readPercent(const QString& text);
// A whole number; a text the form's checks accept as one ("200.0", "２００", " 200 ") reads as
// it, anything else by the decimal integer conversion, 0 when the text is none (or does not fit
// an int).
int readInt(const QString& text);

// The number before the first "_" of a per-date list (the whole text when there is none).
double readFirstValue(const QString& text);
// A "_"-joined list, empty parts kept and read as 0. A single value stands for every date, so it
// is repeated up to `count` entries; longer lists are kept as they are.
std::vector<double> readValueList(const QString& text, std::size_t count,
                                  NumberUnit unit = NumberUnit::Plain);

// Fixed notation with `decimals` decimals; the count is clamped so that a typed 10^9 cannot
// make a gigabyte of zeros. A negative that rounds to zero is written without its sign.
QString fixed(double value, int decimals);
// General format with six significant digits.
QString general6(double value);

// yyyyMMdd as an integer; 0 for an invalid date.
int dateNumber(const QDate& date);
// The inverse: an invalid date for 0 or a number that is no calendar date.
QDate dateFromNumber(int yyyymmdd);
// yyyyMMdd as a text; empty for an invalid date.
QString dateText(const QDate& date);
// The date a yyyyMMdd text names; invalid when it names none.
QDate dateFromText(const QString& text);

}  // namespace FormText
