#include "typed_csv_table.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr int64_t kMaxHeaderRecord = INT32_MAX / 2;

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// Size of a column of the given type code; 0 for an unknown code.
int32_t type_size(char type) {
    switch (type) {
        case 'i':
        case 'f':
            return 4;
        case 'l':
        case 'd':
            return 8;
        case 'c':
            return 1;
        default:
            if (type >= '0' && type <= '9') return int32_t(1) << (type - '0');
            return 0;
    }
}

bool is_numeric(char type) {
    return type == 'i' || type == 'l' || type == 'f' || type == 'd';
}

// Reads one line without its "\n" or "\r\n". Stores at most kMaxLine + 1 characters, so a line
// of any length costs bounded memory; `too_long` tells that the line held more than kMaxLine.
// False at the end of the file when nothing was read.
bool read_line(std::FILE* file, std::string& line, bool& too_long) {
    line.clear();
    too_long = false;
    int c = std::getc(file);
    if (c == EOF) return false;
    for (; c != EOF && c != '\n'; c = std::getc(file)) {
        if (line.size() <= size_t(TypedCsvTable::kMaxLine))
            line.push_back(char(c));
        else
            too_long = true;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > size_t(TypedCsvTable::kMaxLine)) too_long = true;
    return true;
}

// atoi on a field, with values beyond the int32 range held at its limits instead of wrapping.
int32_t to_int32(const char* text) {
    const long long v = std::strtoll(text, nullptr, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return int32_t(v);
}

void store_field(unsigned char* at, const CsvColumn& column, std::string text, bool trim) {
    switch (column.type) {
        case 'i': {
            const int32_t v = to_int32(text.c_str());
            std::memcpy(at, &v, sizeof v);
            return;
        }
        case 'l': {
            const int64_t v = std::strtoll(text.c_str(), nullptr, 10);
            std::memcpy(at, &v, sizeof v);
            return;
        }
        case 'f': {
            // strtof rather than a narrowed atof: an out-of-range value becomes infinity instead of
            // an undefined conversion.
            const float v = std::strtof(text.c_str(), nullptr);
            std::memcpy(at, &v, sizeof v);
            return;
        }
        case 'd': {
            const double v = std::strtod(text.c_str(), nullptr);
            std::memcpy(at, &v, sizeof v);
            return;
        }
        case 'c':
            at[0] = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
            return;
        default: {
            // Text: at most size - 1 characters; the record is zero-filled, so it stays terminated.
            if (text.size() > size_t(column.size - 1)) text.resize(size_t(column.size - 1));
            if (trim)
                while (!text.empty() && is_blank(text.back()))
                    text.pop_back();
            std::memcpy(at, text.data(), text.size());
            return;
        }
    }
}

}  // namespace

bool TypedCsvTable::parse_header(const std::string& text) {
    columns.clear();
    record_size = 0;
    if (text.empty()) return false;

    std::vector<CsvColumn> parsed;
    int64_t offset = 0;
    bool wide = false;  // an 'l' or 'd' column rounds the record to 8 bytes
    size_t pos = 0;
    while (true) {
        if (trim_blanks)
            while (pos < text.size() && is_blank(text[pos]))
                ++pos;
        const size_t end = std::min(text.find(separator, pos), text.size());
        if (end == pos) return false;  // an empty token has no type code
        CsvColumn column;
        column.type = text[pos];
        column.size = type_size(column.type);
        if (column.size == 0) return false;
        column.name = text.substr(pos + 1, end - pos - 1);
        if (is_numeric(column.type))
            offset = (offset + column.size - 1) / column.size * column.size;
        column.offset = int32_t(offset);
        offset += column.size;
        if (offset > kMaxHeaderRecord) return false;
        wide = wide || column.type == 'l' || column.type == 'd';
        parsed.push_back(std::move(column));
        if (end == text.size()) break;
        pos = end + 1;
    }
    const int64_t unit = wide ? 8 : 4;
    record_size = int32_t((offset + unit - 1) / unit * unit);
    columns = std::move(parsed);
    return true;
}

