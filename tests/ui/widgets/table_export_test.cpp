// CSV export of result tables: what lands in the file, and the boxes when nothing can be written.
#include <QFileInfo>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "dialogs.h"
#include "table_export.h"
#include "temp_dir.h"

namespace {

// A table with the given headers and rows of cell texts.
std::unique_ptr<QTableWidget> makeTable(const QStringList& headers,
                                        const QList<QStringList>& rows) {
    auto table = std::make_unique<QTableWidget>(rows.size(), headers.size());
    table->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            table->setItem(r, c, new QTableWidgetItem(rows[r][c]));
        }
    }
    return table;
}

QString path(const TempDir& dir, const char* name) {
    return QString::fromStdString(dir.file(name));
}

bool exists(const QString& file) {
    return QFileInfo::exists(file);
}

}  // namespace

TEST(TableExport, WritesHeaderWithoutLineBreaksAndCellsWithoutCommas) {
    TempDir dir;
    Dialogs::Recorder boxes;
    auto table = makeTable({QStringLiteral("敲出\n价格"), QStringLiteral("备注")},
                           {{QStringLiteral("1,234.5"), QStringLiteral("上\n下")},
                            {QStringLiteral("7"), QStringLiteral("x")}});
    const QString file = path(dir, "out.csv");

    ASSERT_TRUE(exportTableToCsv(table.get(), file));
    EXPECT_EQ(TempDir::read(file.toStdString()), "敲出价格,备注\n1234.5,上\n下\n7,x\n");
    EXPECT_TRUE(boxes.records().isEmpty());
}

TEST(TableExport, OneColumnTableHasNoSeparators) {
    TempDir dir;
    auto table = makeTable({"A"}, {{"1"}, {"2"}});
    const QString file = path(dir, "one.csv");
    ASSERT_TRUE(exportTableToCsv(table.get(), file));
    EXPECT_EQ(TempDir::read(file.toStdString()), "A\n1\n2\n");
}

TEST(TableExport, MissingCellsAndHeadersAreWrittenEmpty) {
    TempDir dir;
    QTableWidget table(1, 2);
    table.setItem(0, 1, new QTableWidgetItem("b"));
    const QString file = path(dir, "holes.csv");
    ASSERT_TRUE(exportTableToCsv(&table, file));
    EXPECT_EQ(TempDir::read(file.toStdString()), "1,2\n,b\n");
}

TEST(TableExport, EmptyTableIsRefusedAndLeavesAnEarlierFileAlone) {
    TempDir dir;
    Dialogs::Recorder boxes;
    const QString file = QString::fromStdString(dir.write("keep.csv", "saved before\n"));
    QTableWidget rowsOnly(3, 0);

    EXPECT_FALSE(exportTableToCsv(&rowsOnly, file));
    ASSERT_EQ(boxes.records().size(), 1);
    EXPECT_EQ(boxes.records()[0].kind, Dialogs::Kind::Critical);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("错误:"));
    EXPECT_EQ(boxes.records()[0].text, QStringLiteral("试图导出空表。"));
    EXPECT_EQ(TempDir::read(file.toStdString()), "saved before\n");

    const QString fresh = path(dir, "fresh.csv");
    QTableWidget columnsOnly(0, 2);
    EXPECT_FALSE(exportTableToCsv(&columnsOnly, fresh));
    EXPECT_FALSE(exists(fresh));
}

TEST(TableExport, UnopenableFileIsReportedWithItsName) {
    TempDir dir;
    Dialogs::Recorder boxes;
    auto table = makeTable({"A"}, {{"1"}});
    const QString file = path(dir, "no/such/folder/out.csv");

    EXPECT_FALSE(exportTableToCsv(table.get(), file));
    EXPECT_FALSE(exportTablesToCsv({{"TV", table.get()}}, file));
    ASSERT_EQ(boxes.records().size(), 2);
    for (const Dialogs::Record& box : boxes.records()) {
        EXPECT_EQ(box.kind, Dialogs::Kind::Critical);
        EXPECT_EQ(box.title, QStringLiteral("无法打开文件:"));
        EXPECT_EQ(box.text, file);
    }
}

TEST(TablesExport, SectionsGoInByteOrderEachFollowedByTwoEmptyLines) {
    TempDir dir;
    auto tv = makeTable({"S"}, {{"1"}});
    auto delta = makeTable({"S", "D"}, {{"1", "0.5"}});
    auto gamma = makeTable({"G"}, {{"0,1"}});
    const QString file = path(dir, "stress.csv");

    ASSERT_TRUE(exportTablesToCsv(
        {{"TV", tv.get()}, {"Delta", delta.get()}, {"Gamma", gamma.get()}}, file));
    EXPECT_EQ(TempDir::read(file.toStdString()),
              "Delta\nS,D\n1,0.5\n\n\nGamma\nG\n01\n\n\nTV\nS\n1\n\n\n");
}

TEST(TablesExport, EmptyAndAbsentSectionsAreSkipped) {
    TempDir dir;
    Dialogs::Recorder boxes;
    auto tv = makeTable({"S"}, {{"1"}});
    QTableWidget empty(0, 3);
    const QString file = path(dir, "part.csv");

    ASSERT_TRUE(exportTablesToCsv({{"Delta", &empty}, {"Gamma", nullptr}, {"TV", tv.get()}}, file));
    EXPECT_EQ(TempDir::read(file.toStdString()), "TV\nS\n1\n\n\n");

    const QString none = path(dir, "none.csv");
    EXPECT_FALSE(exportTablesToCsv({{"Delta", &empty}, {"TV", nullptr}}, none));
    EXPECT_FALSE(exists(none));
    ASSERT_EQ(boxes.records().size(), 1);
    EXPECT_EQ(boxes.records()[0].text, QStringLiteral("试图导出空表。"));
}
