// Reading one group of a product file's JSON: each known key is checked and taken out, so that
// what is left are the keys this version does not know. The product file reader's helper.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "product_file.h"

namespace product_file_detail {

using Json = nlohmann::ordered_json;

// What a bad value should have been, in both languages.
struct Expected {
    std::string english;
    std::string chinese;
};

// The first failure is recorded in `error` and every later read does nothing. Each reader leaves
// `out` as it is when the key is absent (and not required).
class ProductGroupReader {
  public:
    ProductGroupReader(Json& rest, std::string prefix, ProductFileError& error);

    bool failed() const;
    bool has(const char* key) const;

    void number(const char* key, double& out);  // finite
    void integer(const char* key, int& out, int lo = INT32_MIN, bool required = false);
    void text(const char* key, std::string& out);
    void boolean(const char* key, bool& out);
    // A non-empty list of finite numbers; one number stands for a list of one.
    void values(const char* key, std::vector<double>& out);
    void date(const char* key, int32_t& out, bool required);  // "yyyyMMdd" of a calendar date
    // A required list of 1 to kMaxObservationDates dates.
    void dates(const char* key, std::vector<int32_t>& out);
    // One of the words, stored as its position or as the word.
    void word(const char* key, const std::vector<std::string>& words, int& out);
    void word(const char* key, const std::vector<std::string>& words, std::string& out);
    // A group object read by readGroup on its own reader; its unknown keys stay in place.
    void group(const char* key, bool required,
               const std::function<void(ProductGroupReader&)>& readGroup);
    // A value refused by a check that needs other keys.
    void refuse(const char* key, const std::string& english, const std::string& chinese);

  private:
    void read(const char* key, const Expected& expected,
              const std::function<bool(const Json&)>& parse, bool required = false);
    void fail(ProductFileError::Problem problem, const char* key, const Expected& expected);
    std::string path(const char* key) const;

    Json& rest_;
    std::string prefix_;
    ProductFileError& error_;
};

}  // namespace product_file_detail
