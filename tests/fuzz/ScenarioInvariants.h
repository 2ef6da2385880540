#pragma once

#include "phone/Value.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace app {
class Form1;
}
namespace scenario {
struct RaiseEvent;
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
// the script does:
// - a handled event adds exactly one line, unless its handler reported an error before the
//   line; no other handler adds lines, and an unhandled event changes nothing;
// - the line carries the event's name and arguments unchanged;
// - Annehmen follows the last OnRing or OnDisConnected whose handler ran to its end;
// - no slot of CallIDs changes except by OnConnecting, which stores its identifier at the
//   connection count it read, when that count lies in 0 to 10.
// It keeps its own model of the list, the table, strEvent and Annehmen, and of the scripted
// connection count, and compares it with the window's state after every step.
class ScenarioInvariants
{
public:
    // transcript: everything one top-level step printed (held steps of while-box included).
    // state: the window's state afterwards, when the window exists. Returns the first broken
    // rule, or an empty text.
    std::string check(std::string_view transcript, const std::optional<WindowState> &state);

private:
    // lines: what the event's handler printed, count of them.
    std::string checkEvent(const scenario::RaiseEvent &event, std::string_view stepText,
                           const std::string_view *lines, std::size_t count);
    std::string compare(const WindowState &state) const;

    WindowState m_model;
    phone::Value m_connectionCount{std::int32_t{0}};
    bool m_connectionCountFails = false;
};

} // namespace fuzz
