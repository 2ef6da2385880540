#include "commands/CommandHandlers.h"

#include "form/FormLayout.h"
#include "phone/Ascii.h"

#include <string>

namespace commands {

using form::Control;

namespace {

std::u16string plainDecimal(std::int32_t number)
{
    return phone::widen(std::to_string(number));
}

} // namespace

CommandHandlers::CommandHandlers(form::FormPort &form, phone::TervaniFacade &control,
                                 const events::CallIdTable &callIDs)
    : m_form(form)
    , m_control(control)
    , m_callIDs(callIDs)
{}

void CommandHandlers::BTN_Dial_clicked()
{
    m_control.Dial(m_form.text(Control::TXT_Nummer));
}

void CommandHandlers::Annehmen_clicked()
{
    const std::int32_t id = m_control.IncomingCallID();
    m_control.AcceptCall(id);
}

void CommandHandlers::BTN_Disconnect_clicked()
{
    const std::int32_t count = m_control.ConnectionCount();
    // Fetching checks the range before any box is shown.
    const std::int32_t shownId = m_callIDs.fetch(count);
    m_form.messageBox(plainDecimal(count) + u" = " + plainDecimal(shownId) + u" wird jetzt beendet",
                      form::BoxStyle::Ok);
    if (count < 1) {
        m_form.messageBox(u"Kein Gespräch vorhanden", form::BoxStyle::Information,
                          u"Gespräch beenden");
        return;
    }
    // An event may have overwritten the slot while the box was open: send what it holds now.
    m_control.HangUp(m_callIDs.fetch(count));
}

void CommandHandlers::BTN_DTMF_clicked()
{
    const std::int32_t count = m_control.ConnectionCount();
    const std::int32_t id = m_callIDs.fetch(count);
    m_control.SendDTMF(id, m_form.text(Control::TXT_DTMF));
}

void CommandHandlers::BTN_SMS_clicked()
{
    // Read in the order the arguments go: a function's arguments have no order of their own.
    const std::u16string number = m_form.text(Control::TXT_Nummer);
    m_control.SendShortMessage(number, m_form.text(Control::TXT_SMS));
}

void CommandHandlers::BTN_Konvert_clicked()
{
    const std::u16string number = m_form.text(Control::TXT_Konvert);
    if (number.empty())
        return;
    m_form.setText(Control::TXT_Konvert, m_control.ConvertNumber(number));
}

void CommandHandlers::TXT_Konvert_doubleClicked()
{
    m_form.setText(Control::TXT_Konvert, std::u16string(form::sampleNumber));
}

} // namespace commands
