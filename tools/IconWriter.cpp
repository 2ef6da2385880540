// Writes the bench's drawn icon as PNG files for the desktop's icon theme, so the installed
// icon and the one the window shows come from the same drawing.
//
//   tervani-icon DIRECTORY SIZE...   writes DIRECTORY/SIZExSIZE/apps/tervani-testbench.png

#include "app/AppIcon.h"
#include "cli/CommandLine.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Drawing needs no screen: this runs during the build.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    constexpr cli::Usage usage{"tervani-icon",
                               "tervani-icon DIRECTORY SIZE...\n"
                               "       tervani-icon --help | --version\n"
                               "Writes DIRECTORY/SIZExSIZE/apps/tervani-testbench.png for "
                               "each SIZE in pixels.\n"};
    if (const auto answered = cli::answerWithoutOwnOptions(usage, argc, argv))
        return *answered;
    if (argc < 3)
        return cli::wrongCall(usage, "a directory and at least one size are needed");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    for (const QString &sizeText : arguments.mid(2)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "tervani-icon: not a size: %s\n", qPrintable(sizeText));
            return 2;
        }
        const QString directory = QStringLiteral("%1/%2x%2/apps").arg(arguments.at(1)).arg(size);
        const QString file = directory + QStringLiteral("/tervani-testbench.png");
        if (!QDir().mkpath(directory) || !app::appIconPixmap(size).save(file, "PNG")) {
            std::fprintf(stderr, "tervani-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
