#include "file_report.h"

#include <QDir>
#include <QFileInfo>

#include "dialogs.h"

bool reportFileWrite(QWidget* parent, FileWriteStatus status, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    if (status == FileWriteStatus::OpenFailed)
        Dialogs::critical(parent, Dialogs::cannotOpenFileTitle(), shown);
    if (status == FileWriteStatus::WriteFailed)
        Dialogs::critical(parent, Dialogs::writeFailedTitle(), shown);
    return status == FileWriteStatus::Ok;
}

void reportExported(QWidget* parent, const QString& path) {
    Dialogs::information(parent, QStringLiteral("导出完成："),
                         QStringLiteral("已保存到 %1")
                             .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
}
