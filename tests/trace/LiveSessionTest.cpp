// One session of the real window and the simulator's panel, driven by input events that go
// through the X server as a person's do, with the window's real message boxes, traced and
// recorded at once: the trace equals the replay of the recording. Runs under Xvfb.
#include "trace/SessionRecorder.h"
#include "trace/SessionTrace.h"

#include "app/Dialogs.h"
#include "app/Form1.h"
#include "app/SimulatedTestbench.h"
#include "app/SimulatorPanel.h"
#include "tools/scenario/Replay.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <sstream>

using namespace std::chrono_literals;

namespace {

// Rings and answers quickly; the caller keeps ringing until answered.
constexpr phone::sim::Timing timing{30ms, 60ms, 20000ms, 0ms};

// The pointer and the keyboard of the X server, moved by the XTEST extension.
class XInput
{
public:
    XInput()
        : m_display(XOpenDisplay(nullptr))
    {}
    ~XInput()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    XInput(const XInput &) = delete;
    XInput &operator=(const XInput &) = delete;

    bool ready() const { return m_display != nullptr; }

    void click(QWidget *widget, int times = 1)
    {
        const QPoint at = widget->mapToGlobal(widget->rect().center());
        XTestFakeMotionEvent(m_display, -1, at.x(), at.y(), 0);
        for (int i = 0; i < times; ++i) {
            XTestFakeButtonEvent(m_display, 1, True, 0);
            XTestFakeButtonEvent(m_display, 1, False, 0);
        }
        settle();
    }

    // Letters, digits and blanks: keys of every keyboard map without modifiers.
    void type(const char *text)
    {
        for (const char *c = text; *c; ++c) {
            const char name[2] = {*c, 0};
            const KeySym symbol = *c == ' ' ? XK_space : XStringToKeysym(name);
            const KeyCode key = XKeysymToKeycode(m_display, symbol);
            XTestFakeKeyEvent(m_display, key, True, 0);
            XTestFakeKeyEvent(m_display, key, False, 0);
        }
        settle();
    }

private:
    void settle()
    {
        XFlush(m_display);
        QTest::qWait(150);
    }

    Display *m_display;
};

QStringList linesOf(const std::string &text)
{
    QStringList lines = QString::fromStdString(text).split(u'\n');
    lines.removeAll(QString());
    return lines;
}

} // namespace

class LiveSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void traceEqualsTheReplayOfTheRecording();
};

void LiveSessionTest::traceEqualsTheReplayOfTheRecording()
{
    XInput input;
    QVERIFY2(input.ready(), "no X display");
    std::stringbuf traced;
    std::stringbuf recorded;
    QStringList boxesClosed;
    {
        trace::SessionRecorder recorder(std::make_unique<std::ostream>(&recorded));
        trace::SessionTrace sessionTrace(std::make_unique<std::ostream>(&traced));
        app::QtDialogs dialogs;
        app::SimulatedTestbench bench(dialogs, timing, {recorder.tap(), sessionTrace.tap()});
        bench.show();
        app::Form1 &form = bench.form();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(QTest::qWaitForWindowExposed(&bench.panel()));
        const auto control = [&form](const char *name) {
            return form.findChild<QWidget *>(QLatin1String(name));
        };
        const auto panel = [&bench](const char *name) {
            return bench.panel().findChild<QWidget *>(QLatin1String(name));
        };
        const auto logged = [&form](const char *event) {
            int count = 0;
            for (int row = 0; row < form.messages().lineCount(); ++row)
                count += form.messages().line(row).contains(QLatin1String(event)) ? 1 : 0;
            return count;
        };

        // Every box the window shows is closed by a click on its button, as a person does.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            boxesClosed << box->text();
            input.click(box->buttons().front());
        });
        closer.start(200);

        input.click(control("TXT_Nummer"));
        input.type("0301");
        input.click(control("BTN_Dial"));
        QTRY_COMPARE(logged("OnConnected"), 1);

        input.click(control("TXT_DTMF"));
        input.type("123");
        input.click(control("BTN_DTMF"));
        input.click(control("TXT_SMS"));
        input.type("guten tag");
        input.click(control("BTN_SMS"));

        input.click(panel("ring"));
        QTRY_VERIFY(control("Annehmen")->isEnabled());
        input.click(control("Annehmen"));
        QTRY_COMPARE(logged("OnConnected"), 2);

        input.click(control("TXT_Konvert"), 2);
        input.click(control("BTN_Konvert"));
        input.click(control("CHK_PopUp"));

        // The panel's fault: which member is chosen is the panel's own business; the fault is
        // set by its button, and the next dial fails with the window's error report.
        auto *member = qobject_cast<QComboBox *>(panel("faultMember"));
        member->setCurrentIndex(member->findText(QStringLiteral("Dial")));
        input.click(panel("injectFault"));
        input.click(control("BTN_Dial"));
        QTRY_COMPARE(boxesClosed.size(), 1);

        input.click(control("BTN_Disconnect"));
        QTRY_COMPARE(boxesClosed.size(), 2);
        QTRY_COMPARE(logged("OnDisConnected"), 1);
        input.click(control("BTN_Exit"));
        QTRY_VERIFY(!form.isVisible());
    }
    QCOMPARE(boxesClosed.at(1), QStringLiteral("2 = 2 wird jetzt beendet"));

    const QStringList trace = linesOf(scenario::replayedPart(traced.str()));
    const QStringList replay = linesOf(scenario::replayedPart(scenario::replayed(recorded.str())));
    QVERIFY(trace.contains(QStringLiteral("call SendDTMF &1 \"123\"")));
    QVERIFY(trace.contains(QStringLiteral("error component")));
    QVERIFY2(
        replay == trace,
        qPrintable(QStringLiteral("--- trace ---\n%1\n--- recording ---\n%2\n--- replay ---\n%3")
                       .arg(trace.join(u'\n'), QString::fromStdString(recorded.str()),
                            replay.join(u'\n'))));
}

QTEST_MAIN(LiveSessionTest)
#include "LiveSessionTest.moc"
