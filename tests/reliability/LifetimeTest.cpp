// The window's end: once it is unloaded nothing touches it or the control any more, whatever
// is still pending (a handler under a box or inside a call, an access key's delayed click, an
// event from a control that keeps sending), and its hold on the control's events is let go
// exactly once.
#include "tests/reliability/Session.h"

#include "app/Dialogs.h"
#include "app/Form1.h"
#include "phone/Members.h"
#include "tests/support/RecordingDialogs.h"
#include "tools/scenario/AccessTrace.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>
#include <sstream>

using form::Control;

namespace {

// Delivers to the last sink the window connected, even after the window let it go, as a faulty
// control might.
void raiseStubbornly(phone::scripted::ScriptedControl &control, std::string_view name)
{
    control.raiseEventToLastSink(name, {phone::Value{std::u16string(u"1")},
                                        phone::Value{std::u16string(u"2")}, phone::Value{3}});
}

struct Rig
{
    Rig()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    std::ostringstream accesses;
    scenario::TracedControl control{accesses};
    testsupport::RecordingDialogs dialogs;
    std::unique_ptr<app::Form1> form = std::make_unique<app::Form1>(control, dialogs);
};

} // namespace

class LifetimeTest : public QObject
{
    Q_OBJECT

private slots:
    void unloadLetsGoOfTheControlOnce();
    void destructionWithoutUnloadLetsGoOnce();
    void eventsAfterUnloadChangeNothing();
    void delayedAccessKeyClickAfterExitDoesNothing();
    void pendingAccessKeyClickDiesWithTheWindow();
    void unloadInsideAMemberCallEndsTheHandler_data();
    void unloadInsideAMemberCallEndsTheHandler();
    void realBoxOpenWhenTheWindowCloses();
};

void LifetimeTest::unloadLetsGoOfTheControlOnce()
{
    Rig rig;
    QCOMPARE(rig.control.connects(), 1);
    QTest::mouseClick(rig.form->widget(Control::BTN_Exit), Qt::LeftButton);
    QVERIFY(!rig.form->isVisible());
    QCOMPARE(rig.control.disconnects(), 1);
    rig.form->close(); // closing again is no second unload
    rig.form.reset();
    QCOMPARE(rig.control.disconnects(), 1);
    QCOMPARE(rig.control.accessesAfterDisconnect(), 0);
}

void LifetimeTest::destructionWithoutUnloadLetsGoOnce()
{
    Rig rig;
    rig.form.reset();
    QCOMPARE(rig.control.connects(), 1);
    QCOMPARE(rig.control.disconnects(), 1);
    QCOMPARE(rig.control.accessesAfterDisconnect(), 0);
}

void LifetimeTest::eventsAfterUnloadChangeNothing()
{
    Rig rig;
    raiseStubbornly(rig.control, "OnRing");
    QCOMPARE(rig.form->messages().lineCount(), 1);
    rig.form->close();

    // A well-behaved control has no sink left to call; a faulty one reaches a window that
    // ignores it.
    rig.control.raiseEvent("OnRing", {});
    raiseStubbornly(rig.control, "OnDisConnected");
    QCOMPARE(rig.form->messages().lineCount(), 1);
    QVERIFY(rig.form->widget(Control::Annehmen)->isEnabled());
    QCOMPARE(rig.control.accessesAfterDisconnect(), 0);
    QVERIFY(rig.dialogs.errors.empty());
}

void LifetimeTest::delayedAccessKeyClickAfterExitDoesNothing()
{
    Rig rig;
    // Both keys press their buttons at once and click them a moment later, Beenden first.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
    auto *dial = qobject_cast<QAbstractButton *>(rig.form->widget(Control::BTN_Dial));
    QVERIFY(dial->isDown());
    QTRY_VERIFY(!rig.form->isVisible());
    QTRY_VERIFY(!dial->isDown());
    QCOMPARE(rig.accesses.str(), std::string("get PopUp\n"));
    QCOMPARE(rig.control.accessesAfterDisconnect(), 0);
}

