#include "commands/CommandHandlers.h"

#include "app/FormLayout.h"

#include <string>

namespace commands {

using app::Control;

namespace {

std::u16string plainDecimal(std::int32_t number)
{
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace

CommandHandlers::CommandHandlers(app::FormPort &form, phone::Tervani &control,
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
                      app::BoxStyle::Ok);
    if (count < 1) {
        m_form.messageBox(u"Kein Gespräch vorhanden", app::BoxStyle::Information,
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
    m_control.SendShortMessage(m_form.text(Control::TXT_Nummer), m_form.text(Control::TXT_SMS));
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
    m_form.setText(Control::TXT_Konvert, std::u16string(app::sampleNumber));
}

} // namespace commands
