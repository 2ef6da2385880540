#pragma once

#include "app/FormPort.h"
#include "events/CallIdTable.h"
#include "phone/Tervani.h"

namespace commands {

// The buttons that act through the control. None writes a log line: what follows on the
// telephone side arrives as events. A failing access throws and ends the handler there.
class CommandHandlers
{
public:
    CommandHandlers(app::FormPort &form, phone::Tervani &control,
                    const events::CallIdTable &callIDs);

    void BTN_Dial_clicked();
    void Annehmen_clicked();
    void BTN_Disconnect_clicked();
    void BTN_DTMF_clicked();
    void BTN_SMS_clicked();
    void BTN_Konvert_clicked();
    void TXT_Konvert_doubleClicked();

private:
    app::FormPort &m_form;
    phone::Tervani &m_control;
    const events::CallIdTable &m_callIDs;
};

} // namespace commands
