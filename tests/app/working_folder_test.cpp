#include "working_folder.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace fs = std::filesystem;

TEST(WorkingFolder, UserDataFolderFollowsXdgDataHomeElseTheHomeFolder) {
    EXPECT_EQ(user_data_folder("/x/data", "/home/u"), "/x/data/brimvale");
    EXPECT_EQ(user_data_folder("relative", "/home/u"), "/home/u/.local/share/brimvale");
    EXPECT_EQ(user_data_folder("", "/home/u"), "/home/u/.local/share/brimvale");
    EXPECT_EQ(user_data_folder(nullptr, "/home/u"), "/home/u/.local/share/brimvale");
    EXPECT_EQ(user_data_folder(nullptr, nullptr), "");
}

TEST(WorkingFolder, KeepsAWritableFolderAndOtherwiseMakesTheUsersDataFolder) {
    TempDir dir;
    const std::string data = dir.file("share/brimvale");
    EXPECT_EQ(writable_working_folder(dir.path().string(), data), dir.path().string());
    EXPECT_FALSE(fs::exists(data));

    // A working directory that is gone (or that the user may not write to) gives way.
    const std::string gone = dir.file("gone");
    EXPECT_EQ(writable_working_folder(gone, data), data);
    EXPECT_TRUE(fs::is_directory(data));

    dir.write("file", "");
    EXPECT_EQ(writable_working_folder(gone, dir.file("file/brimvale")), gone)
        << "no usable data folder: stay where the program is";
    EXPECT_EQ(writable_working_folder(gone, ""), gone);
}
