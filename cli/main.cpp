// brimvale-cli: the engine, the calendar and the analyses from the command line.
#include <cstdio>
#include <cstring>

#include "command_registry.h"
#include "sp_logger.h"

namespace {

void print_overview() {
    std::printf("usage: brimvale-cli COMMAND [ARGS...]\n\ncommands:\n");
    for (const CliCommand& c : registered_commands())
        std::printf("  %-10s %s\n", c.name, c.summary);
    std::printf("\n'brimvale-cli COMMAND --help' describes a command.\n");
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
    SpLogger::instance().init(nullptr, SpLogger::Console::Stderr);
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
