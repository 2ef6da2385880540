#include "DoubleLibrary.h"

#include "phone/com/ComText.h"

#include <stdexcept>
#include <string>

namespace tervani_tests {

namespace {

const DoubleLibrary *registered = nullptr;

std::wstring besideProgram(const wchar_t *file)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring result(path, length);
    return result.substr(0, result.find_last_of(L"\\/") + 1) + file;
}

template <typename Function>
Function entry(HMODULE module, const char *name)
{
    auto address = GetProcAddress(module, name);
    if (!address)
        throw std::runtime_error(std::string("TervaniDouble.dll does not export ") + name);
    return reinterpret_cast<Function>(reinterpret_cast<void *>(address));
}

} // namespace

DoubleLibrary::DoubleLibrary()
{
    m_module = LoadLibraryW(besideProgram(L"TervaniDouble.dll").c_str());
    if (!m_module)
        throw std::runtime_error("TervaniDouble.dll not found beside the test program");
    try {
        using Register = HRESULT(__stdcall *)();
        m_unregister = entry<Register>(m_module, "DllUnregisterServer");
        m_liveObjects =
            entry<tervani_double::CountFunction>(m_module, tervani_double::liveObjectsExport);
        m_advisedSinks =
            entry<tervani_double::CountFunction>(m_module, tervani_double::advisedSinksExport);
        m_releaseKept = entry<void(__stdcall *)()>(m_module, tervani_double::releaseKeptExport);
        m_containerCalls = entry<tervani_double::ContainerCallsFunction>(
            m_module, tervani_double::containerCallsExport);
        m_forgetContainerCalls =
            entry<void(__stdcall *)()>(m_module, tervani_double::forgetContainerCallsExport);
        m_softphoneEvent = entry<tervani_double::SoftphoneEventFunction>(
            m_module, tervani_double::softphoneEventExport);
        if (FAILED(entry<Register>(m_module, "DllRegisterServer")()))
            throw std::runtime_error("DllRegisterServer of TervaniDouble.dll failed");
    } catch (...) {
        FreeLibrary(m_module);
        throw;
    }
    registered = this;
}

DoubleLibrary::~DoubleLibrary()
{
    registered = nullptr;
    m_unregister();
    FreeLibrary(m_module);
}

std::string DoubleLibrary::containerCalls() const
{
    return phone::com::toUtf8(reinterpret_cast<const char16_t *>(m_containerCalls()));
}

const DoubleLibrary &doubleLibrary()
{
    if (!registered)
        throw std::logic_error("the test double is not registered");
    return *registered;
}

} // namespace tervani_tests
