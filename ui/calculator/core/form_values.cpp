#include "form_values.h"

#include "form_reader.h"

bool readFormValues(const ProductFormTexts& t, std::size_t dates, ProductFormValues& v,
                    QString& error) {
    using namespace FormFields;
    FormReader read(t, [](const QString& label, const QString&) { return notANumberText(label); });
    v.spot = read.value(kSpot);
    v.volatility = read.value(kVolatility);
    v.dividendRate = read.value(kDividendRate);
    v.rate = read.value(kRate);
    v.maturityDays = read.value(kMaturityDays);
    v.knockOutCoupons = read.values(kKnockOutCoupons, dates);
    v.dividendCoupon = read.value(kDividendCoupon);
    v.knockOutPrices = read.values(kKnockOutPrices, dates);
    v.knockInPrices = read.values(kKnockInPrices, dates);
    v.floor = read.optionalValue(kFloor);
    v.callStrike = read.optionalValue(kCallStrike);
    v.callParticipation = read.optionalValue(kCallParticipation);
    v.ceiling = read.value(kCeiling);
    v.priceSteps = read.whole(kPriceSteps);
    v.timeSteps = read.whole(kTimeSteps);
    v.daysPerYear = read.whole(kDaysPerYear);
    v.adjustShare = read.optionalValue(kAdjustShare);
    v.adjustRate = read.optionalValue(kAdjustRate);
    if (!read.ok()) error = read.error();
    return read.ok();
}

QString notANumberText(const QString& label) {
    return QStringLiteral("“%1”不是数字，请检查").arg(label);
}

QString maturityMismatchText() {
    return QStringLiteral("到期天数与观察日不符，请先点击观察日设置中的【保存】");
}
