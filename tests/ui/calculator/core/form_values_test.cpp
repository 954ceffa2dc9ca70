// Reading the whole product form strictly, and the look-up date rule.
#include <gtest/gtest.h>

#include "form_values.h"
#include "lookup_date.h"
#include "qt_text.h"

namespace {

using T = ProductFormTexts;

// A form that reads; the floor, the call fields and the hidden adjustments are left empty.
ProductFormTexts defaultTexts() {
    const std::pair<QString T::*, const char*> texts[] = {
        {&T::spot, "100"},           {&T::ceiling, "200"},       {&T::volatility, "20"},
        {&T::dividendRate, "0"},     {&T::rate, "1.5"},          {&T::maturityDays, "244"},
        {&T::knockOutCoupons, "16"}, {&T::dividendCoupon, "16"}, {&T::knockOutPrices, "103"},
        {&T::knockInPrices, "85"},   {&T::priceSteps, "200"},    {&T::timeSteps, "243"},
        {&T::daysPerYear, "252"},
    };
    ProductFormTexts t;
    for (const auto& [field, text] : texts)
        t.*field = text;
    return t;
}

// The form with one field's text replaced.
ProductFormTexts with(QString T::*field, const char* text) {
    ProductFormTexts t = defaultTexts();
    t.*field = u8(text);
    return t;
}

// The first refusal's message, or "" when the form reads.
std::string refusal(const ProductFormTexts& t, ProductFormValues* values = nullptr) {
    ProductFormValues read;
    QString error;
    const bool ok = readFormValues(t, 3, read, error);
    if (values) *values = read;
    return ok ? std::string() : error.toStdString();
}

}  // namespace

TEST(ProductFormTest, DefaultTermsReadWithPercentAsFractionsAndEmptyExtendedFieldsAsZero) {
    ProductFormValues v;
    ASSERT_EQ(refusal(defaultTexts(), &v), "");
    EXPECT_DOUBLE_EQ(v.volatility, 0.2);
    EXPECT_DOUBLE_EQ(v.rate, 0.015);
    EXPECT_EQ(v.knockOutCoupons, std::vector<double>(3, 0.16)) << "one value for every date";
    EXPECT_EQ(v.knockInPrices, std::vector<double>(3, 85));
    EXPECT_EQ(v.floor + v.callStrike + v.callParticipation + v.adjustShare + v.adjustRate, 0);
    EXPECT_EQ(v.priceSteps, 200);
}

TEST(ProductFormTest, APercentFieldTakesTheNumberItObviouslyMeansAndRefusesTheRest) {
    for (const char* text : {"18", "18%", "１８", " 18 ", "１８％", "18.0"}) {
        ProductFormValues v;
        ASSERT_EQ(refusal(with(&T::volatility, text), &v), "") << text;
        EXPECT_DOUBLE_EQ(v.volatility, 0.18) << text;
    }
    for (const char* text : {"十八", "abc", "", "nan", "18%%", "1 8"})
        EXPECT_EQ(refusal(with(&T::volatility, text)), "“波动率(%)”不是数字，请检查") << text;
}

TEST(ProductFormTest, APriceFieldAndItsPerDateListRefuseWhatIsNotANumber) {
    ProductFormValues v;
    ASSERT_EQ(refusal(with(&T::knockInPrices, "８０"), &v), "");
    EXPECT_EQ(v.knockInPrices, std::vector<double>(3, 80));
    for (const char* text : {"80%", "abc", "", "80_x_80", "80__80"})
        EXPECT_EQ(refusal(with(&T::knockInPrices, text)), "“敲入价格”不是数字，请检查") << text;
    EXPECT_EQ(refusal(with(&T::priceSteps, "200.5")), "“M”不是整数，请检查");
}

TEST(LookupDateTest, OnlyADayOfTheProductsLifeIsLookedUp) {
    const QDate start(2025, 1, 7), maturity(2026, 1, 7);
    for (const char* text : {"20250107", "20250601", " 20260107 "})
        EXPECT_TRUE(lookupDateProblem(text, start, maturity).isEmpty()) << text;
    for (const char* text : {"20250106", "20260108"})
        EXPECT_EQ(lookupDateProblem(text, start, maturity).toStdString(),
                  "“今日”应在起始日20250107与到期日20260107之间")
            << text;
    for (const char* text : {"abc", "", "20250230", "2025-06-01"})
        EXPECT_EQ(lookupDateProblem(text, start, maturity).toStdString(),
                  "“今日”不是有效日期，请按yyyyMMdd格式输入")
            << text;
}
