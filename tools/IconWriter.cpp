// Writes the bench's drawn icon as PNG files for the desktop's icon theme, so the installed
// icon and the one the window shows come from the same drawing.
//
//   tervani-icon DIRECTORY SIZE...   writes DIRECTORY/SIZExSIZE/apps/tervani-testbench.png

#include "app/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Drawing needs no screen: this runs during the build.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: tervani-icon DIRECTORY SIZE...\n");
        return 2;
    }
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
