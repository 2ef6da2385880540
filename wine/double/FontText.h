#pragma once

#include <ocidl.h>

#include <string>

namespace tervani_double {

// "MS Sans Serif 8": the font's name and size in points, "(none)" without a font.
std::wstring fontText(IFont *font);

} // namespace tervani_double
