#include "form/SessionTaps.h"

namespace form {

TappedSession::TappedSession(phone::Dispatch &control, Dialogs &dialogs, FormObserver *observer,
                             const std::vector<SessionTap> &taps)
    : m_control(&control)
    , m_dialogs(&dialogs)
{
    if (observer)
        m_observers.push_back(observer);
    for (const SessionTap &tap : taps) {
        if (tap.control) {
            m_controls.push_back(tap.control(*m_control));
            m_control = m_controls.back().get();
        }
        if (tap.dialogs) {
            m_ownDialogs.push_back(tap.dialogs(*m_dialogs));
            m_dialogs = m_ownDialogs.back().get();
        }
        if (tap.observer)
            m_observers.push_back(tap.observer);
    }
}

FormObserver *TappedSession::observer()
{
    if (m_observers.size() == 1)
        return m_observers.front();
    return m_observers.empty() ? nullptr : this;
}

void TappedSession::lineAdded(const std::u16string &line)
{
    for (FormObserver *observer : m_observers)
        observer->lineAdded(line);
}

void TappedSession::listCleared()
{
    for (FormObserver *observer : m_observers)
        observer->listCleared();
}

void TappedSession::captionSet(form::Control label, const std::u16string &caption)
{
    for (FormObserver *observer : m_observers)
        observer->captionSet(label, caption);
}

void TappedSession::enabledSet(form::Control control, bool enabled)
{
    for (FormObserver *observer : m_observers)
        observer->enabledSet(control, enabled);
}

void TappedSession::textSet(form::Control textField, const std::u16string &text)
{
    for (FormObserver *observer : m_observers)
        observer->textSet(textField, text);
}

void TappedSession::checkSet(form::Control checkBox, int value)
{
    for (FormObserver *observer : m_observers)
        observer->checkSet(checkBox, value);
}

void TappedSession::unloaded()
{
    for (FormObserver *observer : m_observers)
        observer->unloaded();
}

void TappedSession::userActing(const UserAction &action)
{
    for (FormObserver *observer : m_observers)
        observer->userActing(action);
}

void TappedSession::userActed()
{
    for (FormObserver *observer : m_observers)
        observer->userActed();
}

} // namespace form
