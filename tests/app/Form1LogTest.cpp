#include "app/Dialogs.h"
#include "app/Form1.h"
#include "app/FormObserver.h"
#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/scripted/ScriptedControl.h"
#include "tests/support/RecordingDialogs.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

namespace {

class RecordingObserver : public app::FormObserver
{
public:
    void lineAdded(const std::u16string &line) override { trace.push_back(u"line " + line); }
    void listCleared() override { trace.push_back(u"cleared"); }
    void captionSet(form::Control, const std::u16string &caption) override
    {
        trace.push_back(u"caption " + caption);
    }
    void enabledSet(form::Control, bool) override {}
    void textSet(form::Control, const std::u16string &) override {}
    void checkSet(form::Control, int) override {}
    void unloaded() override {}
    std::vector<std::u16string> trace;
};

std::u16string lineFor(std::int32_t callId)
{
    return u"Ereignis: OnConnected (ID: " + std::u16string(QString::number(callId).toStdU16String())
           + u") -    Nummer: 0301234567 - MSN: 4711";
}

struct Rig
{
    Rig()
        : form(control, dialogs, &observer)
    {
        form.show();
    }
    void setCount(std::int32_t count) { control.setAnswer(phone::dispid::ConnectionCount, count); }
    void setLatest(const std::u16string &latest)
    {
        control.setAnswer(phone::dispid::LatestText, latest);
    }
    void raise(std::int32_t callId)
    {
        control.raiseEvent(phone::event::OnConnected,
                           {std::u16string(u"0301234567"), std::u16string(u"4711"), callId});
    }
    QString labelText(form::Control label) const
    {
        return static_cast<QLabel *>(form.widget(label))->text();
    }
    int listedRows() const
    {
        return static_cast<QListView *>(form.widget(form::Control::LST_Message))
            ->model()
            ->rowCount();
    }

    phone::scripted::ScriptedControl control;
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
    Rig rig;
    rig.setCount(2);
    rig.setLatest(u"Anruf von 0301234567");

    rig.raise(7);

    const std::vector<std::u16string> expected{
        u"line " + lineFor(7),
        u"caption Anzahl Verbindungen:  2",
        u"caption Zuletzt: Anruf von 0301234567",
    };
    QVERIFY(rig.observer.trace == expected);
    QCOMPARE(rig.form.messages().lineCount(), 1);
    QVERIFY(rig.form.caption(form::Control::LBL_Last) == u"Zuletzt: Anruf von 0301234567");
    QTRY_COMPARE(rig.listedRows(), 1);
    QCOMPARE(rig.form.messages().line(0), QString::fromStdU16String(lineFor(7)));
    QTRY_COMPARE(rig.labelText(form::Control::LBL_Last),
                 QStringLiteral("Zuletzt: Anruf von 0301234567"));
    QCOMPARE(rig.labelText(form::Control::LBL_Anzahl), QStringLiteral("Anzahl Verbindungen:  2"));
}

void Form1LogTest::labelsShowTheValuesReadAfterTheNewestLine()
{
    Rig rig;
    const int events = 500;
    for (int i = 1; i <= events; ++i) {
        rig.setCount(i % 11);
        rig.setLatest(QStringLiteral("Text %1").arg(i).toStdU16String());
        rig.raise(i);
    }
    QCOMPARE(rig.observer.trace.size(), std::size_t(3 * events));

    QTRY_COMPARE(rig.labelText(form::Control::LBL_Last), QStringLiteral("Zuletzt: Text 500"));
    // The list and both labels change together: once the newest caption shows, so does the
    // newest line.
    QCOMPARE(rig.listedRows(), events);
    QCOMPARE(rig.form.messages().line(events - 1), QString::fromStdU16String(lineFor(events)));
    QCOMPARE(rig.labelText(form::Control::LBL_Anzahl),
             QStringLiteral("Anzahl Verbindungen:  %1").arg(events % 11));
}

void Form1LogTest::failedLatestTextReadKeepsItsCaption()
{
    Rig rig;
    rig.setCount(1);
    rig.setLatest(u"alt");
    rig.raise(1);
    rig.setCount(5);
    rig.control.setFailing(phone::dispid::LatestText);

    rig.raise(2);

    QCOMPARE(rig.dialogs.errors.size(), std::size_t(1));
    QTRY_COMPARE(rig.listedRows(), 2);
    QTRY_COMPARE(rig.labelText(form::Control::LBL_Anzahl),
                 QStringLiteral("Anzahl Verbindungen:  5"));
    QCOMPARE(rig.labelText(form::Control::LBL_Last), QStringLiteral("Zuletzt: alt"));
}

void Form1LogTest::clearEmptiesTheListAtOnceAndKeepsTheLabels()
{
    Rig rig;
    rig.setCount(3);
    rig.setLatest(u"vorher");
    for (int i = 0; i < 20; ++i)
        rig.raise(i);
    QTRY_COMPARE(rig.listedRows(), 20);
    rig.setLatest(u"zuletzt");
    rig.raise(99); // stored, not yet listed

    static_cast<QPushButton *>(rig.form.widget(form::Control::BTN_Clear))->click();

    QCOMPARE(rig.listedRows(), 0);
    QCOMPARE(rig.form.messages().lineCount(), 0);
    QVERIFY(rig.observer.trace.back() == u"cleared");
    // The next refresh shows the newest caption, and no line comes back.
    QTRY_COMPARE(rig.labelText(form::Control::LBL_Last), QStringLiteral("Zuletzt: zuletzt"));
    QCOMPARE(rig.listedRows(), 0);
    QCOMPARE(rig.labelText(form::Control::LBL_Anzahl), QStringLiteral("Anzahl Verbindungen:  3"));
}

QTEST_MAIN(Form1LogTest)
#include "Form1LogTest.moc"
