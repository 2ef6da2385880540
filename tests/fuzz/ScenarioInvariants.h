#pragma once

#include "phone/Value.h"
#include "tools/scenario/Script.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace app {
class Form1;
}

namespace fuzz {

// What the rules below compare after each step.
struct WindowState
{
    bool annehmen = false;
    std::array<std::int32_t, 11> callIDs{};
    int lines = 0;
    std::u16string strEvent;
};

WindowState stateOf(const app::Form1 &form);

// Follows a scenario's transcript step by step and checks the rules that must hold whatever
// the script does, also where handlers run inside one another:
// - a handled event adds exactly one line, unless its handler reported an error before the
//   line; no other handler adds lines, and an unhandled event changes nothing;
// - an event handler only reads ConnectionCount and LatestText, writes its line and labels,
//   switches Annehmen last, and stops at its first error;
// - the line carries the event's name and arguments unchanged;
// - Annehmen follows the last OnRing or OnDisConnected whose handler ran to its end;
// - no slot of CallIDs changes except by OnConnecting, which stores its identifier at the
//   connection count its read returned, when that count lies in 0 to 10;
// - a handler is refused ("error stack") exactly when it is to start while 64 run;
// - nothing in the window changes after it was unloaded.
// It keeps its own model of the list, the table, strEvent and Annehmen, and of the scripted
// connection count, and compares it with the window's state after every step.
class ScenarioInvariants
{
public:
    // transcript: everything one top-level step printed, held steps included, each line
    // indented by two blanks for every handler of the window running when it was written.
    // state: the window's state afterwards, when the window exists. Returns the first broken
    // rule, or an empty text.
    std::string check(std::string_view transcript, const std::optional<WindowState> &state);

private:
    // An event raised in the transcript, while the lines of its handler are being read.
    struct RaisedEvent
    {
        RaisedEvent(scenario::RaiseEvent raised, std::string step, int running, bool known)
            : event(std::move(raised))
            , where(std::move(step))
            , depth(running)
            , handled(known)
        {}

        scenario::RaiseEvent event;
        std::string where; // " (STEP)", for the reports
        int depth;         // handlers running when it was raised
        bool handled;
        bool refused = false;
        bool unloaded = false;  // the window went away while it ran
        bool countRead = false; // OnConnecting's read of the count for its store
        std::optional<bool> lineDue;
        int lines = 0;
        int errors = 0;
        bool switched = false;
    };

    std::string step(std::string_view stepText, int depth);
    std::string follow(RaisedEvent &raised, std::string_view line);
    std::string finish(RaisedEvent &raised);
    bool lineDue(RaisedEvent &raised);
    std::string compare(const WindowState &state) const;

    std::vector<RaisedEvent> m_raised; // innermost last
    WindowState m_model;
    phone::Value m_connectionCount{std::int32_t{0}};
    bool m_connectionCountFails = false;
    bool m_unloaded = false;
};

} // namespace fuzz
