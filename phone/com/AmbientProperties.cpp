#include "phone/com/AmbientProperties.h"

#include "phone/com/ComError.h"

#include <olectl.h>

namespace phone::com {

namespace {

constexpr LCID german = 0x0407;
constexpr wchar_t displayName[] = L"axTervani1";
constexpr wchar_t fontName[] = L"MS Sans Serif";
constexpr LONGLONG fontPoints = 8;
// System colours as OLE_COLOR: the high bit marks a GetSysColor index.
constexpr OLE_COLOR systemColour(int index)
{
    return 0x80000000u | static_cast<OLE_COLOR>(index);
}

void answerBool(VARIANT &result, bool value)
{
    result.vt = VT_BOOL;
    result.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void answerLong(VARIANT &result, LONG value)
{
    result.vt = VT_I4;
    result.lVal = value;
}

} // namespace

AmbientProperties::AmbientProperties()
{
    FONTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.lpstrName = const_cast<LPOLESTR>(fontName);
    description.cySize.int64 = fontPoints * 10000;
    description.sWeight = FW_NORMAL;
    description.sCharset = ANSI_CHARSET;
    check(OleCreateFontIndirect(&description, IID_IFont, m_font.putVoid()));
}

HRESULT AmbientProperties::read(DISPID id, VARIANT &result) const
{
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
        answerBool(result, true);
        return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
        answerBool(result, false);
        return S_OK;
    case DISPID_AMBIENT_MESSAGEREFLECT:
        answerBool(result, true);
        return S_OK;
    case DISPID_AMBIENT_LOCALEID:
        answerLong(result, static_cast<LONG>(locale()));
        return S_OK;
    // OLE_COLOR travels as a long, as MFC's and VB's containers pass it.
    case DISPID_AMBIENT_BACKCOLOR:
        answerLong(result, static_cast<LONG>(backColor()));
        return S_OK;
    case DISPID_AMBIENT_FORECOLOR:
        answerLong(result, static_cast<LONG>(foreColor()));
        return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
        result.bstrVal = SysAllocString(displayName);
        if (!result.bstrVal)
            return E_OUTOFMEMORY;
        result.vt = VT_BSTR;
        return S_OK;
    case DISPID_AMBIENT_FONT: {
        // The form's own font object, as containers hand it out; a control clones it to change it.
        const HRESULT hr =
            m_font->QueryInterface(IID_IFontDisp, reinterpret_cast<void **>(&result.pdispVal));
        if (SUCCEEDED(hr))
            result.vt = VT_DISPATCH;
        return hr;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

DWORD AmbientProperties::quickActivateFlags() const
{
    return QACONTAINER_USERMODE | QACONTAINER_MESSAGEREFLECT;
}

OLE_COLOR AmbientProperties::foreColor() const
{
    return systemColour(COLOR_BTNTEXT);
}

OLE_COLOR AmbientProperties::backColor() const
{
    return systemColour(COLOR_BTNFACE);
}

LCID AmbientProperties::locale() const
{
    return german;
}

} // namespace phone::com
