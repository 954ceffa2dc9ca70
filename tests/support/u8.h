// The program's own texts in the tests: UTF-8 source text as a QString.
#pragma once

#include <QString>

inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}
