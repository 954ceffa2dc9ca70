#include "table_widget_popmenu.h"

#include <QAction>

#include "dialogs.h"
#include "file_report.h"
#include "table_export.h"
#include "table_helpers.h"

namespace {

void reportNoFileName() {
    Dialogs::warning(nullptr, Dialogs::errorTitleWide(),
                     QStringLiteral("未输入有效文件名，未保存表格内容！"));
}

}  // namespace

TableWidget_Popmenu::TableWidget_Popmenu(int mask, QWidget* parent) : QTableWidget(parent) {
    struct Entry {
        int bit;
        const char* objectName;
        QString text;
        void (TableWidget_Popmenu::*slot)();
        bool rowSelection;
    };
    const Entry entries[] = {
        {MenuExport, "action_export", QStringLiteral("导出"),
         &TableWidget_Popmenu::on_action_export, false},
        {MenuExportTo, "action_export_to", QStringLiteral("导出为..."),
         &TableWidget_Popmenu::on_action_export_to, false},
        {MenuAddRow, "action_add", QStringLiteral("增加行"), &TableWidget_Popmenu::on_action_add,
         true},
        {MenuDelete, "action_delete", QStringLiteral("删除"),
         &TableWidget_Popmenu::on_action_delete, true},
    };
    for (const Entry& entry : entries) {
        if (!(mask & entry.bit)) continue;
        auto* action = new QAction(entry.text, this);
        action->setObjectName(QLatin1String(entry.objectName));
        connect(action, &QAction::triggered, this, entry.slot);
        addAction(action);
        if (entry.rowSelection) setSelectionBehavior(QAbstractItemView::SelectRows);
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TableWidget_Popmenu::on_action_add() {
    insertPlaceholderRow(this, rowCount(), Qt::AlignRight);
    emit addRowSignal();
}

void TableWidget_Popmenu::on_action_delete() {
    const int row = currentRow();
    const int column = currentColumn();
    if (row < 0 || column < 0) {
        Dialogs::critical(this, Dialogs::errorTitleWide(), QStringLiteral("非法操作"));
        return;
    }
    if (Dialogs::question(this, Dialogs::hintTitleWide(), QStringLiteral("是否删除？"))) {
        emit deleteRowSignal(row, column);
    }
}

void TableWidget_Popmenu::on_action_export() {
    bool ok = false;
    const QString name =
        Dialogs::textInput(this, QStringLiteral("导出"), QStringLiteral("导出的文件名为："),
                           QStringLiteral("Export"), &ok);
    if (!ok || name.isEmpty()) {
        reportNoFileName();
        return;
    }
    exportTo(QStringLiteral("%1.csv").arg(name));
}

void TableWidget_Popmenu::on_action_export_to() {
    const QString file = Dialogs::saveFileName(this, QStringLiteral("表格内容保存为"), QString(),
                                               Dialogs::csvFilter());
    if (file.isEmpty()) {
        reportNoFileName();
        return;
    }
    exportTo(file);
}

void TableWidget_Popmenu::exportTo(const QString& file) {
    if (exportTableToCsv(this, file)) reportExported(this, file);
}
