// The container hosting ActiveX controls written elsewhere: the ones Wine ships. Each is
// created by its programmatic identifier and embedded by ControlHost in the adapter's hidden
// window at the form's place; its default source interface is read as the adapter reads it,
// and a sink of this program's own, connected at that connection point, records every event
// whatever its identifier and arguments (the adapter's sink knows only the phone's events).
//
// The run's environment leaves out Wine's HTML engine (mshtml), as the bench's Wine tests
// do: the WebBrowser's navigation to about:blank then finds no handler for the about:
// protocol and ends in NavigateError, and no document is loaded.

#include "phone/com/ComPtr.h"
#include "phone/com/ComText.h"
#include "phone/com/ControlHost.h"
#include "phone/com/EventInterface.h"
#include "phone/com/Hosting.h"
#include "phone/com/NamelessDispatch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <ole2.h>
#include <wmp.h>
#include <wmpids.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using phone::com::ComPtr;

std::string utf8(const wchar_t *text)
{
    return phone::com::toUtf8(reinterpret_cast<const char16_t *>(text));
}

std::string bstrText(BSTR text)
{
    return phone::com::toUtf8(phone::com::fromBstr(text));
}

// HRESULTs compared as text, so a failure shows the code.
std::string hex(HRESULT result)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

// The COM identity of an object, to compare without holding it.
const void *identity(IUnknown *object)
{
    if (!object)
        return nullptr;
    IUnknown *unknown = nullptr;
    if (FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&unknown))))
        return nullptr;
    unknown->Release();
    return unknown;
}

// The value behind a VARIANT, through its references, as text: "true", "about:blank",
// "-2147221020"; objects read "object" and are kept by identity only.
std::string textOf(const VARIANT &argument)
{
    VARIANT value;
    VariantInit(&value);
    if (FAILED(VariantCopyInd(&value, const_cast<VARIANT *>(&argument))))
        return "?";
    // A reference to a variant leads to the variant itself, which may hold one more.
    while (value.vt == (VT_BYREF | VT_VARIANT)) {
        VARIANT inner;
        VariantInit(&inner);
        const HRESULT copied = VariantCopyInd(&inner, value.pvarVal);
        VariantClear(&value);
        if (FAILED(copied))
            return "?";
        value = inner;
    }
    std::string text;
    switch (value.vt) {
    case VT_EMPTY:
        text = "Empty";
        break;
    case VT_NULL:
        text = "Null";
        break;
    case VT_BOOL:
        text = value.boolVal ? "true" : "false";
        break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        text = value.punkVal ? "object" : "no object";
        break;
    default: {
        VARIANT converted;
        VariantInit(&converted);
        if (SUCCEEDED(VariantChangeTypeEx(&converted, &value, LOCALE_INVARIANT, 0, VT_BSTR)))
            text = bstrText(converted.bstrVal);
        else
            text = "?";
        VariantClear(&converted);
    }
    }
    VariantClear(&value);
    return text;
}

// One argument of an event as the sink got it: the type it was passed as, the value behind
// it as text, and for an object its identity.
struct EventArgument
{
    VARTYPE type = VT_EMPTY;
    std::string value;
    const void *object = nullptr;
};

struct RecordedEvent
{
    DISPID id = DISPID_UNKNOWN;
    // In the order of the event's declaration, the first parameter first.
    std::vector<EventArgument> arguments;
};

// The program's side of a control's events: answers as the control's source interface and
// records every call.
class EventRecorder final : public phone::com::NamelessDispatch
{
public:
    static ComPtr<EventRecorder> create(const IID &source)
    {
        return ComPtr<EventRecorder>::adopt(new EventRecorder(source));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_source) {
            *object = static_cast<IDispatch *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    // Called on the test's thread only.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG remaining = --m_references;
        if (remaining == 0)
            delete this;
        return remaining;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params, VARIANT *,
                                     EXCEPINFO *, UINT *) override
    {
        RecordedEvent event;
        event.id = id;
        if (params) {
            // Arguments arrive last first.
            for (UINT i = params->cArgs; i > 0; --i) {
                const VARIANT &argument = params->rgvarg[i - 1];
                const bool isObject = argument.vt == VT_DISPATCH || argument.vt == VT_UNKNOWN;
                event.arguments.push_back({argument.vt, textOf(argument),
                                           isObject ? identity(argument.punkVal) : nullptr});
            }
        }
        events.push_back(std::move(event));
        return S_OK;
    }

