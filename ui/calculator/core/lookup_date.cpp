#include "lookup_date.h"

#include "form_text.h"

QString lookupDateProblem(const QString& text, const QDate& start, const QDate& maturity) {
    const QDate date = FormText::dateFromText(text.trimmed());
    if (!date.isValid()) return QStringLiteral("“今日”不是有效日期，请按yyyyMMdd格式输入");
    if (date < start || date > maturity)
        return QStringLiteral("“今日”应在起始日%1与到期日%2之间")
            .arg(FormText::dateText(start), FormText::dateText(maturity));
    return QString();
}
