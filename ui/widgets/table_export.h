// CSV writers for result tables: one table per file, or several titled sections in one file.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

class QTableWidget;

// Section title -> table. The map orders its titles by bytes, which is the order the sections are
// written in ("Delta", "Gamma", "TV").
using TableSections = QMap<QByteArray, QTableWidget*>;

// Writes the header line and one line per row, fields joined by ",". Commas are dropped from
// every text and line feeds from the header, nothing is quoted; a column without a header item
// is written with the number the table shows for it, a missing cell as an empty field. The file is
// replaced only once it is written whole. Shows a box and returns false when the table has no rows
// or no columns, or the file cannot be opened or written; the earlier file is then kept.
[[nodiscard]] bool exportTableToCsv(const QTableWidget* table, const QString& fileName);

// Writes each non-empty section as its title line, the table as above and two empty lines.
// Absent and empty tables are skipped; when nothing is left to write the file is not touched and
// the empty-table box is shown.
[[nodiscard]] bool exportTablesToCsv(TableSections sections, const QString& fileName);
