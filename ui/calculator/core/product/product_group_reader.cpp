#include "product_group_reader.h"

#include <cmath>
#include <limits>

namespace product_file_detail {

namespace {

const Expected kNumber{"a finite number", "有限的数字"};
const Expected kInteger{"an integer", "整数"};
const Expected kText{"a text", "文本"};
const Expected kBool{"true or false", "true 或 false"};
const Expected kObject{"an object", "对象"};
const Expected kValues{"a number or a non-empty list of numbers", "数字或非空的数字列表"};
const Expected kDate{"a date \"yyyyMMdd\"", "日期 \"yyyyMMdd\""};
const Expected kDates{
    "a list of 1 to " + std::to_string(kMaxObservationDates) + " dates \"yyyyMMdd\"",
    "含 1 至 " + std::to_string(kMaxObservationDates) + " 个日期的列表 \"yyyyMMdd\""};

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

bool parseDate(const Json& v, int32_t& out) {
    if (!v.is_string()) return false;
    const std::string s = v.get<std::string>();
    if (s.size() != 8 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    const int32_t d = std::stoi(s);
    if (!isDate(d)) return false;
    out = d;
    return true;
}

bool finite(const Json& v) {
    return v.is_number() && std::isfinite(v.get<double>());
}

}  // namespace

ProductGroupReader::ProductGroupReader(Json& rest, std::string prefix, ProductFileError& error)
    : rest_(rest), prefix_(std::move(prefix)), error_(error) {}

bool ProductGroupReader::failed() const {
    return error_.problem != ProductFileError::None;
}

bool ProductGroupReader::has(const char* key) const {
    return rest_.contains(key);
}

void ProductGroupReader::number(const char* key, double& out) {
    read(key, kNumber, [&](const Json& v) {
        if (!finite(v)) return false;
        out = v.get<double>();
        return true;
    });
}

void ProductGroupReader::integer(const char* key, int& out, int lo, bool required) {
    auto parse = [&](const Json& v) {
        if (!v.is_number_integer()) return false;
        const auto x = v.get<long long>();
        if (x < lo || x > std::numeric_limits<int>::max()) return false;
        out = static_cast<int>(x);
        return true;
    };
    read(key, kInteger, parse, required);
}

void ProductGroupReader::text(const char* key, std::string& out) {
    read(key, kText, [&](const Json& v) {
        if (!v.is_string()) return false;
        out = v.get<std::string>();
        return true;
    });
}

void ProductGroupReader::boolean(const char* key, bool& out) {
    read(key, kBool, [&](const Json& v) {
        if (!v.is_boolean()) return false;
        out = v.get<bool>();
        return true;
    });
}

void ProductGroupReader::values(const char* key, std::vector<double>& out) {
    read(key, kValues, [&](const Json& v) {
        const Json list = v.is_array() ? v : Json::array({v});
        std::vector<double> values;
        for (const Json& x : list) {
            if (!finite(x)) return false;
            values.push_back(x.get<double>());
        }
        if (values.empty()) return false;
        out = std::move(values);
        return true;
    });
}

void ProductGroupReader::date(const char* key, int32_t& out, bool required) {
    read(
        key, kDate, [&](const Json& v) { return parseDate(v, out); }, required);
}

void ProductGroupReader::dates(const char* key, std::vector<int32_t>& out) {
    auto parse = [&](const Json& v) {
        if (!v.is_array() || v.empty() || v.size() > kMaxObservationDates) return false;
        std::vector<int32_t> dates;
        for (const Json& x : v) {
            int32_t d = 0;
            if (!parseDate(x, d)) return false;
            dates.push_back(d);
        }
        out = std::move(dates);
        return true;
    };
    read(key, kDates, parse, true);
}

void ProductGroupReader::word(const char* key, const std::vector<std::string>& words, int& out) {
    const Expected expected{"one of " + joinWords(words), joinWords(words) + " 之一"};
    read(key, expected, [&](const Json& v) {
        for (std::size_t i = 0; v.is_string() && i < words.size(); ++i) {
            if (v.get<std::string>() == words[i]) {
                out = static_cast<int>(i);
                return true;
            }
        }
        return false;
    });
}

void ProductGroupReader::word(const char* key, const std::vector<std::string>& words,
                              std::string& out) {
    int index = -1;
    word(key, words, index);
    if (index >= 0) out = words[static_cast<std::size_t>(index)];
}

void ProductGroupReader::group(const char* key, bool required,
                               const std::function<void(ProductGroupReader&)>& readGroup) {
    if (failed()) return;
    // An absent group is read as an empty one, so that its defaults and required keys apply.
    Json inner = Json::object();
    if (rest_.contains(key)) {
        if (!rest_[key].is_object()) return fail(ProductFileError::BadValue, key, kObject);
        inner = rest_[key];
    } else if (required) {
        return fail(ProductFileError::Missing, key, kObject);
    }
    ProductGroupReader reader(inner, path(key) + ".", error_);
    readGroup(reader);
    if (inner.empty())
        rest_.erase(key);
    else
        rest_[key] = inner;
}

void ProductGroupReader::refuse(const char* key, const std::string& english,
                                const std::string& chinese) {
    if (!failed()) fail(ProductFileError::BadValue, key, {english, chinese});
}

void ProductGroupReader::read(const char* key, const Expected& expected,
                              const std::function<bool(const Json&)>& parse, bool required) {
    if (failed()) return;
    if (!rest_.contains(key)) {
        if (required) fail(ProductFileError::Missing, key, expected);
        return;
    }
    if (!parse(rest_[key])) return fail(ProductFileError::BadValue, key, expected);
    rest_.erase(key);
}

void ProductGroupReader::fail(ProductFileError::Problem problem, const char* key,
                              const Expected& expected) {
    error_.problem = problem;
    error_.key = path(key);
    error_.expected = expected.english;
    error_.expectedChinese = expected.chinese;
}

std::string ProductGroupReader::path(const char* key) const {
    return prefix_ + key;
}

}  // namespace product_file_detail
