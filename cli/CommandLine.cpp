#include "cli/CommandLine.h"

#include <cstdio>
#include <string>

namespace cli {

namespace {

void write(std::FILE *stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}

void writeUsage(std::FILE *stream, const Usage &usage)
{
    write(stream, "usage: ");
    write(stream, usage.text);
    if (!usage.text.empty() && usage.text.back() != '\n')
        write(stream, "\n");
    std::fflush(stream);
}

} // namespace

std::optional<int> answerCommonOptions(const Usage &usage, int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            writeUsage(stdout, usage);
            return 0;
        }
        if (argument == "--version") {
            write(stdout, std::string(usage.program) + " " TERVANI_VERSION "\n");
            std::fflush(stdout);
            return 0;
        }
    }
    return std::nullopt;
}

std::optional<int> answerWithoutOwnOptions(const Usage &usage, int argc, char **argv)
{
    if (const auto answered = answerCommonOptions(usage, argc, argv))
        return answered;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            return wrongCall(usage, "cannot take \"" + std::string(argv[i]) + "\"");
    }
    return std::nullopt;
}

int wrongCall(const Usage &usage, std::string_view problem)
{
    write(stderr, std::string(usage.program) + ": " + std::string(problem) + "\n");
    writeUsage(stderr, usage);
    return 2;
}

} // namespace cli
