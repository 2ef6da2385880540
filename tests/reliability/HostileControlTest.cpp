// A control that sends what no sane one would: huge texts, NULs, broken UTF-16, bidi
// controls, identifiers at the limits, floods, and events from inside the window's own calls
// or while a box is open. The window must handle each in order, keep every line, and stay
// quick to draw.
#include "tests/reliability/Session.h"

#include "app/CaptionLabel.h"
#include "app/Dialogs.h"
#include "app/DisplayText.h"
#include "app/Form1.h"
#include "app/QtText.h"
#include "phone/Members.h"
#include "tools/scenario/AccessTrace.h"

#include <QAbstractItemDelegate>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <functional>
#include <utility>
#include <vector>

using app::qt;
using form::Control;

namespace {

QListView *list(app::Form1 &form)
{
    return qobject_cast<QListView *>(form.widget(Control::LST_Message));
}

QString row(app::Form1 &form, int number, int role = Qt::DisplayRole)
{
    QAbstractItemModel *model = list(form)->model();
    // New rows reach the view with the window's next refresh.
    [[maybe_unused]] const bool shown = QTest::qWaitFor([&] { return model->rowCount() > number; });
    return model->data(model->index(number, 0), role).toString();
}

QString lineFor(const QString &event, const QString &calling, const QString &called, int id)
{
    return QStringLiteral("Ereignis: %1 (ID:%2) -    Nummer: %3 - MSN: %4")
        .arg(event, (id < 0 ? QString() : QStringLiteral(" ")) + QString::number(id), calling,
             called);
}

phone::EventArguments arguments(std::u16string calling, std::u16string called, std::int32_t id)
{
    return {phone::Value{std::move(calling)}, phone::Value{std::move(called)}, phone::Value{id}};
}

// Boxes and error reports in one list, in the order they came; a test may act while a report
// is open.
class ReportListDialogs : public form::Dialogs
{
public:
    void messageBox(const std::u16string &prompt, form::BoxStyle,
                    const std::optional<std::u16string> &) override
    {
        reports.push_back(QStringLiteral("box ") + qt(prompt));
    }
    void errorReport(const phone::Error &error) override
    {
        reports.push_back(QStringLiteral("error ") + QString::fromStdString(error.description()));
        if (whileReportOpen)
            std::exchange(whileReportOpen, nullptr)();
    }

    QStringList reports;
    std::function<void()> whileReportOpen;
};

// Closes the modal box that the window is showing, once it shows, after running action.
void whenBoxOpens(std::function<void()> action)
{
    QTimer::singleShot(0, [action = std::move(action)] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        action();
        box->done(QMessageBox::Ok);
    });
}

} // namespace

class HostileControlTest : public QObject
{
    Q_OBJECT

private slots:
    void megabyteLineIsKeptWholeAndDrawnShort();
    void megabyteTextsReachLabelsAndFieldsWhole();
    void embeddedNulsPassThrough();
    void unpairedSurrogatesShowAsReplacementCharacters();
    void bidiControlsPassThroughUnchanged();
    void longCaptionLooksAsAPlainLabelDrawsIt();
    void shownPartKeepsSurrogatePairsWhole();
    void millionEventsInARowEachAddOneLine();
    void eventInsideAMemberCallIsHandledThere_data();
    void eventInsideAMemberCallIsHandledThere();
    void eventWhileTheHangUpBoxIsOpen();
    void eventsWhileTheErrorReportIsOpen();
    void eventWhileTheRealErrorReportIsOpen();
};

