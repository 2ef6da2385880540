// The window's end: once it is unloaded nothing touches it or the control any more, whatever
// is still pending (a handler under a box or inside a call, an access key's delayed click, an
// event from a control that keeps sending), and its hold on the control's events is let go
// exactly once.
#include "tests/reliability/Session.h"

#include "app/Form1.h"
#include "phone/Members.h"
#include "tests/support/RecordingDialogs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>
#include <sstream>

using app::Control;

namespace {

// The scripted control, watched: counts how often the window connects and disconnects its
// events, records any access once the window has let go, and can keep delivering events to a
// sink it was told to forget, as a faulty control might.
class WatchedControl : public phone::Dispatch
{
public:
    explicit WatchedControl(std::ostream &accesses)
        : m_scripted(accesses)
    {}

    scenario::ScriptedControl &scripted() { return m_scripted; }

    phone::Value getProperty(std::int32_t dispId) override
    {
        noteAccess();
        return m_scripted.getProperty(dispId);
    }
    void putProperty(std::int32_t dispId, const phone::Value &value) override
    {
        noteAccess();
        m_scripted.putProperty(dispId, value);
    }
    phone::Value invoke(std::int32_t dispId, std::span<phone::Argument> arguments) override
    {
        noteAccess();
        return m_scripted.invoke(dispId, arguments);
    }
    void connectEvents(phone::EventSink *sink) override
    {
        if (sink) {
            ++connects;
            m_sink = sink;
        } else {
            ++disconnects;
        }
        m_scripted.connectEvents(sink);
    }

    // Delivers to the last sink connected, even after a disconnect.
    void raiseStubbornly(std::string_view name)
    {
        m_sink->controlEvent(name, {phone::Value{std::u16string(u"1")},
                                    phone::Value{std::u16string(u"2")}, phone::Value{3}});
    }

    int connects = 0;
    int disconnects = 0;
    int accessesAfterRelease = 0;

private:
    void noteAccess()
    {
        if (disconnects > 0)
            ++accessesAfterRelease;
    }

    scenario::ScriptedControl m_scripted;
    phone::EventSink *m_sink = nullptr;
};

struct Bench
{
    Bench()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    std::ostringstream accesses;
    WatchedControl control{accesses};
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
    Bench bench;
    QCOMPARE(bench.control.connects, 1);
    QTest::mouseClick(bench.form->widget(Control::BTN_Exit), Qt::LeftButton);
    QVERIFY(!bench.form->isVisible());
    QCOMPARE(bench.control.disconnects, 1);
    bench.form->close(); // closing again is no second unload
    bench.form.reset();
    QCOMPARE(bench.control.disconnects, 1);
    QCOMPARE(bench.control.accessesAfterRelease, 0);
}

void LifetimeTest::destructionWithoutUnloadLetsGoOnce()
{
    Bench bench;
    bench.form.reset();
    QCOMPARE(bench.control.connects, 1);
    QCOMPARE(bench.control.disconnects, 1);
    QCOMPARE(bench.control.accessesAfterRelease, 0);
}

void LifetimeTest::eventsAfterUnloadChangeNothing()
{
    Bench bench;
    bench.control.raiseStubbornly("OnRing");
    QCOMPARE(bench.form->messages().lineCount(), 1);
    bench.form->close();

    // A well-behaved control has no sink left to call; a faulty one reaches a window that
    // ignores it.
    bench.control.scripted().raiseEvent("OnRing", {});
    bench.control.raiseStubbornly("OnDisConnected");
    QCOMPARE(bench.form->messages().lineCount(), 1);
    QVERIFY(bench.form->widget(Control::Annehmen)->isEnabled());
    QCOMPARE(bench.control.accessesAfterRelease, 0);
    QVERIFY(bench.dialogs.errors.empty());
}

void LifetimeTest::delayedAccessKeyClickAfterExitDoesNothing()
{
    Bench bench;
    // Both keys press their buttons at once and click them a moment later, Beenden first.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
    auto *dial = qobject_cast<QAbstractButton *>(bench.form->widget(Control::BTN_Dial));
    QVERIFY(dial->isDown());
    QTRY_VERIFY(!bench.form->isVisible());
    QTRY_VERIFY(!dial->isDown());
    QCOMPARE(bench.accesses.str(), std::string("get PopUp\n"));
    QCOMPARE(bench.control.accessesAfterRelease, 0);
}

void LifetimeTest::pendingAccessKeyClickDiesWithTheWindow()
{
    Bench bench;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
    QVERIFY(qobject_cast<QAbstractButton *>(bench.form->widget(Control::BTN_Dial))->isDown());
    bench.form.reset();
    // The click's timer went with its button; nothing fires into the destroyed window.
    QTest::qWait(200);
    QCOMPARE(bench.accesses.str(), std::string("get PopUp\n"));
    QCOMPARE(bench.control.accessesAfterRelease, 0);
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
    WatchedControl control(accesses);
    app::QtDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    control.scripted().setAnswer(phone::dispid::ConnectionCount, std::int32_t{1});

    // The window goes (the session ends, say) while the hang-up box waits for the user.
    QTimer::singleShot(0, [&form] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        form.close();
        box->done(QMessageBox::Ok);
    });
    QTest::mouseClick(form.widget(Control::BTN_Disconnect), Qt::LeftButton);

    QCOMPARE(accesses.str(), std::string("get PopUp\nget ConnectionCount\n"));
    QCOMPARE(control.disconnects, 1);
    QCOMPARE(control.accessesAfterRelease, 0);
}

QTEST_MAIN(LifetimeTest)
#include "LifetimeTest.moc"
