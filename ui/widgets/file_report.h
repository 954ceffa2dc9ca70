// The boxes for the files the windows write: a failure names the file, an export the user asked
// for says where it went.
#pragma once

#include <QString>

#include "file_append.h"

class QWidget;

// Shows "无法打开文件:" or "写入文件失败:" with the path for a failure; true for Ok.
[[nodiscard]] bool reportFileWrite(QWidget* parent, FileWriteStatus status, const QString& path);
// The information box after an export the user asked for.
void reportExported(QWidget* parent, const QString& path);
