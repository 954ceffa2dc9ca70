// CSV export of result tables: what lands in the file, and the boxes when nothing can be written.
#include <QDir>
#include <QFileInfo>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "box_records.h"
#include "dialogs.h"
#include "file_size_limit.h"
#include "table_export.h"
#include "temp_dir.h"

namespace {

std::unique_ptr<QTableWidget> makeTable(const QStringList& headers,
                                        const QList<QStringList>& rows) {
    auto table = std::make_unique<QTableWidget>(rows.size(), headers.size());
    table->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(rows[r][c]));
    return table;
}

// Each case writes into a fresh folder, with its boxes recorded.
struct TableExport : ::testing::Test {
    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }
    // A file of that name holding a line saved before.
    QString savedBefore(const char* name) const {
        return QString::fromStdString(dir.write(name, "saved before\n"));
    }
    static std::string read(const QString& file) { return TempDir::read(file.toStdString()); }

    TempDir dir;
    Dialogs::Recorder boxes;
};
using TablesExport = TableExport;

}  // namespace

TEST_F(TableExport, HeaderLosesLineBreaksAndCellsLoseCommasOnly) {
    auto table = makeTable({"敲出\n价格", "备注"}, {{"1,234.5", "上\n下"}, {"7", "x"}});
    ASSERT_TRUE(exportTableToCsv(table.get(), path("out.csv")));
    EXPECT_EQ(read(path("out.csv")), "敲出价格,备注\n1234.5,上\n下\n7,x\n");

    auto oneColumn = makeTable({"A"}, {{"1"}, {"2"}});
    ASSERT_TRUE(exportTableToCsv(oneColumn.get(), path("one.csv")));
    EXPECT_EQ(read(path("one.csv")), "A\n1\n2\n");

    // A column without a header item is written as the table shows it, a missing cell empty.
    QTableWidget holes(1, 2);
    holes.setItem(0, 1, new QTableWidgetItem("b"));
    ASSERT_TRUE(exportTableToCsv(&holes, path("holes.csv")));
    EXPECT_EQ(read(path("holes.csv")), "1,2\n,b\n");
    EXPECT_TRUE(boxes.records().isEmpty());
}

TEST_F(TableExport, EmptyTableIsRefusedAndLeavesFilesAlone) {
    const QString saved = savedBefore("keep.csv");
    QTableWidget rowsOnly(3, 0);
    EXPECT_FALSE(exportTableToCsv(&rowsOnly, saved));
    EXPECT_EQ(read(saved), "saved before\n");

    QTableWidget columnsOnly(0, 2);
    EXPECT_FALSE(exportTableToCsv(&columnsOnly, path("fresh.csv")));
    EXPECT_FALSE(QFileInfo::exists(path("fresh.csv")));

    ASSERT_EQ(boxes.records().size(), 2);
    EXPECT_EQ(boxes.records()[0], criticalBox("错误:", "试图导出空表。"));
}

TEST_F(TableExport, UnopenableFileIsReportedWithItsName) {
    auto table = makeTable({"A"}, {{"1"}});
    const QString file = path("no/such/folder/out.csv");
    EXPECT_FALSE(exportTableToCsv(table.get(), file));
    EXPECT_FALSE(exportTablesToCsv({{"TV", table.get()}}, file));
    const Dialogs::Record box = criticalBox("无法打开文件:", file);
    EXPECT_EQ(boxes.records(), QList<Dialogs::Record>({box, box}));
}

TEST_F(TableExport, AWriteThatFailsIsReportedAndKeepsTheEarlierFile) {
    const QString saved = savedBefore("keep.csv");
    QStringList row;
    for (int c = 0; c < 50; ++c)
        row << QStringLiteral("1234567890");
    auto table = makeTable(row, {row, row});
    {
        const FileSizeLimit limit(64);
        EXPECT_FALSE(exportTableToCsv(table.get(), saved));
        EXPECT_FALSE(exportTablesToCsv({{"TV", table.get()}}, saved));
    }
    EXPECT_EQ(read(saved), "saved before\n");
    EXPECT_EQ(QDir(path("")).entryList(QDir::Files | QDir::Hidden), QStringList({"keep.csv"}))
        << "no temporary file is left behind";
    const Dialogs::Record box = criticalBox("写入文件失败:", saved);
    EXPECT_EQ(boxes.records(), QList<Dialogs::Record>({box, box}));
}

TEST_F(TablesExport, SectionsGoInByteOrderEachFollowedByTwoEmptyLines) {
    auto tv = makeTable({"S"}, {{"1"}});
    auto delta = makeTable({"S", "D"}, {{"1", "0.5"}});
    auto gamma = makeTable({"G"}, {{"0,1"}});
    const QString file = path("stress.csv");
    ASSERT_TRUE(exportTablesToCsv(
        {{"TV", tv.get()}, {"Delta", delta.get()}, {"Gamma", gamma.get()}}, file));
    EXPECT_EQ(read(file), "Delta\nS,D\n1,0.5\n\n\nGamma\nG\n01\n\n\nTV\nS\n1\n\n\n");
}

TEST_F(TablesExport, EmptyAndAbsentSectionsAreSkipped) {
    auto tv = makeTable({"S"}, {{"1"}});
    QTableWidget empty(0, 3);
    ASSERT_TRUE(exportTablesToCsv({{"Delta", &empty}, {"Gamma", nullptr}, {"TV", tv.get()}},
                                  path("part.csv")));
    EXPECT_EQ(read(path("part.csv")), "TV\nS\n1\n\n\n");

    EXPECT_FALSE(exportTablesToCsv({{"Delta", &empty}, {"TV", nullptr}}, path("none.csv")));
    EXPECT_FALSE(QFileInfo::exists(path("none.csv")));
    ASSERT_EQ(boxes.records().size(), 1);
    EXPECT_EQ(boxes.records()[0].text, "试图导出空表。");
}
