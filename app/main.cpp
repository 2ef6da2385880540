#include "app/Dialogs.h"

#include <QApplication>

#ifdef _WIN32
#include "app/Form1.h"
#include "phone/Error.h"
#include "phone/com/ComControl.h"

#include <QMessageBox>

#include <memory>
#else
#include "app/SimulatedTestbench.h"
#endif

namespace {

#ifdef _WIN32
// The real control, registered on this machine. Without it the bench has nothing to test:
// the user learns why, and the program ends.
std::unique_ptr<phone::Dispatch> createControl()
{
    try {
        return std::make_unique<phone::com::ComControl>(phone::com::tervaniProgId);
    } catch (const phone::Error &error) {
        QMessageBox::critical(nullptr,
                              QString::fromStdU16String(std::u16string(app::applicationTitle)),
                              QString::fromStdString(error.description()));
        return nullptr;
    }
}
#endif

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(
        QString::fromStdU16String(std::u16string(app::applicationTitle)));
    app::QtDialogs dialogs;

#ifdef _WIN32
    const std::unique_ptr<phone::Dispatch> control = createControl();
    if (!control)
        return 1;
    app::Form1 form(*control, dialogs);
    form.show();
#else
    // The panel is a window of Form1's: closing Form1 closes the last main window, and the
    // program ends with it.
    app::SimulatedTestbench bench(dialogs);
    bench.show();
#endif
    return application.exec();
}
