#pragma once

#include "app/FormPort.h"
#include "events/CallIdTable.h"
#include "phone/CallEvent.h"
#include "phone/Tervani.h"

#include <string>
#include <string_view>

namespace events {

// The window's reaction to the control's call events: each handled event writes one line,
// OnConnecting first remembers its call in CallIDs, OnRing and OnDisConnected switch Annehmen.
class CallEventHandlers
{
public:
    CallEventHandlers(app::FormPort &form, phone::Tervani &control, CallIdTable &callIDs,
                      std::u16string &strEvent);

    static bool handles(std::string_view eventName);
    // Runs the handler of eventName; an event the window does not handle changes nothing.
    void handle(std::string_view eventName, const phone::CallEvent &event);

    void axTervani1_OnRing(const phone::CallEvent &event);
    void axTervani1_OnConnecting(const phone::CallEvent &event);
    void axTervani1_OnConnected(const phone::CallEvent &event);
    void axTervani1_OnOffering(const phone::CallEvent &event);
    void axTervani1_OnDisConnected(const phone::CallEvent &event);
    void axTervani1_OnDisconnecting(const phone::CallEvent &event);
    void axTervani1_OnIdle(const phone::CallEvent &event);

private:
    void writeLine(std::u16string_view eventName, const phone::CallEvent &event);

    app::FormPort &m_form;
    phone::Tervani &m_control;
    CallIdTable &m_callIDs;
    std::u16string &m_strEvent;
};

} // namespace events
