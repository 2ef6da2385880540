#include "app/QtScheduler.h"
#include "phone/sim/SimulatedControl.h"

#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A clock that stands still: delays are then exactly what the test asks for.
class StillClock : public phone::sim::Clock
{
public:
    phone::sim::Millis now() const override { return 0ms; }
};

class CountingSink : public phone::EventSink
{
public:
    void controlEvent(std::string_view, const phone::EventArguments &) override { ++events; }
    int events = 0;
};

} // namespace

class QtSchedulerTest : public QObject
{
    Q_OBJECT

private slots:
    void postedTasksRunAfterTheCallInOrder();
    void timersRunAtTheirTimeAfterPostedTasks();
    void cancelledTimerNeverRuns();
    void destroyingTheSchedulerDropsItsTasksAndTimers();
    void destroyedControlRaisesNothing();

private:
    // Lets the event loop run until a timer of its own, later than everything under test,
    // has fired.
    static void runEventLoopFor(std::chrono::milliseconds span)
    {
        bool passed = false;
        QTimer::singleShot(span, [&passed] { passed = true; });
        QTRY_VERIFY(passed);
    }

    StillClock m_clock;
};

void QtSchedulerTest::postedTasksRunAfterTheCallInOrder()
{
    app::QtScheduler scheduler(m_clock);
    std::vector<int> order;
    for (int i = 1; i <= 3; ++i)
        scheduler.post([&order, i] { order.push_back(i); });
    QVERIFY(order.empty());
    QTRY_COMPARE(order, (std::vector<int>{1, 2, 3}));
}

void QtSchedulerTest::timersRunAtTheirTimeAfterPostedTasks()
{
    app::QtScheduler scheduler(m_clock);
    std::vector<int> order;
    scheduler.postAt(40ms, [&order] { order.push_back(40); });
    scheduler.postAt(10ms, [&order] { order.push_back(10); });
    scheduler.post([&order, &scheduler] {
        order.push_back(0);
        // A task may start timers of its own.
        scheduler.postAt(20ms, [&order] { order.push_back(20); });
    });
    QTRY_COMPARE(order, (std::vector<int>{0, 10, 20, 40}));
}

void QtSchedulerTest::cancelledTimerNeverRuns()
{
    app::QtScheduler scheduler(m_clock);
    std::vector<int> order;
    const auto first = scheduler.postAt(10ms, [&order] { order.push_back(10); });
    scheduler.postAt(30ms, [&order] { order.push_back(30); });
    scheduler.cancel(first);
    scheduler.cancel(first);
    scheduler.cancel(12345);
    QTRY_COMPARE(order, std::vector<int>{30});
    runEventLoopFor(50ms);
    QCOMPARE(order, std::vector<int>{30});
}

void QtSchedulerTest::destroyingTheSchedulerDropsItsTasksAndTimers()
{
    int ran = 0;
    {
        app::QtScheduler scheduler(m_clock);
        scheduler.post([&ran] { ++ran; });
        scheduler.postAt(0ms, [&ran] { ++ran; });
        scheduler.postAt(20ms, [&ran] { ++ran; });
    }
    runEventLoopFor(60ms);
    QCOMPARE(ran, 0);
}

void QtSchedulerTest::destroyedControlRaisesNothing()
{
    phone::sim::SteadyClock clock;
    const phone::sim::Timing timing{10ms, 10ms, 40ms, 10ms};
    CountingSink sink;

    // The same line left alive does raise events within the span waited for below.
    {
        phone::sim::SimulatedControl control(clock, std::make_unique<app::QtScheduler>(clock),
                                             timing);
        control.connectEvents(&sink);
        control.softphone().dial(u"0123");
        QTRY_VERIFY(sink.events >= 2);
        control.connectEvents(nullptr);
    }
    sink.events = 0;

    auto control = std::make_unique<phone::sim::SimulatedControl>(
        clock, std::make_unique<app::QtScheduler>(clock), timing);
    control->connectEvents(&sink);
    control->softphone().dial(u"0123");
    control->softphone().ring(u"030");
    control->softphone().raiseRegistrationNotice();
    control.reset();
    runEventLoopFor(100ms);
    QCOMPARE(sink.events, 0);
}

QTEST_GUILESS_MAIN(QtSchedulerTest)
#include "QtSchedulerTest.moc"
