// How much stack one level of handlers nested inside one another takes, so that the window's
// bound on that depth can be checked against the stack there is. Each handler's count read
// raises the next event inside it until the window refuses one at its bound; the stack
// addresses of the first and the deepest read give the cost of a level.
//
//   nesting_stack [--com]
//
// --com goes through the control host under Wine to the COM test double, as the scenario
// tool's --com does; without it the stand-in control runs in this process.

#include "app/Form1.h"
#include "cli/CommandLine.h"
#include "form/Dialogs.h"
#include "phone/Members.h"
#include "tools/scenario/ControlUnderScript.h"
#include "tools/scenario/HostedScript.h"

#include <QApplication>

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

namespace {

class CountingDialogs final : public form::Dialogs
{
public:
    void messageBox(const std::u16string &, form::BoxStyle,
                    const std::optional<std::u16string> &) override
    {}
    void errorReport(const phone::Error &error) override
    {
        if (error.kind() != phone::ErrorKind::Stack)
            std::fprintf(stderr, "error report: %s\n", error.description().c_str());
        ++reports;
    }
    int reports = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    constexpr cli::Usage usage{"nesting_stack", "nesting_stack [--com]\n"
                                                "       nesting_stack --help | --version\n"
                                                "  --com  through the control host under Wine\n"};
    if (const auto answered = cli::answerCommonOptions(usage, argc, argv))
        return *answered;
    const bool throughCom = argc == 2 && std::string_view(argv[1]) == "--com";
    if (argc > 2 || (argc == 2 && !throughCom))
        return cli::wrongCall(usage, "cannot take \"" + std::string(argv[argc - 1]) + "\"");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    std::ostringstream transcript;
    std::unique_ptr<scenario::ControlUnderScript> control;
    try {
        if (throughCom) {
            control = std::make_unique<scenario::HostedScript>(
                scenario::prepareHostUnderWine(QApplication::applicationDirPath()), transcript);
        } else {
            control = std::make_unique<scenario::LocalControl>(transcript);
        }
    } catch (const phone::Error &error) {
        std::fprintf(stderr, "nesting_stack: %s\n", error.description().c_str());
        return 1;
    }

    const phone::EventArguments event{phone::Value{std::u16string(u"030")},
                                      phone::Value{std::u16string(u"45")},
                                      phone::Value{std::int32_t{1}}};
    CountingDialogs dialogs;
    std::uintptr_t first = 0;
    std::uintptr_t deepest = UINTPTR_MAX;
    int reads = 0;
    control->onAccess([&](std::int32_t dispId) {
        if (dispId != phone::dispid::ConnectionCount)
            return;
        const volatile char marker = 0;
        const auto here = reinterpret_cast<std::uintptr_t>(&marker);
        if (reads++ == 0)
            first = here;
        deepest = std::min(deepest, here);
        if (dialogs.reports == 0)
            control->raiseEvent("OnIdle", event);
    });

    app::Form1 form(control->dispatch(), dialogs);
    control->raiseEvent("OnIdle", event);

    if (dialogs.reports != 1) {
        std::fprintf(stderr, "nesting_stack: expected one refused handler, got %d reports\n",
                     dialogs.reports);
        return 1;
    }
    // The first read is the outermost handler's, the deepest the last admitted one's.
    const int levels = app::Form1::maxHandlerDepth - 1;
    const double perLevel = static_cast<double>(first - deepest) / levels;
    rlimit limit{};
    getrlimit(RLIMIT_STACK, &limit);
    std::printf("path: %s\n", throughCom ? "control host under Wine" : "stand-in in process");
    std::printf("handlers nested at the bound: %d\n", app::Form1::maxHandlerDepth);
    std::printf("stack a level: %.0f bytes\n", perLevel);
    std::printf("stack at the bound: %.0f KiB (main thread's limit: %llu KiB)\n",
                perLevel * app::Form1::maxHandlerDepth / 1024.0,
                static_cast<unsigned long long>(limit.rlim_cur / 1024));
    return 0;
}
