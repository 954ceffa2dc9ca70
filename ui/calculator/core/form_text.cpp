#include "form_text.h"

#include <algorithm>

#include "form_number.h"

namespace FormText {

namespace {
// More decimals than a double carries only prints noise.
constexpr int kMaxDecimals = 17;

QString dateFormat() {
    return QStringLiteral("yyyyMMdd");
}
}  // namespace

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

// A text that plainly means a number (full-width digits, a trailing "%" in a percent field) reads
// as that number, so that what the checks accept is what the engine gets; "nan" stays NaN.
double readNumber(const QString& text, NumberUnit unit) {
    if (const std::optional<double> strict = readFormNumber(text, unit)) return *strict;
    return number(text).value_or(0.0);
}

double readPercent(const QString& text) {
    return readNumber(text, NumberUnit::Percent) / 100;
}

int readInt(const QString& text) {
    const std::optional<double> value = readFormNumber(text);
    const std::optional<int> whole = value ? wholeNumber(*value) : std::nullopt;
    return whole ? *whole : text.toInt();
}

double readFirstValue(const QString& text) {
    const int cut = text.indexOf(QLatin1Char('_'));
    return readNumber(cut < 0 ? text : text.left(cut));
}

std::vector<double> readValueList(const QString& text, std::size_t count, NumberUnit unit) {
    std::vector<double> values;
    for (const QString& part : text.split(QLatin1Char('_'), Qt::KeepEmptyParts))
        values.push_back(readNumber(part, unit));
    if (values.size() == 1) values.resize(std::max<std::size_t>(count, 1), values.front());
    return values;
}

QString fixed(double value, int decimals) {
    QString text = QString::number(value, 'f', std::clamp(decimals, 0, kMaxDecimals));
    // A tiny negative rounds to "-0" or "-0.00"; the figure shown is zero, so is its sign.
    const QString digits = text.mid(1).remove(QLatin1Char('.'));
    if (text.startsWith(QLatin1Char('-')) && digits.count(QLatin1Char('0')) == digits.size())
        text.remove(0, 1);
    return text;
}

QString general6(double value) {
    return QString::number(value, 'g', 6);
}

int dateNumber(const QDate& date) {
    return date.isValid() ? dateText(date).toInt() : 0;
}

QDate dateFromNumber(int yyyymmdd) {
    return dateFromText(QString::number(yyyymmdd));
}

QString dateText(const QDate& date) {
    return date.toString(dateFormat());
}

QDate dateFromText(const QString& text) {
    return QDate::fromString(text, dateFormat());
}

}  // namespace FormText
