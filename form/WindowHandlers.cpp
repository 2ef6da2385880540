#include "form/WindowHandlers.h"

namespace form {

WindowHandlers::WindowHandlers(FormPort &form, phone::TervaniFacade &control)
    : m_form(form)
    , m_control(control)
{}

void WindowHandlers::Form1_Load()
{
    m_form.setValue(Control::CHK_PopUp, m_control.PopUp() ? 1 : 0);
}

void WindowHandlers::CHK_PopUp_clicked()
{
    m_control.setPopUp(static_cast<std::int16_t>(m_form.value(Control::CHK_PopUp)));
}

void WindowHandlers::BTN_Clear_clicked()
{
    m_form.clearList();
}

void WindowHandlers::BTN_Exit_clicked()
{
    m_form.unload();
}

} // namespace form
