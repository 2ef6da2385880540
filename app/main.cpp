#include "app/Dialogs.h"
#include "app/SimulatedBench.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(
        QString::fromStdU16String(std::u16string(app::applicationTitle)));

    // The panel is a window of Form1's: closing Form1 closes the last main window, and the
    // program ends with it.
    app::QtDialogs dialogs;
    app::SimulatedBench bench(dialogs);
    bench.show();
    return application.exec();
}
