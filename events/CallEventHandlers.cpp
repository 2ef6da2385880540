#include "events/CallEventHandlers.h"

#include "events/EventLog.h"
#include "phone/Ascii.h"
#include "phone/Members.h"

#include <algorithm>
#include <array>
#include <utility>

namespace events {

namespace {

using Handler = CallEventHandlers::Handler;

constexpr std::array<std::pair<std::string_view, Handler>, phone::handledEvents.size()>
    handlerTable{{
        {phone::event::OnRing, &CallEventHandlers::axTervani1_OnRing},
        {phone::event::OnConnecting, &CallEventHandlers::axTervani1_OnConnecting},
        {phone::event::OnConnected, &CallEventHandlers::axTervani1_OnConnected},
        {phone::event::OnOffering, &CallEventHandlers::axTervani1_OnOffering},
        {phone::event::OnDisConnected, &CallEventHandlers::axTervani1_OnDisConnected},
        {phone::event::OnDisconnecting, &CallEventHandlers::axTervani1_OnDisconnecting},
        {phone::event::OnIdle, &CallEventHandlers::axTervani1_OnIdle},
    }};

static_assert(std::ranges::equal(handlerTable, phone::handledEvents, {},
                                 &std::pair<std::string_view, Handler>::first),
              "one handler for each handled event, in the contract's order");

} // namespace

CallEventHandlers::CallEventHandlers(form::FormPort &form, phone::TervaniFacade &control)
    : m_form(form)
    , m_control(control)
{}

Handler CallEventHandlers::handlerFor(std::string_view eventName)
{
    // Exact comparison: "OnDisconnected" is not "OnDisConnected".
    for (const auto &[name, handler] : handlerTable) {
        if (name == eventName)
            return handler;
    }
    return nullptr;
}

void CallEventHandlers::writeLine(std::string_view eventName, const phone::CallEvent &event)
{
    m_strEvent = phone::widen(eventName);
    WriteMessage(m_form, m_control, m_strEvent, event.CallingNumber, event.CalledMSN, event.CallID);
}

void CallEventHandlers::axTervani1_OnRing(const phone::CallEvent &event)
{
    writeLine(phone::event::OnRing, event);
    m_form.setEnabled(form::Control::Annehmen, true);
}

void CallEventHandlers::axTervani1_OnConnecting(const phone::CallEvent &event)
{
    m_CallIDs.store(m_control.ConnectionCount(), event.CallID);
    writeLine(phone::event::OnConnecting, event);
}

void CallEventHandlers::axTervani1_OnConnected(const phone::CallEvent &event)
{
    writeLine(phone::event::OnConnected, event);
}

void CallEventHandlers::axTervani1_OnOffering(const phone::CallEvent &event)
{
    writeLine(phone::event::OnOffering, event);
}

void CallEventHandlers::axTervani1_OnDisConnected(const phone::CallEvent &event)
{
    writeLine(phone::event::OnDisConnected, event);
    m_form.setEnabled(form::Control::Annehmen, false);
}

void CallEventHandlers::axTervani1_OnDisconnecting(const phone::CallEvent &event)
{
    writeLine(phone::event::OnDisconnecting, event);
}

void CallEventHandlers::axTervani1_OnIdle(const phone::CallEvent &event)
{
    writeLine(phone::event::OnIdle, event);
}

} // namespace events
