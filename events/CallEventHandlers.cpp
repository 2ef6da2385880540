#include "events/CallEventHandlers.h"

#include "events/EventLog.h"

#include <array>
#include <utility>

namespace events {

namespace {

using Handler = void (CallEventHandlers::*)(const phone::CallEvent &);

constexpr std::array<std::pair<std::string_view, Handler>, 7> handlerTable{{
    {"OnRing", &CallEventHandlers::axTervani1_OnRing},
    {"OnConnecting", &CallEventHandlers::axTervani1_OnConnecting},
    {"OnConnected", &CallEventHandlers::axTervani1_OnConnected},
    {"OnOffering", &CallEventHandlers::axTervani1_OnOffering},
    {"OnDisConnected", &CallEventHandlers::axTervani1_OnDisConnected},
    {"OnDisconnecting", &CallEventHandlers::axTervani1_OnDisconnecting},
    {"OnIdle", &CallEventHandlers::axTervani1_OnIdle},
}};

Handler findHandler(std::string_view eventName)
{
    // Exact comparison: "OnDisconnected" is not "OnDisConnected".
    for (const auto &[name, handler] : handlerTable) {
        if (name == eventName)
            return handler;
    }
    return nullptr;
}

} // namespace

CallEventHandlers::CallEventHandlers(app::FormPort &form, phone::Tervani &control,
                                     CallIdTable &callIDs, std::u16string &strEvent)
    : m_form(form)
    , m_control(control)
    , m_callIDs(callIDs)
    , m_strEvent(strEvent)
{}

bool CallEventHandlers::handles(std::string_view eventName)
{
    return findHandler(eventName) != nullptr;
}

void CallEventHandlers::handle(std::string_view eventName, const phone::CallEvent &event)
{
    if (Handler handler = findHandler(eventName))
        (this->*handler)(event);
}

void CallEventHandlers::writeLine(std::u16string_view eventName, const phone::CallEvent &event)
{
    m_strEvent = eventName;
    WriteMessage(m_form, m_control, m_strEvent, event.CallingNumber, event.CalledMSN, event.CallID);
}

void CallEventHandlers::axTervani1_OnRing(const phone::CallEvent &event)
{
    writeLine(u"OnRing", event);
    m_form.setEnabled(app::Control::Annehmen, true);
}

void CallEventHandlers::axTervani1_OnConnecting(const phone::CallEvent &event)
{
    m_callIDs.store(m_control.ConnectionCount(), event.CallID);
    writeLine(u"OnConnecting", event);
}

void CallEventHandlers::axTervani1_OnConnected(const phone::CallEvent &event)
{
    writeLine(u"OnConnected", event);
}

void CallEventHandlers::axTervani1_OnOffering(const phone::CallEvent &event)
{
    writeLine(u"OnOffering", event);
}

void CallEventHandlers::axTervani1_OnDisConnected(const phone::CallEvent &event)
{
    writeLine(u"OnDisConnected", event);
    m_form.setEnabled(app::Control::Annehmen, false);
}

void CallEventHandlers::axTervani1_OnDisconnecting(const phone::CallEvent &event)
{
    writeLine(u"OnDisconnecting", event);
}

void CallEventHandlers::axTervani1_OnIdle(const phone::CallEvent &event)
{
    writeLine(u"OnIdle", event);
}

} // namespace events
