// Product files: what the reader refuses and names, and what it keeps for the next save.
#include <string>

#include <gtest/gtest.h>

#include "product_file.h"
#include "product_terms.h"
#include "temp_dir.h"

namespace {

using Json = nlohmann::ordered_json;

Json sampleDocument() {
    return Json::parse(R"({
        "format": "brimvale-product", "version": 1, "name": "sample", "category": "step_down",
        "type": "option",
        "structure": {"volatility_pct": 21.5, "knock_out_price": [103, 102, 101],
                      "knock_in_price": 75},
        "schedule": {"start": "20250107", "maturity": "20250707",
                     "dates": ["20250407", "20250507", "20250707"]},
        "pde": {"M": 150}})");
}

ProductFileError refusal(const Json& document) {
    ProductFile file;
    ProductFileError error;
    EXPECT_FALSE(readProductDocument(document, file, error)) << document.dump();
    return error;
}

TEST(ProductFile, AbsentKeysTakeTheWindowDefaultsAndTheStepDownCategorySplitsTheTable) {
    ProductFile f;
    ProductFileError error;
    ASSERT_TRUE(readProductDocument(sampleDocument(), f, error)) << error.english();
    EXPECT_EQ(f.category, 4);
    EXPECT_EQ(f.type, 1);
    EXPECT_EQ(f.volatilityPct, 21.5);
    EXPECT_EQ(f.riskFreeRatePct, 1.5);
    EXPECT_EQ(f.knockOutPrice, (std::vector<double>{103, 102, 101}));
    EXPECT_EQ(f.schedule.knockOutPrices, f.knockOutPrice) << "the table shows the form's lists";
    EXPECT_FALSE(f.schedule.merged);
    EXPECT_EQ(f.pde.M, 150);
    EXPECT_EQ(f.pde.N, -1) << "N follows the trading days unless given";
    EXPECT_TRUE(f.unknownKeys.empty());
}

TEST(ProductFile, WrittenAndReadAgainGivesTheSameProduct) {
    ProductFile f, again;
    ProductFileError error;
    ASSERT_TRUE(readProductDocument(sampleDocument(), f, error));
    f.name = "沪深300 阶梯 \"2025\"";
    f.floorPrice = 0.1 + 0.2;  // a double that needs all its digits
    ASSERT_TRUE(readProductText(productText(f), again, error)) << error.english();
    EXPECT_EQ(productText(again), productText(f));
    EXPECT_EQ(again.floorPrice, 0.1 + 0.2);
    EXPECT_EQ(again.name, f.name);
}

TEST(ProductFile, NotJsonAnotherFormatAndAMissingScheduleAreRefused) {
    ProductFile f;
    ProductFileError error;
    EXPECT_FALSE(readProductText("{\"format\": ", f, error));
    EXPECT_EQ(error.problem, ProductFileError::NotJson);
    EXPECT_EQ(refusal(Json::parse(R"({"S0": 100, "sigma": 0.2})")).problem,
              ProductFileError::NotProductFile);
    EXPECT_EQ(refusal(Json::parse(R"({"format": "other-product", "version": 1})")).key, "format");
    EXPECT_EQ(refusal(Json::array({1, 2})).problem, ProductFileError::NotProductFile);
    Json noSchedule = sampleDocument();
    noSchedule.erase("schedule");
    const ProductFileError missing = refusal(noSchedule);
    EXPECT_EQ(missing.problem, ProductFileError::Missing);
    EXPECT_EQ(missing.english(), "key 'schedule' is missing");
    EXPECT_EQ(missing.chinese(), "缺少键 \"schedule\"");
}

TEST(ProductFile, ABadValueIsRefusedNamingItsKey) {
    const std::pair<const char*, Json> cases[] = {
        {"/version", 0},
        {"/category", "snowflake"},
        {"/structure/volatility_pct", "18"},
        {"/structure/knock_out_price", Json::array()},
        {"/structure/knock_out_price", Json::array({103, 102})},  // 2 values for 3 dates
        {"/schedule/start", "20250230"},
        {"/schedule/dates", Json::array({"20250407", 20250507})},
        {"/schedule/dates", Json(std::vector<std::string>(kMaxObservationDates + 1, "20250407"))},
        {"/schedule/knock_in_prices", Json::array({80, 80})},
        {"/schedule/merged", "yes"},
        {"/pde/M", 200.5},
        {"/pde/scheme", "explicit"},
        {"/pde/decimals", -1},
    };
    for (const auto& [pointer, value] : cases) {
        Json document = sampleDocument();
        document[Json::json_pointer(pointer)] = value;
        const ProductFileError error = refusal(document);
        std::string key = std::string(pointer).substr(1);
        std::replace(key.begin(), key.end(), '/', '.');
        EXPECT_EQ(error.problem, ProductFileError::BadValue) << pointer;
        EXPECT_EQ(error.key, key);
        EXPECT_NE(error.english().find("'" + key + "'"), std::string::npos) << error.english();
        EXPECT_NE(error.chinese().find("\"" + key + "\""), std::string::npos) << error.chinese();
    }
}

