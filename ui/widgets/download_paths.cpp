#include "download_paths.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString& overrideDir() {
    static QString dir;
    return dir;
}

QString ensuredDownloadDir() {
    const QString dir = baseDir() + QStringLiteral("/data/download");
    // A folder that cannot be made is left to the export, which reports the file it cannot open.
    QDir().mkpath(dir);
    return dir;
}

}  // namespace

QString baseDir() {
    if (!overrideDir().isEmpty()) return overrideDir();
    const QString fromEnv = qEnvironmentVariable("BRIMVALE_BASE_DIR");
    if (!fromEnv.isEmpty()) return fromEnv;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           QStringLiteral("/Brimvale-Pro");
}

void setBaseDir(const QString& dir) {
    overrideDir() = dir;
}

QString downloadDir() {
    return QDir::toNativeSeparators(ensuredDownloadDir());
}

QString downloadFilePath(const QString& fileName) {
    return QDir::toNativeSeparators(ensuredDownloadDir() + QLatin1Char('/') + fileName);
}
