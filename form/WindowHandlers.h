#pragma once

#include "form/FormPort.h"
#include "phone/TervaniFacade.h"

namespace form {

// The window's own steps: the load step, the pop-up switch, clearing the list and exit.
class WindowHandlers
{
public:
    WindowHandlers(FormPort &form, phone::TervaniFacade &control);

    // Mirrors the control's pop-up flag in CHK_PopUp, without writing it back.
    void Form1_Load();
    void CHK_PopUp_clicked();
    void BTN_Clear_clicked();
    void BTN_Exit_clicked();

private:
    FormPort &m_form;
    phone::TervaniFacade &m_control;
};

} // namespace form
