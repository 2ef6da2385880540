#pragma once

// The control host of either bitness under Wine, for the hosted tests' rows: the 64-bit one and
// the 32-bit one, the users' case.

#include "phone/remote/HostLauncher.h"
#include "tools/scenario/HostedScript.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

namespace hosted {

// The column "bits" with a row for each host.
inline void addHostRows()
{
    QTest::addColumn<int>("bits");
    QTest::newRow("64-bit host") << 64;
    QTest::newRow("32-bit host, the users' case") << 32;
}

// Why the host of that bitness cannot run here, or null.
inline const char *hostCannotRun(int bits)
{
    if (bits != 32)
        return nullptr;
    if (!QFile::exists(QStringLiteral("/usr/lib/wine/wine")))
        return "Wine's 32-bit loader (wine32:i386) is not installed";
#ifdef TERVANI_NO_32BIT_PROGRAMS
    return "this machine's kernel runs no 32-bit programs (found when the build was set up)";
#endif
    return nullptr;
}

// `prepared` (the 64-bit host, from scenario::prepareHostUnderWine) for a host of that bitness.
inline phone::remote::HostCommand hostOfBits(phone::remote::HostCommand prepared, int bits)
{
    if (bits == 32) {
        const QString host32 = scenario::builtWindowsFile(QCoreApplication::applicationDirPath(),
                                                          QStringLiteral("i686/tervani-host.exe"));
        prepared.arguments = phone::remote::hostCommand(host32.toStdString()).arguments;
    }
    return prepared;
}

} // namespace hosted
