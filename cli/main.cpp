// brimvale-cli: the engine, the calendar and the analyses from the command line.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "command_registry.h"
#include "sp_logger.h"

namespace {

void print_overview() {
    std::printf("usage: brimvale-cli COMMAND [ARGS...]\n\ncommands:\n");
    for (const CliCommand& c : registered_commands())
        std::printf("  %-10s %s\n", c.name, c.summary);
    std::printf(
        "\n'brimvale-cli COMMAND --help' describes a command.\n"
        "Every command exits 1 with a message on standard error when its result cannot be\n"
        "written to standard output or memory runs out.\n");
}

int run_command(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        print_overview();
        return argc < 2 ? kExitBadInput : kExitOk;
    }
    for (const CliCommand& c : registered_commands()) {
        if (!std::strcmp(c.name, argv[1])) return c.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "brimvale-cli: unknown command '%s'\n", argv[1]);
    return kExitBadInput;
}

// A result that never reached standard output is a failure, whatever the command computed.
int checked_output(int code) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return code;
    std::fprintf(stderr, "brimvale-cli: cannot write the result to standard output: %s\n",
                 errno != 0 ? std::strerror(errno) : "write error");
    return kExitNoResult;
}

void report_failure(const char* what) {
    std::string line = what;
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "brimvale-cli: %s\n", line.c_str());
}

}  // namespace

std::vector<CliCommand>& command_table() {
    static std::vector<CliCommand> table;
    return table;
}

bool register_command(const CliCommand& command) {
    command_table().push_back(command);
    return true;
}

const std::vector<CliCommand>& registered_commands() {
    return command_table();
}

int main(int argc, char** argv) {
    // Standard output carries the results only; the console log goes to standard error.
    // A closed standard output would be taken by the next file opened, and the result written
    // into that file.
    if (fcntl(STDOUT_FILENO, F_GETFD) == -1) {
        std::fprintf(stderr, "brimvale-cli: standard output is closed\n");
        return kExitNoResult;
    }
    try {
        SpLogger::instance().init(nullptr, SpLogger::Console::Stderr);
        return checked_output(run_command(argc, argv));
    } catch (const std::bad_alloc&) {
        report_failure("out of memory");
    } catch (const std::exception& e) {
        report_failure(e.what());
    } catch (...) {
        report_failure("unexpected failure");
    }
    return kExitNoResult;
}