void HostileControlTest::megabyteLineIsKeptWholeAndDrawnShort()
{
    reliability::Session session;
    session.finish();
    const std::u16string megabyte(1 << 20, u'7');
    session.control().raiseEvent("OnIdle", arguments(megabyte, u"45", 1));
    session.control().raiseEvent("OnIdle", arguments(u"123", u"45", 2));
    app::Form1 &form = session.form();

    const QString line = lineFor("OnIdle", qt(megabyte), "45", 1);
    QCOMPARE(row(form, 0).size(), line.size());
    QCOMPARE(row(form, 0), line);
    QCOMPARE(row(form, 0, Qt::AccessibleTextRole), line);
    QCOMPARE(row(form, 1), lineFor("OnIdle", "123", "45", 2));

    // The row is laid out from its first characters only: a megabyte would be millions of
    // pixels wide and take a second to lay out on every repaint.
    QListView *view = list(form);
    QStyleOptionViewItem option;
    option.initFrom(view);
    const QSize huge = view->itemDelegate()->sizeHint(option, view->model()->index(0, 0));
    QVERIFY2(huge.width() < 20 * app::shownCharacters, qPrintable(QString::number(huge.width())));

    // Its tooltip too shows the beginning, marked as cut, then when it arrived.
    const QRect first = view->visualRect(view->model()->index(0, 0));
    QHelpEvent help(QEvent::ToolTip, first.center(), view->viewport()->mapToGlobal(first.center()));
    QApplication::sendEvent(view->viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    const QString tip = QToolTip::text();
    QVERIFY(tip.startsWith(app::shownPart(line) + QStringLiteral("\nEmpfangen um ")));
    QVERIFY(app::shownPart(line).endsWith(QChar(0x2026)));
    QToolTip::hideText();

    // A short line is not touched.
    QCOMPARE(app::shownPart(row(form, 1)), row(form, 1));
    QVERIFY(!form.grab().isNull());
}

void HostileControlTest::megabyteTextsReachLabelsAndFieldsWhole()
{
    reliability::Session session;
    const std::u16string megabyte(1 << 20, u'9');
    session.control().setAnswer(phone::dispid::LatestText, megabyte);
    session.control().setAnswer(phone::dispid::ConvertNumber, megabyte);
    session.run({"event OnIdle \"1\" \"2\" 3", "click BTN_Konvert"});
    app::Form1 &form = session.form();

    QTRY_COMPARE(qobject_cast<QLabel *>(form.widget(Control::LBL_Last))->text(),
                 "Zuletzt: " + qt(megabyte));
    // The conversion's result replaces the field's text whole: no limit cuts it.
    auto *konvert = qobject_cast<QLineEdit *>(form.widget(Control::TXT_Konvert));
    QCOMPARE(konvert->text().size(), qsizetype{1} << 20);

    // What the user puts in a field goes out whole too.
    const std::string longNumber(40000, '5');
    session.take();
    session.run("type TXT_Nummer \"" + longNumber + "\"");
    session.run("click BTN_Dial");
    QCOMPARE(session.take().last(), QString::fromStdString("call Dial \"" + longNumber + "\""));
    QVERIFY(!form.grab().isNull());
}

void HostileControlTest::embeddedNulsPassThrough()
{
    reliability::Session session;
    const std::u16string withNul(u"12\0"
                                 u"34",
                                 5);
    session.control().setAnswer(phone::dispid::LatestText, std::u16string(u"a\0b", 3));
    session.finish();
    session.control().raiseEvent("OnRing", arguments(withNul, std::u16string(1, u'\0'), 0));
    app::Form1 &form = session.form();

    const QString line = lineFor("OnRing", qt(withNul), QString(QChar(u'\0')), 0);
    QCOMPARE(row(form, 0), line);
    QCOMPARE(row(form, 0).size(), 52);
    QTRY_COMPARE(qobject_cast<QLabel *>(form.widget(Control::LBL_Last))->text(),
                 QString::fromStdU16String(std::u16string(u"Zuletzt: a\0b", 12)));
    QVERIFY(form.widget(Control::Annehmen)->isEnabled());
    QVERIFY(!form.grab().isNull());
}

void HostileControlTest::unpairedSurrogatesShowAsReplacementCharacters()
{
    reliability::Session session;
    session.finish();
    session.take();
    const std::u16string calling = u"a\xD800z\U0001F4DE"; // a lone high surrogate, then a pair
    const std::u16string called = u"\xDC00";              // a lone low surrogate
    session.control().raiseEvent("OnIdle", arguments(calling, called, 1));

    // Each lone code unit shows as U+FFFD in its place, not as a '?' the control never sent;
    // the valid pair stays.
    const QString shown = lineFor("OnIdle", QString::fromUtf16(u"a\uFFFDz\U0001F4DE"),
                                  QString(QChar::ReplacementCharacter), 1);
    QCOMPARE(row(session.form(), 0), shown);
    QCOMPARE(session.take().first(), "line \"" + shown + "\"");
}

void HostileControlTest::bidiControlsPassThroughUnchanged()
{
    reliability::Session session;
    const std::u16string latest = u"\u202Eemordnilap";
    session.control().setAnswer(phone::dispid::LatestText, latest);
    session.finish();
    // Right-to-left mark, override, isolate and embedding, none of them closed.
    const std::u16string calling = u"\u200F123\u202E456";
    const std::u16string called = u"\u2067\u05D0\u05D1\u202B";
    session.control().raiseEvent("OnConnected", arguments(calling, called, 8));
    app::Form1 &form = session.form();

    QCOMPARE(row(form, 0), lineFor("OnConnected", qt(calling), qt(called), 8));
    QTRY_COMPARE(qobject_cast<QLabel *>(form.widget(Control::LBL_Last))->text(),
                 "Zuletzt: " + qt(latest));
    QVERIFY(!form.grab().isNull());
}

void HostileControlTest::longCaptionLooksAsAPlainLabelDrawsIt()
{
    // Long enough to take the short drawing path, short enough for a plain label to draw.
    const QString caption = "Zuletzt: " + QString(2 * app::shownCharacters, u'W');
    QWidget window;
    app::CaptionLabel shortened(caption, &window);
    QLabel plain(caption, &window);
    plain.setTextFormat(Qt::PlainText);
    for (QLabel *label : {static_cast<QLabel *>(&shortened), &plain})
        label->setGeometry(0, 0, 145, 17);
    QCOMPARE(shortened.text(), caption);
    QCOMPARE(shortened.grab().toImage(), plain.grab().toImage());
}

void HostileControlTest::shownPartKeepsSurrogatePairsWhole()
{
    const QString pair = QString::fromUtf16(u"\U0001F4DE");
    const QString text = QString(app::shownCharacters - 1, u'x') + pair + "rest";
    // The pair would straddle the cut: it goes whole, to after the cut.
    QCOMPARE(app::shownPart(text), QString(app::shownCharacters - 1, u'x') + QChar(0x2026));
    const QString fits = QString(app::shownCharacters - 2, u'x') + pair + "rest";
    QCOMPARE(app::shownPart(fits), QString(app::shownCharacters - 2, u'x') + pair + QChar(0x2026));
    QCOMPARE(app::shownPart(QString(app::shownCharacters, u'x')),
             QString(app::shownCharacters, u'x'));
}

void HostileControlTest::millionEventsInARowEachAddOneLine()
{
    std::ostream discard(nullptr);
    scenario::TracedControl control(discard);
    ReportListDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    control.setAnswer(phone::dispid::ConnectionCount, std::int32_t{3});
    control.setAnswer(phone::dispid::LatestText, std::u16string(u"Flut"));

    constexpr int count = 1'000'000;
    for (int id = 0; id < count; ++id)
        control.raiseEvent(id % 2 ? "OnIdle" : "OnOffering", arguments(u"0301234", u"45", id));

    QCOMPARE(form.messages().lineCount(), count);
    QCOMPARE(row(form, 0), lineFor("OnOffering", "0301234", "45", 0));
    QCOMPARE(row(form, count / 2 + 1), lineFor("OnIdle", "0301234", "45", count / 2 + 1));
    QCOMPARE(row(form, count - 1), lineFor("OnIdle", "0301234", "45", count - 1));
    QTRY_COMPARE(qobject_cast<QLabel *>(form.widget(Control::LBL_Anzahl))->text(),
                 QStringLiteral("Anzahl Verbindungen:  3"));
    QCOMPARE(form.strEvent(), std::u16string(u"OnIdle"));
    QVERIFY(dialogs.reports.isEmpty());

    // The list still scrolls and draws at its end.
    list(form)->scrollToBottom();
    QVERIFY(!form.grab().isNull());
}

void HostileControlTest::eventInsideAMemberCallIsHandledThere_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("access");
    QTest::addColumn<QString>("raised");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("OnRing while Dial runs")
        << QStringList{"type TXT_Nummer \"0301\""} << "click BTN_Dial" << 0
        << "event OnRing \"1\" \"2\" 3"
        << QStringList{"call Dial \"0301\"",
                       "> event OnRing \"1\" \"2\" 3",
                       "line \"Ereignis: OnRing (ID: 3) -    Nummer: 1 - MSN: 2\"",
                       "get ConnectionCount",
                       "caption LBL_Anzahl \"Anzahl Verbindungen:  0\"",
                       "get LatestText",
                       "caption LBL_Last \"Zuletzt: \"",
                       "enabled Annehmen 1",
                       "state LBL_Anzahl \"Anzahl Verbindungen:  0\"",
                       "state Annehmen 1",
                       "state LST_Message 1",
                       "state strEvent \"OnRing\""};
    // The inner handler reads the count and stores first; the outer one stores its own call
    // once its read returns, so the slot ends with the outer identifier.
    QTest::newRow("OnConnecting while OnConnecting reads the count")
        << QStringList{"value ConnectionCount 1"} << "event OnConnecting \"1\" \"2\" 5" << 0
        << "event OnConnecting \"3\" \"4\" 6"
        << QStringList{"get ConnectionCount",
                       "> event OnConnecting \"3\" \"4\" 6",
                       "get ConnectionCount",
                       "line \"Ereignis: OnConnecting (ID: 6) -    Nummer: 3 - MSN: 4\"",
                       "get ConnectionCount",
                       "caption LBL_Anzahl \"Anzahl Verbindungen:  1\"",
                       "get LatestText",
                       "caption LBL_Last \"Zuletzt: \"",
                       "line \"Ereignis: OnConnecting (ID: 5) -    Nummer: 1 - MSN: 2\"",
                       "get ConnectionCount",
                       "caption LBL_Anzahl \"Anzahl Verbindungen:  1\"",
                       "get LatestText",
                       "caption LBL_Last \"Zuletzt: \"",
                       "state LBL_Anzahl \"Anzahl Verbindungen:  1\"",
                       "state LST_Message 2",
                       "state CallIDs 0 5 0 0 0 0 0 0 0 0 0",
                       "state strEvent \"OnConnecting\""};
    QTest::newRow("OnConnecting while hang-up reads the count")
        << QStringList{"value ConnectionCount 1", "event OnConnecting \"1\" \"2\" 5"}
        << "click BTN_Disconnect" << 0 << "event OnConnecting \"3\" \"4\" 9"
        << QStringList{"get ConnectionCount",
                       "> event OnConnecting \"3\" \"4\" 9",
                       "get ConnectionCount",
                       "line \"Ereignis: OnConnecting (ID: 9) -    Nummer: 3 - MSN: 4\"",
                       "get ConnectionCount",
                       "caption LBL_Anzahl \"Anzahl Verbindungen:  1\"",
                       "get LatestText",
                       "caption LBL_Last \"Zuletzt: \"",
                       "box 0 * \"1 = 9 wird jetzt beendet\"",
                       "call HangUp 9",
                       "state LST_Message 2",
                       "state CallIDs 0 9 0 0 0 0 0 0 0 0 0"};
    // OnRing ran to its end last, so Annehmen ends enabled.
    QTest::newRow("OnDisConnected while OnRing reads the latest text")
        << QStringList{} << "event OnRing \"1\" \"2\" 3" << 1
        << "event OnDisConnected \"1\" \"2\" 3"
        << QStringList{"line \"Ereignis: OnRing (ID: 3) -    Nummer: 1 - MSN: 2\"",
                       "get ConnectionCount",
                       "caption LBL_Anzahl \"Anzahl Verbindungen:  0\"",
                       "get LatestText",
                       "> event OnDisConnected \"1\" \"2\" 3",
                       "line \"Ereignis: OnDisConnected (ID: 3) -    Nummer: 1 - MSN: 2\"",
                       "get ConnectionCount",
                       "caption LBL_Anzahl \"Anzahl Verbindungen:  0\"",
                       "get LatestText",
                       "caption LBL_Last \"Zuletzt: \"",
                       "enabled Annehmen 0",
                       "caption LBL_Last \"Zuletzt: \"",
                       "enabled Annehmen 1",
                       "state LBL_Anzahl \"Anzahl Verbindungen:  0\"",
                       "state Annehmen 1",
                       "state LST_Message 2",
                       "state strEvent \"OnDisConnected\""};
    // The inner handler's error is reported at once and does not stop the outer one.
    QTest::newRow("a failing event while ConvertNumber runs")
        << QStringList{"value ConvertNumber \"0123\""} << "click BTN_Konvert" << 0
        << "event OnIdle \"1\" \"2\" r8:1e99"
        << QStringList{"call ConvertNumber \"(012) 34 55 66\"",
                       "> event OnIdle \"1\" \"2\" r8:1e99", "error overflow",
                       "text TXT_Konvert \"0123\"", "state TXT_Konvert \"0123\""};
}

