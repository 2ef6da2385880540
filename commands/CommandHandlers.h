#pragma once

#include "events/CallIdTable.h"
#include "form/FormPort.h"
#include "phone/TervaniFacade.h"

namespace commands {

// The buttons that act through the control. None writes a log line: what follows on the
// telephone side arrives as events. A failing access throws and ends the handler there.
class CommandHandlers
{
public:
    CommandHandlers(form::FormPort &form, phone::TervaniFacade &control,
                    const events::CallIdTable &callIDs);

    void BTN_Dial_clicked();
    void Annehmen_clicked();
    void BTN_Disconnect_clicked();
    void BTN_DTMF_clicked();
    void BTN_SMS_clicked();
    void BTN_Konvert_clicked();
    void TXT_Konvert_doubleClicked();

private:
    form::FormPort &m_form;
    phone::TervaniFacade &m_control;
    const events::CallIdTable &m_callIDs;
};

} // namespace commands
