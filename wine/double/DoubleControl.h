#pragma once

#include "Embedding.h"
#include "EventPoint.h"
#include "InPlaceObject.h"
#include "TypeLibrary.h"

#include <ocidl.h>

#include <memory>
#include <string>

namespace tervani_double {

class ScriptedMembers;

// A stand-in for the telephony control, for the adapter's tests: the contract's members at
// their dispatch identifiers, strict about the argument types its type information
// declares, and recording every call in LastCall; events raised on request; failures on
// request. Its state is a few numbers and texts; no softphone behind it.
//
// The windowed flavours behave like a classic windowed control: until they are active in
// place they refuse every member, and their events come from messages posted to their own
// window, through the message loop. The scripted flavour is windowed too, but its members
// answer what the tests script (ScriptedMembers) instead.
class DoubleControl final : public IDispatch,
                            public IProvideClassInfo2,
                            public IConnectionPointContainer
{
public:
    enum class Flavour {
        Described,    // answers IProvideClassInfo(2)
        Plain,        // leaves the adapter to its type library
        FailingStart, // refuses InitNew
        Windowed,     // needs in-place activation; answers IQuickActivate
        Stepwise,     // the same without IQuickActivate, initialised before its site
        Scripted,     // windowed as Windowed, its members those of ScriptedMembers
        Line,         // windowed as Windowed, and plays calls with their events
        Caller,       // Line, and a caller rings it once, a second after the first access
        Drifted,      // Described, with Dial at driftedDialId instead of the contract's id
    };

    static HRESULT create(Flavour flavour, REFIID iid, void **object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argumentError) override;

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID *guid) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint **point) override;

private:
    class Request;

    DoubleControl(Flavour flavour, TypeLibrary types);
    ~DoubleControl();

    HRESULT dispatch(DISPID member, Request &request, EXCEPINFO *exception);
    HRESULT fail(std::int32_t mode, EXCEPINFO *exception);
    HRESULT raise(const VARIANT &event, BSTR callingNumber, BSTR calledMSN, LONG callId);
    HRESULT post(const VARIANT &event, BSTR callingNumber, BSTR calledMSN, LONG callId);
    void playCall(const std::wstring &number);
    void callerRings();
    void deliver(const PostedEvent &event);
    VARIANT ambient(LONG id) const;
    bool windowed() const
    {
        return m_flavour == Flavour::Windowed || m_flavour == Flavour::Stepwise
               || m_flavour == Flavour::Scripted || plays();
    }
    bool plays() const { return m_flavour == Flavour::Line || m_flavour == Flavour::Caller; }

    ULONG m_references = 1;
    Flavour m_flavour;
    TypeLibrary m_types;
    Embedding m_embedding;
    EventPoint m_eventPoint;
    InPlaceObject m_inPlace;
    std::unique_ptr<ScriptedMembers> m_scripted;

    bool m_popUp = true;
    LONG m_connections = 0;
    LONG m_incomingCallId = 0;
    LONG m_lastCallId = 0;
    bool m_callerDue = true;
    std::wstring m_dialled;
    std::wstring m_latestText = L"Grüße vom Softphone";
    std::wstring m_lastCall;
};

} // namespace tervani_double
