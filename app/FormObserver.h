#pragma once

#include "form/FormPort.h"

#include <string>

namespace app {

// Told of every change the window itself makes to its controls (not of the user's typing),
// in the order it happens. The scenario tool prints these; the program has none.
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
};

} // namespace app
