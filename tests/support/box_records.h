// The boxes a Dialogs::Recorder kept, compared whole (kind, title and text) and printed readably.
#pragma once

#include <ostream>

#include "dialogs.h"

namespace Dialogs {

inline bool operator==(const Record& a, const Record& b) {
    return a.kind == b.kind && a.title == b.title && a.text == b.text;
}

inline void PrintTo(const Record& box, std::ostream* os) {
    *os << "{kind " << static_cast<int>(box.kind) << ", \"" << box.title.toStdString() << "\", \""
        << box.text.toStdString() << "\"}";
}

}  // namespace Dialogs

// The box a failure shows.
inline Dialogs::Record criticalBox(const QString& title, const QString& text) {
    return {Dialogs::Kind::Critical, title, text};
}
