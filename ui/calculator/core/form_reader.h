// Strict reading of the form's texts, field after field, keeping the first refusal: the one
// reading behind the checks before an action prices and behind saving a product file.
#pragma once

#include <cstddef>
#include <vector>

#include <QString>

#include "form_number.h"
#include "form_values.h"

class FormReader {
  public:
    // How a refusal reads, from the field's label and its text.
    using Refusal = QString (*)(const QString& label, const QString& text);

    FormReader(const ProductFormTexts& texts, Refusal refusal);

    bool ok() const { return error_.isEmpty(); }
    // The first refusal; empty while every text read.
    const QString& error() const { return error_; }

    // A field's number as typed: a percent field in percent ("18" for 18 %).
    double number(const FormField& field);
    // Every part of a "_"-joined field, as typed.
    std::vector<double> list(const FormField& field);
    // Any text under a label (the schedule's lists, fields outside the terms).
    double number(const QString& text, const char* label, NumberUnit unit = NumberUnit::Plain);
    std::vector<double> list(const QString& text, const char* label,
                             NumberUnit unit = NumberUnit::Plain);

    // The same as the engine takes them: percent fields as fractions.
    double value(const FormField& field);
    // An extended or hidden field, which may be left empty and then reads 0.
    double optionalValue(const FormField& field);
    // A per-date field; a single value stands for each of `dates` dates.
    std::vector<double> values(const FormField& field, std::size_t dates);
    // A whole number that fits an int (M, N, the days per year).
    int whole(const FormField& field);

  private:
    double refuse(const QString& message);

    const ProductFormTexts& texts_;
    const Refusal refusal_;
    QString error_;
};
