#pragma once

#include "form/Dialogs.h"
#include "form/FormObserver.h"
#include "phone/Dispatch.h"

#include <functional>
#include <memory>
#include <vector>

namespace form {

// What a trace or a recording of the session puts between the window and the rest: around
// its control, around its dialogs, and an observer of the window. Each part may be left out.
struct SessionTap
{
    std::function<std::unique_ptr<phone::Dispatch>(phone::Dispatch &control)> control;
    std::function<std::unique_ptr<Dialogs>(Dialogs &shown)> dialogs;
    FormObserver *observer = nullptr;
};

// The window's control, dialogs and observer with every tap applied in order, the first
// nearest to the control; owns what the taps made.
class TappedSession final : private FormObserver
{
public:
    TappedSession(phone::Dispatch &control, Dialogs &dialogs, FormObserver *observer,
                  const std::vector<SessionTap> &taps);

    phone::Dispatch &control() { return *m_control; }
    Dialogs &dialogs() { return *m_dialogs; }
    // Null when nobody observes.
    FormObserver *observer();

private:
    // FormObserver: tells every observer, in order.
    void lineAdded(const std::u16string &line) override;
    void listCleared() override;
    void captionSet(form::Control label, const std::u16string &caption) override;
    void enabledSet(form::Control control, bool enabled) override;
    void textSet(form::Control textField, const std::u16string &text) override;
    void checkSet(form::Control checkBox, int value) override;
    void unloaded() override;
    void userActing(const UserAction &action) override;
    void userActed() override;

    std::vector<std::unique_ptr<phone::Dispatch>> m_controls;
    std::vector<std::unique_ptr<Dialogs>> m_ownDialogs;
    phone::Dispatch *m_control;
    Dialogs *m_dialogs;
    std::vector<FormObserver *> m_observers;
};

} // namespace form
