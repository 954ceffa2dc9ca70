#include "table_export.h"

#include <QFile>
#include <QObject>
#include <QTableWidget>
#include <QTextStream>

#include "dialogs.h"

namespace {

bool hasCells(const QTableWidget* table) {
    return table && table->rowCount() > 0 && table->columnCount() > 0;
}

// A column without a header item is written with the label the table shows for it (its number),
// a missing cell as an empty field.
QString headerText(const QTableWidget* table, int column) {
    QString text = table->model()->headerData(column, Qt::Horizontal).toString();
    return text.remove(QLatin1Char(',')).remove(QLatin1Char('\n'));
}

QString cellText(const QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    QString text = item ? item->text() : QString();
    return text.remove(QLatin1Char(','));
}

void writeTable(QTextStream& out, const QTableWidget* table) {
    QStringList fields;
    for (int c = 0; c < table->columnCount(); ++c)
        fields << headerText(table, c);
    out << fields.join(QLatin1Char(',')) << '\n';
    for (int r = 0; r < table->rowCount(); ++r) {
        fields.clear();
        for (int c = 0; c < table->columnCount(); ++c)
            fields << cellText(table, r, c);
        out << fields.join(QLatin1Char(',')) << '\n';
    }
}

void reportEmpty() {
    Dialogs::critical(nullptr, Dialogs::errorTitle(), QStringLiteral("试图导出空表。"));
}

// Text mode gives the platform's line ends; the stream writes the locale's encoding, no BOM.
bool openForWriting(QFile& file) {
    if (file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate)) return true;
    Dialogs::critical(nullptr, Dialogs::cannotOpenFileTitle(), file.fileName());
    return false;
}

}  // namespace

// Emptiness is checked before the file is opened so that a refused export neither leaves an
// empty file behind nor truncates one the user saved earlier.
bool exportTableToCsv(const QTableWidget* table, const QString& fileName) {
    if (!hasCells(table)) {
        reportEmpty();
        return false;
    }
    QFile file(fileName);
    if (!openForWriting(file)) return false;
    QTextStream out(&file);
    writeTable(out, table);
    out.flush();
    return out.status() == QTextStream::Ok;
}

bool exportTablesToCsv(TableSections sections, const QString& fileName) {
    for (auto it = sections.begin(); it != sections.end();) {
        it = hasCells(it.value()) ? std::next(it) : sections.erase(it);
    }
    if (sections.isEmpty()) {
        reportEmpty();
        return false;
    }
    QFile file(fileName);
    if (!openForWriting(file)) return false;
    QTextStream out(&file);
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        out << QString::fromLatin1(it.key()) << '\n';
        writeTable(out, it.value());
        out << "\n\n";
    }
    out.flush();
    return out.status() == QTextStream::Ok;
}
