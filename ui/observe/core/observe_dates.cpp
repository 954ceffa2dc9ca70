#include "observe_dates.h"

#include <QStringList>

#include "form_checks.h"
#include "form_text.h"
#include "trade_calendar.h"

namespace {

// One observation frequency: the step between candidates and the guard before maturity.
struct FrequencyRule {
    const char* text;
    const char* code;
    int stepDays;    // 0 for the monthly rule
    int stepMonths;  // 0 for the daily rules
    int guardDays;
};

const FrequencyRule kRules[] = {
    {"周", "1W", 7, 0, 3},
    {"双周", "2W", 14, 0, 7},
    {"月", "1M", 0, 1, 15},
};

const FrequencyRule* findRule(const QString& frequencyText) {
    for (const FrequencyRule& rule : kRules)
        if (frequencyText == QString::fromUtf8(rule.text)) return &rule;
    for (const FrequencyRule& rule : kRules)
        if (frequencyText == QLatin1String(rule.code)) return &rule;
    return nullptr;
}

const FrequencyRule& kMonthly = kRules[2];

QDate step(const QDate& d, const FrequencyRule& rule) {
    return rule.stepMonths ? d.addMonths(rule.stepMonths) : d.addDays(rule.stepDays);
}

// The monthly rule steps from the previous candidate, so a day cut short by addMonths (31 January
// to 29 February) stays short for the rest of the schedule.
std::vector<QDate> candidates(const QDate& start, const QDate& end, const FrequencyRule* rule) {
    std::vector<QDate> out;
    if (rule == nullptr) return out;
    for (QDate d = step(start, *rule); d.addDays(rule->guardDays) < end; d = step(d, *rule))
        out.push_back(d);
    return out;
}

ObserveDatesResult failure(const char* text) {
    ObserveDatesResult r;
    r.errorTitle = QString::fromUtf8(FormChecks::kScheduleErrorTitle);
    r.errorText = QString::fromUtf8(text);
    return r;
}

}  // namespace

ObserveDatesResult generateObserveDates(const QDate& startDate, const QDate& endDate,
                                        int lockupCount, const QString& frequencyText) {
    // 1.-2. Both dates must be present.
    if (FormText::dateNumber(startDate) == 0) return failure(FormChecks::kNoStartDate);
    if (FormText::dateNumber(endDate) == 0) return failure(FormChecks::kNoEndDate);

    // 3.-4. Candidates at the frequency, strictly before maturity by the guard.
    std::vector<QDate> dates = candidates(startDate, endDate, findRule(frequencyText));

    // 5.-6. The lock-up covers the first candidates; compared unsigned, a negative count fails.
    if (dates.size() < static_cast<unsigned>(lockupCount)) return failure(kObserveErrorLockup);
    if (lockupCount > 1) dates.erase(dates.begin(), dates.begin() + (lockupCount - 1));

    // 7. Rolled candidates, then the maturity date as it is.
    const TradeCalendar& calendar = trade_calendar();
    ObserveDatesResult r;
    for (const QDate& d : dates) {
        r.dates += QString::number(calendar.roll_to_trading_day(FormText::dateNumber(d)));
        r.dates += QLatin1Char('_');
    }
    r.dates += FormText::dateText(endDate);
    return r;
}

void observeYearFractionsNatural(const QString& datesText, const QString& startText,
                                 double daysPerYear, std::vector<double>& times) {
    const QStringList parts = datesText.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    const QDate start = FormText::dateFromText(startText);
    for (const QString& part : parts) {
        const QDate d = FormText::dateFromText(part);
        times.push_back(double(start.daysTo(d)) / daysPerYear);
    }
}

void observeYearFractionsTrading(const QString& datesText, const QString& startText,
                                 double daysPerYear, std::vector<double>& times) {
    const QStringList parts = datesText.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    const int32_t start = startText.toInt();
    for (const QString& part : parts) {
        const double t = trading_year_fraction(start, part.toInt(), daysPerYear);
        if (!(t < 0)) times.push_back(t);
    }
}

QString frequencyCode(const QString& frequencyText) {
    for (const FrequencyRule& rule : kRules)
        if (frequencyText == QString::fromUtf8(rule.text)) return QLatin1String(rule.code);
    return QLatin1String(kMonthly.code);
}

QString frequencyText(const QString& frequencyCode) {
    for (const FrequencyRule& rule : kRules)
        if (frequencyCode == QLatin1String(rule.code)) return QString::fromUtf8(rule.text);
    return QString::fromUtf8(kMonthly.text);
}

QDate rolledToTradingDay(const QDate& date) {
    return FormText::dateFromNumber(
        trade_calendar().roll_to_trading_day(FormText::dateNumber(date)));
}
