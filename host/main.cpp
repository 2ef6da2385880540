// tervani-host --serve [--show]: serves the bench on standard input and output (see
// docs/host-protocol.md): creates the control the bench names in a window of this program's
// own, activated in place as the bench's form hosts it, on this thread's single-threaded
// apartment, and runs its members and passes its events until the bench says Close or goes.
// Exit code 0 then, 1 when the stream broke or the bench broke the protocol.
//
// tervani-host [--show] [ProgID]: the same control on its own for a person to try: prints
// every event it raises, one line each, until the window is closed or Ctrl+C is pressed.
// Exit code 1 when the control cannot be created.

#include "cli/CommandLine.h"
#include "host/EventPrinter.h"
#include "host/HostSession.h"
#include "host/MainWindow.h"
#include "host/MessageLoop.h"
#include "host/OleApartment.h"
#include "host/PumpingChannel.h"
#include "phone/Error.h"
#include "phone/com/ComText.h"
#include "phone/remote/HostServer.h"
#include "phone/remote/PipeStream.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

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

std::string bitnessLine(std::u16string_view progId)
{
    const char *bitness = sizeof(void *) == 8 ? "64" : "32";
    return std::string(bitness) + "-Bit-Host, Steuerelement „" + phone::com::toUtf8(progId) + "“";
}

// Standard output carries the frames: everything said to a person goes to standard error.
int serve(bool show)
{
    try {
        phone::host::OleApartment apartment;
        phone::host::MainWindow window(show);
        // Left to the end of the process, which follows at once: after Close the reading
        // thread may still wait in a read of the bench's pipe, and Wine cancels no such read,
        // so neither the stream nor the channel could be taken down before it ends.
        phone::remote::ByteStream &stream = *phone::remote::PipeStream::standardStreams().release();
        auto &channel = *new phone::host::PumpingChannel(stream);
        phone::remote::HostServer server(channel, [&window](std::u16string_view progId) {
            return std::make_unique<phone::com::ComControl>(progId, phone::host::hostingIn(window));
        });
        server.run();
        return 0;
    } catch (const phone::Error &error) {
        std::cerr << error.description() << std::endl;
    } catch (const std::exception &error) {
        std::cerr << error.what() << std::endl;
    }
    return 1;
}

int printEvents(std::u16string_view progId, bool show)
{
    print(bitnessLine(progId));
    try {
        phone::host::HostSession session(progId, show);
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

} // namespace

int wmain(int argc, wchar_t **argv)
{
    SetConsoleOutputCP(CP_UTF8);
    constexpr cli::Usage usage{"tervani-host",
                               "tervani-host [--show] [ProgID]\n"
                               "       tervani-host --serve [--show]\n"
                               "       tervani-host --help | --version\n"
                               "  ProgID   the control to host and print the events of "
                               "(TervaniActiveX.axTervani)\n"
                               "  --serve  serve the bench on standard input and output\n"
                               "  --show   show the host's window with the control in it\n"};
    phone::com::Utf8Arguments arguments(argc, argv);
    if (const auto answered = cli::answerCommonOptions(usage, arguments.argc(), arguments.argv()))
        return *answered;
    bool show = false;
    bool serving = false;
    std::optional<std::u16string> progId;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = arguments.argv()[i];
        if (argument == "--show")
            show = true;
        else if (argument == "--serve")
            serving = true;
        else if (argument.starts_with('-'))
            return cli::wrongCall(usage, "cannot take \"" + std::string(argument) + "\"");
        else if (progId)
            return cli::wrongCall(usage, "takes one ProgID");
        else
            progId = reinterpret_cast<const char16_t *>(argv[i]);
    }
    if (serving && progId)
        return cli::wrongCall(usage, "takes the ProgID from the bench when it serves");
    return serving ? serve(show)
                   : printEvents(progId.value_or(std::u16string(phone::com::tervaniProgId)), show);
}
