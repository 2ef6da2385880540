#pragma once

#include "form/FormPort.h"

#include <string>

namespace form {

// What the user did, as the window takes it in.
struct UserAction
{
    enum class Kind { Type, Click, DoubleClick, Close };
    Kind kind;
    // For Close: BTN_Exit, whose click ends the window the same way.
    form::Control control;
    // For Type: the field's whole text after the edit.
    std::u16string text;
};

// Told of every change the window itself makes to its controls, in the order it happens, and
// of the user's actions. The scenario tool prints the changes; a trace writes them down and a
// recording the actions.
class FormObserver
{
public:
    virtual ~FormObserver() = default;

    virtual void lineAdded(const std::u16string &line) = 0;
    virtual void listCleared() = 0;
    virtual void captionSet(form::Control label, const std::u16string &caption) = 0;
    virtual void enabledSet(form::Control control, bool enabled) = 0;
    virtual void textSet(form::Control textField, const std::u16string &text) = 0;
    virtual void checkSet(form::Control checkBox, int value) = 0;
    virtual void unloaded() = 0;

    // Before the window handles the user's action, and once it has. Typing runs no handler:
    // its end follows at once.
    virtual void userActing(const UserAction & /*action*/) {}
    virtual void userActed() {}
};

} // namespace form
