#include "product_terms.h"

#include <algorithm>

#include <QSaveFile>
#include <QStringList>

#include "day_count.h"
#include "form_number.h"
#include "form_reader.h"
#include "form_text.h"
#include "observe_dates.h"

namespace {

QString joined(const std::vector<double>& values) {
    QStringList parts;
    for (double v : values)
        parts << writeFormNumber(v);
    return parts.join(QLatin1Char('_'));
}

QString dateList(const std::vector<int32_t>& dates) {
    QStringList parts;
    for (int32_t d : dates)
        parts << QString::number(d);
    return parts.join(QLatin1Char('_'));
}

// The file's structure numbers beside the form's fields, in the form's order. Percent fields are
// kept in percent, as typed.
struct StructureNumber {
    const FormField* field;
    double ProductFile::*number;             // a single number, or
    std::vector<double> ProductFile::*list;  // one or one per date
};

const StructureNumber kStructureNumbers[] = {
    {&FormFields::kSpot, &ProductFile::initialPrice, nullptr},
    {&FormFields::kVolatility, &ProductFile::volatilityPct, nullptr},
    {&FormFields::kDividendRate, &ProductFile::dividendYieldPct, nullptr},
    {&FormFields::kRate, &ProductFile::riskFreeRatePct, nullptr},
    {&FormFields::kKnockOutCoupons, nullptr, &ProductFile::knockOutCouponPct},
    {&FormFields::kDividendCoupon, &ProductFile::dividendCouponPct, nullptr},
    {&FormFields::kKnockOutPrices, nullptr, &ProductFile::knockOutPrice},
    {&FormFields::kKnockInPrices, nullptr, &ProductFile::knockInPrice},
    {&FormFields::kFloor, &ProductFile::floorPrice, nullptr},
    {&FormFields::kCallStrike, &ProductFile::callStrike, nullptr},
    {&FormFields::kCallParticipation, &ProductFile::callParticipation, nullptr},
};

std::vector<int32_t> readDates(const QString& text) {
    std::vector<int32_t> out;
    for (const QString& part : text.split(QLatin1Char('_'), Qt::SkipEmptyParts))
        out.push_back(part.trimmed().toInt());
    return out;
}

// The save box quotes the refused text beside its field's label.
QString fileRefusal(const QString& label, const QString& text) {
    return QStringLiteral("“%1”的内容“%2”不是数字").arg(label, text);
}

}  // namespace

ProductForm productFormOf(const ProductFile& f) {
    ProductForm form;
    form.name = QString::fromStdString(f.name);
    form.category = f.category;
    form.type = f.type;
    ProductFormTexts& t = form.terms;
    for (const StructureNumber& n : kStructureNumbers)
        t.*n.field->text = n.number ? writeFormNumber(f.*n.number) : joined(f.*n.list);

    const ProductSchedule& s = f.schedule;
    form.start = FormText::dateFromNumber(s.start);
    form.end = FormText::dateFromNumber(s.maturity);
    form.frequency = frequencyText(QString::fromStdString(s.frequency));
    form.lockup = QString::number(s.lockup);
    form.merged = s.merged;
    form.dates = dateList(s.dates);
    form.schedule_ko_prices = joined(s.knockOutPrices);
    form.schedule_ko_coupons = joined(s.knockOutCouponsPct);
    form.schedule_ki_prices = joined(s.knockInPrices);

    const int days = maturityTradingDays(form.start, form.end);
    t.maturityDays = QString::number(days);
    t.ceiling = writeFormNumber(f.pde.priceCeiling);
    t.priceSteps = QString::number(f.pde.M);
    t.timeSteps = QString::number(f.pde.N >= 0 ? f.pde.N : qint64(days) - 1);
    // What a file does not hold reads as the window holds it.
    t.daysPerYear = QString::number(kTradingDaysPerYear);
    t.adjustShare = t.adjustRate = QStringLiteral("0");
    form.decimals = QString::number(f.pde.decimals);
    form.accurate = f.pde.scheme == "accurate";
    form.extrapolate = form.accurate && f.pde.extrapolate;
    return form;
}

bool productFileOf(const ProductForm& form, const ProductFile& base, ProductFile& file,
                   QString& error) {
    FormReader read(form.terms, fileRefusal);
    ProductFile f = base;
    f.name = form.name.toStdString();
    f.category = std::clamp(form.category, 0, int(productCategoryWords().size()) - 1);
    f.type = std::clamp(form.type, 0, int(productTypeWords().size()) - 1);
    for (const StructureNumber& n : kStructureNumbers) {
        if (n.number)
            f.*n.number = read.number(*n.field);
        else
            f.*n.list = read.list(*n.field);
    }

    ProductSchedule& s = f.schedule;
    s.start = FormText::dateNumber(form.start);
    s.maturity = FormText::dateNumber(form.end);
    s.frequency = frequencyCode(form.frequency).toStdString();
    s.lockup = FormText::readInt(form.lockup);
    s.merged = form.merged;
    s.dates = readDates(form.dates);
    s.knockOutPrices = read.list(form.schedule_ko_prices, "观察日 敲出价格");
    s.knockOutCouponsPct =
        read.list(form.schedule_ko_coupons, "观察日 敲出票息", NumberUnit::Percent);
    s.knockInPrices = read.list(form.schedule_ki_prices, "观察日 敲入价格");

    f.pde.priceCeiling = read.number(FormFields::kCeiling);
    f.pde.M = FormText::readInt(form.terms.priceSteps);
    f.pde.N = FormText::readInt(form.terms.timeSteps);
    f.pde.decimals = std::max(0, FormText::readInt(form.decimals));
    f.pde.scheme = form.accurate ? "accurate" : "implicit";
    f.pde.extrapolate = form.accurate && form.extrapolate;
    if (!read.ok()) {
        error = read.error();
        return false;
    }
    // A file that would not open again is no saved product: refuse it with the reader's reason.
    ProductFile check;
    ProductFileError problem;
    if (!readProductDocument(productDocument(f), check, problem)) {
        error = QString::fromStdString(problem.chinese());
        return false;
    }
    file = std::move(f);
    return true;
}

bool productEngineOf(const ProductFile& file, Snowball_PDE& engine, QString& error) {
    const ProductForm form = productFormOf(file);
    QString title;
    if (!checkProductForm(form, title, error)) {
        error = title + QStringLiteral(": ") + error;
        return false;
    }
    readProductForm(form, engine);
    commitProduct(engine, form.type, engine.coupon_adj_rate, engine.coupon_adj_share);
    return true;
}

bool writeProductPath(const QString& path, const ProductFile& file, QString& error) {
    QSaveFile out(path);
    const std::string text = productText(file);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(text.data(), qint64(text.size())) != qint64(text.size()) || !out.commit()) {
        error = out.errorString();
        return false;
    }
    return true;
}
