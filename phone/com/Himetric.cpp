#include "phone/com/Himetric.h"

namespace phone::com {

namespace {

constexpr int himetricPerInch = 2540;

SIZE screenResolution()
{
    SIZE result{96, 96};
    if (HDC screen = GetDC(nullptr)) {
        result.cx = GetDeviceCaps(screen, LOGPIXELSX);
        result.cy = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return result;
}

} // namespace

SIZE himetricToPixels(SIZEL himetric)
{
    const SIZE dpi = screenResolution();
    return {MulDiv(himetric.cx, dpi.cx, himetricPerInch),
            MulDiv(himetric.cy, dpi.cy, himetricPerInch)};
}

SIZEL pixelsToHimetric(SIZE pixels)
{
    const SIZE dpi = screenResolution();
    return {MulDiv(pixels.cx, himetricPerInch, dpi.cx), MulDiv(pixels.cy, himetricPerInch, dpi.cy)};
}

} // namespace phone::com