    ULONG references() const { return m_references; }

    std::vector<RecordedEvent> events;

private:
    explicit EventRecorder(const IID &source)
        : m_source(source)
    {}
    ~EventRecorder() = default;

    ULONG m_references = 1;
    IID m_source;
};

// Delivers this thread's messages, as the window's event loop would, until the condition
// holds or the time is up.
template <typename Condition>
bool pumpUntil(Condition done, DWORD milliseconds = 3000)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        MsgWaitForMultipleObjects(
            0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(50, end - now)), QS_ALLINPUT);
    }
}

// Owns the BSTR of one call's text argument.
class Text
{
public:
    explicit Text(const wchar_t *text)
        : m_text(SysAllocString(text))
    {}
    ~Text() { SysFreeString(m_text); }
    Text(const Text &) = delete;
    Text &operator=(const Text &) = delete;

    BSTR get() const { return m_text; }

private:
    BSTR m_text;
};

VARIANT i4(LONG value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT boolean(bool value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

// Borrows the text for the call.
VARIANT text(const Text &value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = value.get();
    return v;
}

// Late-bound calls as a script makes them: the member's identifier asked for by name, then
// IDispatch::Invoke with the arguments in call order.
HRESULT invoke(IDispatch *object, const wchar_t *name, WORD flags, std::vector<VARIANT> arguments,
               VARIANT *result = nullptr)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    const HRESULT found = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(found))
        return found;
    std::reverse(arguments.begin(), arguments.end());
    DISPID propertyPut = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(arguments.size());
    params.rgvarg = arguments.empty() ? nullptr : arguments.data();
    if (flags & DISPATCH_PROPERTYPUT) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &propertyPut;
    }
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                                      &exception, &argumentError);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

HRESULT put(IDispatch *object, const wchar_t *name, VARIANT value)
{
    return invoke(object, name, DISPATCH_PROPERTYPUT, {value});
}

// A property read, late-bound, as "I4 144", "BSTR about:blank", "BOOL true", or the
// failure's code.
std::string read(IDispatch *object, const wchar_t *name)
{
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = invoke(object, name, DISPATCH_PROPERTYGET, {}, &result);
    if (FAILED(hr))
        return "failed " + hex(hr);
    std::string shown;
    if (result.vt == VT_I4)
        shown = "I4 " + textOf(result);
    else if (result.vt == VT_BSTR)
        shown = "BSTR " + textOf(result);
    else if (result.vt == VT_BOOL)
        shown = "BOOL " + textOf(result);
    else
        shown = "vt " + std::to_string(result.vt) + " " + textOf(result);
    VariantClear(&result);
    return shown;
}

std::string windowClass(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return utf8(name);
}

// The window's rectangle in its parent's client area, as "144,352 size 25x17".
std::string placeOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT *>(&rect), 2);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " size "
           + std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

// Each test hosts one control the way the adapter does, with ControlHost and its hidden
// window at the form's place (144,352; 661x450 HIMETRIC, 25x17 pixels), and connects its own
// sink. Everything is taken out again in the adapter's order: the sink disconnected, the
// control deactivated and closed, the control released, then the window.
class ForeignControlsTest : public testing::Test
{
protected:
    // dispatchId: the interface the late-bound calls go through, IDispatch unless the
    // control offers it only as the base of an interface of its own.
    void host(const wchar_t *progId, const IID &dispatchId = IID_IDispatch)
    {
        ASSERT_EQ(hex(CLSIDFromProgID(progId, &m_classId)), hex(S_OK)) << utf8(progId);
        ASSERT_EQ(hex(CoCreateInstance(m_classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                       control.putVoid())),
                  hex(S_OK));
        ASSERT_EQ(hex(control->QueryInterface(dispatchId, dispatch.putVoid())), hex(S_OK));

        // The default source interface as the adapter finds it.
        source = phone::com::findEventInterface(dispatch.get(), m_classId).iid;
        recorder = EventRecorder::create(source);

        host_ = std::make_unique<phone::com::ControlHost>(control, phone::com::ControlPlacement{});
        if (host_->offersQuickActivate()) {
            ComPtr<IUnknown> sink;
            recorder->QueryInterface(IID_IUnknown, sink.putVoid());
            host_->quickActivate(sink.get(), m_cookie);
        }
        host_->initialise();
        host_->activate();
        window = host_->controlWindow();

        if (m_cookie == 0) {
            const auto container = control.query<IConnectionPointContainer>();
            ASSERT_TRUE(container);
            ASSERT_EQ(hex(container->FindConnectionPoint(source, m_connectionPoint.put())),
                      hex(S_OK));
            adviseResult = m_connectionPoint->Advise(recorder.get(), &m_cookie);
            if (FAILED(adviseResult))
                m_cookie = 0;
        }
    }

