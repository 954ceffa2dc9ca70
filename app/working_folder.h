// Where the desktop program writes what it names by a relative path (its daily log, the default
// exports): the working directory when the user may write there, else the user's own data
// folder. An installed program started from a menu may stand in a system folder.
#pragma once

#include <string>

// The user's data folder for the program: $XDG_DATA_HOME/brimvale when that variable holds an
// absolute path, else <home>/.local/share/brimvale; empty when neither is known.
std::string user_data_folder(const char* xdg_data_home, const char* home);

// current when the user may write there; else data_folder, created when missing; else current.
std::string writable_working_folder(const std::string& current, const std::string& data_folder);

// Makes writable_working_folder(the working directory, the user's data folder from the
// environment) the working directory and returns it (empty when there is no working directory).
std::string enter_writable_working_folder();
