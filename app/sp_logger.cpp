#include "sp_logger.h"

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/ansicolor_sink.h>
#include <spdlog/sinks/daily_file_sink.h>
#include <spdlog/spdlog.h>

namespace {

constexpr const char* kPattern = "[%m-%d %H:%M:%S.%e][%^%L%$][%t] %v";
constexpr int kConsoleLevel = kLogInfo;
constexpr int kFileLevel = kLogTrace;
constexpr int kFlushLevel = kLogError;
constexpr int kFlushSeconds = 5;
constexpr size_t kMessageBuffer = 512;

std::shared_ptr<spdlog::sinks::sink> make_console_sink(SpLogger::Console console) {
    if (console == SpLogger::Console::Stderr)
        return std::make_shared<spdlog::sinks::ansicolor_stderr_sink_mt>();
    return std::make_shared<spdlog::sinks::ansicolor_stdout_sink_mt>();
}

// Opens today's file at once; a directory that cannot be created or a file that cannot be
// written yields no sink, and the caller logs to the console alone.
std::shared_ptr<spdlog::sinks::sink> make_file_sink(const std::string& file_name) {
    try {
        return std::make_shared<spdlog::sinks::daily_file_sink_mt>(file_name, 23, 59, false, 0);
    } catch (const spdlog::spdlog_ex&) {
        return nullptr;
    }
}

}  // namespace

SpLogger& SpLogger::instance() {
    static SpLogger logger;
    return logger;
}

bool SpLogger::init(const char* base_name, Console console) {
    std::shared_ptr<spdlog::sinks::sink> file_sink;
    bool file_ok = true;

    console_sink = make_console_sink(console);
    if (base_name != nullptr) {
        const std::string file_name = *base_name ? std::string(base_name) + ".log" : "sp.log";
        file_sink = make_file_sink(file_name);
        file_ok = file_sink != nullptr;
    }

    console_sink->set_level(static_cast<spdlog::level::level_enum>(kConsoleLevel));
    std::vector<spdlog::sink_ptr> sinks{console_sink};
    if (file_sink) {
        file_sink->set_level(static_cast<spdlog::level::level_enum>(kFileLevel));
        sinks.push_back(file_sink);
    }

    auto built = std::make_shared<spdlog::logger>("multi_sink", sinks.begin(), sinks.end());
    built->set_formatter(std::make_unique<spdlog::pattern_formatter>(
        kPattern, spdlog::pattern_time_type::local, std::string("\r\n")));
    built->flush_on(static_cast<spdlog::level::level_enum>(kFlushLevel));
    {
        std::lock_guard<std::mutex> guard(lock);
        logger = built;
    }
    spdlog::set_default_logger(built);
    spdlog::flush_every(std::chrono::seconds(kFlushSeconds));
    if (!file_ok) {
        sp_printf(this, kLogError, "Log file for %s cannot be opened; logging to the console only.",
                  *base_name ? base_name : "sp");
    }
    return file_ok;
}

bool sp_printf(SpLogger* log, int level, const char* format, ...) {
    std::lock_guard<std::mutex> guard(log->lock);
    char buffer[kMessageBuffer] = {};
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (!log->logger) return false;
    if (level >= kLogTrace && level <= kLogCritical) {
        log->logger->log(static_cast<spdlog::level::level_enum>(level),
                         spdlog::string_view_t(buffer));
    }
    return true;
}
