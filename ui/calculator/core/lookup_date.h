// The date a look-up reads the solved grids at ("今日"): refused unless it names a day of the
// product's life, since the grids hold nothing before the start or after maturity.
#pragma once

#include <QDate>
#include <QString>

// Empty when `text` (yyyyMMdd, blanks around it ignored) names a date from start to maturity,
// both included; otherwise the message for the user.
QString lookupDateProblem(const QString& text, const QDate& start, const QDate& maturity);
