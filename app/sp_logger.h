// The process-wide log: a coloured console sink and a daily file sink behind one printf-style call.
#pragma once

#include <memory>
#include <mutex>

namespace spdlog {
class logger;
namespace sinks {
class sink;
}
}  // namespace spdlog

class SpLogger {
  public:
    // Where the console sink writes. The desktop program uses standard output;
    // the command-line tool keeps standard output for its results and logs to standard error.
    enum class Console { Stdout, Stderr };

    // The program's one logger; separate instances exist only in tests.
    static SpLogger& instance();

    // Builds the console and daily file sinks over "<base_name>.log" ("sp.log" when empty).
    // A null base_name builds the console sink only. When the log file cannot be opened the
    // logger keeps the console sink alone and init returns false; logging still works.
    bool init(const char* base_name, Console console = Console::Stdout);

    std::shared_ptr<spdlog::logger> logger;
    std::mutex lock;
    std::shared_ptr<spdlog::sinks::sink> console_sink;
};

// The levels sp_printf takes, in spdlog's order.
inline constexpr int kLogTrace = 0;
inline constexpr int kLogDebug = 1;
inline constexpr int kLogInfo = 2;
inline constexpr int kLogWarn = 3;
inline constexpr int kLogError = 4;
inline constexpr int kLogCritical = 5;

// Formats by the printf rules into at most 511 characters and logs it at level kLogTrace to
// kLogCritical. Returns false before init; any other level writes nothing and returns true.
bool sp_printf(SpLogger* log, int level, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
