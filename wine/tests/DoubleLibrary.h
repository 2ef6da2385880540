#pragma once

#include <windows.h>

namespace tervani_tests {

// The test double's DLL, loaded beside the test program and registered (in the fresh Wine
// prefix of the run) while the tests run. COM loads the same module, so its counts are the live
// ones.
class DoubleLibrary
{
public:
    DoubleLibrary();
    ~DoubleLibrary();
    DoubleLibrary(const DoubleLibrary &) = delete;
    DoubleLibrary &operator=(const DoubleLibrary &) = delete;

    // Instances of the double alive, in any hands.
    long liveObjects() const { return m_liveObjects(); }
    // Event sinks connected to any instance.
    long advisedSinks() const { return m_advisedSinks(); }
    // Lets go of the instance the double's KeepAlive member held on to.
    void releaseKept() const { m_releaseKept(); }

private:
    HMODULE m_module = nullptr;
    HRESULT(__stdcall *m_unregister)() = nullptr;
    long(__stdcall *m_liveObjects)() = nullptr;
    long(__stdcall *m_advisedSinks)() = nullptr;
    void(__stdcall *m_releaseKept)() = nullptr;
};

// The one instance, registered by the test program's environment.
const DoubleLibrary &doubleLibrary();

} // namespace tervani_tests
