#pragma once

#include "phone/remote/HostedControl.h"
#include "program/StartOptions.h"

#include <memory>

namespace program {

// The control of `options` in its host process, started from `programDirectory` unless the
// options name the host. Events that come between two calls are delivered on the Qt event
// loop of the calling thread. Throws phone::Error with the German reason when the host cannot
// be started or the control not created.
std::unique_ptr<phone::remote::HostedControl> startHostedControl(const StartOptions &options,
                                                                 const QString &programDirectory);

// Runs `task` on the event loop of the application's main thread; safe from any thread.
void postToEventLoop(std::function<void()> task);

} // namespace program
