#include "phone/com/ControlHost.h"

#include "phone/com/ComError.h"
#include "phone/com/Himetric.h"

namespace phone::com {

namespace {

// What an object without in-place activation answers; such an object works without it.
bool noInPlaceActivation(HRESULT result)
{
    return result == E_NOTIMPL || result == OLEOBJ_E_NOVERBS || result == OLEOBJ_E_INVALIDVERB;
}

} // namespace

ControlHost::ControlHost(const ComPtr<IUnknown> &control, const ControlPlacement &placement)
    : m_placement(placement)
    , m_oleObject(control.query<IOleObject>())
    , m_persist(control.query<IPersistStreamInit>())
    , m_quickActivate(control.query<IQuickActivate>())
    , m_oleControl(control.query<IOleControl>())
{
    m_parent = m_placement.parent;
    if (!m_parent) {
        m_ownWindow = std::make_unique<HostWindow>();
        m_parent = m_ownWindow->handle();
    }
    m_site = ControlSite::create(m_parent);
}

ControlHost::~ControlHost()
{
    close();
}

void ControlHost::quickActivate(IUnknown *eventSink, DWORD &eventCookie)
{
    const AmbientProperties &ambients = m_site->ambients();
    QACONTAINER container{};
    container.cbSize = sizeof container;
    container.pClientSite = m_site.get();
    container.pUnkEventSink = eventSink;
    container.dwAmbientFlags = ambients.quickActivateFlags();
    container.colorFore = ambients.foreColor();
    container.colorBack = ambients.backColor();
    container.pFont = ambients.font();
    // Appearance is not among the ambients the site answers: the control's default, flat.
    container.dwAppearance = 0;
    container.lcid = static_cast<LONG>(ambients.locale());
    container.pOleControlSite = m_site.get();
    QACONTROL result{};
    result.cbSize = sizeof result;
    if (FAILED(m_quickActivate->QuickActivate(&container, &result)))
        return;
    m_siteSet = true;
    eventCookie = result.dwEventCookie;
}

void ControlHost::initialise()
{
    DWORD status = 0;
    if (m_oleObject && FAILED(m_oleObject->GetMiscStatus(DVASPECT_CONTENT, &status)))
        status = 0;
    const auto setSite = [this] {
        check(m_oleObject->SetClientSite(m_site.get()));
        m_siteSet = true;
    };
    if (m_oleObject && !m_siteSet && (status & OLEMISC_SETCLIENTSITEFIRST))
        setSite();
    if (m_persist)
        check(m_persist->InitNew());
    if (m_oleObject && !m_siteSet)
        setSite();
}

void ControlHost::activate()
{
    if (!m_oleObject)
        return;
    // Controls count freezes, and an MFC control's count below zero means frozen: the thaw
    // after activation needs its freeze.
    if (m_oleControl)
        m_oleControl->FreezeEvents(TRUE);

    SIZEL extent = m_placement.extent;
    // A control of fixed size refuses, and then tells its own size.
    m_oleObject->SetExtent(DVASPECT_CONTENT, &extent);
    if (FAILED(m_oleObject->GetExtent(DVASPECT_CONTENT, &extent)))
        extent = m_placement.extent;
    const SIZE size = himetricToPixels(extent);
    RECT position{m_placement.origin.x, m_placement.origin.y, m_placement.origin.x + size.cx,
                  m_placement.origin.y + size.cy};
    m_site->place(position);

    // Also for a control invisible at run time: its window carries its timers and messages.
    m_activationTried = true;
    const HRESULT activated = m_oleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_site.get(),
                                                  0, m_parent, &position);
    if (FAILED(activated) && !noInPlaceActivation(activated))
        check(activated);
    m_inPlaceObject = m_oleObject.query<IOleInPlaceObject>();
    m_site->setInPlaceObject(m_inPlaceObject.get());

    // Unchecked like the freeze: a control that refuses either still works.
    if (m_oleControl)
        m_oleControl->FreezeEvents(FALSE);
}

void ControlHost::close() noexcept
{
    if (m_site)
        m_site->setInPlaceObject(nullptr);
    if (m_activationTried) {
        if (!m_inPlaceObject)
            m_inPlaceObject = m_oleObject.query<IOleInPlaceObject>();
        if (m_inPlaceObject)
            m_inPlaceObject->InPlaceDeactivate();
    }
    m_activationTried = false;
    m_inPlaceObject.reset();
    if (m_oleObject) {
        m_oleObject->Close(OLECLOSE_NOSAVE);
        if (m_siteSet)
            m_oleObject->SetClientSite(nullptr);
    }
    m_siteSet = false;
    m_oleObject.reset();
    m_persist.reset();
    m_quickActivate.reset();
    m_oleControl.reset();
}

HWND ControlHost::controlWindow() const
{
    HWND window = nullptr;
    if (!m_inPlaceObject || FAILED(m_inPlaceObject->GetWindow(&window)))
        return nullptr;
    return window;
}

} // namespace phone::com
