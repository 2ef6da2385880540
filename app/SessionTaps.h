#pragma once

#include "app/FormObserver.h"
#include "phone/Dispatch.h"

#include <functional>
#include <memory>

namespace app {

// What a trace or a recording of the session puts between the window and its control, and
// what it watches of the window. Empty: the window reaches its control directly.
struct SessionTaps
{
    // The control as the window is to reach it; lives as long as the window.
    std::function<std::unique_ptr<phone::Dispatch>(phone::Dispatch &control)> control;
    FormObserver *observer = nullptr;
};

} // namespace app
