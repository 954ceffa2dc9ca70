// The checks a product must pass before it is priced: its observation schedule and its terms.
// They only report (false and the message); they change nothing.
#pragma once

#include <QString>

namespace FormChecks {

// The schedule's box title and the texts for a missing date; the editor's date generator reports
// them too.
inline const char* const kScheduleErrorTitle = "观察日参数错误";
inline const char* const kNoStartDate = "无起始日";
inline const char* const kNoEndDate = "无到期日";

// start and end are yyyyMMdd integers (0 = no date); dates is the "_"-joined schedule text.
bool checkSchedule(int start, int end, const QString& dates, QString& error);

// Texts of the initial price, the knock-in and the knock-out barrier fields. With price_only
// only the initial price is checked.
bool checkTerms(const QString& spot, const QString& knockIn, const QString& knockOut,
                bool price_only, QString& error);

}  // namespace FormChecks
