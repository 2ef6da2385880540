#include "phone/com/ComControl.h"

#include "phone/Error.h"
#include "phone/com/ComError.h"
#include "phone/com/ComText.h"
#include "phone/com/ComVariant.h"
#include "phone/com/ConnectionSink.h"
#include "phone/com/ContractReader.h"
#include "phone/com/ControlHost.h"
#include "phone/com/EventInterface.h"

#include <ocidl.h>

#include <utility>

namespace phone::com {

namespace {

// Whether the class has a DLL registered in one registry view: 32-bit and 64-bit programs
// each see their own.
bool hasInprocServer(const CLSID &classId, REGSAM view)
{
    wchar_t text[40]{};
    if (StringFromGUID2(classId, text, 40) == 0)
        return false;
    const std::wstring key = L"CLSID\\" + std::wstring(text) + L"\\InprocServer32";
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

void checkCreation(HRESULT result)
{
    if (FAILED(result))
        throw Error(ErrorKind::Component, systemMessage(result));
}

// The name was found: a class that cannot be made is most often registered for the other
// bitness only. The real control is a 32-bit DLL, registered in the 32-bit view only.
void checkClassCreation(HRESULT result, const CLSID &classId)
{
    if (SUCCEEDED(result))
        return;
    constexpr bool wide = sizeof(void *) == 8;
    std::string reason = systemMessage(result);
    if (!hasInprocServer(classId, wide ? KEY_WOW64_64KEY : KEY_WOW64_32KEY)
        && hasInprocServer(classId, wide ? KEY_WOW64_32KEY : KEY_WOW64_64KEY))
        reason += wide ? "\nEin 32-Bit-Steuerelement läuft nur in einem 32-Bit-Programm "
                         "oder in einem DLL-Surrogat."
                       : "\nEs ist nur für 64 Bit registriert und läuft im 64-Bit-Host "
                         "(--host tervani-host-x64.exe).";
    throw Error(ErrorKind::Component, reason);
}

// A name nobody registered: what the user can do about it.
void checkName(HRESULT result)
{
    if (result != CO_E_CLASSSTRING)
        return checkCreation(result);
    throw Error(ErrorKind::Component,
                systemMessage(result)
                    + "\nDer Name ist auf diesem Rechner nicht registriert; das tut das "
                      "Installationsprogramm des Steuerelements (oder regsvr32 mit seiner Datei).");
}

} // namespace

ComControl::ComControl(std::u16string_view progId, const HostingOptions &hosting)
{
    try {
        create(progId, hosting);
    } catch (const Error &error) {
        release();
        throw Error(ErrorKind::Component, "Das Steuerelement „" + toUtf8(progId)
                                              + "“ konnte nicht erstellt werden.\n"
                                              + error.description());
    } catch (...) {
        release();
        throw;
    }
}

ComControl::~ComControl()
{
    release();
}

void ComControl::create(std::u16string_view progId, const HostingOptions &hosting)
{
    // Controls expect the single-threaded apartment with OLE; the window's thread usually
    // has it already, and then this only counts up.
    const HRESULT initialized = OleInitialize(nullptr);
    checkCreation(initialized);
    m_oleInitialized = true;

    const std::u16string name(progId);
    CLSID &classId = m_classId;
    checkName(CLSIDFromProgID(wide(name), &classId));
    // In process for the 32-bit build; a local server lets a 64-bit build reach the 32-bit
    // control through a DLL surrogate.
    checkClassCreation(CoCreateInstance(classId, nullptr,
                                        CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                        m_control.putVoid()),
                       classId);

    m_host =
        std::make_unique<ControlHost>(ComPtr<IUnknown>::retain(m_control.get()), hosting.placement);
    const bool inPlace = hosting.activation == Activation::InPlace;
    // QuickActivate connects the sink itself, so it must know the events beforehand.
    if (inPlace && m_host->offersQuickActivate()) {
        prepareEvents(classId);
        ComPtr<IUnknown> sink;
        m_sink->QueryInterface(IID_IUnknown, sink.putVoid());
        m_host->quickActivate(sink.get(), m_cookie);
    }
    m_host->initialise();
    if (inPlace)
        m_host->activate();

    if (!m_sink)
        prepareEvents(classId);
    if (m_cookie == 0)
        advise();
}

contract::Description ComControl::describe() const
{
    return describeControl(m_control.get(), m_classId);
}

std::optional<contract::Description> ComControl::typeDescription() const
{
    try {
        return describe();
    } catch (const Error &) {
        return std::nullopt;
    }
}

void ComControl::prepareEvents(const CLSID &classId)
{
    EventInterface events = findEventInterface(m_control.get(), classId);
    const IID source = events.iid;
    m_sink = ConnectionSink::create(std::move(events));
    const auto container = m_control.query<IConnectionPointContainer>();
    if (!container)
        throw Error(ErrorKind::Component, "Das Steuerelement bietet keine Ereignisse an.");
    checkCreation(container->FindConnectionPoint(source, m_connectionPoint.put()));
}

void ComControl::advise()
{
    IUnknown *sink = nullptr;
    m_sink->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&sink));
    const HRESULT result = m_connectionPoint->Advise(sink, &m_cookie);
    sink->Release();
    if (FAILED(result)) {
        m_cookie = 0;
        check(result);
    }
}

void ComControl::unadvise() noexcept
{
    if (m_sink)
        m_sink->setTarget(nullptr);
    // A control that already let go of the sink has nothing left to disconnect.
    if (m_cookie != 0 && m_connectionPoint)
        m_connectionPoint->Unadvise(m_cookie);
    m_cookie = 0;
}

void ComControl::release() noexcept
{
    unadvise();
    if (m_host)
        m_host->close();
    m_connectionPoint.reset();
    m_control.reset();
    m_sink.reset();
    // Only now the window: the control is gone, or at least out of it.
    m_host.reset();
    if (std::exchange(m_oleInitialized, false))
        OleUninitialize();
}

HWND ComControl::controlWindow() const
{
    return m_host ? m_host->controlWindow() : nullptr;
}

HWND ComControl::parentWindow() const
{
    return m_host ? m_host->parentWindow() : nullptr;
}

Value ComControl::getProperty(std::int32_t dispId)
{
    DISPPARAMS none{};
    return call(dispId, DISPATCH_PROPERTYGET, &none, true);
}

void ComControl::putProperty(std::int32_t dispId, const Value &value)
{
    CallArguments arguments(value);
    call(dispId, DISPATCH_PROPERTYPUT, arguments.params(), false);
}

Value ComControl::invoke(std::int32_t dispId, std::span<Argument> arguments)
{
    CallArguments copies(arguments);
    // Both flags, as late-bound callers do when they use a result: a member the control
    // declares as a property with arguments is reached the same way.
    return call(dispId, DISPATCH_METHOD | DISPATCH_PROPERTYGET, copies.params(), true);
}

void ComControl::connectEvents(EventSink *sink)
{
    if (!sink) {
        unadvise();
        return;
    }
    if (m_cookie == 0)
        advise();
    m_sink->setTarget(sink);
}

Value ComControl::call(std::int32_t dispId, WORD flags, DISPPARAMS *params, bool wantResult)
{
    Variant result;
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT hr =
        m_control->Invoke(dispId, IID_NULL, LOCALE_USER_DEFAULT, flags, params,
                          wantResult ? result.get() : nullptr, &exception, &argumentError);
    if (hr == DISP_E_EXCEPTION)
        throwException(exception);
    check(hr);
    return toValue(*result, takenAs(dispId));
}

} // namespace phone::com
