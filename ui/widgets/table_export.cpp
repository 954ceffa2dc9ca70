#include "table_export.h"

#include <QObject>
#include <QSaveFile>
#include <QTableWidget>
#include <QTextStream>

#include "dialogs.h"
#include "file_report.h"

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

// The file is written beside the target and renamed over it only when complete, so a failed
// export keeps the file saved before. Text mode gives the platform's line ends; the stream writes
// the locale's encoding, no BOM. Failures are shown in a box naming the file.
template <typename Write>
bool saveWhole(const QString& fileName, Write write) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return reportFileWrite(nullptr, FileWriteStatus::OpenFailed, fileName);
    QTextStream out(&file);
    write(out);
    out.flush();
    if (out.status() != QTextStream::Ok) file.cancelWriting();
    const bool saved = file.commit();
    return reportFileWrite(nullptr, saved ? FileWriteStatus::Ok : FileWriteStatus::WriteFailed,
                           fileName);
}

}  // namespace

// Emptiness is checked before the file is opened so that a refused export neither leaves an
// empty file behind nor replaces one the user saved earlier.
bool exportTableToCsv(const QTableWidget* table, const QString& fileName) {
    if (!hasCells(table)) {
        reportEmpty();
        return false;
    }
    return saveWhole(fileName, [table](QTextStream& out) { writeTable(out, table); });
}

bool exportTablesToCsv(TableSections sections, const QString& fileName) {
    for (auto it = sections.begin(); it != sections.end();) {
        it = hasCells(it.value()) ? std::next(it) : sections.erase(it);
    }
    if (sections.isEmpty()) {
        reportEmpty();
        return false;
    }
    return saveWhole(fileName, [&sections](QTextStream& out) {
        for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
            out << QString::fromLatin1(it.key()) << '\n';
            writeTable(out, it.value());
            out << "\n\n";
        }
    });
}
