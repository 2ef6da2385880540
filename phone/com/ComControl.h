#pragma once

#include "phone/Contract.h"
#include "phone/Dispatch.h"
#include "phone/Members.h"
#include "phone/com/ComPtr.h"
#include "phone/com/Hosting.h"

#include <windows.h>

#include <ocidl.h>
#include <ole2.h>

#include <memory>
#include <string>
#include <string_view>

namespace phone::com {

class ConnectionSink;
class ControlHost;

using phone::tervaniProgId;

// The control as a Windows automation object, reached late-bound through IDispatch by its
// dispatch identifiers. Lives on the thread that creates it, which becomes (or already is)
// a single-threaded apartment; its events are delivered on that thread.
class ComControl final : public Dispatch
{
public:
    // Creates the registered control and hosts it as a form does: its site with the ambient
    // properties, initialisation, its extent, in-place activation in the placement's window
    // (by default a hidden one of the adapter's own), then its events. Throws phone::Error
    // (ErrorKind::Component) with a German text naming the identifier and the system's
    // reason when any of that fails, after undoing what was done.
    explicit ComControl(std::u16string_view progId, const HostingOptions &hosting = {});
    ~ComControl() override;
    ComControl(const ComControl &) = delete;
    ComControl &operator=(const ComControl &) = delete;

    Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t dispId, const Value &value) override;
    Value invoke(std::int32_t dispId, std::span<Argument> arguments) override;
    void connectEvents(EventSink *sink) override;

    // The control's own window while it is active in place; nullptr for a control without
    // one, or one hosted with Activation::SiteOnly.
    HWND controlWindow() const;
    // The window the control is placed in: the program's, or the adapter's hidden one.
    HWND parentWindow() const;

    // What the control's type information declares. Throws phone::Error when it has none.
    contract::Description describe() const;
    std::optional<contract::Description> typeDescription() const override;

private:
    void create(std::u16string_view progId, const HostingOptions &hosting);
    void prepareEvents(const CLSID &classId);
    void advise();
    void unadvise() noexcept;
    void release() noexcept;
    Value call(std::int32_t dispId, WORD flags, DISPPARAMS *params, bool wantResult);

    bool m_oleInitialized = false;
    CLSID m_classId{};
    ComPtr<IDispatch> m_control;
    std::unique_ptr<ControlHost> m_host;
    ComPtr<IConnectionPoint> m_connectionPoint;
    ComPtr<ConnectionSink> m_sink;
    DWORD m_cookie = 0;
};

} // namespace phone::com
