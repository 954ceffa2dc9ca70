#include "form_checks.h"

#include <cmath>

#include <QStringList>

#include "form_text.h"

namespace FormChecks {

namespace {

bool fail(QString& error, const char* message) {
    error = QString::fromUtf8(message);
    return false;
}

}  // namespace

bool checkSchedule(int start, int end, const QString& dates, QString& error) {
    if (start == 0) return fail(error, kNoStartDate);
    if (end == 0) return fail(error, kNoEndDate);
    const QString trimmed = dates.trimmed();
    if (trimmed.isEmpty()) return fail(error, "无敲出观察日");
    const QStringList parts = trimmed.split(QLatin1Char('_'), Qt::SkipEmptyParts);
    if (parts.size() < 1) return fail(error, "敲出观察日数量小于1");
    // An observation on the start date itself cannot knock out: the product has not begun.
    if (parts.first().toInt() <= start) return fail(error, "首次敲出观察日小于起始日");
    if (parts.last().toInt() != end) return fail(error, "最后敲出观察日与到期日不符");
    for (int i = 1; i < parts.size(); ++i) {
        if (parts[i].toInt() < parts[i - 1].toInt()) return fail(error, "敲出观察日未按顺序递增");
    }
    return true;
}

bool checkTerms(const QString& spot, const QString& knockIn, const QString& knockOut,
                bool price_only, QString& error) {
    const double S = FormText::readNumber(spot);
    // A per-date knock-in list reads as 0 and passes; the knock-out check uses the first date.
    const double KI = FormText::readNumber(knockIn);
    const double KO = FormText::readFirstValue(knockOut);
    if (std::isnan(S)) return fail(error, "无效的标的价格");
    if (price_only) return true;
    if (std::isnan(KI)) return fail(error, "无效的敲入参数");
    if (!(KI < S)) return fail(error, "敲入价格应小于标的价格");
    if (std::isnan(KO)) return fail(error, "无效的敲出参数");
    if (KO < S) return fail(error, "敲出价格应大于标的价格");
    return true;
}

}  // namespace FormChecks
