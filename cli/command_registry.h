// The sub-commands of brimvale-cli. Each command's source file registers itself.
#pragma once

#include <string>
#include <vector>

struct CliCommand {
    const char* name;
    const char* summary;                // one line for the overview
    int (*run)(int argc, char** argv);  // argv[0] is the command's name
};

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNoResult = 1;  // the engine could not compute the result
inline constexpr int kExitBadInput = 2;  // malformed input or arguments

// The failure line of a command whose product the engine cannot price.
inline constexpr const char* kUnpricedProduct = "the product cannot be priced with these terms";

bool register_command(const CliCommand& command);
const std::vector<CliCommand>& registered_commands();
