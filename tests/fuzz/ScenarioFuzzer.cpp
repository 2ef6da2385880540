// libFuzzer target: the input is a scenario script. It runs line by line through the scenario
// runner, so the real window (headless) meets random sequences of events, odd values, failing
// members, typing, clicks, keys and boxes held open. After every step the transcript and the
// window's state are checked against the rules in ScenarioInvariants; a broken rule aborts with
// the transcript so far.
#include "tests/fuzz/ScenarioInvariants.h"

#include "app/Form1.h"
#include "tools/scenario/ScenarioRunner.h"

#include <QApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace {

// Enough for long interleavings while keeping each run short.
constexpr int maxSteps = 64;
// An access key clicks its button only after a 100 ms press animation, which the runner waits
// for; more keys per input would only slow the search down.
constexpr int maxAccessKeys = 2;

// Steps run inside an access nest handlers, which the invariants do not follow yet.
bool holdsForAnAccess(std::string_view line)
{
    try {
        const std::optional<scenario::Step> step = scenario::parseStep(line);
        return step
               && (std::holds_alternative<scenario::WhileCall>(step->action)
                   || std::holds_alternative<scenario::And>(step->action));
    } catch (const scenario::ScriptError &) {
        return false;
    }
}

bool pressesKeys(std::string_view line)
{
    try {
        const std::optional<scenario::Step> step = scenario::parseStep(line);
        if (!step)
            return false;
        if (std::holds_alternative<scenario::PressKeys>(step->action))
            return true;
        const auto *held = std::get_if<scenario::WhileBox>(&step->action);
        return held && std::holds_alternative<scenario::PressKeys>(held->held->action);
    } catch (const scenario::ScriptError &) {
        return false;
    }
}

class Run
{
public:
    void step(std::string_view line) { m_runner.runLine(line); }
    void finish() { m_runner.finish(); }

    void check()
    {
        const std::string text = m_transcript.str();
        std::optional<fuzz::WindowState> state;
        if (const app::Form1 *form = m_runner.form())
            state = fuzz::stateOf(*form);
        const std::string broken =
            m_invariants.check(std::string_view(text).substr(m_checked), state);
        if (!broken.empty()) {
            std::fprintf(stderr, "broken rule: %s\n--- transcript ---\n%s--- end ---\n",
                         broken.c_str(), text.c_str());
            std::abort();
        }
        m_checked = text.size();
    }

private:
    std::ostringstream m_transcript;
    scenario::ScenarioRunner m_runner{m_transcript};
    fuzz::ScenarioInvariants m_invariants;
    std::size_t m_checked = 0;
};

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
    Run run;
    int steps = 0;
    int keys = 0;
    while (!script.empty() && steps < maxSteps) {
        const std::size_t end = script.find('\n');
        const std::string_view line = script.substr(0, end);
        script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
        if ((pressesKeys(line) && ++keys > maxAccessKeys) || holdsForAnAccess(line))
            continue;
        try {
            run.step(line);
        } catch (const scenario::ScriptError &) {
            break; // the tool stops at a malformed line too
        }
        run.check();
        ++steps;
    }
    run.finish();
    run.check();
    return 0;
}
