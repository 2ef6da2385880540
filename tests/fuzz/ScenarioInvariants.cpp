#include "tests/fuzz/ScenarioInvariants.h"

#include "app/Form1.h"
#include "events/CallEventHandlers.h"
#include "events/EventLog.h"
#include "phone/Error.h"
#include "phone/Members.h"
#include "tools/scenario/Script.h"
#include "tools/scenario/ValueLiteral.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace fuzz {

namespace {

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

// Lines that only a live window prints.
bool changesTheWindow(std::string_view line)
{
    for (std::string_view prefix :
         {"line ", "caption ", "enabled ", "text ", "check ", "box ", "clear"}) {
        if (line.starts_with(prefix))
            return true;
    }
    return false;
}

std::optional<std::int32_t> int32Of(const phone::Value &value)
{
    try {
        return phone::toInt32(value);
    } catch (const phone::Error &) {
        return std::nullopt;
    }
}

std::string tableText(const std::array<std::int32_t, 11> &table)
{
    std::string text;
    for (std::int32_t slot : table)
        text += ' ' + std::to_string(slot);
    return text;
}

} // namespace

WindowState stateOf(const app::Form1 &form)
{
    return WindowState{form.widget(form::Control::Annehmen)->isEnabled(), form.callIDs().contents(),
                       static_cast<int>(form.messages().lineCount()), form.strEvent()};
}

std::string ScenarioInvariants::check(std::string_view transcript,
                                      const std::optional<WindowState> &state)
{
    bool justRaised = false;
    for (std::string_view line : splitLines(transcript)) {
        const std::size_t blanks = std::min(line.find_first_not_of(' '), line.size());
        const int depth = static_cast<int>(blanks / 2);
        line.remove_prefix(blanks);
        const bool raisedJustBefore = std::exchange(justRaised, false);

        // The refusal belongs to the handler that was to start, not to the one running.
        if (line == "error stack") {
            if (depth != app::Form1::maxHandlerDepth) {
                return "a handler was refused while " + std::to_string(depth)
                       + " ran, not at the bound of " + std::to_string(app::Form1::maxHandlerDepth);
            }
            if (raisedJustBefore && m_raised.back().depth == depth)
                m_raised.back().refused = true;
            continue;
        }
        if (line.starts_with("state "))
            continue; // a dump's, whose state the window's own is compared with

        while (!m_raised.empty() && depth <= m_raised.back().depth) {
            const std::string broken = finish(m_raised.back());
            m_raised.pop_back();
            if (!broken.empty())
                return broken;
        }

        if (line.starts_with("> ")) {
            const std::string broken = step(line.substr(2), depth);
            if (!broken.empty())
                return broken;
            justRaised = !m_raised.empty() && m_raised.back().depth == depth;
            continue;
        }

        if (line == "exit") {
            m_unloaded = true;
            for (RaisedEvent &raised : m_raised)
                raised.unloaded = true;
        } else if (m_unloaded && changesTheWindow(line)) {
            return "the window changed after it was unloaded: " + std::string(line);
        }
        if (!m_raised.empty() && depth == m_raised.back().depth + 1) {
            const std::string broken = follow(m_raised.back(), line);
            if (!broken.empty())
                return broken;
        } else if (line.starts_with("line ")) {
            return "a line was written outside an event handler: " + std::string(line);
        } else if (line.starts_with("enabled Annehmen")) {
            return "Annehmen changed outside an event handler: " + std::string(line);
        }
        if (line == "clear")
            m_model.lines = 0;
    }
    // Every handler has ended when the top-level step has.
    while (!m_raised.empty()) {
        const std::string broken = finish(m_raised.back());
        m_raised.pop_back();
        if (!broken.empty())
            return broken;
    }
    return state ? compare(*state) : std::string();
}

std::string ScenarioInvariants::step(std::string_view stepText, int depth)
{
    std::optional<scenario::Step> step;
    try {
        step = scenario::parseStep(stepText);
    } catch (const scenario::ScriptError &) {
        return "the transcript shows a step that cannot be read: " + std::string(stepText);
    }
    if (!step)
        return "the transcript shows an empty step";
    if (auto set = std::get_if<scenario::SetValue>(&step->action)) {
        if (set->member->dispId == phone::dispid::ConnectionCount) {
            m_connectionCount = set->value;
            m_connectionCountFails = false;
        }
    } else if (auto fail = std::get_if<scenario::Fail>(&step->action)) {
        if (fail->member->dispId == phone::dispid::ConnectionCount)
            m_connectionCountFails = true;
    } else if (auto event = std::get_if<scenario::RaiseEvent>(&step->action)) {
        m_raised.emplace_back(*event, " (" + step->text + ")", depth,
                              events::CallEventHandlers::handlerFor(event->name) != nullptr);
    }
    return {};
}

