// tervani-host [--show] [ProgID]: the control in a window of this program's own, activated
// in place as the bench's form hosts it, on this thread's single-threaded apartment with its
// message loop. Prints every event the control raises, one line each, until the window is
// closed or Ctrl+C is pressed. Exit code 1 when the control cannot be created.

#include "host/EventPrinter.h"
#include "host/HostSession.h"
#include "host/MessageLoop.h"
#include "phone/Error.h"
#include "phone/com/ComText.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

namespace {

// The console's control handler runs on a thread of its own; it only posts.
std::atomic<HWND> closeTarget{nullptr};

BOOL WINAPI onConsoleControl(DWORD)
{
    if (const HWND window = closeTarget.load()) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
    }
    return FALSE;
}

void print(const std::string &line)
{
    std::cout << line << std::endl;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    SetConsoleOutputCP(CP_UTF8);
    bool show = false;
    std::u16string progId(phone::com::tervaniProgId);
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--show")
            show = true;
        else
            progId = reinterpret_cast<const char16_t *>(argv[i]);
    }
    const char *bitness = sizeof(void *) == 8 ? "64" : "32";
    print(std::string(bitness) + "-Bit-Host, Steuerelement „" + phone::com::toUtf8(progId) + "“");

    try {
        phone::host::HostSession session(progId, show);
        // The bench's connection attaches here: phone::remote::HostServer over a FrameChannel
        // takes session.control() and becomes its event sink instead of the printer. Not
        // part of this program yet.
        phone::host::EventPrinter printer(std::cout);
        session.control().connectEvents(&printer);
        closeTarget = session.window().handle();
        SetConsoleCtrlHandler(onConsoleControl, TRUE);
        print("Bereit.");
        const int result = phone::host::runMessageLoop();
        SetConsoleCtrlHandler(onConsoleControl, FALSE);
        closeTarget = nullptr;
        session.control().connectEvents(nullptr);
        return result;
    } catch (const phone::Error &error) {
        print(error.description());
    } catch (const std::exception &error) {
        print(error.what());
    }
    return 1;
}
