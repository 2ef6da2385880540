#include "DoubleControl.h"

#include "DoubleIds.h"
#include "FontText.h"
#include "Module.h"
#include "ScriptedMembers.h"
#include "phone/Members.h"

#include <olectl.h>

#include <cwctype>
#include <utility>

namespace tervani_double {

namespace {

std::wstring text(BSTR value)
{
    return value ? std::wstring(value, SysStringLen(value)) : std::wstring();
}

// "BSTR 0123", "ref I4 7", "I2 1": how the tests see what arrived.
std::wstring describe(const VARIANT &value)
{
    const bool byRef = value.vt & VT_BYREF;
    const std::wstring prefix = byRef ? L"ref " : L"";
    switch (value.vt & ~VT_BYREF) {
    case VT_BSTR:
        return prefix + L"BSTR " + text(byRef ? *value.pbstrVal : value.bstrVal);
    case VT_I4:
        return prefix + L"I4 " + std::to_wstring(byRef ? *value.plVal : value.lVal);
    case VT_I2:
        return prefix + L"I2 " + std::to_wstring(byRef ? *value.piVal : value.iVal);
    case VT_BOOL: {
        const VARIANT_BOOL flag = byRef ? *value.pboolVal : value.boolVal;
        return prefix + L"BOOL " + (flag ? L"true" : L"false");
    }
    default:
        return prefix + L"VT " + std::to_wstring(value.vt & ~VT_BYREF);
    }
}

VARIANT variantOf(VARTYPE type)
{
    VARIANT result;
    VariantInit(&result);
    result.vt = type;
    return result;
}

VARIANT textVariant(const std::wstring &value)
{
    VARIANT result = variantOf(VT_BSTR);
    result.bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return result;
}

VARIANT longVariant(LONG value)
{
    VARIANT result = variantOf(VT_I4);
    result.lVal = value;
    return result;
}

VARIANT boolVariant(bool value)
{
    VARIANT result = variantOf(VT_BOOL);
    result.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return result;
}

// As a control reports its own errors: DISP_E_EXCEPTION with a description.
HRESULT refuseInactive(const wchar_t *source, EXCEPINFO *exception)
{
    if (exception) {
        *exception = EXCEPINFO{};
        exception->bstrSource = SysAllocString(source);
        exception->bstrDescription =
            SysAllocString(reinterpret_cast<const OLECHAR *>(inactiveDescription));
        exception->scode = E_UNEXPECTED;
    }
    return DISP_E_EXCEPTION;
}

HRESULT __stdcall deferredFillIn(EXCEPINFO *exception)
{
    exception->bstrSource = SysAllocString(controlProgId);
    exception->bstrDescription = SysAllocString(reinterpret_cast<const OLECHAR *>(failDescription));
    exception->scode = E_FAIL;
    return S_OK;
}

} // namespace

// The caller's view of one Invoke: how the member was reached and with what.
class DoubleControl::Request
{
public:
    Request(WORD flags, DISPPARAMS &params, VARIANT *result, UINT *argumentError)
        : m_flags(flags)
        , m_params(params)
        , m_result(result)
        , m_argumentError(argumentError)
    {}

    bool isPut() const { return m_flags & DISPATCH_PROPERTYPUT; }

    HRESULT expectGet() const
    {
        if (!(m_flags & DISPATCH_PROPERTYGET))
            return DISP_E_MEMBERNOTFOUND;
        return m_params.cArgs == 0 ? S_OK : DISP_E_BADPARAMCOUNT;
    }

