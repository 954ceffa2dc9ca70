#include "product_terms.h"

#include <algorithm>
#include <cmath>

#include <QSaveFile>
#include <QStringList>

#include "form_number.h"
#include "form_text.h"

namespace {

// The file's frequency codes and the editor's list texts, in the same order.
const char* const kFrequencyCodes[] = {"1W", "2W", "1M"};
const char* const kFrequencyTexts[] = {"周", "双周", "月"};

QString frequencyText(const std::string& code) {
    for (int i = 0; i < 3; ++i)
        if (code == kFrequencyCodes[i]) return QString::fromUtf8(kFrequencyTexts[i]);
    return QStringLiteral("月");
}

std::string frequencyCode(const QString& text) {
    for (int i = 0; i < 3; ++i)
        if (text == QString::fromUtf8(kFrequencyTexts[i])) return kFrequencyCodes[i];
    return "1M";
}

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

QDate dateOf(int32_t d) {
    return QDate::fromString(QString::number(d), QStringLiteral("yyyyMMdd"));
}

// Reads the form's texts into numbers; the first text that is no number is remembered with the
// label of its field.
class FormNumbers {
  public:
    double number(const QString& text, const char* label, NumberUnit unit = NumberUnit::Plain) {
        const std::optional<double> v = readFormNumber(text, unit);
        if (!v) refuse(label, text);
        return v.value_or(0);
    }
    double percent(const QString& text, const char* label) {
        return number(text, label, NumberUnit::Percent);
    }
    std::vector<double> values(const QString& text, const char* label,
                               NumberUnit unit = NumberUnit::Plain) {
        std::vector<double> out;
        for (const QString& part : text.split(QLatin1Char('_'), Qt::KeepEmptyParts))
            out.push_back(number(part, label, unit));
        return out;
    }
    std::vector<int32_t> dates(const QString& text) {
        std::vector<int32_t> out;
        for (const QString& part : text.split(QLatin1Char('_'), Qt::SkipEmptyParts))
            out.push_back(part.trimmed().toInt());
        return out;
    }
    bool failed() const { return !error.isEmpty(); }

    QString error;

  private:
    void refuse(const char* label, const QString& text) {
        if (error.isEmpty())
            error = QStringLiteral("“%1”的内容“%2”不是数字").arg(QString::fromUtf8(label), text);
    }
};

}  // namespace

ProductForm productFormOf(const ProductFile& f) {
    ProductForm form;
    form.name = QString::fromStdString(f.name);
    form.category = f.category;
    form.type = f.type;
    form.S = writeFormNumber(f.initialPrice);
    form.vol = writeFormNumber(f.volatilityPct);
    form.div_rate = writeFormNumber(f.dividendYieldPct);
    form.rate = writeFormNumber(f.riskFreeRatePct);
    form.ko_coupon = joined(f.knockOutCouponPct);
    form.div_coupon = writeFormNumber(f.dividendCouponPct);
    form.ko_price = joined(f.knockOutPrice);
    form.ki_price = joined(f.knockInPrice);
    form.floor = writeFormNumber(f.floorPrice);
    form.call_strike = writeFormNumber(f.callStrike);
    form.call_part = writeFormNumber(f.callParticipation);

    const ProductSchedule& s = f.schedule;
    form.start = dateOf(s.start);
    form.end = dateOf(s.maturity);
    form.frequency = frequencyText(s.frequency);
    form.lockup = QString::number(s.lockup);
    form.merged = s.merged;
    form.dates = dateList(s.dates);
    form.schedule_ko_prices = joined(s.knockOutPrices);
    form.schedule_ko_coupons = joined(s.knockOutCouponsPct);
    form.schedule_ki_prices = joined(s.knockInPrices);

    const int days = maturityTradingDays(form.start, form.end);
    form.T = QString::number(days);
    form.S_max = writeFormNumber(f.pde.priceCeiling);
    form.M = QString::number(f.pde.M);
    form.N = QString::number(f.pde.N >= 0 ? f.pde.N : qint64(days) - 1);
    form.decimals = QString::number(f.pde.decimals);
    form.accurate = f.pde.scheme == "accurate";
    form.extrapolate = form.accurate && f.pde.extrapolate;
    return form;
}

bool productFileOf(const ProductForm& form, const ProductFile& base, ProductFile& file,
                   QString& error) {
    FormNumbers read;
    ProductFile f = base;
    f.name = form.name.toStdString();
    f.category = std::clamp(form.category, 0, int(productCategoryWords().size()) - 1);
    f.type = std::clamp(form.type, 0, int(productTypeWords().size()) - 1);
    f.initialPrice = read.number(form.S, "期初价格");
    f.volatilityPct = read.percent(form.vol, "波动率(%)");
    f.dividendYieldPct = read.percent(form.div_rate, "分红率(%)");
    f.riskFreeRatePct = read.percent(form.rate, "无风险利率(%)");
    f.knockOutCouponPct = read.values(form.ko_coupon, "敲出票息(%)", NumberUnit::Percent);
    f.dividendCouponPct = read.percent(form.div_coupon, "红利票息(%)");
    f.knockOutPrice = read.values(form.ko_price, "敲出价格");
    f.knockInPrice = read.values(form.ki_price, "敲入价格");
    f.floorPrice = read.number(form.floor, "保底价格");
    f.callStrike = read.number(form.call_strike, "看涨行权价");
    f.callParticipation = read.number(form.call_part, "看涨参与率");

    ProductSchedule& s = f.schedule;
    s.start = FormText::dateNumber(form.start);
    s.maturity = FormText::dateNumber(form.end);
    s.frequency = frequencyCode(form.frequency);
    s.lockup = FormText::readInt(form.lockup);
    s.merged = form.merged;
    s.dates = read.dates(form.dates);
    s.knockOutPrices = read.values(form.schedule_ko_prices, "观察日 敲出价格");
    s.knockOutCouponsPct =
        read.values(form.schedule_ko_coupons, "观察日 敲出票息", NumberUnit::Percent);
    s.knockInPrices = read.values(form.schedule_ki_prices, "观察日 敲入价格");

    f.pde.priceCeiling = read.number(form.S_max, "价格上限");
    f.pde.M = FormText::readInt(form.M);
    f.pde.N = FormText::readInt(form.N);
    f.pde.decimals = std::max(0, FormText::readInt(form.decimals));
    f.pde.scheme = form.accurate ? "accurate" : "implicit";
    f.pde.extrapolate = form.accurate && form.extrapolate;
    if (read.failed()) {
        error = read.error;
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
