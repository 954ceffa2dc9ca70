// The calendar, date-list, reference-solution and export-reading helpers shared by the
// analysis-panel tests.
#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "temp_dir.h"
#include "test_calendar.h"
#include "test_snowball.h"
#include "trade_calendar.h"

// Loads the process-wide calendar with the given trading days through a file, the way the
// program loads its own.
inline bool load_process_calendar(const TestCalendar& calendar) {
    TempDir dir;
    return trade_calendar().load(calendar.write(dir));
}

// The dates at the given positions of a list of trading days, joined by "_".
inline QString join_dates(const std::vector<int32_t>& days, const std::vector<int>& positions) {
    QStringList parts;
    for (int p : positions)
        parts << QString::number(days[p]);
    return parts.join('_');
}

// The terms solved on their grids at another volatility, with their Greeks: the reference for
// what a panel reads off at that volatility.
inline Snowball_PDE solvedAtVolatility(Snowball_PDE terms, double sigma) {
    terms.set_param(3, sigma);
    terms.price_with_grids();
    terms.compute_base_greeks();
    return terms;
}

// The lines of an exported file, read as the panels write them (the local 8-bit encoding).
inline QStringList exportedLines(const QString& path) {
    return QString::fromLocal8Bit(QByteArray::fromStdString(TempDir::read(path.toStdString())))
        .split('\n');
}
