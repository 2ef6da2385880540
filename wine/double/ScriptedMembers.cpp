#include "ScriptedMembers.h"

#include "DoubleIds.h"
#include "EventPoint.h"
#include "InPlaceObject.h"
#include "TypeLibrary.h"
#include "phone/Members.h"

#include <windows.h>

#include <string_view>

namespace tervani_double {

namespace {

// How the host ends when ScriptFaultOn's ExitFault strikes.
constexpr UINT faultExitCode = 3;

// A length prefix far beyond any frame the bench accepts, then text that is none.
constexpr unsigned char garbage[] = {0xff, 0xff, 0xff, 0x7f, 'n', 'o', 't', '-',
                                     'a',  '-',  'f',  'r',  'a', 'm', 'e', '!'};

// Keeps the control alive while its events run: a sink may release it meanwhile.
class Hold
{
public:
    explicit Hold(IUnknown &owner)
        : m_owner(owner)
    {
        m_owner.AddRef();
    }
    ~Hold() { m_owner.Release(); }
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;

private:
    IUnknown &m_owner;
};

std::wstring wide(std::string_view ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

// As a control reports a scripted failure: DISP_E_EXCEPTION naming the member.
HRESULT scriptFailure(const phone::Member &member, EXCEPINFO *exception)
{
    if (exception) {
        *exception = EXCEPINFO{};
        const std::wstring description = L"Skriptfehler bei " + wide(member.name);
        exception->bstrSource = SysAllocString(scriptedProgId);
        exception->bstrDescription =
            SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
        exception->scode = E_FAIL;
    }
    return DISP_E_EXCEPTION;
}

// Arguments in call order.
VARIANT &argument(DISPPARAMS &params, UINT index)
{
    return params.rgvarg[params.cArgs - 1 - index];
}

HRESULT mismatch(DISPPARAMS &params, UINT index, UINT *argumentError)
{
    if (argumentError)
        *argumentError = params.cArgs - 1 - index;
    return DISP_E_TYPEMISMATCH;
}

// A number as any automation number, by reference or not.
HRESULT longArgument(DISPPARAMS &params, UINT index, UINT *argumentError, LONG &value)
{
    VARIANT number;
    VariantInit(&number);
    if (FAILED(VariantChangeType(&number, &argument(params, index), 0, VT_I4)))
        return mismatch(params, index, argumentError);
    value = number.lVal;
    return S_OK;
}

HRESULT textArgument(DISPPARAMS &params, UINT index, UINT *argumentError, std::wstring &value)
{
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantCopyInd(&text, &argument(params, index))) || text.vt != VT_BSTR) {
        VariantClear(&text);
        return mismatch(params, index, argumentError);
    }
    value.assign(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return S_OK;
}

// The script members are methods without named arguments.
HRESULT expectMethod(WORD flags, const DISPPARAMS &params, UINT count)
{
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    if (params.cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;
    return params.cArgs == count ? S_OK : DISP_E_BADPARAMCOUNT;
}

void writeGarbage()
{
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE)
        return;
    DWORD done = 0;
    while (done < sizeof garbage) {
        DWORD written = 0;
        if (!WriteFile(output, garbage + done, static_cast<DWORD>(sizeof garbage - done), &written,
                       nullptr)
            || written == 0)
            break;
        done += written;
    }
    FlushFileBuffers(output);
}

[[noreturn]] void hang()
{
    for (;;)
        Sleep(INFINITE);
}

VARIANT textVariant(const wchar_t *text)
{
    VARIANT result;
    VariantInit(&result);
    result.vt = VT_BSTR;
    result.bstrVal = SysAllocString(text);
    return result;
}

} // namespace

ScriptedMembers::ScriptedMembers(IUnknown &owner, EventPoint &events, InPlaceObject &inPlace)
    : m_owner(owner)
    , m_events(events)
    , m_inPlace(inPlace)
{
    namespace contract = phone::dispid;
    VARIANT &popUp = m_answers[contract::PopUp].value;
    popUp.vt = VT_BOOL;
    popUp.boolVal = VARIANT_FALSE;
    for (DISPID number : {contract::ConnectionCount, contract::IncomingCallID}) {
        VARIANT &answer = m_answers[number].value;
        answer.vt = VT_I4;
        answer.lVal = 0;
    }
    for (DISPID text : {contract::LatestText, contract::ConvertNumber})
        m_answers[text].value = textVariant(L"");
}

ScriptedMembers::~ScriptedMembers() = default;

HRESULT ScriptedMembers::invoke(DISPID member, WORD flags, DISPPARAMS &params, VARIANT *result,
                                EXCEPINFO *exception, UINT *argumentError)
{
    if (phone::findMember(std::int32_t{member}))
        return contractMember(member, flags, params, result, exception);
    return scriptMember(member, flags, params, argumentError);
}

HRESULT ScriptedMembers::contractMember(DISPID member, WORD flags, DISPPARAMS &params,
                                        VARIANT *result, EXCEPINFO *exception)
{
    if (const auto armed = m_faults.find(member); armed != m_faults.end()) {
        const std::int32_t kind = armed->second;
        m_faults.erase(armed);
        fault(kind);
        return S_OK;
    }
    if (m_failing.contains(member))
        return scriptFailure(*phone::findMember(std::int32_t{member}), exception);

    // A write is taken whatever it brings, and changes nothing.
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF))
        return S_OK;
    if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
        return DISP_E_MEMBERNOTFOUND;
    if (flags & DISPATCH_METHOD) {
        for (UINT i = 0; i < params.cArgs; ++i) {
            VARIANT &given = params.rgvarg[i];
            if (given.vt == (VT_BYREF | VT_I4) && given.plVal) {
                *given.plVal = writtenBack;
            } else if (given.vt == (VT_BYREF | VT_VARIANT) && given.pvarVal) {
                VariantClear(given.pvarVal);
                given.pvarVal->vt = VT_I4;
                given.pvarVal->lVal = writtenBack;
            }
        }
    }
    if (!result)
        return S_OK;
    const auto answer = m_answers.find(member);
    if (answer == m_answers.end()) {
        VariantClear(result);
        return S_OK;
    }
    return VariantCopy(result, &answer->second.value);
}