    void TearDown() override
    {
        if (m_cookie != 0 && m_connectionPoint) {
            EXPECT_EQ(hex(m_connectionPoint->Unadvise(m_cookie)), hex(S_OK));
        }
        m_connectionPoint.reset();
        if (host_)
            host_->close();
        // Closed, the control has taken its window out of ours.
        if (window) {
            EXPECT_FALSE(IsWindow(window));
        }
        dispatch.reset();
        control.reset();
        host_.reset();
        // Whatever the control held of the sink it has given back.
        if (recorder) {
            EXPECT_EQ(recorder->references(), 1u);
        }
        recorder.reset();
    }

    // The event's name in the control's own description of its default source interface.
    std::string eventName(DISPID id) const
    {
        ComPtr<ITypeInfo> coclass;
        const auto provider = control.query<IProvideClassInfo>();
        if (!provider || FAILED(provider->GetClassInfo(coclass.put())) || !coclass)
            return "?";
        TYPEATTR *attributes = nullptr;
        if (FAILED(coclass->GetTypeAttr(&attributes)))
            return "?";
        const UINT count = attributes->cImplTypes;
        coclass->ReleaseTypeAttr(attributes);
        for (UINT i = 0; i < count; ++i) {
            INT flags = 0;
            HREFTYPE reference = 0;
            ComPtr<ITypeInfo> info;
            if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || !(flags & IMPLTYPEFLAG_FSOURCE)
                || FAILED(coclass->GetRefTypeOfImplType(i, &reference))
                || FAILED(coclass->GetRefTypeInfo(reference, info.put())))
                continue;
            TYPEATTR *sourceAttributes = nullptr;
            if (FAILED(info->GetTypeAttr(&sourceAttributes)))
                continue;
            const bool wanted = sourceAttributes->guid == source;
            info->ReleaseTypeAttr(sourceAttributes);
            BSTR name = nullptr;
            if (!wanted || FAILED(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr)))
                continue;
            std::string result = bstrText(name);
            SysFreeString(name);
            return result;
        }
        return "?";
    }

    // The events so far as "OnVisible(false)", by number where the control's description
    // names none, for comparing and for failure messages.
    std::vector<std::string> eventsSoFar() const
    {
        std::vector<std::string> result;
        for (const RecordedEvent &event : recorder->events) {
            const std::string name = eventName(event.id);
            std::string line = (name == "?" ? std::to_string(event.id) : name) + "(";
            for (std::size_t i = 0; i < event.arguments.size(); ++i)
                line += (i ? ", " : "") + event.arguments[i].value;
            result.push_back(line + ")");
        }
        return result;
    }

    bool receivedNamed(const std::string &name) const
    {
        return std::any_of(recorder->events.begin(), recorder->events.end(),
                           [&](const RecordedEvent &event) { return eventName(event.id) == name; });
    }

    bool received(DISPID id) const
    {
        return std::any_of(recorder->events.begin(), recorder->events.end(),
                           [id](const RecordedEvent &event) { return event.id == id; });
    }

    ComPtr<IUnknown> control;
    ComPtr<IDispatch> dispatch;
    IID source{};
    ComPtr<EventRecorder> recorder;
    std::unique_ptr<phone::com::ControlHost> host_;
    HWND window = nullptr;
    HRESULT adviseResult = E_FAIL;

private:
    CLSID m_classId{};
    ComPtr<IConnectionPoint> m_connectionPoint;
    DWORD m_cookie = 0;
};

std::string joined(const std::vector<std::string> &lines)
{
    std::string result;
    for (const std::string &line : lines)
        result += line + "\n";
    return result;
}

