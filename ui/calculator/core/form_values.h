// The product form read as a whole before an action prices it: every number strictly, so that a
// text that is not a number refuses the action instead of pricing a 0, with the field named.
#pragma once

#include <vector>

#include <QString>

// The form's texts as typed, one per field that a pricing, solving or Greeks action reads.
struct ProductFormTexts {
    QString spot;               // "期初价格"
    QString ceiling;            // "价格上限"
    QString volatility;         // "波动率(%)"
    QString dividendRate;       // "分红率(%)"
    QString rate;               // "无风险利率(%)"
    QString maturityDays;       // "到期天数(交易日)"
    QString knockOutCoupons;    // "敲出票息(%)", one value or one per date joined by "_"
    QString dividendCoupon;     // "红利票息(%)"
    QString knockOutPrices;     // "敲出价格", as the coupons
    QString knockInPrices;      // "敲入价格", as the coupons
    QString floor;              // "保底价格"; empty reads 0
    QString callStrike;         // "看涨行权价"; empty reads 0
    QString callParticipation;  // "看涨参与率"; empty reads 0
    QString priceSteps;         // "M"
    QString timeSteps;          // "N"
    QString daysPerYear;        // "PDE年天数"
    QString adjustShare;        // hidden adjustment fields, percent; empty reads 0
    QString adjustRate;
};

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

// Trading days from start to the last observation date, both counted: what "保存" writes into
// "到期天数(交易日)". Dates are yyyyMMdd.
int maturityDaysOf(int start, int lastObservation);

// The box text when the form's maturity is not the one of the schedule that would be priced.
QString maturityMismatchText();
