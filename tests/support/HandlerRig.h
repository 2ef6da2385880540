#pragma once

#include "commands/CommandHandlers.h"
#include "events/CallEventHandlers.h"
#include "form/WindowHandlers.h"
#include "phone/TervaniFacade.h"
#include "phone/scripted/ScriptedControl.h"
#include "tests/support/MemoryForm.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Every handler of the window over the in-memory window and the stand-in control, both
// writing into one trace ("get ConnectionCount", "addItem \"...\"", ...).
struct HandlerRig
{
    HandlerRig();
    HandlerRig(const HandlerRig &) = delete;
    HandlerRig &operator=(const HandlerRig &) = delete;

    // The event through the window's look-up by name; false when the window ignores it.
    bool raise(std::string_view eventName, const phone::CallEvent &event);
    // The trace since the last take.
    std::vector<std::string> take();

    std::vector<std::string> trace;
    phone::scripted::ScriptedControl control;
    phone::TervaniFacade axTervani1{control};
    MemoryForm window{trace};
    form::WindowHandlers windowHandlers{window, axTervani1};
    events::CallEventHandlers eventHandlers{window, axTervani1};
    commands::CommandHandlers commandHandlers{window, axTervani1, eventHandlers.CallIDs()};
};

// One handler run on a fresh rig: the steps before it (the user's typing, the control's
// answers, earlier events), the handler, and the trace it must leave.
struct HandlerCase
{
    std::string name;
    std::function<void(HandlerRig &)> setup;
    std::function<void(HandlerRig &)> run;
    std::vector<std::string> trace;
};

// The case's handler with its n-th access to the control failing (none: every access answers).
// Returns the trace the handler left; whether it threw is checked against the failure.
struct Outcome
{
    std::vector<std::string> trace;
    bool threw = false;
};
Outcome runCase(const HandlerCase &handlerCase, std::optional<int> failingAccess = std::nullopt);

// The positions in a trace that are accesses to the control.
std::vector<std::size_t> controlAccesses(const std::vector<std::string> &trace);

} // namespace testsupport
