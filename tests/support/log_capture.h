// Records the lines the process-wide logger writes while it lives, with their levels.
#pragma once

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <spdlog/sinks/base_sink.h>
#include <spdlog/spdlog.h>

#include "sp_logger.h"

class LogCapture {
  public:
    struct Line {
        int level;
        std::string text;
        bool operator==(const Line& o) const { return level == o.level && text == o.text; }
    };

    LogCapture() {
        SpLogger& log = SpLogger::instance();
        if (!log.logger) log.init(nullptr, SpLogger::Console::Stderr);
        sink_ = std::make_shared<Sink>();
        log.logger->sinks().push_back(sink_);
        level_ = log.logger->level();
        log.logger->set_level(spdlog::level::trace);
    }
    ~LogCapture() {
        auto& sinks = SpLogger::instance().logger->sinks();
        sinks.erase(std::remove(sinks.begin(), sinks.end(), sink_), sinks.end());
        SpLogger::instance().logger->set_level(level_);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<Line>& lines() const { return sink_->lines; }
    void clear() { sink_->lines.clear(); }
    bool contains(const std::string& text) const {
        return std::any_of(lines().begin(), lines().end(),
                           [&](const Line& l) { return l.text.find(text) != std::string::npos; });
    }

  private:
    struct Sink : spdlog::sinks::base_sink<std::mutex> {
        std::vector<Line> lines;
        void sink_it_(const spdlog::details::log_msg& msg) override {
            lines.push_back({int(msg.level), std::string(msg.payload.data(), msg.payload.size())});
        }
        void flush_() override {}
    };
    std::shared_ptr<Sink> sink_;
    spdlog::level::level_enum level_ = spdlog::level::info;
};

inline std::ostream& operator<<(std::ostream& os, const LogCapture::Line& l) {
    return os << "[" << l.level << "] " << l.text;
}
