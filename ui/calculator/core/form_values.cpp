#include "form_values.h"

#include <cmath>
#include <limits>
#include <optional>

#include <QStringList>

#include "form_number.h"
#include "trade_calendar.h"

namespace {

// Reads one field after another and keeps the first failure.
class FieldReader {
  public:
    explicit FieldReader(QString& error) : error_(error) {}

    bool ok() const { return ok_; }

    double number(const QString& text, const char* label, NumberUnit unit = NumberUnit::Plain) {
        if (!ok_) return 0;
        const std::optional<double> value = readFormNumber(text, unit);
        if (!value) return fail(notANumberText(QString::fromUtf8(label)));
        return unit == NumberUnit::Percent ? *value / 100 : *value;
    }

    // An extended or hidden field that may be left empty.
    double optionalNumber(const QString& text, const char* label,
                          NumberUnit unit = NumberUnit::Plain) {
        return text.trimmed().isEmpty() ? 0 : number(text, label, unit);
    }

    int whole(const QString& text, const char* label) {
        const double value = number(text, label);
        if (!ok_) return 0;
        if (value != std::floor(value) || std::fabs(value) > std::numeric_limits<int>::max())
            return int(fail(QStringLiteral("“%1”不是整数，请检查").arg(QString::fromUtf8(label))));
        return int(value);
    }

    std::vector<double> list(const QString& text, const char* label, std::size_t dates,
                             NumberUnit unit = NumberUnit::Plain) {
        std::vector<double> values;
        for (const QString& part : text.split(QLatin1Char('_'), Qt::KeepEmptyParts))
            values.push_back(number(part, label, unit));
        if (values.size() == 1) values.resize(std::max<std::size_t>(dates, 1), values.front());
        return values;
    }

  private:
    double fail(const QString& message) {
        ok_ = false;
        error_ = message;
        return 0;
    }

    QString& error_;
    bool ok_ = true;
};

}  // namespace

bool readFormValues(const ProductFormTexts& t, std::size_t dates, ProductFormValues& v,
                    QString& error) {
    const NumberUnit percent = NumberUnit::Percent;
    FieldReader read(error);
    v.spot = read.number(t.spot, "期初价格");
    v.volatility = read.number(t.volatility, "波动率(%)", percent);
    v.dividendRate = read.number(t.dividendRate, "分红率(%)", percent);
    v.rate = read.number(t.rate, "无风险利率(%)", percent);
    v.maturityDays = read.number(t.maturityDays, "到期天数(交易日)");
    v.knockOutCoupons = read.list(t.knockOutCoupons, "敲出票息(%)", dates, percent);
    v.dividendCoupon = read.number(t.dividendCoupon, "红利票息(%)", percent);
    v.knockOutPrices = read.list(t.knockOutPrices, "敲出价格", dates);
    v.knockInPrices = read.list(t.knockInPrices, "敲入价格", dates);
    v.floor = read.optionalNumber(t.floor, "保底价格");
    v.callStrike = read.optionalNumber(t.callStrike, "看涨行权价");
    v.callParticipation = read.optionalNumber(t.callParticipation, "看涨参与率");
    v.ceiling = read.number(t.ceiling, "价格上限");
    v.priceSteps = read.whole(t.priceSteps, "M");
    v.timeSteps = read.whole(t.timeSteps, "N");
    v.daysPerYear = read.whole(t.daysPerYear, "PDE年天数");
    v.adjustShare = read.optionalNumber(t.adjustShare, "票息调整比例", percent);
    v.adjustRate = read.optionalNumber(t.adjustRate, "票息调整利率", percent);
    return read.ok();
}

QString notANumberText(const QString& label) {
    return QStringLiteral("“%1”不是数字，请检查").arg(label);
}

int maturityDaysOf(int start, int lastObservation) {
    return trade_calendar().count_trading_days(start, lastObservation, true);
}

QString maturityMismatchText() {
    return QStringLiteral("到期天数与观察日不符，请先点击观察日设置中的【保存】");
}
