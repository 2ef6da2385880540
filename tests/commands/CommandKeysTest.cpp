#include "app/Form1.h"
#include "phone/Members.h"
#include "tests/support/RecordingDialogs.h"
#include "tools/scenario/AccessTrace.h"

#include <QLineEdit>
#include <QTest>

#include <sstream>

using form::Control;

// Every command reached from the keyboard, on the real window.
class CommandKeysTest : public QObject
{
    Q_OBJECT

private slots:
    void accessKeyRunsItsCommand_data();
    void accessKeyRunsItsCommand();
    void doubleClickRestoresTheSample();
    void disabledAcceptTakesNoClickNorKey();
};

void CommandKeysTest::accessKeyRunsItsCommand_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("accesses");
    QTest::newRow("Alt+W dials") << "Alt+W"
                                 << "call Dial \"030 1234\"\n";
    QTest::newRow("Alt+A hangs up") << "Alt+A"
                                    << "get ConnectionCount\ncall HangUp 8\n";
    QTest::newRow("Alt+S sends the message") << "Alt+S"
                                             << "call SendShortMessage \"030 1234\" \"Grüße\"\n";
    QTest::newRow("Alt+D sends tones") << "Alt+D"
                                       << "get ConnectionCount\ncall SendDTMF &8 \"*31#\"\n";
    QTest::newRow("Alt+K converts") << "Alt+K"
                                    << "call ConvertNumber \"(012) 34 55 66\"\n";
}

void CommandKeysTest::accessKeyRunsItsCommand()
{
    QFETCH(QString, keys);
    QFETCH(QString, accesses);

    std::ostringstream transcript;
    scenario::TracedControl control(transcript);
    control.setAnswer(phone::dispid::ConnectionCount, std::int32_t{1});
    testsupport::RecordingDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    control.raiseEvent("OnConnecting", {std::u16string(u"1"), std::u16string(u"2"), 8});
    qobject_cast<QLineEdit *>(form.widget(Control::TXT_Nummer))->setText("030 1234");
    qobject_cast<QLineEdit *>(form.widget(Control::TXT_SMS))->setText("Grüße");
    qobject_cast<QLineEdit *>(form.widget(Control::TXT_DTMF))->setText("*31#");
    transcript.str({});

    QTest::keySequence(QApplication::focusWidget(), QKeySequence(keys));
    // An access key clicks its button after a short press animation.
    QTRY_COMPARE(QString::fromStdString(transcript.str()), accesses);
}

void CommandKeysTest::doubleClickRestoresTheSample()
{
    std::ostringstream transcript;
    scenario::TracedControl control(transcript);
    control.setAnswer(phone::dispid::ConvertNumber, std::u16string(u"0123455566"));
    testsupport::RecordingDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    auto *field = qobject_cast<QLineEdit *>(form.widget(Control::TXT_Konvert));

    QTest::mouseClick(form.widget(Control::BTN_Konvert), Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("0123455566"));
    QTest::mouseDClick(field, Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("(012) 34 55 66"));
    field->clear();
    QTest::mouseDClick(field, Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("(012) 34 55 66"));
}

void CommandKeysTest::disabledAcceptTakesNoClickNorKey()
{
    std::ostringstream transcript;
    scenario::TracedControl control(transcript);
    testsupport::RecordingDialogs dialogs;
    app::Form1 form(control, dialogs);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    transcript.str({});

    QTest::mouseClick(form.widget(Control::Annehmen), Qt::LeftButton);
    form.widget(Control::BTN_Exit)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.widget(Control::TXT_Nummer));
    QCOMPARE(QString::fromStdString(transcript.str()), QString());

    control.raiseEvent("OnRing", {std::u16string(u"1"), std::u16string(u"2"), 4});
    control.setAnswer(phone::dispid::IncomingCallID, std::int32_t{4});
    transcript.str({});
    QTest::mouseClick(form.widget(Control::Annehmen), Qt::LeftButton);
    QCOMPARE(QString::fromStdString(transcript.str()),
             QStringLiteral("get IncomingCallID\ncall AcceptCall &4\n"));
    QVERIFY(form.widget(Control::Annehmen)->isEnabled());
}

QTEST_MAIN(CommandKeysTest)
#include "CommandKeysTest.moc"
