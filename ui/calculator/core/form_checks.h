// The checks a product must pass before it is priced: its observation schedule and its terms.
// They only report (false and the message); they change nothing.
#pragma once

#include <QString>

namespace FormChecks {

// start and end are yyyyMMdd integers (0 = no date); dates is the "_"-joined schedule text.
bool checkSchedule(int start, int end, const QString& dates, QString& error);

// Texts of the initial price, the knock-in and the knock-out barrier fields. With price_only
// only the initial price is checked.
bool checkTerms(const QString& spot, const QString& knockIn, const QString& knockOut,
                bool price_only, QString& error);

}  // namespace FormChecks
