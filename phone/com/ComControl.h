#pragma once

#include "phone/Dispatch.h"
#include "phone/com/ComPtr.h"

#include <windows.h>

#include <ocidl.h>
#include <ole2.h>

#include <string>
#include <string_view>

namespace phone::com {

class ConnectionSink;

// The programmatic identifier the real control is registered under.
inline constexpr std::u16string_view tervaniProgId = u"TervaniActiveX.axTervani";

// The control as a Windows automation object, reached late-bound through IDispatch by its
// dispatch identifiers. Lives on the thread that creates it, which becomes (or already is)
// a single-threaded apartment; its events are delivered on that thread.
class ComControl final : public Dispatch
{
public:
    // Creates the registered control, gives it a client site in user mode, initialises it
    // and connects to its events. Throws phone::Error (ErrorKind::Component) with a German
    // text naming the identifier and the system's reason when any of that fails.
    explicit ComControl(std::u16string_view progId);
    ~ComControl() override;
    ComControl(const ComControl &) = delete;
    ComControl &operator=(const ComControl &) = delete;

    Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t dispId, const Value &value) override;
    Value invoke(std::int32_t dispId, std::span<Argument> arguments) override;
    void connectEvents(EventSink *sink) override;

private:
    void create(std::u16string_view progId);
    void advise();
    void unadvise() noexcept;
    void release() noexcept;
    Value call(std::int32_t dispId, WORD flags, DISPPARAMS *params, bool wantResult);

    bool m_oleInitialized = false;
    bool m_siteSet = false;
    ComPtr<IDispatch> m_control;
    ComPtr<IOleObject> m_oleObject;
    ComPtr<IOleClientSite> m_site;
    ComPtr<IConnectionPoint> m_connectionPoint;
    ComPtr<ConnectionSink> m_sink;
    DWORD m_cookie = 0;
};

} // namespace phone::com
