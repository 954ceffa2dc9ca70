#include "typed_csv_writer.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

template <typename T>
T field_value(const unsigned char* row, const CsvColumn& column) {
    T value;
    std::memcpy(&value, row + column.offset, sizeof value);
    return value;
}

// The printf text of one numeric or character field.
std::string number_text(const CsvColumn& column, const unsigned char* row) {
    char buffer[512];
    switch (column.type) {
        case 'i':
            std::snprintf(buffer, sizeof buffer, "%" PRId32, field_value<int32_t>(row, column));
            break;
        case 'l':
            std::snprintf(buffer, sizeof buffer, "%" PRId64, field_value<int64_t>(row, column));
            break;
        case 'f':
            std::snprintf(buffer, sizeof buffer, "%f", double(field_value<float>(row, column)));
            break;
        case 'd':
            std::snprintf(buffer, sizeof buffer, "%f", field_value<double>(row, column));
            break;
        default:
            return std::string(1, char(row[column.offset]));
    }
    return buffer;
}

bool is_text(char type) {
    return type >= '0' && type <= '9';
}

}  // namespace

TypedCsvWriter::TypedCsvWriter(const std::string& path, std::ios::openmode mode)
    : out_(path, mode | std::ios::out) {}

bool TypedCsvWriter::write(const std::vector<const unsigned char*>& rows,
                           const std::string& header) {
    std::string text;
    if (!out_.is_open() || !format(rows, header, text)) return false;
    out_ << text << std::flush;
    out_.close();
    return bool(out_);
}

bool TypedCsvWriter::format(const std::vector<const unsigned char*>& rows,
                            const std::string& header, std::string& text) {
    overflow_column_.clear();
    if (!layout_.parse_header(header)) return false;
    text = header + "\n";
    if (text.size() > kMaxLine) return false;
    for (const unsigned char* row : rows) {
        std::string line;
        if (!format_row(row, line)) return false;
        text += line;
    }
    return true;
}

bool TypedCsvWriter::format_row(const unsigned char* row, std::string& line) {
    for (std::size_t i = 0; i < layout_.columns.size(); ++i) {
        if (!append_field(layout_.columns[i], row, line)) return false;
        line += i + 1 < layout_.columns.size() ? ',' : '\n';
        if (line.size() > kMaxLine) {
            overflow_column_ = layout_.columns[i].name;
            return false;
        }
    }
    return true;
}

bool TypedCsvWriter::append_field(const CsvColumn& column, const unsigned char* row,
                                  std::string& line) {
    if (is_text(column.type)) {
        // Zero-terminated, and never more than the field minus its terminator.
        const char* text = reinterpret_cast<const char*>(row + column.offset);
        line.append(text, strnlen(text, std::size_t(column.size) - 1));
        return true;
    }
    const std::string text = number_text(column, row);
    if (text.size() > kMaxNumberText) {
        overflow_column_ = column.name;
        return false;
    }
    line += text;
    return true;
}
