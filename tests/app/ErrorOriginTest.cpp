// Every error the window reports names the handler it stopped and the access that failed,
// so that a report can say where it came from.

#include "app/Form1.h"
#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/scripted/ScriptedControl.h"
#include "tests/support/RecordingDialogs.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using form::Control;
using phone::ErrorKind;
using phone::scripted::ScriptedControl;

namespace {

using Setup = std::function<void(ScriptedControl &)>;
using Act = std::function<void(ScriptedControl &, app::Form1 &)>;

void raise(ScriptedControl &control, std::string_view event, phone::Value callId = 1)
{
    control.raiseEvent(event, {std::u16string(u"0301"), std::u16string(u"4711"), callId});
}

void click(app::Form1 &form, Control control)
{
    QTest::mouseClick(form.widget(control), Qt::LeftButton);
}

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Act)
Q_DECLARE_METATYPE(phone::ErrorKind)

class ErrorOriginTest : public QObject
{
    Q_OBJECT

private slots:
    void namesHandlerAndAccess_data();
    void namesHandlerAndAccess();
};

void ErrorOriginTest::namesHandlerAndAccess_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<Act>("act");
    QTest::addColumn<ErrorKind>("kind");
    QTest::addColumn<QString>("handler");
    QTest::addColumn<QString>("access");

    const Setup none = [](ScriptedControl &) {
    };
    const Act nothing = [](ScriptedControl &, app::Form1 &) {
    };
    auto failing = [](std::int32_t dispId) -> Setup {
        return [dispId](ScriptedControl &control) {
            control.setFailing(dispId);
        };
    };
    auto answering = [](std::int32_t dispId, phone::Value value) -> Setup {
        return [dispId, value](ScriptedControl &control) {
            control.setAnswer(dispId, value);
        };
    };
    auto clicking = [](Control control) -> Act {
        return [control](ScriptedControl &, app::Form1 &form) {
            click(form, control);
        };
    };
    auto raising = [](std::string_view event, phone::Value callId = 1) -> Act {
        return [event, callId](ScriptedControl &control, app::Form1 &) {
            raise(control, event, callId);
        };
    };

    QTest::newRow("load reads PopUp")
        << failing(phone::dispid::PopUp) << nothing << ErrorKind::Component
        << QStringLiteral("Form1_Load") << QStringLiteral("PopUp lesen");
    QTest::newRow("dial") << failing(phone::dispid::Dial) << clicking(Control::BTN_Dial)
                          << ErrorKind::Component << QStringLiteral("BTN_Dial")
                          << QStringLiteral("Dial aufrufen");
    QTest::newRow("hang up reads the count as a number")
        << answering(phone::dispid::ConnectionCount, std::u16string(u"zwei"))
        << clicking(Control::BTN_Disconnect) << ErrorKind::Type << QStringLiteral("BTN_Disconnect")
        << QStringLiteral("ConnectionCount lesen");
    QTest::newRow("pop-up switch writes PopUp")
        << failing(phone::dispid::PopUp) << clicking(Control::CHK_PopUp) << ErrorKind::Component
        << QStringLiteral("CHK_PopUp") << QStringLiteral("PopUp setzen");
    QTest::newRow("convert") << failing(phone::dispid::ConvertNumber)
                             << clicking(Control::BTN_Konvert) << ErrorKind::Component
                             << QStringLiteral("BTN_Konvert")
                             << QStringLiteral("ConvertNumber aufrufen");
    QTest::newRow("ringing refreshes LatestText")
        << failing(phone::dispid::LatestText) << raising(phone::event::OnRing)
        << ErrorKind::Component << QStringLiteral("OnRing") << QStringLiteral("LatestText lesen");
    QTest::newRow("connecting stores at a count outside the table")
        << answering(phone::dispid::ConnectionCount, std::int32_t{11})
        << raising(phone::event::OnConnecting) << ErrorKind::Range << QStringLiteral("OnConnecting")
        << QStringLiteral("CallIDs(11) schreiben");
    QTest::newRow("an event's identifier is Null")
        << none << raising(phone::event::OnIdle, phone::Null{}) << ErrorKind::Null
        << QStringLiteral("OnIdle") << QStringLiteral("Ereignisargument CallID lesen");
    QTest::newRow("an event's identifier overflows")
        << none << raising(phone::event::OnConnected, 3e9) << ErrorKind::Overflow
        << QStringLiteral("OnConnected") << QStringLiteral("Ereignisargument CallID lesen");
}

void ErrorOriginTest::namesHandlerAndAccess()
{
    QFETCH(Setup, setup);
    QFETCH(Act, act);
    QFETCH(ErrorKind, kind);
    QFETCH(QString, handler);
    QFETCH(QString, access);

    ScriptedControl control;
    testsupport::RecordingDialogs dialogs;
    setup(control);
    app::Form1 form(control, dialogs);
    form.show();
    act(control, form);

    // The last report is the act's; a member failing from the start fails the load step too.
    QVERIFY(!dialogs.errors.empty());
    const auto &report = dialogs.errors.back();
    QCOMPARE(report.kind, kind);
    QCOMPARE(QString::fromStdString(report.handler), handler);
    QCOMPARE(QString::fromStdString(report.access), access);
}

QTEST_MAIN(ErrorOriginTest)
#include "ErrorOriginTest.moc"
