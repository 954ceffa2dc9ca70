#include "form_number.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

// Full-width forms (U+FF01..U+FF5E) sit at a fixed offset from their ASCII twins.
constexpr ushort kFullWidthFirst = 0xFF01;
constexpr ushort kFullWidthLast = 0xFF5E;
constexpr ushort kFullWidthOffset = 0xFF01 - 0x21;

QString toHalfWidth(const QString& text) {
    QString out = text;
    for (QChar& ch : out) {
        const ushort u = ch.unicode();
        if (u >= kFullWidthFirst && u <= kFullWidthLast) ch = QChar(ushort(u - kFullWidthOffset));
    }
    return out;
}

}  // namespace

std::optional<double> readFormNumber(const QString& text, NumberUnit unit) {
    // QString::trimmed also takes the ideographic blank U+3000 that Chinese input methods type.
    QString s = toHalfWidth(text).trimmed();
    if (unit == NumberUnit::Percent && s.endsWith(QLatin1Char('%'))) {
        s.chop(1);
        s = s.trimmed();
    }
    // Only the characters a decimal number is written with; this keeps out what toDouble would
    // otherwise take ("nan", "inf") and what it would reject anyway (letters, separators).
    for (const QChar ch : s) {
        if (!ch.isDigit() && !QStringLiteral("+-.eE").contains(ch)) return std::nullopt;
        if (ch.unicode() > 0x7F) return std::nullopt;  // digits of other scripts
    }
    bool ok = false;
    const double value = s.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> wholeNumber(double value) {
    if (value != std::floor(value) || std::fabs(value) > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

QString writeFormNumber(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}
