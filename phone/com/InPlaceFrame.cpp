#include "phone/com/InPlaceFrame.h"

namespace phone::com {

ComPtr<InPlaceFrame> InPlaceFrame::create(HWND window)
{
    return ComPtr<InPlaceFrame>::adopt(new InPlaceFrame(window));
}

InPlaceFrame::InPlaceFrame(HWND window)
    : m_window(window)
{}

HRESULT STDMETHODCALLTYPE InPlaceFrame::QueryInterface(REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow
        || iid == IID_IOleInPlaceFrame) {
        *object = static_cast<IOleInPlaceFrame *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// Used on the window's thread only, so plain counting suffices.
ULONG STDMETHODCALLTYPE InPlaceFrame::AddRef()
{
    return ++m_references;
}

ULONG STDMETHODCALLTYPE InPlaceFrame::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::GetWindow(HWND *window)
{
    if (!window)
        return E_POINTER;
    *window = m_window;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::GetBorder(LPRECT)
{
    return INPLACE_E_NOTOOLSPACE;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::RequestBorderSpace(LPCBORDERWIDTHS)
{
    return INPLACE_E_NOTOOLSPACE;
}

// No space asked for is the one request that needs none.
HRESULT STDMETHODCALLTYPE InPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS widths)
{
    return widths ? INPLACE_E_NOTOOLSPACE : S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::SetActiveObject(IOleInPlaceActiveObject *, LPCOLESTR)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS widths)
{
    // No groups of ours in the shared menu.
    if (widths) {
        for (LONG &width : widths->width)
            width = 0;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::SetMenu(HMENU, HOLEMENU, HWND)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::RemoveMenus(HMENU)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::SetStatusText(LPCOLESTR)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::EnableModeless(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceFrame::TranslateAccelerator(LPMSG, WORD)
{
    return S_FALSE;
}

} // namespace phone::com
