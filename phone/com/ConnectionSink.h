#pragma once

#include "phone/Dispatch.h"
#include "phone/com/ComPtr.h"
#include "phone/com/EventInterface.h"
#include "phone/com/NamelessDispatch.h"

#include <windows.h>

#include <oaidl.h>

namespace phone::com {

// The object the control calls for its events. It answers as the control's source
// interface, names each event by its dispatch identifier, reads the three by-reference
// arguments without writing to them, and hands handled events to the window's sink.
// Events it does not know are accepted and dropped.
class ConnectionSink final : public NamelessDispatch
{
public:
    static ComPtr<ConnectionSink> create(EventInterface events);

    // nullptr stops delivery; the control may still call, and is answered as before.
    void setTarget(EventSink *target) { m_target = target; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argumentError) override;

private:
    explicit ConnectionSink(EventInterface events);
    ~ConnectionSink() = default;

    HRESULT deliver(const std::string &name, const DISPPARAMS &params, EXCEPINFO *exception);

    ULONG m_references = 1;
    EventInterface m_events;
    EventSink *m_target = nullptr;
};

} // namespace phone::com
