#include "table_helpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>

namespace {

const Qt::Alignment kHorizontalMask = Qt::AlignHorizontal_Mask;

QTableWidgetItem* placeholder(Qt::Alignment horizontal) {
    auto* item = new QTableWidgetItem(QStringLiteral("-"));
    item->setTextAlignment(int((horizontal & kHorizontalMask) | Qt::AlignVCenter));
    return item;
}

bool insideTable(const QTableWidget* table, int row, int column) {
    return row >= 0 && column >= 0 && row < table->rowCount() && column < table->columnCount();
}

}  // namespace

void setTableColumns(QTableWidget* table, const QList<TableColumn>& columns) {
    QList<TableColumn> ordered = columns;
    for (int i = 0; i < ordered.size(); ++i) {
        if (ordered[i].position == -1) ordered[i].position = qint16(i);
    }
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const TableColumn& a, const TableColumn& b) { return a.position < b.position; });
    table->clear();
    table->setColumnCount(ordered.size());
    for (int i = 0; i < ordered.size(); ++i) {
        auto* header = new QTableWidgetItem(ordered[i].title);
        header->setTextAlignment(Qt::AlignCenter);
        table->setHorizontalHeaderItem(i, header);
        table->setColumnWidth(i, ordered[i].width);
    }
}

void resetTableRows(QTableWidget* table, int rows, int columns) {
    table->clearContents();
    table->setRowCount(0);
    table->setColumnCount(std::max(columns, 0));
    for (int r = 0; r < rows; ++r)
        insertPlaceholderRow(table, r, Qt::AlignRight);
}

void insertPlaceholderRow(QTableWidget* table, int row, Qt::Alignment horizontal) {
    row = std::clamp(row, 0, table->rowCount());
    table->insertRow(row);
    for (int c = 0; c < table->columnCount(); ++c)
        table->setItem(row, c, placeholder(horizontal));
}

void setCellAlignment(QTableWidget* table, int row, int column, Qt::Alignment horizontal) {
    if (!insideTable(table, row, column)) return;
    QTableWidgetItem* item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        table->setItem(row, column, item);
    }
    item->setTextAlignment(int((horizontal & kHorizontalMask) | Qt::AlignVCenter));
}

void setColumnsAlignment(QTableWidget* table, int first, int last, Qt::Alignment horizontal) {
    first = std::max(first, 0);
    last = std::min(last, table->columnCount() - 1);
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = first; c <= last; ++c)
            setCellAlignment(table, r, c, horizontal);
    }
}

QComboBox* makeCombo(const QStringList& texts, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->addItems(texts);
    return combo;
}

QLineEdit* makeNumberEdit(const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setLayoutDirection(Qt::RightToLeft);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}
