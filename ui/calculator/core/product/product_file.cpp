#include "product_file.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "product_group_reader.h"

using product_file_detail::Json;
using GroupReader = product_file_detail::ProductGroupReader;

namespace {

const std::vector<std::string> kFrequencies = {"1W", "2W", "1M"};
const std::vector<std::string> kSchemes = {"implicit", "accurate"};

// A list of one value stands for every date; any other length must match the dates.
void checkLength(GroupReader& reader, const char* key, const std::vector<double>& values,
                 std::size_t dates) {
    if (values.size() == 1 || values.size() == dates) return;
    const std::string n = std::to_string(values.size()), d = std::to_string(dates);
    reader.refuse(key, "1 value or " + d + " values (one per observation date), not " + n,
                  "1 个值或 " + d + " 个值（每个观察日一个），而不是 " + n + " 个");
}

void readStructure(GroupReader& g, ProductFile& f) {
    g.number("initial_price", f.initialPrice);
    g.number("volatility_pct", f.volatilityPct);
    g.number("dividend_yield_pct", f.dividendYieldPct);
    g.number("risk_free_rate_pct", f.riskFreeRatePct);
    g.values("knock_out_coupon_pct", f.knockOutCouponPct);
    f.dividendCouponPct = f.knockOutCouponPct.front();
    g.number("dividend_coupon_pct", f.dividendCouponPct);
    g.values("knock_out_price", f.knockOutPrice);
    g.values("knock_in_price", f.knockInPrice);
    g.number("floor_price", f.floorPrice);
    g.number("call_strike", f.callStrike);
    g.number("call_participation", f.callParticipation);
}

void readSchedule(GroupReader& g, ProductFile& f) {
    ProductSchedule& s = f.schedule;
    g.date("start", s.start, true);
    g.date("maturity", s.maturity, true);
    g.word("frequency", kFrequencies, s.frequency);
    g.integer("lockup", s.lockup);
    // The step-down categories carry one value per date unless the file says otherwise.
    s.merged = f.category != 4 && f.category != 5;
    g.boolean("merged", s.merged);
    g.dates("dates", s.dates);
    // The table shows the form's values unless the file gives its own.
    s.knockOutPrices = f.knockOutPrice;
    s.knockOutCouponsPct = f.knockOutCouponPct;
    s.knockInPrices = f.knockInPrice;
    // Lists taken over from the structure group are checked under their own keys.
    const std::pair<const char*, std::vector<double>*> lists[] = {
        {"knock_out_prices", &s.knockOutPrices},
        {"knock_out_coupons_pct", &s.knockOutCouponsPct},
        {"knock_in_prices", &s.knockInPrices}};
    for (const auto& [key, list] : lists) {
        if (!g.has(key)) continue;
        g.values(key, *list);
        checkLength(g, key, *list, s.dates.size());
    }
}

void readPde(GroupReader& g, ProductPde& p) {
    g.number("price_ceiling", p.priceCeiling);
    g.integer("M", p.M);
    g.integer("N", p.N);
    g.integer("decimals", p.decimals, 0);
    g.word("scheme", kSchemes, p.scheme);
    g.boolean("extrapolate", p.extrapolate);
}

Json valuesJson(const std::vector<double>& values) {
    return values.size() == 1 ? Json(values.front()) : Json(values);
}

std::string dateText(int32_t d) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08d", static_cast<int>(d));
    return buffer;
}

// Unknown keys go back where they were: into their group, or at the top level.
void mergeUnknown(Json& out, const Json& unknown) {
    for (auto it = unknown.begin(); it != unknown.end(); ++it) {
        if (it.value().is_object() && out.contains(it.key()) && out[it.key()].is_object())
            mergeUnknown(out[it.key()], it.value());
        else
            out[it.key()] = it.value();
    }
}

}  // namespace

const std::vector<std::string>& productCategoryWords() {
    static const std::vector<std::string> kWords = {
        "custom", "classic", "floored", "participating", "step_down", "double_step_down"};
    return kWords;
}

const std::vector<std::string>& productTypeWords() {
    static const std::vector<std::string> kWords = {"note", "option"};
    return kWords;
}

std::string ProductFileError::english() const {
    switch (problem) {
        case None:
            return "";
        case Unreadable:
            return "cannot read '" + key + "'";
        case TooLarge:
            return "'" + key + "' is larger than a product file can be";
        case NotJson:
            return "not JSON: " + detail;
        case NotProductFile:
            return "not a product file (\"format\" must be \"" + std::string(ProductFile::kFormat) +
                   "\")";
        case Missing:
            return "key '" + key + "' is missing";
        case BadValue:
            return "key '" + key + "' must be " + expected;
    }
    return "";
}

