#pragma once

#include "form/Dialogs.h"
#include "form/SessionTaps.h"
#include "phone/scripted/ScriptedControl.h"
#include "tools/scenario/ControlUnderScript.h"
#include "tools/scenario/Script.h"
#include "trace/TranscriptWriter.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class QEventLoop;
class QKeySequence;
class QWidget;

namespace app {
class Form1;
}

namespace scenario {

// What ended a run before its last step: a check that did not hold (exit status 1), or a
// control that could no longer be reached (3).
struct RunFailure
{
    enum class Kind { Check, ControlLost };
    Kind kind;
    int line;            // the script line of the step that ran
    std::string message; // for standard error, after "FILE:LINE: "
};

// Told of each check as it ends: nullopt when it held, else why not.
using CheckListener = std::function<void(int line, const std::optional<std::string> &failure,
                                         std::chrono::milliseconds took)>;

// Runs a script against the real Form1 and a scripted control, printing the transcript.
// Boxes are recorded instead of shown, so nothing ever waits for a person.
class ScenarioRunner : private form::Dialogs, private trace::TranscriptWriter
{
public:
    // Against the stand-in control in this process.
    explicit ScenarioRunner(std::ostream &transcript);
    // Against `control`, which traces the window's accesses to the same transcript.
    ScenarioRunner(std::ostream &transcript, std::unique_ptr<ControlUnderScript> control);
    ~ScenarioRunner() override;

    // Puts a recording's or a trace's tap between the window and the control; before the
    // first step.
    void tap(form::SessionTap tap) { m_taps.push_back(std::move(tap)); }

    // Runs one script line; throws ScriptError for a line that cannot be run. `lineNumber`
    // names it where a check fails.
    void runLine(std::string_view line, int lineNumber = 0);
    // Runs a step read before; throws ScriptError when no step may run any more (the window
    // has been unloaded, as after a failed check).
    void runStep(const Step &step, int lineNumber);
    // Set once a check failed or the control was lost: the window has been unloaded, and the
    // run is over.
    const std::optional<RunFailure> &failure() const { return m_failure; }
    void onCheck(CheckListener listener) { m_onCheck = std::move(listener); }
    // Creates the window if the script never needed it.
    void finish();

    app::Form1 *form() const { return m_form.get(); }
    // The stand-in of a runner made without a control of its own.
    phone::scripted::ScriptedControl &control();

private:
    // The steps one box or one access holds: a while-box's or while-call's and each `and`'s.
    struct HeldStep
    {
        std::shared_ptr<const Step> step;
        int line;
    };
    using HeldSteps = std::vector<HeldStep>;

    void run(const Step &step, int line);
    void hold(const Action &action, int line);
    void runHeld(const HeldSteps &steps);
    void insideAccess(std::int32_t dispId);
    void perform(const Action &action, int line);
    void wait(std::chrono::milliseconds duration, int line);
    void waitLine(const WaitLine &step, int line);
    void expect(const Expect &step, int line);
    std::u16string shownValue(form::Control control) const;
    // Handles the window's events until `done` says so, the time is up or the control is lost.
    void handleEvents(std::chrono::milliseconds timeout, int line,
                      const std::function<bool()> &done);
    void checkEnded(int line, std::optional<std::string> failure,
                    std::chrono::milliseconds took = {});
    void endWith(RunFailure failure);
    void ensureWindow();
    void pressKeys(const QKeySequence &keys);
    void waitForAnimatedClicks();
    void dump();
    QWidget *widget(form::Control control) const;

    // Dialogs
    void messageBox(const std::u16string &prompt, form::BoxStyle style,
                    const std::optional<std::u16string> &title) override;
    void errorReport(const phone::Error &error) override;

    // TranscriptWriter: the log's lines are watched for wait-line; once the window has gone, no
    // step may follow.
    void lineAdded(const std::u16string &line) override;
    void unloaded() override;

    std::ostream &m_out;
    std::unique_ptr<ControlUnderScript> m_control;
    LocalControl *m_local = nullptr;
    std::vector<form::SessionTap> m_taps;
    std::unique_ptr<form::TappedSession> m_session;
    std::unique_ptr<app::Form1> m_form;
    std::deque<std::shared_ptr<HeldSteps>> m_heldByBoxes;
    std::map<std::int32_t, std::deque<std::shared_ptr<HeldSteps>>> m_heldByCalls;
    // What the step just before holds, while that was a holding step: where `and` adds to.
    std::shared_ptr<HeldSteps> m_lastHeld;
    bool m_unloaded = false;
    // The log's lines since the one the last successful wait-line matched.
    std::deque<std::u16string> m_unmatchedLines;
    QEventLoop *m_waiting = nullptr;
    std::optional<RunFailure> m_failure;
    CheckListener m_onCheck;
};

} // namespace scenario
