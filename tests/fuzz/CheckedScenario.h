#pragma once

#include "tests/fuzz/ScenarioInvariants.h"
#include "tools/scenario/ScenarioRunner.h"
#include "trace/SessionRecorder.h"

#include <memory>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

namespace fuzz {

// Collects a transcript with each line indented by two blanks for every handler of the window
// running when the line is written, so that rules can tell nested handlers apart.
class IndentedTranscript : public std::streambuf
{
public:
    void follow(const scenario::ScenarioRunner &runner) { m_runner = &runner; }
    const std::string &text() const { return m_text; }

protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char *characters, std::streamsize count) override;

private:
    void put(char character);

    const scenario::ScenarioRunner *m_runner = nullptr;
    std::string m_text;
    bool m_atLineStart = true;
};

// A scenario run line by line against the real window, whose transcript and state are
// checked against ScenarioInvariants after every top-level step, and which is recorded, so
// that its replay can be checked against it once it has ended.
class CheckedScenario
{
public:
    CheckedScenario();

    // Runs one line; throws scenario::ScriptError as the runner does.
    void step(std::string_view line) { m_runner.runLine(line); }
    // A check failed: the window has been unloaded, and no step may follow.
    bool ended() const { return m_runner.failure().has_value(); }
    void finish() { m_runner.finish(); }
    // The first broken rule since the last check, or an empty text.
    std::string check();
    const std::string &transcript() const { return m_transcript.text(); }
    // After finish(): what the replay of the run's recording printed otherwise than the run,
    // or an empty text.
    std::string replayDiffers() const;

private:
    IndentedTranscript m_transcript;
    std::ostream m_out{&m_transcript};
    std::stringbuf m_recording;
    // Before the runner, whose window holds on to its taps.
    trace::SessionRecorder m_recorder{std::make_unique<std::ostream>(&m_recording)};
    scenario::ScenarioRunner m_runner{m_out};
    ScenarioInvariants m_invariants;
    std::size_t m_checked = 0;
};

} // namespace fuzz