// The WebBrowser takes its place from the in-place site (GetWindowContext), and moves only
// by asking the site (OnPosRectChange), which answers with SetObjectRects. Its bar and
// visibility properties report their changes as events.
TEST_F(ForeignControlsTest, WebBrowserTakesItsPlaceFromTheSiteAndReportsChanges)
{
    ASSERT_NO_FATAL_FAILURE(host(L"Shell.Explorer.2"));
    EXPECT_TRUE(source == DIID_DWebBrowserEvents2);
    EXPECT_EQ(hex(adviseResult), hex(S_OK));
    ASSERT_TRUE(window);
    EXPECT_EQ(windowClass(window), "Shell Embedding");
    EXPECT_EQ(GetParent(window), host_->parentWindow());
    EXPECT_EQ(placeOf(window), "144,352 size 25x17");

    EXPECT_EQ(read(dispatch.get(), L"Name"), "BSTR Microsoft Web Browser Control");
    EXPECT_EQ(read(dispatch.get(), L"Left"), "I4 144");
    EXPECT_EQ(read(dispatch.get(), L"Top"), "I4 352");
    EXPECT_EQ(read(dispatch.get(), L"Width"), "I4 25");
    EXPECT_EQ(read(dispatch.get(), L"Height"), "I4 17");

    EXPECT_EQ(hex(put(dispatch.get(), L"Width", i4(300))), hex(S_OK));
    EXPECT_EQ(read(dispatch.get(), L"Width"), "I4 300");
    EXPECT_EQ(placeOf(window), "144,352 size 300x17");

    EXPECT_EQ(hex(put(dispatch.get(), L"Visible", boolean(false))), hex(S_OK));
    EXPECT_EQ(hex(put(dispatch.get(), L"StatusBar", boolean(false))), hex(S_OK));
    EXPECT_EQ(read(dispatch.get(), L"Visible"), "BOOL false");
    ASSERT_EQ(recorder->events.size(), 2u) << joined(eventsSoFar());
    const RecordedEvent &visible = recorder->events[0];
    EXPECT_EQ(visible.id, DISPID_ONVISIBLE);
    EXPECT_EQ(eventName(visible.id), "OnVisible");
    ASSERT_EQ(visible.arguments.size(), 1u);
    EXPECT_EQ(visible.arguments[0].type, VT_BOOL);
    EXPECT_EQ(visible.arguments[0].value, "false");
    EXPECT_EQ(recorder->events[1].id, DISPID_ONSTATUSBAR);
    EXPECT_EQ(eventName(recorder->events[1].id), "OnStatusBar");
}

// Navigate2 needs the client site. The navigation announces itself with BeforeNavigate2,
// with the browser itself, the address and a Cancel flag to write, and without the HTML
// engine ends in NavigateError for the same address.
TEST_F(ForeignControlsTest, WebBrowserReportsANavigationFromBeginToEnd)
{
    ASSERT_NO_FATAL_FAILURE(host(L"Shell.Explorer.2"));
    EXPECT_EQ(hex(adviseResult), hex(S_OK));
    EXPECT_EQ(read(dispatch.get(), L"LocationURL"), "BSTR ");

    const Text address(L"about:blank");
    EXPECT_EQ(hex(invoke(dispatch.get(), L"Navigate2", DISPATCH_METHOD, {text(address)})),
              hex(S_OK));
    ASSERT_TRUE(pumpUntil([this] { return received(DISPID_NAVIGATEERROR); }))
        << joined(eventsSoFar());

    const std::vector<RecordedEvent> &events = recorder->events;
    ASSERT_GE(events.size(), 2u);
    const RecordedEvent &before = events.front();
    EXPECT_EQ(before.id, DISPID_BEFORENAVIGATE2);
    EXPECT_EQ(eventName(before.id), "BeforeNavigate2");
    // pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel.
    ASSERT_EQ(before.arguments.size(), 7u);
    EXPECT_EQ(before.arguments[0].type, VT_DISPATCH);
    EXPECT_EQ(before.arguments[0].object, identity(control.get()));
    EXPECT_EQ(before.arguments[1].type, VT_BYREF | VT_VARIANT);
    EXPECT_EQ(before.arguments[1].value, "about:blank");
    EXPECT_EQ(before.arguments[6].type, VT_BYREF | VT_BOOL);
    EXPECT_EQ(before.arguments[6].value, "false");

    const RecordedEvent &error = events.back();
    EXPECT_EQ(error.id, DISPID_NAVIGATEERROR);
    EXPECT_EQ(eventName(error.id), "NavigateError");
    // pDisp, URL, Frame, StatusCode, Cancel: urlmon knows no about: protocol without mshtml.
    ASSERT_EQ(error.arguments.size(), 5u);
    EXPECT_EQ(error.arguments[0].object, identity(control.get()));
    EXPECT_EQ(error.arguments[1].value, "about:blank");
    EXPECT_EQ(error.arguments[3].value, std::to_string(static_cast<LONG>(MK_E_SYNTAX)));
    EXPECT_TRUE(receivedNamed("DownloadBegin")) << joined(eventsSoFar());
    EXPECT_TRUE(receivedNamed("DownloadComplete")) << joined(eventsSoFar());

    EXPECT_EQ(read(dispatch.get(), L"LocationURL"), "BSTR about:blank");
}

