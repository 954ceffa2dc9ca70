// Writer of typed CSV tables: the counterpart of TypedCsvTable, laying rows out by the same
// header rules.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "typed_csv_table.h"

class TypedCsvWriter {
  public:
    static constexpr std::size_t kMaxLine = TypedCsvTable::kMaxLine;
    // "%f" of a double or float longer than this does not fit its field buffer.
    static constexpr std::size_t kMaxNumberText = 43;

    // A writer that only formats (format()).
    TypedCsvWriter() = default;
    // Opens the file for writing in text mode with the given mode (the product file appends).
    TypedCsvWriter(const std::string& path, std::ios::openmode mode);

    bool is_open() const { return out_.is_open(); }

    // Writes the header line and one line per row (each a record laid out by the header), then
    // closes the file. Every line is formatted before anything is written, so a row that does
    // not fit leaves the file as it was. False when the file is not open, the header is invalid
    // or a value does not fit (overflow_column() then names its column).
    bool write(const std::vector<const unsigned char*>& rows, const std::string& header);

    // The text write() would write, for a caller that writes it its own way; false as write().
    bool format(const std::vector<const unsigned char*>& rows, const std::string& header,
                std::string& text);

    // The column whose text did not fit in the last write; empty when none.
    const std::string& overflow_column() const { return overflow_column_; }

  private:
    bool format_row(const unsigned char* row, std::string& line);
    bool append_field(const CsvColumn& column, const unsigned char* row, std::string& line);

    std::ofstream out_;
    TypedCsvTable layout_;
    std::string overflow_column_;
};
