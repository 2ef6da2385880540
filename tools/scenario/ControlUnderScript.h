#pragma once

#include "phone/Dispatch.h"
#include "phone/scripted/ScriptedControl.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace scenario {

// The control a script drives the window against, and the steps that script it: what it
// answers, which member fails, which event it raises. Every access the window makes is
// printed to the transcript before it is answered; the scripting itself is not.
class ControlUnderScript
{
public:
    virtual ~ControlUnderScript() = default;

    // What the window is given.
    virtual phone::Dispatch &dispatch() = 0;

    virtual void setAnswer(std::int32_t dispId, const phone::Value &value) = 0;
    virtual void setFailing(std::int32_t dispId) = 0;
    virtual void raiseEvent(std::string_view name, const phone::EventArguments &arguments) = 0;

    // A live control answers and raises its events by itself, on its own time.
    virtual bool live() const { return false; }
    // Why the control can no longer be reached, once that is so (its host has gone).
    virtual std::optional<std::string> lost() const { return std::nullopt; }

    // Called with every access of the window once its line is printed and before the control
    // answers it, so that steps can run inside the access as a control's own events do.
    void onAccess(std::function<void(std::int32_t dispId)> hook) { m_onAccess = std::move(hook); }

protected:
    void accessed(std::int32_t dispId)
    {
        if (m_onAccess)
            m_onAccess(dispId);
    }

private:
    std::function<void(std::int32_t)> m_onAccess;
};

// The stand-in control in this process.
class LocalControl final : public ControlUnderScript
{
public:
    explicit LocalControl(std::ostream &transcript);

    phone::scripted::ScriptedControl &control() { return m_control; }

    phone::Dispatch &dispatch() override { return m_control; }
    void setAnswer(std::int32_t dispId, const phone::Value &value) override
    {
        m_control.setAnswer(dispId, value);
    }
    void setFailing(std::int32_t dispId) override { m_control.setFailing(dispId); }
    void raiseEvent(std::string_view name, const phone::EventArguments &arguments) override
    {
        m_control.raiseEvent(name, arguments);
    }

private:
    phone::scripted::ScriptedControl m_control;
};

} // namespace scenario
