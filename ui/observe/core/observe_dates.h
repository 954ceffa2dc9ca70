// Knock-out observation dates: the schedule generated from start, maturity, frequency and
// lock-up, and its conversion into observation times in years.
#pragma once

#include <QDate>
#include <QString>
#include <cstdint>
#include <vector>

// The generator lives in Qt Core and shows no box itself; the editor shows its errors through
// its message seam, under FormChecks::kScheduleErrorTitle, with FormChecks::kNoStartDate,
// FormChecks::kNoEndDate or this text.
inline const char* const kObserveErrorLockup = "锁定观察数量大于以观察频率取样的日期数量!";

// The outcome of generateObserveDates. On success `dates` holds the schedule text (dates
// yyyyMMdd joined by "_", the maturity date last) and both error fields are empty; on failure
// `dates` is empty and the error fields hold the message box's title and text.
struct ObserveDatesResult {
    QString dates;
    QString errorTitle;
    QString errorText;

    bool ok() const { return errorText.isEmpty(); }
};

// Candidates step from the start date by the frequency ("周"/"1W" 7 days, "双周"/"2W" 14 days,
// "月"/"1M" one month, carried from the previous candidate) while the candidate plus the guard
// (3, 7 or 15 days) lies strictly before the maturity date. The first lockupCount - 1 candidates
// are dropped (a negative count fails); the rest are rolled onto trading days of the
// process-wide calendar (0 when outside it), then the maturity date is appended unrolled.
// An unknown frequency text gives no candidates.
ObserveDatesResult generateObserveDates(const QDate& startDate, const QDate& endDate,
                                        int lockupCount, const QString& frequencyText);

// The date rolled onto a trading day of the process-wide calendar, as the editor rolls its date
// fields; an invalid date when the calendar cannot roll it (outside its range).
QDate rolledToTradingDay(const QDate& date);

// The frequencies' list texts and their codes in product files: the code of a text and the text
// of a code; the monthly one ("1M", "月") for anything else.
QString frequencyCode(const QString& frequencyText);
QString frequencyText(const QString& frequencyCode);

// Appends to `times` one time in years per date of datesText (parts joined by "_", empty parts
// skipped): signed calendar days from startText (yyyyMMdd) divided by daysPerYear. Dates before
// the start give negative times and are kept.
void observeYearFractionsNatural(const QString& datesText, const QString& startText,
                                 double daysPerYear, std::vector<double>& times);

// The same by trading days of the process-wide calendar: trading days from the start to each
// date divided by daysPerYear; a negative time (a date before the start) is left out.
void observeYearFractionsTrading(const QString& datesText, const QString& startText,
                                 double daysPerYear, std::vector<double>& times);
