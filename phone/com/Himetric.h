#pragma once

#include <windows.h>

namespace phone::com {

// HIMETRIC (0.01 mm) and screen pixels at the screen's logical resolution, rounded as
// MulDiv rounds.
SIZE himetricToPixels(SIZEL himetric);
SIZEL pixelsToHimetric(SIZE pixels);

} // namespace phone::com
