#pragma once

namespace phone::host {

// Delivers this thread's messages, the control's events among them, until WM_QUIT.
// Returns the quit message's exit code.
int runMessageLoop();

} // namespace phone::host
