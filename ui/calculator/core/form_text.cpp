#include "form_text.h"

#include <algorithm>

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

double readNumber(const QString& text) {
    return number(text).value_or(0.0);
}

double readPercent(const QString& text) {
    return readNumber(text) / 100;
}

int readInt(const QString& text) {
    return text.toInt();
}

double readFirstValue(const QString& text) {
    const int cut = text.indexOf(QLatin1Char('_'));
    return readNumber(cut < 0 ? text : text.left(cut));
}

std::vector<double> readValueList(const QString& text, std::size_t count) {
    std::vector<double> values;
    for (const QString& part : text.split(QLatin1Char('_'), Qt::KeepEmptyParts))
        values.push_back(readNumber(part));
    if (values.size() == 1) values.resize(std::max<std::size_t>(count, 1), values.front());
    return values;
}

QString fixed(double value, int decimals) {
    return QString::number(value, 'f', std::clamp(decimals, 0, kMaxDecimals));
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
