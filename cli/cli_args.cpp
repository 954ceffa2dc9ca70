#include "cli_args.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool listed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

bool parse_cli_args(int argc, char** argv, const std::vector<std::string>& value_options,
                    const std::vector<std::string>& flag_options, CliArgs& out,
                    std::string& error) {
    bool have_file = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            if (listed(flag_options, arg)) {
                out.flags.insert(arg);
            } else if (listed(value_options, arg)) {
                if (i + 1 >= argc) {
                    error = arg + " needs a value";
                    return false;
                }
                if (!out.values.emplace(arg, argv[++i]).second) {
                    error = arg + " given twice";
                    return false;
                }
            } else {
                error = "unknown option " + arg;
                return false;
            }
        } else if (have_file) {
            error = "expected one FILE argument, got a second: " + arg;
            return false;
        } else {
            out.file = arg;
            have_file = true;
        }
    }
    return true;
}

namespace {

bool is_help(const char* arg) {
    return !std::strcmp(arg, "--help") || !std::strcmp(arg, "-h");
}

}  // namespace

bool wants_help(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (is_help(argv[i])) return true;
    return false;
}

bool shows_usage_first(int argc, char** argv, const char* usage) {
    if (argc < 2 || !is_help(argv[1])) return false;
    std::printf("%s", usage);
    return true;
}

bool parse_finite(const std::string& text, double& out) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool option_double(const CliArgs& args, const std::string& option, double& out,
                   std::string& error) {
    const std::string& text = args.values.at(option);
    if (parse_finite(text, out)) return true;
    error = option + " needs a finite number, got '" + text + "'";
    return false;
}

bool option_integer(const CliArgs& args, const std::string& option, int64_t lo, int64_t hi,
                    int64_t& out, std::string& error) {
    const std::string& text = args.values.at(option);
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || v < lo || v > hi) {
        error = option + " needs an integer from " + std::to_string(lo) + " to " +
                std::to_string(hi) + ", got '" + text + "'";
        return false;
    }
    out = v;
    return true;
}

StdoutToStderr::StdoutToStderr() {
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    if (saved_ >= 0) dup2(STDERR_FILENO, STDOUT_FILENO);
}

StdoutToStderr::~StdoutToStderr() {
    std::fflush(stdout);
    if (saved_ >= 0) {
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
}
