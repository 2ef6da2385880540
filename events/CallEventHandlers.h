#pragma once

#include "events/CallIdTable.h"
#include "form/FormPort.h"
#include "phone/CallEvent.h"
#include "phone/TervaniFacade.h"

#include <string>
#include <string_view>

namespace events {

// The window's reaction to the control's call events: each handled event writes one line,
// OnConnecting first remembers its call in CallIDs, OnRing and OnDisConnected switch Annehmen.
// It owns the state the events build up: CallIDs, which the commands read, and strEvent.
class CallEventHandlers
{
public:
    using Handler = void (CallEventHandlers::*)(const phone::CallEvent &);

    CallEventHandlers(form::FormPort &form, phone::TervaniFacade &control);

    // The handler of an event by its name; none for an event the window does not handle.
    static Handler handlerFor(std::string_view eventName);

    void axTervani1_OnRing(const phone::CallEvent &event);
    void axTervani1_OnConnecting(const phone::CallEvent &event);
    void axTervani1_OnConnected(const phone::CallEvent &event);
    void axTervani1_OnOffering(const phone::CallEvent &event);
    void axTervani1_OnDisConnected(const phone::CallEvent &event);
    void axTervani1_OnDisconnecting(const phone::CallEvent &event);
    void axTervani1_OnIdle(const phone::CallEvent &event);

    const CallIdTable &CallIDs() const { return m_CallIDs; }
    const std::u16string &strEvent() const { return m_strEvent; }

private:
    void writeLine(std::string_view eventName, const phone::CallEvent &event);

    form::FormPort &m_form;
    phone::TervaniFacade &m_control;
    CallIdTable m_CallIDs;
    std::u16string m_strEvent;
};

} // namespace events
