// One product of the product file "autocall.csv": its typed header and a zeroed record laid out
// by that header, filled column by column.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "typed_csv_table.h"

class ProductRecord {
  public:
    static const char* const kHeader;

    ProductRecord();

    // Setters by column name; a name or type that the header does not hold changes nothing.
    void set_int32(const char* column, int32_t value);
    void set_int64(const char* column, int64_t value);
    void set_double(const char* column, double value);
    // False, leaving the field as it was, when the text does not fit the field with its
    // terminating zero.
    bool set_text(const char* column, const std::string& text);

    const unsigned char* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    // The field's capacity in characters (its size minus the terminator); 0 for no text column.
    std::size_t text_capacity(const char* column) const;

  private:
    const CsvColumn* find(const char* column, char type) const;
    void set_bytes(const char* column, char type, const void* value, std::size_t size);

    TypedCsvTable layout_;
    std::vector<unsigned char> bytes_;
};
