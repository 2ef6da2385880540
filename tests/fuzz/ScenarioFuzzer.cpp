// libFuzzer target: the input is a scenario script. It runs line by line through the scenario
// runner, so the real window (headless) meets random sequences of events, odd values, failing
// members, typing, clicks, keys, boxes held open and steps held inside the window's accesses.
// After every step the transcript and the window's state are checked against the rules in
// ScenarioInvariants; a broken rule aborts with the transcript so far. At the end the run's
// recording is replayed and must print the same transcript.
#include "tests/fuzz/CheckedScenario.h"

#include <QApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Enough for long interleavings while keeping each run short.
constexpr int maxSteps = 64;
// An access key clicks its button only after a 100 ms press animation, which the runner waits
// for; more keys per input would only slow the search down.
constexpr int maxAccessKeys = 2;

// A held step presses keys as well when the step it holds does.
bool pressesKeys(std::string_view line)
{
    try {
        const std::optional<scenario::Step> step = scenario::parseStep(line);
        if (!step)
            return false;
        const scenario::Action *action = &step->action;
        if (const auto *held = std::get_if<scenario::WhileBox>(action))
            action = &held->held->action;
        else if (const auto *held = std::get_if<scenario::WhileCall>(action))
            action = &held->held->action;
        else if (const auto *held = std::get_if<scenario::And>(action))
            action = &held->held->action;
        return std::holds_alternative<scenario::PressKeys>(*action);
    } catch (const scenario::ScriptError &) {
        return false;
    }
}

void check(fuzz::CheckedScenario &run)
{
    const std::string broken = run.check();
    if (!broken.empty()) {
        std::fprintf(stderr,
                     "broken rule: %s\n--- transcript, indented by nesting ---\n%s--- end ---\n",
                     broken.c_str(), run.transcript().c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    // Never destroyed: libFuzzer leaves through exit(), after which Qt's own globals are gone
    // and an application object destroyed then would crash.
    new QApplication(qtArgc, qtArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view script(reinterpret_cast<const char *>(data), size);
    fuzz::CheckedScenario run;
    int steps = 0;
    int keys = 0;
    while (!script.empty() && steps < maxSteps) {
        const std::size_t end = script.find('\n');
        const std::string_view line = script.substr(0, end);
        script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
        if (pressesKeys(line) && ++keys > maxAccessKeys)
            continue;
        try {
            run.step(line);
        } catch (const scenario::ScriptError &) {
            break; // the tool stops at a malformed line too
        }
        check(run);
        ++steps;
        if (run.ended())
            break; // a check that failed ends the run, as in the tool
    }
    run.finish();
    check(run);
    const std::string differs = run.replayDiffers();
    if (!differs.empty()) {
        std::fprintf(stderr, "%s\n--- transcript, indented by nesting ---\n%s--- end ---\n",
                     differs.c_str(), run.transcript().c_str());
        std::abort();
    }
    return 0;
}
