// Small helpers that fill tables and make the form's fields, shared by the editor, the panels and
// the calculator window.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <Qt>

class QComboBox;
class QLineEdit;
class QTableWidget;
class QWidget;

// One column of a table: its header text, where it goes (-1: its place in the list) and its width
// in pixels.
struct TableColumn {
    QString title;
    qint16 position = -1;
    qint16 width = 0;
};

// Clears the table and gives it one centred header item and width per entry, ordered by position.
void setTableColumns(QTableWidget* table, const QList<TableColumn>& columns);
// Empties the table and refills it with rows x columns cells holding "-", right-aligned.
void resetTableRows(QTableWidget* table, int rows, int columns);
// Inserts a row at `row` (clamped to the table) whose cells hold "-" with the given alignment.
void insertPlaceholderRow(QTableWidget* table, int row, Qt::Alignment horizontal);
// Sets the alignment (vertically centred) of every cell of columns first..last, creating missing
// cells; indices outside the table are ignored.
void setColumnsAlignment(QTableWidget* table, int first, int last, Qt::Alignment horizontal);
// The same for one cell; nothing happens outside the table.
void setCellAlignment(QTableWidget* table, int row, int column, Qt::Alignment horizontal);

// A combo box holding the texts in order.
QComboBox* makeCombo(const QStringList& texts, QWidget* parent = nullptr);
// A form field: right-to-left, aligned right and vertically centred, holding the text.
QLineEdit* makeNumberEdit(const QString& text, QWidget* parent = nullptr);
