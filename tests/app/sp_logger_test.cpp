#include "sp_logger.h"

#include <ctime>
#include <filesystem>
#include <regex>
#include <string>

#include <gtest/gtest.h>
#include <spdlog/spdlog.h>

#include "temp_dir.h"

namespace {

std::string today_suffix() {
    std::time_t now = std::time(nullptr);
    std::tm tm = *std::localtime(&now);
    char buf[32];
    std::snprintf(buf, sizeof buf, "_%04d-%02d-%02d.log", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday);
    return buf;
}

struct LoggedFile {
    TempDir dir;
    SpLogger log;
    std::string base = dir.file("log/Brimvale");
    std::string path = base + today_suffix();

    LoggedFile() { EXPECT_TRUE(log.init(base.c_str())); }
    std::string contents() {
        log.logger->flush();
        return TempDir::read(path);
    }
};

}  // namespace

TEST(SpLogger, LogsNothingBeforeInitAndIgnoresUnknownLevels) {
    SpLogger fresh;
    EXPECT_FALSE(sp_printf(&fresh, 2, "dropped %d", 1));

    LoggedFile f;
    EXPECT_TRUE(sp_printf(&f.log, 9, "level nine"));
    EXPECT_TRUE(sp_printf(&f.log, -1, "level minus one"));
    EXPECT_EQ(f.contents().find("level"), std::string::npos);
}

TEST(SpLogger, DropsTraceAndDebugAtTheLoggerAndKeepsInfo) {
    LoggedFile f;
    sp_printf(&f.log, 0, "Calendar(%d) is created.", 0);
    sp_printf(&f.log, 1, "debug line");
    sp_printf(&f.log, 2, "info line %s", "kept");
    const std::string text = f.contents();
    EXPECT_EQ(text.find("Calendar(0)"), std::string::npos);
    EXPECT_EQ(text.find("debug line"), std::string::npos);
    EXPECT_NE(text.find("info line kept"), std::string::npos);
}

TEST(SpLogger, WritesThePatternWithCrLfAndBracesAsTheyAre) {
    LoggedFile f;
    sp_printf(&f.log, 2, "{} {:d} %s", "x");
    const std::string text = f.contents();
    const std::regex line(R"(\[\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}\]\[I\]\[\d+\] \{\} \{:d\} x\r\n)");
    EXPECT_TRUE(std::regex_search(text, line)) << text;
}

TEST(SpLogger, CutsAMessageToItsFirst511Characters) {
    LoggedFile f;
    const std::string long_text(600, 'a');
    sp_printf(&f.log, 2, "%s", long_text.c_str());
    const std::string text = f.contents();
    EXPECT_NE(text.find(std::string(511, 'a') + "\r\n"), std::string::npos);
    EXPECT_EQ(text.find(std::string(512, 'a')), std::string::npos);
}

TEST(SpLogger, ErrorAndCriticalRecordsAreOnDiskWhenTheCallReturns) {
    LoggedFile f;
    sp_printf(&f.log, 4, "BASE day exceeds calendar.");
    EXPECT_NE(TempDir::read(f.path).find("[E]"), std::string::npos);
    sp_printf(&f.log, 5, "CANT load Calendar from %s.", "x.csv");
    EXPECT_NE(TempDir::read(f.path).find("[C]"), std::string::npos);
}

TEST(SpLogger, NamesTheDailyFileWithFourDigitYearAndTwoDigitMonthAndDay) {
    LoggedFile f;
    sp_printf(&f.log, 4, "x");
    const std::string name = std::filesystem::path(f.path).filename().string();
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(Brimvale_\d{4}-\d\d-\d\d\.log)"))) << name;
    EXPECT_TRUE(std::filesystem::exists(f.path));
}

TEST(SpLogger, SecondInitOnTheSameDayAppends) {
    TempDir dir;
    const std::string base = dir.file("log/Brimvale");
    {
        SpLogger first;
        first.init(base.c_str());
        sp_printf(&first, 4, "first run");
    }
    SpLogger second;
    second.init(base.c_str());
    sp_printf(&second, 4, "second run");
    const std::string text = TempDir::read(base + today_suffix());
    EXPECT_NE(text.find("first run"), std::string::npos);
    EXPECT_NE(text.find("second run"), std::string::npos);
}

TEST(SpLogger, EmptyBaseNameWritesSpFilesInTheWorkingDirectory) {
    TempDir dir;
    {
        InDirectory in(dir.path());
        SpLogger log;
        EXPECT_TRUE(log.init(""));
        sp_printf(&log, 4, "into sp");
    }
    EXPECT_NE(TempDir::read(dir.file("sp" + today_suffix())).find("into sp"), std::string::npos);
}

TEST(SpLogger, UnopenableLogFileFallsBackToTheConsole) {
    TempDir dir;
    dir.write("blocker", "a file where the log directory should be");
    const std::string base = dir.file("blocker/log/Brimvale");
    SpLogger log;
    EXPECT_FALSE(log.init(base.c_str()));
    ASSERT_TRUE(log.logger);
    EXPECT_EQ(log.logger->sinks().size(), 1u);
    EXPECT_TRUE(sp_printf(&log, 2, "still logging"));
}
