// The calculator window's product file: the current product appended to "autocall.csv" in the
// download folder.
#include <QLabel>
#include <QLineEdit>

#include "dialog_calculator_pde.h"
#include "dialogs.h"
#include "download_paths.h"
#include "file_append.h"
#include "file_report.h"
#include "form_text.h"
#include "observe_schedule.h"
#include "product_record.h"
#include "typed_csv_writer.h"
#include "widget_observe_global.h"

namespace {

// The record's columns read from the form's number fields, each reported under its field's label
// when refused.
const std::pair<const char*, const FormField*> kFormColumns[] = {
    {"KnockOut", &FormFields::kKnockOutPrices},   {"KnockIn", &FormFields::kKnockInPrices},
    {"CouponOut", &FormFields::kKnockOutCoupons}, {"CouponDiv", &FormFields::kDividendCoupon},
    {"CallStrike", &FormFields::kCallStrike},     {"PartRate", &FormFields::kCallParticipation},
    {"Volatility", &FormFields::kVolatility},
};

// The form label a refused column is reported under.
QString columnLabel(const std::string& column) {
    if (column == "OpenPrice") return QStringLiteral("开价");
    if (column == "Observe") return QStringLiteral("观察日");
    for (const auto& [name, field] : kFormColumns)
        if (column == name) return QString::fromUtf8(field->label);
    return QString::fromStdString(column);
}

void refuseColumn(QWidget* parent, const std::string& column) {
    Dialogs::critical(parent, QStringLiteral("导出CSV错误"),
                      QStringLiteral("“%1”(%2)的内容超出文件字段长度，未保存")
                          .arg(columnLabel(column), QString::fromStdString(column)));
}

}  // namespace

void DialogCalculatorPDE::on_pushButton_save_CSV_clicked() {
    using FormText::readNumber;
    ProductRecord record;
    record.set_text("Type", "AC");
    record.set_text("Underlier", "510050");
    record.set_double("Notional", 1000000.0);
    record.set_double("OpenPrice", readNumber(edit_open_price->text()));
    // Fields read as one number: a per-date list reads as 0. Percent fields stay in percent.
    const ProductFormTexts texts = formTexts();
    for (const auto& [column, field] : kFormColumns)
        record.set_double(column, readNumber(texts.*field->text, field->unit));
    record.set_int32("DateBegin", FormText::dateNumber(observe_editor->startDate()));
    record.set_int32("DateEnd", FormText::dateNumber(observe_editor->endDate()));
    // A schedule cut short would be a different product: refuse it instead.
    if (!record.set_text("Observe", observeSchedule().dates.toLatin1().toStdString())) {
        refuseColumn(this, "Observe");
        return;
    }

    // The header and the record reach the file together or not at all, so a failed save leaves
    // no fragment for the next one to glue onto.
    TypedCsvWriter writer;
    std::string block;
    if (!writer.format({record.data()}, ProductRecord::kHeader, block)) {
        refuseColumn(this, writer.overflow_column());
        return;
    }
    const QString path = downloadFilePath(QStringLiteral("autocall.csv"));
    if (reportFileWrite(this, append_whole(path.toLocal8Bit().toStdString(), block), path))
        label_status->setText(QStringLiteral("产品已保存到 %1").arg(path));
}
