#include "book_csv.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>

#include "live_market_options.h"

namespace {

const char* const kColumns[] = {"file", "date", "spot", "knocked_in", "vol", "rate"};
constexpr int kRequiredColumns = 4;

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool read_flag(const std::string& text, bool& out) {
    const std::string t = lower(text);
    if (t == "1" || t == "true" || t == "yes" || t == "y") return out = true, true;
    if (t.empty() || t == "0" || t == "false" || t == "no" || t == "n") return out = false, true;
    return false;
}

// Column positions by name; false when a required one is missing or a name is unknown.
bool read_header(const std::string& line, std::map<std::string, std::size_t>& columns,
                 std::string& error) {
    const std::vector<std::string> names = split_csv_line(line);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name = lower(trimmed(names[i]));
        if (std::find(std::begin(kColumns), std::end(kColumns), name) == std::end(kColumns)) {
            error = "unknown column '" + name + "' in the header (expected " +
                    "file,date,spot,knocked_in[,vol,rate])";
            return false;
        }
        columns[name] = i;
    }
    for (int k = 0; k < kRequiredColumns; ++k) {
        if (!columns.count(kColumns[k])) {
            error = "the header has no column '" + std::string(kColumns[k]) +
                    "' (expected file,date,spot,knocked_in[,vol,rate])";
            return false;
        }
    }
    return true;
}

BookRow read_row(const std::string& line, const std::map<std::string, std::size_t>& columns,
                 const std::filesystem::path& folder) {
    const std::vector<std::string> fields = split_csv_line(line);
    auto field = [&](const char* name) {
        const auto it = columns.find(name);
        return it == columns.end() || it->second >= fields.size() ? std::string()
                                                                  : trimmed(fields[it->second]);
    };
    BookRow row;
    row.file = row.path = field("file");
    if (row.path.empty()) {
        row.problem = "no product file";
        return row;
    }
    const std::filesystem::path file(row.path);
    if (file.is_relative()) row.path = (folder / file).string();
    std::string error;
    if (!parse_live_market(field("date"), field("spot"), field("vol"), field("rate"), row.market,
                           error))
        row.problem = error;
    else if (!read_flag(field("knocked_in"), row.market.knocked_in))
        row.problem =
            "knocked_in needs 1 or 0 (true/false, yes/no), got '" + field("knocked_in") + "'";
    return row;
}

}  // namespace

std::vector<std::string> split_csv_line(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

bool read_book(const std::string& path, std::vector<BookRow>& rows, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the book '" + path + "'";
        return false;
    }
    std::string line;
    if (!std::getline(in, line)) {
        error = "the book '" + path + "' is empty: it needs the header file,date,spot,knocked_in";
        return false;
    }
    if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);  // a spreadsheet's BOM
    std::map<std::string, std::size_t> columns;
    if (!read_header(line, columns, error)) return false;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    while (std::getline(in, line)) {
        if (trimmed(line).empty()) continue;
        rows.push_back(read_row(line, columns, folder));
    }
    if (in.bad()) {
        error = "cannot read the book '" + path + "'";
        return false;
    }
    return true;
}
