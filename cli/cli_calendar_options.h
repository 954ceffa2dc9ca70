// Argument helpers shared by the calendar and schedule commands.
#pragma once

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "trade_calendar.h"

namespace cli_calendar {

// A date argument: up to eight decimal digits, read as the yyyyMMdd integer. False otherwise.
inline bool parse_date(const char* text, int32_t& out) {
    const size_t n = std::strlen(text);
    if (n == 0 || n > 8) return false;
    for (size_t i = 0; i < n; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    out = int32_t(std::strtol(text, nullptr, 10));
    return true;
}

// A signed decimal integer of the int32 range. False otherwise.
inline bool parse_int(const char* text, int32_t& out) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < INT32_MIN || v > INT32_MAX) return false;
    out = int32_t(v);
    return true;
}

// Replaces the process-wide calendar by the given file; reports on standard error when it
// cannot be loaded, since a command run on another calendar than the one asked for would
// mislead.
inline bool use_calendar_file(const std::string& path) {
    if (path.empty()) {
        trade_calendar();
        return true;
    }
    if (trade_calendar().load(path)) return true;
    std::fprintf(stderr, "cannot load the trading calendar %s\n", path.c_str());
    return false;
}

}  // namespace cli_calendar
