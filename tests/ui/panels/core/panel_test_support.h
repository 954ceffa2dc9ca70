// Products, calendars and small helpers shared by the analysis-panel tests.
#pragma once

#include <string>
#include <vector>

#include <QDate>
#include <QString>
#include <QStringList>

#include "snowball_pde.h"
#include "temp_dir.h"
#include "trade_calendar.h"

// A one-year snowball on a grid of M price steps and N time steps: knock-out 103 on four
// quarterly dates, knock-in 80, coupons 16 %, volatility 18 %, rate 1.5 %.
inline Snowball_PDE quarterly_snowball(int M = 60, int N = 60) {
    Snowball_PDE e;
    PdeParams base;
    base.sigma = 0.18;
    base.r = 0.015;
    base.M = M;
    base.N = N;
    e.set_product({0.25, 0.5, 0.75, 1.0}, {103, 103, 103, 103}, {0.16, 0.16, 0.16, 0.16},
                  {80, 80, 80, 80}, 0.16, 0, 0, 0, 0, 1, 0, base);
    return e;
}

// Weekdays from `first` on, `count` of them, as yyyyMMdd integers.
inline std::vector<int32_t> weekdays(const QDate& first, int count) {
    std::vector<int32_t> days;
    for (QDate d = first; static_cast<int>(days.size()) < count; d = d.addDays(1)) {
        if (d.dayOfWeek() <= 5) days.push_back(d.toString("yyyyMMdd").toInt());
    }
    return days;
}

// Loads the process-wide calendar with the given trading days through a file, the way the
// program loads its own.
inline void load_process_calendar(const std::vector<int32_t>& days) {
    TempDir dir;
    std::string text = "iDate\n";
    for (int32_t d : days)
        text += std::to_string(d) + "\n";
    trade_calendar().load(dir.write("trade_calendar.csv", text));
}

// The dates at the given positions of a list of trading days, joined by "_".
inline QString join_dates(const std::vector<int32_t>& days, const std::vector<int>& positions) {
    QStringList parts;
    for (int p : positions)
        parts << QString::number(days[p]);
    return parts.join('_');
}
