// Table-filling helpers and the download paths.
#include <QDir>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "download_paths.h"
#include "table_helpers.h"
#include "temp_dir.h"

namespace {

Qt::Alignment alignment(const QTableWidgetItem* item) {
    return Qt::Alignment(item->textAlignment());
}

}  // namespace

TEST(TableHelpers, ColumnsAreOrderedByPositionWithMinusOneMeaningTheirPlace) {
    QTableWidget table(2, 7);
    setTableColumns(&table, {{"c", 5, 90}, {"a", -1, 70}, {"b", 1, 80}});
    ASSERT_EQ(table.columnCount(), 3);
    EXPECT_EQ(table.horizontalHeaderItem(0)->text(), "a");
    EXPECT_EQ(table.horizontalHeaderItem(2)->text(), "c");
    EXPECT_EQ(table.columnWidth(2), 90);
    EXPECT_EQ(alignment(table.horizontalHeaderItem(0)), Qt::AlignCenter);
}

TEST(TableHelpers, PlaceholderRowsAndAlignmentStayInsideTheTable) {
    QTableWidget table;
    resetTableRows(&table, 2, 3);
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(1, 2)->text(), "-");
    EXPECT_EQ(alignment(table.item(1, 2)), Qt::AlignRight | Qt::AlignVCenter);
    insertPlaceholderRow(&table, 99, Qt::AlignHCenter);  // past the end: appended
    EXPECT_EQ(alignment(table.item(2, 0)), Qt::AlignCenter);

    table.setItem(0, 1, nullptr);
    setColumnsAlignment(&table, 1, 9, Qt::AlignLeft);
    EXPECT_EQ(alignment(table.item(0, 1)), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(alignment(table.item(0, 0)), Qt::AlignRight | Qt::AlignVCenter);
    setCellAlignment(&table, 5, 0, Qt::AlignLeft);
    setCellAlignment(&table, -1, 0, Qt::AlignLeft);
    EXPECT_EQ(table.rowCount(), 3);
}

TEST(DownloadPaths, FolderUnderTheBaseIsCreatedWhenAskedFor) {
    TempDir dir;
    const QString base = QString::fromStdString(dir.path().string());
    setBaseDir(base);
    const QString expected = QDir::toNativeSeparators(base + "/data/download");
    EXPECT_EQ(downloadFilePath("autocall.csv"), expected + QDir::separator() + "autocall.csv");
    EXPECT_TRUE(QDir(base + "/data/download").exists());
    EXPECT_EQ(downloadDir(), expected);
    setBaseDir(QString());
    EXPECT_NE(baseDir(), base);
}