HRESULT ScriptedMembers::scriptMember(DISPID member, WORD flags, DISPPARAMS &params,
                                      UINT *argumentError)
{
    HRESULT hr = S_OK;
    LONG number = 0;
    std::wstring name;
    switch (member) {
    case dispid::ScriptAnswer:
        if (FAILED(hr = expectMethod(flags, params, 2))
            || FAILED(hr = longArgument(params, 0, argumentError, number)))
            return hr;
        return setAnswer(number, argument(params, 1));
    case dispid::ScriptFailing:
        if (FAILED(hr = expectMethod(flags, params, 1))
            || FAILED(hr = longArgument(params, 0, argumentError, number)))
            return hr;
        if (!phone::findMember(std::int32_t{number}))
            return E_INVALIDARG;
        m_failing.insert(number);
        return S_OK;
    case dispid::ScriptRaise:
        if (FAILED(hr = expectMethod(flags, params, 4))
            || FAILED(hr = textArgument(params, 0, argumentError, name)))
            return hr;
        raise(name, 1, argument(params, 1), argument(params, 2), argument(params, 3));
        return S_OK;
    case dispid::ScriptRaiseMany:
        if (FAILED(hr = expectMethod(flags, params, 5))
            || FAILED(hr = textArgument(params, 0, argumentError, name))
            || FAILED(hr = longArgument(params, 1, argumentError, number)))
            return hr;
        raise(name, number, argument(params, 2), argument(params, 3), argument(params, 4));
        return S_OK;
    case dispid::ScriptPost:
    case dispid::ScriptTimer:
        if (FAILED(hr = expectMethod(flags, params, 5)))
            return hr;
        return postEvent(params, argumentError, member == dispid::ScriptTimer);
    case dispid::ScriptHang:
        if (FAILED(hr = expectMethod(flags, params, 0)))
            return hr;
        hang();
    case dispid::ScriptExit:
        if (FAILED(hr = expectMethod(flags, params, 1))
            || FAILED(hr = longArgument(params, 0, argumentError, number)))
            return hr;
        TerminateProcess(GetCurrentProcess(), static_cast<UINT>(number));
        return S_OK;
    case dispid::ScriptGarbage:
        if (FAILED(hr = expectMethod(flags, params, 0)))
            return hr;
        writeGarbage();
        return S_OK;
    case dispid::ScriptFaultOn: {
        LONG kind = 0;
        if (FAILED(hr = expectMethod(flags, params, 2))
            || FAILED(hr = longArgument(params, 0, argumentError, number))
            || FAILED(hr = longArgument(params, 1, argumentError, kind)))
            return hr;
        if (!phone::findMember(std::int32_t{number}) || kind < phone::scripted::ids::HangFault
            || kind > phone::scripted::ids::GarbageFault)
            return E_INVALIDARG;
        m_faults[number] = kind;
        return S_OK;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT ScriptedMembers::postEvent(DISPPARAMS &params, UINT *argumentError, bool timed)
{
    std::wstring name;
    LONG number = 0;
    std::wstring calling;
    std::wstring called;
    LONG callId = 0;
    HRESULT hr = S_OK;
    if (FAILED(hr = textArgument(params, 0, argumentError, name))
        || FAILED(hr = longArgument(params, 1, argumentError, number))
        || FAILED(hr = textArgument(params, 2, argumentError, calling))
        || FAILED(hr = textArgument(params, 3, argumentError, called))
        || FAILED(hr = longArgument(params, 4, argumentError, callId)))
        return hr;
    const PostedEvent event{name, 0, calling, called, callId};
    if (timed)
        return m_inPlace.postAfter(event, static_cast<UINT>(number)) ? S_OK : E_UNEXPECTED;
    for (LONG i = 0; i < number; ++i) {
        if (!m_inPlace.post(event))
            return E_UNEXPECTED;
    }
    return S_OK;
}

HRESULT ScriptedMembers::setAnswer(DISPID member, const VARIANT &value)
{
    if (!phone::findMember(std::int32_t{member}))
        return E_INVALIDARG;
    // By value: what a by-reference argument points at is the caller's, and gone after the
    // call.
    VARIANT copy;
    VariantInit(&copy);
    const HRESULT hr = VariantCopyInd(&copy, const_cast<VARIANT *>(&value));
    if (FAILED(hr))
        return hr;
    VARIANT &answer = m_answers[member].value;
    VariantClear(&answer);
    answer = copy;
    m_failing.erase(member);
    return S_OK;
}

void ScriptedMembers::raise(const std::wstring &name, LONG count, const VARIANT &callingNumber,
                            const VARIANT &calledMSN, const VARIANT &callId)
{
    const EventEntry *found = nullptr;
    for (const EventEntry &entry : events) {
        if (name == entry.name)
            found = &entry;
    }
    if (!found || count <= 0)
        return;
    // By value, so every delivery starts from what the script gave.
    VARIANT values[3];
    const VARIANT *given[] = {&callingNumber, &calledMSN, &callId};
    for (int i = 0; i < 3; ++i) {
        VariantInit(&values[i]);
        VariantCopyInd(&values[i], const_cast<VARIANT *>(given[i]));
    }
    {
        const Hold hold(m_owner);
        const UINT argumentCount = found->id == statusEvent ? 1 : 3;
        for (LONG i = 0; i < count; ++i)
            deliver(found->id, argumentCount, values);
        for (VARIANT &value : values)
            VariantClear(&value);
    }
}

void ScriptedMembers::deliver(DISPID event, UINT argumentCount, const VARIANT (&values)[3])
{
    // An MFC control drops what it would fire while its events are frozen.
    if (m_inPlace.eventsFrozen())
        return;
    for (IDispatch *sink : m_events.sinks()) {
        // Each sink gets its own copies, whatever an earlier one wrote into its own.
        VARIANT copies[3];
        VARIANT arguments[3];
        for (UINT i = 0; i < 3; ++i) {
            VariantInit(&copies[i]);
            VariantCopy(&copies[i], const_cast<VARIANT *>(&values[i]));
        }
        // Last first, as IDispatch::Invoke takes them.
        for (UINT i = 0; i < argumentCount; ++i) {
            VARIANT &slot = arguments[argumentCount - 1 - i];
            VariantInit(&slot);
            slot.vt = VT_BYREF | VT_VARIANT;
            slot.pvarVal = &copies[i];
        }
        DISPPARAMS params{arguments, nullptr, argumentCount, 0};
        EXCEPINFO exception{};
        sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                     &exception, nullptr);
        sink->Release();
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        for (VARIANT &copy : copies)
            VariantClear(&copy);
    }
}

void ScriptedMembers::fault(std::int32_t kind)
{
    switch (kind) {
    case phone::scripted::ids::HangFault:
        hang();
    case phone::scripted::ids::ExitFault:
        TerminateProcess(GetCurrentProcess(), faultExitCode);
        break;
    case phone::scripted::ids::GarbageFault:
        writeGarbage();
        break;
    default:
        break;
    }
}

} // namespace tervani_double
