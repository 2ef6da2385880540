#include "app/Dialogs.h"
#include "app/Form1.h"
#include "app/SimulatedTestbench.h"
#include "phone/Error.h"
#include "program/ConsoleOutput.h"
#include "program/HostedStart.h"
#include "program/StartOptions.h"
#include "trace/OutputFile.h"
#include "trace/SessionRecorder.h"
#include "trace/SessionTrace.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <memory>
#include <optional>
#include <vector>

namespace {

// Into the console the program was started from; a box when it has none (started from
// Explorer), so the user learns it either way.
void say(const QString &text, program::Stream stream)
{
    if (program::writeToConsole(text, stream))
        return;
    QMessageBox box(stream == program::Stream::Error ? QMessageBox::Warning
                                                     : QMessageBox::Information,
                    QApplication::applicationName(), text.trimmed());
    box.exec();
}

constexpr const char *withoutControl =
    "\n\nOhne das Steuerelement startet „tervani-testbench --sim“ den Prüfstand mit dem "
    "simulierten Softphone.";

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(
        QString::fromStdU16String(std::u16string(app::applicationTitle)));
    // The window speaks German, so do Qt's own texts in it (the report's "Details" button, the
    // fields' context menus), whatever the system's language; without the file they stay English.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    app::QtDialogs dialogs;

    program::StartOptions options;
    try {
        options = program::parseStartOptions(QApplication::arguments());
    } catch (const program::UsageError &error) {
        say(QString::fromStdString(error.what()) + u'\n' + program::usageText(),
            program::Stream::Error);
        return 2;
    }
    if (options.helpRequested) {
        say(program::usageText(), program::Stream::Output);
        return 0;
    }
    if (options.versionRequested) {
        say(program::versionText(), program::Stream::Output);
        return 0;
    }

    // Opened before anything else happens, so that a trace or a recording that cannot be
    // written stops the program at once instead of losing the session.
    std::optional<trace::SessionRecorder> recorder;
    std::optional<trace::SessionTrace> sessionTrace;
    std::vector<form::SessionTap> taps;
    try {
        if (!options.recordPath.isEmpty()) {
            recorder.emplace(
                trace::openOutput(options.recordPath.toStdU16String(), "Die Aufzeichnung"));
            taps.push_back(recorder->tap());
        }
        if (!options.tracePath.isEmpty()) {
            sessionTrace.emplace(
                trace::openOutput(options.tracePath.toStdU16String(), "Das Ablaufprotokoll"));
            taps.push_back(sessionTrace->tap());
        }
    } catch (const trace::OutputError &error) {
        say(QString::fromUtf8(error.what()) + u'\n', program::Stream::Error);
        return 2;
    }

    if (!options.progId) {
        // Closing Form1 closes the panel too, and the program ends with it.
        app::SimulatedTestbench bench(dialogs, {}, taps);
        dialogs.setReportOwner(&bench.form());
        bench.show();
        return application.exec();
    }

    // Without its control the bench has nothing to test: the user learns why, and the
    // program ends.
    std::unique_ptr<phone::remote::HostedControl> control;
    try {
        control = program::startHostedControl(options, QApplication::applicationDirPath());
    } catch (const phone::Error &error) {
        const phone::Error explained(error.kind(), error.description() + withoutControl,
                                     error.code());
        // The box is what a user started from Explorer sees; a console gets the text too.
        program::writeToConsole(QString::fromStdString(explained.description()) + u'\n',
                                program::Stream::Error);
        dialogs.errorReport(explained);
        return 1;
    }
    if (sessionTrace && control->remote().contract())
        sessionTrace->noteContract(*control->remote().contract());
    // Declared after the control, so the window lets go of it first.
    form::TappedSession session(*control, dialogs, nullptr, taps);
    app::Form1 form(session.control(), session.dialogs(), session.observer());
    dialogs.setReportOwner(&form);
    form.show();
    return application.exec();
}
