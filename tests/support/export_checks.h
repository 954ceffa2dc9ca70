// Exports as a user meets them: a base folder of the test's own, the save dialog an export opens
// and the lines of the file it wrote.
#pragma once

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "dialogs.h"
#include "download_paths.h"
#include "temp_dir.h"

// A fresh folder that is the program's base folder while it lives.
class TempBaseDir : public TempDir {
  public:
    TempBaseDir() { setBaseDir(QString::fromStdString(path().string())); }
    ~TempBaseDir() { setBaseDir(QString()); }
};

// The save dialog of an export: its title, and a start path in the download folder naming a
// ".csv" file after `stem`.
inline void expectSaveDialog(const Dialogs::Record& box, const QString& title,
                             const QString& stem) {
    EXPECT_EQ(box.kind, Dialogs::Kind::SaveFile);
    EXPECT_EQ(box.title, title);
    EXPECT_TRUE(box.text.startsWith(downloadDir())) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(stem)) << box.text.toStdString();
    EXPECT_TRUE(box.text.endsWith(".csv")) << box.text.toStdString();
}

// The lines of an exported file, read as the panels write them (the local 8-bit encoding).
inline QStringList exportedLines(const QString& path) {
    return QString::fromLocal8Bit(QByteArray::fromStdString(TempDir::read(path.toStdString())))
        .split('\n');
}
