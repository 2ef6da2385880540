#pragma once

#include "phone/com/ComPtr.h"

#include <windows.h>

#include <ocidl.h>

namespace phone::com {

// What the container tells the control about its surroundings, the same way through the
// site's IDispatch and through QuickActivate: a form at run time in a German locale, with
// the system's button colours and the classic dialog font.
class AmbientProperties
{
public:
    // Throws phone::Error when OLE cannot make the font.
    AmbientProperties();

    // The ambient property's value into a cleared VARIANT; DISP_E_MEMBERNOTFOUND for the
    // ones left to the control's own default.
    HRESULT read(DISPID id, VARIANT &result) const;

    // The QACONTAINER_* flags matching the truth values read() gives.
    DWORD quickActivateFlags() const;
    OLE_COLOR foreColor() const;
    OLE_COLOR backColor() const;
    LCID locale() const;
    IFont *font() const { return m_font.get(); }

private:
    ComPtr<IFont> m_font;
};

} // namespace phone::com
