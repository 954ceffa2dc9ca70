// The product file's record layout and the typed writer that stores it.
#include <gtest/gtest.h>

#include "product_record.h"
#include "temp_dir.h"
#include "typed_csv_writer.h"

namespace {

TEST(ProductRecordLayout, FollowsTheTypedHeaderRules) {
    TypedCsvTable table;
    ASSERT_TRUE(table.parse_header(ProductRecord::kHeader));
    EXPECT_EQ(table.record_size, 696);
    EXPECT_EQ(ProductRecord().size(), 696u);
    const std::pair<const char*, int> offsets[] = {
        {"NO", 0},         {"EnquiryID", 8},      {"ProductName", 16}, {"Category", 48},
        {"Type", 56},      {"Underlier", 64},     {"Notional", 80},    {"OpenPrice", 88},
        {"KnockOut", 96},  {"KnockIn", 104},      {"CouponOut", 112},  {"CouponDiv", 120},
        {"Bottom", 128},   {"DeltaCeiling", 136}, {"CallStrike", 144}, {"PartRate", 152},
        {"Maturity", 160}, {"DateBegin", 164},    {"DateEnd", 168},    {"Volatility", 176},
        {"Observe", 184},
    };
    ASSERT_EQ(table.columns.size(), std::size(offsets));
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        EXPECT_EQ(table.columns[i].name, offsets[i].first);
        EXPECT_EQ(table.columns[i].offset, offsets[i].second) << offsets[i].first;
    }
}

TEST(TypedCsvWriterTest, WritesWhatTheTypedReaderReadsBack) {
    TempDir dir;
    ProductRecord record;
    record.set_int32("NO", -7);
    record.set_int64("EnquiryID", 9000000000LL);
    ASSERT_TRUE(record.set_text("Underlier", "510050"));
    record.set_double("KnockOut", 103.25);
    ASSERT_TRUE(record.set_text("Observe", "20250307_20260107"));
    const std::string path = dir.file("products.csv");
    ASSERT_TRUE(TypedCsvWriter(path, std::ios::app).write({record.data()}, ProductRecord::kHeader));

    TypedCsvTable table;
    ASSERT_TRUE(table.read(path, std::string(), true));
    ASSERT_EQ(table.row_count(), 1u);
    EXPECT_EQ(table.int32_at(0, 0), -7);
    EXPECT_EQ(table.int64_at(0, 1), 9000000000LL);
    EXPECT_EQ(table.text_at(0, 5), "510050");
    EXPECT_DOUBLE_EQ(table.double_at(0, 8), 103.25);
    EXPECT_EQ(table.text_at(0, 20), "20250307_20260107");
}

TEST(TypedCsvWriterTest, RefusesTextsAndNumbersThatDoNotFitWithoutWritingAnything) {
    TempDir dir;
    ProductRecord record;
    EXPECT_FALSE(record.set_text("Type", "12345678")) << "8 bytes hold 7 characters";
    EXPECT_TRUE(record.set_text("Type", "1234567"));
    EXPECT_EQ(record.text_capacity("Observe"), 511u);
    EXPECT_FALSE(record.set_text("Observe", std::string(512, '1')));

    record.set_double("CouponOut", 1e50);
    const std::string path = dir.file("products.csv");
    TypedCsvWriter writer(path, std::ios::app);
    EXPECT_FALSE(writer.write({record.data()}, ProductRecord::kHeader));
    EXPECT_EQ(writer.overflow_column(), "CouponOut");
    EXPECT_TRUE(TempDir::read(path).empty());

    TypedCsvWriter invalid(dir.file("other.csv"), std::ios::app);
    EXPECT_FALSE(invalid.write({record.data()}, "xBad"));
    TypedCsvWriter unopenable(dir.file("missing/products.csv"), std::ios::app);
    EXPECT_FALSE(unopenable.is_open());
    EXPECT_FALSE(unopenable.write({record.data()}, ProductRecord::kHeader));
}

}  // namespace
