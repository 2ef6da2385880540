#include "EventPoint.h"

#include "ContainerLog.h"
#include "DoubleIds.h"
#include "Module.h"

#include <olectl.h>

namespace tervani_double {

EventPoint::EventPoint(IUnknown &owner, IConnectionPointContainer &container)
    : m_owner(owner)
    , m_container(container)
{}

EventPoint::~EventPoint()
{
    for (auto &[cookie, sink] : m_sinks) {
        sink->Release();
        InterlockedDecrement(&advisedSinks);
    }
}

std::vector<IDispatch *> EventPoint::sinks() const
{
    std::vector<IDispatch *> result;
    for (const auto &[cookie, sink] : m_sinks) {
        sink->AddRef();
        result.push_back(sink);
    }
    return result;
}

HRESULT STDMETHODCALLTYPE EventPoint::QueryInterface(REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
        *object = static_cast<IConnectionPoint *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE EventPoint::AddRef()
{
    return m_owner.AddRef();
}

ULONG STDMETHODCALLTYPE EventPoint::Release()
{
    return m_owner.Release();
}

HRESULT STDMETHODCALLTYPE EventPoint::GetConnectionInterface(IID *iid)
{
    if (!iid)
        return E_POINTER;
    *iid = eventsId;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE
EventPoint::GetConnectionPointContainer(IConnectionPointContainer **container)
{
    if (!container)
        return E_POINTER;
    m_container.AddRef();
    *container = &m_container;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EventPoint::Advise(IUnknown *sink, DWORD *cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    // Only a sink that answers as the source interface is called.
    IDispatch *events = nullptr;
    if (FAILED(sink->QueryInterface(eventsId, reinterpret_cast<void **>(&events))) || !events)
        return CONNECT_E_CANNOTCONNECT;
    *cookie = m_nextCookie++;
    m_sinks.emplace_back(*cookie, events);
    InterlockedIncrement(&advisedSinks);
    recordContainerCall(L"Advise");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EventPoint::Unadvise(DWORD cookie)
{
    for (auto it = m_sinks.begin(); it != m_sinks.end(); ++it) {
        if (it->first == cookie) {
            IDispatch *sink = it->second;
            m_sinks.erase(it);
            sink->Release();
            InterlockedDecrement(&advisedSinks);
            recordContainerCall(L"Unadvise");
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE EventPoint::EnumConnections(IEnumConnections **connections)
{
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

} // namespace tervani_double
