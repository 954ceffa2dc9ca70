#include "product_record.h"

#include <cstring>

const char* const ProductRecord::kHeader =
    "iNO,lEnquiryID,5ProductName,3Category,3Type,4Underlier,dNotional,dOpenPrice,dKnockOut,"
    "dKnockIn,dCouponOut,dCouponDiv,dBottom,dDeltaCeiling,dCallStrike,dPartRate,iMaturity,"
    "iDateBegin,iDateEnd,dVolatility,9Observe";

ProductRecord::ProductRecord() {
    layout_.parse_header(kHeader);
    bytes_.assign(std::size_t(layout_.record_size), 0);
}

namespace {

// Stands for any of the text types '0' to '9' in a look-up.
constexpr char kText = 't';

bool has_type(const CsvColumn& c, char type) {
    return type == kText ? c.type >= '0' && c.type <= '9' : c.type == type;
}

}  // namespace

const CsvColumn* ProductRecord::find(const char* column, char type) const {
    for (const CsvColumn& c : layout_.columns)
        if (c.name == column && has_type(c, type)) return &c;
    return nullptr;
}

void ProductRecord::set_bytes(const char* column, char type, const void* value, std::size_t size) {
    if (const CsvColumn* c = find(column, type)) std::memcpy(&bytes_[c->offset], value, size);
}

void ProductRecord::set_int32(const char* column, int32_t value) {
    set_bytes(column, 'i', &value, sizeof value);
}

void ProductRecord::set_int64(const char* column, int64_t value) {
    set_bytes(column, 'l', &value, sizeof value);
}

void ProductRecord::set_double(const char* column, double value) {
    set_bytes(column, 'd', &value, sizeof value);
}

std::size_t ProductRecord::text_capacity(const char* column) const {
    const CsvColumn* c = find(column, kText);
    return c ? std::size_t(c->size) - 1 : 0;
}

bool ProductRecord::set_text(const char* column, const std::string& text) {
    const CsvColumn* c = find(column, kText);
    if (!c || text.size() > std::size_t(c->size) - 1) return false;
    std::memset(&bytes_[c->offset], 0, std::size_t(c->size));
    std::memcpy(&bytes_[c->offset], text.data(), text.size());
    return true;
}
