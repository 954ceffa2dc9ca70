// The product file: the save action of the window.
#include <fstream>
#include <sstream>

#include "calculator_fixture.h"
#include "file_size_limit.h"
#include "observe_schedule.h"
#include "product_record.h"

namespace {

std::vector<std::string> lines(const std::string& path) {
    std::vector<std::string> result;
    std::istringstream in(TempDir::read(path));
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

class ProductFileTest : public CalculatorTest {
  protected:
    std::string productFile() const { return downloadFile("autocall.csv"); }
};

TEST_F(ProductFileTest, EachSaveAppendsTheHeaderAndTheDefaultProductLine) {
    click("pushButton_save_CSV");
    click("pushButton_save_CSV");
    ASSERT_TRUE(noBox());
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
    observeSchedule().dates = QStringLiteral("_20250307").repeated(60).mid(1);  // 60 dates
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

TEST_F(ProductFileTest, ASaveThatCannotBeWrittenWholeLeavesTheFileAsItWas) {
    click("pushButton_save_CSV");
    const std::string before = TempDir::read(productFile());
    {
        const FileSizeLimit limit(before.size() + 16);
        click("pushButton_save_CSV");
    }
    EXPECT_EQ(lastBox(), criticalBox("写入文件失败:", QString::fromStdString(productFile())));
    EXPECT_EQ(TempDir::read(productFile()), before);
}

}  // namespace
