#include "tests/fuzz/ScenarioInvariants.h"

#include "app/Form1.h"
#include "events/CallEventHandlers.h"
#include "events/EventLog.h"
#include "phone/Error.h"
#include "phone/Members.h"
#include "tools/scenario/Script.h"
#include "tools/scenario/ValueLiteral.h"

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

// The lines an event handler can print: its two reads, its line, the labels, Annehmen and the
// report of an error that stopped it. A held step's effects end at the first other line.
bool isEventEffect(std::string_view line)
{
    for (std::string_view prefix : {"get ", "line ", "caption ", "enabled ", "error "}) {
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
    std::vector<std::string_view> lines = splitLines(transcript);
    std::vector<bool> byEvent(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.starts_with("> ")) {
            std::optional<scenario::Step> step;
            try {
                step = scenario::parseStep(line.substr(2));
            } catch (const scenario::ScriptError &) {
                return "the transcript shows a step that cannot be read: " + std::string(line);
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
                std::size_t end = i + 1;
                while (end < lines.size() && isEventEffect(lines[end]))
                    ++end;
                const std::string broken =
                    checkEvent(*event, step->text, lines.data() + i + 1, end - i - 1);
                if (!broken.empty())
                    return broken;
                for (std::size_t j = i + 1; j < end; ++j)
                    byEvent[j] = true;
            }
        } else if (line.starts_with("line ") && !byEvent[i]) {
            return "a line was written outside an event handler: " + std::string(line);
        } else if (line.starts_with("enabled Annehmen") && !byEvent[i]) {
            return "Annehmen changed outside an event handler: " + std::string(line);
        } else if (line == "clear") {
            m_model.lines = 0;
        }
    }
    return state ? compare(*state) : std::string();
}

std::string ScenarioInvariants::checkEvent(const scenario::RaiseEvent &event,
                                           std::string_view stepText, const std::string_view *lines,
                                           std::size_t count)
{
    const std::string where = " (" + std::string(stepText) + ")";
    if (!events::CallEventHandlers::handlerFor(event.name)) {
        if (count != 0)
            return "an event the window does not handle changed something" + where;
        return {};
    }

    int lineCount = 0;
    int errorCount = 0;
    std::size_t linePosition = 0;
    std::size_t errorPosition = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view line = lines[k];
        if (line.starts_with("line ")) {
            ++lineCount;
            linePosition = k;
        } else if (line.starts_with("error ")) {
            if (errorCount++ == 0)
                errorPosition = k;
        } else if (line.starts_with("get ") && line != "get ConnectionCount"
                   && line != "get LatestText") {
            return "an event handler read more than ConnectionCount and LatestText" + where;
        }
    }
    const bool oneLine = lineCount == 1 && (errorCount == 0 || errorPosition > linePosition);
    const bool stoppedBefore = lineCount == 0 && errorCount == 1;
    if (!oneLine && !stoppedBefore) {
        return "a handled event must add exactly one line unless its handler reported an error "
               "before the line"
               + where;
    }

    // Whether the line is due follows from the arguments and the scripted count alone.
    const std::optional<std::int32_t> id = int32Of(event.arguments.callID);
    bool lineDue = id.has_value();
    if (id && event.name == "OnConnecting") {
        const std::optional<std::int32_t> connections =
            m_connectionCountFails ? std::nullopt : int32Of(m_connectionCount);
        lineDue = connections && static_cast<std::uint32_t>(*connections) < 11;
        if (lineDue)
            m_model.callIDs[static_cast<std::size_t>(*connections)] = *id;
    }
    if (lineDue != (lineCount == 1)) {
        return lineDue ? "the handler stopped before its line without cause" + where
                       : "the handler wrote its line although it had to stop before it" + where;
    }

    if (lineCount == 1) {
        const std::u16string name(event.name.begin(), event.name.end());
        const std::string expected = "line "
                                     + scenario::textLiteral(events::formatEventLine(
                                         name, phone::toText(event.arguments.callingNumber),
                                         phone::toText(event.arguments.calledMSN), *id));
        if (lines[linePosition] != expected)
            return "the line does not carry the event's name and arguments unchanged" + where;
        m_model.strEvent = name;
        ++m_model.lines;
    }

    const bool ranToEnd = lineCount == 1 && errorCount == 0;
    const bool switchesAccept = event.name == "OnRing" || event.name == "OnDisConnected";
    if (switchesAccept && ranToEnd) {
        const bool enable = event.name == "OnRing";
        if (lines[count - 1] != (enable ? "enabled Annehmen 1" : "enabled Annehmen 0"))
            return "Annehmen was not switched after the line" + where;
        m_model.annehmen = enable;
    } else {
        for (std::size_t k = 0; k < count; ++k) {
            if (lines[k].starts_with("enabled "))
                return "Annehmen changed by a handler that must leave it" + where;
        }
    }
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
        return "strEvent is not the name of the last event that wrote its line";
    return {};
}

} // namespace fuzz
