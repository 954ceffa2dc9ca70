#include "form_reader.h"

#include <algorithm>
#include <optional>

#include <QStringList>

namespace {

double inEngineUnit(double number, NumberUnit unit) {
    return unit == NumberUnit::Percent ? number / 100 : number;
}

}  // namespace

FormReader::FormReader(const ProductFormTexts& texts, Refusal refusal)
    : texts_(texts), refusal_(refusal) {}

double FormReader::number(const FormField& field) {
    return number(texts_.*field.text, field.label, field.unit);
}

std::vector<double> FormReader::list(const FormField& field) {
    return list(texts_.*field.text, field.label, field.unit);
}

// After a refusal the rest is not read: only the first one is reported.
double FormReader::number(const QString& text, const char* label, NumberUnit unit) {
    if (!ok()) return 0;
    const std::optional<double> value = readFormNumber(text, unit);
    if (!value) return refuse(refusal_(QString::fromUtf8(label), text));
    return *value;
}

std::vector<double> FormReader::list(const QString& text, const char* label, NumberUnit unit) {
    std::vector<double> values;
    for (const QString& part : text.split(QLatin1Char('_'), Qt::KeepEmptyParts))
        values.push_back(number(part, label, unit));
    return values;
}

double FormReader::value(const FormField& field) {
    return inEngineUnit(number(field), field.unit);
}

double FormReader::optionalValue(const FormField& field) {
    return (texts_.*field.text).trimmed().isEmpty() ? 0 : value(field);
}

std::vector<double> FormReader::values(const FormField& field, std::size_t dates) {
    std::vector<double> values = list(field);
    for (double& v : values)
        v = inEngineUnit(v, field.unit);
    if (values.size() == 1) values.resize(std::max<std::size_t>(dates, 1), values.front());
    return values;
}

int FormReader::whole(const FormField& field) {
    const double value = number(field);
    if (!ok()) return 0;
    if (const std::optional<int> whole = wholeNumber(value)) return *whole;
    return int(refuse(QStringLiteral("“%1”不是整数，请检查").arg(QString::fromUtf8(field.label))));
}

double FormReader::refuse(const QString& message) {
    error_ = message;
    return 0;
}
