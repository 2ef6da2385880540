#pragma once

#include <windows.h>

namespace tervani_double {

// Counts kept for the tests: objects alive and sinks connected, across all instances.
extern LONG liveObjects;
extern LONG advisedSinks;

// Holds a reference to the instance until the tests release it.
void keepAlive(IUnknown *instance);

// This DLL, for the windowed doubles' window class.
HMODULE moduleHandle();

} // namespace tervani_double