void LifetimeTest::pendingAccessKeyClickDiesWithTheWindow()
{
    Rig rig;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
    QVERIFY(qobject_cast<QAbstractButton *>(rig.form->widget(Control::BTN_Dial))->isDown());
    rig.form.reset();
    // The click's timer went with its button; nothing fires into the destroyed window.
    QTest::qWait(200);
    QCOMPARE(rig.accesses.str(), std::string("get PopUp\n"));
    QCOMPARE(rig.control.accessesAfterDisconnect(), 0);
}

void LifetimeTest::unloadInsideAMemberCallEndsTheHandler_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("access");
    QTest::addColumn<bool>("callFails");
    QTest::addColumn<QStringList>("expected");

    // The control lets the event loop run during its call, and the user leaves meanwhile.
    QTest::newRow("hang-up, before its box")
        << QStringList{"value ConnectionCount 1"} << "click BTN_Disconnect" << 0 << false
        << QStringList{"get ConnectionCount", "> click BTN_Exit", "exit"};
    QTest::newRow("accept, before its call")
        << QStringList{"event OnRing \"1\" \"2\" 3"} << "click Annehmen" << 0 << false
        << QStringList{"get IncomingCallID", "> click BTN_Exit", "exit"};
    QTest::newRow("DTMF, before its call")
        << QStringList{} << "click BTN_DTMF" << 0 << false
        << QStringList{"get ConnectionCount", "> click BTN_Exit", "exit"};
    QTest::newRow("conversion, before its result is set")
        << QStringList{} << "click BTN_Konvert" << 0 << false
        << QStringList{"call ConvertNumber \"(012) 34 55 66\"", "> click BTN_Exit", "exit"};
    QTest::newRow("OnConnecting, before its line")
        << QStringList{} << "event OnConnecting \"1\" \"2\" 3" << 0 << false
        << QStringList{"get ConnectionCount", "> click BTN_Exit", "exit"};
    // The call fails once the window has gone: there is no one left to tell.
    QTest::newRow("dial, failing after the user left")
        << QStringList{} << "click BTN_Dial" << 0 << true
        << QStringList{"call Dial \"\"", "> click BTN_Exit", "exit"};
    QTest::newRow("OnRing, before its labels and Annehmen")
        << QStringList{} << "event OnRing \"1\" \"2\" 3" << 0 << false
        << QStringList{"line \"Ereignis: OnRing (ID: 3) -    Nummer: 1 - MSN: 2\"",
                       "get ConnectionCount", "> click BTN_Exit", "exit"};
}

void LifetimeTest::unloadInsideAMemberCallEndsTheHandler()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, trigger);
    QFETCH(int, access);
    QFETCH(bool, callFails);
    QFETCH(QStringList, expected);

    reliability::Session session;
    session.finish();
    for (const QString &step : setup)
        session.run(step.toStdString());
    session.take();
    const int during = session.control().accessCount() + access;
    session.control().duringAccess(during, [&] { session.run("click BTN_Exit"); });
    if (callFails)
        session.control().failAccess(during);
    session.run(trigger.toStdString());
    QStringList transcript = session.take();
    transcript.removeFirst();
    QCOMPARE(transcript.join(u'\n'), expected.join(u'\n'));
}

void LifetimeTest::realBoxOpenWhenTheWindowCloses()
{
    std::ostringstream accesses;
    scenario::TracedControl control(accesses);
    app::QtDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    control.setAnswer(phone::dispid::ConnectionCount, std::int32_t{1});

    // The window goes (the session ends, say) while the hang-up box waits for the user.
    QTimer::singleShot(0, [&form] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        form.close();
        box->done(QMessageBox::Ok);
    });
    QTest::mouseClick(form.widget(Control::BTN_Disconnect), Qt::LeftButton);

    QCOMPARE(accesses.str(), std::string("get PopUp\nget ConnectionCount\n"));
    QCOMPARE(control.disconnects(), 1);
    QCOMPARE(control.accessesAfterDisconnect(), 0);
}

QTEST_MAIN(LifetimeTest)
#include "LifetimeTest.moc"
