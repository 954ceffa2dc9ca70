// The program's own texts in tests: written in UTF-8 in the sources, printed readably on failure.
#pragma once

#include <ostream>

#include <QString>

inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
