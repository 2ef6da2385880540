#pragma once

#include <ocidl.h>

#include <utility>
#include <vector>

namespace tervani_double {

// The control's one connection point, for its source interface. Part of the control: it
// shares the control's reference count, so the control lives while anyone holds it.
class EventPoint final : public IConnectionPoint
{
public:
    EventPoint(IUnknown &owner, IConnectionPointContainer &container);
    ~EventPoint();
    EventPoint(const EventPoint &) = delete;
    EventPoint &operator=(const EventPoint &) = delete;

    // The connected sinks, each with a reference the caller releases.
    std::vector<IDispatch *> sinks() const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID *iid) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer **container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown *sink, DWORD *cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections **connections) override;

private:
    IUnknown &m_owner;
    IConnectionPointContainer &m_container;
    std::vector<std::pair<DWORD, IDispatch *>> m_sinks;
    DWORD m_nextCookie = 1;
};

} // namespace tervani_double
