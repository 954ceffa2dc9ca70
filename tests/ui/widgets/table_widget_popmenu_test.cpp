// The right-click menu of result tables: its actions, the delete question and the export slots.
#include <QAction>
#include <QDir>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "dialogs.h"
#include "export_table_widget.h"
#include "table_widget_popmenu.h"
#include "temp_dir.h"

namespace {

QStringList actionTexts(const QWidget& widget) {
    QStringList texts;
    for (const QAction* action : widget.actions())
        texts << action->text();
    return texts;
}

// Each case runs in a fresh working directory, where "导出" writes, with its boxes recorded.
struct TablePopmenu : ::testing::Test {
    TempDir dir;
    InDirectory in{dir.path()};
    Dialogs::Recorder boxes;
};

}  // namespace

TEST_F(TablePopmenu, MaskBitsAddActionsInTableOrder) {
    TableWidget_Popmenu exportOnly(3);
    EXPECT_EQ(actionTexts(exportOnly), QStringList({"导出", "导出为..."}));
    EXPECT_EQ(exportOnly.contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_EQ(exportOnly.selectionBehavior(), QAbstractItemView::SelectItems);

    TableWidget_Popmenu rowsOnly(12);
    EXPECT_EQ(actionTexts(rowsOnly), QStringList({"增加行", "删除"}));
    EXPECT_EQ(rowsOnly.selectionBehavior(), QAbstractItemView::SelectRows);

    EXPECT_EQ(actionTexts(ExportTableWidget()), QStringList({"导出", "导出为..."}));
}

TEST_F(TablePopmenu, DeleteAsksAndEmitsTheCurrentCellOnlyOnYes) {
    TableWidget_Popmenu table(8);
    table.setRowCount(3);
    table.setColumnCount(2);
    QSignalSpy deleted(&table, &TableWidget_Popmenu::deleteRowSignal);

    table.on_action_delete();  // no current cell yet
    table.setCurrentCell(2, 1);
    boxes.answerQuestion(false);
    table.on_action_delete();
    EXPECT_EQ(deleted.count(), 0);
    boxes.answerQuestion(true);
    table.on_action_delete();

    ASSERT_EQ(deleted.count(), 1);
    EXPECT_EQ(deleted[0], QVariantList({2, 1}));
    EXPECT_EQ(table.rowCount(), 3);  // removing is the listener's business
    EXPECT_EQ(boxes.lines(),
              QStringList({"错误：|非法操作", "提示：|是否删除？", "提示：|是否删除？"}));
    EXPECT_EQ(boxes.records()[0].kind, Dialogs::Kind::Critical);
    EXPECT_EQ(boxes.records()[1].kind, Dialogs::Kind::Question);
}

TEST_F(TablePopmenu, ExportWritesTheTypedOrChosenName) {
    ExportTableWidget table;
    table.setRowCount(1);
    table.setColumnCount(1);
    table.setHorizontalHeaderLabels({"H"});
    table.setItem(0, 0, new QTableWidgetItem("v"));

    boxes.answerTextInput("result");
    table.on_action_export();
    EXPECT_EQ(TempDir::read(dir.file("result.csv")), "H\nv\n");
    boxes.answerSaveFile(QString::fromStdString(dir.file("chosen.csv")));
    table.on_action_export_to();
    EXPECT_EQ(TempDir::read(dir.file("chosen.csv")), "H\nv\n");
    // Each export says where it went.
    EXPECT_EQ(
        boxes.lines(),
        QStringList({"导出|导出的文件名为：",
                     "导出完成：|已保存到 " + QString::fromStdString(dir.file("result.csv")),
                     "表格内容保存为|",
                     "导出完成：|已保存到 " + QString::fromStdString(dir.file("chosen.csv"))}));
}

TEST_F(TablePopmenu, CancelledOrEmptyFileNameSavesNothing) {
    ExportTableWidget table;
    table.setRowCount(1);
    table.setColumnCount(1);

    boxes.answerTextInput("Export", false);
    table.on_action_export();
    boxes.answerTextInput("");
    table.on_action_export();
    table.on_action_export_to();  // no file chosen: the dialog was cancelled

    QStringList warnings;
    for (const Dialogs::Record& box : boxes.records()) {
        if (box.kind == Dialogs::Kind::Warning) warnings << box.title + box.text;
    }
    const QString expected = "错误：未输入有效文件名，未保存表格内容！";
    EXPECT_EQ(warnings, QStringList({expected, expected, expected}));
    EXPECT_TRUE(QDir::current().entryList(QDir::Files).isEmpty());
}
