#include "product_file.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

using Json = nlohmann::ordered_json;

namespace {

const std::vector<std::string> kFrequencies = {"1W", "2W", "1M"};
const std::vector<std::string> kSchemes = {"implicit", "accurate"};

// What a bad value should have been, in both languages.
struct Expected {
    const char* english;
    const char* chinese;
};
const Expected kNumber{"a finite number", "有限的数字"};
const Expected kInteger{"an integer", "整数"};
const Expected kText{"a text", "文本"};
const Expected kBool{"true or false", "true 或 false"};
const Expected kObject{"an object", "对象"};
const Expected kValues{"a number or a non-empty list of numbers", "数字或非空的数字列表"};
const Expected kDate{"a date \"yyyyMMdd\"", "日期 \"yyyyMMdd\""};
const Expected kDates{"a list of 1 to 10000 dates \"yyyyMMdd\"",
                      "含 1 至 10000 个日期的列表 \"yyyyMMdd\""};

std::string joinWords(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : ", ") + ('"' + w + '"');
    return out;
}

bool isDate(int32_t d) {
    const int y = d / 10000, m = d / 100 % 100, day = d % 100;
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || m < 1 || m > 12 || day < 1 || day > kDays[m - 1]) return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return !(m == 2 && day == 29 && !leap);
}

// Reads the known keys of one group, erasing each from `rest`; what remains in `rest` afterwards
// are the keys this version does not know.
class GroupReader {
  public:
    GroupReader(Json& rest, std::string prefix, ProductFileError& error)
        : rest_(rest), prefix_(std::move(prefix)), error_(error) {}

    bool failed() const { return error_.problem != ProductFileError::None; }
    bool has(const char* key) const { return rest_.contains(key); }

    // Each reader leaves `out` as it is when the key is absent and not required.
    void number(const char* key, double& out) {
        read(key, kNumber, [&](const Json& v) {
            if (!v.is_number() || !std::isfinite(v.get<double>())) return false;
            out = v.get<double>();
            return true;
        });
    }
    void integer(const char* key, int& out, int lo = std::numeric_limits<int>::min(),
                 bool required = false) {
        read(
            key, kInteger,
            [&](const Json& v) {
                if (!v.is_number_integer()) return false;
                const auto x = v.get<long long>();
                if (x < lo || x > std::numeric_limits<int>::max()) return false;
                out = static_cast<int>(x);
                return true;
            },
            required);
    }
    void text(const char* key, std::string& out) {
        read(key, kText, [&](const Json& v) {
            if (!v.is_string()) return false;
            out = v.get<std::string>();
            return true;
        });
    }
    void boolean(const char* key, bool& out) {
        read(key, kBool, [&](const Json& v) {
            if (!v.is_boolean()) return false;
            out = v.get<bool>();
            return true;
        });
    }
    // A number stands for one value for every date.
    void values(const char* key, std::vector<double>& out) {
        read(key, kValues, [&](const Json& v) {
            const Json list = v.is_array() ? v : Json::array({v});
            std::vector<double> values;
            for (const Json& x : list) {
                if (!x.is_number() || !std::isfinite(x.get<double>())) return false;
                values.push_back(x.get<double>());
            }
            if (values.empty()) return false;
            out = std::move(values);
            return true;
        });
    }
    void date(const char* key, int32_t& out, bool required) {
        read(
            key, kDate, [&](const Json& v) { return parseDate(v, out); }, required);
    }
    void dates(const char* key, std::vector<int32_t>& out) {
        read(
            key, kDates,
            [&](const Json& v) {
                if (!v.is_array() || v.empty() || v.size() > kMaxObservationDates) return false;
                std::vector<int32_t> dates;
                for (const Json& x : v) {
                    int32_t d = 0;
                    if (!parseDate(x, d)) return false;
                    dates.push_back(d);
                }
                out = std::move(dates);
                return true;
            },
            true);
    }
    // One word of a list, stored as its position.
    void word(const char* key, const std::vector<std::string>& words, int& out) {
        const std::string english = "one of " + joinWords(words);
        const std::string chinese = joinWords(words) + " 之一";
        read(key, {english.c_str(), chinese.c_str()}, [&](const Json& v) {
            for (std::size_t i = 0; v.is_string() && i < words.size(); ++i) {
                if (v.get<std::string>() == words[i]) {
                    out = static_cast<int>(i);
                    return true;
                }
            }
            return false;
        });
    }
    void word(const char* key, const std::vector<std::string>& words, std::string& out) {
        int index = -1;
        word(key, words, index);
        if (index >= 0) out = words[static_cast<std::size_t>(index)];
    }
    // A group object: the reader of its keys works on its own copy, whose remains are kept.
    template <class ReadGroup>
    void group(const char* key, bool required, ReadGroup readGroup) {
        if (failed()) return;
        if (!rest_.contains(key)) {
            if (required) fail(ProductFileError::Missing, key, kObject);
            Json empty = Json::object();
            GroupReader inner(empty, path(key) + ".", error_);
            readGroup(inner);
            return;
        }
        if (!rest_[key].is_object()) return fail(ProductFileError::BadValue, key, kObject);
        Json inner_rest = rest_[key];
        GroupReader inner(inner_rest, path(key) + ".", error_);
        readGroup(inner);
        if (inner_rest.empty())
            rest_.erase(key);
        else
            rest_[key] = inner_rest;
    }
    // A value whose check needs other keys: refused under this group's key.
    void refuse(const char* key, const std::string& english, const std::string& chinese) {
        if (failed()) return;
        error_.problem = ProductFileError::BadValue;
        error_.key = path(key);
        error_.detail = english + "\n" + chinese;
    }

  private:
    template <class Parse>
    void read(const char* key, const Expected& expected, Parse parse, bool required = false) {
        if (failed()) return;
        if (!rest_.contains(key)) {
            if (required) fail(ProductFileError::Missing, key, expected);
            return;
        }
        if (!parse(rest_[key])) return fail(ProductFileError::BadValue, key, expected);
        rest_.erase(key);
    }
    static bool parseDate(const Json& v, int32_t& out) {
        if (!v.is_string()) return false;
        const std::string s = v.get<std::string>();
        if (s.size() != 8 || s.find_first_not_of("0123456789") != std::string::npos) return false;
        const int32_t d = std::stoi(s);
        if (!isDate(d)) return false;
        out = d;
        return true;
    }
    std::string path(const char* key) const { return prefix_ + key; }
    void fail(ProductFileError::Problem problem, const char* key, const Expected& expected) {
        error_.problem = problem;
        error_.key = path(key);
        error_.detail = std::string(expected.english) + "\n" + expected.chinese;
    }

    Json& rest_;
    std::string prefix_;
    ProductFileError& error_;
};

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

std::string joinPair(const std::string& detail, bool second) {
    const std::size_t cut = detail.find('\n');
    if (cut == std::string::npos) return detail;
    return second ? detail.substr(cut + 1) : detail.substr(0, cut);
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
            return "key '" + key + "' must be " + joinPair(detail, false);
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
            return "键 \"" + key + "\" 的值无效，应为" + joinPair(detail, true);
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
