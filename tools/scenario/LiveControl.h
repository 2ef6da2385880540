#pragma once

#include "phone/Contract.h"
#include "tools/scenario/ControlUnderScript.h"
#include "trace/TracedDispatch.h"

#include <QString>

#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace phone::remote {
class HostedControl;
}

namespace scenario {

// A control that answers and raises its events by itself: a script only watches it, through
// the window. Every access the window makes is printed before it is answered.
class LiveControl : public ControlUnderScript
{
public:
    phone::Dispatch &dispatch() override { return *m_traced; }
    bool live() const override { return true; }
    // The host's check of the control against the contract, where there is one.
    virtual std::optional<phone::contract::Finding> contract() const { return std::nullopt; }

    // A live run refuses these steps before it starts.
    void setAnswer(std::int32_t dispId, const phone::Value &value) override;
    void setFailing(std::int32_t dispId) override;
    void raiseEvent(std::string_view name, const phone::EventArguments &arguments) override;

protected:
    explicit LiveControl(std::ostream &transcript);
    // Before the window is given dispatch().
    void watch(phone::Dispatch &control);

private:
    std::ostream &m_transcript;
    std::optional<trace::TracedDispatch> m_traced;
};

// The simulated softphone on its real timers, run by the window's event loop. With a `caller`,
// its far side rings from that number a second after it is made, as a colleague would call a
// softphone under test.
std::unique_ptr<LiveControl> simulatedSoftphone(std::ostream &transcript,
                                                const std::u16string &caller = {});

// Where the real control is and how long its host may take to answer.
struct HostedControlOptions
{
    std::u16string progId;
    QString hostPath; // empty: tervani-host.exe beside the program
    std::chrono::milliseconds timeout;
};

// The control `options` names, in its host process as the bench starts it. Throws phone::Error
// with the German reason when the host cannot be started or the control not created.
std::unique_ptr<LiveControl> hostedControl(const HostedControlOptions &options,
                                           const QString &programDirectory,
                                           std::ostream &transcript);

} // namespace scenario
