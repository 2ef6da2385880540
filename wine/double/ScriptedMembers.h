#pragma once

#include <oaidl.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace tervani_double {

class EventPoint;
class InPlaceObject;

// The scripted double's members: the contract's members answer what the tests scripted,
// without looking at the types of what they are given, and the script members (DoubleIds.h,
// dispid::ScriptAnswer and on) script them, raise events inside the call and misbehave as a
// broken control or host would. Part of the control, which calls it once it is active in
// place.
class ScriptedMembers
{
public:
    // What a call writes into every by-reference I4 or VARIANT argument.
    static constexpr LONG writtenBack = 424242;

    // owner: the control, held while its events run, since a sink may release it.
    ScriptedMembers(IUnknown &owner, EventPoint &events, InPlaceObject &inPlace);
    ~ScriptedMembers();
    ScriptedMembers(const ScriptedMembers &) = delete;
    ScriptedMembers &operator=(const ScriptedMembers &) = delete;

    // IDispatch::Invoke for every member; DISP_E_MEMBERNOTFOUND for those it does not have.
    HRESULT invoke(DISPID member, WORD flags, DISPPARAMS &params, VARIANT *result,
                   EXCEPINFO *exception, UINT *argumentError);

private:
    // Owns one VARIANT, in place in the map of answers.
    struct Answer
    {
        Answer() { VariantInit(&value); }
        ~Answer() { VariantClear(&value); }
        Answer(const Answer &) = delete;
        Answer &operator=(const Answer &) = delete;

        VARIANT value;
    };

    HRESULT contractMember(DISPID member, WORD flags, DISPPARAMS &params, VARIANT *result,
                           EXCEPINFO *exception);
    HRESULT scriptMember(DISPID member, WORD flags, DISPPARAMS &params, UINT *argumentError);
    HRESULT setAnswer(DISPID member, const VARIANT &value);
    // Raises the named event count times; an unknown name raises nothing.
    void raise(const std::wstring &name, LONG count, const VARIANT &callingNumber,
               const VARIANT &calledMSN, const VARIANT &callId);
    void deliver(DISPID event, UINT argumentCount, const VARIANT (&values)[3]);
    // ScriptPost and ScriptTimer: the event for the window's message loop, count times or after
    // a delay.
    HRESULT postEvent(DISPPARAMS &params, UINT *argumentError, bool timed);
    void fault(std::int32_t kind);

    IUnknown &m_owner;
    EventPoint &m_events;
    InPlaceObject &m_inPlace;
    std::map<DISPID, Answer> m_answers;
    std::set<DISPID> m_failing;
    std::map<DISPID, std::int32_t> m_faults;
};

} // namespace tervani_double
