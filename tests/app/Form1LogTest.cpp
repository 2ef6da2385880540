#include "app/Dialogs.h"
#include "app/Form1.h"
#include "app/FormObserver.h"
#include "phone/Error.h"
#include "phone/Members.h"
#include "tests/support/RecordingDialogs.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

namespace {

// Answers the window's reads with whatever the test has set and raises its events on demand.
class ScriptedControl : public phone::Dispatch
{
public:
    phone::Value getProperty(std::int32_t dispId) override
    {
        if (dispId == phone::dispid::ConnectionCount)
            return count;
        if (dispId == phone::dispid::LatestText) {
            if (latestFails)
                throw phone::Error(phone::ErrorKind::Component, "LatestText nicht lesbar");
            return latest;
        }
        return false;
    }
    void putProperty(std::int32_t, const phone::Value &) override {}
    phone::Value invoke(std::int32_t, std::span<phone::Argument>) override { return {}; }
    void connectEvents(phone::EventSink *s) override { sink = s; }

    void raise(std::int32_t callId)
    {
        sink->controlEvent("OnConnected", phone::EventArguments{std::u16string(u"0301234567"),
                                                                std::u16string(u"4711"), callId});
    }

    phone::EventSink *sink = nullptr;
    std::int32_t count = 0;
    std::u16string latest;
    bool latestFails = false;
};

class RecordingObserver : public app::FormObserver
{
public:
    void lineAdded(const std::u16string &line) override { trace.push_back(u"line " + line); }
    void listCleared() override { trace.push_back(u"cleared"); }
    void captionSet(app::Control, const std::u16string &caption) override
    {
        trace.push_back(u"caption " + caption);
    }
    void enabledSet(app::Control, bool) override {}
    void textSet(app::Control, const std::u16string &) override {}
    void checkSet(app::Control, int) override {}
    void unloaded() override {}
    std::vector<std::u16string> trace;
};

std::u16string lineFor(std::int32_t callId)
{
    return u"Ereignis: OnConnected (ID: " + std::u16string(QString::number(callId).toStdU16String())
           + u") -    Nummer: 0301234567 - MSN: 4711";
}

struct Bench
{
    Bench()
        : form(control, dialogs, &observer)
    {
        form.show();
    }
    QString labelText(app::Control label) const
    {
        return static_cast<QLabel *>(form.widget(label))->text();
    }
    int listedRows() const
    {
        return static_cast<QListView *>(form.widget(app::Control::LST_Message))
            ->model()
            ->rowCount();
    }

    ScriptedControl control;
    testsupport::RecordingDialogs dialogs;
    RecordingObserver observer;
    app::Form1 form;
};

} // namespace

class Form1LogTest : public QObject
{
    Q_OBJECT

private slots:
    void eachLineIsTracedAtOnceAndListedByTheNextFrame();
    void labelsShowTheValuesReadAfterTheNewestLine();
    void failedLatestTextReadKeepsItsCaption();
    void clearEmptiesTheListAtOnceAndKeepsTheLabels();
};

void Form1LogTest::eachLineIsTracedAtOnceAndListedByTheNextFrame()
{
    Bench bench;
    bench.control.count = 2;
    bench.control.latest = u"Anruf von 0301234567";

    bench.control.raise(7);

    const std::vector<std::u16string> expected{
        u"line " + lineFor(7),
        u"caption Anzahl Verbindungen:  2",
        u"caption Zuletzt: Anruf von 0301234567",
    };
    QVERIFY(bench.observer.trace == expected);
    QCOMPARE(bench.form.messages().lineCount(), 1);
    QVERIFY(bench.form.caption(app::Control::LBL_Last) == u"Zuletzt: Anruf von 0301234567");
    QTRY_COMPARE(bench.listedRows(), 1);
    QCOMPARE(bench.form.messages().line(0), QString::fromStdU16String(lineFor(7)));
    QTRY_COMPARE(bench.labelText(app::Control::LBL_Last),
                 QStringLiteral("Zuletzt: Anruf von 0301234567"));
    QCOMPARE(bench.labelText(app::Control::LBL_Anzahl), QStringLiteral("Anzahl Verbindungen:  2"));
}

void Form1LogTest::labelsShowTheValuesReadAfterTheNewestLine()
{
    Bench bench;
    const int events = 500;
    for (int i = 1; i <= events; ++i) {
        bench.control.count = i % 11;
        bench.control.latest = QStringLiteral("Text %1").arg(i).toStdU16String();
        bench.control.raise(i);
    }
    QCOMPARE(bench.observer.trace.size(), std::size_t(3 * events));

    QTRY_COMPARE(bench.labelText(app::Control::LBL_Last), QStringLiteral("Zuletzt: Text 500"));
    // The list and both labels change together: once the newest caption shows, so does the
    // newest line.
    QCOMPARE(bench.listedRows(), events);
    QCOMPARE(bench.form.messages().line(events - 1), QString::fromStdU16String(lineFor(events)));
    QCOMPARE(bench.labelText(app::Control::LBL_Anzahl),
             QStringLiteral("Anzahl Verbindungen:  %1").arg(events % 11));
}

void Form1LogTest::failedLatestTextReadKeepsItsCaption()
{
    Bench bench;
    bench.control.count = 1;
    bench.control.latest = u"alt";
    bench.control.raise(1);
    bench.control.count = 5;
    bench.control.latestFails = true;

    bench.control.raise(2);

    QCOMPARE(bench.dialogs.errors.size(), std::size_t(1));
    QTRY_COMPARE(bench.listedRows(), 2);
    QTRY_COMPARE(bench.labelText(app::Control::LBL_Anzahl),
                 QStringLiteral("Anzahl Verbindungen:  5"));
    QCOMPARE(bench.labelText(app::Control::LBL_Last), QStringLiteral("Zuletzt: alt"));
}

void Form1LogTest::clearEmptiesTheListAtOnceAndKeepsTheLabels()
{
    Bench bench;
    bench.control.count = 3;
    bench.control.latest = u"vorher";
    for (int i = 0; i < 20; ++i)
        bench.control.raise(i);
    QTRY_COMPARE(bench.listedRows(), 20);
    bench.control.latest = u"zuletzt";
    bench.control.raise(99); // stored, not yet listed

    static_cast<QPushButton *>(bench.form.widget(app::Control::BTN_Clear))->click();

    QCOMPARE(bench.listedRows(), 0);
    QCOMPARE(bench.form.messages().lineCount(), 0);
    QVERIFY(bench.observer.trace.back() == u"cleared");
    // The next refresh shows the newest caption, and no line comes back.
    QTRY_COMPARE(bench.labelText(app::Control::LBL_Last), QStringLiteral("Zuletzt: zuletzt"));
    QCOMPARE(bench.listedRows(), 0);
    QCOMPARE(bench.labelText(app::Control::LBL_Anzahl), QStringLiteral("Anzahl Verbindungen:  3"));
}

QTEST_MAIN(Form1LogTest)
#include "Form1LogTest.moc"
