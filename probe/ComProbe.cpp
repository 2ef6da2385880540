// tervani-com-probe [ProgID]: creates the control as the bench does and reads its
// properties, without the window. On a Windows machine it answers whether this program's
// bitness can reach the registered control at all; its exit code is 0 when it can.

#include "cli/CommandLine.h"
#include "phone/Error.h"
#include "phone/TervaniFacade.h"
#include "phone/com/ComControl.h"
#include "phone/com/ComText.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

namespace {

void print(const std::string &line)
{
    std::fputs((line + "\n").c_str(), stdout);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    SetConsoleOutputCP(CP_UTF8);
    constexpr cli::Usage usage{
        "tervani-com-probe",
        "tervani-com-probe [ProgID]\n"
        "       tervani-com-probe --help | --version\n"
        "  ProgID  the control to create and read (TervaniActiveX.axTervani)\n"};
    phone::com::Utf8Arguments arguments(argc, argv);
    if (const auto answered =
            cli::answerWithoutOwnOptions(usage, arguments.argc(), arguments.argv()))
        return *answered;
    if (argc > 2)
        return cli::wrongCall(usage, "takes one ProgID");
    const std::u16string progId = argc > 1 ? reinterpret_cast<const char16_t *>(argv[1])
                                           : std::u16string(phone::com::tervaniProgId);
    const char *bitness = sizeof(void *) == 8 ? "64" : "32";
    print(std::string(bitness) + "-Bit-Programm, Steuerelement „" + phone::com::toUtf8(progId)
          + "“");
    try {
        phone::com::ComControl control(progId);
        phone::TervaniFacade tervani(control);
        print("PopUp: " + std::string(tervani.PopUp() ? "True" : "False"));
        print("ConnectionCount: " + std::to_string(tervani.ConnectionCount()));
        print("IncomingCallID: " + std::to_string(tervani.IncomingCallID()));
        print("LatestText: " + phone::com::toUtf8(tervani.LatestText()));
    } catch (const phone::Error &error) {
        print(error.description());
        return 1;
    } catch (const std::exception &error) {
        print(error.what());
        return 1;
    }
    return 0;
}