void HostileControlTest::eventInsideAMemberCallIsHandledThere()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, trigger);
    QFETCH(int, access);
    QFETCH(QString, raised);
    QFETCH(QStringList, expected);

    reliability::Session session;
    session.finish();
    for (const QString &step : setup)
        session.run(step.toStdString());
    const QStringList before = session.state();
    session.take();
    session.control().duringAccess(session.control().accessCount() + access,
                                   [&] { session.run(raised.toStdString()); });
    session.run(trigger.toStdString());
    QStringList transcript = session.take();
    transcript.removeFirst();
    QStringList changed = reliability::changedLines(before, session.state());
    changed.removeIf([](const QString &line) { return line.startsWith("state focus"); });
    QCOMPARE((transcript + changed).join(u'\n'), expected.join(u'\n'));
}

void HostileControlTest::eventWhileTheHangUpBoxIsOpen()
{
    std::ostringstream accesses;
    scenario::TracedControl control(accesses);
    app::QtDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    control.setAnswer(phone::dispid::ConnectionCount, std::int32_t{1});
    control.raiseEvent("OnConnecting", arguments(u"1", u"2", 5));

    // The real, modal box: the event arrives through its event loop, the way a control's
    // events arrive while the user reads the box.
    whenBoxOpens([&] { control.raiseEvent("OnConnecting", arguments(u"3", u"4", 9)); });
    QTest::mouseClick(form.widget(Control::BTN_Disconnect), Qt::LeftButton);

    QCOMPARE(form.messages().lineCount(), 2);
    QCOMPARE(row(form, 1), lineFor("OnConnecting", "3", "4", 9));
    // The hang-up's read, the event's accesses while the box is open, then the hang-up.
    QCOMPARE(accesses.str(),
             std::string("get PopUp\n"
                         "get ConnectionCount\nget ConnectionCount\nget LatestText\n"
                         "get ConnectionCount\n"
                         "get ConnectionCount\nget ConnectionCount\nget LatestText\n"
                         "call HangUp 9\n"));
}

