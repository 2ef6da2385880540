// The DLL's entry points: class objects for every flavour, registration in the classes root
// (as any in-process server registers), and what the tests read and drive from outside.

#include "Module.h"

#include "ContainerLog.h"
#include "ControlWindow.h"
#include "DoubleControl.h"
#include "DoubleIds.h"

#include <objbase.h>

#include <string>

namespace tervani_double {

LONG liveObjects = 0;
LONG advisedSinks = 0;

namespace {

HMODULE thisModule = nullptr;
IUnknown *kept = nullptr;
LONG serverLocks = 0;

// Static class objects: their lifetime is the DLL's.
class ClassFactory final : public IClassFactory
{
public:
    explicit ClassFactory(DoubleControl::Flavour flavour)
        : m_flavour(flavour)
    {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory *>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid, void **object) override
    {
        if (outer) {
            if (object)
                *object = nullptr;
            return CLASS_E_NOAGGREGATION;
        }
        return DoubleControl::create(m_flavour, iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&serverLocks);
        else
            InterlockedDecrement(&serverLocks);
        return S_OK;
    }

private:
    DoubleControl::Flavour m_flavour;
};

ClassFactory controlFactory(DoubleControl::Flavour::Described);
ClassFactory plainFactory(DoubleControl::Flavour::Plain);
ClassFactory brokenFactory(DoubleControl::Flavour::FailingStart);
ClassFactory windowedFactory(DoubleControl::Flavour::Windowed);
ClassFactory stepwiseFactory(DoubleControl::Flavour::Stepwise);
ClassFactory scriptedFactory(DoubleControl::Flavour::Scripted);
ClassFactory lineFactory(DoubleControl::Flavour::Line);
ClassFactory callerFactory(DoubleControl::Flavour::Caller);
ClassFactory driftedFactory(DoubleControl::Flavour::Drifted);

void releaseKept()
{
    if (kept)
        kept->Release();
    kept = nullptr;
}

std::wstring guidText(const GUID &guid)
{
    wchar_t buffer[64];
    StringFromGUID2(guid, buffer, 64);
    return buffer;
}

LONG setValue(const std::wstring &key, const wchar_t *name, const std::wstring &value)
{
    HKEY handle = nullptr;
    LONG result = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &handle, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    result = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result;
}

HRESULT registerClass(const GUID &classId, const wchar_t *progId, const wchar_t *description)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(thisModule, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return HRESULT_FROM_WIN32(GetLastError());
    const std::wstring classKey = L"CLSID\\" + guidText(classId);
    const std::wstring progIdKey = progId;
    const LONG results[] = {
        setValue(classKey, nullptr, description),
        setValue(classKey + L"\\InprocServer32", nullptr, path),
        setValue(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
        setValue(classKey + L"\\ProgID", nullptr, progId),
        setValue(classKey + L"\\Control", nullptr, L""),
        setValue(progIdKey, nullptr, description),
        setValue(progIdKey + L"\\CLSID", nullptr, guidText(classId)),
    };
    for (LONG result : results) {
        if (result != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(result);
    }
    return S_OK;
}

void unregisterClass(const GUID &classId, const wchar_t *progId)
{
    const std::wstring classKey = L"CLSID\\" + guidText(classId);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, progId);
}

} // namespace

void keepAlive(IUnknown *instance)
{
    instance->AddRef();
    releaseKept();
    kept = instance;
}

HMODULE moduleHandle()
{
    return thisModule;
}

} // namespace tervani_double

using namespace tervani_double;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        thisModule = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        ControlWindow::unregisterClass();
    }
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID classId, REFIID iid, void **object)
{
    if (classId == controlClassId)
        return controlFactory.QueryInterface(iid, object);
    if (classId == plainClassId)
        return plainFactory.QueryInterface(iid, object);
    if (classId == brokenClassId)
        return brokenFactory.QueryInterface(iid, object);
    if (classId == windowedClassId)
        return windowedFactory.QueryInterface(iid, object);
    if (classId == stepwiseClassId)
        return stepwiseFactory.QueryInterface(iid, object);
    if (classId == scriptedClassId)
        return scriptedFactory.QueryInterface(iid, object);
    if (classId == lineClassId)
        return lineFactory.QueryInterface(iid, object);
    if (classId == callerClassId)
        return callerFactory.QueryInterface(iid, object);
    if (classId == driftedClassId)
        return driftedFactory.QueryInterface(iid, object);
    if (object)
        *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT __stdcall DllCanUnloadNow()
{
    return liveObjects == 0 && serverLocks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT __stdcall DllRegisterServer()
{
    HRESULT result = registerClass(controlClassId, controlProgId, L"Tervani test double");
    if (SUCCEEDED(result))
        result = registerClass(plainClassId, plainProgId, L"Tervani test double, no class info");
    if (SUCCEEDED(result))
        result = registerClass(brokenClassId, brokenProgId, L"Tervani test double, failing start");
    if (SUCCEEDED(result))
        result = registerClass(windowedClassId, windowedProgId, L"Tervani test double, windowed");
    if (SUCCEEDED(result))
        result = registerClass(stepwiseClassId, stepwiseProgId,
                               L"Tervani test double, windowed, no quick activation");
    if (SUCCEEDED(result))
        result = registerClass(scriptedClassId, scriptedProgId,
                               L"Tervani test double, windowed, scripted");
    if (SUCCEEDED(result))
        result = registerClass(lineClassId, lineProgId, L"Tervani test double, windowed line");
    if (SUCCEEDED(result))
        result = registerClass(callerClassId, callerProgId,
                               L"Tervani test double, windowed line with a caller");
    if (SUCCEEDED(result))
        result = registerClass(driftedClassId, driftedProgId,
                               L"Tervani test double, Dial at another identifier");
    return result;
}

extern "C" HRESULT __stdcall DllUnregisterServer()
{
    unregisterClass(controlClassId, controlProgId);
    unregisterClass(plainClassId, plainProgId);
    unregisterClass(brokenClassId, brokenProgId);
    unregisterClass(windowedClassId, windowedProgId);
    unregisterClass(stepwiseClassId, stepwiseProgId);
    unregisterClass(scriptedClassId, scriptedProgId);
    unregisterClass(lineClassId, lineProgId);
    unregisterClass(callerClassId, callerProgId);
    unregisterClass(driftedClassId, driftedProgId);
    return S_OK;
}

extern "C" long __stdcall TervaniDoubleLiveObjects()
{
    return liveObjects;
}

extern "C" long __stdcall TervaniDoubleAdvisedSinks()
{
    return advisedSinks;
}

extern "C" void __stdcall TervaniDoubleReleaseKept()
{
    releaseKept();
}

extern "C" const wchar_t *__stdcall TervaniDoubleContainerCalls()
{
    return containerCalls().c_str();
}

extern "C" void __stdcall TervaniDoubleForgetContainerCalls()
{
    forgetContainerCalls();
}

extern "C" long __stdcall TervaniDoubleSoftphoneEvent(const wchar_t *event,
                                                      const wchar_t *callingNumber,
                                                      const wchar_t *calledMSN, long callId)
{
    PostedEvent posted;
    posted.name = event ? event : L"";
    posted.callingNumber = callingNumber ? callingNumber : L"";
    posted.calledMSN = calledMSN ? calledMSN : L"";
    posted.callId = callId;
    return ControlWindow::broadcast(posted);
}