// Whether the handler's line is due follows from the arguments and the count its read returned;
// OnConnecting stores its identifier at that moment.
bool ScenarioInvariants::lineDue(RaisedEvent &raised)
{
    if (raised.lineDue)
        return *raised.lineDue;
    const std::optional<std::int32_t> id = int32Of(raised.event.arguments.callID);
    bool due = id.has_value();
    if (id && raised.event.name == "OnConnecting") {
        const std::optional<std::int32_t> connections =
            m_connectionCountFails ? std::nullopt : int32Of(m_connectionCount);
        due = connections && static_cast<std::uint32_t>(*connections) < 11;
        if (due)
            m_model.callIDs[static_cast<std::size_t>(*connections)] = *id;
    }
    raised.lineDue = due;
    return due;
}

// One line the event's own handler printed, in the order it printed them, so that the model
// changes when the window does, also around the handlers nested inside this one.
std::string ScenarioInvariants::follow(RaisedEvent &raised, std::string_view line)
{
    const std::string &where = raised.where;
    if (!raised.handled)
        return "an event the window does not handle changed something" + where;
    if (raised.refused)
        return "a refused handler ran all the same" + where;
    if (raised.errors > 0)
        return "an event handler went on after its error" + where;
    if (raised.switched)
        return "an event handler went on after switching Annehmen" + where;

    if (line.starts_with("get ")) {
        if (line != "get ConnectionCount" && line != "get LatestText")
            return "an event handler read more than ConnectionCount and LatestText" + where;
        if (raised.event.name == "OnConnecting" && raised.lines == 0)
            raised.countRead = true;
    } else if (line.starts_with("line ")) {
        if (++raised.lines > 1)
            return "a handled event added more than one line" + where;
        if (!lineDue(raised))
            return "the handler wrote its line although it had to stop before it" + where;
        const std::optional<std::int32_t> id = int32Of(raised.event.arguments.callID);
        const std::u16string name(raised.event.name.begin(), raised.event.name.end());
        const std::string expected = "line "
                                     + scenario::textLiteral(events::formatEventLine(
                                         name, phone::toText(raised.event.arguments.callingNumber),
                                         phone::toText(raised.event.arguments.calledMSN), *id));
        if (line != expected)
            return "the line does not carry the event's name and arguments unchanged" + where;
        m_model.strEvent = name;
        ++m_model.lines;
    } else if (line.starts_with("error ")) {
        if (raised.lines == 0 && lineDue(raised))
            return "the handler stopped before its line without cause" + where;
        ++raised.errors;
    } else if (line.starts_with("enabled ")) {
        const bool enable = raised.event.name == "OnRing";
        if ((!enable && raised.event.name != "OnDisConnected") || raised.lines == 0)
            return "Annehmen changed by a handler that must leave it" + where;
        if (line != (enable ? "enabled Annehmen 1" : "enabled Annehmen 0"))
            return "Annehmen was switched the wrong way" + where;
        m_model.annehmen = enable;
        raised.switched = true;
    } else if (!line.starts_with("caption ")) {
        return "an event handler did more than write its line and labels: " + std::string(line)
               + where;
    }
    return {};
}

std::string ScenarioInvariants::finish(RaisedEvent &raised)
{
    const std::string &where = raised.where;
    if (!raised.handled)
        return {};
    const bool atTheBound = raised.depth >= app::Form1::maxHandlerDepth;
    if (raised.refused != atTheBound) {
        return atTheBound ? "a handler started although 64 were running" + where
                          : "a handler was refused below the bound" + where;
    }
    if (raised.refused)
        return {};
    if (raised.unloaded) {
        // The handler stopped without a report where the window went away. A read of the count
        // that returned still led to the store and to the name, set just before the line.
        if (raised.countRead && lineDue(raised) && raised.lines == 0)
            m_model.strEvent.assign(raised.event.name.begin(), raised.event.name.end());
        return {};
    }
    const bool due = lineDue(raised);
    if (raised.lines == 0 && raised.errors == 0) {
        return due ? "the handler stopped before its line without cause" + where
                   : "a handler that had to stop before its line reported no error" + where;
    }
    const bool switchesAccept =
        raised.event.name == "OnRing" || raised.event.name == "OnDisConnected";
    if (switchesAccept && raised.lines == 1 && raised.errors == 0 && !raised.switched)
        return "Annehmen was not switched after the line" + where;
    return {};
}

std::string ScenarioInvariants::compare(const WindowState &state) const
{
    if (state.annehmen != m_model.annehmen) {
        return std::string("Annehmen is ") + (state.annehmen ? "enabled" : "disabled")
               + " but the last OnRing or OnDisConnected that ran to its end says otherwise";
    }
    if (state.callIDs != m_model.callIDs) {
        return "CallIDs holds" + tableText(state.callIDs) + " but only OnConnecting stores, so"
               + tableText(m_model.callIDs) + " was due";
    }
    if (state.lines != m_model.lines) {
        return "LST_Message holds " + std::to_string(state.lines) + " lines, "
               + std::to_string(m_model.lines) + " were written since the last clear";
    }
    if (state.strEvent != m_model.strEvent)
        return "strEvent is not the name of the last event whose handler came to its line";
    return {};
}

} // namespace fuzz
