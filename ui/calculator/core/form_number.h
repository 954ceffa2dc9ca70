// Strict reading of a number the user typed: what is not plainly a number is refused, not read as
// 0.
#pragma once

#include <QString>
#include <optional>

// Whether the field holds a percentage, where a trailing "%" only repeats the field's unit.
enum class NumberUnit { Plain, Percent };

// The finite number a text means, or nothing. Blanks around it are ignored, full-width digits,
// point, plus and minus read as their ASCII forms, and in a percent field one trailing "%" (or
// "％") is dropped: "１８％" reads 18. Anything else (words, inner blanks, "1,5", "nan", "inf",
// an empty text) is no number.
std::optional<double> readFormNumber(const QString& text, NumberUnit unit = NumberUnit::Plain);

// The int a number is, or nothing when it has a fraction or does not fit an int.
std::optional<int> wholeNumber(double value);

// The shortest text that reads back as exactly `value`.
QString writeFormNumber(double value);
