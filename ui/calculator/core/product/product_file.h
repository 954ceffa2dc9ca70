// A product file: everything that rebuilds the calculator's product, as the JSON document of
// docs/product-file.md. Plain C++: the window and the command-line tool read and write it alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// The schedule as the editor holds it: dates yyyyMMdd, and the value lists of its table (one
// value for every date, or one per date).
struct ProductSchedule {
    int32_t start = 0;
    int32_t maturity = 0;
    std::string frequency = "1M";  // "1W", "2W" or "1M"
    int lockup = 3;
    bool merged = true;  // one value for all dates; false: one value per date
    std::vector<int32_t> dates;
    std::vector<double> knockOutPrices{103};
    std::vector<double> knockOutCouponsPct{16};
    std::vector<double> knockInPrices{80};
};

// The PDE group. scheme and extrapolate are the window's "算法" and "外推".
struct ProductPde {
    double priceCeiling = 200;
    int M = 200;
    int N = -1;  // -1: the window's own choice, the trading days to maturity minus one
    int decimals = 4;
    std::string scheme = "implicit";  // "implicit" or "accurate"
    bool extrapolate = false;
};

struct ProductFile {
    static constexpr const char* kFormat = "brimvale-product";
    static constexpr int kVersion = 1;

    int version = kVersion;
    std::string name;
    int category = 0;  // position in the window's category list, 0 custom .. 5 double step-down
    int type = 0;      // 0 note, 1 option

    // The structure group as entered: prices in price units, the percent fields in percent. The
    // three lists hold one value for every date or one value per date, like the form's fields.
    double initialPrice = 100;
    double volatilityPct = 18;
    double dividendYieldPct = 0;
    double riskFreeRatePct = 1.5;
    std::vector<double> knockOutCouponPct{16};
    double dividendCouponPct = 16;
    std::vector<double> knockOutPrice{103};
    std::vector<double> knockInPrice{80};
    double floorPrice = 0;
    double callStrike = 0;
    double callParticipation = 0;

    ProductSchedule schedule;
    ProductPde pde;

    // Keys this version does not know, at the top level and inside the known groups, written back
    // as they were when the product is saved again.
    nlohmann::ordered_json unknownKeys = nlohmann::ordered_json::object();
};

// Why a document is not a product file. `key` names the offending key with its group
// ("structure.volatility_pct") or the file; `expected` says in both languages what the key should
// hold; `detail` is the parser's message for a text that is no JSON.
struct ProductFileError {
    enum Problem { None, Unreadable, TooLarge, NotJson, NotProductFile, Missing, BadValue };
    Problem problem = None;
    std::string key;
    std::string expected, expectedChinese;
    std::string detail;

    // One line in English for the command-line tool, one in Chinese for the window.
    std::string english() const;
    std::string chinese() const;
};

// The category and type words of the file, in the order of the window's lists.
const std::vector<std::string>& productCategoryWords();
const std::vector<std::string>& productTypeWords();

// A schedule longer than this (weekly for two centuries) is no product; the editor's table would
// take long to fill.
inline constexpr std::size_t kMaxObservationDates = 10000;

// Files are small; anything larger than this is refused before it is parsed.
inline constexpr std::size_t kMaxProductFileBytes = 4 << 20;

// True when the document says it is a product file (its "format" key), whatever its other keys.
bool isProductDocument(const nlohmann::ordered_json& document);

// A product from a parsed document; false with the reason, and `file` untouched, when the document
// is no product file or a value is bad.
bool readProductDocument(const nlohmann::ordered_json& document, ProductFile& file,
                         ProductFileError& error);
// The same from the text of a file.
bool readProductText(const std::string& text, ProductFile& file, ProductFileError& error);
// The same from a file on disk.
bool readProductPath(const std::string& path, ProductFile& file, ProductFileError& error);

nlohmann::ordered_json productDocument(const ProductFile& file);
// The document as text, two-space indented, ending with a line feed. Numbers are written with
// the shortest digits that read back to the same double.
std::string productText(const ProductFile& file);
