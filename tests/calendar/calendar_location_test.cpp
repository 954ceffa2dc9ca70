#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "temp_dir.h"
#include "trade_calendar.h"

namespace fs = std::filesystem;

// An installed layout in a temporary folder: a working directory, the executable's folder and the
// installed data folder, each empty until a step puts a calendar there.
TEST(CalendarLocation, WorkingDirectoryThenBesideTheExecutableThenTheInstalledDataFolder) {
    TempDir root;
    for (const char* folder : {"home", "usr/bin/data", "usr/share/brimvale"})
        fs::create_directories(root.path() / folder);
    InDirectory in(root.path() / "home");
    const std::vector<std::string> candidates =
        calendar_file_candidates(root.file("usr/bin"), root.file("usr/share/brimvale"));
    const auto found = [&] { return fs::path(locate_calendar_file(candidates)); };

    EXPECT_EQ(found(), "trade_calendar.csv") << "nowhere: the plain name, whose load fails";
    const std::string installed =
        root.write("usr/share/brimvale/trade_calendar.csv", "iDate\n20240102\n20240103\n");
    EXPECT_EQ(found(), installed);
    TradeCalendar calendar(1);
    ASSERT_TRUE(calendar.load(found().string()));
    EXPECT_EQ(calendar.dates.size(), 2u);

    EXPECT_EQ(found(), root.write("usr/bin/data/trade_calendar.csv", "iDate\n20240102\n"));
    EXPECT_EQ(found(), root.write("usr/bin/trade_calendar.csv", "iDate\n20240102\n"));
    fs::create_directory("trade_calendar.csv");
    EXPECT_EQ(found(), root.file("usr/bin/trade_calendar.csv"))
        << "a folder of that name is no file";
    fs::remove("trade_calendar.csv");
    root.write("home/trade_calendar.csv", "iDate\n20240102\n");
    EXPECT_EQ(found(), "trade_calendar.csv");
}
