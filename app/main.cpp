#include "app/Dialogs.h"
#include "app/Form1.h"

#include <QApplication>

#ifdef _WIN32
#include "phone/Error.h"
#include "phone/com/ComControl.h"

#include <QMessageBox>

#include <memory>
#endif

namespace {

// Stand-in until a softphone is attached: answers every read with a quiet default and
// accepts every call.
class StandInControl : public phone::Dispatch
{
public:
    phone::Value getProperty(std::int32_t) override { return std::int32_t{0}; }
    void putProperty(std::int32_t, const phone::Value &) override {}
    phone::Value invoke(std::int32_t, std::span<phone::Argument>) override { return {}; }
    void connectEvents(phone::EventSink *) override {}
};

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

#ifdef _WIN32
    const std::unique_ptr<phone::Dispatch> created = createControl();
    if (!created)
        return 1;
    phone::Dispatch &control = *created;
#else
    StandInControl control;
#endif
    app::QtDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    return application.exec();
}
