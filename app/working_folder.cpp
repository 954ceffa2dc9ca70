#include "working_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool is_writable_folder(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && fs::is_directory(folder, ec) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

std::string user_data_folder(const char* xdg_data_home, const char* home) {
    // A relative XDG_DATA_HOME is invalid and ignored, as the base-directory rules say.
    if (xdg_data_home && fs::path(xdg_data_home).is_absolute())
        return (fs::path(xdg_data_home) / "brimvale").string();
    if (home && *home) return (fs::path(home) / ".local/share/brimvale").string();
    return {};
}

std::string writable_working_folder(const std::string& current, const std::string& data_folder) {
    if (is_writable_folder(current) || data_folder.empty()) return current;
    std::error_code ec;
    fs::create_directories(data_folder, ec);
    return is_writable_folder(data_folder) ? data_folder : current;
}

std::string enter_writable_working_folder() {
    std::error_code ec;
    const std::string current = fs::current_path(ec).string();
    const std::string folder = writable_working_folder(
        current, user_data_folder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    if (folder != current) fs::current_path(folder, ec);
    return ec ? current : folder;
}
