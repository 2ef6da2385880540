#include "tools/scenario/HostedScript.h"

#include "phone/Error.h"
#include "phone/remote/HostLauncher.h"
#include "phone/scripted/ScriptIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>

#include <array>

namespace scenario {

namespace {

namespace script = phone::scripted::ids;

[[noreturn]] void fail(const QString &what)
{
    throw phone::Error(phone::ErrorKind::Component, what.toStdString());
}

QString wineProgram(const char *installed, const char *name)
{
    if (QFile::exists(QString::fromLatin1(installed)))
        return QString::fromLatin1(installed);
    const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (found.isEmpty())
        fail(QStringLiteral("%1 fehlt: Wine 8 (Debian-Paket wine64) ist nicht installiert.")
                 .arg(QString::fromLatin1(name)));
    return found;
}

phone::remote::Environment wineEnvironment(const QString &prefix)
{
    return {
        {"WINEPREFIX", prefix.toStdString()},
        {"WINEARCH", "win64"},
        {"WINEDEBUG", "-all"},
        // Neither .NET nor the HTML engine is needed, and Wine would offer to download both.
        {"WINEDLLOVERRIDES", "mscoree,mshtml="},
    };
}

void runStep(const QString &program, const QStringList &arguments,
             const phone::remote::Environment &environment, bool mustSucceed = true)
{
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : environment)
        variables.insert(QString::fromStdString(name), QString::fromStdString(value));
    process.setProcessEnvironment(variables);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted())
        fail(QStringLiteral("%1 %2 startete nicht: %3")
                 .arg(program, arguments.join(u' '), process.errorString()));
    // A fresh prefix takes Wine a while to set up.
    if (!process.waitForFinished(300'000)) {
        process.kill();
        process.waitForFinished();
        fail(QStringLiteral("%1 %2 endete nicht.").arg(program, arguments.join(u' ')));
    }
    if (mustSucceed && (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0))
        fail(QStringLiteral("%1 %2 schlug fehl (%3): %4")
                 .arg(program, arguments.join(u' '))
                 .arg(process.exitCode())
                 .arg(QString::fromLocal8Bit(process.readAll()).trimmed()));
}

// Whether the program starts here at all: some kernels run no 32-bit programs.
bool runs(const QString &program)
{
    QProcess process;
    process.start(program, {QStringLiteral("--version")});
    if (!process.waitForStarted() || !process.waitForFinished(60'000))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Wine names a Linux file through its drive Z:.
QString windowsPath(const QString &path)
{
    return QStringLiteral("Z:") + QDir::toNativeSeparators(path).replace(u'/', u'\\');
}

void preparePrefix(const QString &prefix, const QDir &doubles, const QString &wine64,
                   const phone::remote::Environment &environment)
{
    const QString wineserver = wineProgram("/usr/lib/wine/wineserver", "wineserver");
    // What an earlier, broken attempt left is started afresh; no server may be running.
    runStep(wineserver, {QStringLiteral("--kill")}, environment, false);
    QDir(prefix).removeRecursively();
    // Without a display: Wine's null graphics driver still gives the host its windows.
    runStep(wine64,
            {QStringLiteral("reg"), QStringLiteral("add"),
             QStringLiteral("HKCU\\Software\\Wine\\Drivers"), QStringLiteral("/v"),
             QStringLiteral("Graphics"), QStringLiteral("/d"), QStringLiteral("null"),
             QStringLiteral("/f")},
            environment);
    // The driver is chosen when a session starts.
    runStep(wineserver, {QStringLiteral("--wait")}, environment);
    runStep(wine64,
            {QStringLiteral("regsvr32"), QStringLiteral("/s"),
             windowsPath(doubles.absoluteFilePath(QStringLiteral("TervaniDouble.dll")))},
            environment);
    // The 32-bit double beside the 32-bit host, where Wine's 32-bit loader is installed.
    const QString library32 = doubles.absoluteFilePath(QStringLiteral("i686/TervaniDouble.dll"));
    const QString wine32 = QStringLiteral("/usr/lib/wine/wine");
    if (QFile::exists(library32) && runs(wine32))
        runStep(wine32, {QStringLiteral("regsvr32"), QStringLiteral("/s"), windowsPath(library32)},
                environment);
}

} // namespace

HostedScript::HostedScript(const phone::remote::HostCommand &command, std::ostream &transcript)
    : m_hosted(command, script::progIdText)
    , m_traced(m_hosted, [this, &transcript](const phone::scripted::Access &access) {
        transcript << phone::scripted::accessLine(access) << '\n';
        accessed(access.dispId);
    })
{}

void HostedScript::setAnswer(std::int32_t dispId, const phone::Value &value)
{
    std::array<phone::Argument, 2> arguments{phone::Argument{dispId}, phone::Argument{value}};
    m_hosted.invoke(script::Answer, arguments);
}

void HostedScript::setFailing(std::int32_t dispId)
{
    std::array<phone::Argument, 1> arguments{phone::Argument{dispId}};
    m_hosted.invoke(script::Failing, arguments);
}

void HostedScript::raiseEvent(std::string_view name, const phone::EventArguments &event)
{
    std::array<phone::Argument, 4> arguments{
        phone::Argument{QString::fromUtf8(name.data(), qsizetype(name.size())).toStdU16String()},
        phone::Argument{event.callingNumber}, phone::Argument{event.calledMSN},
        phone::Argument{event.callID}};
    m_hosted.invoke(script::Raise, arguments);
}

QString builtWindowsFile(const QString &programDirectory, const QString &relativePath)
{
    const QDir beside(programDirectory);
    for (const QString &folder :
         {QStringLiteral("."), QStringLiteral("../bin"), QStringLiteral("../test-bin")}) {
        const QString file = QDir::cleanPath(beside.absoluteFilePath(folder + u'/' + relativePath));
        if (QFile::exists(file))
            return file;
    }
    return QDir::cleanPath(beside.absoluteFilePath(relativePath));
}

phone::remote::HostCommand prepareHostUnderWine(const QString &programDirectory)
{
    const QString host = builtWindowsFile(programDirectory, QStringLiteral("tervani-host.exe"));
    const QString library = builtWindowsFile(programDirectory, QStringLiteral("TervaniDouble.dll"));
    for (const QString &file : {host, library}) {
        if (!QFile::exists(file))
            fail(QStringLiteral("%1 fehlt: der Build enthält die Windows-Seite nicht "
                                "(TERVANI_WINE_TESTS=ON).")
                     .arg(file));
    }
    const QString wine64 = wineProgram("/usr/lib/wine/wine64", "wine64");
    const QString prefix =
        QDir::cleanPath(QFileInfo(host).dir().absoluteFilePath(QStringLiteral("../scenario-wine")));
    const phone::remote::Environment environment = wineEnvironment(prefix);

    QLockFile lock(prefix + QStringLiteral(".lock"));
    lock.setStaleLockTime(0); // held for minutes while Wine sets up; stale only when its owner died
    if (!lock.tryLock(600'000))
        fail(QStringLiteral("Das Wine-Präfix %1 ist gesperrt.").arg(prefix));
    const QString ready = prefix + QStringLiteral("/tervani-ready");
    if (!QFile::exists(ready)) {
        preparePrefix(prefix, QFileInfo(library).dir(), wine64, environment);
        QFile marker(ready);
        if (!marker.open(QIODevice::WriteOnly))
            fail(QStringLiteral("%1 kann nicht angelegt werden.").arg(ready));
    }

    phone::remote::HostCommand command = phone::remote::hostCommand(host.toStdString());
    command.arguments.front() = wine64.toStdString();
    command.environment = environment;
    return command;
}

phone::remote::HostCommand prepareHost(const QString &programDirectory)
{
#ifdef _WIN32
    // hostCommand names a host that is not there.
    const QString host = QDir(programDirectory).filePath(QStringLiteral("tervani-host.exe"));
    return phone::remote::hostCommand(QDir::toNativeSeparators(host).toStdString());
#else
    return prepareHostUnderWine(programDirectory);
#endif
}

} // namespace scenario
