// Measures the simulator panel's size as calls pile up, as a caller's number grows long and
// as the calls end, and a run of the panel's load generator through Form1. See --help.

#include "app/LoadGenerator.h"
#include "app/SimulatedTestbench.h"
#include "app/SimulatorPanel.h"
#include "bench/QuietDialogs.h"
#include "cli/CommandLine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>

#include <cstdio>
#include <vector>

namespace {

void settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 50)
        QCoreApplication::processEvents();
}

void show(const char *moment, const QWidget &panel)
{
    const QRect frame = panel.frameGeometry();
    std::printf("%-40s %5d × %-5d at %5d, %-5d %s\n", moment, frame.width(), frame.height(),
                frame.x(), frame.y(),
                panel.screen()->availableGeometry().contains(frame) ? "on screen" : "OFF SCREEN");
}

} // namespace

int main(int argc, char *argv[])
{
    constexpr cli::Usage usage{"panel_size", "panel_size\n"
                                             "       panel_size --help | --version\n"};
    if (const auto answered = cli::answerWithoutOwnOptions(usage, argc, argv))
        return *answered;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    bench::QuietDialogs dialogs("panel_size");
    // Callers wait long, so that every call stays until it is hung up.
    app::SimulatedTestbench bench(
        dialogs, {std::chrono::milliseconds(1500), std::chrono::milliseconds(600000),
                  std::chrono::milliseconds(6000000), std::chrono::milliseconds(0)});
    bench.show();
    app::SimulatorPanel &panel = bench.panel();
    phone::sim::Softphone &softphone = bench.control().softphone();
    const QRect available = panel.screen()->availableGeometry();
    std::printf("screen's available area: %d × %d (%s)\n", available.width(), available.height(),
                qPrintable(QGuiApplication::platformName()));
    settle();
    show("at start", panel);

    std::vector<std::int32_t> ids;
    for (int i = 1; i <= 100; ++i)
        ids.push_back(softphone.ring(app::LoadGenerator::callerNumber(i)));
    settle();
    show("100 incoming calls", panel);
    ids.push_back(softphone.ring(std::u16string(3000, u'7')));
    settle();
    show("and a caller with 3,000 digits", panel);
    for (const std::int32_t id : ids)
        softphone.farEndHangUp(id);
    settle();
    show("all calls ended", panel);

    app::LoadGenerator load(softphone);
    const qsizetype linesBefore = bench.form().messages().lineCount();
    QElapsedTimer timer;
    timer.start();
    load.start(1000, 0);
    while (load.running())
        QCoreApplication::processEvents();
    const double seconds = timer.elapsed() / 1000.0;
    settle();
    const qsizetype lines = bench.form().messages().lineCount() - linesBefore;
    std::printf("load: 1,000 callers at pace 0 in %.2f s, %lld log lines (%.0f lines/s)\n", seconds,
                static_cast<long long>(lines), lines / seconds);
    show("after the load", panel);
    return 0;
}
