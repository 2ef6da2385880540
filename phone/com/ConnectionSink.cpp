#include "phone/com/ConnectionSink.h"

#include "phone/com/ComText.h"
#include "phone/com/ComVariant.h"

#include <exception>
#include <utility>

namespace phone::com {

namespace {

// Reports a failure of the window's sink back to the control, the way controls expect it.
HRESULT failed(EXCEPINFO *exception, std::string_view what) noexcept
{
    if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = E_FAIL;
        try {
            const std::u16string description = fromUtf8(what);
            exception->bstrDescription =
                SysAllocStringLen(reinterpret_cast<const OLECHAR *>(description.data()),
                                  static_cast<UINT>(description.size()));
        } catch (...) {
            // Without memory for the text the control still learns that the event failed.
        }
    }
    return DISP_E_EXCEPTION;
}

} // namespace

ComPtr<ConnectionSink> ConnectionSink::create(EventInterface events)
{
    return ComPtr<ConnectionSink>::adopt(new ConnectionSink(std::move(events)));
}

ConnectionSink::ConnectionSink(EventInterface events)
    : m_events(std::move(events))
{}

HRESULT STDMETHODCALLTYPE ConnectionSink::QueryInterface(REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_events.iid) {
        *object = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// Events arrive on the window's thread only, so plain counting suffices.
ULONG STDMETHODCALLTYPE ConnectionSink::AddRef()
{
    return ++m_references;
}

ULONG STDMETHODCALLTYPE ConnectionSink::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

HRESULT STDMETHODCALLTYPE ConnectionSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params,
                                                 VARIANT *, EXCEPINFO *exception, UINT *)
{
    const auto event = m_events.handledEvents.find(id);
    if (event == m_events.handledEvents.end() || !m_target)
        return S_OK;
    if (!params)
        return E_POINTER;
    // The window's handler may close the window and disconnect this sink while it runs.
    const ComPtr<ConnectionSink> keepAlive = ComPtr<ConnectionSink>::retain(this);
    return deliver(event->second, *params, exception);
}

HRESULT ConnectionSink::deliver(const std::string &name, const DISPPARAMS &params,
                                EXCEPINFO *exception)
{
    if (params.cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    if (params.cArgs != 3)
        return DISP_E_BADPARAMCOUNT;
    try {
        // Arguments arrive last first: CallingNumber, CalledMSN, CallID in call order.
        const EventArguments arguments{toValue(params.rgvarg[2], eventArgumentsTaken[0]),
                                       toValue(params.rgvarg[1], eventArgumentsTaken[1]),
                                       toValue(params.rgvarg[0], eventArgumentsTaken[2])};
        m_target->controlEvent(name, arguments);
    } catch (const std::exception &error) {
        return failed(exception, error.what());
    } catch (...) {
        return failed(exception, "Unbekannter Fehler");
    }
    return S_OK;
}

} // namespace phone::com
