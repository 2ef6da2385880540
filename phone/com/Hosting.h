#pragma once

#include <windows.h>

namespace phone::com {

// How far the control is embedded.
enum class Activation {
    // The full container: activated in place inside a window, as a form hosts it. A windowed
    // control makes its window, timers and softphone link only this way.
    InPlace,
    // Client site and InitNew only, nothing shown. Enough for a plain automation object.
    SiteOnly,
};

// Where the control's window goes.
struct ControlPlacement
{
    // A window of the program's to hold the control; nullptr for a hidden window of the
    // adapter's own. Must outlive the adapter and belong to the adapter's thread.
    HWND parent = nullptr;
    // Top left in the parent's client area, in pixels: 2160, 5280 twips on the original form.
    POINT origin{144, 352};
    // The control's size in HIMETRIC, as the original form gives it.
    SIZEL extent{661, 450};
};

struct HostingOptions
{
    Activation activation = Activation::InPlace;
    ControlPlacement placement;
};

} // namespace phone::com