void HostileControlTest::eventsWhileTheErrorReportIsOpen()
{
    std::ostringstream accesses;
    scenario::TracedControl control(accesses);
    ReportListDialogs dialogs;
    app::Form1 form(control, dialogs);
    control.setAnswer(phone::dispid::ConnectionCount, std::int32_t{11});
    // While the range error is shown, a ring arrives, then an event whose own handler fails:
    // its report opens over the first.
    dialogs.whileReportOpen = [&] {
        control.raiseEvent("OnRing", arguments(u"1", u"2", 3));
        control.raiseEvent("OnIdle", {phone::Value{std::u16string(u"1")},
                                      phone::Value{std::u16string(u"2")}, phone::Null{}});
    };
    control.raiseEvent("OnConnecting", arguments(u"1", u"2", 5));

    QCOMPARE(dialogs.reports, (QStringList{"error Index außerhalb des gültigen Bereichs",
                                           "error Unzulässige Verwendung von Null"}));
    QCOMPARE(form.messages().lineCount(), 1);
    QCOMPARE(row(form, 0), lineFor("OnRing", "1", "2", 3));
    QVERIFY(form.widget(Control::Annehmen)->isEnabled());
    QCOMPARE(form.callIDs().contents(), (std::array<std::int32_t, 11>{}));
}

void HostileControlTest::eventWhileTheRealErrorReportIsOpen()
{
    std::ostringstream accesses;
    scenario::TracedControl control(accesses);
    app::QtDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    control.setFailing(phone::dispid::Dial);

    whenBoxOpens([&] { control.raiseEvent("OnRing", arguments(u"1", u"2", 3)); });
    QTest::mouseClick(form.widget(Control::BTN_Dial), Qt::LeftButton);

    QCOMPARE(form.messages().lineCount(), 1);
    QVERIFY(form.widget(Control::Annehmen)->isEnabled());
}

QTEST_MAIN(HostileControlTest)
#include "HostileControlTest.moc"
#include "app/QtText.h"
