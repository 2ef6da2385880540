#pragma once

#include "form/Dialogs.h"
#include "form/SessionTaps.h"
#include "phone/scripted/ScriptedControl.h"
#include "tools/scenario/ControlUnderScript.h"
#include "tools/scenario/Script.h"
#include "trace/TranscriptWriter.h"

#include <deque>
#include <map>
#include <memory>
#include <ostream>
#include <string_view>
#include <vector>

class QKeySequence;
class QWidget;

namespace app {
class Form1;
}

namespace scenario {

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

    // Runs one script line; throws ScriptError for a line that cannot be run.
    void runLine(std::string_view line);
    // Creates the window if the script never needed it.
    void finish();

    app::Form1 *form() const { return m_form.get(); }
    // The stand-in of a runner made without a control of its own.
    phone::scripted::ScriptedControl &control();

private:
    // The steps one box or one access holds: a while-box's or while-call's and each `and`'s.
    using HeldSteps = std::vector<std::shared_ptr<const Step>>;

    void run(const Step &step);
    void hold(const Action &action);
    void runHeld(const HeldSteps &steps);
    void insideAccess(std::int32_t dispId);
    void perform(const Action &action);
    void ensureWindow();
    void pressKeys(const QKeySequence &keys);
    void waitForAnimatedClicks();
    void dump();
    QWidget *widget(form::Control control) const;

    // Dialogs
    void messageBox(const std::u16string &prompt, form::BoxStyle style,
                    const std::optional<std::u16string> &title) override;
    void errorReport(const phone::Error &error) override;

    // TranscriptWriter: the window has gone, and no step may follow.
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
};

} // namespace scenario
