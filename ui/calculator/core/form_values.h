// The product form read as a whole before an action prices it: every number strictly, so that a
// text that is not a number refuses the action instead of pricing a 0, with the field named.
#pragma once

#include <vector>

#include <QString>

#include "form_number.h"

// The form's texts as typed, one per field that a pricing, solving or Greeks action reads (their
// labels are in FormFields below). The knock-out coupons and prices and the knock-in prices hold
// one value or one per date joined by "_"; the floor, the call fields and the hidden adjustment
// fields (percent) may be left empty and then read 0.
struct ProductFormTexts {
    QString spot;
    QString ceiling;
    QString volatility;
    QString dividendRate;
    QString rate;
    QString maturityDays;
    QString knockOutCoupons;
    QString dividendCoupon;
    QString knockOutPrices;
    QString knockInPrices;
    QString floor;
    QString callStrike;
    QString callParticipation;
    QString priceSteps;
    QString timeSteps;
    QString daysPerYear;
    QString adjustShare;
    QString adjustRate;
};

// One number field of the form: where ProductFormTexts keeps its text, the label the window shows
// beside it (every refusal names the field by it) and its unit.
struct FormField {
    QString ProductFormTexts::*text;
    const char* label;
    NumberUnit unit = NumberUnit::Plain;
};

// The form's number fields, each label defined once for the window, its checks and product files.
namespace FormFields {
inline const FormField kSpot{&ProductFormTexts::spot, "期初价格"};
inline const FormField kCeiling{&ProductFormTexts::ceiling, "价格上限"};
inline const FormField kVolatility{&ProductFormTexts::volatility, "波动率(%)", NumberUnit::Percent};
inline const FormField kDividendRate{&ProductFormTexts::dividendRate, "分红率(%)",
                                     NumberUnit::Percent};
inline const FormField kRate{&ProductFormTexts::rate, "无风险利率(%)", NumberUnit::Percent};
inline const FormField kMaturityDays{&ProductFormTexts::maturityDays, "到期天数(交易日)"};
inline const FormField kKnockOutCoupons{&ProductFormTexts::knockOutCoupons, "敲出票息(%)",
                                        NumberUnit::Percent};
inline const FormField kDividendCoupon{&ProductFormTexts::dividendCoupon, "红利票息(%)",
                                       NumberUnit::Percent};
inline const FormField kKnockOutPrices{&ProductFormTexts::knockOutPrices, "敲出价格"};
inline const FormField kKnockInPrices{&ProductFormTexts::knockInPrices, "敲入价格"};
inline const FormField kFloor{&ProductFormTexts::floor, "保底价格"};
inline const FormField kCallStrike{&ProductFormTexts::callStrike, "看涨行权价"};
inline const FormField kCallParticipation{&ProductFormTexts::callParticipation, "看涨参与率"};
inline const FormField kPriceSteps{&ProductFormTexts::priceSteps, "M"};
inline const FormField kTimeSteps{&ProductFormTexts::timeSteps, "N"};
inline const FormField kDaysPerYear{&ProductFormTexts::daysPerYear, "PDE年天数"};
inline const FormField kAdjustShare{&ProductFormTexts::adjustShare, "票息调整比例",
                                    NumberUnit::Percent};
inline const FormField kAdjustRate{&ProductFormTexts::adjustRate, "票息调整利率",
                                   NumberUnit::Percent};
}  // namespace FormFields

// The same fields as numbers; percent fields as fractions (the participation stays a factor).
struct ProductFormValues {
    double spot = 0;
    double ceiling = 0;
    double volatility = 0;
    double dividendRate = 0;
    double rate = 0;
    double maturityDays = 0;
    std::vector<double> knockOutCoupons;
    double dividendCoupon = 0;
    std::vector<double> knockOutPrices;
    std::vector<double> knockInPrices;
    double floor = 0;
    double callStrike = 0;
    double callParticipation = 0;
    int priceSteps = 0;
    int timeSteps = 0;
    int daysPerYear = 0;
    double adjustShare = 0;
    double adjustRate = 0;
};

// Reads every field; false at the first one that is not a number (or, for M, N and the days per
// year, not a whole number), with `error` naming it by its label. Per-date lists are read part by
// part; a single value is repeated for `dates` dates as the form always did.
bool readFormValues(const ProductFormTexts& texts, std::size_t dates, ProductFormValues& values,
                    QString& error);

// The message for a field whose text is not a number.
QString notANumberText(const QString& label);

// The box text when the form's maturity is not the one of the schedule that would be priced.
QString maturityMismatchText();
