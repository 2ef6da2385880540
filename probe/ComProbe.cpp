// tervani-com-probe [ProgID]: creates the control as the bench does and reads its
// properties, without the window. On a Windows machine it answers whether this program's
// bitness can reach the registered control at all; its exit code is 0 when it can.
//
// tervani-com-probe --contract [ProgID]: reads the control's type information and prints one
// line for each member and event the bench relies on, "ok" or what differs, then those the
// control has beyond them; its exit code is 0 when nothing differs.

#include "cli/CommandLine.h"
#include "phone/Error.h"
#include "phone/TervaniFacade.h"
#include "phone/com/ComControl.h"
#include "phone/com/ComText.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

namespace {

void print(const std::string &line)
{
    std::fputs((line + "\n").c_str(), stdout);
}

int checkContract(const phone::com::ComControl &control)
{
    const phone::contract::Finding finding = phone::contract::check(control.describe());
    for (const phone::contract::Line &line : finding.lines)
        print(line.text);
    if (finding.matches()) {
        print("Das Steuerelement erfüllt den Vertrag.");
        return 0;
    }
    print("Das Steuerelement weicht vom Vertrag ab.");
    return 1;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    SetConsoleOutputCP(CP_UTF8);
    constexpr cli::Usage usage{
        "tervani-com-probe",
        "tervani-com-probe [--contract] [ProgID]\n"
        "       tervani-com-probe --help | --version\n"
        "  ProgID      the control to create and read (TervaniActiveX.axTervani)\n"
        "  --contract  compare its type information with the members and events the bench\n"
        "              relies on, one line each\n"};
    phone::com::Utf8Arguments arguments(argc, argv);
    const bool contract = argc > 1 && std::wstring_view(argv[1]) == L"--contract";
    const int first = contract ? 2 : 1;
    if (const auto answered = cli::answerWithoutOwnOptions(usage, arguments.argc() - first + 1,
                                                           arguments.argv() + first - 1))
        return *answered;
    if (argc > first + 1)
        return cli::wrongCall(usage, "takes one ProgID");
    const std::u16string progId = argc > first ? reinterpret_cast<const char16_t *>(argv[first])
                                               : std::u16string(phone::com::tervaniProgId);
    const char *bitness = sizeof(void *) == 8 ? "64" : "32";
    print(std::string(bitness) + "-Bit-Programm, Steuerelement „" + phone::com::toUtf8(progId)
          + "“");
    try {
        phone::com::ComControl control(progId);
        if (contract)
            return checkContract(control);
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
