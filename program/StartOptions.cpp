#include "program/StartOptions.h"

#include "phone/Members.h"

#include <cmath>

namespace program {

namespace {

QString valueAfter(const QStringList &arguments, qsizetype &index)
{
    const QString option = arguments[index];
    if (++index >= arguments.size() || arguments[index].isEmpty())
        throw UsageError(QStringLiteral("Nach %1 fehlt ein Wert.").arg(option).toStdString());
    return arguments[index];
}

} // namespace

std::chrono::milliseconds timeoutOf(const QString &text)
{
    bool ok = false;
    const double seconds = QString(text).replace(u',', u'.').toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > 24 * 3600)
        throw UsageError(
            QStringLiteral("„%1“ ist keine Wartezeit in Sekunden (größer als 0, höchstens 86400).")
                .arg(text)
                .toStdString());
    return std::chrono::milliseconds(static_cast<long long>(std::ceil(seconds * 1000)));
}

StartOptions parseStartOptions(const QStringList &arguments)
{
    StartOptions options;
#ifdef _WIN32
    options.progId = std::u16string(phone::tervaniProgId);
#endif
    std::optional<std::u16string> named;
    bool simulated = false;
    // The first argument is the program itself.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--control")
            named = valueAfter(arguments, i).toStdU16String();
        else if (argument == u"--sim")
            simulated = true;
        else if (argument == u"--host")
            options.hostPath = valueAfter(arguments, i);
        else if (argument == u"--timeout")
            options.timeout = timeoutOf(valueAfter(arguments, i));
        else if (argument == u"--trace")
            options.tracePath = valueAfter(arguments, i);
        else if (argument == u"--record")
            options.recordPath = valueAfter(arguments, i);
        else if (argument == u"--help" || argument == u"-h")
            options.helpRequested = true;
        else if (argument == u"--version")
            options.versionRequested = true;
        else
            throw UsageError(QStringLiteral("Unbekannte Angabe „%1“ (--help zeigt alle).")
                                 .arg(argument)
                                 .toStdString());
    }
    if (simulated && named)
        throw UsageError("--sim und --control schließen einander aus.");
    if (named || simulated)
        options.progId = named;
    if (!options.hostPath.isEmpty() && !options.progId)
        throw UsageError(simulated ? "--host gilt nicht mit --sim."
                                   : "--host gilt nur mit --control.");
    // Each would empty the file the other writes; on standard output both may go together.
    if (!options.tracePath.isEmpty() && options.tracePath == options.recordPath
        && options.tracePath != u"-")
        throw UsageError("--trace und --record brauchen zwei verschiedene Dateien.");
    return options;
}

QString usageText()
{
    return QStringLiteral(
        "tervani-testbench [--control PROGID [--host PFAD] [--timeout SEKUNDEN] | --sim]\n"
        "                  [--trace DATEI] [--record DATEI]\n"
        "tervani-testbench --help | --version\n"
        "  ohne --control: unter Windows das Steuerelement TervaniActiveX.axTervani über\n"
        "                  tervani-host.exe, sonst das simulierte Softphone\n"
        "  --sim           das simulierte Softphone mit seiner Steuertafel, auch unter\n"
        "                  Windows und ohne Steuerelement\n"
        "  --control       das COM-Steuerelement PROGID, in seinem eigenen Host-Prozess\n"
        "                  (außerhalb von Windows unter Wine: wine für einen 32-Bit-Host,\n"
        "                  wine64 für einen 64-Bit-Host)\n"
        "  --host          der Host, sonst tervani-host.exe neben diesem Programm\n"
        "  --timeout       so lange wird auf jede Antwort des Hosts gewartet (30)\n"
        "  --trace         schreibt jeden Austausch mit dem Steuerelement Zeile für Zeile\n"
        "                  in DATEI, sobald er geschieht (- : auf die Standardausgabe)\n"
        "  --record        zeichnet die Sitzung als Szenario in DATEI auf, das\n"
        "                  tervani-scenario ohne Steuerelement wieder abspielt\n");
}

QString versionText()
{
    return QStringLiteral("tervani-testbench " TERVANI_VERSION "\n");
}

} // namespace program