// Windows Media Player makes its window in the site's window at the site's place, and
// reports the opening of a new address through its connection point. Wine's player answers
// no IDispatch (CoCreateInstance for it fails, and the dual interface's GetIDsOfNames and
// Invoke are not implemented), so the calls go through IWMPPlayer4 itself.
TEST_F(ForeignControlsTest, MediaPlayerSitsAtTheSitesPlaceAndReportsOpeningAnAddress)
{
    ASSERT_NO_FATAL_FAILURE(host(L"WMPlayer.OCX", __uuidof(IWMPPlayer4)));
    EXPECT_TRUE(source == __uuidof(_WMPOCXEvents));
    EXPECT_EQ(hex(adviseResult), hex(S_OK));
    ASSERT_TRUE(window);
    EXPECT_EQ(windowClass(window), "ATL:WMP");
    EXPECT_EQ(GetParent(window), host_->parentWindow());
    EXPECT_EQ(placeOf(window), "144,352 size 25x17");

    auto *player = static_cast<IWMPPlayer4 *>(static_cast<IDispatch *>(dispatch.get()));
    ComPtr<IWMPSettings> settings;
    ASSERT_EQ(hex(player->get_settings(settings.put())), hex(S_OK));
    // Opened only: playing would build a media graph for a file that is not there.
    ASSERT_EQ(hex(settings->put_autoStart(VARIANT_FALSE)), hex(S_OK));
    const Text address(L"C:\\windows\\media\\tervani.mp3");
    EXPECT_EQ(hex(player->put_URL(address.get())), hex(S_OK));
    pumpUntil([this] { return recorder->events.size() >= 5; }, 1000);

    // Wine's type library declares _WMPOCXEvents without members: the events have numbers only.
    const auto event = [](DISPID id, int state) {
        return std::to_string(id) + "(" + std::to_string(state) + ")";
    };
    EXPECT_EQ(eventsSoFar(),
              (std::vector<std::string>{
                  event(DISPID_WMPCOREEVENT_PLAYSTATECHANGE, wmppsTransitioning),
                  event(DISPID_WMPCOREEVENT_OPENSTATECHANGE, wmposPlaylistChanging),
                  event(DISPID_WMPCOREEVENT_OPENSTATECHANGE, wmposPlaylistChanged),
                  event(DISPID_WMPCOREEVENT_OPENSTATECHANGE, wmposPlaylistOpenNoMedia),
                  event(DISPID_WMPCOREEVENT_PLAYSTATECHANGE, wmppsReady)}));
    ASSERT_FALSE(recorder->events.empty());
    ASSERT_EQ(recorder->events.front().arguments.size(), 1u);
    EXPECT_EQ(recorder->events.front().arguments[0].type, VT_UI4);
}

// The Script Control offers QuickActivate but refuses it, so the host takes the steps one by
// one; it makes no window. Late-bound it evaluates with the scripting engine it is given.
// Wine's control connects no sink at all (Advise is not implemented): it has no events here.
TEST_F(ForeignControlsTest, ScriptControlIsHostedStepByStepAndEvaluatesLateBound)
{
    ASSERT_NO_FATAL_FAILURE(host(L"MSScriptControl.ScriptControl"));
    EXPECT_TRUE(host_->offersQuickActivate());
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(hex(adviseResult), hex(E_NOTIMPL));

    const Text language(L"JScript");
    EXPECT_EQ(hex(put(dispatch.get(), L"Language", text(language))), hex(S_OK));
    EXPECT_EQ(read(dispatch.get(), L"Language"), "BSTR JScript");
    const Text expression(L"6*7");
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(hex(invoke(dispatch.get(), L"Eval", DISPATCH_METHOD, {text(expression)}, &result)),
              hex(S_OK));
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(textOf(result), "42");
    VariantClear(&result);
}

} // namespace

// One single-threaded apartment with OLE for the whole run, like the window's thread.
int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(nullptr))) {
        std::fputs("OleInitialize failed\n", stderr);
        return 2;
    }
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
