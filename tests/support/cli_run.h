// brimvale-cli run as a child process, as a user runs it: its exit status and both output streams.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "temp_dir.h"

struct CliRun {
    int exit_code = -1;  // -1 when the tool did not exit normally
    std::string out;     // standard output
    std::string err;     // standard error
};

// Runs `brimvale-cli ARGS` through the shell, so ARGS may redirect standard input.
inline CliRun run_cli(const std::string& args) {
    TempDir dir;
    const std::string command = "'" BRIMVALE_BIN_DIR "/brimvale-cli' " + args + " >'" +
                                dir.file("out") + "' 2>'" + dir.file("err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempDir::read(dir.file("out")),
            TempDir::read(dir.file("err"))};
}
