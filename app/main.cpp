#include "app/Dialogs.h"
#include "app/Form1.h"

#include <QApplication>

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(
        QString::fromStdU16String(std::u16string(app::applicationTitle)));

    StandInControl control;
    app::QtDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    return application.exec();
}