std::string ProductFileError::chinese() const {
    switch (problem) {
        case None:
            return "";
        case Unreadable:
            return "无法读取文件 " + key;
        case TooLarge:
            return "文件 " + key + " 过大，不是产品文件";
        case NotJson:
            return "文件不是有效的 JSON：" + detail;
        case NotProductFile:
            return "不是产品文件（\"format\" 应为 \"" + std::string(ProductFile::kFormat) + "\"）";
        case Missing:
            return "缺少键 \"" + key + "\"";
        case BadValue:
            return "键 \"" + key + "\" 的值无效，应为" + expectedChinese;
    }
    return "";
}

bool isProductDocument(const Json& document) {
    return document.is_object() && document.contains("format");
}

bool readProductDocument(const Json& document, ProductFile& file, ProductFileError& error) {
    error = ProductFileError();
    if (!isProductDocument(document) || document["format"] != ProductFile::kFormat) {
        error.problem = ProductFileError::NotProductFile;
        error.key = "format";
        return false;
    }
    ProductFile f;
    Json rest = document;
    rest.erase("format");
    GroupReader top(rest, "", error);
    top.integer("version", f.version, 1, true);
    top.text("name", f.name);
    top.word("category", productCategoryWords(), f.category);
    top.word("type", productTypeWords(), f.type);
    top.group("structure", false, [&](GroupReader& g) { readStructure(g, f); });
    top.group("schedule", true, [&](GroupReader& g) { readSchedule(g, f); });
    top.group("pde", false, [&](GroupReader& g) { readPde(g, f.pde); });
    if (!top.failed()) {
        // The form's lists price the product, so they have to fit the dates as well.
        const std::size_t n = f.schedule.dates.size();
        GroupReader structure(rest, "structure.", error);
        checkLength(structure, "knock_out_price", f.knockOutPrice, n);
        checkLength(structure, "knock_out_coupon_pct", f.knockOutCouponPct, n);
        checkLength(structure, "knock_in_price", f.knockInPrice, n);
    }
    if (top.failed()) return false;
    f.unknownKeys = rest;
    file = std::move(f);
    return true;
}

bool readProductText(const std::string& text, ProductFile& file, ProductFileError& error) {
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::exception& e) {
        error = ProductFileError();
        error.problem = ProductFileError::NotJson;
        error.detail = e.what();
        for (char& c : error.detail)
            if (c == '\n' || c == '\r') c = ' ';
        return false;
    }
    return readProductDocument(document, file, error);
}

bool readProductPath(const std::string& path, ProductFile& file, ProductFileError& error) {
    error = ProductFileError();
    error.key = path;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error.problem = ProductFileError::Unreadable;
        return false;
    }
    std::string text;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxProductFileBytes) {
            error.problem = ProductFileError::TooLarge;
            return false;
        }
    }
    if (in.bad()) {
        error.problem = ProductFileError::Unreadable;
        return false;
    }
    return readProductText(text, file, error);
}

Json productDocument(const ProductFile& f) {
    Json out = Json::object();
    out["format"] = ProductFile::kFormat;
    out["version"] = std::max(f.version, ProductFile::kVersion);
    out["name"] = f.name;
    out["category"] = productCategoryWords().at(static_cast<std::size_t>(f.category));
    out["type"] = productTypeWords().at(static_cast<std::size_t>(f.type));
    out["structure"] = {
        {"initial_price", f.initialPrice},
        {"volatility_pct", f.volatilityPct},
        {"dividend_yield_pct", f.dividendYieldPct},
        {"risk_free_rate_pct", f.riskFreeRatePct},
        {"knock_out_coupon_pct", valuesJson(f.knockOutCouponPct)},
        {"dividend_coupon_pct", f.dividendCouponPct},
        {"knock_out_price", valuesJson(f.knockOutPrice)},
        {"knock_in_price", valuesJson(f.knockInPrice)},
        {"floor_price", f.floorPrice},
        {"call_strike", f.callStrike},
        {"call_participation", f.callParticipation},
    };
    const ProductSchedule& s = f.schedule;
    Json dates = Json::array();
    for (int32_t d : s.dates)
        dates.push_back(dateText(d));
    out["schedule"] = {
        {"start", dateText(s.start)},
        {"maturity", dateText(s.maturity)},
        {"frequency", s.frequency},
        {"lockup", s.lockup},
        {"merged", s.merged},
        {"dates", dates},
        {"knock_out_prices", valuesJson(s.knockOutPrices)},
        {"knock_out_coupons_pct", valuesJson(s.knockOutCouponsPct)},
        {"knock_in_prices", valuesJson(s.knockInPrices)},
    };
    out["pde"] = {
        {"price_ceiling", f.pde.priceCeiling},
        {"M", f.pde.M},
        {"N", f.pde.N},
        {"decimals", f.pde.decimals},
        {"scheme", f.pde.scheme},
        {"extrapolate", f.pde.extrapolate},
    };
    mergeUnknown(out, f.unknownKeys);
    return out;
}

std::string productText(const ProductFile& file) {
    return productDocument(file).dump(2) + "\n";
}
