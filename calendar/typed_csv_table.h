// Reader of CSV tables whose header tokens carry a one-character type code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// One column of a typed table: header token "iDate" is type 'i' and name "Date".
struct CsvColumn {
    char type = 0;       // 'i', 'l', 'f', 'd', 'c' or '0'..'9' (text of 2^digit bytes)
    int32_t offset = 0;  // byte offset in the record
    int32_t size = 0;    // bytes in the record
    std::string name;
};

// Header rules: tokens split at the separator, laid out in header order; a numeric field starts
// at the next multiple of its own size, text and character fields are not aligned; the record
// size is rounded up to 8 when an 'l' or 'd' column exists, else to 4.
//
// Line rules: a line holds at most kMaxLine characters before its end ("\n" or "\r\n"). A data
// line that is longer is skipped whole and counted in skipped_lines, so a corrupt file can
// neither overrun a buffer nor split one line into several records; a header line that is
// longer makes the read fail. A data line holding a NUL byte is skipped and counted the same
// way: no text table holds one, and the field would end at it. A UTF-8 byte-order mark before
// the first line is dropped. Lines starting with '#' are comments. Other bytes of any value are
// read as they are; a field is cut at its column's size. Only regular files are read: a pipe or
// a device could block the reader or never end.
class TypedCsvTable {
  public:
    static constexpr int kMaxLine = 1024;
    static constexpr int kMaxRecord = 1024;  // read() refuses data rows of larger records

    TypedCsvTable() = default;
    TypedCsvTable(const TypedCsvTable&) = delete;
    TypedCsvTable& operator=(const TypedCsvTable&) = delete;

    // Builds `columns` and `record_size`; false for an empty header or an unknown type code.
    bool parse_header(const std::string& text);

    // Reads the file. An empty `header_text` takes the header from the file's first line (kept
    // in `header`); unless keep_first_line, one more line is skipped after the header. Fails
    // when the path is not a regular file or cannot be opened, the header is longer than kMaxLine
    // or invalid, or a data line comes with a record size outside 1..kMaxRecord (the rows read so
    // far are kept).
    bool read(const std::string& path, const std::string& header_text = std::string(),
              bool keep_first_line = false);

    // The same on a file opened for reading, from its current position; the file stays open.
    bool read(std::FILE* file, const std::string& header_text, bool keep_first_line);

    size_t row_count() const { return rows.size(); }
    // Typed access to a field of a read row; 0 (or "") when row, column or type do not match.
    int32_t int32_at(size_t row, size_t column) const;
    int64_t int64_at(size_t row, size_t column) const;
    double double_at(size_t row, size_t column) const;  // 'f' and 'd' columns
    char char_at(size_t row, size_t column) const;
    std::string text_at(size_t row, size_t column) const;

    std::vector<CsvColumn> columns;
    int32_t record_size = 0;
    std::string header;
    std::vector<std::unique_ptr<unsigned char[]>> rows;  // record_size zero-filled bytes each
    bool trim_blanks = false;  // skip blanks before fields, drop trailing blanks of text fields
    char separator = ',';
    size_t skipped_lines = 0;  // data lines too long or holding a NUL byte in the last read

  private:
    void fill_record(unsigned char* record, const std::string& line) const;
    const unsigned char* field(size_t row, size_t column, char type) const;
};
