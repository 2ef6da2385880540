// Opens the bench on the simulated softphone exactly as the program does, and plays a short
// scene through the window's own buttons: a call out, DTMF into it, then a caller ringing.
// When the scene stands still it prints "bereit" and keeps the windows open until it is ended,
// so tools/screenshot.sh can photograph the screen.

#include "app/Dialogs.h"
#include "app/SimulatedTestbench.h"
#include "app/SimulatorPanel.h"
#include "cli/CommandLine.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

template <typename T>
T *child(QWidget &parent, const char *name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace std::chrono_literals;

    constexpr cli::Usage usage{"tervani-showcase",
                               "tervani-showcase\n"
                               "       tervani-showcase --help | --version\n"
                               "Plays a short scene on the bench on the simulated softphone and "
                               "prints \"bereit\" when it is ready for a screenshot.\n"};
    if (const auto answered = cli::answerWithoutOwnOptions(usage, argc, argv))
        return *answered;
    if (argc > 1)
        return cli::wrongCall(usage, "takes no arguments");
    QApplication application(argc, argv);
    QApplication::setApplicationName(
        QString::fromStdU16String(std::u16string(app::applicationTitle)));

    app::QtDialogs dialogs;
    app::SimulatedTestbench bench(dialogs);
    bench.show();
    QWidget &form = bench.form();
    QWidget &panel = bench.panel();

    QTimer::singleShot(300ms, &form, [&form] {
        child<QLineEdit>(form, "TXT_Nummer")->setText(QStringLiteral("030 1234567"));
        child<QPushButton>(form, "BTN_Dial")->click();
    });
    // After the ring-back the far end has answered: send tones into the call.
    QTimer::singleShot(2200ms, &form, [&form] {
        child<QLineEdit>(form, "TXT_DTMF")->setText(QStringLiteral("123#"));
        child<QPushButton>(form, "BTN_DTMF")->click();
        child<QLineEdit>(form, "TXT_SMS")->setText(QStringLiteral("Bin gleich zurück"));
    });
    QTimer::singleShot(2600ms, &panel, [&panel] {
        child<QLineEdit>(panel, "caller")->setText(QStringLiteral("0171 2345678"));
        child<QPushButton>(panel, "ring")->click();
    });
    QTimer::singleShot(3200ms, &form, [] {
        std::puts("bereit");
        std::fflush(stdout);
    });
    return application.exec();
}
