#pragma once

#include "form/SessionTaps.h"
#include "trace/OutputFile.h"
#include "trace/RecordedBlock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace trace {

// Writes a session as a scenario script that runs to the same transcript without the control
// it ran against: the control's answers and failures as `value` and `fail`, its events as
// `event`, held by `while-call` or `while-box` where they came inside an access or while a
// box was open, and the user's actions as `type`, `click` and `dblclick`, each step with its
// time as a comment. It sees only what crosses the boundary and what the user does, so it
// records the simulation, the scripted control and the control host alike. Each step is
// written once it has ended, so an error, a crash of the control or the window's close
// still leave every step up to then.
class SessionRecorder final : private form::FormObserver
{
public:
    using Clock = std::function<std::string()>;

    // clock: the time text of each step's comment; by default the local time of day.
    explicit SessionRecorder(std::unique_ptr<std::ostream> out, Clock clock = {},
                             WriteWatch::Report report = {});
    ~SessionRecorder() override;

    // Around the window's control and dialogs, and on the window.
    form::SessionTap tap();

private:
    class Control;
    class Events;
    class Boxes;

    struct Context
    {
        enum class Kind { Access, Box, Report };
        Kind kind;
        std::size_t index;
    };

    void stepBegins(std::string step);
    void stepEnds();
    void accessBegins(std::int32_t dispId);
    void accessEnds(Outcome outcome);
    void boxOpens();
    void reportOpens();
    void closes(Context::Kind kind);
    void hold(std::string step);
    void beginBlock(std::optional<std::string> step);
    RecordedBlock &openBlock();
    // Writes the block once no step, access, box or report of it runs any more.
    void writeBlockOnceEnded();
    void writeBlock();
    void writeTyped();
    void write(const std::vector<std::string> &lines);

    // FormObserver: the window's own changes replay by themselves.
    void lineAdded(const std::u16string &) override {}
    void listCleared() override {}
    void captionSet(form::Control, const std::u16string &) override {}
    void enabledSet(form::Control, bool) override {}
    void textSet(form::Control, const std::u16string &) override {}
    void checkSet(form::Control, int) override {}
    void unloaded() override { m_unloaded = true; }
    void userActing(const form::UserAction &action) override;
    void userActed() override;

    std::unique_ptr<std::ostream> m_out;
    WriteWatch m_watch;
    Clock m_clock;
    ScriptedAnswers m_answers;
    std::optional<RecordedBlock> m_block;
    std::string m_blockTime;
    int m_stepsRunning = 0;
    std::vector<Context> m_contexts;
    std::uint64_t m_accessesEnded = 0;
    std::vector<bool> m_actionsBegunAStep;
    // The user's typing since the last step, field by field: only the text a step meets counts.
    std::vector<std::pair<form::Control, std::u16string>> m_typed;
    bool m_windowOpen = false; // whether a replay has created the window by now
    bool m_unloaded = false;
};

} // namespace trace