bool TypedCsvTable::read(const std::string& path, const std::string& header_text,
                         bool keep_first_line) {
    rows.clear();
    skipped_lines = 0;
    if (header_text.size() > size_t(kMaxLine)) return false;
    // Checked before opening: opening a pipe without a writer blocks.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    const bool ok = read(file, header_text, keep_first_line);
    std::fclose(file);
    return ok;
}

bool TypedCsvTable::read(std::FILE* file, const std::string& header_text, bool keep_first_line) {
    // 1. Release the rows of a previous read.
    rows.clear();
    skipped_lines = 0;

    // 2. A given header must fit one line.
    if (header_text.size() > size_t(kMaxLine)) return false;

    // 3. Header from the first line unless given. Editors on Windows often save a byte-order
    // mark in front of it, which would otherwise become the first column's type code.
    std::string line;
    bool too_long = false;
    bool first_line = true;
    auto next_line = [&]() {
        if (!read_line(file, line, too_long)) return false;
        if (first_line && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        first_line = false;
        return true;
    };
    if (header_text.empty()) {
        if (!next_line() || too_long) return false;
        header = line;
    } else {
        header = header_text;
    }

    // 4. Parse it; skip one more line unless told to keep it.
    if (!parse_header(header)) return false;
    if (!keep_first_line) next_line();

    // 5. One zero-filled record per data line.
    while (next_line()) {
        if (!line.empty() && line[0] == '#') continue;
        if (too_long || line.find('\0') != std::string::npos) {
            ++skipped_lines;
            continue;
        }
        if (record_size < 1 || record_size > kMaxRecord) return false;
        std::unique_ptr<unsigned char[]> record(new unsigned char[size_t(record_size)]());
        fill_record(record.get(), line);
        rows.push_back(std::move(record));
    }
    return true;
}

void TypedCsvTable::fill_record(unsigned char* record, const std::string& line) const {
    size_t pos = 0;
    for (const CsvColumn& column : columns) {
        if (pos > line.size()) break;  // a short line: the remaining fields stay zero
        if (trim_blanks)
            while (pos < line.size() && is_blank(line[pos]))
                ++pos;
        const size_t end = std::min(line.find(separator, pos), line.size());
        store_field(record + column.offset, column, line.substr(pos, end - pos), trim_blanks);
        pos = end + 1;
    }
}

const unsigned char* TypedCsvTable::field(size_t row, size_t column, char type) const {
    if (row >= rows.size() || column >= columns.size()) return nullptr;
    const char actual = columns[column].type;
    const bool text = actual >= '0' && actual <= '9';
    const bool matches =
        type == 't' ? text : (type == 'f' ? actual == 'f' || actual == 'd' : actual == type);
    return matches ? rows[row].get() + columns[column].offset : nullptr;
}

int32_t TypedCsvTable::int32_at(size_t row, size_t column) const {
    int32_t v = 0;
    if (const unsigned char* at = field(row, column, 'i')) std::memcpy(&v, at, sizeof v);
    return v;
}

int64_t TypedCsvTable::int64_at(size_t row, size_t column) const {
    int64_t v = 0;
    if (const unsigned char* at = field(row, column, 'l')) std::memcpy(&v, at, sizeof v);
    return v;
}

double TypedCsvTable::double_at(size_t row, size_t column) const {
    const unsigned char* at = field(row, column, 'f');
    if (at == nullptr) return 0.0;
    if (columns[column].type == 'f') {
        float v = 0;
        std::memcpy(&v, at, sizeof v);
        return v;
    }
    double v = 0;
    std::memcpy(&v, at, sizeof v);
    return v;
}

char TypedCsvTable::char_at(size_t row, size_t column) const {
    const unsigned char* at = field(row, column, 'c');
    return at ? char(*at) : 0;
}

std::string TypedCsvTable::text_at(size_t row, size_t column) const {
    const unsigned char* at = field(row, column, 't');
    if (at == nullptr) return std::string();
    const size_t size = size_t(columns[column].size);
    const void* zero = std::memchr(at, 0, size);
    const size_t len = zero ? size_t(static_cast<const unsigned char*>(zero) - at) : size - 1;
    return std::string(reinterpret_cast<const char*>(at), len);
}
