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

const QString kNoFileName = QStringLiteral("未输入有效文件名，未保存表格内容！");

// Runs the test body with the working directory inside a temp folder, as "导出" writes there.
class InTempDir {
  public:
    InTempDir() : old_(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(dir_.path().string()));
    }
    ~InTempDir() { QDir::setCurrent(old_); }
    std::string file(const char* name) const { return dir_.file(name); }

  private:
    TempDir dir_;
    QString old_;
};

}  // namespace

TEST(TablePopmenu, MaskBitsAddActionsInTableOrder) {
    TableWidget_Popmenu exportOnly(3);
    EXPECT_EQ(actionTexts(exportOnly), QStringList({"导出", "导出为..."}));
    EXPECT_EQ(exportOnly.contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_EQ(exportOnly.selectionBehavior(), QAbstractItemView::SelectItems);

    TableWidget_Popmenu all(15);
    EXPECT_EQ(actionTexts(all), QStringList({"导出", "导出为...", "增加行", "删除"}));
    EXPECT_EQ(all.selectionBehavior(), QAbstractItemView::SelectRows);

    TableWidget_Popmenu rowsOnly(12);
    EXPECT_EQ(actionTexts(rowsOnly), QStringList({"增加行", "删除"}));

    ExportTableWidget result;
    EXPECT_EQ(actionTexts(result), QStringList({"导出", "导出为..."}));
}

TEST(TablePopmenu, DeleteWithoutCurrentCellIsIllegal) {
    Dialogs::Recorder boxes;
    TableWidget_Popmenu table(8);
    table.setRowCount(2);
    table.setColumnCount(2);
    QSignalSpy deleted(&table, &TableWidget_Popmenu::deleteRowSignal);

    table.on_action_delete();
    ASSERT_EQ(boxes.records().size(), 1);
    EXPECT_EQ(boxes.records()[0].kind, Dialogs::Kind::Critical);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("错误："));
    EXPECT_EQ(boxes.records()[0].text, QStringLiteral("非法操作"));
    EXPECT_EQ(deleted.count(), 0);
}

TEST(TablePopmenu, DeleteEmitsTheCurrentCellOnlyWhenConfirmed) {
    Dialogs::Recorder boxes;
    TableWidget_Popmenu table(8);
    table.setRowCount(3);
    table.setColumnCount(2);
    table.setCurrentCell(2, 1);
    QSignalSpy deleted(&table, &TableWidget_Popmenu::deleteRowSignal);

    boxes.answerQuestion(false);
    table.on_action_delete();
    EXPECT_EQ(deleted.count(), 0);

    boxes.answerQuestion(true);
    table.on_action_delete();
    ASSERT_EQ(deleted.count(), 1);
    EXPECT_EQ(deleted[0], QVariantList({2, 1}));
    EXPECT_EQ(table.rowCount(), 3);  // removing is the listener's business

    ASSERT_EQ(boxes.records().size(), 2);
    EXPECT_EQ(boxes.records()[1].kind, Dialogs::Kind::Question);
    EXPECT_EQ(boxes.records()[1].title, QStringLiteral("提示："));
    EXPECT_EQ(boxes.records()[1].text, QStringLiteral("是否删除？"));
}

TEST(TablePopmenu, AddAppendsAPlaceholderRowAndSignals) {
    TableWidget_Popmenu table(4);
    table.setColumnCount(2);
    QSignalSpy added(&table, &TableWidget_Popmenu::addRowSignal);
    table.on_action_add();
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.item(0, 1)->text(), "-");
    EXPECT_EQ(added.count(), 1);
}

TEST(TablePopmenu, ExportWritesTheTypedNameInTheWorkingDirectory) {
    InTempDir dir;
    Dialogs::Recorder boxes;
    ExportTableWidget table;
    table.setRowCount(1);
    table.setColumnCount(1);
    table.setHorizontalHeaderLabels({"H"});
    table.setItem(0, 0, new QTableWidgetItem("v"));

    boxes.answerTextInput("result");
    table.on_action_export();
    EXPECT_EQ(TempDir::read(dir.file("result.csv")), "H\nv\n");
    ASSERT_EQ(boxes.records().size(), 1);
    EXPECT_EQ(boxes.records()[0].kind, Dialogs::Kind::TextInput);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("导出"));
    EXPECT_EQ(boxes.records()[0].text, QStringLiteral("导出的文件名为："));
}

TEST(TablePopmenu, CancelledOrEmptyFileNameSavesNothing) {
    InTempDir dir;
    Dialogs::Recorder boxes;
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
    const QString expected = QStringLiteral("错误：") + kNoFileName;
    EXPECT_EQ(warnings, QStringList({expected, expected, expected}));
    EXPECT_TRUE(QDir::current().entryList(QDir::Files).isEmpty());
}

TEST(TablePopmenu, ExportToWritesTheChosenFile) {
    TempDir dir;
    Dialogs::Recorder boxes;
    ExportTableWidget table;
    table.setRowCount(1);
    table.setColumnCount(1);
    table.setItem(0, 0, new QTableWidgetItem("v"));
    const QString file = QString::fromStdString(dir.file("chosen.csv"));

    boxes.answerSaveFile(file);
    table.on_action_export_to();
    EXPECT_EQ(TempDir::read(file.toStdString()), "1\nv\n");
    ASSERT_EQ(boxes.records().size(), 1);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("表格内容保存为"));
}