    // A property write names its single value DISPID_PROPERTYPUT.
    HRESULT expectPut() const
    {
        if (m_params.cNamedArgs != 1 || m_params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
        return m_params.cArgs == 1 ? S_OK : DISP_E_BADPARAMCOUNT;
    }

    HRESULT expectMethod(UINT count) const
    {
        if (!(m_flags & DISPATCH_METHOD))
            return DISP_E_MEMBERNOTFOUND;
        if (m_params.cNamedArgs != 0)
            return DISP_E_NONAMEDARGS;
        return m_params.cArgs == count ? S_OK : DISP_E_BADPARAMCOUNT;
    }

    // Arguments in call order.
    VARIANT &argument(UINT index) const { return m_params.rgvarg[m_params.cArgs - 1 - index]; }

    // The argument must arrive exactly as declared: no coercion, so the tests see the types.
    HRESULT expectType(UINT index, VARTYPE type) const
    {
        if (argument(index).vt == type)
            return S_OK;
        if (m_argumentError)
            *m_argumentError = m_params.cArgs - 1 - index;
        return DISP_E_TYPEMISMATCH;
    }

    HRESULT answer(VARIANT value) const
    {
        if (m_result) {
            VariantClear(m_result);
            *m_result = value;
        } else {
            VariantClear(&value);
        }
        return S_OK;
    }

private:
    WORD m_flags;
    DISPPARAMS &m_params;
    VARIANT *m_result;
    UINT *m_argumentError;
};

HRESULT DoubleControl::create(Flavour flavour, REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    DoubleControl *control = nullptr;
    try {
        control = new DoubleControl(
            flavour,
            buildTypeLibrary(flavour == Flavour::Drifted ? driftedDialId : phone::dispid::Dial));
    } catch (...) {
        return E_FAIL;
    }
    const HRESULT result = control->QueryInterface(iid, object);
    control->Release();
    return result;
}

namespace {

// The number of the line that the Line flavour plays calls on.
constexpr wchar_t lineNumber[] = L"100";
// Who rings the Caller flavour.
constexpr wchar_t callerNumber[] = L"0301234567";
// Dialled on a line, it ends the host process a second later, as a control that crashes takes
// its host with it.
constexpr wchar_t crashNumber[] = L"ENDE";
// The posted event that ends the process.
constexpr wchar_t crashEvent[] = L"(crash)";

const CLSID &classOf(DoubleControl::Flavour flavour)
{
    switch (flavour) {
    case DoubleControl::Flavour::Described:
        return controlClassId;
    case DoubleControl::Flavour::Plain:
        return plainClassId;
    case DoubleControl::Flavour::Windowed:
        return windowedClassId;
    case DoubleControl::Flavour::Stepwise:
        return stepwiseClassId;
    case DoubleControl::Flavour::Scripted:
        return scriptedClassId;
    case DoubleControl::Flavour::Line:
        return lineClassId;
    case DoubleControl::Flavour::Caller:
        return callerClassId;
    case DoubleControl::Flavour::Drifted:
        return driftedClassId;
    case DoubleControl::Flavour::FailingStart:
        break;
    }
    return brokenClassId;
}

// What MFC gives a windowed control. The stepwise one leaves out SETCLIENTSITEFIRST, so both
// orders of site and InitNew are seen.
DWORD miscStatusOf(DoubleControl::Flavour flavour)
{
    constexpr DWORD windowed = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT
                               | OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE;
    switch (flavour) {
    case DoubleControl::Flavour::Windowed:
    case DoubleControl::Flavour::Scripted:
    case DoubleControl::Flavour::Line:
    case DoubleControl::Flavour::Caller:
        return windowed | OLEMISC_SETCLIENTSITEFIRST;
    case DoubleControl::Flavour::Stepwise:
        return windowed;
    default:
        // Like controls made with Visual Basic: the site must come before initialisation.
        return OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME
               | OLEMISC_ACTIVATEWHENVISIBLE;
    }
}

} // namespace

DoubleControl::DoubleControl(Flavour flavour, TypeLibrary types)
    : m_flavour(flavour)
    , m_types(std::move(types))
    , m_embedding(*static_cast<IDispatch *>(this), classOf(flavour),
                  flavour == Flavour::FailingStart ? startFailure : S_OK, miscStatusOf(flavour))
    , m_eventPoint(*static_cast<IDispatch *>(this), *this)
    , m_inPlace(*static_cast<IDispatch *>(this), m_embedding, m_eventPoint,
                [this](const PostedEvent &event) { deliver(event); })
{
    if (windowed())
        m_embedding.setInPlace(&m_inPlace);
    if (flavour == Flavour::Scripted)
        m_scripted = std::make_unique<ScriptedMembers>(*static_cast<IDispatch *>(this),
                                                       m_eventPoint, m_inPlace);
    InterlockedIncrement(&liveObjects);
}

DoubleControl::~DoubleControl()
{
    InterlockedDecrement(&liveObjects);
}

HRESULT STDMETHODCALLTYPE DoubleControl::QueryInterface(REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == interfaceId)
        *object = static_cast<IDispatch *>(this);
    else if (m_flavour != Flavour::Plain && m_flavour != Flavour::FailingStart
             && iid == IID_IProvideClassInfo)
        *object = static_cast<IProvideClassInfo *>(this);
    else if (m_flavour != Flavour::Plain && m_flavour != Flavour::FailingStart
             && iid == IID_IProvideClassInfo2)
        *object = static_cast<IProvideClassInfo2 *>(this);
    else if (iid == IID_IConnectionPointContainer)
        *object = static_cast<IConnectionPointContainer *>(this);
    else if (iid == IID_IOleObject)
        *object = static_cast<IOleObject *>(&m_embedding);
    else if (iid == IID_IPersistStreamInit || iid == IID_IPersist)
        *object = static_cast<IPersistStreamInit *>(&m_embedding);
    else if (windowed() && (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow))
        *object = static_cast<IOleInPlaceObject *>(&m_inPlace);
    else if (windowed() && iid == IID_IOleControl)
        *object = static_cast<IOleControl *>(&m_inPlace);
    else if (windowed() && m_flavour != Flavour::Stepwise && iid == IID_IQuickActivate)
        *object = static_cast<IQuickActivate *>(&m_inPlace);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE DoubleControl::AddRef()
{
    return ++m_references;
}

ULONG STDMETHODCALLTYPE DoubleControl::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

HRESULT STDMETHODCALLTYPE DoubleControl::GetTypeInfoCount(UINT *count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DoubleControl::GetTypeInfo(UINT index, LCID, ITypeInfo **info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    *info = m_types.interfaceInfo.get();
    (*info)->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DoubleControl::GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID,
                                                       DISPID *ids)
{
    return DispGetIDsOfNames(m_types.interfaceInfo.get(), names, count, ids);
}

HRESULT STDMETHODCALLTYPE DoubleControl::Invoke(DISPID id, REFIID, LCID, WORD flags,
                                                DISPPARAMS *params, VARIANT *result,
                                                EXCEPINFO *exception, UINT *argumentError)
{
    if (!params)
        return E_POINTER;
    if (windowed() && !m_inPlace.active())
        return refuseInactive(m_scripted ? scriptedProgId : windowedProgId, exception);
    if (m_scripted)
        return m_scripted->invoke(id, flags, *params, result, exception, argumentError);
    if (m_flavour == Flavour::Caller && m_callerDue)
        callerRings();
    if (m_flavour == Flavour::Drifted) {
        if (id == phone::dispid::Dial)
            return DISP_E_MEMBERNOTFOUND;
        if (id == driftedDialId)
            id = phone::dispid::Dial;
    }
    Request request(flags, *params, result, argumentError);
    return dispatch(id, request, exception);
}

HRESULT DoubleControl::dispatch(DISPID member, Request &request, EXCEPINFO *exception)
{
    namespace contract = phone::dispid;
    HRESULT hr = S_OK;
    switch (member) {
    case contract::PopUp: {
        if (!request.isPut()) {
            if (FAILED(hr = request.expectGet()))
                return hr;
            return request.answer(boolVariant(m_popUp));
        }
        if (FAILED(hr = request.expectPut()))
            return hr;
        const VARIANT &value = request.argument(0);
        if (value.vt != VT_I2 && value.vt != VT_BOOL)
            return request.expectType(0, VT_I2);
        m_popUp = value.vt == VT_I2 ? value.iVal != 0 : value.boolVal != VARIANT_FALSE;
        m_lastCall = L"PopUp=" + describe(value);
        return S_OK;
    }
    case contract::ConnectionCount:
        if (FAILED(hr = request.expectGet()))
            return hr;
        return request.answer(longVariant(m_connections));
    case contract::IncomingCallID:
        if (FAILED(hr = request.expectGet()))
            return hr;
        return request.answer(longVariant(m_incomingCallId));
    case contract::LatestText:
        if (FAILED(hr = request.expectGet()))
            return hr;
        return request.answer(textVariant(m_latestText));
    case contract::Dial:
        if (FAILED(hr = request.expectMethod(1)) || FAILED(hr = request.expectType(0, VT_BSTR)))
            return hr;
        m_lastCall = L"Dial(" + describe(request.argument(0)) + L")";
        m_latestText = L"Wähle " + text(request.argument(0).bstrVal);
        ++m_connections;
        if (plays())
            playCall(text(request.argument(0).bstrVal));
        return S_OK;
    case contract::SendShortMessage:
        if (FAILED(hr = request.expectMethod(2)) || FAILED(hr = request.expectType(0, VT_BSTR))
            || FAILED(hr = request.expectType(1, VT_BSTR)))
            return hr;
        m_lastCall = L"SendShortMessage(" + describe(request.argument(0)) + L", "
                     + describe(request.argument(1)) + L")";
        return S_OK;
    case contract::SendDTMF:
        if (FAILED(hr = request.expectMethod(2))
            || FAILED(hr = request.expectType(0, VT_BYREF | VT_I4))
            || FAILED(hr = request.expectType(1, VT_BSTR)))
            return hr;
        m_lastCall = L"SendDTMF(" + describe(request.argument(0)) + L", "
                     + describe(request.argument(1)) + L")";
        // Writes into the caller's identifier, which the caller must not see.
        *request.argument(0).plVal = -1;
        return S_OK;
    case contract::AcceptCall:
        if (FAILED(hr = request.expectMethod(1))
            || FAILED(hr = request.expectType(0, VT_BYREF | VT_I4)))
            return hr;
        m_lastCall = L"AcceptCall(" + describe(request.argument(0)) + L")";
        if (plays())
            m_inPlace.post({L"OnConnected", 0, m_dialled, lineNumber, *request.argument(0).plVal});
        *request.argument(0).plVal = -1;
        ++m_connections;
        return S_OK;
    case contract::HangUp:
        if (FAILED(hr = request.expectMethod(1)) || FAILED(hr = request.expectType(0, VT_I4)))
            return hr;
        m_lastCall = L"HangUp(" + describe(request.argument(0)) + L")";
        if (m_connections > 0)
            --m_connections;
        if (plays())
            m_inPlace.post({L"OnDisConnected", 0, m_dialled, lineNumber, request.argument(0).lVal});
        return S_OK;
    case contract::ConvertNumber: {
        if (FAILED(hr = request.expectMethod(1)) || FAILED(hr = request.expectType(0, VT_BSTR)))
            return hr;
        m_lastCall = L"ConvertNumber(" + describe(request.argument(0)) + L")";
        std::wstring digits;
        for (wchar_t c : text(request.argument(0).bstrVal)) {
            if (std::iswdigit(c))
                digits += c;
        }
        return request.answer(textVariant(digits));
    }
    case dispid::LastCall:
        if (FAILED(hr = request.expectGet()))
            return hr;
        return request.answer(textVariant(m_lastCall));
    case dispid::Fail:
        if (FAILED(hr = request.expectMethod(1)) || FAILED(hr = request.expectType(0, VT_I4)))
            return hr;
        return fail(request.argument(0).lVal, exception);
    case dispid::Raise:
        if (FAILED(hr = request.expectMethod(4)) || FAILED(hr = request.expectType(1, VT_BSTR))
            || FAILED(hr = request.expectType(2, VT_BSTR))
            || FAILED(hr = request.expectType(3, VT_I4)))
            return hr;
        if (windowed())
            return post(request.argument(0), request.argument(1).bstrVal,
                        request.argument(2).bstrVal, request.argument(3).lVal);
        return raise(request.argument(0), request.argument(1).bstrVal, request.argument(2).bstrVal,
                     request.argument(3).lVal);
    case dispid::SiteUserMode:
        if (FAILED(hr = request.expectGet()))
            return hr;
        return request.answer(m_embedding.siteUserMode());
    case dispid::InitialisedWithSite:
        if (FAILED(hr = request.expectGet()))
            return hr;
        return request.answer(boolVariant(m_embedding.initialisedWithSite()));
    case dispid::KeepAlive:
        if (FAILED(hr = request.expectMethod(0)))
            return hr;
        keepAlive(static_cast<IDispatch *>(this));
        return S_OK;
    case dispid::Ambient:
        if (FAILED(hr = request.expectMethod(1)) || FAILED(hr = request.expectType(0, VT_I4)))
            return hr;
        return request.answer(ambient(request.argument(0).lVal));
    case dispid::Window:
        if (FAILED(hr = request.expectGet()))
            return hr;
        return request.answer(textVariant(m_inPlace.windowDescription()));
    case dispid::QuickContainer:
        if (FAILED(hr = request.expectGet()))
            return hr;
        return request.answer(textVariant(m_inPlace.quickContainer()));
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT DoubleControl::fail(std::int32_t mode, EXCEPINFO *exception)
{
    m_lastCall = L"Fail(" + std::to_wstring(mode) + L")";
    switch (mode) {
    case ExceptionWithDescription:
    case ExceptionDeferred:
    case ExceptionScodeOnly:
    case ExceptionWithNumber:
    case ExceptionControlScode:
        if (!exception)
            return DISP_E_EXCEPTION;
        *exception = EXCEPINFO{};
        if (mode == ExceptionDeferred) {
            exception->pfnDeferredFillIn = deferredFillIn;
        } else if (mode == ExceptionScodeOnly) {
            exception->scode = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        } else {
            deferredFillIn(exception);
            if (mode == ExceptionWithNumber) {
                exception->scode = 0;
                exception->wCode = 380;
            } else if (mode == ExceptionControlScode) {
                exception->scode = controlFacilityInvalidValue;
            }
        }
        return DISP_E_EXCEPTION;
    case PlainControlFailure:
        return controlFacilityTwo;
    case PlainFailure:
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    case UnknownFailure:
        return unknownFailure;
    default:
        return E_INVALIDARG;
    }
}

VARIANT DoubleControl::ambient(LONG id) const
{
    VARIANT value = m_embedding.ambient(id);
    if (value.vt != VT_DISPATCH)
        return value;
    ComPtr<IFont> font;
    if (value.pdispVal)
        value.pdispVal->QueryInterface(IID_IFont, font.putVoid());
    VariantClear(&value);
    return textVariant(fontText(font.get()));
}

HRESULT DoubleControl::post(const VARIANT &event, BSTR callingNumber, BSTR calledMSN, LONG callId)
{
    PostedEvent posted;
    if (event.vt == VT_I4)
        posted.id = event.lVal;
    else if (event.vt == VT_BSTR)
        posted.name = text(event.bstrVal);
    else
        return DISP_E_TYPEMISMATCH;
    posted.callingNumber = text(callingNumber);
    posted.calledMSN = text(calledMSN);
    posted.callId = callId;
    if (!m_inPlace.post(std::move(posted)))
        return E_UNEXPECTED;
    m_lastCall = L"Raise posted";
    return S_OK;
}

// Posted, so that they come from the message loop after Dial has returned, as a softphone's do.
void DoubleControl::playCall(const std::wstring &number)
{
    if (number == crashNumber) {
        m_inPlace.postAfter({crashEvent, 0, {}, {}, 0}, 1000);
        return;
    }
    m_dialled = number;
    const LONG id = ++m_lastCallId;
    for (const wchar_t *name : {L"OnConnecting", L"OnRing", L"OnConnected"})
        m_inPlace.post({name, 0, number, lineNumber, id});
}

void DoubleControl::callerRings()
{
    m_callerDue = false;
    m_dialled = callerNumber;
    m_incomingCallId = ++m_lastCallId;
    m_inPlace.postAfter({L"OnOffering", 0, callerNumber, lineNumber, m_incomingCallId}, 1000);
    m_inPlace.postAfter({L"OnRing", 0, callerNumber, lineNumber, m_incomingCallId}, 1100);
}

void DoubleControl::deliver(const PostedEvent &event)
{
    if (event.name == crashEvent)
        TerminateProcess(GetCurrentProcess(), 7);
    // A sink may release the adapter, and with it this control, while the event runs.
    AddRef();
    VARIANT which = event.name.empty() ? longVariant(event.id) : textVariant(event.name);
    BSTR calling = SysAllocStringLen(event.callingNumber.data(),
                                     static_cast<UINT>(event.callingNumber.size()));
    BSTR called =
        SysAllocStringLen(event.calledMSN.data(), static_cast<UINT>(event.calledMSN.size()));
    raise(which, calling, called, event.callId);
    SysFreeString(called);
    SysFreeString(calling);
    VariantClear(&which);
    Release();
}

HRESULT DoubleControl::raise(const VARIANT &event, BSTR callingNumber, BSTR calledMSN, LONG callId)
{
    DISPID id = 0;
    std::wstring name;
    bool variantArguments = false;
    if (event.vt == VT_I4) {
        id = event.lVal;
        name = L"#" + std::to_wstring(id);
    } else if (event.vt == VT_BSTR) {
        name = text(event.bstrVal);
        const EventEntry *found = nullptr;
        for (const EventEntry &entry : events) {
            if (name == entry.name)
                found = &entry;
        }
        if (!found)
            return E_INVALIDARG;
        id = found->id;
        variantArguments = found->variantArguments;
    } else {
        return DISP_E_TYPEMISMATCH;
    }

    // An MFC control drops what it would fire while its events are frozen.
    if (m_inPlace.eventsFrozen()) {
        m_lastCall = L"Raise " + name + L" dropped: events frozen";
        return S_OK;
    }

    // The values the sinks get by reference, and what they must still be afterwards.
    const std::wstring calling = text(callingNumber);
    const std::wstring called = text(calledMSN);
    BSTR callingCopy = SysAllocStringLen(calling.data(), static_cast<UINT>(calling.size()));
    BSTR calledCopy = SysAllocStringLen(called.data(), static_cast<UINT>(called.size()));
    const BSTR callingBefore = callingCopy;
    const BSTR calledBefore = calledCopy;
    LONG callIdCopy = callId;
    VARIANT held[3];
    for (VARIANT &value : held)
        VariantInit(&value);

    VARIANT arguments[3];
    UINT count = 3;
    if (id == statusEvent) {
        count = 1;
        arguments[0] = variantOf(VT_BYREF | VT_BSTR);
        arguments[0].pbstrVal = &callingCopy;
    } else if (variantArguments) {
        held[0] = textVariant(calling);
        held[1] = textVariant(called);
        held[2] = longVariant(callId);
        for (int i = 0; i < 3; ++i) {
            arguments[2 - i] = variantOf(VT_BYREF | VT_VARIANT);
            arguments[2 - i].pvarVal = &held[i];
        }
    } else {
        arguments[2] = variantOf(VT_BYREF | VT_BSTR);
        arguments[2].pbstrVal = &callingCopy;
        arguments[1] = variantOf(VT_BYREF | VT_BSTR);
        arguments[1].pbstrVal = &calledCopy;
        arguments[0] = variantOf(VT_BYREF | VT_I4);
        arguments[0].plVal = &callIdCopy;
    }
    DISPPARAMS params{arguments, nullptr, count, 0};

    int reached = 0;
    std::wstring failures;
    for (IDispatch *sink : m_eventPoint.sinks()) {
        EXCEPINFO exception{};
        const HRESULT hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                        nullptr, &exception, nullptr);
        sink->Release();
        ++reached;
        if (FAILED(hr))
            failures += L", failed";
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }

    bool unchanged = callingCopy == callingBefore && calledCopy == calledBefore
                     && text(callingCopy) == calling && text(calledCopy) == called
                     && callIdCopy == callId;
    if (variantArguments) {
        unchanged = held[0].vt == VT_BSTR && text(held[0].bstrVal) == calling
                    && held[1].vt == VT_BSTR && text(held[1].bstrVal) == called
                    && held[2].vt == VT_I4 && held[2].lVal == callId;
    }
    for (VARIANT &value : held)
        VariantClear(&value);
    SysFreeString(callingCopy);
    SysFreeString(calledCopy);

    if (name == L"OnRing")
        m_incomingCallId = callId;
    m_lastCall = L"Raise " + name + L" to " + std::to_wstring(reached) + L" sink(s)" + failures
                 + (unchanged ? L": unchanged" : L": changed");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DoubleControl::GetClassInfo(ITypeInfo **info)
{
    if (!info)
        return E_POINTER;
    *info = m_types.controlClass.get();
    (*info)->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DoubleControl::GetGUID(DWORD kind, GUID *guid)
{
    if (!guid)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *guid = eventsId;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DoubleControl::EnumConnectionPoints(IEnumConnectionPoints **points)
{
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE DoubleControl::FindConnectionPoint(REFIID iid, IConnectionPoint **point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (iid != eventsId)
        return CONNECT_E_NOCONNECTION;
    *point = &m_eventPoint;
    m_eventPoint.AddRef();
    return S_OK;
}

} // namespace tervani_double
