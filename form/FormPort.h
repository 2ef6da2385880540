#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace form {

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

inline constexpr std::size_t controlCount = static_cast<std::size_t>(Control::BTN_Exit) + 1;

// Message box styles the window uses.
enum class BoxStyle { Ok = 0, Information = 64 };

// The window operations that the handlers need, and nothing more. Form1 implements it on its
// widgets; the handlers' own tests implement it in memory.
class FormPort
{
public:
    virtual ~FormPort() = default;

    virtual std::u16string text(Control textField) const = 0;
    virtual void setText(Control textField, const std::u16string &text) = 0;
    virtual void setCaption(Control label, const std::u16string &caption) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    // Check box value: 0 clear, 1 ticked.
    virtual int value(Control checkBox) const = 0;
    virtual void setValue(Control checkBox, int value) = 0;
    // LST_Message: append one line at the end, or remove them all.
    virtual void addItem(const std::u16string &line) = 0;
    virtual void clearList() = 0;
    // A modal box that returns once the user has closed it. Without a title it carries the
    // application title.
    virtual void messageBox(const std::u16string &prompt, BoxStyle style,
                            const std::optional<std::u16string> &title = std::nullopt) = 0;
    // Closes the window; the program ends with it.
    virtual void unload() = 0;
};

} // namespace form
