// The product file: the typed writer, the record layout and the save action.
#include <fstream>
#include <sstream>

#include "calculator_fixture.h"
#include "observe_schedule.h"
#include "product_record.h"
#include "typed_csv_writer.h"

namespace {

std::vector<std::string> lines(const std::string& path) {
    std::vector<std::string> result;
    std::istringstream in(TempDir::read(path));
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

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

class ProductFileTest : public CalculatorTest {
  protected:
    std::string productFile() const { return downloadFile("autocall.csv"); }
};

TEST_F(ProductFileTest, EachSaveAppendsTheHeaderAndTheDefaultProductLine) {
    click("pushButton_save_CSV");
    click("pushButton_save_CSV");
    ASSERT_TRUE(recorder.records().isEmpty()) << lastBox().text.toStdString();
    const std::vector<std::string> file = lines(productFile());
    ASSERT_EQ(file.size(), 4u);
    EXPECT_EQ(file[0], ProductRecord::kHeader);
    EXPECT_EQ(file[2], ProductRecord::kHeader);
    EXPECT_EQ(file[1], file[3]);
    const std::string expected =
        "0,0,,,AC,510050,1000000.000000,100.000000,103.000000,80.000000,16.000000,16.000000,"
        "0.000000,0.000000,0.000000,0.000000,0,20250107,20260107,18.000000," +
        observeSchedule().dates.toStdString();
    EXPECT_EQ(file[1], expected);
}

TEST_F(ProductFileTest, AFieldHoldingAListIsSavedAsZero) {
    setText("edit_ko_price", "103_102_101");
    click("pushButton_save_CSV");
    const std::vector<std::string> file = lines(productFile());
    ASSERT_EQ(file.size(), 2u);
    EXPECT_NE(file[1].find(",100.000000,0.000000,80.000000,"), std::string::npos) << file[1];
}

TEST_F(ProductFileTest, ValuesThatDoNotFitRefuseTheSaveNamingTheField) {
    setText("edit_ko_price", "1e50");
    click("pushButton_save_CSV");
    EXPECT_EQ(lastBox().kind, Dialogs::Kind::Critical);
    EXPECT_TRUE(lastBox().text.contains(u8("敲出价格"))) << lastBox().text.toStdString();

    setText("edit_ko_price", "103");
    QStringList many;
    for (int i = 0; i < 60; ++i)
        many << QStringLiteral("20250307");
    observeSchedule().dates = many.join(QLatin1Char('_'));
    click("pushButton_save_CSV");
    EXPECT_TRUE(lastBox().text.contains(u8("观察日"))) << lastBox().text.toStdString();
    EXPECT_TRUE(lines(productFile()).empty());
}

TEST_F(ProductFileTest, AFolderThatCannotHoldTheFileIsReported) {
    // A plain file where the base folder should be: the download folder cannot exist.
    const std::string blocker = dir.write("blocker", "x");
    setBaseDir(QString::fromStdString(blocker));
    click("pushButton_save_CSV");
    EXPECT_EQ(lastBox().kind, Dialogs::Kind::Critical);
    EXPECT_EQ(lastBox().title, u8("无法打开文件:"));
    EXPECT_TRUE(lastBox().text.endsWith(QStringLiteral("autocall.csv")));
}

}  // namespace
