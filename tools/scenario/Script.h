#pragma once

#include "form/FormPort.h"
#include "phone/Dispatch.h"
#include "phone/Members.h"
#include "tools/scenario/Pattern.h"

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace scenario {

// A script line that cannot be run; the tool stops there with exit status 2.
class ScriptError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct SetValue
{
    const phone::Member *member;
    phone::Value value;
};
struct Fail
{
    const phone::Member *member;
};
struct RaiseEvent
{
    std::string name;
    phone::EventArguments arguments;
};
struct TypeText
{
    form::Control control;
    std::u16string text;
};
struct Click
{
    form::Control control;
};
struct DoubleClick
{
    form::Control control;
};
struct PressKeys
{
    std::string sequence;
};
struct Dump
{
};
// Lets the window handle the control's events for a while.
struct Wait
{
    std::chrono::milliseconds duration;
};
// Handles events until a new line of the log matches, or the time is up.
struct WaitLine
{
    Pattern pattern;
    std::chrono::milliseconds timeout;
};
// Checks a control's text, caption, enabled state or value now.
struct Expect
{
    form::Control control;
    Pattern pattern;
};
struct Step;
// A step held for later: inside the next box the window shows.
struct WhileBox
{
    std::shared_ptr<const Step> held;
};
// A step held for later: inside the window's next access of a member, before it is answered.
struct WhileCall
{
    const phone::Member *member;
    std::shared_ptr<const Step> held;
};
// One more step for the box or access that the step before holds.
struct And
{
    std::shared_ptr<const Step> held;
};

using Action = std::variant<SetValue, Fail, RaiseEvent, TypeText, Click, DoubleClick, PressKeys,
                            Dump, Wait, WaitLine, Expect, WhileBox, WhileCall, And>;

struct Step
{
    std::string text; // as written, without leading and trailing blanks
    Action action;
};

// Reads one script line. Blank lines and comments give nullopt; a line that is no valid step
// throws ScriptError with the reason. A held step is read without recursion, so a line of any
// length costs one pass.
std::optional<Step> parseStep(std::string_view line);

// Whether the step scripts the control (its answers, failures and events), which a live
// control does by itself.
bool onlyInScriptedRuns(const Action &action);
// Whether the step checks something and so is a test case of the run.
bool checks(const Action &action);

} // namespace scenario
