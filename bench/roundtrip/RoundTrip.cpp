// A property read of the scripted COM double, in this process through the adapter, and
// through the control host in a process of its own, in the same run. A Windows program: run
// it under wine64 (or on Windows) from the folder the Windows build puts its programs in.
//
//   tervani-roundtrip-bench.exe [READS]

#include "host/OleApartment.h"
#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/com/ComControl.h"
#include "phone/remote/HostProcess.h"
#include "phone/remote/RemoteControl.h"
#include "phone/scripted/ScriptIds.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace script = phone::scripted::ids;

std::wstring besideThisProgram(const wchar_t *name)
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

std::string utf8(const std::wstring &text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

// The double registers itself, as regsvr32 would.
void registerDouble()
{
    const HMODULE library = LoadLibraryW(besideThisProgram(L"TervaniDouble.dll").c_str());
    const auto registerServer =
        library ? reinterpret_cast<HRESULT(__stdcall *)()>(
            reinterpret_cast<void *>(GetProcAddress(library, "DllRegisterServer")))
                : nullptr;
    if (!registerServer || FAILED(registerServer()))
        throw phone::Error(phone::ErrorKind::Component,
                           "TervaniDouble.dll lässt sich nicht registrieren");
}

// Median microseconds a read over five rounds of `reads`.
double microsPerRead(phone::Dispatch &control, int reads)
{
    std::array<phone::Argument, 2> answer{phone::Argument{phone::dispid::ConnectionCount},
                                          phone::Argument{std::int32_t{1}}};
    control.invoke(script::Answer, answer);
    for (int i = 0; i < 200; ++i)
        control.getProperty(phone::dispid::ConnectionCount);
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < reads; ++i)
            control.getProperty(phone::dispid::ConnectionCount);
        rounds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count()
                         / reads);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[2];
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const int reads =
        argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 20000;
    try {
        phone::host::OleApartment apartment;
        registerDouble();
        double inProcess = 0;
        {
            phone::com::ComControl control(script::progIdText);
            inProcess = microsPerRead(control, reads);
        }
        phone::remote::HostCommand command;
        command.arguments = {utf8(besideThisProgram(L"tervani-host.exe")), "--serve"};
        phone::remote::HostProcess host(command);
        phone::remote::RemoteControl remote(host.channel(), script::progIdText);
        const double throughHost = microsPerRead(remote, reads);
        std::printf("Property read (ConnectionCount), median of 5 rounds of %d, %d-bit:\n", reads,
                    static_cast<int>(sizeof(void *) * 8));
        std::printf("  in process (adapter)   %10.3f us\n", inProcess);
        std::printf("  through the host       %10.3f us   %.1f x in process\n", throughHost,
                    throughHost / inProcess);
        return 0;
    } catch (const phone::Error &error) {
        std::printf("%s\n", error.description().c_str());
        return 1;
    }
}
