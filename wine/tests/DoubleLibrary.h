#pragma once

#include "DoubleIds.h"

#include <windows.h>

#include <string>

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
    // The calls containers made to any instance since the last forgetContainerCalls(), as
    // "SetClientSite, InitNew, ...".
    std::string containerCalls() const;
    void forgetContainerCalls() const { m_forgetContainerCalls(); }
    // An event from the softphone, posted to every windowed instance linked to it; returns
    // how many.
    long softphoneEvent(const wchar_t *event, const wchar_t *callingNumber,
                        const wchar_t *calledMSN, long callId) const
    {
        return m_softphoneEvent(event, callingNumber, calledMSN, callId);
    }

private:
    HMODULE m_module = nullptr;
    HRESULT(__stdcall *m_unregister)() = nullptr;
    long(__stdcall *m_liveObjects)() = nullptr;
    long(__stdcall *m_advisedSinks)() = nullptr;
    void(__stdcall *m_releaseKept)() = nullptr;
    tervani_double::ContainerCallsFunction m_containerCalls = nullptr;
    void(__stdcall *m_forgetContainerCalls)() = nullptr;
    tervani_double::SoftphoneEventFunction m_softphoneEvent = nullptr;
};

// The one instance, registered by the test program's environment.
const DoubleLibrary &doubleLibrary();

} // namespace tervani_tests
