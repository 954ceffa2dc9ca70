// brimvale-cli run as a child process, as a user runs it: its exit status and both output streams.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "temp_dir.h"

struct CliRun {
    int exit_code = -1;  // -1 when the command did not exit normally
    std::string out;     // standard output
    std::string err;     // standard error

    nlohmann::json json() const { return nlohmann::json::parse(out); }
};

// The tool, quoted for the shell.
inline std::string cli_path() {
    return "'" BRIMVALE_BIN_DIR "/brimvale-cli'";
}

// Runs a shell command line with its standard output and error caught in files, unless the line
// redirects them itself.
inline CliRun run_shell(const std::string& line) {
    TempDir dir;
    const std::string command = line + " >'" + dir.file("out") + "' 2>'" + dir.file("err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempDir::read(dir.file("out")),
            TempDir::read(dir.file("err"))};
}

// Runs `brimvale-cli ARGS`; ARGS may redirect standard input.
inline CliRun run_cli(const std::string& args) {
    return run_shell(cli_path() + " " + args);
}
