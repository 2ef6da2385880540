#pragma once

#include "phone/com/AmbientProperties.h"
#include "phone/com/ComPtr.h"
#include "phone/com/InPlaceFrame.h"
#include "phone/com/NamelessDispatch.h"

#include <windows.h>

#include <ocidl.h>
#include <ole2.h>

namespace phone::com {

// The control's place on the form: its client site, its in-place site in a window of ours
// (or the program's), its control site, and the ambient properties through IDispatch. It
// holds no reference to the control, so the two never keep each other alive.
class ControlSite final : public IOleClientSite,
                          public IOleInPlaceSiteEx,
                          public IOleControlSite,
                          public NamelessDispatch
{
public:
    // window: the control's parent. Throws phone::Error when the ambient font cannot be made.
    static ComPtr<ControlSite> create(HWND window);

    // The control's rectangle in the parent's client area, in pixels.
    void place(const RECT &position) { m_position = position; }
    // The active control, to move when it asks for another place. Borrowed: given once it is
    // active in place, taken back before it is deactivated.
    void setInPlaceObject(IOleInPlaceObject *object) { m_inPlaceObject = object; }
    const AmbientProperties &ambients() const { return m_ambients; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker **moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer **container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND *window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enterMode) override;

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame **frame,
                                               IOleInPlaceUIWindow **document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE extent) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL undoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override;

    // IOleInPlaceSiteEx
    HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(BOOL *noRedraw, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(BOOL noRedraw) override;
    HRESULT STDMETHODCALLTYPE RequestUIActivate() override;

    // IOleControlSite
    HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override;
    HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL lock) override;
    HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch **control) override;
    HRESULT STDMETHODCALLTYPE TransformCoords(POINTL *himetric, POINTF *container,
                                              DWORD flags) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG *message, DWORD modifiers) override;
    HRESULT STDMETHODCALLTYPE OnFocus(BOOL gotFocus) override;
    HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override;

    // IDispatch: the ambient properties.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argumentError) override;

private:
    explicit ControlSite(HWND window);
    ~ControlSite() = default;

    ULONG m_references = 1;
    HWND m_window;
    RECT m_position{};
    AmbientProperties m_ambients;
    ComPtr<InPlaceFrame> m_frame;
    IOleInPlaceObject *m_inPlaceObject = nullptr;
};

} // namespace phone::com
