#pragma once

#include <optional>
#include <string_view>

namespace cli {

// What a program says about how it is called: its name and its usage lines, each starting
// with the name ("log_bench [--sizes N,N,...]"), with any explanation after them.
struct Usage
{
    std::string_view program;
    std::string_view text;
};

// The options every program of the bench answers alike: --help or -h print the usage to
// standard output, --version the version, and the program ends with 0. Returns that exit code
// when one of them was given anywhere among the arguments, nothing otherwise.
std::optional<int> answerCommonOptions(const Usage &usage, int argc, char **argv);

// For a program with no options of its own: answers the common options as
// answerCommonOptions does, and refuses any other argument that looks like an option (starts
// with "-") as wrongCall does. Returns the exit code when it did either, nothing otherwise.
std::optional<int> answerWithoutOwnOptions(const Usage &usage, int argc, char **argv);

// For a call the program cannot take: the problem and the usage go to standard error, and
// the program ends with the returned exit code, 2.
int wrongCall(const Usage &usage, std::string_view problem);

} // namespace cli
