// Where the save dialogs start: <baseDir>/data/download, written with the platform's separator.
#pragma once

#include <QString>

// The base folder: set by setBaseDir, else the environment variable BRIMVALE_BASE_DIR, else the
// user's documents folder followed by "Brimvale-Pro".
QString baseDir();
// Overrides the base folder for the rest of the process (an empty text restores the default).
void setBaseDir(const QString& dir);

// The download folder; it is created when it does not exist yet, so a default export can open
// its file.
QString downloadDir();
// A file in the download folder (the folder is created as above).
QString downloadFilePath(const QString& fileName);
