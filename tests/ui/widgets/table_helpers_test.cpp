// Table-filling helpers, download paths and the dialog recorder.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "dialogs.h"
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
    EXPECT_EQ(table.horizontalHeaderItem(1)->text(), "b");
    EXPECT_EQ(table.horizontalHeaderItem(2)->text(), "c");
    EXPECT_EQ(table.columnWidth(2), 90);
    EXPECT_EQ(alignment(table.horizontalHeaderItem(0)), Qt::AlignCenter);
}

TEST(TableHelpers, PlaceholderRowsHoldDashesWithTheGivenAlignment) {
    QTableWidget table;
    resetTableRows(&table, 2, 3);
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.item(1, 2)->text(), "-");
    EXPECT_EQ(alignment(table.item(1, 2)), Qt::AlignRight | Qt::AlignVCenter);

    insertPlaceholderRow(&table, 0, Qt::AlignHCenter);
    EXPECT_EQ(table.rowCount(), 3);
    EXPECT_EQ(alignment(table.item(0, 0)), Qt::AlignCenter);
    insertPlaceholderRow(&table, 99, Qt::AlignLeft);  // past the end: appended
    EXPECT_EQ(alignment(table.item(3, 0)), Qt::AlignLeft | Qt::AlignVCenter);
}

TEST(TableHelpers, AlignmentCreatesMissingCellsInsideTheTableOnly) {
    QTableWidget table(2, 3);
    setColumnsAlignment(&table, 1, 9, Qt::AlignLeft);
    EXPECT_EQ(table.item(0, 0), nullptr);
    EXPECT_EQ(alignment(table.item(1, 2)), Qt::AlignLeft | Qt::AlignVCenter);
    setCellAlignment(&table, 5, 0, Qt::AlignLeft);
    setCellAlignment(&table, -1, 0, Qt::AlignLeft);
    EXPECT_EQ(table.rowCount(), 2);
}

TEST(TableHelpers, FactoriesMakeTheFormFields) {
    std::unique_ptr<QComboBox> combo(makeCombo({"周", "双周", "月"}));
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), "月");
    std::unique_ptr<QLineEdit> edit(makeNumberEdit("100"));
    EXPECT_EQ(edit->text(), "100");
    EXPECT_EQ(edit->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(edit->alignment(), Qt::AlignRight | Qt::AlignVCenter);
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

TEST(DialogRecorder, AnswersAreUsedOnceAndInnerRecorderRecordsAlone) {
    Dialogs::Recorder outer;
    outer.answerQuestion(true);
    EXPECT_TRUE(Dialogs::question(nullptr, "t", "q"));
    EXPECT_FALSE(Dialogs::question(nullptr, "t", "q"));
    bool ok = false;
    EXPECT_EQ(Dialogs::textInput(nullptr, "t", "l", "initial", &ok), "initial");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Dialogs::saveFileName(nullptr, "c", "d", "f"), QString());
    {
        Dialogs::Recorder inner;
        Dialogs::information(nullptr, "inner", "x");
        EXPECT_EQ(inner.records().size(), 1);
    }
    Dialogs::warning(nullptr, "outer", "y");
    ASSERT_EQ(outer.records().size(), 5);
    EXPECT_EQ(outer.records().last().title, "outer");
}
