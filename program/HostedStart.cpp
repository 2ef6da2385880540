#include "program/HostedStart.h"

#include "phone/Members.h"
#include "phone/remote/HostLauncher.h"

#include <QCoreApplication>
#include <QDir>

namespace program {

void postToEventLoop(std::function<void()> task)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

std::unique_ptr<phone::remote::HostedControl> startHostedControl(const StartOptions &options,
                                                                 const QString &programDirectory)
{
    const QString host = options.hostPath.isEmpty()
                             ? QDir(programDirectory).filePath(QStringLiteral("tervani-host.exe"))
                             : options.hostPath;
    phone::remote::HostCommand command =
        phone::remote::hostCommand(QDir::toNativeSeparators(host).toStdString());
    command.timeout = options.timeout;
    if (qEnvironmentVariableIsEmpty("WINEDEBUG"))
        command.environment.emplace_back("WINEDEBUG", "-all");
    return std::make_unique<phone::remote::HostedControl>(
        command, options.progId.value_or(std::u16string(phone::tervaniProgId)), postToEventLoop);
}

} // namespace program
