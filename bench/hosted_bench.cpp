// The control host's cost, measured against the control in this process in the same run:
// a property read, and events end to end through Form1, each with the window's two label
// reads (ConnectionCount, LatestText) going back to the control while the event is out.
// Needs this build's Windows side and wine64; prepares the scenario tool's Wine prefix.
//
//   hosted_bench [--reads N] [--events N] [--rounds N]

#include "app/Form1.h"
#include "bench/QuietDialogs.h"
#include "cli/CommandLine.h"
#include "phone/Members.h"
#include "phone/remote/HostedControl.h"
#include "phone/scripted/ScriptIds.h"
#include "phone/scripted/ScriptedControl.h"
#include "tools/scenario/HostedScript.h"

#include <QApplication>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace script = phone::scripted::ids;

struct Options
{
    int reads = 20000;
    int events = 20000;
    int rounds = 5;
};

constexpr cli::Usage usage{"hosted_bench", "hosted_bench [--reads N] [--events N] [--rounds N]\n"
                                           "       hosted_bench --help | --version\n"
                                           "  --reads   count reads per round (default 20000)\n"
                                           "  --events  events per round (default 20000)\n"
                                           "  --rounds  rounds; the median counts (default 5)\n"};

// On a wrong argument, says which.
std::optional<Options> parse(int argc, char **argv, std::string *wrong)
{
    Options options;
    for (int i = 1; i < argc; i += 2) {
        *wrong = argv[i];
        if (i + 1 >= argc)
            return std::nullopt;
        char *end = nullptr;
        const long value = std::strtol(argv[i + 1], &end, 10);
        if (*end != '\0' || end == argv[i + 1])
            return std::nullopt;
        if (std::strcmp(argv[i], "--reads") == 0)
            options.reads = static_cast<int>(value);
        else if (std::strcmp(argv[i], "--events") == 0)
            options.events = static_cast<int>(value);
        else if (std::strcmp(argv[i], "--rounds") == 0)
            options.rounds = static_cast<int>(value);
        else
            return std::nullopt;
    }
    options.reads = std::max(options.reads, 1);
    options.events = std::max(options.events, 1);
    options.rounds = std::max(options.rounds, 1);
    return options;
}

// The median of `rounds` timings of `work`, in seconds.
double median(int rounds, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void readMany(phone::Dispatch &control, int count)
{
    for (int i = 0; i < count; ++i)
        control.getProperty(phone::dispid::ConnectionCount);
}

const phone::EventArguments idle{phone::Value{std::u16string(u"0301234")},
                                 phone::Value{std::u16string(u"4711")},
                                 phone::Value{std::int32_t{5}}};

void raiseMany(phone::remote::HostedControl &hosted, int count)
{
    std::array<phone::Argument, 5> arguments{
        phone::Argument{std::u16string(u"OnIdle")}, phone::Argument{std::int32_t{count}},
        phone::Argument{idle.callingNumber}, phone::Argument{idle.calledMSN},
        phone::Argument{idle.callID}};
    hosted.invoke(script::RaiseMany, arguments);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (const auto answered = cli::answerCommonOptions(usage, argc, argv))
        return *answered;
    std::string wrong;
    const std::optional<Options> parsed = parse(argc, argv, &wrong);
    if (!parsed)
        return cli::wrongCall(usage, "cannot take \"" + wrong + "\"");
    const Options options = *parsed;
    QApplication application(argc, argv);
    bench::QuietDialogs dialogs("hosted_bench");

    try {
        // In this process: the stand-in control.
        phone::scripted::ScriptedControl local;
        local.setAnswer(phone::dispid::ConnectionCount, phone::Value{std::int32_t{1}});
        local.setAnswer(phone::dispid::LatestText, phone::Value{std::u16string(u"Verbunden")});
        const double localRead =
            median(options.rounds, [&] { readMany(local, options.reads); }) / options.reads;
        double localEvents = 0;
        {
            app::Form1 form(local, dialogs);
            localEvents = median(options.rounds, [&] {
                for (int i = 0; i < options.events; ++i)
                    local.raiseEvent("OnIdle", idle);
            });
        }

        // Through the host under Wine: the scripted COM double, in place in the host's window.
        phone::remote::HostedControl hosted(
            scenario::prepareHostUnderWine(QApplication::applicationDirPath()), script::progIdText);
        std::array<phone::Argument, 2> answer{phone::Argument{phone::dispid::ConnectionCount},
                                              phone::Argument{std::int32_t{1}}};
        hosted.invoke(script::Answer, answer);
        answer = {phone::Argument{phone::dispid::LatestText},
                  phone::Argument{std::u16string(u"Verbunden")}};
        hosted.invoke(script::Answer, answer);
        readMany(hosted, 200); // warms the pipes and both processes
        const double hostedRead =
            median(options.rounds, [&] { readMany(hosted, options.reads); }) / options.reads;
        double hostedEvents = 0;
        {
            app::Form1 form(hosted, dialogs);
            hostedEvents = median(options.rounds, [&] { raiseMany(hosted, options.events); });
        }

        std::printf("Property read (ConnectionCount), median of %d rounds of %d:\n", options.rounds,
                    options.reads);
        std::printf("  in process (stand-in)     %10.3f µs\n", localRead * 1e6);
        std::printf("  through the host (Wine)   %10.3f µs   %.0f x in process\n", hostedRead * 1e6,
                    hostedRead / localRead);
        std::printf("Events through Form1 with both label reads, median of %d rounds of %d:\n",
                    options.rounds, options.events);
        std::printf("  in process (stand-in)     %10.0f events/s\n", options.events / localEvents);
        std::printf("  through the host (Wine)   %10.0f events/s   %.3f x in process\n",
                    options.events / hostedEvents, localEvents / hostedEvents);
        std::printf("Error reports: %d\n", dialogs.errors);
        return dialogs.errors == 0 ? 0 : 1;
    } catch (const phone::Error &error) {
        std::fprintf(stderr, "hosted_bench: %s\n", error.description().c_str());
        return 1;
    }
}