TEST(ProductFile, AFutureVersionIsReadAndItsUnknownKeysAreWrittenBack) {
    Json document = sampleDocument();
    document["version"] = 3;
    document["underlier"] = {{"code", "000905"}, {"exchange", "SH"}};
    document["structure"]["memory_coupon"] = true;
    document["pde"]["threads"] = 4;
    ProductFile f;
    ProductFileError error;
    ASSERT_TRUE(readProductDocument(document, f, error)) << error.english();
    f.volatilityPct = 25;

    const Json saved = productDocument(f);
    EXPECT_EQ(saved["version"], 3);
    EXPECT_EQ(saved["underlier"], document["underlier"]);
    EXPECT_EQ(saved["structure"]["memory_coupon"], true);
    EXPECT_EQ(saved["structure"]["volatility_pct"], 25.0);
    EXPECT_EQ(saved["pde"]["threads"], 4);
}

TEST(ProductFile, AFormTextThatIsNoFiniteNumberIsNotSaved) {
    ProductForm form = productFormOf(ProductFile());
    form.start = QDate(2025, 1, 7);
    form.end = QDate(2025, 7, 7);
    form.dates = QStringLiteral("20250407_20250707");
    ProductFile saved;
    QString error;
    ASSERT_TRUE(productFileOf(form, ProductFile(), saved, error)) << error.toStdString();
    form.terms.volatility = QStringLiteral("nan");
    EXPECT_FALSE(productFileOf(form, ProductFile(), saved, error));
    EXPECT_TRUE(error.contains(QStringLiteral("波动率(%)"))) << error.toStdString();
    form.terms.volatility = QStringLiteral("18");
    form.terms.knockOutPrices = QStringLiteral("103_102_101");  // three barriers for two dates
    EXPECT_FALSE(productFileOf(form, ProductFile(), saved, error));
    EXPECT_TRUE(error.contains(QStringLiteral("structure.knock_out_price"))) << error.toStdString();
}

TEST(ProductFile, EachFormFieldIsSavedUnderItsOwnKeyAndShownAgain) {
    using T = ProductFormTexts;
    const std::pair<QString T::*, const char*> texts[] = {
        {&T::spot, "101"},
        {&T::volatility, "21"},
        {&T::dividendRate, "2"},
        {&T::rate, "3"},
        {&T::knockOutCoupons, "17_18"},
        {&T::dividendCoupon, "5"},
        {&T::knockOutPrices, "104_103"},
        {&T::knockInPrices, "79"},
        {&T::floor, "60"},
        {&T::callStrike, "110"},
        {&T::callParticipation, "0.5"},
    };
    ProductForm form = productFormOf(ProductFile());
    form.start = QDate(2025, 1, 7);
    form.end = QDate(2025, 7, 7);
    form.dates = QStringLiteral("20250407_20250707");
    for (const auto& [field, text] : texts)
        form.terms.*field = text;
    ProductFile saved;
    QString error;
    ASSERT_TRUE(productFileOf(form, ProductFile(), saved, error)) << error.toStdString();
    EXPECT_EQ(productDocument(saved)["structure"], Json::parse(R"({
        "initial_price": 101, "volatility_pct": 21, "dividend_yield_pct": 2,
        "risk_free_rate_pct": 3, "knock_out_coupon_pct": [17, 18], "dividend_coupon_pct": 5,
        "knock_out_price": [104, 103], "knock_in_price": 79, "floor_price": 60,
        "call_strike": 110, "call_participation": 0.5})"));
    const ProductFormTexts shown = productFormOf(saved).terms;
    for (const auto& [field, text] : texts)
        EXPECT_EQ(shown.*field, QString(text)) << text;
}

TEST(ProductFile, AFileTooLargeOrMissingIsRefusedBeforeParsing) {
    TempDir dir;
    ProductFile f;
    ProductFileError error;
    EXPECT_FALSE(readProductPath(dir.file("none.json"), f, error));
    EXPECT_EQ(error.problem, ProductFileError::Unreadable);
    const std::string big = dir.write("big.json", std::string(kMaxProductFileBytes + 1, ' '));
    EXPECT_FALSE(readProductPath(big, f, error));
    EXPECT_EQ(error.problem, ProductFileError::TooLarge);
}

}  // namespace
