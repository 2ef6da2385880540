#pragma once

#include <optional>
#include <string>

namespace app {

// Form1's controls, by their names in the window's layout.
enum class Control {
    TXT_Nummer,
    BTN_Dial,
    BTN_Disconnect,
    TXT_SMS,
    BTN_SMS,
    TXT_DTMF,
    BTN_DTMF,
    TXT_Konvert,
    BTN_Konvert,
    Annehmen,
    Label1,
    LBL_Anzahl,
    LBL_Last,
    LST_Message,
    BTN_Clear,
    CHK_PopUp,
    BTN_Exit,
};

// Message box styles the window uses.
enum class BoxStyle { Ok = 0, Information = 64 };

// The window operations that the event and command handlers need. Form1 implements it on
// its widgets; handler tests implement it in memory.
class FormPort
{
public:
    virtual ~FormPort() = default;

    virtual std::u16string text(Control textField) const = 0;
    virtual void setText(Control textField, const std::u16string &text) = 0;
    virtual void setCaption(Control label, const std::u16string &caption) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    // LST_Message: append one line at the end.
    virtual void addItem(const std::u16string &line) = 0;
    // A modal box that returns once the user has closed it. Without a title it carries the
    // application title.
    virtual void messageBox(const std::u16string &prompt, BoxStyle style,
                            const std::optional<std::u16string> &title = std::nullopt) = 0;
};

} // namespace app
